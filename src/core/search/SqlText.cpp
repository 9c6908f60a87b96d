#include "core/search/SqlText.h"

#include <charconv>

#include "core/common/Errors.h"

namespace kest::search {

std::string SqlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 4);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\'') {
            out += text[i];
            continue;
        }
        out += "''";
        if (i + 1 < text.size() && text[i + 1] == '\'') ++i;
    }
    return out;
}

std::string SqlQuote(std::string_view text) {
    std::string out = "'";
    out += text;
    out += '\'';
    return out;
}

std::string SqlNumber(double value) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

std::string SqlWholeNumber(std::string_view text) {
    std::string_view digits = text.starts_with('-') ? text.substr(1) : text;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        throw err::TooFewParameters("Too few parameters. Expected 1.");
    return std::string(text);
}

}  // namespace kest::search
