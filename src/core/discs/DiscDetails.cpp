#include "core/discs/DiscDetails.h"

#include "core/common/KestError.h"
#include "core/discs/DiscDeletion.h"
#include "core/search/DescriptionUpdate.h"
#include "core/search/SearchText.h"

namespace kest::discs {

std::string UsedSpaceHeader(const ListTable& list, bool showUsedSpace) {
    return showUsedSpace && HasUsedSpaceColumn(list) ? list.Column(6).header : std::string();
}

DiscDetails::DiscDetails(const SelectedDisc& disc, const std::string& usedSpaceHeader,
                         bool openedFromFileDetails)
    : description(disc.description),
      m_disc(disc),
      m_usedSpaceLabel("US " + (usedSpaceHeader.size() > 11 ? usedSpaceHeader.substr(11) : "")),
      m_fromFileDetails(openedFromFileDetails) {}

bool DiscDetails::UpdateDescription(engine::Database& db, Prompter& prompter) {
    auto stored = search::AskAndStoreDescription(
        db, prompter,
        {"Disc description update",
         "This will update the disc description in the database!\r\nDo you want to continue?",
         "Error in updating description", "tblDiscs", "DiscDesc", "KestID", m_disc.kestId},
        description);
    if (!stored) return false;
    m_disc.description = *stored;
    ++m_discsChanged;
    return true;
}

bool DiscDetails::Delete(engine::Database& db, Prompter& prompter) {
    const std::string title = DiscDeleteTitle(m_disc.kestId);
    if (prompter.Show(title,
                      "This will delete the disc and all of its\r\n"
                      "corresponding files from the database!\r\nDo you want to continue?",
                      Icon::Exclamation, Buttons::YesNo, 2) != Answer::Yes)
        return false;
    try {
        DeleteDiscRows(db, {m_disc.kestId});
    } catch (const KestError& e) {
        prompter.ShowError(kDeleteErrorTitle, e.Number(), e.Description());
        return false;
    }
    prompter.Show(title, "The delete was successful.", Icon::Information);
    ++m_discsChanged;
    m_discDeleted = true;
    m_closed = true;
    return true;
}

std::optional<DiscDetails> OpenDiscDetails(const DiscList& list, const DiscListOptions& options,
                                           search::GridSelection selection) {
    size_t row = selection.rowSel;
    if (row == 0 || row > list.table.RowCount()) return std::nullopt;
    SelectedDisc disc = SelectedDiscOfRow(list.table, row - 1);
    if (search::TrimBlanks(disc.kestId).empty()) return std::nullopt;
    return DiscDetails(disc, UsedSpaceHeader(list.table, options.showUsedSpace), false);
}

void AfterDiscDetails(const DiscDetails& window, CatalogViews& views, Prompter& prompter) {
    if (window.DiscsChanged() > 0) ReloadAfterDiscChange(views, prompter, false);
}

}  // namespace kest::discs
