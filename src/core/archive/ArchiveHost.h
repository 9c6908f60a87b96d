#pragma once

#include <string>

namespace kest::archive {

// What an archive reader needs from the scan that runs it: the cancel flag,
// tested after every entry, and the troubleshooting log for its error lines.
class ArchiveHost {
  public:
    virtual ~ArchiveHost() = default;
    virtual bool CancelRequested() const = 0;
    // Writes one line (without its line break) to the scan's log.
    virtual void WriteLog(const std::string& line) = 0;
};

}  // namespace kest::archive
