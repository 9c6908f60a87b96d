#include "core/text/UnicodeCase.h"

#include <utf8proc.h>

namespace kest::text {

std::string UpperCase(std::string_view text) {
    std::string upper;
    upper.reserve(text.size());
    auto bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    utf8proc_ssize_t at = 0, size = static_cast<utf8proc_ssize_t>(text.size());
    while (at < size) {
        utf8proc_int32_t code = 0;
        utf8proc_ssize_t length = utf8proc_iterate(bytes + at, size - at, &code);
        if (length <= 0) {
            upper += text[static_cast<size_t>(at++)];
            continue;
        }
        utf8proc_uint8_t encoded[4];
        utf8proc_ssize_t written = utf8proc_encode_char(utf8proc_toupper(code), encoded);
        upper.append(reinterpret_cast<const char*>(encoded), static_cast<size_t>(written));
        at += length;
    }
    return upper;
}

}  // namespace kest::text
