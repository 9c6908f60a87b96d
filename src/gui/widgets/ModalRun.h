#pragma once

#include <functional>

class QDialog;

namespace kest::gui {

// Shows a dialog modally over its owner and gives its result. The GUI tests
// install a runner that drives the dialog through its widgets instead of
// entering a nested event loop; an empty runner restores exec().
int RunModal(QDialog& dialog);
void SetModalRunner(std::function<void(QDialog&)> runner);

}  // namespace kest::gui
