#include "core/archive/SubFileRow.h"

#include "core/archive/SubFileTexts.h"

namespace kest::archive {

namespace {

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

std::optional<SubFileRow> SubFileRowFor(const FileFound& entry) {
    if (IsBlank(entry.FileName)) return std::nullopt;
    SubFileRow row;
    row.SubFileDir = IsBlank(entry.Directory) ? "<root>" : entry.Directory;
    row.SubFileName = entry.FileName;
    row.SubFileAtt = AttrText(entry.Attributes);
    row.SubFileCRC = CrcText(entry.Crc);
    row.SubFileSize = entry.FileSize;
    row.SubFileCSize = entry.PackedSize;
    row.SubFileRatio = Ratio(entry.FileSize, entry.PackedSize);
    row.SubFileDate = entry.FileDate;
    row.SubFileComm = entry.Comment;
    row.SubFileMeth = entry.Method;
    row.SubFileSMeth = MethodText(entry.ArchiveType, entry.Method, entry.Flags);
    row.SubFileEncr = IsEncrypted(entry.ArchiveType, entry.Flags);
    row.SubFileFlags = entry.Flags;
    return row;
}

}  // namespace kest::archive
