#include "gui/app/OptionsCommand.h"

#include "core/app/OptionsEffects.h"
#include "core/app/ViewTexts.h"
#include "core/settings/OptionsForm.h"
#include "gui/app/DiscsView.h"
#include "gui/app/ViewSwitch.h"
#include "gui/app/WindowLook.h"
#include "gui/dialogs/ErrorTrap.h"
#include "gui/options/frmOpts.h"
#include "gui/scan/WindowScan.h"
#include "gui/widgets/ModalRun.h"

namespace kest::gui {

OptionsCommand::OptionsCommand(app::Session& session, const MainControls& controls,
                               const WindowParts& parts, QWidget* window)
    : QObject(window), m_session(session), c(controls), p(parts), m_window(window) {}

void OptionsCommand::Show() {
    RunTrapped(m_session.prompter, "Error in menu Options", [this] {
        DiscListShape before = DiscListShapeOf(m_session.settings);
        {
            frmOpts dialog(m_window, m_session, [this] { Take(); });
            RunModal(dialog);
        }
        if (DiscListShapeOf(m_session.settings) == before) return;
        app::FitDiscColumns(m_session);
        if (m_session.current.HasDatabase())
            p.discs->Load();
        else
            p.discs->ShowHeaders();
    });
}

void OptionsCommand::Take() {
    ApplyColours(c, m_session.settings);
    ApplyGridFont(c, m_session.window);
    m_window->setWindowTitle(
        QString::fromStdString(app::ProgramTitle(m_session.settings, m_session.current)));
    QString hint = QString::fromStdString(app::SearchHint(m_session.settings));
    c.cboSearch->setToolTip(hint);
    c.cboSearch->setAccessibleDescription(hint);
    p.views->UpdateCaptions();
    p.discs->RefreshDrives(p.scan->Running());
}

}  // namespace kest::gui
