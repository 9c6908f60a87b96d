#pragma once

#include <string>

#include "cli/catalog/CliSession.h"
#include "core/discs/DiscList.h"
#include "core/search/SearchPanel.h"

namespace CLI {
class App;
}

namespace kest::cli {

// --save-text FILE / --save-csv FILE.
struct SaveArguments {
    std::string textFile;
    std::string csvFile;
};
void AddSaveOptions(CLI::App& command, SaveArguments& save);

// Saves the results or the disc list through the save command when a file was
// given (the file goes to the file dialog); false when the save did not happen.
bool SaveResults(CliSession& session, const search::SearchPanel& panel,
                 const discs::DiscList& discList, const SaveArguments& save);
bool SaveDiscs(CliSession& session, const discs::DiscList& discList, const SaveArguments& save);
// Another list (duplicates, files on one disc only) under its title.
bool SaveOtherList(CliSession& session, const discs::DiscList& discList, const ListTable& table,
                   const std::string& title, const SaveArguments& save);

}  // namespace kest::cli
