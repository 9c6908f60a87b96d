#pragma once

#include <QIcon>

namespace kest::gui {

// The program's own icon.
QIcon ProgramIcon();

// The picture of a toolbar button (1 Discs, 2 Search, 3 Options, 4 Help,
// 5 Exit): the desktop's icon theme when it has one, else our own drawing,
// so the toolbar looks right on a bare machine.
QIcon ToolbarPicture(int index);

}  // namespace kest::gui
