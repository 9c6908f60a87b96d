#include "core/explore/ExploreTexts.h"

#include "core/search/SearchOptions.h"
#include "core/text/ControlChars.h"
#include "core/text/VbFormat.h"

namespace kest::explore {

std::string NoDiscText(int64_t kestId) {
    return "The catalog holds no disc with Kest ID " + std::to_string(kestId) + ".";
}

std::string NoFolderText(const FolderPath& path) {
    return "The disc holds no folder or archive \"" + ShownName(FolderPathText(path)) + "\".";
}

std::string DiscCaption(const DiscInfo& disc) {
    std::string caption = "Kest ID " + std::to_string(disc.kestId) + ": " +
                          (disc.label.empty() ? std::string("no label") : disc.label) + " (" +
                          disc.serial + ")";
    if (!disc.description.empty()) caption += " - " + disc.description;
    return ShownName(caption);
}

std::string DiscGoneText(const DiscInfo& disc) {
    return "The disc with Kest ID " + std::to_string(disc.kestId) +
           " is no longer in the catalog. Its Explore window closes.";
}

std::string CatalogGoneText() {
    return "The catalog that holds this disc was closed. Its Explore window closes.";
}

std::string SizeShown(int64_t bytes, int sizeFormat, int sizeNumDec) {
    const double unit = sizeFormat == search::kSizeBytes       ? 1.0
                        : sizeFormat == search::kSizeKilobytes ? 1024.0
                                                               : 1048576.0;
    const int decimals = sizeFormat == search::kSizeBytes ? 0 : sizeNumDec;
    return text::FormatNumber(static_cast<double>(bytes) / unit,
                              search::SizeNumberPattern(decimals));
}

std::string DateShown(const std::string& stored, const std::string& dateFormat) {
    auto date = text::ParseIsoDateTime(stored);
    return date ? text::FormatDate(*date, dateFormat) : stored;
}

std::string CountText(int64_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string ShownName(const std::string& name) {
    std::string shown = name;
    text::MaskControls(shown);
    return shown;
}

}  // namespace kest::explore
