#pragma once

#include <functional>

class QComboBox;
class QLineEdit;

namespace kest::gui {

// Runs `action` once for each Enter pressed in an editable combo box. Its line
// edit's returnPressed comes twice per key (the combo box hands the unused
// Return back to its line edit), so the key is taken before the line edit
// sees it.
void OnEnter(QComboBox* box, std::function<void()> action);
// Runs `action` for each Enter pressed in a text box.
void OnEnter(QLineEdit* edit, std::function<void()> action);

}  // namespace kest::gui
