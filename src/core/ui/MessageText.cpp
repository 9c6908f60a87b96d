#include "core/ui/MessageText.h"

namespace kest {

std::vector<std::string> MessageLines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

std::string WithLineFeeds(std::string_view text) {
    std::vector<std::string> lines = MessageLines(text);
    std::string joined = lines.front();
    for (size_t i = 1; i < lines.size(); ++i) joined.append("\n").append(lines[i]);
    return joined;
}

}  // namespace kest
