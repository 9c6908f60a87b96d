#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <string>

#include "gui/widgets/ModalRun.h"

namespace kest::test {

// Drives the modal dialogs a test opens: each dialog, by object name, is
// handed to its scripted steps instead of a nested event loop. A dialog
// without steps fails the test and is closed.
class DialogDriver {
  public:
    DialogDriver();
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    void On(const std::string& dialogName, std::function<void(QDialog&)> steps);
    // How many dialogs of this name opened.
    int Opened(const std::string& dialogName) const;

  private:
    std::map<std::string, std::function<void(QDialog&)>> m_steps;
    std::map<std::string, int> m_opened;
};

// Keyboard and screen reader reach: every box and list carries an accessible
// name, and Tab from the focused control visits every enabled control that
// takes the focus before it comes back.
void ExpectKeyboardComplete(QDialog& dialog);

// Saves a picture of a dialog into the build folder's screenshots.
void SaveDialogPicture(QWidget& dialog, const char* name);

}  // namespace kest::test
