#include "core/search/CriteriaCheck.h"

#include "core/search/SearchText.h"
#include "core/text/DateParse.h"

namespace kest::search {
namespace {

constexpr const char* kPositiveNumber = "Positive number is required!";
constexpr const char* kValidDate = "Valid date is required!";

bool BadNumber(const std::string& text) {
    std::string trimmed = TrimBlanks(text);
    if (trimmed.empty()) return false;
    auto value = text::ParseNumberText(trimmed);
    return !value || *value < 0;
}

bool BadDate(const std::string& text) {
    std::string trimmed = TrimBlanks(text);
    return !trimmed.empty() && !text::ParseUserDate(trimmed);
}

std::string UnitOf(int sizeFormat) {
    return sizeFormat == 2 ? "KB" : sizeFormat == 3 ? "B" : "MB";
}

}  // namespace

std::optional<BoundFailure> CheckBounds(const SearchBounds& bounds) {
    if (BadNumber(bounds.sizeFrom))
        return BoundFailure{BoundBox::SizeFrom, "Size - Lower Bound Error", kPositiveNumber};
    if (BadNumber(bounds.sizeTo))
        return BoundFailure{BoundBox::SizeTo, "Size - Upper Bound Error", kPositiveNumber};
    if (BadDate(bounds.dateFrom))
        return BoundFailure{BoundBox::DateFrom, "Date - Lower Bound Error", kValidDate};
    if (BadDate(bounds.dateTo))
        return BoundFailure{BoundBox::DateTo, "Date - Upper Bound Error", kValidDate};
    if (BadNumber(bounds.discFrom))
        return BoundFailure{BoundBox::DiscFrom, "KestID - Lower Bound Error", kPositiveNumber};
    if (BadNumber(bounds.discTo))
        return BoundFailure{BoundBox::DiscTo, "KestID - Upper Bound Error", kPositiveNumber};
    return std::nullopt;
}

std::string SizeFromToolTip(int sizeFormat) {
    return "Lower bound of size in " + UnitOf(sizeFormat);
}
std::string SizeToToolTip(int sizeFormat) {
    return "Upper bound of size in " + UnitOf(sizeFormat);
}

int MinimumWindowWidth(bool advanced) {
    return advanced ? 8625 : 5865;
}

std::string AdvancedCaption(bool advanced) {
    return advanced ? "<< &Advanced" : ">> &Advanced";
}

bool IsAdvancedCaption(const std::string& caption) {
    return caption.compare(0, 2, "<<") == 0;
}

}  // namespace kest::search
