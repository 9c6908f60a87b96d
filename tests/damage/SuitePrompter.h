#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/ui/Prompter.h"

namespace kest::damage {

// The suite's user: gives a description to every input box, the catalog's
// password when asked, the queued paths to file dialogs, and keeps every
// message box shown (the first button is pressed).
class SuitePrompter : public Prompter {
  public:
    std::string password;
    std::deque<std::string> files;
    std::vector<MessageBoxRequest> shown;

    Answer Message(const MessageBoxRequest& box) override {
        shown.push_back(box);
        return box.buttons == Buttons::YesNo ? Answer::Yes : Answer::OK;
    }
    std::optional<std::string> Input(const std::string&, const std::string&,
                                     const std::string&) override {
        return "disc described by the damage suite";
    }
    std::optional<std::string> Password() override {
        if (m_asked++ > 0) return std::nullopt;
        return password;
    }
    std::optional<std::string> OpenFile(const FileDialogRequest&) override { return Next(); }
    std::optional<std::string> SaveFile(const FileDialogRequest&) override { return Next(); }

    // Starts a new command: no boxes seen, the password not yet given.
    void Reset() {
        shown.clear();
        m_asked = 0;
    }

  private:
    std::optional<std::string> Next() {
        if (files.empty()) return std::nullopt;
        std::string path = files.front();
        files.pop_front();
        return path;
    }
    int m_asked = 0;
};

}  // namespace kest::damage
