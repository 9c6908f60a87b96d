#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kest::engine {

// The FTS5 query, for a trigram index of the texts as stored (case kept),
// whose rows include every text the Jet LIKE pattern matches: each literal
// run of three or more characters must occur, in any spelling that folds to
// it. Empty when the pattern holds no such run (the LIKE then reads every row).
std::string TrigramQuery(std::string_view pattern);

// (folded, source) for every code point that folding changes, in order.
struct Unfolding {
    char32_t folded;
    char32_t source;
};
std::span<const Unfolding> Unfoldings();

}  // namespace kest::engine
