#pragma once

#include <string>
#include <vector>

#include "core/archive/acelib/UnaceLib.h"
#include "core/archive/rarlib/UnrarLib.h"

// Listing an archive through the RAR and ACE library calls the way the
// readers do, for the library and corpus tests.
namespace kest::test {

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

// Every field of each header on one line, the words in hexadecimal:
// "name fFLAGS pack/unp CRC TIME mMETHOD aATTR comment".
std::vector<std::string> HeaderTexts(const std::vector<archive::rarlib::RARHeaderData>& headers);
std::vector<std::string> HeaderTexts(const std::vector<archive::acelib::ACEHeaderData>& headers);

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
