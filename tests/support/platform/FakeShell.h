#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace kest::test {

// A desktop shell that starts nothing: it answers as told and remembers each
// request as "<verb> <path>" with " [<item>]" when an item is named, the verb
// being default, open or explore.
class FakeShell : public platform::Shell {
  public:
    platform::ShellStatus Execute(const std::string& path, platform::ShellVerb verb,
                                  const std::string& item) override {
        static const char* const verbs[] = {"default", "open", "explore"};
        requests.push_back(std::string(verbs[static_cast<int>(verb)]) + " " + path +
                           (item.empty() ? "" : " [" + item + "]"));
        opened.push_back(path);
        return status;
    }
    bool OpenWith(const std::string& path) override {
        openWith.push_back(path);
        return openWithStarts;
    }

    platform::ShellStatus status = platform::ShellStatus::Started;
    bool openWithStarts = false;
    std::vector<std::string> requests;  // as described above
    std::vector<std::string> opened;    // the paths alone
    std::vector<std::string> openWith;
};

}  // namespace kest::test
