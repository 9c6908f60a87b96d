#include "cli/search/CliSave.h"

#include <CLI/CLI.hpp>

#include "core/search/SaveListCommand.h"
#include "core/text/DateParse.h"
#include "platform/Shell.h"

namespace kest::cli {
namespace {

bool Save(CliSession& session, const search::DumpSource& source, int64_t matchCount,
          const SaveArguments& save) {
    bool csv = !save.csvFile.empty();
    if (!csv && save.textFile.empty()) return true;
    session.context.prompter.files.push_back(AbsolutePath(csv ? save.csvFile : save.textFile));
    auto shell = platform::MakeDesktopShell();
    auto outcome = search::SaveListCommand(
        source, csv ? search::ListFormat::Csv : search::ListFormat::PlainText, matchCount,
        {session.settings.OpenAfterSaving, session.ProgramFolder()}, session.context.prompter,
        *shell);
    return outcome == search::SaveOutcome::Saved;
}

search::DumpSource Common(CliSession& session, const discs::DiscList& discList) {
    search::DumpSource source;
    source.discSummary = discList.summary;
    source.catalogPath = session.current.path;
    source.now = text::FromTimeT(std::time(nullptr));
    return source;
}

}  // namespace

void AddSaveOptions(CLI::App& command, SaveArguments& save) {
    auto* text = command.add_option("--save-text", save.textFile, "Save the list as plain text");
    auto* csv = command.add_option("--save-csv", save.csvFile, "Save the list as CSV");
    text->excludes(csv);
}

bool SaveResults(CliSession& session, const search::SearchPanel& panel,
                 const discs::DiscList& discList, const search::SearchOptions& options,
                 const SaveArguments& save) {
    search::DumpSource source = Common(session, discList);
    source.results = true;
    source.table = &panel.results;
    source.searchText = panel.searchText;
    source.bounds = panel.bounds;
    source.resultCount = panel.resultCount;
    source.showCol = options.showCol;
    source.fileCaptions = options.fileCaptions;
    return Save(session, source, panel.matchCount, save);
}

bool SaveDiscs(CliSession& session, const discs::DiscList& discList, const SaveArguments& save) {
    search::DumpSource source = Common(session, discList);
    source.results = false;
    source.table = &discList.table;
    source.usedSpaceShown =
        session.settings.ShowUsedSpace && discs::HasUsedSpaceColumn(discList.table);
    return Save(session, source, 0, save);
}

bool SaveOtherList(CliSession& session, const discs::DiscList& discList, const ListTable& table,
                   const std::string& title, const SaveArguments& save) {
    search::DumpSource source = Common(session, discList);
    source.title = title;
    source.table = &table;
    return Save(session, source, static_cast<int64_t>(table.RowCount()), save);
}

}  // namespace kest::cli
