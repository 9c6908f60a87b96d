#pragma once

#include <QKeyCombination>
#include <QObject>
#include <vector>

class QAction;
class QWidget;

namespace kest::gui {

// Makes the window's shortcuts (its menu entries' Ctrl keys) work from every
// control of the window. Text boxes, combo boxes and grids claim some of
// them for their own editing (under X11 a text box takes Ctrl+E, Ctrl+F,
// Ctrl+H...), so the keys are taken back before a control can claim them.
// Ctrl+C stays with a control that has a selection to copy, and is the
// window's everywhere else. Watches the whole application, as a key goes to
// whichever control has the focus.
class WindowShortcuts : public QObject {
    Q_OBJECT
  public:
    explicit WindowShortcuts(QWidget* window);
    ~WindowShortcuts() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_window;
    std::vector<QAction*> m_entries;
};

// Whether the control has text or rows selected that Ctrl+C would copy.
bool HasSelectionToCopy(const QObject* control);

}  // namespace kest::gui
