#include "core/engine/SqlQuote.h"

namespace kest {

std::string SqlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 4);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'') {
            out += "''";
            if (i + 1 < text.size() && text[i + 1] == '\'') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string SqlQuote(const std::string& text) {
    return "'" + text + "'";
}

}  // namespace kest
