#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <regex>
#include <sstream>

#include "core/archive/ArchiveHelpers.h"
#include "core/text/CodePages.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/archive/ArchiveTestHost.h"
#include "support/archive/RarAceListing.h"

// Every archive of the shared corpus listed, by the readers and by the RAR
// and ACE libraries, against the listings 7-Zip, acefile and unace gave for it
// (kept beside each archive as <name>.expected.txt).
namespace kest::test {
namespace {

using archive::FileFound;
namespace fs = std::filesystem;
namespace rar = archive::rarlib;
namespace ace = archive::acelib;

// The archives of corpus folders, sorted; none when the shared data is absent.
std::vector<std::string> CorpusFiles(std::initializer_list<const char*> folders) {
    std::vector<std::string> files;
    std::string shared = SharedDataDir();
    for (const char* folder : folders) {
        if (shared.empty()) break;
        for (const auto& item : fs::directory_iterator(shared + "/testdata/archives/" + folder)) {
            if (item.path().extension() != ".txt") files.push_back(item.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The lines of the first "===== $ <command>..." section of an archive's
// expected listing.
std::vector<std::string> OracleSection(const std::string& archive, const std::string& command) {
    std::ifstream in(archive + ".expected.txt");
    std::vector<std::string> lines;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("=====", 0) == 0) {
            if (inside) break;
            inside = line.rfind("===== $ " + command, 0) == 0;
        } else if (inside) {
            lines.push_back(line);
        }
    }
    return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

// "Key = value" (7-Zip) or "key   value" (acefile) records: a record starts
// at each line whose key is startKey.
using OracleRecord = std::map<std::string, std::string>;
std::vector<OracleRecord> OracleRecords(const std::vector<std::string>& lines,
                                        const std::string& startKey, const std::string& separator) {
    std::vector<OracleRecord> records;
    for (const auto& raw : lines) {
        size_t first = raw.find_first_not_of(' ');
        size_t split = raw.find(separator, first);
        if (first == std::string::npos || split == std::string::npos) continue;
        std::string key = raw.substr(first, split - first);
        size_t valueStart = raw.find_first_not_of(' ', split + separator.size());
        std::string value = valueStart == std::string::npos ? "" : raw.substr(valueStart);
        while (!key.empty() && key.back() == ' ') key.pop_back();
        if (key == startKey) records.emplace_back();
        if (!records.empty()) records.back()[key] = value;
    }
    return records;
}

// A Python bytes literal (b'dir\\name') as the bytes it stands for.
std::string PythonBytes(const std::string& literal) {
    std::string body = literal.substr(2, literal.size() - 3);
    std::string out;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\' || i + 1 == body.size()) {
            out += body[i];
        } else if (body[i + 1] == 'x' && i + 3 < body.size()) {
            out += static_cast<char>(std::stoi(body.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += body[++i];
        }
    }
    return out;
}

uint32_t Hex(const std::string& value) {
    return static_cast<uint32_t>(std::stoul(value.substr(0, value.find(' ')), nullptr, 16));
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
    std::vector<OracleRecord> expected;
    for (auto& record : OracleRecords(OracleSection(path, "7z l -slt"), "Path", " = ")) {
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
        if (std::all_of(name.begin(), name.end(), [](char c) { return c > 0; })) {
            EXPECT_EQ(name, want["Path"]);
        }
        EXPECT_EQ(std::to_string(got.FileSize), want["Size"]) << name;
        if (type == "zip") {
            EXPECT_EQ(std::to_string(got.PackedSize), want["Packed Size"]) << name;
        }
        // 7-Zip prefers the extended (UTC) times of these fields to the DOS time.
        const std::string& characteristics = want["Characteristics"];
        if (characteristics.find("UT") == std::string::npos &&
            characteristics.find("NTFS") == std::string::npos) {
            EXPECT_EQ(text::ToIso(got.FileDate), want["Modified"].substr(0, 19)) << name;
        }
        if (!want["CRC"].empty()) {
            EXPECT_EQ(got.Crc, std::stoul(want["CRC"], nullptr, 16)) << name;
        }
    }
}

// The RAR and ACE readers report what their library lists, in order and
// numbered without gaps.
template <class Header>
void ExpectReaderLikeLibrary(const std::string& path, const std::string& type,
                             const std::vector<Header>& expected) {
    auto found = ListQuietly(path, type);
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
        const Header& want = expected[i];
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

bool IsDirectory(const rar::RARHeaderData& h) {
    return (h.Flags & rar::kNotAFile) && (h.Flags & rar::kDictionaryMask) == rar::kDictionaryMask;
}

// 7-Zip shows the older versions of a file as "[VER]/<n>/<name>", and "/"
// where RAR 1.5-4.x stores "\".
bool SameName(const std::string& oracle, std::string stored) {
    static const std::regex version(R"(^\[VER\]/\d+/)");
    std::replace(stored.begin(), stored.end(), '\\', '/');
    return std::regex_replace(oracle, version, "") == stored;
}

time_t ParseUtc(const std::string& text) {
    std::tm t{};
    std::istringstream(text) >> std::get_time(&t, "%Y-%m-%d %H:%M:%S");
    return timegm(&t);
}

// "m3:16" (1.5-4.x: method and log2 of the dictionary) or "v6:m3:128K" (RAR 5).
// The dictionary code is 0 for 64 KB and doubles up to code 6.
void ExpectMethod(const std::string& oracle, const rar::RARHeaderData& h) {
    static const std::regex method(R"(^(?:v\d+:)?m(\d)(?::(\d+)([KMG])?)?)");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(oracle, m, method)) << "unknown method text " << oracle;
    EXPECT_EQ(h.Method, 0x30u + std::stoul(m[1]));
    if (!m[2].matched || IsDirectory(h)) return;
    uint64_t size = m[3].matched ? std::stoull(m[2]) << (10 + 10 * std::string("KMG").find(m[3]))
                                 : uint64_t{1} << std::stoul(m[2]);
    EXPECT_EQ((h.Flags & rar::kDictionaryMask) >> 5,
              std::min<uint32_t>(static_cast<uint32_t>(std::bit_width((size - 1) >> 16)), 6));
}

void ExpectRarEntry(const OracleRecord& item, const rar::RARHeaderData& h, bool multiVolume) {
    SCOPED_TRACE(h.FileName);
    EXPECT_TRUE(SameName(item.at("Path"), h.FileName));
    EXPECT_EQ(IsDirectory(h), item.at("Folder") == "+");
    EXPECT_EQ(h.UnpSize, std::stoull(item.at("Size")));
    if (!multiVolume || !(h.Flags & (rar::kSplitBefore | rar::kSplitAfter))) {
        EXPECT_EQ(h.PackSize, std::stoull(item.at("Packed Size")));
    }
    // Only the last part of a split file holds the whole file's CRC.
    if (!(h.Flags & rar::kSplitAfter)) {
        const std::string& crc = item.at("CRC");
        EXPECT_EQ(h.FileCRC, crc.empty() ? 0u : std::stoul(crc, nullptr, 16));
    }
    EXPECT_EQ((h.Flags & rar::kEncrypted) != 0, item.at("Encrypted") == "+");
    // MS-DOS times count in steps of two seconds.
    time_t expected = ParseUtc(item.at("Modified"));
    time_t actual = ParseUtc(DosTimeText(h.FileTime));
    EXPECT_LE(std::abs(static_cast<long>(expected - actual)), 2) << item.at("Modified");
    ExpectMethod(item.at("Method"), h);
}

// The library's listing against 7-Zip's: every file and directory, service
// headers left out.
void ExpectRarLikeSevenZip(const std::string& path, const RarListing& listing) {
    auto lines = OracleSection(path, "7z l -slt -pWRONGPASSWORD");
    ASSERT_FALSE(lines.empty());
    ASSERT_TRUE(listing.opened);
    if (Contains(lines, "Cannot open encrypted archive")) {
        EXPECT_EQ(listing.openResult, static_cast<unsigned>(rar::kMissingPassword));
        EXPECT_TRUE(listing.entries.empty());
        return;
    }
    ASSERT_EQ(listing.openResult, 0u);
    auto items = OracleRecords({std::find(lines.begin(), lines.end(), "----------"), lines.end()},
                               "Path", " = ");
    std::vector<rar::RARHeaderData> entries = listing.entries;
    std::erase_if(entries,
                  [](const auto& h) { return (h.Flags & rar::kNotAFile) && !IsDirectory(h); });
    // 7-Zip opens the neighbouring volumes too, so a volume holds a subset.
    bool multiVolume = Contains(lines, "Multivolume = +");
    if (!multiVolume) {
        ASSERT_EQ(entries.size(), items.size());
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        auto item = multiVolume
                        ? std::find_if(items.begin(), items.end(),
                                       [&](const OracleRecord& r) {
                                           return SameName(r.at("Path"), entries[i].FileName);
                                       })
                        : items.begin() + static_cast<long>(i);
        ASSERT_NE(item, items.end()) << entries[i].FileName;
        ExpectRarEntry(*item, entries[i], multiVolume);
    }
}

// unace's "v" lines: dd.mm.yy|hh:mm|packed|size|ratio| name.
void ExpectAceLikeUnace(const std::vector<std::string>& lines, const AceListing& listing) {
    static const std::regex row(
        R"(^(\d\d)\.(\d\d)\.(\d\d)\|(\d\d):(\d\d)\|\s*(\d+)\|\s*(\d+)\|.*\| (.*)$)");
    size_t index = 0;
    for (const auto& line : lines) {
        std::smatch m;
        if (!std::regex_match(line, m, row)) continue;
        ASSERT_LT(index, listing.entries.size());
        const ace::ACEHeaderData& h = listing.entries[index++];
        int year = std::stoi(m[3]);
        EXPECT_EQ(DosTimeText(h.FileTime).substr(0, 16),
                  std::to_string(year < 80 ? 2000 + year : 1900 + year) + "-" + m[2].str() + "-" +
                      m[1].str() + " " + m[4].str() + ":" + m[5].str());
        EXPECT_EQ(h.PackSize, std::stoull(m[6]));
        EXPECT_EQ(h.UnpSize, std::stoull(m[7]));
        EXPECT_EQ(h.FileName, m[8].str());
    }
    EXPECT_EQ(index, listing.entries.size());
}

// acefile's raw dump of the file headers of this volume (it goes on into the
// following volumes of a set).
void ExpectAceLikeAcefile(const std::string& path, const AceListing& listing) {
    auto lines = OracleSection(path, "acefile.py --headers");
    ASSERT_FALSE(lines.empty());
    ASSERT_TRUE(listing.opened);
    if (lines.front().find("CorruptedArchiveError") != std::string::npos) {
        EXPECT_NE(listing.openResult, 0u);
        EXPECT_TRUE(listing.entries.empty());
        return;
    }
    ASSERT_EQ(listing.openResult, 0u);
    if (lines.front().find("MainHeaderNotFoundError") != std::string::npos) {
        // acefile gives up on a long stub; unace lists the archive.
        ExpectAceLikeUnace(OracleSection(path, "unace v"), listing);
        return;
    }
    std::vector<OracleRecord> files;
    auto secondVolume = std::find(lines.begin(), lines.end(), "volume");
    if (secondVolume != lines.end())
        secondVolume = std::find(secondVolume + 1, lines.end(), "volume");
    for (auto& record : OracleRecords({lines.begin(), secondVolume}, "hdr_crc", " ")) {
        const std::string& type = record["hdr_type"];
        if (type.rfind("0x01", 0) == 0 || type.rfind("0x03", 0) == 0) files.push_back(record);
    }
    ASSERT_EQ(listing.entries.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const OracleRecord& r = files[i];
        const ace::ACEHeaderData& h = listing.entries[i];
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
        EXPECT_EQ((h.Flags & ace::kEncrypted) != 0, (flags & 0x4000) != 0);
    }
}

TEST(ArchiveCorpus, ZipArchivesAndCabinetsListAsSevenZipShowsThem) {
    auto zips = CorpusFiles({"zip"});
    if (zips.empty()) GTEST_SKIP() << "no shared test data";
    for (const auto& path : zips) ExpectLikeSevenZip(path, "zip");
    for (const auto& path : CorpusFiles({"cab"})) ExpectLikeSevenZip(path, "cab");
}

// Names in an old code page reach the catalog as UTF-8: CAB in Windows-1252,
// ZIP, RAR and ACE in code page 437; UTF-8 names stay as they are.
TEST(ArchiveCorpus, NamesInOldCodePagesAreDecodedAndAllNamesAreUtf8) {
    std::string shared = SharedDataDir();
    if (shared.empty()) GTEST_SKIP() << "no shared test data";
    std::string dir = shared + "/testdata/archives/";
    const std::pair<const char*, const char*> archives[] = {
        {"cab/encoding-latin1.cab", "cab"},
        {"cab/test_read_format_cab_filename_cp932.cab", "cab"},
        {"cab/case-utf8.cab", "cab"},
        {"zip/test_read_format_zip_filename_cp866.zip", "zip"},
        {"zip/gen_7z_utf8.zip", "zip"},
        {"rar4/unicode.rar", "rar"},
        {"rar4/test_read_format_rar_unicode.rar", "rar"},
        {"rar5/test_read_format_rar5_unicode.rar", "rar"}};
    for (auto [name, type] : archives) {
        SCOPED_TRACE(name);
        auto found = ListQuietly(dir + name, type);
        EXPECT_FALSE(found.empty());
        for (const FileFound& f : found) {
            EXPECT_TRUE(text::IsValidUtf8(f.Directory + f.FileName + f.Comment))
                << f.Directory << f.FileName;
        }
    }
    auto latin1 = ListQuietly(dir + "cab/encoding-latin1.cab", "cab");
    ASSERT_FALSE(latin1.empty());
    EXPECT_EQ(latin1[0].FileName,
              "\u00A0\u00A1\u00A2\u00A3\u00A4\u00A5\u00A6\u00A7\u00A8\u00A9\u00AA\u00AB\u00AC"
              "\u00AD\u00AE\u00AF\u00B0\u00B1\u00B2\u00B3\u00B4\u00B5\u00B6\u00B7\u00B8\u00B9"
              "\u00BA\u00BB\u00BC\u00BD\u00BE\u00BF");
    auto cp866 = ListQuietly(dir + "zip/test_read_format_zip_filename_cp866.zip", "zip");
    ASSERT_EQ(cp866.size(), 2u);
    EXPECT_EQ(cp866[0].FileName, "\u00C5\u00C9\u00EA\u00E9\u00E0\u00C6");  // 8F 90 88 82 85 92
}

TEST(ArchiveCorpus, CabinetMethodIsTheFirstFoldersRawType) {
    std::string shared = SharedDataDir();
    if (shared.empty()) GTEST_SKIP() << "no shared test data";
    auto found = ListQuietly(shared + "/testdata/archives/cab/mszip_lzx_qtm.cab", "cab");
    ASSERT_FALSE(found.empty());
    for (const auto& entry : found) EXPECT_EQ(entry.Method, 1);
    found = ListQuietly(shared + "/testdata/archives/cab/reserve_HFD.cab", "cab");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Flags, 4);
    EXPECT_EQ(found[0].Method, 0);  // behind the reserve: "None"
}

// The reader reports only the entries that are stored files.
TEST(ArchiveCorpus, RarArchivesListAsSevenZipShowsThemAndTheReaderGivesTheirFiles) {
    ScopedUtc utc;  // as 7-Zip ran
    auto files = CorpusFiles({"rar4", "rar5"});
    if (files.empty()) GTEST_SKIP() << "no shared test data";
    EXPECT_EQ(files.size(), 30u);
    for (const auto& path : files) {
        SCOPED_TRACE(path);
        RarListing listing = ListRar(path);
        ExpectRarLikeSevenZip(path, listing);
        auto stored = listing.openResult == 0 ? listing.entries : std::vector<rar::RARHeaderData>{};
        std::erase_if(stored, [](const auto& h) { return h.Flags & rar::kNotAFile; });
        ExpectReaderLikeLibrary(path, "rar", stored);
    }
}

TEST(ArchiveCorpus, AceArchivesListAsAcefileShowsThemAndTheReaderGivesEveryEntry) {
    auto files = CorpusFiles({"ace"});
    if (files.empty()) GTEST_SKIP() << "no shared test data";
    EXPECT_EQ(files.size(), 14u);
    for (const auto& path : files) {
        SCOPED_TRACE(path);
        AceListing listing = ListAce(path);
        ExpectAceLikeAcefile(path, listing);
        ExpectReaderLikeLibrary(
            path, "ace",
            listing.openResult == 0 ? listing.entries : std::vector<ace::ACEHeaderData>{});
    }
}

// dumprar shows the stored 1.5/2.x file comments; 3.x comments are stored
// compressed, so only the flag tells of them.
TEST(ArchiveCorpus, RarFileCommentsAreReadWhenStored) {
    std::string shared = SharedDataDir();
    if (shared.empty()) GTEST_SKIP() << "no shared test data";
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"rar4/rar15-comment.rar", {"file1comment -----", "file2comment -----"}},
        {"rar4/rar202-comment-psw.rar", {"file1comment", "file2comment"}},
        {"rar4/rar3-comment-plain.rar", {"", ""}}};
    for (const auto& [archive, expected] : cases) {
        SCOPED_TRACE(archive);
        std::vector<std::string> comments;
        for (const auto& h : ListRar(shared + "/testdata/archives/" + archive).entries) {
            if (h.Flags & rar::kNotAFile) continue;
            EXPECT_TRUE(h.Flags & rar::kComment);
            comments.push_back(h.CmtBuf);
        }
        EXPECT_EQ(comments, expected);
    }
}

}  // namespace
}  // namespace kest::test
