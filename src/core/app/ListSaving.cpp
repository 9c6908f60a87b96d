#include "core/app/ListSaving.h"

#include <ctime>

#include "core/search/SearchSettings.h"
#include "core/text/DateParse.h"

namespace kest::app {

search::DumpSource SaveListSource(const Session& session, const discs::DiscList& discs,
                                  const search::SearchPanel* results) {
    search::DumpSource source;
    source.results = results != nullptr;
    source.discSummary = discs.summary;
    source.catalogPath = session.current.path;
    source.now = text::FromTimeT(std::time(nullptr));
    if (results) {
        search::SearchOptions options = search::SearchOptionsFrom(session.settings);
        source.table = &results->results;
        source.searchText = results->searchText;
        source.bounds = results->bounds;
        source.resultCount = results->resultCount;
        source.showCol = options.showCol;
        source.fileCaptions = options.fileCaptions;
    } else {
        source.table = &discs.table;
        source.usedSpaceShown =
            session.settings.ShowUsedSpace && discs::HasUsedSpaceColumn(discs.table);
    }
    return source;
}

search::SaveOutcome SaveList(Session& session, const discs::DiscList& discs,
                             const search::SearchPanel* results, search::ListFormat format,
                             platform::Shell& shell) {
    return search::SaveListCommand(
        SaveListSource(session, discs, results), format, results ? results->matchCount : 0,
        {session.settings.OpenAfterSaving, session.ProgramFolder()}, session.prompter, shell);
}

search::SaveOutcome SaveOtherList(Session& session, const std::string& discSummary,
                                  const ListTable& table, const std::string& title,
                                  search::ListFormat format, platform::Shell& shell) {
    search::DumpSource source;
    source.title = title;
    source.table = &table;
    source.discSummary = discSummary;
    source.catalogPath = session.current.path;
    source.now = text::FromTimeT(std::time(nullptr));
    return search::SaveListCommand(source, format, static_cast<int64_t>(table.RowCount()),
                                   {session.settings.OpenAfterSaving, session.ProgramFolder()},
                                   session.prompter, shell);
}

}  // namespace kest::app
