#include "core/catalog/FormatFileSize.h"

#include <filesystem>

#include "core/common/FileSystemError.h"
#include "core/text/VbFormat.h"

namespace kest {

std::string SizeText(uint64_t bytes) {
    constexpr double kKilo = 1024.0, kMega = 1048576.0, kGiga = 1073741824.0;
    double n = static_cast<double>(bytes);
    if (n < kKilo) return text::FormatNumber(n, "") + " bytes";
    if (n < kMega) return text::FormatNumber(n / kKilo, "0.00") + " KB";
    if (n < kGiga) return text::FormatNumber(n / kMega, "0.00") + " MB";
    return text::FormatNumber(n / kGiga, "0.00") + " GB";
}

std::string FormatFileSize(const std::string& path) {
    std::error_code ec;
    uint64_t bytes = std::filesystem::file_size(path, ec);
    if (ec) throw FileSystemError(ec.value());
    return SizeText(bytes);
}

}  // namespace kest
