#include "gui/update/WindowSize.h"

#include <QApplication>
#include <QLayout>
#include <QWidget>

#include "gui/app/Twips.h"

namespace kest::gui {

void SetTwipsSize(QWidget* window, int heightTwips, int widthTwips) {
    if (window->layout()) window->layout()->activate();
    QSize size(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
    window->setFixedSize(size.expandedTo(window->minimumSizeHint()));
}

BusyPointer::~BusyPointer() {
    while (m_depth > 0) Set(false);
}

void BusyPointer::Set(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_depth;
    } else if (m_depth > 0) {
        QApplication::restoreOverrideCursor();
        --m_depth;
    }
}

}  // namespace kest::gui
