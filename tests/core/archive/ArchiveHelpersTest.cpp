#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "core/archive/ArchiveHelpers.h"

namespace kest::archive {
namespace {

TEST(ArchiveHelpers, GetExtensionIsTheLowerCaseTextAfterTheLastDot) {
    const std::pair<const char*, const char*> cases[] = {
        {"Setup.ZIP", "zip"}, {"a.b.Rar", "rar"}, {"noext", ""},
        {"ends.", ""},        {".cab", "cab"},    {"dir.x/file", "x/file"}};
    for (const auto& [name, ext] : cases) EXPECT_EQ(GetExtension(name), ext) << name;
}

TEST(ArchiveHelpers, SplitPathKeepsTheSeparatorWithTheDirectory) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"a/b/c.txt", "a/b/", "c.txt"},         {"a/b/", "a/b/", ""},
        {"plain.txt", "", "plain.txt"},         {"a\\b\\c.txt", "a\\b\\", "c.txt"},
        {"a\\b/c\\d.txt", "a\\b/", "c\\d.txt"}, {"", "", ""}};
    for (const auto& [path, directory, file] : cases) {
        SplitName split = SplitPath(path);
        EXPECT_EQ(split.directory, directory) << path;
        EXPECT_EQ(split.fileName, file) << path;
    }
}

TEST(ArchiveHelpers, DosToDateFallsBackFor1980WhenTheCalendarRejectsTheValue) {
    const std::tuple<uint16_t, uint16_t, const char*> cases[] = {
        {0x5264, 0x28A4, "2021-03-04 05:05:08"},  // an ordinary value
        {0x0000, 0x0000, "1980-01-01 03:00:00"},  // all zero: month 0
        {0x0021, 0x0000, "1980-01-01 00:00:00"}, {0x0022, 0x0000, "1980-01-02 00:00:00"},
        {0x5525, 0x7E5E, "1980-01-01 03:00:00"},  // seconds field 30 = 60 s
        {0x425D, 0x0000, "1980-01-01 03:00:00"},  // 2013-02-29: no such day
        {0x305D, 0x0000, "2004-02-29 00:00:00"},  // a leap day
        {0x0021, 0xC000, "1980-01-01 03:00:00"},  // hour 24
        {0xFF9F, 0xBF7D, "2107-12-31 23:59:58"},
    };
    for (const auto& [date, time, iso] : cases) {
        EXPECT_EQ(text::ToIso(DosToDate(date, time)), iso) << std::hex << date << " " << time;
    }
    EXPECT_EQ(text::ToIso(DosToDate(uint32_t{0x526428A4})), "2021-03-04 05:05:08");
}

TEST(ArchiveHelpers, FileTimeToDateCountsFrom1601) {
    // 2000-01-01 00:00:00 UTC
    EXPECT_EQ(text::ToIso(FileTimeToDate(125911584000000000ull, false)), "2000-01-01 00:00:00");
    EXPECT_EQ(text::ToIso(FileTimeToDate(125911584009999999ull, false)), "2000-01-01 00:00:00");
    EXPECT_EQ(text::ToIso(FileTimeToDate(0, false)), "1980-01-01 03:00:00");
}

TEST(ArchiveHelpers, StripNullCutsAtTheFirstNulOrTrims) {
    using namespace std::string_literals;
    EXPECT_EQ(StripNull("abc\0def"s), "abc");
    EXPECT_EQ(StripNull("\0abc"s), "");
    EXPECT_EQ(StripNull("  abc  "), "abc");
    EXPECT_EQ(StripNull(" ab\0 "s), " ab");
    EXPECT_EQ(StripNull("   "), "");
}

}  // namespace
}  // namespace kest::archive
