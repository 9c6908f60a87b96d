#pragma once

#include <string>

namespace kest {

// A file that a save or a new catalog is about to replace must be a regular
// file, or a symbolic link to one (its target is then written and the link
// stays): a device, a FIFO, a socket, a folder or a dangling link is never
// deleted or written over. Raises "Path/File access error" (75) for such a
// path; nothing when the path holds nothing or a regular file.
void CheckReplaceable(const std::string& path);

}  // namespace kest
