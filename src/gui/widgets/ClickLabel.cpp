#include "gui/widgets/ClickLabel.h"

#include <QMouseEvent>

namespace kest::gui {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    emit Pressed(event->button(), event->modifiers());
    QLabel::mousePressEvent(event);
}

ClickLabel* LinkLabel(QWidget* parent, const char* name, const QString& text,
                      const QString& toolTip) {
    auto* label = new ClickLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setToolTip(toolTip);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

void MarkClicked(QLabel* label) {
    QPalette red = label->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));  // the classic colour value 255
    label->setPalette(red);
}

}  // namespace kest::gui
