#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <cerrno>
#include <vector>

#include "platform/Shell.h"

extern char** environ;

namespace kest::platform {
namespace {

// How long a program may take to say whether it started; openers such as
// xdg-open return at once, a few run the chosen program in the foreground.
constexpr int kWaitMilliseconds = 3000;
constexpr int kPollMilliseconds = 20;

class ProcessLauncher : public Launcher {
  public:
    ~ProcessLauncher() override { ReapFinished(); }

    LaunchResult Run(const std::vector<std::string>& argv) override {
        ReapFinished();
        std::vector<std::string> words = argv;
        std::vector<char*> pointers;
        pointers.reserve(words.size() + 1);
        for (std::string& word : words) pointers.push_back(word.data());
        pointers.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // The openers' chatter would mix into our own output.
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        int spawned = posix_spawnp(&pid, pointers[0], &actions, nullptr, pointers.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) return LaunchResult{};
        return Wait(pid);
    }

  private:
    LaunchResult Wait(pid_t pid) {
        for (int waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
            int status = 0;
            pid_t done = waitpid(pid, &status, WNOHANG);
            if (done == pid) {
                // A program the spawned child could not execute exits with 127.
                if (WIFEXITED(status) && WEXITSTATUS(status) == 127) return LaunchResult{};
                return LaunchResult{true, WIFEXITED(status) ? WEXITSTATUS(status) : 128};
            }
            if (done < 0 && errno != EINTR) return LaunchResult{true, 128};
            timespec pause{0, kPollMilliseconds * 1000000L};
            nanosleep(&pause, nullptr);
        }
        m_running.push_back(pid);
        return LaunchResult{true, -1};
    }

    // Programs still running at the end of a wait are collected later.
    void ReapFinished() {
        std::erase_if(m_running, [](pid_t pid) {
            int status = 0;
            return waitpid(pid, &status, WNOHANG) != 0;
        });
    }

    std::vector<pid_t> m_running;
};

}  // namespace

std::unique_ptr<Launcher> MakeProcessLauncher() {
    return std::make_unique<ProcessLauncher>();
}

}  // namespace kest::platform
