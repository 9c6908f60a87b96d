#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/text/VbFormat.h"

namespace kest::engine {
class Database;
}

namespace kest::discfacts {

// A catalogued disc as recognition names it.
struct KnownDisc {
    int64_t kestId = 0;
    std::string description;
    int64_t files = 0;
    std::optional<text::DateTime> catalogued;
};

// What the catalog knows of a volume: every disc with its serial (a volume
// without a serial, "0000-0000" or none, is matched by its label among the
// discs without one). Several discs may share a serial: all are listed.
struct Recognition {
    std::string label;
    std::string serial;
    std::vector<KnownDisc> discs;  // by Kest ID

    bool Known() const { return !discs.empty(); }
    // "PHOTOS (1234-ABCD) is disc 12 of the catalog: Holiday 1999, 3,456
    // files, catalogued 2026-11-02." or "... is not in the catalog."; for
    // several discs a first line and one line per disc.
    std::string Message() const;
};

Recognition Recognize(engine::Database& db, const std::string& label, const std::string& serial);

// Whether a serial is a volume's own ("0000-0000" and "" are none).
bool HasSerial(const std::string& serial);

}  // namespace kest::discfacts
