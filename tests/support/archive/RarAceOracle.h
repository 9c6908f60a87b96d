#pragma once

#include <gtest/gtest.h>

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

template <typename Header>
struct Listing {
    bool opened = false;  // a handle was given
    unsigned openResult = 0;
    std::vector<Header> entries;
};
using RarListing = Listing<archive::rarlib::RARHeaderData>;
using AceListing = Listing<archive::acelib::ACEHeaderData>;

// Open, then read and skip every header, then close.
RarListing ListRar(const std::string& path);
AceListing ListAce(const std::string& path);

// Every cut of a valid archive either lists a leading part of it (a cut
// between blocks, as with archives that have no end block) or fails and
// lists nothing. list writes the bytes to a file and lists it.
template <typename List>
void ExpectEveryTruncationListsAPrefixOrFails(const std::string& full, List list) {
    auto whole = list(full);
    ASSERT_EQ(whole.openResult, 0u);
    for (size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        auto cut = list(full.substr(0, length));
        if (cut.openResult != 0) {
            EXPECT_TRUE(cut.entries.empty());
            continue;
        }
        ASSERT_LE(cut.entries.size(), whole.entries.size());
        for (size_t i = 0; i < cut.entries.size(); ++i)
            EXPECT_EQ(cut.entries[i].FileName, whole.entries[i].FileName);
    }
}

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
