#include "core/app/SessionLists.h"

#include "core/discs/DiscListSettings.h"
#include "core/search/SearchSettings.h"

namespace kest::app {

bool LoadDiscList(Session& session, discs::DiscList& list) {
    return discs::ReloadDiscList(session.current.Db(), list,
                                 discs::DiscListOptionsFrom(session.settings, session.window),
                                 session.current.name, session.current.path, session.prompter);
}

discs::CatalogViews CatalogViewsOf(Session& session, discs::DiscList& list,
                                   search::SearchPanel& results) {
    return {session.current.Db(),
            list,
            discs::DiscListOptionsFrom(session.settings, session.window),
            session.current.name,
            session.current.path,
            results,
            search::SearchOptionsFrom(session.settings)};
}

search::SearchPanel PanelFromSettings(const Session& session) {
    search::SearchPanel panel;
    panel.history = search::SearchHistory(session.window.searchItems);
    panel.searchText = session.window.searchText;
    panel.widths = search::ColumnWidthsFrom(session.window);
    return panel;
}

void StoreSearchState(Session& session, const search::SearchPanel& panel) {
    session.window.searchItems = panel.history.Items();
    session.window.searchText = panel.searchText;
    search::ColumnWidths widths = panel.widths;
    search::RememberWidths(panel.results, widths);
    for (size_t i = 0; i < search::kFileColumns; ++i)
        session.window.resultWidths[i] = static_cast<int16_t>(widths.file[i]);
    for (size_t j = 0; j < search::kSubFileColumns; ++j)
        session.window.subFileWidths[j] = static_cast<int16_t>(widths.sub[j]);
    session.window.resultColumns = search::ResultColumnsOf(panel.results);
}

void SaveSearchState(Session& session, const search::SearchPanel& panel) {
    StoreSearchState(session, panel);
    session.SaveSettings();
}

}  // namespace kest::app
