#pragma once

#include <vector>

#include "core/archive/acelib/UnaceLib.h"
#include "core/archive/rarlib/BufferedFile.h"

namespace kest::archive::acelib {

// Finds the main header (also behind a self-extracting stub) and reads every
// block after it: kSuccess with the file entries in archive order, or
// kBadArchive, in which case the caller drops whatever was gathered.
int ReadAceListing(BufferedFile& file, std::vector<ACEHeaderData>& entries);

}  // namespace kest::archive::acelib
