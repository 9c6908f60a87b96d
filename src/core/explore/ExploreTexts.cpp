#include "core/explore/ExploreTexts.h"

#include "core/text/ControlChars.h"

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

std::string CountText(int64_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string ShownName(const std::string& name) {
    std::string shown = name;
    text::MaskControls(shown);
    return shown;
}

}  // namespace kest::explore
