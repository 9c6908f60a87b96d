#pragma once

#include <string>

namespace kest {

// File steps that leave either the old file or the whole new one, never half
// of it, even when the machine stops in between. Failures raise the file
// system's KestError.

// Forces a file's contents to the disk.
void SyncFile(const std::string& path);

// Copies from to to (a link's target; the link stays) through a new file
// beside it: copy, flush, rename (ReplacementFile). A failed copy leaves to
// as it was; a copy over a file keeps that file's access.
void CopyFileDurably(const std::string& from, const std::string& to);

}  // namespace kest
