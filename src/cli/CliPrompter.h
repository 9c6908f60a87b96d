#pragma once

#include <deque>
#include <iosfwd>
#include <string>

#include "core/ui/Prompter.h"

namespace kest::cli {

// Answers prompts from the queues filled by --answer, --input and --password
// (and by commands that already know a file name). When a queue is empty it
// asks on the terminal, or, when standard input is not a terminal, takes the
// default button and cancels inputs. Every prompt is echoed to stderr.
class CliPrompter : public Prompter {
  public:
    std::deque<Answer> answers;
    std::deque<std::string> inputs;
    std::deque<std::string> passwords;
    std::deque<std::string> files;  // answers for file dialogs

    Answer Message(const MessageBoxRequest& box) override;
    std::optional<std::string> Input(const std::string& title, const std::string& prompt,
                                     const std::string& defaultText) override;
    std::optional<std::string> Password() override;
    std::optional<std::string> OpenFile(const FileDialogRequest& dialog) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& dialog) override;

  private:
    std::optional<std::string> FileDialog(const char* kind, const FileDialogRequest& dialog);
};

// Writes the lines of a message text ("\r\n", "\r" or "\n" separated).
void EchoLines(std::ostream& out, const std::string& text);

}  // namespace kest::cli
