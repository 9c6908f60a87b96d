#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kest::platform {

// What the desktop is asked to do with a path: its default action (open a
// file with its program), open a folder, or show a folder in the file manager.
enum class ShellVerb { None, Open, Explore };

// What became of a request, numbered as the classic shell's return values so
// that 33 and above means started.
enum class ShellStatus {
    OutOfResources = 0,
    Failed = 1,  // any failure the other values do not name
    FileNotFound = 2,
    PathNotFound = 3,
    BadFormat = 11,
    NoAssociation = 31,  // no program is associated with the file's type
    Started = 42,
};

// Hands a file or folder to the desktop.
class Shell {
  public:
    virtual ~Shell() = default;
    // With Explore, item names the entry of the folder to show selected
    // (empty: none); the other verbs ignore it.
    virtual ShellStatus Execute(const std::string& path, ShellVerb verb,
                                const std::string& item) = 0;
    // Offers the desktop's choice of a program to open the file with; true
    // when that choice started.
    virtual bool OpenWith(const std::string& path) = 0;
};

// How a program ended, as the shell sees it.
struct LaunchResult {
    bool started = false;  // false: the program is not installed or could not start
    int exitCode = -1;     // -1 while it still runs
};

// Starts programs with an argument vector; nothing is ever read by a shell.
class Launcher {
  public:
    virtual ~Launcher() = default;
    // Runs argv[0] (searched on PATH) and waits a short while for its exit;
    // a program still running then counts as started with exit code -1.
    virtual LaunchResult Run(const std::vector<std::string>& argv) = 0;
};

// The real process starter.
std::unique_ptr<Launcher> MakeProcessLauncher();

// The freedesktop shell: xdg-open (or gio open), the file manager's D-Bus
// ShowItems for exploring, the desktop portal's "open with" choice.
std::unique_ptr<Shell> MakeDesktopShell(Launcher& launcher);
// The same over the real process starter.
std::unique_ptr<Shell> MakeDesktopShell();

}  // namespace kest::platform
