// The window's end-of-scan sound: it never blocks the window and a file
// that cannot play gives silence, with or without an audio output (the test
// machine may have none); the window's scan hands its sound the settings'
// file, or beeps without an output.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "gui/scan/QtSound.h"
#include "support/TempDir.h"

namespace kest::test {
namespace {

TEST(QtSound, FilesThatCannotPlayReturnAtOnceInSilence) {
    TempDir dir;
    gui::QtSound sound;
    QElapsedTimer timer;
    timer.start();
    for (const std::string& path :
         {dir.File("missing.wav"), dir.Write("noise.wav", "RIFF but not a wave"),
          dir.Path().string()})
        sound.PlayAsync(path);
    QTest::qWait(50);
    sound.Beep();
    EXPECT_LT(timer.elapsed(), 1000);
    // Asking for an output needs no device: without one the answer is no.
    (void)sound.HasWaveOutput();
}

}  // namespace
}  // namespace kest::test
