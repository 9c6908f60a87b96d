#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

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
void FormatFileTime(time_t time, std::string& dateText, std::string& isoDate);
// R, H, S, A for the DOS attribute bits.
std::string AttributeLetters(uint32_t bits);

// Reads file facts. A fact that cannot be read is reported in the box
// "Error in file info" and the facts read so far are given back.
class FileFactsReader {
  public:
    FileFactsReader(Prompter& prompter, ScanView* view) : m_prompter(prompter), m_view(view) {}

    // A file of a walk: `name` in the open directory `dirFd`; `relativePath`
    // is the path below the drive root (for the pagefile rule).
    FileFacts Read(int dirFd, const std::string& fullPath, const char* name,
                   const std::string& relativePath);
    // A file by path alone; `root` is the drive root it lies on.
    FileFacts Read(const std::string& fullPath, const std::string& root);

  private:
    void Report(int error, const std::string& fullPath);

    Prompter& m_prompter;
    ScanView* m_view;
    platform::FileAttributeReader m_attributes;
};

}  // namespace kest::scan
