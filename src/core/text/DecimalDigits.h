#pragma once

#include <string>

namespace kest::text {

// A non-negative number as decimal digits: 0.<digits> x 10^point, so `point`
// digits stand before the decimal point. Doubles are read to 15 significant
// digits, the precision the classic Format and Str work with, so 2.675 rounds
// to 2.68 as the user expects.
struct DecimalDigits {
    std::string digits;  // no trailing zeros; empty for zero
    int point = 0;

    static DecimalDigits FromDouble(double value);  // of |value|
    bool IsZero() const { return digits.empty(); }
    // Rounds half away from zero to `decimals` places after the point.
    void Round(int decimals);
    // The digits before the point ("" for numbers below one).
    std::string IntegerPart() const;
    // Exactly `count` digits after the point.
    std::string FractionPart(int count) const;
};

// The general number text: up to 15 significant digits, no trailing zeros,
// scientific ("1E+15", "1.5E-05") below 1E-4 and from 1E15 on.
std::string GeneralNumberText(double value);

}  // namespace kest::text
