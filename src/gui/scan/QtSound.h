#pragma once

#include <QObject>

#include "platform/Sound.h"

class QSoundEffect;

namespace kest::gui {

// The end-of-scan sound through Qt Multimedia: the wave file played by a
// sound effect while the window runs on, the desktop's beep otherwise. Qt
// Multimedia is first touched when a scan ends with its sound on.
class QtSound : public QObject, public platform::Sound {
    Q_OBJECT
  public:
    QtSound();
    ~QtSound() override;

    // Whether the desktop offers an audio output at all.
    bool HasWaveOutput() override;
    // Starts the file and returns; a file that does not load plays nothing.
    void PlayAsync(const std::string& wavePath) override;
    void Beep() override;

  private:
    QSoundEffect* m_effect = nullptr;  // made on the first play
};

}  // namespace kest::gui
