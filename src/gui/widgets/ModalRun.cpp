#include "gui/widgets/ModalRun.h"

#include <QDialog>

namespace kest::gui {
namespace {

std::function<void(QDialog&)>& Runner() {
    static std::function<void(QDialog&)> runner;
    return runner;
}

}  // namespace

int RunModal(QDialog& dialog) {
    dialog.setModal(true);
    if (!Runner()) return dialog.exec();
    dialog.show();
    Runner()(dialog);
    dialog.hide();
    return dialog.result();
}

void SetModalRunner(std::function<void(QDialog&)> runner) {
    Runner() = std::move(runner);
}

}  // namespace kest::gui
