#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/archive/FileFound.h"
#include "core/text/VbFormat.h"

namespace kest::archive {

// The values one archive entry gives its tblSubFiles row (beside the disc
// and file ids).
struct SubFileRow {
    std::string SubFileDir;  // "<root>" for entries at the top
    std::string SubFileName;
    std::string SubFileAtt;
    std::string SubFileCRC;
    int64_t SubFileSize = 0;
    int64_t SubFileCSize = 0;
    float SubFileRatio = 0;  // shown and stored through RatioText/RatioValue
    text::DateTime SubFileDate;
    std::string SubFileComm;
    int32_t SubFileMeth = 0;
    std::string SubFileSMeth;
    bool SubFileEncr = false;
    int32_t SubFileFlags = 0;
};

// The row for an entry; nullopt for directory entries (no file name), which
// are not recorded.
std::optional<SubFileRow> SubFileRowFor(const FileFound& entry);

}  // namespace kest::archive
