#pragma once

#include "cli/catalog/CliSession.h"
#include "core/discs/CatalogViews.h"

namespace kest::cli {

// The disc list and an empty results list of the session's catalog, drawn
// with the settings of --home, as the disc and file commands change them.
// The size and date of file details show in the units of these settings.
class CliViews {
  public:
    explicit CliViews(CliSession& session);

    discs::DiscList list;
    search::SearchPanel panel;
    discs::CatalogViews views;
};

}  // namespace kest::cli
