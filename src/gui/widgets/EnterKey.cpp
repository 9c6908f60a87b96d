#include "gui/widgets/EnterKey.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace kest::gui {
namespace {

class EnterFilter : public QObject {
  public:
    EnterFilter(QObject* parent, std::function<void()> action)
        : QObject(parent), m_action(std::move(action)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_action();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> m_action;
};

}  // namespace

void OnEnter(QComboBox* box, std::function<void()> action) {
    OnEnter(box->lineEdit(), std::move(action));
}

void OnEnter(QLineEdit* edit, std::function<void()> action) {
    edit->installEventFilter(new EnterFilter(edit, std::move(action)));
}

}  // namespace kest::gui
