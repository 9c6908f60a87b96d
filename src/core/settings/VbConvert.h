#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kest::vb {

// The number at the start of `text`, as Basic's Val reads it: blanks, tabs and
// line feeds are skipped anywhere, then an optional sign, digits, a decimal
// point and an exponent (E or D), or "&H" hexadecimal / "&O" octal digits with
// an optional "&" type suffix ("&H000000C0&" is 192; "&HFFFF" is the 16-bit
// -1). Text with no numeric start is 0. A number beyond a double, or hex beyond
// 32 bits, raises the overflow error.
double Val(std::string_view text);

// Basic's conversion of a text to a boolean: "True" or "False" in any letter
// case, or a number (0 false, anything else true), blanks around allowed.
// Anything else raises the type-mismatch error.
bool CBool(std::string_view text);

// Rounding to the nearest integer, halves to the even neighbour, into a 16-bit
// or 32-bit integer; out of range raises the overflow error.
int16_t CInt(double value);
int32_t CLng(double value);

// How booleans and numbers are stored: "True"/"False"; a number as decimal
// text without a leading blank ("192", "8.25").
std::string BoolText(bool value);
std::string NumberText(double value);

// Basic's Trim: the text without leading and trailing spaces.
std::string Trim(std::string_view text);

}  // namespace kest::vb
