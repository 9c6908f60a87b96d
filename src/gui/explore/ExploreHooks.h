#pragma once

#include <QWidget>
#include <functional>

#include "core/discs/DiscList.h"
#include "core/search/SearchPanel.h"
#include "gui/app/MainControls.h"
#include "gui/explore/ExploreHost.h"

namespace kest::gui {

// The Explore window's host over the main window and its lists: the catalog
// counts as busy while the window or its disc list is disabled (a scan locks
// the list, other commands the window).
ExploreHost MakeExploreHost(app::Session& session, const platform::Volumes& volumes,
                            discs::DiscList& discs, search::SearchPanel& results,
                            std::function<void()> listsChanged, QWidget* window,
                            const MainControls& controls);

// "Explore Disc...": the disc of a disc list row (grid rows, 0 the header).
void ExploreDiscRow(QWidget* window, ExploreHost host, const discs::DiscList& discs,
                    size_t gridRow);
// "Show in Folder Tree": the file of a results row, selected in its folder.
void ShowResultsRowInTree(QWidget* window, ExploreHost host, const search::SearchPanel& results,
                          size_t gridRow);

}  // namespace kest::gui
