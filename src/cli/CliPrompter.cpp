#include "cli/CliPrompter.h"

#include <unistd.h>

#include <iostream>
#include <stdexcept>

#include "core/ui/MessageText.h"

namespace kest::cli {

namespace {

bool Interactive() {
    return isatty(STDIN_FILENO) != 0;
}

bool HasButton(Buttons buttons, Answer answer) {
    for (int n = 1; n <= 3; ++n) {
        if (ButtonAnswer(buttons, n) == answer) return true;
    }
    return false;
}

std::optional<std::string> ReadTerminalLine(const std::string& ask) {
    std::cerr << ask << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    return line;
}

}  // namespace

void EchoLines(std::ostream& out, const std::string& text) {
    for (const std::string& line : MessageLines(text)) out << line << '\n';
}

Answer CliPrompter::Message(const MessageBoxRequest& box) {
    std::cerr << "--- message: " << box.title << '\n';
    EchoLines(std::cerr, box.text);
    Answer def = ButtonAnswer(box.buttons, box.defaultButton);
    std::cerr << "[buttons=" << ButtonsName(box.buttons) << " icon=" << IconName(box.icon)
              << " default=" << AnswerName(def) << "] -> ";
    Answer answer = def;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
        if (!HasButton(box.buttons, answer)) {
            std::cerr << AnswerName(answer) << std::endl;
            throw std::invalid_argument(std::string("--answer ") + AnswerName(answer) +
                                        ": the box \"" + box.title + "\" has no such button (" +
                                        ButtonsName(box.buttons) + ")");
        }
    } else if (Interactive() && box.buttons != Buttons::OKOnly) {
        while (auto line = ReadTerminalLine("")) {
            if (line->empty()) break;
            auto parsed = ParseAnswer(*line);
            if (parsed && HasButton(box.buttons, *parsed)) {
                answer = *parsed;
                break;
            }
        }
    }
    std::cerr << AnswerName(answer) << std::endl;
    return answer;
}

std::optional<std::string> CliPrompter::Input(const std::string& title, const std::string& prompt,
                                              const std::string& defaultText) {
    std::cerr << "--- input: " << title << '\n';
    EchoLines(std::cerr, prompt);
    std::cerr << "[default=" << defaultText << "] -> ";
    std::optional<std::string> reply;
    if (!inputs.empty()) {
        reply = inputs.front();
        inputs.pop_front();
    } else if (Interactive()) {
        reply = ReadTerminalLine("");
    }
    std::cerr << (reply ? *reply : std::string("Cancel")) << std::endl;
    return reply;
}

std::optional<std::string> CliPrompter::Password() {
    std::cerr << "--- password: Password Input\n"
              << "Please input the database password. The password is case sensitive.\n-> ";
    std::optional<std::string> reply;
    if (!passwords.empty()) {
        reply = passwords.front();
        passwords.pop_front();
    } else if (Interactive()) {
        reply = ReadTerminalLine("");
    }
    // The password itself is never echoed.
    std::cerr << (reply ? "OK" : "Cancel") << std::endl;
    return reply;
}

std::optional<std::string> CliPrompter::FileDialog(const char* kind,
                                                   const FileDialogRequest& dialog) {
    std::cerr << "--- " << kind << ": " << dialog.title << '\n'
              << "[filter=" << dialog.filter << " dir=" << dialog.initialDir << "] -> ";
    std::optional<std::string> reply;
    if (!files.empty()) {
        reply = files.front();
        files.pop_front();
    } else if (Interactive()) {
        reply = ReadTerminalLine("");
    }
    std::cerr << (reply ? *reply : std::string("Cancel")) << std::endl;
    return reply;
}

std::optional<std::string> CliPrompter::OpenFile(const FileDialogRequest& dialog) {
    return FileDialog("open-file", dialog);
}

std::optional<std::string> CliPrompter::SaveFile(const FileDialogRequest& dialog) {
    return FileDialog("save-file", dialog);
}

}  // namespace kest::cli
