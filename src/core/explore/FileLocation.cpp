#include "core/explore/FileLocation.h"

#include "core/engine/Database.h"

namespace kest::explore {

std::optional<FileLocation> LocateFile(engine::Database& db, int64_t fileId) {
    auto select = db.Prepare("SELECT KestId, FileDir, FileName FROM tblFiles WHERE FileId = ?");
    select.Bind(1, fileId);
    if (!select.Step() || select.IsNull(0)) return std::nullopt;
    return FileLocation{static_cast<int32_t>(select.Int(0)), FileDirNames(select.Text(1)),
                        select.Text(2), fileId};
}

}  // namespace kest::explore
