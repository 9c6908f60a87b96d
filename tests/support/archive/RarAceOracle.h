#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/archive/acelib/UnaceLib.h"
#include "core/archive/rarlib/UnrarLib.h"

// Reading the expected listings kept beside the shared test archives, and
// listing an archive through the library calls the way the readers do.
namespace kest::test {

// The lines of the first "===== $ <command>..." section of an expected file.
std::vector<std::string> OracleSection(const std::string& expectedFile, const std::string& command);

// "Key = value" (7-Zip) or "key   value" (acefile) records: a record starts
// at each line whose key is startKey.
using OracleRecord = std::map<std::string, std::string>;
std::vector<OracleRecord> OracleRecords(const std::vector<std::string>& lines,
                                        const std::string& startKey, const std::string& separator);

// A Python bytes literal (b'dir\\name') as the bytes it stands for.
std::string PythonBytes(const std::string& literal);

struct RarListing {
    bool opened = false;  // a handle was given
    unsigned openResult = 0;
    std::vector<archive::rarlib::RARHeaderData> entries;
};
RarListing ListRar(const std::string& path);

struct AceListing {
    bool opened = false;
    unsigned openResult = 0;
    std::vector<archive::acelib::ACEHeaderData> entries;
};
AceListing ListAce(const std::string& path);

// Sets the time zone to UTC for the life of the object, as the oracles ran.
class ScopedUtc {
  public:
    ScopedUtc();
    ~ScopedUtc();
    ScopedUtc(const ScopedUtc&) = delete;
    ScopedUtc& operator=(const ScopedUtc&) = delete;

  private:
    bool m_hadTz = false;
    std::string m_savedTz;
};

// An MS-DOS date-time word as "YYYY-MM-DD HH:MM:SS".
std::string DosTimeText(uint32_t dosTime);

}  // namespace kest::test
