#include <charconv>

#include "core/text/DateParse.h"

namespace kest::text {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

bool Consume(std::string_view& text, std::string_view prefix) {
    if (prefix.empty() || !text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

}  // namespace

std::optional<double> ParseNumberText(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    const NumberLocale& locale = CurrentNumberLocale();
    // Rebuilt in the "C" form std::from_chars reads.
    std::string plain;
    if (Consume(text, "-")) {
        plain += '-';
    } else {
        Consume(text, "+");
    }
    bool digits = false;
    while (!text.empty()) {
        if (IsDigitChar(text.front())) {
            plain += text.front();
            text.remove_prefix(1);
            digits = true;
        } else if (!(digits && Consume(text, locale.thousands))) {
            break;
        }
    }
    if (Consume(text, locale.decimal)) {
        plain += '.';
        while (!text.empty() && IsDigitChar(text.front())) {
            plain += text.front();
            text.remove_prefix(1);
            digits = true;
        }
    }
    if (!digits) return std::nullopt;
    if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
        plain += 'e';
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
            plain += text.front();
            text.remove_prefix(1);
        }
        if (text.empty() || !IsDigitChar(text.front())) return std::nullopt;
        while (!text.empty() && IsDigitChar(text.front())) {
            plain += text.front();
            text.remove_prefix(1);
        }
    }
    if (!text.empty()) return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
    return value;
}

bool IsNumericText(std::string_view text) {
    return ParseNumberText(text).has_value();
}

}  // namespace kest::text
