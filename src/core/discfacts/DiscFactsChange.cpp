#include "core/discfacts/DiscFactsChange.h"

#include <algorithm>

#include "core/common/Errors.h"
#include "core/discfacts/DiscListFacts.h"
#include "core/engine/Database.h"
#include "core/text/DateParse.h"
#include "core/text/TextOrder.h"

namespace kest::discfacts {
namespace {

std::string Trimmed(std::string_view text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

size_t Characters(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Thousands(size_t n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

// A text field with its limit; line breaks of the one-line fields become spaces.
std::string CheckedText(const std::string& text, const char* field, size_t limit, bool oneLine) {
    std::string value = Trimmed(text);
    if (oneLine)
        std::replace_if(
            value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; },
            ' ');
    size_t length = Characters(value);
    if (length > limit) {
        throw KestError(err::kFieldTooSmall, std::string("The ") + field +
                                                 " is too long: " + Thousands(length) +
                                                 " characters, at most " + Thousands(limit) +
                                                 ".  Try inserting or pasting less data.");
    }
    return value;
}

std::optional<text::DateTime> CheckedDate(const std::string& typed, const char* field,
                                          const text::DateTime& today, bool emptyIsToday) {
    std::string value = Trimmed(typed);
    if (value.empty()) {
        if (!emptyIsToday) return std::nullopt;
        text::DateTime day = today;
        day.hour = day.minute = day.second = 0;
        return day;
    }
    auto date = text::ParseUserDate(value);
    if (!date)
        throw KestError(err::kConversion, std::string("The ") + field + " \"" + value +
                                              "\" is not a date.  Type it as 9/18/2026 or "
                                              "2026-09-18.");
    if (date->year < kFirstYear || date->year > kLastYear)
        throw KestError(err::kInvalidCall,
                        std::string("The ") + field + " " + text::DateText(*date).substr(0, 10) +
                            " lies outside the years " + std::to_string(kFirstYear) + " to " +
                            std::to_string(kLastYear) + ".");
    return date;
}

void AddTag(std::vector<std::string>& tags, const std::string& typed) {
    std::string tag = CheckedText(typed, "tag", kMaxTag, true);
    if (tag.empty()) return;
    for (const std::string& have : tags)
        if (SameTag(have, tag)) return;
    if (static_cast<int>(tags.size()) >= kMaxTags)
        throw KestError(err::kInvalidCall,
                        "A disc can carry at most " + std::to_string(kMaxTags) + " tags.");
    tags.push_back(tag);
}

}  // namespace

bool SameTag(std::string_view a, std::string_view b) {
    return text::CompareText(Trimmed(a), Trimmed(b)) == 0;
}

bool DiscFactsChange::Empty() const {
    return !location && addTags.empty() && removeTags.empty() && !tags && !lentTo && !lentOn &&
           !dueBack && !returned && !notes;
}

DiscFacts ApplyChange(const DiscFacts& facts, const DiscFactsChange& change,
                      const text::DateTime& today) {
    DiscFacts next = facts;
    if (change.location)
        next.location = CheckedText(*change.location, "location", kMaxLocation, true);
    if (change.notes) next.notes = CheckedText(*change.notes, "note", kMaxNotes, false);
    if (change.tags) {
        next.tags.clear();
        for (const std::string& tag : *change.tags) AddTag(next.tags, tag);
    }
    for (const std::string& tag : change.addTags) AddTag(next.tags, tag);
    for (const std::string& tag : change.removeTags)
        std::erase_if(next.tags, [&](const std::string& have) { return SameTag(have, tag); });

    bool lending = change.lentTo || change.lentOn || change.dueBack;
    if (lending && change.returned)
        throw KestError(err::kInvalidCall, "A disc cannot be lent and returned at once.");
    if (change.returned) {
        next.lentTo.clear();
        next.lentOn.reset();
        next.dueBack.reset();
    } else if (lending) {
        std::string who =
            CheckedText(change.lentTo.value_or(next.lentTo), "borrower's name", kMaxLentTo, true);
        if (who.empty()) throw KestError(err::kInvalidCall, "Say to whom the disc is lent.");
        if (change.lentTo && *change.lentTo != next.lentTo && !change.lentOn)
            next.lentOn.reset();  // lent to someone new: from today unless told
        next.lentTo = who;
        if (change.lentOn || !next.lentOn)
            next.lentOn = CheckedDate(change.lentOn.value_or(""), "lent-on date", today, true);
        if (change.dueBack) next.dueBack = CheckedDate(*change.dueBack, "due date", today, false);
        if (next.dueBack && next.lentOn && *next.dueBack < *next.lentOn)
            throw KestError(err::kInvalidCall,
                            "The due date " + text::DateText(*next.dueBack).substr(0, 10) +
                                " comes before the lent-on date " +
                                text::DateText(*next.lentOn).substr(0, 10) + ".");
    }
    return next;
}

FactTexts TextsOf(const DiscFacts& facts) {
    return {facts.location,        JoinTags(facts.tags),   facts.lentTo,
            DayText(facts.lentOn), DayText(facts.dueBack), facts.notes};
}

DiscFactsChange ChangeFromTexts(const FactTexts& typed, const DiscFacts& before) {
    DiscFactsChange change;
    change.location = typed.location;
    change.tags = SplitTags(typed.tags);
    change.notes = typed.notes;
    if (!Trimmed(typed.lentTo).empty()) {
        change.lentTo = typed.lentTo;
        change.lentOn = typed.lentOn;
        change.dueBack = typed.dueBack;
    } else if (before.Lent()) {
        change.returned = true;
    }
    return change;
}

DiscFacts FactsOfDisc(engine::Database& db, int64_t kestId) {
    auto disc = db.Prepare("SELECT COUNT(*) FROM tblDiscs WHERE KestId = ?");
    disc.Bind(1, kestId);
    if (!disc.Step() || disc.Int(0) == 0)
        throw KestError(err::kItemNotFound,
                        "No disc with Kest ID " + std::to_string(kestId) + " in the catalog.");
    return LoadDiscFacts(db, kestId);
}

DiscFacts ChangeDiscFacts(engine::Database& db, int64_t kestId, const DiscFactsChange& change) {
    DiscFacts next = ApplyChange(FactsOfDisc(db, kestId), change, Now());
    SaveDiscFacts(db, next);
    return next;
}

}  // namespace kest::discfacts
