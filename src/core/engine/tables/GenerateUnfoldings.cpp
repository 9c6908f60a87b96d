// Writes the trigram query's spellings table to the file its argument names:
// "{folded, source}," for every code point that lower-case folding changes,
// in order. It runs at build time with the utf8proc the program links, so
// the table is the one the program would find by folding every code point at
// run time (6% of a rare search's processor time); a test checks the two.
#include <utf8proc.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    std::vector<std::pair<utf8proc_int32_t, utf8proc_int32_t>> table;
    for (utf8proc_int32_t c = 0; c <= 0x10FFFF; ++c) {
        utf8proc_int32_t folded = utf8proc_tolower(c);
        if (folded != c) table.emplace_back(folded, c);
    }
    std::sort(table.begin(), table.end());
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    for (const auto& [folded, source] : table)
        std::fprintf(out, "{0x%X, 0x%X},\n", static_cast<unsigned>(folded),
                     static_cast<unsigned>(source));
    return std::fclose(out) == 0 ? 0 : 1;
}
