#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "support/TempDir.h"
#include "support/archive/RarAceOracle.h"

namespace kest::test {
namespace {

using namespace archive::acelib;

uint32_t Hex(const std::string& value) {
    return static_cast<uint32_t>(std::stoul(value.substr(0, value.find(' ')), nullptr, 16));
}

// acefile's raw dump of the headers of this volume (it goes on into the
// following volumes of a set).
std::vector<OracleRecord> AcefileHeaders(const std::vector<std::string>& lines) {
    std::vector<std::string> firstVolume;
    int volumes = 0;
    for (const auto& line : lines) {
        if (line == "volume" && ++volumes == 2) break;
        firstVolume.push_back(line);
    }
    std::vector<OracleRecord> files;
    for (auto& record : OracleRecords(firstVolume, "hdr_crc", " ")) {
        const std::string& type = record["hdr_type"];
        if (type.rfind("0x01", 0) == 0 || type.rfind("0x03", 0) == 0) files.push_back(record);
    }
    return files;
}

void ExpectAcefileEntry(const OracleRecord& r, const ACEHeaderData& h) {
    SCOPED_TRACE(h.FileName);
    EXPECT_EQ(h.FileName, PythonBytes(r.at("filename")));
    EXPECT_EQ(h.PackSize, std::stoull(r.at("packsize")));
    EXPECT_EQ(h.UnpSize, std::stoull(r.at("origsize")));
    EXPECT_EQ(h.FileTime, Hex(r.at("datetime")));
    EXPECT_EQ(h.FileAttr, Hex(r.at("attribs")));
    // acefile prints the stored word, the complement of the data's CRC.
    EXPECT_EQ(h.FileCRC, ~Hex(r.at("crc32")));
    EXPECT_EQ(h.Method, Hex(r.at("comptype")));
    uint32_t flags = Hex(r.at("hdr_flags"));
    EXPECT_EQ(h.Flags >> 16, flags);
    EXPECT_EQ((h.Flags & kEncrypted) != 0, (flags & 0x4000) != 0);
}

// unace's "v" lines: dd.mm.yy|hh:mm|packed|size|ratio| name.
void ExpectUnaceListing(const std::vector<std::string>& lines, const AceListing& listing) {
    static const std::regex row(
        R"(^(\d\d)\.(\d\d)\.(\d\d)\|(\d\d):(\d\d)\|\s*(\d+)\|\s*(\d+)\|.*\| (.*)$)");
    size_t index = 0;
    for (const auto& line : lines) {
        std::smatch m;
        if (!std::regex_match(line, m, row)) continue;
        ASSERT_LT(index, listing.entries.size());
        const ACEHeaderData& h = listing.entries[index++];
        int year = std::stoi(m[3]);
        char expected[32];
        snprintf(expected, sizeof expected, "%04d-%s-%s %s:%s",
                 year < 80 ? 2000 + year : 1900 + year, m[2].str().c_str(), m[1].str().c_str(),
                 m[4].str().c_str(), m[5].str().c_str());
        EXPECT_EQ(DosTimeText(h.FileTime).substr(0, 16), expected);
        EXPECT_EQ(h.PackSize, std::stoull(m[6]));
        EXPECT_EQ(h.UnpSize, std::stoull(m[7]));
        EXPECT_EQ(h.FileName, m[8].str());
    }
    EXPECT_EQ(index, listing.entries.size());
}

void CheckArchive(const std::string& path) {
    SCOPED_TRACE(path);
    auto lines = OracleSection(path + ".expected.txt", "acefile.py --headers");
    ASSERT_FALSE(lines.empty());
    AceListing listing = ListAce(path);
    ASSERT_TRUE(listing.opened);
    if (lines.front().find("CorruptedArchiveError") != std::string::npos) {
        EXPECT_NE(listing.openResult, 0u);
        EXPECT_TRUE(listing.entries.empty());
        return;
    }
    ASSERT_EQ(listing.openResult, 0u);
    if (lines.front().find("MainHeaderNotFoundError") != std::string::npos) {
        // acefile gives up on a long stub; unace lists the archive.
        ExpectUnaceListing(OracleSection(path + ".expected.txt", "unace v"), listing);
        return;
    }
    auto files = AcefileHeaders(lines);
    ASSERT_EQ(listing.entries.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) ExpectAcefileEntry(files[i], listing.entries[i]);
}

TEST(AceCorpusTest, EveryArchiveListsAsTheOracleShows) {
    std::string shared = SharedDataDir();
    if (shared.empty()) GTEST_SKIP() << "no shared test data";
    int archives = 0;
    for (const auto& file :
         std::filesystem::directory_iterator(shared + "/testdata/archives/ace")) {
        if (file.path().extension() == ".txt") continue;
        CheckArchive(file.path().string());
        ++archives;
    }
    EXPECT_EQ(archives, 14);
}

}  // namespace
}  // namespace kest::test
