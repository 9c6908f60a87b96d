#include "gui/scan/QtSound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace kest::gui {

QtSound::QtSound() = default;

QtSound::~QtSound() = default;

bool QtSound::HasWaveOutput() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

void QtSound::PlayAsync(const std::string& wavePath) {
    if (!m_effect) m_effect = new QSoundEffect(this);
    // A sound still playing from the scan before gives way to this one.
    m_effect->stop();
    m_effect->setSource(QUrl::fromLocalFile(QString::fromStdString(wavePath)));
    m_effect->play();
}

void QtSound::Beep() {
    QApplication::beep();
}

}  // namespace kest::gui
