#include "cli/details/CliViews.h"

#include "cli/search/CliLists.h"
#include "core/discs/DiscListSettings.h"
#include "core/search/SearchSettings.h"

namespace kest::cli {

CliViews::CliViews(CliSession& session)
    : panel(PanelFromSettings(session)),
      views{session.current.Db(),
            list,
            discs::DiscListOptionsFrom(session.settings, session.window),
            session.current.name,
            session.current.path,
            panel,
            search::SearchOptionsFrom(session.settings)} {
    const search::SearchOptions& options = views.searchOptions;
    panel.snapshot =
        search::DisplaySnapshot{options.sizeFormat, options.sizeNumDec, options.dateFormat};
    LoadDiscList(session, list);
}

}  // namespace kest::cli
