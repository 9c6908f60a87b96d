#pragma once

#include "core/app/Session.h"
#include "core/discs/DiscList.h"
#include "core/search/SaveListCommand.h"
#include "core/search/SearchPanel.h"

namespace kest::platform {
class Shell;
}

namespace kest::app {

// What "Save List" prints: the disc list, or the results when a panel is
// given, with the texts around it (the disc summary, the catalog's path, the
// criteria and the shown file columns, whether the used-space column shows).
search::DumpSource SaveListSource(const Session& session, const discs::DiscList& discs,
                                  const search::SearchPanel* results);

// The "Save List" commands of both front ends: saves that list through the
// save command, the file dialog starting in the program folder, and opens the
// file afterwards when the settings say so.
search::SaveOutcome SaveList(Session& session, const discs::DiscList& discs,
                             const search::SearchPanel* results, search::ListFormat format,
                             platform::Shell& shell);

// Another list (duplicates, files on one disc only) saved the same way under
// its title, below the disc list's summary line.
search::SaveOutcome SaveOtherList(Session& session, const std::string& discSummary,
                                  const ListTable& table, const std::string& title,
                                  search::ListFormat format, platform::Shell& shell);

}  // namespace kest::app
