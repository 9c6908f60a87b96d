#include "core/discs/DiscListSettings.h"

namespace kest::discs {

DiscListOptions DiscListOptionsFrom(const AppSettings& settings, const WindowState& window) {
    DiscListOptions options;
    options.showUsedSpace = settings.ShowUsedSpace;
    options.sizeFormat = settings.SizeFormat;
    options.sizeNumDec = settings.SizeNumDec;
    options.programCaption = settings.Program_Caption;
    options.factColumns = static_cast<unsigned>(settings.FactColumns) & discfacts::kAllFactColumns;
    options.columnWidths.assign(window.discColumnWidths.begin(), window.discColumnWidths.end());
    return options;
}

}  // namespace kest::discs
