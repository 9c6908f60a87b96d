#include "core/shell/ShellRun.h"

namespace kest::shell {

using platform::ShellStatus;

std::string ShellErrorText(ShellStatus status) {
    switch (status) {
        case ShellStatus::OutOfResources:
            return "Error: Out of Memory/Resources. Couldn't Execute!";
        case ShellStatus::FileNotFound:
            return "Error: File not found.  Couldn't Execute!";
        case ShellStatus::PathNotFound:
            return "Error: Path not found. Couldn't Execute!";
        case ShellStatus::BadFormat:
            return "Error:  Bad File Format. Couldn't Execute!";
        default:
            // No program associated (its fallback did not start) and any
            // other failure have no text.
            return "";
    }
}

int ShellRun(platform::Shell& shell, Prompter& prompter, const std::string& path,
             platform::ShellVerb verb, const std::string& item) {
    ShellStatus status = shell.Execute(path, verb, item);
    if (status == ShellStatus::Started) return kShellSuccess;
    int result = static_cast<int>(status);
    if (status == ShellStatus::NoAssociation) {
        if (shell.OpenWith(path)) return kShellSuccess;
        result = 0;
    }
    prompter.Show("Shell execute failed...", path + "\r\n" + ShellErrorText(status),
                  Icon::Critical);
    return result;
}

int ViewLog(platform::Shell& shell, Prompter& prompter, const std::string& programFolder) {
    std::string folder = programFolder;
    if (!folder.ends_with('/')) folder += '/';
    return ShellRun(shell, prompter, folder + "Kest.dat", platform::ShellVerb::None);
}

}  // namespace kest::shell
