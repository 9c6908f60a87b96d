#pragma once

#include <string>

#include "core/ui/Prompter.h"
#include "platform/Shell.h"

namespace kest::shell {

inline constexpr int kShellSuccess = -1;

// Hands a path to the desktop. Gives -1 when it started; otherwise tells the
// user in "Shell execute failed..." (the path and the error text) and gives
// the shell's number. A file type without a program gets the desktop's "open
// with" choice first, which counts as success when it starts.
int ShellRun(platform::Shell& shell, Prompter& prompter, const std::string& path,
             platform::ShellVerb verb, const std::string& item = "");

// The error text of a failed request ("" for one the texts do not name).
std::string ShellErrorText(platform::ShellStatus status);

// Opens the troubleshooting log of the last scan, Kest.dat of the program
// folder, with the desktop's default action.
int ViewLog(platform::Shell& shell, Prompter& prompter, const std::string& programFolder);

}  // namespace kest::shell
