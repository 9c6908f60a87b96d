#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "support/TempDir.h"
#include "support/archive/RarAceOracle.h"

namespace kest::test {
namespace {

using namespace archive::rarlib;

// Lists every RAR archive of the shared corpus and compares it with the
// listing 7-Zip gave (run with TZ=UTC, hence the same zone here).
class RarCorpusTest : public ::testing::Test {
  private:
    ScopedUtc m_utc;
};

bool IsDirectory(const RARHeaderData& h) {
    return (h.Flags & kNotAFile) && (h.Flags & kDictionaryMask) == kDictionaryMask;
}

bool IsService(const RARHeaderData& h) {
    return (h.Flags & kNotAFile) && !IsDirectory(h);
}

std::string OracleName(const std::string& path) {
    // 7-Zip shows the older versions of a file as "[VER]/<n>/<name>".
    static const std::regex version(R"(^\[VER\]/\d+/)");
    return std::regex_replace(path, version, "");
}

std::string StoredName(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

time_t ParseUtc(const std::string& text) {
    struct tm t {};
    if (sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &t.tm_year, &t.tm_mon, &t.tm_mday, &t.tm_hour,
               &t.tm_min, &t.tm_sec) != 6)
        return -1;
    t.tm_year -= 1900;
    t.tm_mon -= 1;
    return timegm(&t);
}

// "m3:16" (1.5-4.x: method and log2 of the dictionary) or "v6:m3:128K" (RAR 5).
void ExpectMethod(const std::string& oracle, const RARHeaderData& h) {
    std::smatch m;
    static const std::regex old(R"(^m(\d)(?::(\d+))?)");
    static const std::regex rar5(R"(^v\d+:m(\d)(?::(\d+)([KMG]))?)");
    if (std::regex_search(oracle, m, rar5)) {
        EXPECT_EQ(h.Method, 0x30u + std::stoul(m[1]));
        if (!m[2].matched) return;
        uint64_t size = std::stoull(m[2]) << (m[3] == "K" ? 10 : m[3] == "M" ? 20 : 30);
        uint32_t code = 1;
        while ((uint64_t{128} << (10 + code - 1)) < size && code < 6) ++code;
        if (!IsDirectory(h)) {
            EXPECT_EQ((h.Flags & kDictionaryMask) >> 5, code);
        }
    } else if (std::regex_search(oracle, m, old)) {
        EXPECT_EQ(h.Method, 0x30u + std::stoul(m[1]));
        if (m[2].matched && !IsDirectory(h)) {
            EXPECT_EQ((h.Flags & kDictionaryMask) >> 5, std::stoul(m[2]) - 16);
        }
    } else {
        ADD_FAILURE() << "unknown method text " << oracle;
    }
}

void ExpectEntry(const OracleRecord& item, const RARHeaderData& h, bool multiVolume) {
    SCOPED_TRACE(h.FileName);
    EXPECT_EQ(StoredName(h.FileName), OracleName(item.at("Path")));
    EXPECT_EQ(IsDirectory(h), item.at("Folder") == "+");
    EXPECT_EQ(h.UnpSize, std::stoull(item.at("Size")));
    bool split = h.Flags & (kSplitBefore | kSplitAfter);
    if (!multiVolume || !split) {
        EXPECT_EQ(h.PackSize, std::stoull(item.at("Packed Size")));
    }
    // Only the last part of a split file holds the whole file's CRC.
    if (!(h.Flags & kSplitAfter)) {
        const std::string& crc = item.at("CRC");
        EXPECT_EQ(h.FileCRC, crc.empty() ? 0u : std::stoul(crc, nullptr, 16));
    }
    EXPECT_EQ((h.Flags & kEncrypted) != 0, item.at("Encrypted") == "+");
    time_t expected = ParseUtc(item.at("Modified"));
    time_t actual = ParseUtc(DosTimeText(h.FileTime));
    // MS-DOS times count in steps of two seconds.
    EXPECT_LE(std::abs(static_cast<long>(expected - actual)), 2) << item.at("Modified");
    ExpectMethod(item.at("Method"), h);
}

void CheckArchive(const std::string& path) {
    SCOPED_TRACE(path);
    auto lines = OracleSection(path + ".expected.txt", "7z l -slt -pWRONGPASSWORD");
    ASSERT_FALSE(lines.empty());
    RarListing listing = ListRar(path);
    ASSERT_TRUE(listing.opened);
    auto has = [&](const std::string& text) {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.find(text) != std::string::npos; });
    };
    if (has("Cannot open encrypted archive")) {
        EXPECT_EQ(listing.openResult, static_cast<unsigned>(kMissingPassword));
        EXPECT_TRUE(listing.entries.empty());
        return;
    }
    ASSERT_EQ(listing.openResult, 0u);
    auto itemsStart = std::find(lines.begin(), lines.end(), "----------");
    auto items = OracleRecords({itemsStart, lines.end()}, "Path", " = ");
    std::vector<RARHeaderData> entries;
    std::copy_if(listing.entries.begin(), listing.entries.end(), std::back_inserter(entries),
                 [](const RARHeaderData& h) { return !IsService(h); });

    // 7-Zip opens the neighbouring volumes too, so a volume holds a subset.
    bool multiVolume = has("Multivolume = +");
    if (!multiVolume) {
        ASSERT_EQ(entries.size(), items.size());
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        auto item = multiVolume ? std::find_if(items.begin(), items.end(),
                                               [&](const OracleRecord& r) {
                                                   return OracleName(r.at("Path")) ==
                                                          StoredName(entries[i].FileName);
                                               })
                                : items.begin() + static_cast<long>(i);
        ASSERT_NE(item, items.end()) << entries[i].FileName;
        ExpectEntry(*item, entries[i], multiVolume);
    }
}

TEST_F(RarCorpusTest, EveryArchiveListsAsTheOracleShows) {
    std::string shared = SharedDataDir();
    if (shared.empty()) GTEST_SKIP() << "no shared test data";
    int archives = 0;
    for (const char* folder : {"rar4", "rar5"}) {
        for (const auto& file :
             std::filesystem::directory_iterator(shared + "/testdata/archives/" + folder)) {
            if (file.path().extension() == ".txt") continue;
            CheckArchive(file.path().string());
            ++archives;
        }
    }
    EXPECT_EQ(archives, 30);
}

// dumprar shows the stored 1.5/2.x file comments; 3.x comments are stored
// compressed, so only the flag tells of them.
TEST_F(RarCorpusTest, FileCommentsAreReadWhenStored) {
    std::string shared = SharedDataDir();
    if (shared.empty()) GTEST_SKIP() << "no shared test data";
    struct Case {
        const char* archive;
        std::vector<std::string> comments;
    };
    for (const Case& c :
         {Case{"rar4/rar15-comment.rar", {"file1comment -----", "file2comment -----"}},
          Case{"rar4/rar202-comment-psw.rar", {"file1comment", "file2comment"}},
          Case{"rar4/rar3-comment-plain.rar", {"", ""}}}) {
        SCOPED_TRACE(c.archive);
        RarListing listing = ListRar(shared + "/testdata/archives/" + c.archive);
        std::vector<std::string> comments;
        for (const auto& h : listing.entries) {
            if (h.Flags & kNotAFile) continue;
            EXPECT_TRUE(h.Flags & kComment);
            comments.push_back(h.CmtBuf);
        }
        EXPECT_EQ(comments, c.comments);
    }
}

}  // namespace
}  // namespace kest::test
