#pragma once

#include <string_view>

namespace kest::text {

// The catalog's general sort order for text: letters compare without regard
// to case, and an accented letter sorts beside its base letter, the accent
// deciding only between texts that are otherwise equal ("ea, éa, Eb, o, Ö,
// zz"). Texts differing only in case are equal. Bytes that are not UTF-8
// sort after every character. Negative, zero or positive like strcmp.
int CompareText(std::string_view a, std::string_view b);

}  // namespace kest::text
