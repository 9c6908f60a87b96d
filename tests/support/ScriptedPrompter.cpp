#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace kest::test {

namespace {
const char* KindName(int kind) {
    static const char* names[] = {"message", "input", "password", "open-file", "save-file"};
    return names[kind];
}
}  // namespace

ScriptedPrompter::Step ScriptedPrompter::MakeStep(Kind kind, TextMatcher title, TextMatcher text) {
    Step step;
    step.kind = kind;
    step.title = std::move(title);
    step.text = std::move(text);
    return step;
}

ScriptedPrompter::~ScriptedPrompter() {
    VerifyDone();
}

void ScriptedPrompter::VerifyDone() {
    for (const auto& step : m_script) {
        ADD_FAILURE() << "expected " << KindName(static_cast<int>(step.kind)) << " prompt "
                      << ::testing::DescribeMatcher<const std::string&>(step.title)
                      << " never came";
    }
    m_script.clear();
}

ScriptedPrompter& ScriptedPrompter::ExpectMessage(TextMatcher title, TextMatcher text, Icon icon,
                                                  Buttons buttons, int defaultButton,
                                                  Answer answer) {
    Step step = MakeStep(Kind::Message, title, text);
    step.icon = icon;
    step.buttons = buttons;
    step.defaultButton = defaultButton;
    step.answer = answer;
    m_script.push_back(step);
    return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectNotice(TextMatcher title, TextMatcher text, Icon icon) {
    return ExpectMessage(title, text, icon, Buttons::OKOnly, 1, Answer::OK);
}

ScriptedPrompter& ScriptedPrompter::ExpectInput(TextMatcher title, TextMatcher prompt,
                                                std::optional<std::string> reply) {
    Step step = MakeStep(Kind::Input, title, prompt);
    step.reply = std::move(reply);
    m_script.push_back(step);
    return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectPassword(std::optional<std::string> reply) {
    Step step = MakeStep(Kind::Password, ::testing::_, ::testing::_);
    step.reply = std::move(reply);
    m_script.push_back(step);
    return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectOpenFile(TextMatcher title,
                                                   std::optional<std::string> reply) {
    Step step = MakeStep(Kind::OpenFile, title, ::testing::_);
    step.reply = std::move(reply);
    m_script.push_back(step);
    return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectSaveFile(TextMatcher title,
                                                   std::optional<std::string> reply) {
    Step step = MakeStep(Kind::SaveFile, title, ::testing::_);
    step.reply = std::move(reply);
    m_script.push_back(step);
    return *this;
}

std::optional<ScriptedPrompter::Step> ScriptedPrompter::Next(Kind kind, const std::string& title,
                                                             const std::string& text) {
    m_seen.push_back(std::string(KindName(static_cast<int>(kind))) + ": " + title + " | " + text);
    if (onPrompt) onPrompt(title);
    if (m_script.empty()) {
        ADD_FAILURE() << "unexpected " << KindName(static_cast<int>(kind)) << " prompt \"" << title
                      << "\": \"" << text << "\"";
        return std::nullopt;
    }
    Step step = m_script.front();
    m_script.pop_front();
    EXPECT_EQ(step.kind, kind) << "prompt \"" << title << "\" came as the wrong kind";
    EXPECT_THAT(title, step.title);
    if (kind == Kind::Message || kind == Kind::Input) {
        EXPECT_THAT(text, step.text);
    }
    return step;
}

Answer ScriptedPrompter::Message(const MessageBoxRequest& box) {
    auto step = Next(Kind::Message, box.title, box.text);
    if (!step) return ButtonAnswer(box.buttons, box.defaultButton);
    EXPECT_EQ(IconName(box.icon), std::string(IconName(step->icon))) << "icon of " << box.title;
    EXPECT_EQ(ButtonsName(box.buttons), std::string(ButtonsName(step->buttons)))
        << "buttons of " << box.title;
    EXPECT_EQ(box.defaultButton, step->defaultButton) << "default button of " << box.title;
    return step->answer;
}

std::optional<std::string> ScriptedPrompter::Input(const std::string& title,
                                                   const std::string& prompt, const std::string&) {
    auto step = Next(Kind::Input, title, prompt);
    return step ? step->reply : std::nullopt;
}

std::optional<std::string> ScriptedPrompter::Password() {
    auto step = Next(Kind::Password, "Password Input", "");
    return step ? step->reply : std::nullopt;
}

std::optional<std::string> ScriptedPrompter::OpenFile(const FileDialogRequest& dialog) {
    m_lastDialog = dialog;
    auto step = Next(Kind::OpenFile, dialog.title, dialog.filter);
    return step ? step->reply : std::nullopt;
}

std::optional<std::string> ScriptedPrompter::SaveFile(const FileDialogRequest& dialog) {
    m_lastDialog = dialog;
    auto step = Next(Kind::SaveFile, dialog.title, dialog.filter);
    return step ? step->reply : std::nullopt;
}

}  // namespace kest::test
