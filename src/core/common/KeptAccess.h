#pragma once

#include <string>

namespace kest {

// Gives the file open at `to` the access of the file at `from` (a link is
// not followed): owner and group (where the system permits; a change it
// refuses leaves the caller's), then the permission bits, then the extended
// attributes that carry access or the user's own facts (POSIX ACLs, user.*
// attributes). Attributes the target's file system cannot hold are left out.
void KeepAccess(const std::string& from, int to);

}  // namespace kest
