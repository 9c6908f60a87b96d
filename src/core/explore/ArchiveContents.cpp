#include "core/explore/ArchiveContents.h"

#include "core/engine/Database.h"
#include "core/explore/FileReader.h"

namespace kest::explore {

ArchiveContents LoadArchive(engine::Database& db, int32_t kestId, int64_t fileId) {
    ArchiveContents contents;
    auto select = db.Prepare(
        "SELECT SubFileId, SubFileDir, SubFileName, SubFileAtt, SubFileSize, SubFileDate, "
        "SubFileComm, SubFileCSize, SubFileRatio, SubFileCRC, SubFileSMeth, SubFileEncr "
        "FROM tblSubFiles WHERE FileId = ? AND +KestId = ? ORDER BY SubFileId");
    select.Bind(1, fileId);
    select.Bind(2, int64_t{kestId});
    std::vector<int32_t> folderOf;
    while (select.Step()) {
        FileItem entry = ItemOfRow(select);
        entry.entry = true;
        entry.fileId = fileId;
        entry.packed = select.Int(7);
        entry.ratio = select.Text(8);
        entry.crc = select.Text(9);
        entry.method = select.Text(10);
        entry.encrypted = select.Int(11) != 0;
        int32_t folder = contents.folders.Add(SubFileDirNames(entry.dir));
        contents.folders.Count(folder, 1, entry.size);
        folderOf.push_back(folder);
        contents.entries.push_back(std::move(entry));
    }
    contents.folders.Finish();
    contents.entriesOf.resize(contents.folders.Size());
    for (size_t i = 0; i < folderOf.size(); ++i)
        contents.entriesOf[static_cast<size_t>(folderOf[i])].push_back(i);
    return contents;
}

}  // namespace kest::explore
