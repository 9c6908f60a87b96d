#pragma once

#include <gmock/gmock.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ui/Prompter.h"

namespace kest::test {

using TextMatcher = ::testing::Matcher<const std::string&>;

// A prompter that expects a script of prompts, checks each one's title, text,
// icon, buttons and default, and gives the scripted answer. Any prompt that is
// not expected, or an expected one that never comes, fails the test.
class ScriptedPrompter : public Prompter {
  public:
    ~ScriptedPrompter() override;

    ScriptedPrompter& ExpectMessage(TextMatcher title, TextMatcher text, Icon icon, Buttons buttons,
                                    int defaultButton, Answer answer);
    // The short form for an OK-only box.
    ScriptedPrompter& ExpectNotice(TextMatcher title, TextMatcher text, Icon icon);
    ScriptedPrompter& ExpectInput(TextMatcher title, TextMatcher prompt,
                                  std::optional<std::string> reply);
    ScriptedPrompter& ExpectPassword(std::optional<std::string> reply);
    ScriptedPrompter& ExpectOpenFile(TextMatcher title, std::optional<std::string> reply);
    ScriptedPrompter& ExpectSaveFile(TextMatcher title, std::optional<std::string> reply);

    // Fails the test unless every expected prompt has come.
    void VerifyDone();
    size_t Pending() const { return m_script.size(); }
    // Every prompt seen, as "kind: title | text".
    const std::vector<std::string>& Seen() const { return m_seen; }
    // The last file dialog shown.
    const FileDialogRequest& LastFileDialog() const { return m_lastDialog; }
    // Called with each prompt's title as it comes, to look at what the
    // program shows behind it.
    std::function<void(const std::string& title)> onPrompt;

    Answer Message(const MessageBoxRequest& box) override;
    std::optional<std::string> Input(const std::string& title, const std::string& prompt,
                                     const std::string& defaultText) override;
    std::optional<std::string> Password() override;
    std::optional<std::string> OpenFile(const FileDialogRequest& dialog) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& dialog) override;

  private:
    enum class Kind { Message, Input, Password, OpenFile, SaveFile };
    struct Step {
        Kind kind = Kind::Message;
        TextMatcher title = ::testing::_;
        TextMatcher text = ::testing::_;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::OKOnly;
        int defaultButton = 1;
        Answer answer = Answer::OK;
        std::optional<std::string> reply;
    };
    static Step MakeStep(Kind kind, TextMatcher title, TextMatcher text);
    std::optional<Step> Next(Kind kind, const std::string& title, const std::string& text);

    std::deque<Step> m_script;
    std::vector<std::string> m_seen;
    FileDialogRequest m_lastDialog;
};

}  // namespace kest::test
