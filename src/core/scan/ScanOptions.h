#pragma once

#include <string>

namespace kest::scan {

// The settings a scan reads, gathered so the scan does not depend on how the
// settings are stored.
struct ScanOptions {
    bool showNonOpticalWarning = true;
    bool estimateBeforeScan = true;
    bool saveSubFileContents = false;
    bool saveZip = true;
    bool saveCab = false;
    bool saveRar = false;
    bool saveAce = false;
    bool save7z = true;
    bool saveTar = true;
    bool saveCompressedTar = true;  // .tar.gz, .tar.bz2, .tar.xz, .tar.zst
    bool saveIso = true;
    bool playSound = true;
    std::string endScanSound;
    // The disc list then shows only discs with files; it is the duplicates' source.
    bool showUsedSpace = false;
    // A 128-bit content hash of every file, read while the walk stores it.
    bool hashContents = false;

    // Whether files of this archive type (archive::ArchiveTypeOf) are listed.
    bool ListsArchiveType(const std::string& extension) const;
};

}  // namespace kest::scan
