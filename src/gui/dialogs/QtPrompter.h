#pragma once

#include <QString>

#include "core/ui/Prompter.h"

class QWidget;

namespace kest::gui {

// The VB filter "Text (*.txt)|*.txt|All Files (*.*)|*.*" as a Qt file dialog
// filter list "Text (*.txt);;All Files (*)".
QString QtFileFilter(const std::string& vbFilter);

// The desktop's prompter: message boxes, input boxes, the password window and
// the file dialogs, each placed over the main window.
class QtPrompter : public Prompter {
  public:
    void SetMainWindow(QWidget* main) { m_main = main; }

    Answer Message(const MessageBoxRequest& box) override;
    std::optional<std::string> Input(const std::string& title, const std::string& prompt,
                                     const std::string& defaultText) override;
    std::optional<std::string> Password() override;
    std::optional<std::string> OpenFile(const FileDialogRequest& dialog) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& dialog) override;

  private:
    std::optional<std::string> FileDialog(const FileDialogRequest& dialog, bool save);

    QWidget* m_main = nullptr;
};

}  // namespace kest::gui
