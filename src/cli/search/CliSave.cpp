#include "cli/search/CliSave.h"

#include <CLI/CLI.hpp>
#include <optional>

#include "core/app/ListSaving.h"
#include "platform/Shell.h"

namespace kest::cli {
namespace {

// The format of the file given, which goes to the file dialog; none when no
// file was given.
std::optional<search::ListFormat> GivenFile(CliSession& session, const SaveArguments& save) {
    bool csv = !save.csvFile.empty();
    if (!csv && save.textFile.empty()) return std::nullopt;
    session.context.prompter.files.push_back(AbsolutePath(csv ? save.csvFile : save.textFile));
    return csv ? search::ListFormat::Csv : search::ListFormat::PlainText;
}

// Saves one list when a file was given.
bool Save(CliSession& session, const discs::DiscList& discList, const search::SearchPanel* results,
          const SaveArguments& save) {
    auto format = GivenFile(session, save);
    if (!format) return true;
    auto shell = platform::MakeDesktopShell();
    return app::SaveList(session, discList, results, *format, *shell) == search::SaveOutcome::Saved;
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

bool SaveOtherList(CliSession& session, const discs::DiscList& discList, const ListTable& table,
                   const std::string& title, const SaveArguments& save) {
    auto format = GivenFile(session, save);
    if (!format) return true;
    auto shell = platform::MakeDesktopShell();
    return app::SaveOtherList(session, discList.summary, table, title, *format, *shell) ==
           search::SaveOutcome::Saved;
}

}  // namespace kest::cli
