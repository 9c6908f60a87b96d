#include "core/details/MultipleDescriptionUpdate.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "core/common/KestError.h"
#include "core/details/FileDetailsWindow.h"
#include "core/engine/AsOneUnit.h"
#include "core/engine/Database.h"
#include "core/search/SearchText.h"
#include "core/search/SqlText.h"

namespace kest::details {

std::vector<int64_t> SelectedFileIds(const ListTable& results, search::GridSelection selection) {
    std::vector<int64_t> ids;
    if (results.ColumnCount() < 2) return ids;
    size_t first = std::max<size_t>(1, std::min(selection.row, selection.rowSel));
    size_t last = std::min(results.RowCount(), std::max(selection.row, selection.rowSel));
    std::set<int64_t> seen;
    for (size_t row = first; row <= last; ++row) {
        std::string text = search::TrimBlanks(results.Cell(row - 1, 1));
        int64_t id = 0;
        auto parsed = std::from_chars(text.data(), text.data() + text.size(), id);
        if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size()) continue;
        if (seen.insert(id).second) ids.push_back(id);
    }
    return ids;
}

MultipleUpdateOutcome MultipleFileDescriptionUpdate(discs::CatalogViews& views,
                                                    search::GridSelection selection,
                                                    Prompter& prompter) {
    const ListTable& results = views.results.results;
    size_t span = selection.row > selection.rowSel ? selection.row - selection.rowSel
                                                   : selection.rowSel - selection.row;
    if (results.RowCount() < 1 || span < 1) return MultipleUpdateOutcome::NotOffered;
    try {
        std::vector<int64_t> ids = SelectedFileIds(results, selection);
        auto reply = prompter.Input("File Description",
                                    "Enter the file description.\r\n"
                                    "(Enter a space to clear the description.)\r\n\r\n\r\n"
                                    "<255 character maximum>",
                                    "");
        if (!reply || reply->empty()) return MultipleUpdateOutcome::Cancelled;
        if (prompter.Show("File Description Update",
                          "This will update the description for ALL the selected files.\r\n "
                          "\r\nDo you want to continue?",
                          Icon::Exclamation, Buttons::YesNo, 2) != Answer::Yes)
            return MultipleUpdateOutcome::Declined;
        std::string quoted =
            search::SqlQuote(search::SqlEscape(search::OneLineDescription(*reply)));
        // One unit, so a refused text leaves every selected file as it was.
        engine::AsOneUnit(views.db.Handle(), "kest_file_descriptions", [&] {
            for (int64_t id : ids)
                views.db.Execute("UPDATE tblFiles SET FileDesc = " + quoted +
                                 " WHERE FileId = " + std::to_string(id) + ";");
        });
        prompter.Show("Success", "The file description update was successful.", Icon::Information);
        RefreshDescriptions(views, prompter);
        return MultipleUpdateOutcome::Updated;
    } catch (const KestError& e) {
        prompter.ShowError("MFD Menu Error", e.Number(), e.Description());
        return MultipleUpdateOutcome::Failed;
    }
}

}  // namespace kest::details
