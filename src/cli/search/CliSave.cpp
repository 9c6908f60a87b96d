#include "cli/search/CliSave.h"

#include <CLI/CLI.hpp>

#include "core/app/ListSaving.h"
#include "platform/Shell.h"

namespace kest::cli {
namespace {

// Saves one list when a file was given (the file goes to the file dialog).
bool Save(CliSession& session, const discs::DiscList& discList, const search::SearchPanel* results,
          const SaveArguments& save) {
    bool csv = !save.csvFile.empty();
    if (!csv && save.textFile.empty()) return true;
    session.context.prompter.files.push_back(AbsolutePath(csv ? save.csvFile : save.textFile));
    auto shell = platform::MakeDesktopShell();
    return app::SaveList(session, discList, results,
                         csv ? search::ListFormat::Csv : search::ListFormat::PlainText,
                         *shell) == search::SaveOutcome::Saved;
}

}  // namespace

void AddSaveOptions(CLI::App& command, SaveArguments& save) {
    auto* text = command.add_option("--save-text", save.textFile, "Save the list as plain text");
    auto* csv = command.add_option("--save-csv", save.csvFile, "Save the list as CSV");
    text->excludes(csv);
}

bool SaveResults(CliSession& session, const search::SearchPanel& panel,
                 const discs::DiscList& discList, const SaveArguments& save) {
    return Save(session, discList, &panel, save);
}

bool SaveDiscs(CliSession& session, const discs::DiscList& discList, const SaveArguments& save) {
    return Save(session, discList, nullptr, save);
}

}  // namespace kest::cli
