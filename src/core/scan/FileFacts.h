#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "core/ui/Prompter.h"
#include "platform/FileAttributes.h"

namespace kest::scan {

class ScanView;

// The three facts of one file as the catalog and the log hold them. A fact
// that could not be read stays empty (date, attributes) or 0 (size).
struct FileFacts {
    std::string dateText;  // "mm/dd/yyyy hh:nn:ss", local time
    std::string isoDate;   // the same as the catalog stores it
    std::string sizeText;
    int64_t size = 0;
    std::string attributes;  // R, H, S, A in that order; "?" for a root pagefile.sys
};

// "mm/dd/yyyy hh:nn:ss" and "YYYY-MM-DD HH:MM:SS" of a time in local time.
// The last time converted is remembered: the files of a folder often share
// their time, and the local-time conversion is the dearer part.
class FileTimeFormatter {
  public:
    void Format(time_t time, std::string& dateText, std::string& isoDate);

  private:
    bool m_known = false;
    time_t m_time = 0;
    char m_us[20] = {};  // "mm/dd/yyyy hh:nn:ss" of m_time
};
// R, H, S, A for the DOS attribute bits.
std::string AttributeLetters(uint32_t bits);

// Reads file facts. A fact that cannot be read is reported in the box
// "Error in file info" and the facts read so far are given back.
class FileFactsReader {
  public:
    FileFactsReader(Prompter& prompter, ScanView* view) : m_prompter(prompter), m_view(view) {}

    // A file of a walk: `name` in the open directory `dirFd`; `relativePath`
    // is the path below the drive root (for the pagefile rule). Fills `facts`
    // (reused from file to file, so its texts keep their storage).
    void Read(int dirFd, const std::string& fullPath, const char* name,
              std::string_view relativePath, FileFacts& facts);
    // A file by path alone; `root` is the drive root it lies on.
    FileFacts Read(const std::string& fullPath, const std::string& root);
    // A file whose facts are known without asking the file system (an entry
    // of a disc image).
    void Fill(time_t modified, int64_t size, uint32_t attributeBits, std::string_view relativePath,
              FileFacts& facts);

  private:
    // Clears `facts` and fills in date and size; false when the attributes
    // are settled too (a root pagefile.sys).
    bool Start(time_t modified, int64_t size, std::string_view relativePath, FileFacts& facts);
    void Report(int error, const std::string& fullPath);

    Prompter& m_prompter;
    ScanView* m_view;
    platform::FileAttributeReader m_attributes;
    FileTimeFormatter m_times;
};

}  // namespace kest::scan
