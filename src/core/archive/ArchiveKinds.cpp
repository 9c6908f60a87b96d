#include "core/archive/ArchiveKinds.h"

#include <array>
#include <utility>

#include "core/archive/ArchiveHelpers.h"

namespace kest::archive {

namespace {

// The compression a TAR may be wrapped in: its one-word extensions and the
// extension after ".tar".
struct TarWrapping {
    std::string_view type;
    std::array<std::string_view, 3> extensions;  // "" fills the unused places
    std::string_view afterTar;
};
constexpr std::array<TarWrapping, 4> kWrappings = {{
    {"tgz", {"tgz", "taz", ""}, "gz"},
    {"tbz", {"tbz2", "tbz", "tb2"}, "bz2"},
    {"txz", {"txz", "", ""}, "xz"},
    {"tzst", {"tzst", "", ""}, "zst"},
}};

}  // namespace

std::string ArchiveTypeOf(std::string_view fileName) {
    std::string extension = GetExtension(fileName);
    for (const TarWrapping& wrapping : kWrappings) {
        for (std::string_view one : wrapping.extensions) {
            if (!one.empty() && extension == one) return std::string(wrapping.type);
        }
        if (extension == wrapping.afterTar) {
            std::string_view stem = fileName.substr(0, fileName.size() - extension.size() - 1);
            if (GetExtension(stem) == "tar") return std::string(wrapping.type);
        }
    }
    return extension;
}

bool IsCompressedTarType(std::string_view type) {
    for (const TarWrapping& wrapping : kWrappings) {
        if (type == wrapping.type) return true;
    }
    return false;
}

bool IsLibArchiveType(std::string_view type) {
    return type == "7z" || type == "iso" || type == "tar" || IsCompressedTarType(type);
}

}  // namespace kest::archive
