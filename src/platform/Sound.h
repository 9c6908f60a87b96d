#pragma once

#include <memory>
#include <string>

namespace kest::platform {

// The end-of-scan sound. A system with no way to play a wave file still has
// the terminal's simple beep.
class Sound {
  public:
    virtual ~Sound() = default;
    // Whether a wave file can be played at all.
    virtual bool HasWaveOutput() = 0;
    // Starts playing the file and returns at once; a file that cannot be
    // played gives silence, never a default sound.
    virtual void PlayAsync(const std::string& wavePath) = 0;
    virtual void Beep() = 0;
};

// Plays through the first audio player found on PATH (paplay, pw-play, aplay)
// when a sound server runs or `deviceFolder` holds a playback device, and
// beeps with "\a" on the controlling terminal.
std::unique_ptr<Sound> MakeSystemSound(const std::string& deviceFolder = "/dev/snd");

}  // namespace kest::platform
