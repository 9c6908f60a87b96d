#include "core/discs/DiscDeletion.h"

#include "core/common/KestError.h"
#include "core/engine/AsOneUnit.h"
#include "core/engine/Database.h"
#include "core/engine/DiscFactsTables.h"
#include "core/search/SqlText.h"

namespace kest::discs {

void DeleteDiscRows(engine::Database& db, const std::vector<std::string>& kestIds) {
    std::vector<std::string> ids;
    ids.reserve(kestIds.size());
    for (const std::string& id : kestIds) ids.push_back(search::SqlWholeNumber(id));
    engine::AsOneUnit(db.Handle(), "kest_delete_discs", [&] {
        for (const std::string& id : ids) {
            for (const char* table : {"tblSubFiles", "tblFiles", "tblDiscs"})
                db.Execute(std::string("DELETE * FROM ") + table + " WHERE KestID = " + id + ";");
            engine::DeleteDiscFacts(db, id);
        }
    });
}

std::string DiscDeleteTitle(const std::string& kestId) {
    return "Disc Delete (KestID=" + kestId + ")";
}

DeleteOutcome DeleteDiscFromMenu(CatalogViews& views, const std::string& kestId,
                                 Prompter& prompter) {
    const std::string title = DiscDeleteTitle(kestId);
    if (prompter.Show(title,
                      "This will delete the disc and ALL of its\r\n"
                      "corresponding files from the database!\r\nDo you want to continue?",
                      Icon::Exclamation, Buttons::YesNo, 2) != Answer::Yes)
        return DeleteOutcome::Declined;
    try {
        DeleteDiscRows(views.db, {kestId});
    } catch (const KestError& e) {
        prompter.ShowError(kDeleteErrorTitle, e.Number(), e.Description());
        return DeleteOutcome::Failed;
    }
    ReloadAfterDiscChange(views, prompter, true);
    prompter.Show(title,
                  "The delete was successful.\r\n\r\n"
                  "For optimum performance please compact the database.",
                  Icon::Information);
    return DeleteOutcome::Deleted;
}

DeleteOutcome DeleteSelectedDiscs(CatalogViews& views, const std::vector<int64_t>& kestIds,
                                  Prompter& prompter) {
    std::string joined;
    std::vector<std::string> ids;
    for (int64_t id : kestIds) {
        ids.push_back(std::to_string(id));
        joined += (joined.empty() ? "" : ",") + ids.back();
    }
    if (prompter.Show("Disc(s) Deletion",
                      "This will delete the Disc(s) with Kest Id:\r\n" + joined +
                          "\r\nand ALL of the corresponding files from the database!\r\n \r\n"
                          "Do you want to continue?",
                      Icon::Exclamation, Buttons::YesNo, 2) != Answer::Yes)
        return DeleteOutcome::Declined;
    try {
        DeleteDiscRows(views.db, ids);
    } catch (const KestError& e) {
        prompter.ShowError(kDeleteErrorTitle, e.Number(), e.Description());
        return DeleteOutcome::Failed;
    }
    ReloadAfterDiscChange(views, prompter, false);
    prompter.Show("Disc delete successful",
                  "The delete was successful.\r\n\r\n"
                  "For optimum performance please compact the database.",
                  Icon::Information);
    return DeleteOutcome::Deleted;
}

}  // namespace kest::discs
