#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace kest {

// The buttons, icons and answers of a message box, with the numbers the
// classic message box uses so answers can be compared to 6 (Yes) etc.
enum class Buttons {
    OKOnly = 0,
    OKCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5
};
enum class Icon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum class Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The title every box uses when it names no place of its own.
inline constexpr const char* kAppTitle = "Kest";

struct MessageBoxRequest {
    std::string title;
    std::string text;  // lines separated by "\r\n"
    Icon icon = Icon::None;
    Buttons buttons = Buttons::OKOnly;
    // Which button is the default, counted from the left (1 = first).
    int defaultButton = 1;
};

// Flag values of the classic file dialogs (FileDialogRequest::flags).
inline constexpr int kOverwritePromptFlag = 0x2;
inline constexpr int kHideReadOnlyFlag = 0x4;
inline constexpr int kFileMustExistFlag = 0x1000;
inline constexpr int kNoReadOnlyReturnFlag = 0x8000;

struct FileDialogRequest {
    std::string title;
    std::string fileName;
    std::string initialDir;
    std::string filter;  // "Description (*.ext)|*.ext|..."
    int filterIndex = 1;
    int flags = 0;
    bool folder = false;  // an open dialog that chooses a folder, not a file
};

// What the flags ask of a file dialog here: Linux dialogs have no read-only
// box, so only these two change one.
struct FileDialogBehaviour {
    bool fileMustExist = false;     // an open dialog takes only an existing file
    bool confirmOverwrite = false;  // a save dialog asks before naming an existing file
};
FileDialogBehaviour DialogBehaviour(int flags);

// The answer a message box gives for its n-th button (1-based).
Answer ButtonAnswer(Buttons buttons, int n);
int ButtonCount(Buttons buttons);
// The 0-based place of the box's default button: a number the box has no
// button for means its first.
size_t DefaultButtonIndex(Buttons buttons, int defaultButton);
// The answer of a box closed without a button: its last button's (Cancel,
// No, Ignore), OK for a box with one.
Answer ClosedAnswer(Buttons buttons);
const char* ButtonsName(Buttons buttons);
const char* IconName(Icon icon);
const char* AnswerName(Answer answer);
std::optional<Answer> ParseAnswer(const std::string& name);

// Everything core asks of the user goes through this interface; the desktop
// shows real dialogs, the command line reads flags, tests script each prompt.
class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual Answer Message(const MessageBoxRequest& box) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<std::string> Input(const std::string& title, const std::string& prompt,
                                             const std::string& defaultText) = 0;
    // The catalog password window; nullopt when cancelled.
    virtual std::optional<std::string> Password() = 0;
    // File dialogs; nullopt when cancelled.
    virtual std::optional<std::string> OpenFile(const FileDialogRequest& dialog) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogRequest& dialog) = 0;

    // Convenience for the common shape "title, text, icon, buttons, default".
    Answer Show(const std::string& title, const std::string& text, Icon icon = Icon::None,
                Buttons buttons = Buttons::OKOnly, int defaultButton = 1) {
        return Message(MessageBoxRequest{title, text, icon, buttons, defaultButton});
    }
    // A trapped error: critical icon, OK, "number CRLF description".
    void ShowError(const std::string& title, long number, const std::string& description) {
        Show(title, std::to_string(number) + "\r\n" + description, Icon::Critical);
    }
};

}  // namespace kest
