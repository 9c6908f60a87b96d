#pragma once

#include <QFont>

#include "core/settings/OptionsForm.h"

namespace kest::gui {

// The grids' font as the settings name it; a family this machine does not
// have (the classic default "Microsoft Sans Serif" on Linux) gives the
// desktop's general font instead of the fallback fontconfig would choose.
// Size, bold and italic are kept either way.
QFont GridQtFont(const GridFont& font);
// The font back as the settings keep it: the family actually used, the size asked for.
GridFont GridFontOf(const QFont& font);

}  // namespace kest::gui
