#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/discfacts/DiscFacts.h"

namespace kest::discfacts {

// Longest texts, in characters; longer ones are refused with a message that
// names the field, as the catalog's own 255-character fields are.
inline constexpr size_t kMaxLocation = 255;
inline constexpr size_t kMaxTag = 255;
inline constexpr size_t kMaxLentTo = 255;
inline constexpr size_t kMaxNotes = 4000;
inline constexpr int kMaxTags = 100;
// Lending dates must fall in these years.
inline constexpr int kFirstYear = 1980;
inline constexpr int kLastYear = 2199;

// The title of the messages of a refused or failed change.
inline constexpr const char* kFactsErrorTitle = "Error in updating disc facts";

// A change of a disc's facts as a user asks for it: only what is given
// changes. Dates are texts as typed ("9/18/2026", "2026-09-18").
struct DiscFactsChange {
    std::optional<std::string> location;
    std::vector<std::string> addTags;
    std::vector<std::string> removeTags;
    std::optional<std::vector<std::string>> tags;  // the whole list, replacing it
    std::optional<std::string> lentTo;             // lending: who, from when, until when
    std::optional<std::string> lentOn;             // empty = today
    std::optional<std::string> dueBack;            // empty = no due date
    bool returned = false;
    std::optional<std::string> notes;

    bool Empty() const;
};

// The facts with the change made, checked: texts trimmed, tags trimmed with
// empty and repeated ones (without regard to case) left out, dates parsed
// and in range, a due date not before the lent-on date, lending and return
// not together. Raises KestError with the reason.
DiscFacts ApplyChange(const DiscFacts& facts, const DiscFactsChange& change,
                      const text::DateTime& today);

// The facts of a disc of the catalog; raises 3265 for a disc it does not hold.
DiscFacts FactsOfDisc(engine::Database& db, int64_t kestId);
// Loads, changes and stores the facts of a disc of the catalog; raises
// KestError (3265 for a disc the catalog does not hold).
DiscFacts ChangeDiscFacts(engine::Database& db, int64_t kestId, const DiscFactsChange& change);

// The editable facts as the disc details' boxes show them, and the change
// their typed texts ask for: the tags in one box (JoinTags/SplitTags), an
// empty borrower for a disc that came back.
struct FactTexts {
    std::string location, tags, lentTo, lentOn, dueBack, notes;
};
FactTexts TextsOf(const DiscFacts& facts);
DiscFactsChange ChangeFromTexts(const FactTexts& typed, const DiscFacts& before);

// "Tag" trimmed; the same tag as another without regard to case.
bool SameTag(std::string_view a, std::string_view b);

}  // namespace kest::discfacts
