#include "support/archive/TarBomb.h"

#include <cstdio>
#include <cstring>
#include <fstream>

namespace kest::test {

namespace {

constexpr size_t kBlock = 512;

void Octal(char* field, size_t width, uint64_t value) {
    std::snprintf(field, width, "%0*llo", static_cast<int>(width - 1),
                  static_cast<unsigned long long>(value));
}

}  // namespace

bool WriteTarBomb(const std::string& path, int64_t count) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    char header[kBlock];
    for (int64_t i = 0; i < count; ++i) {
        std::memset(header, 0, sizeof header);
        std::snprintf(header, 100, "f/%07lld", static_cast<long long>(i));
        Octal(header + 100, 8, 0644);         // mode
        Octal(header + 108, 8, 0);            // uid
        Octal(header + 116, 8, 0);            // gid
        Octal(header + 124, 12, 0);           // size
        Octal(header + 136, 12, 1700000000);  // mtime
        header[156] = '0';                    // a regular file
        std::memcpy(header + 257,
                    "ustar\0"
                    "00",
                    8);                     // magic and version
        std::memset(header + 148, ' ', 8);  // the checksum counts as blanks
        unsigned sum = 0;
        for (char byte : header) sum += static_cast<unsigned char>(byte);
        std::snprintf(header + 148, 8, "%06o", sum);
        out.write(header, sizeof header);
    }
    std::memset(header, 0, sizeof header);
    out.write(header, sizeof header);
    out.write(header, sizeof header);
    return static_cast<bool>(out.flush());
}

}  // namespace kest::test
