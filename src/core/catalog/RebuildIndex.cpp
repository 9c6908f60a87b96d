#include "core/catalog/RebuildIndex.h"

#include "core/common/KestError.h"
#include "core/engine/Database.h"

namespace kest {

namespace {
constexpr const char* kTitle = "Rebuild Search Index";
}

void RebuildSearchIndexOf(const std::string& path, const std::string& password,
                          const IndexProgressFn& progress) {
    engine::Database::Open(path, password)->RebuildSearchIndex(progress);
}

bool RebuildIndexCommand(CurrentCatalog& current, Prompter& prompter,
                         const IndexProgressFn& progress, const std::function<bool()>& cancelled) {
    if (!current.HasDatabase()) return false;
    bool complete = false;
    try {
        complete = current.Db().RebuildSearchIndex(progress, cancelled);
    } catch (const KestError& e) {
        prompter.ShowError("Error in rebuilding the search index", e.Number(), e.Description());
        return false;
    }
    if (complete) {
        prompter.Show(kTitle, "The search index was rebuilt.", Icon::Information);
    } else {
        prompter.Show(kTitle,
                      "The rebuild was cancelled. Searches read every row until the index is "
                      "complete; opening the catalog again goes on with it.",
                      Icon::Exclamation);
    }
    return complete;
}

}  // namespace kest
