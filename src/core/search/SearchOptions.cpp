#include "core/search/SearchOptions.h"

namespace kest::search {

std::string SizeUnitText(int sizeFormat) {
    if (sizeFormat == kSizeBytes) return " ( B) ";
    if (sizeFormat == kSizeKilobytes) return " (KB) ";
    return " (MB) ";
}

std::string SizeNumberPattern(int sizeNumDec) {
    return sizeNumDec > 0 ? "0." + std::string(static_cast<size_t>(sizeNumDec), '0') : "0";
}

}  // namespace kest::search
