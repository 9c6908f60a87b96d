#pragma once

#include <string>

namespace kest {

// A file that a save or a new catalog is about to replace must be a regular
// file: a device, a FIFO, a socket, a folder or a link (even a dangling one)
// is never deleted or written over. Raises "Path/File access error" (75) for
// such a path; nothing when the path holds nothing or a regular file.
void CheckReplaceable(const std::string& path);

}  // namespace kest
