#include "core/discs/CatalogViews.h"

#include "core/search/ResultsGrid.h"

namespace kest::discs {

void ReloadAfterDiscChange(CatalogViews& views, Prompter& prompter, bool clearStatus2) {
    ReloadDiscList(views.db, views.list, views.listOptions, views.catalogName, views.catalogPath,
                   prompter);
    search::SearchPanel& results = views.results;
    search::ResetResultsGrid(results.results, views.searchOptions, results.widths);
    results.resultCount = search::kNoMatchCount;
    results.matchCount = 0;
    results.status1.clear();
    if (clearStatus2) results.status2.clear();
}

}  // namespace kest::discs
