#include "gui/filefunc/RunFileFunction.h"

#include "gui/dialogs/DesktopShell.h"
#include "gui/filefunc/frmFileFunc.h"
#include "gui/widgets/ModalRun.h"

namespace kest::gui {

void RunFileFunction(QWidget* owner, app::Session& session, const platform::Volumes& volumes,
                     std::optional<filefunc::FileTarget> target, int function) {
    if (!target) return;
    // The default-drive button's choice is kept with the settings, saved with them.
    filefunc::DriveSettings drives{session.settings.UseDefaultDrive, session.settings.DefaultDrive};
    auto state = filefunc::LoadFileFuncDialog(std::move(*target), function, volumes, DesktopShell(),
                                              drives, session.prompter);
    if (!state) return;
    frmFileFunc dialog(owner, *state, session.prompter);
    RunModal(dialog);
    session.settings.DefaultDrive = drives.defaultDrive;
}

}  // namespace kest::gui
