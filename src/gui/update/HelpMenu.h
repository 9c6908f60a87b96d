#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "core/ui/Prompter.h"
#include "core/update/UpdateCheck.h"
#include "platform/Shell.h"

namespace kest::gui {

class frmContents;

// The Help menu's windows: help contents (mnuHowTo, modeless), the maker's
// web page (mnuWE), the update window (mnuUpdate), the donation window
// (mnuDonate) and the about window (mnuAbout modal, the tray's mnuAbout2
// modeless). The modal ones open through the modal runner.
class HelpMenu : public QObject {
    Q_OBJECT
  public:
    HelpMenu(QWidget* main, Prompter& prompter);
    ~HelpMenu() override;

    // Replaces the network and the desktop shell (tests use fakes and a
    // loopback server).
    void Use(update::HttpClient& http, platform::Shell& shell);

    void ShowContents();
    void OpenWebPage();
    void ShowUpdate();
    void ShowDonate();
    void ShowAbout(bool modal);

  private:
    // The context of one window; the base address is read each time, so a
    // changed KEST_UPDATE_URL counts.
    update::UpdateContext Context() const;

    QWidget* m_main;
    Prompter& m_prompter;
    std::unique_ptr<update::HttpClient> m_ownHttp;
    std::unique_ptr<platform::Shell> m_ownShell;
    update::HttpClient* m_http;
    platform::Shell* m_shell;
    QPointer<frmContents> m_contents;
};

}  // namespace kest::gui
