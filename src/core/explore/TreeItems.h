#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/explore/FolderNames.h"

namespace kest::explore {

// The disc row of a tree.
struct DiscInfo {
    int32_t kestId = 0;
    std::string serial, fileSystem, label, description;
    int64_t numFiles = 0;
};

// A stored folder text of a folder and the counters that hold its rows (a
// folder written by hand in several ways has several).
struct FolderRun {
    std::string dir;
    int64_t lo = 0, hi = 0;
};

// A subfolder as a listing shows it: its name and what lies below it.
struct FolderItem {
    std::string name;
    int64_t files = 0, bytes = 0, folders = 0;
};

// A file of a folder (a tblFiles row) or an entry of an archive (a
// tblSubFiles row), with every field the catalog holds for it.
struct FileItem {
    bool entry = false;  // an archive's entry
    int64_t id = 0;      // FileId, or SubFileId
    int64_t fileId = 0;  // the file row; an entry's archive
    std::string dir;     // FileDir, or SubFileDir, as stored
    std::string name, attributes;
    int64_t size = 0;
    std::string date;         // as stored ("YYYY-MM-DD HH:MM:SS"); empty when none
    std::string description;  // FileDesc, or the entry's comment
    bool archive = false;     // a file whose entries open as a folder
    int64_t packed = 0;       // entries only from here on
    std::string ratio, crc, method;
    bool encrypted = false;
};

// Where a listing stands: a folder of the disc, or a folder of an archive
// (the archive's top when archiveFolder is the root).
struct Place {
    FolderPath path;
    int32_t folder = 0;              // the disc's folder (holding the archive)
    std::optional<int64_t> archive;  // the archive's FileId
    std::string archiveName;
    int32_t archiveFolder = 0;
};

// The columns files can be ordered by.
enum class FileColumn { Name, Size, Date, Attributes, Description, Packed, Ratio, Crc, Method };
struct FileOrder {
    FileColumn column = FileColumn::Name;
    bool descending = false;
};

}  // namespace kest::explore
