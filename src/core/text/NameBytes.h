#pragma once

#include <string>
#include <string_view>

namespace kest::text {

// Names on Linux are bytes; the catalog stores UTF-8. A name that is not
// valid UTF-8 is stored with each byte that is not part of a valid sequence
// written as the private-use code point U+F700 + byte (U+F780..U+F7FF), so
// that the exact bytes come back (`NameBytes`), distinct names stay distinct,
// and the rest of the name is searched as usual. A valid name that itself
// holds one of those code points has that character's bytes escaped the same
// way, so every stored text turns back into one byte string only.

// The stored form of a name's bytes; gives whether anything was escaped.
bool EscapeNameBytes(std::string_view bytes, std::string& out);

// The bytes a stored name stands for (the inverse of EscapeNameBytes).
std::string NameBytes(std::string_view stored);

// The stored name for showing: each escaped byte as "\xHH" (upper-case hex),
// the rest as it is.
std::string ShownName(std::string_view stored);

// Whether a stored text holds an escaped byte.
bool HasEscapedBytes(std::string_view stored);

}  // namespace kest::text
