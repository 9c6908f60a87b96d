#include "core/scan/ScanOptions.h"

#include "core/archive/ArchiveKinds.h"

namespace kest::scan {

bool ScanOptions::ListsArchiveType(const std::string& extension) const {
    if (!saveSubFileContents) return false;
    return (extension == "zip" && saveZip) || (extension == "cab" && saveCab) ||
           (extension == "ace" && saveAce) || (extension == "rar" && saveRar) ||
           (extension == "7z" && save7z) || (extension == "tar" && saveTar) ||
           (extension == "iso" && saveIso) ||
           (archive::IsCompressedTarType(extension) && saveCompressedTar);
}

}  // namespace kest::scan
