#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/archive/rarlib/BufferedFile.h"
#include "core/archive/rarlib/UnrarLib.h"

// The parsers behind the unrar-style calls. Each reads every header of the
// archive in one go and gives kSuccess with the entries in archive order, or
// an error code, in which case the caller drops whatever was gathered.
namespace kest::archive::rarlib {

// The blocks of a 1.5-4.x archive whose marker block ends at offset.
int ReadRar4Listing(BufferedFile& file, uint64_t offset, std::vector<RARHeaderData>& entries);

// The headers of a RAR 5 archive whose signature ends at offset.
int ReadRar5Listing(BufferedFile& file, uint64_t offset, std::vector<RARHeaderData>& entries);

// Finds the signature (also behind a self-extracting stub) and runs the
// parser of its format version.
int ReadRarListing(BufferedFile& file, std::vector<RARHeaderData>& entries);

// The Unicode name that a 1.5-4.x header stores after the NUL of its OEM
// name, decoded to UTF-8.
std::string DecodeRarUnicodeName(std::span<const uint8_t> oemName,
                                 std::span<const uint8_t> encoded);

}  // namespace kest::archive::rarlib
