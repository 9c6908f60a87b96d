#include "gui/dialogs/CenterOnMain.h"

#include <QWidget>

namespace kest::gui {

void CenterOnMain(const QWidget* main, QWidget* dialog, int verticalOffset, int horizontalOffset) {
    if (!main || !dialog) return;
    dialog->adjustSize();
    QRect outer = main->frameGeometry();
    QSize size = dialog->frameGeometry().size();
    int top = outer.top() + (outer.height() - size.height()) / 2 + verticalOffset;
    int left = outer.left() + (outer.width() - size.width()) / 2 + horizontalOffset;
    dialog->move(left, top);
}

}  // namespace kest::gui
