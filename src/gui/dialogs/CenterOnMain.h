#pragma once

class QWidget;

namespace kest::gui {

// Places a dialog over the main window: centred, then moved by the offsets
// (pixels). Without a main window the dialog stays where it is.
void CenterOnMain(const QWidget* main, QWidget* dialog, int verticalOffset = 0,
                  int horizontalOffset = 0);

}  // namespace kest::gui
