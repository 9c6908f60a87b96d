#include "core/app/OptionsEffects.h"

#include "core/common/KestError.h"
#include "core/discs/DiscList.h"
#include "core/settings/IniFile.h"
#include "core/settings/VbConvert.h"

namespace kest::app {
namespace {

// The disc list's columns: six, and the used space as the seventh.
constexpr size_t kDiscColumns = 6;
constexpr int32_t kKestIdWidth = 930;

}  // namespace

std::string ProgramTitle(const AppSettings& settings, const CurrentCatalog& current) {
    if (current.name.empty() || current.path.empty()) return "Kest";
    return discs::WindowTitle(settings.Program_Caption, current.name, current.path);
}

void FitDiscColumns(Session& session) {
    std::vector<int32_t>& widths = session.window.discColumnWidths;
    if (!session.settings.ShowUsedSpace || widths.size() > kDiscColumns) return;
    widths.resize(kDiscColumns, kKestIdWidth);
    double quarter = (session.window.discGridWidth - kKestIdWidth) / 4.0;
    int32_t width = vb::CLng(quarter);
    try {
        width = vb::CLng(vb::Val(ReadIni("Discs_Columns", "Col6Width", vb::NumberText(quarter),
                                         session.paths.IniPath().string())));
    } catch (const KestError&) {
        // A stored width beyond any number keeps the default.
    }
    widths.push_back(width);
}

}  // namespace kest::app
