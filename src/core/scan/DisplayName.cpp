#include "core/scan/DisplayName.h"

#include <utf8proc.h>

namespace kest::scan {

bool ToValidUtf8(std::string_view bytes, std::string& out) {
    out.clear();
    bool replaced = false;
    const auto* data = reinterpret_cast<const utf8proc_uint8_t*>(bytes.data());
    size_t i = 0;
    while (i < bytes.size()) {
        if (data[i] < 0x80) {
            // Runs of ASCII, most names, are copied whole.
            size_t end = i + 1;
            while (end < bytes.size() && data[end] < 0x80) ++end;
            out.append(bytes.substr(i, end - i));
            i = end;
            continue;
        }
        utf8proc_int32_t codepoint = 0;
        auto length =
            utf8proc_iterate(data + i, static_cast<utf8proc_ssize_t>(bytes.size() - i), &codepoint);
        if (length > 0) {
            out.append(bytes.substr(i, static_cast<size_t>(length)));
            i += static_cast<size_t>(length);
        } else {
            out.append("\xEF\xBF\xBD");
            replaced = true;
            ++i;
        }
    }
    return replaced;
}

std::string TrimSpaces(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace kest::scan
