#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/discfacts/DiscFacts.h"
#include "core/table/ListTable.h"

namespace kest::discfacts {

// The optional columns of the disc list, as bits (kept in the settings).
enum FactColumn : unsigned {
    kColumnLocation = 1,
    kColumnTags = 2,
    kColumnLentTo = 4,
    kColumnDueBack = 8,
    kColumnCatalogued = 16,
    kColumnCapacity = 32,
    kColumnFreeSpace = 64,
};
inline constexpr unsigned kAllFactColumns = 127;

struct FactColumnName {
    FactColumn column;
    const char* header;  // the list's header text, ending in a space as the others
};
// The optional columns in the order the list shows them.
const std::vector<FactColumnName>& FactColumnNames();

// Tags as one text: "Music, \"Rock, Pop\", 80's" (a tag holding a comma or
// a double quote is quoted, its quotes doubled).
std::string JoinTags(const std::vector<std::string>& tags);
// The tags of such a text, as a user types them into one box: split at the
// commas outside double quotes, a doubled quote inside quotes is one quote.
std::vector<std::string> SplitTags(const std::string& typed);
// A date as the lists show it: "2026-11-02".
std::string DayText(const std::optional<text::DateTime>& date);

// Which discs a filter keeps; empty parts keep every disc.
struct DiscFilter {
    std::vector<std::string> tags;  // every one of them (without regard to case)
    std::string location;           // a part of the location (without regard to case)
    bool lentOnly = false;
    std::string text;  // a part of any shown cell, the location, a tag, the borrower or the notes

    bool Empty() const { return tags.empty() && location.empty() && !lentOnly && text.empty(); }
};
// shownText: the disc's cells in the list, for the free text.
bool Matches(const DiscFilter& filter, const DiscFacts& facts, std::string_view shownText = {});
// Bytes as the optional columns show them: "4,482 MB"; "" when unknown.
std::string MegabytesText(const std::optional<int64_t>& bytes);

// The disc list (column 0 the Kest ID) with the chosen optional columns
// added after its own, and only the rows the filter keeps. The list's own
// columns and their order stay as they are.
void AddFactsToDiscList(ListTable& table, const std::map<int64_t, DiscFacts>& facts,
                        unsigned columns, const DiscFilter& filter);

// The lent discs, overdue ones marked: Kest ID, description, lent to, lent
// on, due back, "overdue" or "", ordered by due date (none last).
struct LentDisc {
    int64_t kestId = 0;
    std::string description;
    DiscFacts facts;
    bool overdue = false;
};
std::vector<LentDisc> LentDiscs(engine::Database& db, const text::DateTime& today);
// The lent discs as a list: Kest ID, description, lent to, lent on, due
// back and "OVERDUE" for the late ones.
ListTable LentDiscsTable(const std::vector<LentDisc>& lent);

}  // namespace kest::discfacts
