#include "gui/widgets/BusyPointer.h"

#include <QApplication>

namespace kest::gui {

void BusyPointer::Set(bool busy) {
    if (busy == m_busy) return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace kest::gui
