#pragma once

#include <string>

#include "core/search/ListDump.h"
#include "core/ui/Prompter.h"

namespace kest::platform {
class Shell;
}

namespace kest::search {

// Where a saved list goes afterwards and where the file dialog starts.
struct SaveListSettings {
    bool openAfterSaving = true;
    std::string programFolder;
};

enum class SaveOutcome { NothingToSave, Cancelled, Declined, Failed, Saved };

// The "save list" commands: checks that there is something to save, asks for
// the file (and before overwriting one), writes it and, when the settings say
// so, opens it through the shell. matchCount is the count of the last search.
SaveOutcome SaveListCommand(const DumpSource& source, ListFormat format, int64_t matchCount,
                            const SaveListSettings& settings, Prompter& prompter,
                            platform::Shell& shell);

}  // namespace kest::search
