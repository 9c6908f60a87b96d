#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "platform/Shell.h"

extern char** environ;

namespace kest::platform {
namespace {

// Runs xdg-open on the path without a shell, so no character of the path is
// ever interpreted; xdg-open returns once the opener has been started.
class LinuxShell : public Shell {
  public:
    bool Open(const std::string& path) override {
        std::string program = "xdg-open";
        // A name starting with "-" would read as an option.
        std::string argument = path.starts_with('-') ? "./" + path : path;
        char* argv[] = {program.data(), argument.data(), nullptr};
        pid_t pid = 0;
        if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) return false;
        int status = 0;
        while (waitpid(pid, &status, 0) < 0)
            if (errno != EINTR) return false;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
};

}  // namespace

std::unique_ptr<Shell> MakeDesktopShell() {
    return std::make_unique<LinuxShell>();
}

}  // namespace kest::platform
