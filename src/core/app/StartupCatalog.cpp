#include "core/app/StartupCatalog.h"

#include "core/catalog/CatalogCommands.h"

namespace kest::app {

bool OpenCatalogAtStart(Session& session, CatalogHost& host, const std::string& given) {
    if (!given.empty()) {
        // The open command warns and keeps no trace of a file that fails.
        OpenCatalog(session.current, host, session.prompter, OpenSource::GivenPath,
                    AbsolutePath(given));
        if (session.current.HasDatabase()) return true;
    }
    if (session.OpenCatalog(host, {}, OpenWarning::StartUp)) return true;
    if (session.lastWarningAnswer != Answer::Yes) return false;
    CreateCatalogCommand(session.current, host, session.prompter);
    return session.current.loaded;
}

}  // namespace kest::app
