#include "core/archive/SubFileTexts.h"

#include "core/archive/ArchiveKinds.h"

#include <strings.h>
#include <cmath>
#include <cstdio>

namespace kest::archive {

namespace {

bool SameType(std::string_view archiveType, const char* type) {
    return archiveType.size() == 3 && strncasecmp(archiveType.data(), type, 3) == 0;
}

}  // namespace

std::string ZipMethodText(int32_t method, int32_t flags) {
    static constexpr const char* kImploded[] = {"4KDict:2Tree", "8KDict:2Tree", "4KDict:3Tree",
                                                "8KDict:3Tree"};
    static constexpr const char* kDeflated[] = {"N", "X", "F", "S"};
    const int sub = (flags / 2) & 3;
    switch (method) {
        case 0:
            return "Stored";
        case 1:
            return "Shrunk";
        case 2:
        case 3:
        case 4:
        case 5:
            return "Reduced:" + std::to_string(method - 1);
        case 6:
            return std::string("Imploded:") + kImploded[sub];
        case 7:
            return "Tokenized";
        case 8:
            return std::string("Deflated:") + kDeflated[sub];
        case 9:
            return "EnhDef";
        case 10:
            return "ImplDCL";
        default:
            return "Unknown";
    }
}

std::string RarMethodText(int32_t method, int32_t flags) {
    const int dictionaryKb = 1 << (((flags / 32) & 7) + 6);
    switch (method) {
        case 48:
            return "Stored";
        case 51:
            return "Deflated:" + std::to_string(dictionaryKb) + "Kb";
        default:
            return "Unknown";
    }
}

std::string AceMethodText(int32_t method) {
    switch (method) {
        case 0:
            return "Stored";
        case 1:
            return "Deflated:1024Kb";
        default:
            return "Unknown";
    }
}

std::string CabMethodText(int32_t method) {
    // The low four bits name the compressor; the higher ones hold its window.
    switch (method & 0x0F) {
        case 0:
            return "None";
        case 1:
            return "MsZip";
        case 2:
            return "Quantum";
        case 3:
            return "Lzx";
        default:
            return "";
    }
}

std::string PackedMethodText(std::string_view archiveType, int32_t method) {
    // 7z keeps its coders per folder, which libarchive does not tell.
    if (archiveType == "7z") return "";
    // libarchive's filter codes.
    switch (method) {
        case 0:
            return "Stored";
        case 1:
            return "Gzip";
        case 2:
            return "Bzip2";
        case 5:
            return "Lzma";
        case 6:
            return "Xz";
        case 9:
            return "Lzip";
        case 14:
            return "Zstd";
        default:
            return "Unknown";
    }
}

std::string MethodText(std::string_view archiveType, int32_t method, int32_t flags) {
    if (SameType(archiveType, "zip")) return ZipMethodText(method, flags);
    if (SameType(archiveType, "rar")) return RarMethodText(method, flags);
    if (SameType(archiveType, "ace")) return AceMethodText(method);
    if (SameType(archiveType, "cab")) return CabMethodText(method);
    if (IsLibArchiveType(archiveType)) return PackedMethodText(archiveType, method);
    return "";
}

std::string AttrText(int32_t attributes) {
    static constexpr char kLetters[] = "RHSVDALNT?LCO?E";
    std::string text;
    for (int bit = 0; bit < 15; ++bit) {
        if (attributes & (1 << bit)) text += kLetters[bit];
    }
    return text;
}

std::string CrcText(uint32_t crc) {
    char text[9];
    std::snprintf(text, sizeof text, "%X", crc);
    return text;
}

float Ratio(int64_t fileSize, int64_t packedSize) {
    if (fileSize == 0) return 0;
    float ratio = static_cast<float>(
        (1.0 - static_cast<double>(packedSize) / static_cast<double>(fileSize)) * 100.0);
    return ratio < 0 ? 0 : ratio;
}

double RatioValue(float ratio) {
    // The pattern rounds halves away from zero, on the value as stored.
    return std::floor(static_cast<double>(ratio) * 10.0 + 0.5) / 10.0;
}

std::string RatioText(float ratio) {
    char text[32];
    std::snprintf(text, sizeof text, "%04.1f", RatioValue(ratio));
    return text;
}

bool IsEncrypted(std::string_view archiveType, int32_t flags) {
    if (SameType(archiveType, "zip") || IsLibArchiveType(archiveType)) return (flags & 0x1) != 0;
    if (SameType(archiveType, "rar") || SameType(archiveType, "ace")) return (flags & 0x4) != 0;
    return false;
}

}  // namespace kest::archive
