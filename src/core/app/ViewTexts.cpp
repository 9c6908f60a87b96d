#include "core/app/ViewTexts.h"

namespace kest::app {

std::string ViewButtonCaption(int index, View active) {
    bool discs = index == 1;
    std::string caption = discs ? "Discs" : "Search";
    bool isActive = discs == (active == View::Discs);
    return isActive ? "[" + caption + "]" : caption;
}

std::string SearchHint(const AppSettings& settings) {
    std::string fields;
    if (settings.InFileName) fields += "file name or ";
    if (settings.InDirectory) fields += "file directory or ";
    if (settings.InFileDescription) fields += "file description or ";
    // The options never leave all three off; the cut still stays in range.
    fields.resize(fields.size() >= 4 ? fields.size() - 4 : 0);
    return "Use the standard windows search parameters to search for a " + fields + ".";
}

}  // namespace kest::app
