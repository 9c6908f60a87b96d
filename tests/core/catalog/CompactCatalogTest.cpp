// Compacting the current catalog, and the size texts its report uses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <unistd.h>

#include <filesystem>

#include "core/catalog/CompactCatalog.h"
#include "core/catalog/FormatFileSize.h"
#include "core/common/KestError.h"
#include "core/text/UnicodeCase.h"
#include "core/text/VbFormat.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"
#include "support/catalog/FileSizeLimit.h"
#include "support/catalog/MaintenanceFixture.h"
#include "support/catalog/RecordingHost.h"
#include "support/search/SearchFixture.h"

namespace kest {
namespace {

using test::ScriptedPrompter;
using test::TempDir;
using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(FormatFileSize, UnitsOf1024WithTwoDecimalsInTheUsersSeparator) {
    struct Case {
        uint64_t bytes;
        const char* point;
        const char* comma;
    };
    const Case cases[] = {
        {0, "0 bytes", "0 bytes"},          {500, "500 bytes", "500 bytes"},
        {1023, "1023 bytes", "1023 bytes"}, {1024, "1.00 KB", "1,00 KB"},
        {1536, "1.50 KB", "1,50 KB"},       {5000, "4.88 KB", "4,88 KB"},
        {1048576, "1.00 MB", "1,00 MB"},    {3407872, "3.25 MB", "3,25 MB"},
        {1073741824, "1.00 GB", "1,00 GB"}, {5000000000000, "4656.61 GB", "4656,61 GB"}};
    text::NumberLocale saved = text::CurrentNumberLocale();
    for (const auto& c : cases) {
        text::SetNumberLocale({".", ","});
        EXPECT_EQ(SizeText(c.bytes), c.point);
        text::SetNumberLocale({",", "."});
        EXPECT_EQ(SizeText(c.bytes), c.comma);
    }
    text::SetNumberLocale(saved);
    TempDir dir;
    text::SetNumberLocale({".", ","});
    EXPECT_EQ(FormatFileSize(dir.Write("a.bin", std::string(1536, 'x'))), "1.50 KB");
    text::SetNumberLocale(saved);
    try {
        FormatFileSize(dir.File("none"));
        ADD_FAILURE() << "a missing file has no size";
    } catch (const KestError& e) {
        EXPECT_EQ(e.Number(), 53);
    }
}

class CompactCommandTest : public ::testing::Test {
  protected:
    // Opens the catalog as the current one.
    void Open(const std::string& path, const std::string& password = "") {
        test::OpenAsCurrent(current, path, password);
    }
    // The report with the size before; the size after is checked against
    // the file afterwards.
    void ExpectSuccess(const std::string& before) {
        prompter.ExpectNotice("Compact/Repair successful",
                              StartsWith(text::UpperCase(current.path) +
                                         " compacted & repaired successfully.\r\n\r\n"
                                         "Size before compact/repair:\t" +
                                         before + "\r\nSize after compact/repair:\t"),
                              Icon::Information);
    }
    void ExpectCompactError(long number) {
        prompter.ExpectNotice("Compact/Repair database error",
                              StartsWith("An error has occured while compacting the database!\r\n "
                                         "\r\n" +
                                         std::to_string(number) + "\r\n"),
                              Icon::Critical);
    }

    TempDir dir;
    test::RecordingHost host;
    CurrentCatalog current;
    ScriptedPrompter prompter;
};

TEST_F(CompactCommandTest, KeepsEveryRowLockJournalAndCounterAndReopensWithoutAPrompt) {
    std::string path = test::MakeFilledCatalog(dir, "Fotos ä.kst", 3000, "s3cret");
    // Free pages for the compaction to give back; the search index the
    // fixture's catalog lacks is built first, as opening it would.
    {
        auto db = engine::Database::Open(path, "s3cret");
        db->BuildSearchIndex();
        db->Execute("DELETE * FROM tblFiles WHERE FileId > 1000");
    }
    std::string before = test::CatalogSnapshot(path, "s3cret");
    auto sizeBefore = std::filesystem::file_size(path);
    dir.Write("Fotos ä.kst.bdb", "left over from an earlier run");
    Open(path, "s3cret");
    ExpectSuccess(SizeText(sizeBefore));
    CompactResult result = CompactCommand(current, host, prompter);
    prompter.VerifyDone();
    EXPECT_THAT(prompter.Seen().back(), ::testing::EndsWith("\t" + result.sizeAfter));
    EXPECT_THAT(prompter.Seen().back(), HasSubstr("FOTOS Ä.KST compacted"));
    EXPECT_LT(std::filesystem::file_size(path), sizeBefore);
    // A file at the old fixed temporary name is no longer touched.
    EXPECT_EQ(test::ReadWholeFile(path + ".bdb"), "left over from an earlier run");
    // Reopened with the current password, no prompt; then nothing changed.
    ASSERT_TRUE(current.HasDatabase());
    EXPECT_EQ(test::QueryText(current.Db(), "SELECT count(*) FROM tblFiles"), "1000\n");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"clear results", "keep used space", "release",
                                                    "replaced"}));
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_FALSE(host.busy);
    current.database.reset();
    EXPECT_EQ(test::CatalogSnapshot(path, "s3cret"), before);
    EXPECT_EQ(test::JournalModeOf(path, "s3cret"), "wal");
    EXPECT_THROW(engine::Database::Open(path, ""), KestError);
}

