#include "cli/details/CliViews.h"

#include "cli/search/CliLists.h"
#include "core/app/SessionLists.h"

namespace kest::cli {

CliViews::CliViews(CliSession& session)
    : panel(PanelFromSettings(session)), views(app::CatalogViewsOf(session, list, panel)) {
    const search::SearchOptions& options = views.searchOptions;
    panel.snapshot =
        search::DisplaySnapshot{options.sizeFormat, options.sizeNumDec, options.dateFormat};
    LoadDiscList(session, list);
}

}  // namespace kest::cli
