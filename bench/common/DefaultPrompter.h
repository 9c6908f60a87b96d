#pragma once

#include <cstdio>

#include "core/ui/Prompter.h"

namespace kest::bench {

// Answers every question with its default button and every input box with
// one fixed text (printing each message); file dialogs and the password prompt are cancelled.
class DefaultPrompter : public Prompter {
  public:
    Answer Message(const MessageBoxRequest& box) override {
        // Said on stderr, so that a bench never times a failure unseen.
        std::fprintf(stderr, "[%s] %s\n", box.title.c_str(), box.text.c_str());
        return ButtonAnswer(box.buttons, box.defaultButton);
    }
    std::optional<std::string> Input(const std::string&, const std::string&,
                                     const std::string&) override {
        return "bench";
    }
    std::optional<std::string> Password() override { return std::nullopt; }
    std::optional<std::string> OpenFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const FileDialogRequest&) override { return std::nullopt; }
};

}  // namespace kest::bench
