#pragma once

#include <random>
#include <string>

#include "ReferenceReader.h"

namespace kest::damage {

// The ways the suite damages a catalog, as a failing disk or an interrupted
// write would.
enum class Fault {
    LeafBytes,      // a few random bytes in a table leaf
    InteriorBytes,  // a few random bytes in an interior page
    ZeroedHeader,   // a b-tree page's header zeroed
    Truncated,      // the file cut short
    TornLastPage,   // the last page half written
    FreeList,       // the free list's pointers garbled
    Schema,         // random bytes in the schema's page
    Lock,           // the password lock's page garbled
    IndexPage,      // a page of an index or of the search index garbled
    WholePage,      // a page of random bytes (a bad sector)
    Count,
};

const char* FaultName(Fault fault);

// Damages the file's bytes (a copy of a sound catalog whose pages `map`
// describes); false when the catalog has nothing this fault could hit (no
// free list, no lock). `what` tells which pages were hit.
bool Damage(std::string& bytes, const PageMap& map, Fault fault, std::mt19937& random,
            std::string& what);

}  // namespace kest::damage
