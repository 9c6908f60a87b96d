#include "platform/Sound.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace kest::platform {

namespace {

std::string FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) return "";
    std::istringstream dirs(path);
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        if (dir.empty()) continue;
        std::string candidate = dir + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return "";
}

// A sound server the players can reach, or a playback device of the kernel.
bool HasOutputDevice(const std::string& deviceFolder) {
    if (std::getenv("PULSE_SERVER")) return true;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
        std::error_code ec;
        for (const char* socket : {"/pulse/native", "/pipewire-0"}) {
            if (std::filesystem::exists(std::string(runtime) + socket, ec)) return true;
        }
    }
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(deviceFolder, ec)) {
        std::string name = entry.path().filename().string();
        if (name.starts_with("pcmC") && name.ends_with("p")) return true;
    }
    return false;
}

class SystemSound : public Sound {
  public:
    explicit SystemSound(const std::string& deviceFolder) {
        for (const char* player : {"paplay", "pw-play", "aplay"}) {
            m_player = FindOnPath(player);
            if (!m_player.empty()) break;
        }
        if (!HasOutputDevice(deviceFolder)) m_player.clear();
    }

    // A player that has nothing to play on is no wave output.
    bool HasWaveOutput() override { return !m_player.empty(); }

    void PlayAsync(const std::string& wavePath) override {
        if (m_player.empty()) return;
        // Detach through an intermediate child so the player never lingers
        // as a zombie of a long-running window.
        pid_t child = fork();
        if (child < 0) return;
        if (child == 0) {
            if (fork() == 0) {
                int null = open("/dev/null", O_RDWR);
                if (null >= 0) {
                    dup2(null, STDIN_FILENO);
                    dup2(null, STDOUT_FILENO);
                    dup2(null, STDERR_FILENO);
                }
                execl(m_player.c_str(), m_player.c_str(), wavePath.c_str(),
                      static_cast<char*>(nullptr));
            }
            _exit(0);
        }
        waitpid(child, nullptr, 0);
    }

    void Beep() override {
        int tty = open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (tty >= 0) {
            (void)!write(tty, "\a", 1);
            close(tty);
        } else if (isatty(STDERR_FILENO)) {
            (void)!write(STDERR_FILENO, "\a", 1);
        }
    }

  private:
    std::string m_player;
};

}  // namespace

std::unique_ptr<Sound> MakeSystemSound(const std::string& deviceFolder) {
    return std::make_unique<SystemSound>(deviceFolder);
}

}  // namespace kest::platform
