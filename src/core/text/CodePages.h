#pragma once

#include <string>
#include <string_view>

namespace kest::text {

// The 8-bit code pages whose names archives may hold.
enum class CodePage { Cp437, Windows1252 };

// Whether the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// An archive's stored name or comment as UTF-8: kept as it is when it is
// valid UTF-8 (what Linux tools write, and what a UTF-8 flag promises), else
// read byte by byte in the archive's old code page.
std::string DecodeStoredText(std::string_view bytes, CodePage fallback);

}  // namespace kest::text
