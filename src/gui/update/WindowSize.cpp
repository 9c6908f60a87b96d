#include "gui/update/WindowSize.h"

#include <QApplication>
#include <QLayout>
#include <QWidget>

#include "gui/widgets/Twips.h"

namespace kest::gui {

void SetTwipsSize(QWidget* window, int heightTwips, int widthTwips) {
    if (window->layout()) window->layout()->activate();
    QSize size(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
    window->setFixedSize(size.expandedTo(window->minimumSizeHint()));
}

}  // namespace kest::gui
