#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "platform/Sound.h"
#include "support/TempDir.h"

namespace kest::platform {
namespace {

// Sets PATH for the life of the object.
class ScopedPath {
  public:
    explicit ScopedPath(const std::string& path) : m_old(getenv("PATH") ? getenv("PATH") : "") {
        setenv("PATH", path.c_str(), 1);
    }
    ~ScopedPath() { setenv("PATH", m_old.c_str(), 1); }

  private:
    std::string m_old;
};

// Sets an environment variable (or unsets it for nullptr) for the life of
// the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = getenv(name)) m_old = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_old) {
            setenv(m_name, m_old->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// A player script on PATH that writes the file it was given to `played`.
std::string FakePlayer(const test::TempDir& bin) {
    std::string played = bin.File("played");
    std::string player =
        // Written whole, then named: the test reads it as soon as it exists.
        bin.Write("aplay", "#!/bin/sh\n/bin/sleep 2\necho \"$1\" > " + played +
                               ".part && /bin/mv " + played + ".part " + played + "\n");
    chmod(player.c_str(), 0755);
    return played;
}

TEST(SystemSound, PlaysThroughThePlayerFoundOnPathWithoutWaiting) {
    test::TempDir bin, devices;
    std::string played = FakePlayer(bin);
    devices.Write("pcmC0D0p", "");
    ScopedPath path(bin.Path().string());
    auto sound = MakeSystemSound(devices.Path().string());
    ASSERT_TRUE(sound->HasWaveOutput());
    auto start = std::chrono::steady_clock::now();
    sound->PlayAsync("/sounds/oyeah.wav");
    // The player takes two seconds; a busy machine still starts it in far less.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    for (int i = 0; i < 200 && !std::filesystem::exists(played); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::string line;
    std::getline(std::ifstream(played), line);
    EXPECT_EQ(line, "/sounds/oyeah.wav");
}

TEST(SystemSound, WithoutAPlayerThereIsNoWaveOutput) {
    test::TempDir empty;
    ScopedPath path(empty.Path().string());
    EXPECT_FALSE(MakeSystemSound()->HasWaveOutput());
}

// A player with no sound server and no playback device cannot play: the
// scan then beeps.
TEST(SystemSound, APlayerWithNothingToPlayOnIsNoWaveOutput) {
    test::TempDir bin, devices, runtime;
    FakePlayer(bin);
    devices.Write("controlC0", "");
    devices.Write("pcmC0D0c", "");  // a capture device only
    ScopedPath path(bin.Path().string());
    ScopedEnv pulse("PULSE_SERVER", nullptr);
    ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.Path().c_str());
    EXPECT_FALSE(MakeSystemSound(devices.Path().string())->HasWaveOutput());
    runtime.Write("pipewire-0", "");
    EXPECT_TRUE(MakeSystemSound(devices.Path().string())->HasWaveOutput());
}

}  // namespace
}  // namespace kest::platform
