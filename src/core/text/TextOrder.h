#pragma once

#include <bit>
#include <cstdint>
#include <string_view>

namespace kest::text {

// The catalog's general sort order for text: letters compare without regard
// to case, and an accented letter sorts beside its base letter, the accent
// deciding only between texts that are otherwise equal ("ea, éa, Eb, o, Ö,
// zz"). Texts differing only in case are equal. Bytes that are not UTF-8
// sort after every character. Negative, zero or positive like strcmp.
int CompareText(std::string_view a, std::string_view b);

// The first eight bytes of a text as one number, for sorting many texts
// without reading them again: where two prefixes first differ in a byte
// below both `exact` counts, that byte orders the texts as CompareText
// (folded, true) or as plain bytes (false) would. Past the text's end the
// bytes are 0; with folding, `exact` stops at the first byte above ASCII.
// `length` is the text's length, up to 9 (longer than the prefix).
struct TextPrefix {
    uint64_t key = 0;
    uint8_t exact = 0;
    uint8_t length = 0;
};
TextPrefix PrefixOf(std::string_view text, bool folded);
// Whether two prefixes decide the order of their texts, and then whether the
// first text sorts before the second.
inline bool PrefixDecides(TextPrefix a, TextPrefix b, bool& less) {
    constexpr int kBytes = 8;
    if (a.key == b.key) {
        // Texts held whole by equal prefixes differ at most in their lengths
        // (a text ending in NUL bytes).
        if (a.length > kBytes || b.length > kBytes || a.exact < kBytes || b.exact < kBytes)
            return false;
        less = a.length < b.length;
        return true;
    }
    int byte = std::countl_zero(a.key ^ b.key) / 8;
    if (byte >= a.exact || byte >= b.exact) return false;
    less = a.key < b.key;
    return true;
}

}  // namespace kest::text
