#include "core/scan/DiscRegistration.h"

#include <strings.h>

#include "core/discs/DiscDeletion.h"
#include "core/engine/Database.h"
#include "core/scan/DisplayName.h"
#include "core/scan/ScanState.h"
#include "core/scan/ScanView.h"
#include "platform/Volumes.h"

namespace kest::scan {

namespace {

constexpr size_t kMaxDescription = 255;

// The first `count` characters of a UTF-8 text.
std::string FirstCharacters(const std::string& text, size_t count) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        bool starts = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (starts && characters++ == count) return text.substr(0, i);
    }
    return text;
}

}  // namespace

std::vector<DiscListRow> DiscListRows(engine::Database& db, bool showUsedSpace) {
    const char* statement =
        showUsedSpace
            ? "SELECT tblDiscs.KestId, tblDiscs.DiscSer FROM tblDiscs INNER JOIN tblFiles ON "
              "tblDiscs.KestId = tblFiles.KestId GROUP BY tblDiscs.KestId, tblDiscs.DiscSer, "
              "tblDiscs.DiscFSys, tblDiscs.DiscLbl, tblDiscs.DiscDesc, tblDiscs.DiscNumF;"
            : "SELECT tblDiscs.KestID, tblDiscs.DiscSer FROM tblDiscs";
    std::vector<DiscListRow> rows;
    for (const auto& row : db.Query(statement).rows) {
        rows.push_back({engine::ValueText(row[0]), engine::ValueText(row[1])});
    }
    return rows;
}

void DeleteDiscs(engine::Database& db, const std::vector<std::string>& kestIds, ScanView& view) {
    view.SetBusyPointer(true);
    view.Pump();
    discs::DeleteDiscRows(db, kestIds);
    view.ReloadDiscList();
    view.ResetResults();
    view.SetStatus(StatusPanel::Scan, "");
    view.SetBusyPointer(false);
}

bool DiscRegistration::FindDuplicates(const std::string& root,
                                      const std::vector<DiscListRow>& discList) {
    std::string serial = m_volumes.GetVolumeInfo(root).serial;
    std::vector<std::string> ids;
    std::string joined;
    for (const DiscListRow& row : discList) {
        if (strcasecmp(row.serial.c_str(), serial.c_str()) != 0) continue;
        ids.push_back(TrimSpaces(row.kestId));
        joined += "," + ids.back();
    }
    if (ids.empty()) return true;
    joined.erase(0, 1);
    std::string count = std::to_string(ids.size());
    Answer answer = m_prompter.Show(
        "Delete " + count + " Duplicate Disc(s)?",
        count + " duplicate Disc(s) with serial # " + serial + " found in collection!\r\n \r\n" +
            "Would you like to delete " + count + " Disc(s) before adding the new Disc?\r\n" +
            "  <-> Choose Yes to delete ALL duplicate Disc(s) and add the new Disc\r\n" +
            "  <-> Choose No to just add the new Disc\r\n" +
            "  <-> Choose Cancel to abort the scan.",
        Icon::Question, Buttons::YesNoCancel, 3);
    if (answer == Answer::No) return true;
    if (answer != Answer::Yes) return false;
    Answer sure = m_prompter.Show("Disc(s) Deletion",
                                  "This will delete the Disc(s) with Kest Id:\r\n" + joined +
                                      "\r\nand ALL of the corresponding files from the database!"
                                      "\r\n \r\nAre you sure you want to do this?",
                                  Icon::Exclamation, Buttons::YesNo, 2);
    if (sure != Answer::Yes) return false;
    m_replaced = discfacts::LoadDiscFacts(m_db, std::stoll(ids.front()));
    DeleteDiscs(m_db, ids, m_view);
    return true;
}

bool DiscRegistration::RegisterDisc(const std::string& root, ScanState& state) {
    std::string label = TrimSpaces(state.label);
    std::string offered = label.empty() ? "Disc with no label" : "Disc with label " + label;
    auto reply = m_prompter.Input(
        "Disc Description",
        "You can enter a description for your Disc in this input box. "
        "Ex:\"Game Patches and MP3's (Gold Sony CDR)\"\r\n\r\n\r\n<255 character maximum>",
        offered);
    std::string description = TrimSpaces(reply.value_or(""));
    if (description.empty()) return false;
    description = FirstCharacters(description, kMaxDescription);

    platform::VolumeInfo volume = m_volumes.GetVolumeInfo(root);
    state.label = volume.label;
    state.serial = volume.serial;
    state.fileSystem = volume.fileSystem;
    auto insert = m_db.Prepare(
        "INSERT INTO tblDiscs (DiscLbl, DiscSer, DiscFSys, DiscDesc) VALUES (?, ?, ?, ?)");
    insert.Bind(1, state.label);
    insert.Bind(2, state.serial);
    insert.Bind(3, state.fileSystem);
    insert.Bind(4, description);
    insert.Run();
    state.discId = m_db.LastInsertId();
    discfacts::RecordCatalogued(
        m_db, state.discId, discfacts::Now(),
        volume.capacity >= 0 ? std::optional<int64_t>(volume.capacity) : std::nullopt,
        volume.freeSpace >= 0 ? std::optional<int64_t>(volume.freeSpace) : std::nullopt,
        m_replaced);
    return true;
}

}  // namespace kest::scan
