#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/DiscImage.h"

namespace kest::engine {
class Database;
}

namespace kest::scan {

class ScanLog;

// The optional content hashes of a scan: each stored file is read whole and
// its 128-bit XXH3 kept (as the 32 hexadecimal digits `xxhsum -H2` prints);
// when the walk ends they are written beside the disc's rows. A file that
// cannot be read gets no hash and a line in the log; the scan goes on.
// Symbolic links and other non-regular files are not read.
class ContentHashes {
  public:
    // The file just stored as (dir, name) in the catalog, opened below dirFd.
    void Add(int dirFd, const char* entryName, std::string_view storedDir,
             std::string_view storedName, ScanLog& log);
    // The file just stored, whose data is `extents` of the open image `fd`.
    void Add(int fd, std::span<const image::Extent> extents, std::string_view storedDir,
             std::string_view storedName, ScanLog& log);
    // Writes the hashes of the disc's rows that the catalog holds (matched by
    // folder and name), as one unit.
    void Store(engine::Database& db, int64_t kestId);
    size_t Count() const { return m_hashes.size(); }

  private:
    // Keeps a hash, or logs why there is none (`error`, a system error number).
    void Keep(std::string hash, int error, std::string_view storedDir, std::string_view storedName,
              ScanLog& log);
    struct Hashed {
        std::string dir, name, hash;
    };
    std::vector<Hashed> m_hashes;
    std::vector<char> m_buffer;
};

// The hash of a whole file; no hash for a link or another non-regular file,
// and none with the system's error number for a file that cannot be read.
struct FileHashResult {
    std::string hash;
    int error = 0;
};
FileHashResult HashFile(int dirFd, const char* name, std::vector<char>& buffer);

}  // namespace kest::scan