TEST_F(CompactCommandTest, ADamagedCatalogIsSalvagedAndTheUserToldWhatWasLostAndKept) {
    std::string path = test::MakeFilledCatalog(dir, "damaged.kst", 3000);
    test::DamageFirstLeafPage(path, "tblFiles");
    Open(path);
    prompter.ExpectNotice("Compact/Repair successful", HasSubstr(" compacted & repaired"),
                          Icon::Information);
    CompactResult result = CompactCommand(current, host, prompter);
    prompter.VerifyDone();
    EXPECT_FALSE(result.errorShown);
    ASSERT_TRUE(current.HasDatabase());
    EXPECT_EQ(current.Db().IntegrityProblems(), std::vector<std::string>{});
    EXPECT_EQ(test::QueryText(current.Db(), "SELECT max(FileId) FROM tblFiles"), "3000\n");
    int64_t kept = std::stoll(test::QueryText(current.Db(), "SELECT count(*) FROM tblFiles"));
    // The same lines as a repair's: the true count and where the original is.
    EXPECT_THAT(prompter.Seen().back(),
                HasSubstr("\r\nRecovered rows: 1 in tblDiscs, " + std::to_string(kept) +
                          " in tblFiles, 2 in tblSubFiles.\r\n" + std::to_string(3000 - kept) +
                          " damaged rows could not be recovered.\r\nThe damaged original was "
                          "kept as " +
                          path + ".damaged."));
    EXPECT_TRUE(std::filesystem::exists(path + ".damaged"));
    EXPECT_FALSE(std::filesystem::exists(path + ".bdb"));
    EXPECT_TRUE(current.Db().SearchIndexComplete());
}

TEST_F(CompactCommandTest, WhatStandsAtTheOldTemporaryNameIsLeftAlone) {
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> spoil;
    };
    const Case cases[] = {
        {"a .bdb that is a folder with a file in it",
         [this](const std::string& path) {
             dir.Write(std::filesystem::path(path).filename().string() + ".bdb/keep", "x");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = test::MakeFilledCatalog(dir, std::string(c.name) + ".kst", 200);
        std::string before = test::CatalogSnapshot(path);
        Open(path);
        // Opening built the search index into the log; the size reported is
        // the file's once the log is written back, as the compaction does.
        sqlite3_exec(current.Db().Handle(), "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr,
                     nullptr);
        c.spoil(path);
        ExpectSuccess(FormatFileSize(path));
        CompactCommand(current, host, prompter);
        prompter.VerifyDone();
        ASSERT_TRUE(current.HasDatabase());
        current.database.reset();
        EXPECT_EQ(test::CatalogSnapshot(path), before);
        EXPECT_EQ(test::ReadWholeFile(path + ".bdb/keep"), "x");
    }
}

TEST_F(CompactCommandTest, AFullDiskLeavesTheCatalogAsItWas) {
    std::string path = test::MakeFilledCatalog(dir, "full.kst", 3000);
    auto bytes = std::filesystem::file_size(path);
    std::string before = test::CatalogSnapshot(path);
    current.path = path;
    ExpectSuccess(SizeText(bytes));
    // The disk's own error, not taken for damage: no salvage, no original kept.
    ExpectCompactError(err::kDiskFull);
    CompactResult result;
    {
        test::FileSizeLimit full(bytes / 4);
        result = CompactCatalog(host, prompter, path, "");
    }
    prompter.VerifyDone();
    EXPECT_THAT(prompter.Seen().back(), HasSubstr("3026\r\nNot enough space on disk."));
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.sizeAfter, result.sizeBefore);
    EXPECT_FALSE(result.repair.damaged);
    EXPECT_FALSE(std::filesystem::exists(path + ".bdb"));
    EXPECT_FALSE(std::filesystem::exists(path + ".damaged"));
    EXPECT_EQ(test::CatalogSnapshot(path), before);
}

TEST_F(CompactCommandTest, ACatalogMadeReadOnlyUnderneathStaysAsItWas) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes to read-only files";
    std::string path = test::MakeFilledCatalog(dir, "ro.kst", 100);
    std::string before = test::CatalogSnapshot(path);
    Open(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    prompter.ExpectNotice("Compact/Repair successful", HasSubstr(" compacted"), Icon::Information);
    // SQLite cannot read a WAL file it may not write.
    ExpectCompactError(err::kEngineError);
    prompter.ExpectNotice("Error in compacting database", StartsWith("3000\r\n"), Icon::Critical);
    CompactCommand(current, host, prompter);
    prompter.VerifyDone();
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    EXPECT_EQ(test::CatalogSnapshot(path), before);
}

TEST_F(CompactCommandTest, ACatalogDeletedUnderneathIsReportedAndNotReopened) {
    std::string path = test::MakeFilledCatalog(dir, "gone.kst", 10);
    Open(path);
    std::filesystem::remove(path);
    prompter.ExpectNotice("Compact/Repair successful",
                          HasSubstr("Size before compact/repair:\t\r\n"), Icon::Information);
    ExpectCompactError(53);
    prompter.ExpectNotice("Error in compacting database", StartsWith("3024\r\n"), Icon::Critical);
    CompactCommand(current, host, prompter);
    prompter.VerifyDone();
    EXPECT_FALSE(current.HasDatabase());
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace kest
