#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/scan/ScanView.h"
#include "platform/Sound.h"

namespace kest::test {

// A scan window that keeps the texts it was shown. onPump runs at every pump,
// the place where a real window would let the Cancel button act.
class RecordingScanView : public scan::ScanView {
  public:
    std::vector<std::string> status1;  // every text of status panel 1
    std::vector<std::string> totalLabels;
    std::vector<std::string> captions;
    int reloads = 0;
    bool locked = false;
    std::function<void()> onPump;

    void LockControls(bool lock) override { locked = lock; }
    void SetBusyPointer(bool) override {}
    void ShowCancel(bool) override {}
    void ShowProgressPanel(scan::ProgressPanel) override {}
    void SetTotalCaption(const std::string& caption) override { captions.push_back(caption); }
    void ShowTotalProgress(const scan::ProgressBar& bar) override {
        totalLabels.push_back(bar.label);
    }
    void ShowSubProgress(const scan::ProgressBar&) override {}
    void SetStatus(scan::StatusPanel panel, const std::string& text) override {
        if (panel == scan::StatusPanel::Scan) status1.push_back(text);
    }
    void Pump() override {
        if (onPump) onPump();
    }
    void ReloadDiscList() override { ++reloads; }
    void ResetResults() override {}
};

// The end sound, kept instead of played.
class FakeSound : public platform::Sound {
  public:
    bool waveOutput = true;
    std::vector<std::string> played;
    int beeps = 0;

    bool HasWaveOutput() override { return waveOutput; }
    void PlayAsync(const std::string& path) override { played.push_back(path); }
    void Beep() override { ++beeps; }
};

}  // namespace kest::test
