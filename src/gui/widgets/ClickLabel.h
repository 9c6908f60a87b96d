#pragma once

#include <QLabel>

namespace kest::gui {

// A label (or picture) that reports mouse presses with their button and the
// keys held, as the information windows' clickable labels need.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void Pressed(Qt::MouseButton button, Qt::KeyboardModifiers keys);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// A label that turns red when clicked with the left button and then runs its
// action (the about window's links).
ClickLabel* LinkLabel(QWidget* parent, const char* name, const QString& text,
                      const QString& toolTip);
void MarkClicked(QLabel* label);

}  // namespace kest::gui
