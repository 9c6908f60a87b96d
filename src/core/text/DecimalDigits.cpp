#include "core/text/DecimalDigits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/text/VbFormat.h"

namespace kest::text {
namespace {

void TrimTrailingZeros(std::string& digits) {
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

}  // namespace

DecimalDigits DecimalDigits::FromDouble(double value) {
    DecimalDigits result;
    if (value == 0 || !std::isfinite(value)) return result;
    char buffer[64];
    // "d.ddddddddddddddde+XX", as printf's "%.14e" writes it but much faster.
    char* end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                              std::chars_format::scientific, 14)
                    .ptr;
    char* mark = std::find(buffer, end, 'e');
    result.digits.assign(1, buffer[0]);
    result.digits.append(buffer + 2, mark);
    int exponent = 0;
    std::from_chars(mark + 1 + (mark[1] == '+'), end, exponent);
    result.point = exponent + 1;
    TrimTrailingZeros(result.digits);
    return result;
}

void DecimalDigits::Round(int decimals) {
    int keep = point + decimals;
    if (keep >= static_cast<int>(digits.size())) return;
    if (keep < 0) {
        digits.clear();
        point = 0;
        return;
    }
    const auto kept = static_cast<size_t>(keep);
    bool up = digits[kept] >= '5';
    digits.resize(kept);
    if (up) {
        // The carry turns the nines before it into zeros.
        size_t i = kept;
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i > 0) {
            ++digits[i - 1];
        } else {
            digits.insert(digits.begin(), '1');
            ++point;
        }
    }
    TrimTrailingZeros(digits);
    if (digits.empty()) point = 0;
}

std::string DecimalDigits::IntegerPart() const {
    if (point <= 0 || digits.empty()) return "";
    const auto whole = static_cast<size_t>(point);
    std::string result = digits.substr(0, std::min(whole, digits.size()));
    result.append(whole - result.size(), '0');
    return result;
}

std::string DecimalDigits::FractionPart(int count) const {
    std::string result;
    for (int i = 0; i < count; ++i) {
        int index = point + i;
        result += index >= 0 && index < static_cast<int>(digits.size())
                      ? digits[static_cast<size_t>(index)]
                      : '0';
    }
    return result;
}

std::string GeneralNumberText(double value) {
    DecimalDigits number = DecimalDigits::FromDouble(value);
    if (number.IsZero()) return "0";
    const std::string& decimal = CurrentNumberLocale().decimal;
    std::string out = value < 0 ? "-" : "";
    int exponent = number.point - 1;
    if (exponent >= 15 || exponent < -4) {
        out += number.digits.substr(0, 1);
        if (number.digits.size() > 1) out += decimal + number.digits.substr(1);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+',
                      std::abs(exponent));
        return out + buffer;
    }
    std::string integer = number.IntegerPart();
    out += integer.empty() ? "0" : integer;
    int decimals = static_cast<int>(number.digits.size()) - number.point;
    if (decimals > 0) out += decimal + number.FractionPart(decimals);
    return out;
}

}  // namespace kest::text
