#pragma once

#include <optional>
#include <string>

#include "core/search/SearchBounds.h"

namespace kest::search {

// A bound that stops the search: the box that gets the focus, and the message.
struct BoundFailure {
    BoundBox box;
    std::string title;
    std::string text;
};

// Checks the six bounds in order (sizes and disc identifiers must be numbers
// of 0 or more, dates must be dates); the first failure is returned. A lower
// bound above its upper bound is allowed: the search then finds nothing.
std::optional<BoundFailure> CheckBounds(const SearchBounds& bounds);

// Tool tips of the size boxes for a SizeFormat.
std::string SizeFromToolTip(int sizeFormat);
std::string SizeToToolTip(int sizeFormat);

// The main window's minimum width (twips) with the advanced panel open or closed.
int MinimumWindowWidth(bool advanced);

// The caption of the advanced-panel button, and whether a caption means the
// panel is open.
std::string AdvancedCaption(bool advanced);
bool IsAdvancedCaption(const std::string& caption);

}  // namespace kest::search
