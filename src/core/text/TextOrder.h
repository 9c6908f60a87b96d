#pragma once

#include <array>
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

// The first sixteen bytes of a text as two numbers, for sorting many texts
// without reading them again: where two prefixes first differ in a byte
// below both `exact` counts, that byte orders the texts as CompareText
// (folded, true) or as plain bytes (false) would. Past the text's end the
// bytes are 0; with folding, `exact` stops at the first byte above ASCII.
// `length` is the text's length, up to one more than the prefix holds.
inline constexpr uint8_t kPrefixBytes = 16;
struct TextPrefix {
    std::array<uint64_t, 2> key{};
    uint8_t exact = 0;
    uint8_t length = 0;
};
TextPrefix PrefixOf(std::string_view text, bool folded);
// Whether two prefixes decide the order of their texts, and then the order:
// negative, zero or positive like CompareText.
inline bool ComparePrefixes(const TextPrefix& a, const TextPrefix& b, int& order) {
    for (size_t word = 0; word < a.key.size(); ++word) {
        if (a.key[word] == b.key[word]) continue;
        int byte = static_cast<int>(word) * 8 + std::countl_zero(a.key[word] ^ b.key[word]) / 8;
        if (byte >= a.exact || byte >= b.exact) return false;
        order = a.key[word] < b.key[word] ? -1 : 1;
        return true;
    }
    // Texts held whole by equal prefixes differ at most in their lengths (a
    // text ending in NUL bytes).
    if (a.length > kPrefixBytes || b.length > kPrefixBytes || a.exact < kPrefixBytes ||
        b.exact < kPrefixBytes)
        return false;
    order = (a.length > b.length) - (a.length < b.length);
    return true;
}

}  // namespace kest::text
