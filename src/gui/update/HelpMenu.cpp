#include "gui/update/HelpMenu.h"

#include "gui/update/QtHttpClient.h"
#include "gui/update/frmAbout.h"
#include "gui/update/frmContents.h"
#include "gui/update/frmDonate.h"
#include "gui/update/frmUpdate.h"
#include "gui/widgets/ModalRun.h"

namespace kest::gui {

HelpMenu::HelpMenu(QWidget* main, Prompter& prompter)
    : QObject(main),
      m_main(main),
      m_prompter(prompter),
      m_ownHttp(std::make_unique<QtHttpClient>()),
      m_ownShell(platform::MakeDesktopShell()),
      m_http(m_ownHttp.get()),
      m_shell(m_ownShell.get()) {
    setObjectName(QStringLiteral("HelpMenu"));
}

HelpMenu::~HelpMenu() = default;

void HelpMenu::Use(update::HttpClient& http, platform::Shell& shell) {
    m_http = &http;
    m_shell = &shell;
}

update::UpdateContext HelpMenu::Context() const {
    return {*m_http, m_prompter, *m_shell, update::UpdateBaseAddress(), update::ProgramRelease()};
}

void HelpMenu::ShowContents() {
    if (!m_contents) {
        m_contents = new frmContents(m_main);
        m_contents->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_contents->show();
    m_contents->raise();
    m_contents->activateWindow();
}

void HelpMenu::OpenWebPage() {
    update::UpdateContext context = Context();
    update::OpenAddress(context, update::HomePage());
}

void HelpMenu::ShowUpdate() {
    frmUpdate window(m_main, Context());
    RunModal(window);
}

void HelpMenu::ShowDonate() {
    frmDonate window(m_main, Context());
    RunModal(window);
}

void HelpMenu::ShowAbout(bool modal) {
    if (modal) {
        frmAbout window(m_main, Context());
        RunModal(window);
        return;
    }
    auto* window = new frmAbout(m_main, Context());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

}  // namespace kest::gui
