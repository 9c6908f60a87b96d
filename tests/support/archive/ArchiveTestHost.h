#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/archive/SubFileScanState.h"
#include "core/archive/cArchive.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

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
    void BeforeRow() override {}
    uint64_t LogPosition() const override { return log.size(); }
    bool AfterRow(uint64_t) override { return false; }
    size_t RowsLost() override { return 0; }
    void RowDropped(uint64_t) override {}
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

// Every value of each event on one line, for comparing whole entries:
// "index/count directory|name type date size/packed mMETHOD aATTR fFLAGS CRC comment",
// the words in hexadecimal.
inline std::vector<std::string> FoundTexts(const std::vector<archive::FileFound>& found) {
    std::vector<std::string> texts;
    for (const archive::FileFound& f : found) {
        char words[64];
        std::snprintf(words, sizeof words, "m%X a%X f%X %08X ", f.Method, f.Attributes, f.Flags,
                      f.Crc);
        texts.push_back(std::to_string(f.EntryIndex) + "/" + std::to_string(f.EntryCount) + " " +
                        f.Directory + "|" + f.FileName + " " + f.ArchiveType + " " +
                        text::ToIso(f.FileDate) + " " + std::to_string(f.FileSize) + "/" +
                        std::to_string(f.PackedSize) + " " + words + f.Comment);
    }
    return texts;
}

// A reader test: lists bytes written to a file as an archive of a type; any
// prompt not expected fails the test.
class ReaderTest : public ::testing::Test {
  protected:
    std::vector<archive::FileFound> List(const std::string& bytes, const std::string& type,
                                         int cancelAfter = -1) {
        return ListArchive(prompter, host, dir.Write("t." + type, bytes), type, cancelAfter);
    }
    // The box a reader shows when a value runs past the end of the file.
    void ExpectPastEndPrompt(const std::string& routine, int line, Answer answer) {
        ExpectErrorPrompt(routine, line, "62 Input past end of file", answer);
    }
    // The error box of a reader: "<number> <description>" at a line of it.
    void ExpectErrorPrompt(const std::string& routine, int line, const std::string& error,
                           Answer answer) {
        prompter.ExpectMessage(routine,
                               "Error: " + error + "\r\nin cArchive." + routine +
                                   " component at line " + std::to_string(line) +
                                   "\r\nSelect the following: \r\n"
                                   "  <-> Choose Retry to attempt further processing\r\n"
                                   "  <-> Choose Cancel to skip the rest of the subfiles",
                               Icon::Critical, Buttons::RetryCancel, 1, answer);
    }

    TempDir dir;
    ScriptedPrompter prompter;
    ArchiveTestHost host;
};

}  // namespace kest::test
