#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/ArchiveFile.h"

namespace kest::scan {

class ContentHashes;
class ScanLog;
struct FileFacts;

// One entry of a directory listing a walk takes.
struct WalkEntry {
    std::string name;
    bool isDirectory = false;
    uint64_t handle = 0;  // the source's own, for its later calls
};

// Where an archive's bytes lie: a file, or a window of a disc image.
struct ArchiveBytes {
    std::string path;
    archive::FileWindow window;
};

// Where a walk takes its directories and files from: the file system below a
// drive's root, or a disc image. One listing is open at a time: the facts of
// its files are read between List and Close.
class WalkSource {
  public:
    virtual ~WalkSource() = default;
    // Lists `path` (ending in "/"); `handle` is the one its entry carried, 0
    // for the root. False, with the reason for the log, when the directory is
    // passed over; raises when the walk must stop.
    virtual bool List(const std::string& path, uint64_t handle, std::vector<WalkEntry>& entries,
                      std::string& reason) = 0;
    virtual void Close() = 0;
    // The facts of a file of the open listing; `relativePath` is its path
    // below the root.
    virtual void ReadFacts(const std::string& fullPath, const WalkEntry& entry,
                           std::string_view relativePath, FileFacts& facts) = 0;
    // Adds the content hash of a file of the open listing, stored as (dir, name).
    virtual void Hash(ContentHashes& hashes, const WalkEntry& entry, std::string_view storedDir,
                      std::string_view storedName, ScanLog& log) = 0;
    // Where the bytes of a file of the open listing lie for its archive
    // listing; nullopt (with the reason) when they cannot be read in place.
    virtual std::optional<ArchiveBytes> BytesOf(const std::string& fullPath, const WalkEntry& entry,
                                                std::string& reason) = 0;
    // The estimate: every file below the root, counted.
    virtual int64_t CountFiles(const std::string& root) = 0;
};

}  // namespace kest::scan
