#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/archive/ArchiveHelpers.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/archive/ArchiveTestHost.h"
#include "support/archive/RarAceOracle.h"

namespace kest::test {
namespace {

using archive::FileFound;
namespace fs = std::filesystem;

std::vector<std::string> CorpusFiles(const std::string& folder) {
    std::vector<std::string> files;
    std::string shared = SharedDataDir();
    if (shared.empty()) return files;
    for (const auto& item :
         fs::directory_iterator(fs::path(shared) / "testdata/archives" / folder)) {
        if (item.path().extension() != ".txt") files.push_back(item.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c > 0; });
}

std::vector<FileFound> ListQuietly(const std::string& path, const std::string& type) {
    ScriptedPrompter prompter;  // any prompt fails the test
    ArchiveTestHost host;
    return ListArchive(prompter, host, path, type);
}

// ZIP and CAB listings against 7-Zip's: every file entry in order with its
// name, sizes, date and CRC. Directory entries are left out on both sides.
void ExpectLikeSevenZip(const std::string& path, const std::string& type) {
    SCOPED_TRACE(path);
    auto lines = OracleSection(path + ".expected.txt", "7z l -slt");
    std::vector<OracleRecord> expected;
    for (auto& record : OracleRecords(lines, "Path", " = ")) {
        if (!record.count("Type") && record["Folder"] != "+") expected.push_back(record);
    }
    std::vector<FileFound> found;
    for (auto& entry : ListQuietly(path, type)) {
        bool fatDirectory = type == "zip" && (entry.Attributes & 0x10) && entry.FileSize == 0;
        if (!entry.FileName.empty() && !fatDirectory) found.push_back(entry);
    }
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
        OracleRecord& want = expected[i];
        const FileFound& got = found[i];
        std::string name = got.Directory + got.FileName;
        std::replace(name.begin(), name.end(), '\\', '/');
        if (IsAscii(name)) {
            EXPECT_EQ(name, want["Path"]);
        }
        EXPECT_EQ(std::to_string(got.FileSize), want["Size"]) << name;
        if (type == "zip") {
            EXPECT_EQ(std::to_string(got.PackedSize), want["Packed Size"]) << name;
        }
        // 7-Zip prefers the extended (UTC) times of these fields to the DOS time.
        bool extendedTime = want["Characteristics"].find("UT") != std::string::npos ||
                            want["Characteristics"].find("NTFS") != std::string::npos;
        if (!extendedTime) {
            EXPECT_EQ(text::ToIso(got.FileDate), want["Modified"].substr(0, 19)) << name;
        }
        if (!want["CRC"].empty()) {
            char crc[9];
            std::snprintf(crc, sizeof crc, "%08X", got.Crc);
            EXPECT_EQ(crc, want["CRC"]) << name;
        }
    }
}

TEST(ArchiveCorpus, ZipArchivesListAsSevenZipShowsThem) {
    auto files = CorpusFiles("zip");
    if (files.empty()) GTEST_SKIP() << "no shared test data";
    for (const auto& path : files) ExpectLikeSevenZip(path, "zip");
}

TEST(ArchiveCorpus, CabinetsListAsSevenZipShowsThem) {
    auto files = CorpusFiles("cab");
    if (files.empty()) GTEST_SKIP() << "no shared test data";
    for (const auto& path : files) ExpectLikeSevenZip(path, "cab");
}

TEST(ArchiveCorpus, CabinetMethodIsTheFirstFoldersRawType) {
    auto files = CorpusFiles("cab");
    if (files.empty()) GTEST_SKIP() << "no shared test data";
    auto found = ListQuietly(
        files.front().substr(0, files.front().rfind('/')) + "/mszip_lzx_qtm.cab", "cab");
    ASSERT_FALSE(found.empty());
    for (const auto& entry : found) EXPECT_EQ(entry.Method, 1);
    found = ListQuietly(fs::path(files.front()).parent_path() / "reserve_HFD.cab", "cab");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Flags, 4);
    EXPECT_EQ(found[0].Method, 0);  // behind the reserve: "None"
}

// The RAR and ACE readers report what their library lists, in order: for RAR
// only the entries that are stored files, numbered without gaps.
template <class Listing, class Header>
void ExpectLikeLibrary(const std::string& path, const std::string& type, const Listing& listing,
                       bool (*listed)(const Header&)) {
    SCOPED_TRACE(path);
    std::vector<const Header*> expected;
    if (listing.opened && listing.openResult == 0) {
        for (const auto& header : listing.entries) {
            if (listed(header)) expected.push_back(&header);
        }
    }
    auto found = ListQuietly(path, type);
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
        const Header& want = *expected[i];
        const FileFound& got = found[i];
        EXPECT_EQ(got.EntryIndex, static_cast<int32_t>(i + 1));
        EXPECT_EQ(got.EntryCount, static_cast<int32_t>(found.size()));
        EXPECT_EQ(got.Directory + got.FileName, want.FileName);
        EXPECT_EQ(got.FileSize, static_cast<int64_t>(want.UnpSize));
        EXPECT_EQ(got.PackedSize, static_cast<int64_t>(want.PackSize));
        EXPECT_EQ(got.Crc, want.FileCRC);
        EXPECT_EQ(got.Flags, static_cast<int32_t>(want.Flags));
        EXPECT_EQ(got.Method, static_cast<int32_t>(want.Method));
        // A seconds field of 30 (60 s) is no time: the 1980 fallback date.
        std::string date = DosTimeText(want.FileTime).substr(0, 19);
        if (date.ends_with(":60")) date = "1980-01-01 03:00:00";
        EXPECT_EQ(text::ToIso(got.FileDate), date);
    }
}

bool RarListed(const archive::rarlib::RARHeaderData& h) {
    return (h.Flags & archive::rarlib::kNotAFile) == 0;
}
bool AceListed(const archive::acelib::ACEHeaderData&) {
    return true;
}

TEST(ArchiveCorpus, RarArchivesListTheirStoredFiles) {
    auto files = CorpusFiles("rar4");
    auto rar5 = CorpusFiles("rar5");
    files.insert(files.end(), rar5.begin(), rar5.end());
    if (files.empty()) GTEST_SKIP() << "no shared test data";
    for (const auto& path : files) {
        ExpectLikeLibrary(path, "rar", ListRar(path), &RarListed);
    }
}

TEST(ArchiveCorpus, AceArchivesListEveryEntry) {
    auto files = CorpusFiles("ace");
    if (files.empty()) GTEST_SKIP() << "no shared test data";
    for (const auto& path : files) ExpectLikeLibrary(path, "ace", ListAce(path), &AceListed);
}

}  // namespace
}  // namespace kest::test
