#include "core/search/SqlText.h"

#include <charconv>

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

}  // namespace kest::search
