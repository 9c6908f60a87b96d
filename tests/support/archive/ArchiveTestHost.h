#pragma once

#include <string>
#include <vector>

#include "core/archive/SubFileScanState.h"
#include "core/archive/cArchive.h"

namespace kest::test {

// A scan stand-in for archive tests: keeps the log lines, the status texts and
// progress, and sets the cancel flag after a chosen number of entries.
class ArchiveTestHost : public archive::SubFileScanState {
  public:
    std::vector<std::string> log;
    std::vector<std::string> status;
    std::vector<float> progress;
    bool cancel = false;
    bool estimate = false;
    int64_t discId = 7;
    int64_t fileId = 42;
    int pumps = 0;

    bool CancelRequested() const override { return cancel; }
    void WriteLog(const std::string& line) override { log.push_back(line); }
    int64_t CurrentDiscId() const override { return discId; }
    int64_t CurrentFileId() const override { return fileId; }
    void RequestCancel() override { cancel = true; }
    void ShowSubFileStatus(const std::string& text) override { status.push_back(text); }
    bool EstimateBeforeScan() const override { return estimate; }
    void ShowSubProgress(float percent) override { progress.push_back(percent); }
    void Pump() override { ++pumps; }
};

// Lists an archive with a fresh cArchive and gives every event.
inline std::vector<archive::FileFound> ListArchive(Prompter& prompter, ArchiveTestHost& host,
                                                   const std::string& path, const std::string& type,
                                                   int cancelAfter = -1) {
    std::vector<archive::FileFound> found;
    archive::cArchive reader(prompter, host);
    reader.SetArchivePath(path);
    reader.SetArchiveType(type);
    reader.OnFileFound([&](const archive::FileFound& entry) {
        found.push_back(entry);
        if (static_cast<int>(found.size()) == cancelAfter) host.cancel = true;
    });
    reader.GetInfo();
    return found;
}

}  // namespace kest::test
