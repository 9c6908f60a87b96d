#pragma once

#include <QFont>
#include <functional>

#include "core/app/Session.h"
#include "core/discs/CatalogViews.h"
#include "platform/Volumes.h"

namespace kest::gui {

// What an Explore window uses of the window that opened it: the session (its
// catalog, prompter and settings), the drives for the file functions, the
// lists the file details window refreshes, the fonts, and whether a scan
// holds the catalog now (the window then leaves it alone).
struct ExploreHost {
    app::Session& session;
    const platform::Volumes& volumes;
    std::function<discs::CatalogViews()> catalogViews;
    std::function<void()> listsChanged;
    std::function<bool()> catalogBusy;
    QFont listFont, discListFont;
};

}  // namespace kest::gui
