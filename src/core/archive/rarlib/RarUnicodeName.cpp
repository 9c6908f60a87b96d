#include <vector>

#include "core/archive/rarlib/RarListing.h"

namespace kest::archive::rarlib {

namespace {

void AppendCodePoint(uint32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Utf16ToUtf8(const std::vector<uint16_t>& units) {
    constexpr uint32_t kReplacement = 0xFFFD;
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t unit = units[i];
        if (unit == 0) break;
        bool high = unit >= 0xD800 && unit < 0xDC00;
        bool low = unit >= 0xDC00 && unit < 0xE000;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            AppendCodePoint(0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00), out);
            ++i;
        } else {
            AppendCodePoint(high || low ? kReplacement : unit, out);
        }
    }
    return out;
}

}  // namespace

// The encoding: a high byte shared by the name, then groups of a flag byte
// whose 2-bit codes (most significant first) say how the next characters are
// built: 0 one byte with a zero high byte, 1 one byte with the shared high
// byte, 2 a full 16-bit character, 3 a run copied from the OEM name (with an
// optional correction added to the low byte).
std::string DecodeRarUnicodeName(std::span<const uint8_t> oemName,
                                 std::span<const uint8_t> encoded) {
    // A name never has more characters than its OEM form has bytes, plus the
    // longest single run.
    const size_t maxLength = oemName.size() + 130;
    std::vector<uint16_t> units;
    size_t pos = 0;
    auto next = [&](uint8_t& byte) {
        if (pos >= encoded.size()) return false;
        byte = encoded[pos++];
        return true;
    };
    uint8_t highByte = 0;
    if (!next(highByte)) return {};
    uint8_t flags = 0;
    int flagBits = 0;
    while (pos < encoded.size() && units.size() < maxLength) {
        if (flagBits == 0) {
            if (!next(flags)) break;
            flagBits = 8;
        }
        uint8_t a = 0;
        uint8_t b = 0;
        switch (flags >> 6) {
            case 0:
                if (!next(a)) return Utf16ToUtf8(units);
                units.push_back(a);
                break;
            case 1:
                if (!next(a)) return Utf16ToUtf8(units);
                units.push_back(static_cast<uint16_t>(a | (highByte << 8)));
                break;
            case 2:
                if (!next(a) || !next(b)) return Utf16ToUtf8(units);
                units.push_back(static_cast<uint16_t>(a | (b << 8)));
                break;
            default: {
                if (!next(a)) return Utf16ToUtf8(units);
                bool corrected = (a & 0x80) != 0;
                uint8_t correction = 0;
                if (corrected && !next(correction)) return Utf16ToUtf8(units);
                for (int length = (a & 0x7F) + 2; length > 0 && units.size() < maxLength;
                     --length) {
                    size_t at = units.size();
                    uint8_t oem = at < oemName.size() ? oemName[at] : 0;
                    units.push_back(
                        corrected ? static_cast<uint16_t>(static_cast<uint8_t>(oem + correction) |
                                                          (highByte << 8))
                                  : oem);
                }
                break;
            }
        }
        flags = static_cast<uint8_t>(flags << 2);
        flagBits -= 2;
    }
    return Utf16ToUtf8(units);
}

}  // namespace kest::archive::rarlib
