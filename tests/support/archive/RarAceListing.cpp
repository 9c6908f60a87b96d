#include "support/archive/RarAceListing.h"

#include <stdlib.h>
#include <time.h>

#include <cstdio>

namespace kest::test {

namespace {

template <typename Header, typename OpenData, typename Handle>
Listing<Header> ListThrough(const std::string& path, Handle (*open)(OpenData*),
                            int (*read)(Handle, Header*),
                            int (*process)(Handle, int, const char*, const char*),
                            int (*close)(Handle)) {
    Listing<Header> listing;
    OpenData data;
    data.ArcName = path;
    Handle handle = open(&data);
    listing.opened = handle != nullptr;
    listing.openResult = data.OpenResult;
    Header header;
    while (handle && read(handle, &header) == 0) {
        listing.entries.push_back(header);
        process(handle, 0, nullptr, nullptr);  // skip
    }
    if (handle) close(handle);
    return listing;
}

}  // namespace

RarListing ListRar(const std::string& path) {
    using namespace archive::rarlib;
    return ListThrough(path, RAROpenArchive, RARReadHeader, RARProcessFile, RARCloseArchive);
}

AceListing ListAce(const std::string& path) {
    using namespace archive::acelib;
    return ListThrough(path, ACEOpenArchive, ACEReadHeader, ACEProcessFile, ACECloseArchive);
}

namespace {

template <typename Header>
std::vector<std::string> Texts(const std::vector<Header>& headers, std::string Header::*comment) {
    std::vector<std::string> texts;
    for (const Header& h : headers) {
        char words[128];
        snprintf(words, sizeof words, " f%X %llu/%llu %08X %08X m%X a%X ", h.Flags,
                 static_cast<unsigned long long>(h.PackSize),
                 static_cast<unsigned long long>(h.UnpSize), h.FileCRC, h.FileTime, h.Method,
                 h.FileAttr);
        texts.push_back(h.FileName + words + h.*comment);
    }
    return texts;
}

}  // namespace

std::vector<std::string> HeaderTexts(const std::vector<archive::rarlib::RARHeaderData>& headers) {
    return Texts(headers, &archive::rarlib::RARHeaderData::CmtBuf);
}

std::vector<std::string> HeaderTexts(const std::vector<archive::acelib::ACEHeaderData>& headers) {
    return Texts(headers, &archive::acelib::ACEHeaderData::Comment);
}

ScopedUtc::ScopedUtc() {
    const char* tz = getenv("TZ");
    m_hadTz = tz != nullptr;
    if (tz) m_savedTz = tz;
    setenv("TZ", "UTC", 1);
    tzset();
}

ScopedUtc::~ScopedUtc() {
    if (m_hadTz)
        setenv("TZ", m_savedTz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

std::string DosTimeText(uint32_t dosTime) {
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", (dosTime >> 25) + 1980,
             (dosTime >> 21) & 0x0F, (dosTime >> 16) & 0x1F, (dosTime >> 11) & 0x1F,
             (dosTime >> 5) & 0x3F, (dosTime & 0x1F) * 2);
    return text;
}

}  // namespace kest::test
