#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The texts a subfile row shows for the raw values of the archive formats.
namespace kest::archive {

std::string ZipMethodText(int32_t method, int32_t flags);
std::string RarMethodText(int32_t method, int32_t flags);
std::string AceMethodText(int32_t method);
std::string CabMethodText(int32_t method);
// The method of a libarchive type: the compression around a TAR or ISO
// ("Stored", "Gzip", "Xz", ...); "" for 7z.
std::string PackedMethodText(std::string_view archiveType, int32_t method);
// The method text of the archive type ("" for an unknown type).
std::string MethodText(std::string_view archiveType, int32_t method, int32_t flags);

// One letter of "rhsvdalnt?lco?e" per set bit 0-14, upper case: 0x21 gives "RA".
std::string AttrText(int32_t attributes);
// Upper-case hexadecimal without leading zeros.
std::string CrcText(uint32_t crc);
// (1 - packed / size) x 100 as a single, 0 for an empty or grown entry.
float Ratio(int64_t fileSize, int64_t packedSize);
// The ratio as the pattern "00.0" shows it (5 gives "05.0") and the value that
// text stands for.
std::string RatioText(float ratio);
double RatioValue(float ratio);
// Whether the flags mark the entry as encrypted in this archive type.
bool IsEncrypted(std::string_view archiveType, int32_t flags);

}  // namespace kest::archive
