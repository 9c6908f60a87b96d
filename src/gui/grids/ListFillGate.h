#pragma once

#include <QObject>
#include <functional>

class QAbstractScrollArea;
class QWidget;

namespace kest::gui {

// While a list fills, the window runs its event loop now and then with this
// gate up. It lets through only what cannot touch the catalog the fill is
// reading: painting, scrolling the list (the wheel, its scroll bars, the
// keys that move in it), and Escape, which asks the fill to stop. A close of
// the window also asks it to stop, and is done once the fill has ended.
// Everything else the user does is dropped, as in a busy window. A long sort
// of the list runs behind the same gate.
class ListFillGate : public QObject {
    Q_OBJECT
  public:
    ListFillGate(QWidget* window, QAbstractScrollArea* list);

    // Ready for a new fill: nothing asked yet.
    void Reset();
    // Handles the events waiting now, with the gate up.
    void Pump();
    // Runs work on another thread while the window goes on with the gate up;
    // returns when work has ended (a close asked meanwhile follows then). The
    // work must not touch the window.
    void RunWhilePainting(const std::function<void()>& work);
    bool StopAsked() const { return m_stopAsked; }
    // The window's close, when one was asked during the fill.
    void CloseIfAsked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool InList(QObject* watched) const;

    QWidget* m_window;
    QAbstractScrollArea* m_list;
    bool m_stopAsked = false;
    bool m_closeAsked = false;
};

}  // namespace kest::gui
