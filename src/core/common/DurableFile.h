#pragma once

#include <string>

namespace kest {

// File steps that leave either the old file or the whole new one, never half
// of it, even when the machine stops in between. Failures raise the file
// system's KestError.

// Forces a file's contents to the disk.
void SyncFile(const std::string& path);

// Renames from to to (replacing to) and forces the folder entry to the disk.
void RenameDurably(const std::string& from, const std::string& to);

// Removes the file (or empty folder) at path when there is one.
void RemoveIfPresent(const std::string& path);

// Copies from to to through a temporary file in to's folder: copy, flush,
// rename. A failed copy removes the temporary file and leaves to as it was.
void CopyFileDurably(const std::string& from, const std::string& to);

}  // namespace kest
