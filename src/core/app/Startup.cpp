#include "core/app/Startup.h"

#include "core/catalog/CatalogCommands.h"
#include "core/common/KestError.h"

namespace kest::app {
namespace {

// The classic "Internal error" number, for failures that carry no number.
constexpr long kInternalError = 51;

bool OpenFirstCatalog(Session& session, CatalogHost& host, const std::string& catalogPath) {
    if (!catalogPath.empty()) {
        OpenCatalog(session.current, host, session.prompter, OpenSource::GivenPath,
                    AbsolutePath(catalogPath));
        return session.current.HasDatabase();
    }
    if (session.OpenCatalog(host, {}, OpenWarning::StartUp)) return true;
    if (session.lastWarningAnswer != Answer::Yes) return false;
    CreateCatalogCommand(session.current, host, session.prompter);
    return session.current.loaded;
}

void WithoutCatalog(Session& session, StartupView& view) {
    session.current.open = false;
    view.ShowWithoutCatalog();
}

}  // namespace

void StartUp(Session& session, CatalogHost& host, StartupView& view,
             const std::string& catalogPath) {
    host.SetMainWindowEnabled(false);
    view.HideScanProgress();
    bool loaded = false;
    try {
        session.LoadSettings(view.PreparedWindowState());
        loaded = true;
        view.ApplySettings();
        view.ShowWindow();
        view.PrepareGrids();
        if (OpenFirstCatalog(session, host, catalogPath)) {
            session.current.open = true;
            view.ReloadDiscList();
            host.SaveSettings();
            view.SetCatalogControls(true);
        } else {
            WithoutCatalog(session, view);
        }
    } catch (const std::exception& e) {
        // The window still comes up, without a catalog, with what was loaded.
        if (!loaded) view.ApplySettings();
        view.ShowWindow();
        session.current.database.reset();
        WithoutCatalog(session, view);
        host.SetMainWindowEnabled(true);
        auto* error = dynamic_cast<const KestError*>(&e);
        session.prompter.ShowError("Error on load", error ? error->Number() : kInternalError,
                                   error ? error->Description() : e.what());
    }
    host.SetBusyPointer(false);
    host.SetMainWindowEnabled(true);
}

}  // namespace kest::app
