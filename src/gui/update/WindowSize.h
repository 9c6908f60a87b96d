#pragma once

class QWidget;

namespace kest::gui {

// Gives a window a fixed size in twips, grown where its contents need more
// (larger fonts, scaled screens).
void SetTwipsSize(QWidget* window, int heightTwips, int widthTwips);

}  // namespace kest::gui
