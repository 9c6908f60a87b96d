#include "core/text/TextOrder.h"

#include <utf8proc.h>

#include <algorithm>
#include <vector>

namespace kest::text {

namespace {

char AsciiFold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The code points a text compares by: case folded and decomposed, with the
// accents (combining marks) left out for the first comparison.
void Keys(std::string_view text, bool withMarks, std::vector<utf8proc_int32_t>& keys) {
    const int options =
        UTF8PROC_DECOMPOSE | UTF8PROC_CASEFOLD | (withMarks ? 0 : UTF8PROC_STRIPMARK);
    keys.clear();
    auto bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    utf8proc_ssize_t size = static_cast<utf8proc_ssize_t>(text.size());
    for (utf8proc_ssize_t i = 0; i < size;) {
        utf8proc_int32_t cp = 0;
        utf8proc_ssize_t length = utf8proc_iterate(bytes + i, size - i, &cp);
        if (length <= 0) {
            keys.push_back(0x110000 + bytes[i]);  // after every character
            ++i;
            continue;
        }
        i += length;
        utf8proc_int32_t out[16];
        int last = 0;
        utf8proc_ssize_t n =
            utf8proc_decompose_char(cp, out, 16, static_cast<utf8proc_option_t>(options), &last);
        if (n < 0 || n > 16) {
            keys.push_back(cp);
        } else {
            keys.insert(keys.end(), out, out + n);
        }
    }
}

int CompareKeys(const std::vector<utf8proc_int32_t>& a, const std::vector<utf8proc_int32_t>& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace

TextPrefix PrefixOf(std::string_view text, bool folded) {
    TextPrefix prefix{{0, 0},
                      kPrefixBytes,
                      static_cast<uint8_t>(std::min<size_t>(text.size(), kPrefixBytes + 1))};
    for (size_t i = 0; i < kPrefixBytes; ++i) {
        uint64_t byte = 0;
        if (i < text.size()) {
            char c = text[i];
            if (folded && (c & 0x80) && prefix.exact == kPrefixBytes)
                prefix.exact = static_cast<uint8_t>(i);
            byte = static_cast<unsigned char>(folded ? AsciiFold(c) : c);
        }
        uint64_t& word = prefix.key[i / 8];
        word = (word << 8) | byte;
    }
    return prefix;
}

int CompareText(std::string_view a, std::string_view b) {
    // Plain ASCII, by far the common case, needs no decomposition.
    size_t i = 0;
    size_t n = std::min(a.size(), b.size());
    for (; i < n; ++i) {
        char x = a[i], y = b[i];
        if ((x | y) & 0x80) break;
        x = AsciiFold(x);
        y = AsciiFold(y);
        if (x != y) return x < y ? -1 : 1;
    }
    if (i == n) return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    // What came before was equal ASCII: only the rest decides.
    thread_local std::vector<utf8proc_int32_t> keysA, keysB;
    for (bool withMarks : {false, true}) {
        Keys(a.substr(i), withMarks, keysA);
        Keys(b.substr(i), withMarks, keysB);
        if (int c = CompareKeys(keysA, keysB)) return c;
    }
    return 0;
}

}  // namespace kest::text
