#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
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

TEST(SystemSound, PlaysThroughThePlayerFoundOnPathWithoutWaiting) {
    test::TempDir bin;
    std::string played = bin.File("played");
    std::string player = bin.Write("aplay", "#!/bin/sh\nsleep 0.2\necho \"$1\" > " + played + "\n");
    chmod(player.c_str(), 0755);
    ScopedPath path(bin.Path().string());
    auto sound = MakeSystemSound();
    ASSERT_TRUE(sound->HasWaveOutput());
    auto start = std::chrono::steady_clock::now();
    sound->PlayAsync("/sounds/oyeah.wav");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    for (int i = 0; i < 50 && !std::filesystem::exists(played); ++i) {
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

}  // namespace
}  // namespace kest::platform
