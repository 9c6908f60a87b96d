#include "core/catalog/CloseCatalog.h"

#include "core/common/PendingError.h"

namespace kest {

void CloseCatalog(CurrentCatalog& current, CatalogHost& host, Prompter& prompter) {
    PendingError pending;
    host.SetBusyPointer(true);
    host.SetMainWindowEnabled(false);
    host.ProcessMessages();
    pending.Step([&] { host.ReleaseBindings(); });
    current.database.reset();
    host.ProcessMessages();
    pending.Step([&] { host.ClearGrids(); });
    host.DisableCatalogControls();
    current.path.clear();
    current.name.clear();
    current.password.clear();
    current.open = false;
    host.ShowNoCatalog("No active database.", kAppTitle);
    host.UpdateViewCaptions();
    pending.Step([&] { host.SaveSettings(); });
    host.SetBusyPointer(false);
    host.SetMainWindowEnabled(true);
    if (pending.Pending()) {
        prompter.ShowError("Error in closing database", pending.Error().Number(),
                           pending.Error().Description());
    }
}

}  // namespace kest
