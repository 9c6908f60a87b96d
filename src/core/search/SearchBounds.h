#pragma once

#include <string>

namespace kest::search {

// The six bound boxes of the advanced panel, as typed (trimmed); an empty text
// means the bound is not used.
struct SearchBounds {
    std::string sizeFrom = {};
    std::string sizeTo = {};
    std::string dateFrom = {};
    std::string dateTo = {};
    std::string discFrom = {};
    std::string discTo = {};
};

// The bound boxes, in the order they are checked.
enum class BoundBox { SizeFrom, SizeTo, DateFrom, DateTo, DiscFrom, DiscTo };

}  // namespace kest::search
