// Literal runs are cut into trigrams; each trigram becomes the OR of its
// spellings (every code point that folds to each of its characters), the
// trigrams are ANDed. The index keeps no positions, so the query is a
// superset even for the runs it checks; the LIKE decides.
#include "core/engine/TrigramQuery.h"

#include <utf8proc.h>

#include <algorithm>
#include <vector>

#include "core/engine/JetLike.h"

namespace kest::engine {

namespace {

// Spellings beyond this many make a trigram too costly to look up; it is left
// out (any subset of the trigrams still gives a superset).
constexpr size_t kMaxSpellings = 27;
// Each trigram costs the index a lookup in every segment and a walk of its
// row list; three that do not overlap already name a rare text.
constexpr size_t kMaxTrigrams = 3;
// The trigrams weighed to pick those three: enough choice for any real name,
// and a bound on the work a pattern of thousands of characters can cause.
constexpr size_t kTrigramsWeighed = 64;
// Every code point that folds to folded, the folded character last.
std::vector<char32_t> Spellings(char32_t folded) {
    const auto table = Unfoldings();
    auto first = std::lower_bound(table.begin(), table.end(), folded,
                                  [](const Unfolding& u, char32_t c) { return u.folded < c; });
    std::vector<char32_t> spellings;
    for (auto it = first; it != table.end() && it->folded == folded; ++it)
        spellings.push_back(it->source);
    if (FoldCodePoint(folded) == folded) spellings.push_back(folded);
    return spellings;
}

// The literal runs of a pattern, folded, split the way JetLikePattern reads
// it. U+FFFD (an undecodable byte) ends a run: stored texts keep such bytes
// as they are.
std::vector<std::vector<char32_t>> LiteralRuns(std::string_view pattern) {
    std::vector<char32_t> cps;
    DecodeFolded(pattern, cps);
    std::vector<std::vector<char32_t>> runs(1);
    auto cut = [&] {
        if (!runs.back().empty()) runs.emplace_back();
    };
    for (size_t i = 0; i < cps.size(); ++i) {
        char32_t c = cps[i];
        if (c == '*' || c == '?' || c == '#' || c == 0 || c == 0xFFFD) {
            cut();
        } else if (c == '[' &&
                   std::find(cps.begin() + static_cast<long>(i) + 1, cps.end(), ']') != cps.end()) {
            cut();
            i = static_cast<size_t>(
                std::find(cps.begin() + static_cast<long>(i) + 1, cps.end(), ']') - cps.begin());
        } else {
            runs.back().push_back(c);
        }
    }
    return runs;
}

void AppendUtf8(std::string& out, char32_t c) {
    utf8proc_uint8_t bytes[4];
    auto n = utf8proc_encode_char(static_cast<utf8proc_int32_t>(c), bytes);
    out.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(n));
}

// "abc" OR "Abc" ..., each spelling an FTS5 string (quotes doubled).
std::string SpellingsQuery(const std::vector<std::vector<char32_t>>& choices) {
    std::vector<size_t> at(choices.size(), 0);
    std::string query;
    size_t count = 0;
    while (true) {
        query += count++ ? " OR \"" : "\"";
        for (size_t k = 0; k < choices.size(); ++k) {
            if (choices[k][at[k]] == '"') query += '"';
            AppendUtf8(query, choices[k][at[k]]);
        }
        query += '"';
        size_t k = choices.size();
        while (k > 0 && ++at[k - 1] == choices[k - 1].size()) at[--k] = 0;
        if (k == 0) break;
    }
    return count > 1 ? "(" + query + ")" : query;
}

}  // namespace

std::span<const Unfolding> Unfoldings() {
    // Generated at build time from utf8proc (tables/GenerateUnfoldings.cpp).
    static constexpr Unfolding kTable[] = {
#include "Unfoldings.inc"
    };
    return kTable;
}

std::string TrigramQuery(std::string_view pattern) {
    struct Trigram {
        std::vector<char32_t> folded;
        size_t spellings;
        std::string query;
        size_t at;  // where it starts, counted over all runs
    };
    std::vector<Trigram> trigrams;
    size_t runStart = 0;
    for (const auto& run : LiteralRuns(pattern)) {
        const size_t start = runStart;
        runStart += run.size() + 3;  // runs never share a trigram's characters
        for (size_t i = 0; i + 3 <= run.size() && trigrams.size() < kTrigramsWeighed; ++i) {
            std::vector<char32_t> folded(run.begin() + static_cast<long>(i),
                                         run.begin() + static_cast<long>(i) + 3);
            bool seen = std::any_of(trigrams.begin(), trigrams.end(),
                                    [&](const Trigram& t) { return t.folded == folded; });
            if (seen) continue;
            std::vector<std::vector<char32_t>> choices;
            size_t spellings = 1;
            for (char32_t c : folded) {
                choices.push_back(Spellings(c));
                spellings *= choices.back().size();
            }
            if (spellings == 0 || spellings > kMaxSpellings) continue;
            trigrams.push_back({folded, spellings, SpellingsQuery(choices), start + i});
        }
    }
    // The trigrams with fewest spellings cost least to look up; among those,
    // one that shares no character with one taken tells most.
    std::vector<const Trigram*> taken;
    auto overlaps = [&](const Trigram& t) {
        return std::any_of(taken.begin(), taken.end(), [&](const Trigram* other) {
            return t.at < other->at + 3 && other->at < t.at + 3;
        });
    };
    while (taken.size() < std::min(kMaxTrigrams, trigrams.size())) {
        const Trigram* best = nullptr;
        for (const auto& t : trigrams) {
            if (std::find(taken.begin(), taken.end(), &t) != taken.end()) continue;
            if (!best || t.spellings < best->spellings ||
                (t.spellings == best->spellings && overlaps(*best) && !overlaps(t)))
                best = &t;
        }
        taken.push_back(best);
    }
    std::string query;
    for (const Trigram* t : taken) query += (query.empty() ? "" : " AND ") + t->query;
    return query;
}

}  // namespace kest::engine
