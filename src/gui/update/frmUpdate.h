#pragma once

#include <QDialog>

#include "core/update/UpdateCheck.h"
#include "gui/update/WindowSize.h"
#include "gui/widgets/BusyPointer.h"

class QPlainTextEdit;
class QPushButton;

namespace kest::gui {

// The update window: Check asks the maker's site for a newer release and
// shows its news, Download starts the installer's download, the link button
// opens the home page when a check or download failed.
class frmUpdate : public QDialog, public update::UpdateView {
    Q_OBJECT
  public:
    // Heights and width in twips: compact (buttons only) and grown (news).
    static constexpr int kCompactHeight = 2010, kGrownHeight = 4770, kWidth = 4755;
    // The most characters of news the box shows.
    static constexpr qsizetype kLongestNews = 64 * 1024;

    frmUpdate(QWidget* main, update::UpdateContext context);

    void SetCaption(const std::string& caption) override;
    void SetBusyPointer(bool busy) override;
    void EnableCheck(bool enabled) override;
    void EnableDownload(bool enabled) override;
    void ShowLink(bool shown) override;
    void SetNews(const std::string& text) override;
    void ShowNews() override;
    void FocusDownload() override;
    void FocusCancel() override;

  private:
    update::UpdateContext m_context;
    BusyPointer m_busy;
    QPushButton* m_cmdCheck;
    QPushButton* m_cmdDown;
    QPushButton* m_cmdLink;
    QPushButton* m_cmdCancel;
    QPlainTextEdit* m_txtInfo;
};

}  // namespace kest::gui
