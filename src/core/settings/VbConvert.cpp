#include "core/settings/VbConvert.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/common/Errors.h"

namespace kest::vb {

namespace {

[[noreturn]] void Overflow() {
    throw err::Overflow();
}
[[noreturn]] void TypeMismatch() {
    throw err::TypeMismatch();
}

bool IsValBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigitIn(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0' < base;
    char lower = static_cast<char>(c | 0x20);
    return base == 16 && lower >= 'a' && lower <= 'f';
}

int DigitValue(char c) {
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// A numeric text read from `pos`: where it ended and its value.
struct Scanned {
    size_t end = 0;
    double value = 0;
    bool found = false;
};

// "&H" or "&O" digits at text[pos] == '&'. Without the "&" suffix a value that
// fits in 16 bits is a 16-bit integer, as Basic types such literals.
Scanned ScanRadix(std::string_view text, size_t pos) {
    size_t i = pos + 1;
    int base = 8;
    if (i < text.size() && (text[i] | 0x20) == 'h') {
        base = 16;
        ++i;
    } else if (i < text.size() && (text[i] | 0x20) == 'o') {
        ++i;
    }
    uint64_t value = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        if (IsValBlank(text[i])) continue;
        if (!IsDigitIn(text[i], base)) break;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(DigitValue(text[i]));
        if (value > 0xFFFFFFFFu) Overflow();
        any = true;
    }
    bool longSuffix = i < text.size() && text[i] == '&';
    if (longSuffix) ++i;
    if (!any) return {i, 0, false};
    if (!longSuffix && value <= 0xFFFF)
        return {i, static_cast<double>(static_cast<int16_t>(value)), true};
    return {i, static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value))), true};
}

// Sign, digits, decimal point and exponent from `pos`, blanks skipped.
Scanned ScanDecimal(std::string_view text, size_t pos) {
    std::string clean;
    size_t i = pos;
    auto skipBlanks = [&] {
        while (i < text.size() && IsValBlank(text[i])) ++i;
    };
    auto takeDigits = [&] {
        bool any = false;
        for (skipBlanks(); i < text.size() && IsDigitIn(text[i], 10); skipBlanks()) {
            clean += text[i++];
            any = true;
        }
        return any;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) clean += text[i++];
    bool mantissa = takeDigits();
    if (i < text.size() && text[i] == '.') {
        clean += text[i++];
        mantissa = takeDigits() || mantissa;
    }
    if (!mantissa) return {pos, 0, false};
    size_t beforeExponent = i;
    std::string withoutExponent = clean;
    if (i < text.size() && ((text[i] | 0x20) == 'e' || (text[i] | 0x20) == 'd')) {
        clean += 'e';
        ++i;
        skipBlanks();
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) clean += text[i++];
        if (!takeDigits()) {
            clean = withoutExponent;
            i = beforeExponent;
        }
    }
    double value = std::strtod(clean.c_str(), nullptr);
    if (std::isinf(value)) Overflow();
    return {i, value, true};
}

Scanned ScanNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsValBlank(text[i])) ++i;
    if (i < text.size() && text[i] == '&') return ScanRadix(text, i);
    return ScanDecimal(text, i);
}

std::string_view TrimBlanks(std::string_view text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
    }
    return true;
}

template <typename Int>
Int RoundInto(double value) {
    double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<Int>::min() &&
          rounded <= std::numeric_limits<Int>::max())) {
        Overflow();
    }
    return static_cast<Int>(rounded);
}

}  // namespace

double Val(std::string_view text) {
    return ScanNumber(text).value;
}

bool CBool(std::string_view text) {
    std::string_view trimmed = TrimBlanks(text);
    if (EqualsNoCase(trimmed, "true")) return true;
    if (EqualsNoCase(trimmed, "false")) return false;
    if (trimmed.empty()) TypeMismatch();
    Scanned number = ScanNumber(trimmed);
    if (!number.found || number.end != trimmed.size()) TypeMismatch();
    return number.value != 0;
}

int16_t CInt(double value) {
    return RoundInto<int16_t>(value);
}
int32_t CLng(double value) {
    return RoundInto<int32_t>(value);
}

std::string BoolText(bool value) {
    return value ? "True" : "False";
}

std::string NumberText(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

std::string Trim(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace kest::vb
