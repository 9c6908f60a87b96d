#include "gui/dialogs/CenterOnMain.h"

#include <QWidget>

namespace kest::gui {

void CenterOnMain(const QWidget* main, QWidget* dialog, int verticalOffset, int horizontalOffset) {
    if (!main || !dialog) return;
    // A window that chose its own size keeps it; adjustSize would cut it to
    // two thirds of the screen.
    if (!dialog->testAttribute(Qt::WA_Resized)) dialog->adjustSize();
    QRect outer = main->frameGeometry();
    QSize size = dialog->frameGeometry().size();
    int top = outer.top() + (outer.height() - size.height()) / 2 + verticalOffset;
    int left = outer.left() + (outer.width() - size.width()) / 2 + horizontalOffset;
    dialog->move(left, top);
}

}  // namespace kest::gui
