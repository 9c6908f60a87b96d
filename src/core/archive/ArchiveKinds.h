#pragma once

#include <string>
#include <string_view>

namespace kest::archive {

// The archive type a file name stands for: "zip", "cab", "rar", "ace", "7z",
// "iso", "tar", and for compressed TAR files "tgz" (.tar.gz, .tgz), "tbz"
// (.tar.bz2, .tbz2, .tbz), "txz" (.tar.xz, .txz) and "tzst" (.tar.zst,
// .tzst); for other names their lower-case extension.
std::string ArchiveTypeOf(std::string_view fileName);

// Whether libarchive lists this type (7z, ISO and the TAR kinds).
bool IsLibArchiveType(std::string_view type);

// Whether this type is a compressed TAR kind.
bool IsCompressedTarType(std::string_view type);

}  // namespace kest::archive
