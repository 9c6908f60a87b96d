#pragma once

#include <string>

#include "core/discs/CatalogViews.h"
#include "core/discs/SelectedDisc.h"
#include "core/search/ListSelection.h"
#include "core/ui/Prompter.h"

namespace kest::engine {
class Database;
}

namespace kest::discs {

// The disc details window: the seven values of the selected disc, the
// editable description, and what the window changed while it was open.
class DiscDetails {
  public:
    // usedSpaceHeader: the disc list's seventh header ("Used Space (MB) "),
    // empty when the list has no used-space column.
    DiscDetails(const SelectedDisc& disc, const std::string& usedSpaceHeader,
                bool openedFromFileDetails);

    const SelectedDisc& Disc() const { return m_disc; }
    // The used-space label: "US " and the unit of the list's header.
    const std::string& UsedSpaceLabel() const { return m_usedSpaceLabel; }
    // Offset from the centred place, in twips (350 up and right when opened
    // from the file details).
    int OffsetX() const { return m_fromFileDetails ? 350 : 0; }
    int OffsetY() const { return m_fromFileDetails ? -350 : 0; }

    // The description box's text, as the user edits it.
    std::string description;

    // "&Update Disc Description": asks, stores the description with every
    // line break as one space, counts the change. The window stays open.
    bool UpdateDescription(engine::Database& db, Prompter& prompter);
    // "&Delete Disc": asks, deletes the disc with its files as one unit and
    // closes the window.
    bool Delete(engine::Database& db, Prompter& prompter);

    int DiscsChanged() const { return m_discsChanged; }
    // A change made beside the description (the disc's facts) counts too.
    void CountChange() { ++m_discsChanged; }
    bool DiscDeleted() const { return m_discDeleted; }
    bool Closed() const { return m_closed; }
    void Close() { m_closed = true; }

  private:
    SelectedDisc m_disc;
    std::string m_usedSpaceLabel;
    bool m_fromFileDetails = false;
    int m_discsChanged = 0;
    bool m_discDeleted = false;
    bool m_closed = false;
};

// Double click, Enter or "Disc Details..." on the disc list: the details of
// the row at the end of the selection; nothing on the header row or a row
// without a KestId.
std::optional<DiscDetails> OpenDiscDetails(const DiscList& list, const DiscListOptions& options,
                                           search::GridSelection selection);

// When the details window opened from the disc list closes: after changes the
// disc list reloads and the results are emptied.
void AfterDiscDetails(const DiscDetails& window, CatalogViews& views, Prompter& prompter);

// The disc list's used-space header the details window labels its box with
// (empty when the list has no used-space column).
std::string UsedSpaceHeader(const ListTable& list, bool showUsedSpace);

}  // namespace kest::discs
