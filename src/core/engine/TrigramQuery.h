#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kest::engine {

// The FTS5 query, for a trigram index of the texts as stored (case kept),
// whose rows include every text the Jet LIKE pattern matches: each literal
// run of three or more characters must occur, in any spelling that folds to
// it. Empty when the pattern holds no such run (the LIKE then reads every row).
std::string TrigramQuery(std::string_view pattern);

// Blocks of code points (first to last, in order) that no folding changes or
// gives, which the spellings of a trigram need not look through.
struct CodePointBlock {
    char32_t first;
    char32_t last;
};
const std::vector<CodePointBlock>& CaselessBlocks();

}  // namespace kest::engine
