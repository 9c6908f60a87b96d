#pragma once

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "core/archive/cArchive.h"

// Lists fuzzer bytes as an archive of the given type: the bytes go to a file
// of this process (the readers read files), every error prompt is answered
// Retry so the paths after an error are explored too.
namespace kest::fuzz {

class RetryPrompter : public Prompter {
  public:
    Answer Message(const MessageBoxRequest&) override { return Answer::Retry; }
    std::optional<std::string> Input(const std::string&, const std::string&,
                                     const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> Password() override { return std::nullopt; }
    std::optional<std::string> OpenFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const FileDialogRequest&) override { return std::nullopt; }
};

class QuietHost : public archive::ArchiveHost {
  public:
    bool CancelRequested() const override { return false; }
    void WriteLog(const std::string&) override {}
};

inline int ListBytes(const uint8_t* data, size_t size, const std::string& type) {
    static const std::string path = "/tmp/kest-fuzz-" + std::to_string(getpid()) + "." + type;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    RetryPrompter prompter;
    QuietHost host;
    archive::cArchive reader(prompter, host);
    reader.SetArchivePath(path);
    reader.SetArchiveType(type);
    // Touch every text so the sanitizer sees any bad one.
    reader.OnFileFound([](const archive::FileFound& entry) {
        volatile size_t length = entry.FileName.size() + entry.Directory.size();
        for (char c : entry.FileName + entry.Directory + entry.Comment)
            length = length + static_cast<unsigned char>(c);
    });
    reader.GetInfo();
    return 0;
}

}  // namespace kest::fuzz
