#pragma once

#include <cstdint>
#include <string>

namespace kest {

// The size text of a length in bytes: "500 bytes", "1.50 KB", "3.25 MB",
// "1.00 GB" (units of 1024, two decimals with the user's separator).
std::string SizeText(uint64_t bytes);

// The size text of the file at path; a file that cannot be read raises the
// file system's error.
std::string FormatFileSize(const std::string& path);

}  // namespace kest
