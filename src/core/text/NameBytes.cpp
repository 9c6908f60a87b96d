#include "core/text/NameBytes.h"

#include <utf8proc.h>

namespace kest::text {

namespace {

constexpr char32_t kEscapeBase = 0xF700;
// The escapes' UTF-8 form: EF 9E 80..EF 9E BF (bytes 80..BF), EF 9F 80..EF 9F
// BF (bytes C0..FF).
constexpr unsigned char kLead = 0xEF;

void AppendEscape(unsigned char byte, std::string& out) {
    const char32_t cp = kEscapeBase + byte;
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
}

bool IsEscape(char32_t cp) {
    return cp >= kEscapeBase + 0x80 && cp <= kEscapeBase + 0xFF;
}

// The byte an escape at the start of text stands for, when one stands there.
int EscapedByteAt(std::string_view text) {
    if (text.size() < 3 || static_cast<unsigned char>(text[0]) != kLead) return -1;
    const auto second = static_cast<unsigned char>(text[1]);
    const auto third = static_cast<unsigned char>(text[2]);
    if ((second != 0x9E && second != 0x9F) || (third & 0xC0) != 0x80) return -1;
    return ((second & 0x01) << 6 | (third & 0x3F)) + 0x80;
}

}  // namespace

bool EscapeNameBytes(std::string_view bytes, std::string& out) {
    out.clear();
    bool escaped = false;
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
        utf8proc_int32_t cp = 0;
        auto length =
            utf8proc_iterate(data + i, static_cast<utf8proc_ssize_t>(bytes.size() - i), &cp);
        if (length > 0 && !IsEscape(static_cast<char32_t>(cp))) {
            out.append(bytes.substr(i, static_cast<size_t>(length)));
            i += static_cast<size_t>(length);
            continue;
        }
        // An invalid byte, or a character that reads as an escape: each of
        // its bytes is escaped.
        const size_t count = length > 0 ? static_cast<size_t>(length) : 1;
        for (size_t k = 0; k < count; ++k) AppendEscape(data[i + k], out);
        i += count;
        escaped = true;
    }
    return escaped;
}

std::string NameBytes(std::string_view stored) {
    std::string bytes;
    bytes.reserve(stored.size());
    for (size_t i = 0; i < stored.size();) {
        if (int byte = EscapedByteAt(stored.substr(i)); byte >= 0) {
            bytes += static_cast<char>(byte);
            i += 3;
        } else {
            bytes += stored[i++];
        }
    }
    return bytes;
}

std::string ShownName(std::string_view stored) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(stored.size());
    for (size_t i = 0; i < stored.size();) {
        if (int byte = EscapedByteAt(stored.substr(i)); byte >= 0) {
            shown.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 0xF]);
            i += 3;
        } else {
            shown += stored[i++];
        }
    }
    return shown;
}

bool HasEscapedBytes(std::string_view stored) {
    for (size_t i = stored.find(static_cast<char>(kLead)); i != std::string_view::npos;
         i = stored.find(static_cast<char>(kLead), i + 1))
        if (EscapedByteAt(stored.substr(i)) >= 0) return true;
    return false;
}

}  // namespace kest::text
