#pragma once

#include <cstdint>
#include <string>

namespace kest::scan {

// The file count estimate made before a walk. It counts every file below a
// folder - hidden ones, those under "System Volume Information" and symbolic
// links included - and keeps only the count, so its memory does not grow with
// the disc.
class colFiles {
  public:
    // Adds the files in `directory` (and, with recurse, below it) to the count
    // and gives the count. A folder that cannot be listed adds nothing.
    int64_t FindFiles(const std::string& directory, bool recurse);
    void Clear() { m_count = 0; }
    int64_t Count() const { return m_count; }

  private:
    int64_t m_count = 0;
};

}  // namespace kest::scan
