#pragma once

#include "core/ui/Prompter.h"

namespace kest::bench {

// Answers every question with its default button and every input box with
// one fixed text; file dialogs and the password prompt are cancelled.
class DefaultPrompter : public Prompter {
  public:
    Answer Message(const MessageBoxRequest& box) override {
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
