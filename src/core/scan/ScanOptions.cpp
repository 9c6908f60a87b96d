#include "core/scan/ScanOptions.h"

namespace kest::scan {

bool ScanOptions::ListsArchiveType(const std::string& extension) const {
    if (!saveSubFileContents) return false;
    return (extension == "zip" && saveZip) || (extension == "cab" && saveCab) ||
           (extension == "ace" && saveAce) || (extension == "rar" && saveRar);
}

}  // namespace kest::scan
