#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/text/VbFormat.h"

namespace kest::engine {
class Database;
}

namespace kest::discfacts {

// What Kest keeps about one disc beside its catalog row. A disc catalogued
// before these facts existed has none: every field empty.
struct DiscFacts {
    int64_t kestId = 0;
    std::optional<text::DateTime> catalogued;    // the first scan of the disc
    std::optional<text::DateTime> recatalogued;  // the last scan that replaced it
    std::optional<int64_t> capacity;             // bytes, at scan time
    std::optional<int64_t> freeSpace;
    std::string location;  // "Shelf B, box 3"
    std::vector<std::string> tags;
    std::string lentTo;  // empty when the disc is at home
    std::optional<text::DateTime> lentOn;
    std::optional<text::DateTime> dueBack;
    std::string notes;

    bool Lent() const { return !lentTo.empty(); }
    // Lent and past its due date on the given day.
    bool Overdue(const text::DateTime& today) const;
};

// The facts of one disc (empty ones when none are kept).
DiscFacts LoadDiscFacts(engine::Database& db, int64_t kestId);
// The facts of every disc that has any, by KestId.
std::map<int64_t, DiscFacts> LoadAllDiscFacts(engine::Database& db);
// Stores the facts as they are (the tables are made when missing); the
// caller has checked them (DiscFactsChange).
void SaveDiscFacts(engine::Database& db, const DiscFacts& facts);

// After a scan registered a disc: the date and the volume's space. When the
// scan replaced discs of the same serial, the oldest of them hands on its
// location, tags, lending and notes and first date, and the new disc counts
// as re-catalogued.
void RecordCatalogued(engine::Database& db, int64_t kestId, const text::DateTime& now,
                      std::optional<int64_t> capacity, std::optional<int64_t> freeSpace,
                      const std::optional<DiscFacts>& replaced);

// The local date and time now.
text::DateTime Now();

}  // namespace kest::discfacts
