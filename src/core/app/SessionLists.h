#pragma once

#include "core/app/Session.h"
#include "core/discs/CatalogViews.h"
#include "core/discs/DiscList.h"
#include "core/search/SearchPanel.h"

namespace kest::app {

// The disc list of the open catalog, as the window fills it at start-up.
bool LoadDiscList(Session& session, discs::DiscList& list);

// The open catalog's lists as the disc and file commands change them, drawn
// with the session's settings.
discs::CatalogViews CatalogViewsOf(Session& session, discs::DiscList& list,
                                   search::SearchPanel& results);

// A search panel with the history, text and widths of the settings.
search::SearchPanel PanelFromSettings(const Session& session);

// Stores the history, text and result columns back into the window state.
void StoreSearchState(Session& session, const search::SearchPanel& panel);

// StoreSearchState, then saves the settings.
void SaveSearchState(Session& session, const search::SearchPanel& panel);

}  // namespace kest::app
