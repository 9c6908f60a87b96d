// What a repair asks and tells when damage hides the catalog's own state: a
// lock the open never reached, a verifier out of form, a header the engine
// would only read, a file cut short.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>

#include "core/catalog/CatalogRepair.h"
#include "core/catalog/RepairCatalog.h"
#include "core/common/KestError.h"
#include "core/engine/Database.h"
#include "core/engine/EngineError.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"
#include "support/catalog/MaintenanceFixture.h"
#include "support/catalog/RecordingHost.h"
#include "support/search/SearchFixture.h"

namespace kest {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

long OpenError(const std::string& path, const std::string& password) {
    try {
        engine::Database::Open(path, password);
    } catch (const KestError& e) {
        return e.Number();
    }
    return 0;
}

class RepairReportTest : public ::testing::Test {
  protected:
    // A protected catalog whose schema statement for tblFiles was garbled:
    // the open stops at the damage before it reaches the password lock.
    std::string SchemaDamagedLockedCatalog() {
        std::string path = test::MakeFilledCatalog(dir, "locked.kst", 500, "pw1234");
        engine::ExecOrThrow(engine::Database::Open(path, "pw1234")->Handle(),
                            "PRAGMA writable_schema=ON; UPDATE sqlite_master SET sql = 'CREATX "
                            "TABLE tblFiles' WHERE name = 'tblFiles'; PRAGMA writable_schema=OFF");
        return path;
    }
    // The Repair command on path; its answers are scripted after this one.
    void ChooseForRepair(const std::string& path) {
        prompter.ExpectOpenFile("Choose Database to be Repaired...", path);
    }
    bool Repair() {
        CurrentCatalog none;
        return RepairCommand(none, host, prompter);
    }
    test::TempDir dir;
    test::RecordingHost host;
    test::ScriptedPrompter prompter;
};

TEST_F(RepairReportTest, ALockTheOpenNeverReachedAsksForThePasswordAndStays) {
    std::string path = SchemaDamagedLockedCatalog();
    ASSERT_EQ(OpenError(path, ""), err::kCorrupt);
    ChooseForRepair(path);
    prompter.ExpectPassword("wrong").ExpectPassword("pw1234");
    prompter.ExpectNotice("Repair successful",
                          HasSubstr(" damaged rows could not be recovered.\r\nThe damaged "
                                    "original was kept as "),
                          Icon::Information);
    EXPECT_TRUE(Repair());
    prompter.VerifyDone();
    EXPECT_EQ(OpenError(path, ""), err::kInvalidPassword);
    EXPECT_EQ(OpenError(path, "pw1234"), 0);
}

TEST_F(RepairReportTest, NoPasswordForTheSalvagedLockLeavesTheFileAsItWas) {
    std::string path = SchemaDamagedLockedCatalog();
    std::string before = test::ReadWholeFile(path);
    ChooseForRepair(path);
    prompter.ExpectPassword(std::nullopt);
    prompter.ExpectNotice("Warning in repairing database", "3031\r\nNot a valid password.",
                          Icon::Information);
    EXPECT_FALSE(Repair());
    prompter.VerifyDone();
    EXPECT_TRUE(test::ReadWholeFile(path) == before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST_F(RepairReportTest, AFileCutShortSaysItsLostRowsCouldNotBeCounted) {
    std::string path = test::MakeFilledCatalog(dir, "cut.kst", 3000);
    auto pages = fs::file_size(path) / static_cast<uintmax_t>(test::PageSizeOf(path));
    fs::resize_file(path, pages * 6 / 10 * static_cast<uintmax_t>(test::PageSizeOf(path)));
    RepairOutcome outcome = RepairCatalogFile(path, "");
    ASSERT_TRUE(outcome.damaged);
    EXPECT_GT(outcome.salvage.missingPages, 0u);
    EXPECT_THAT(
        SalvageReport(outcome),
        HasSubstr("\r\nThe file was cut short: " + std::to_string(outcome.salvage.missingPages) +
                  " of its pages are missing, and the rows they held could not be "
                  "counted."));
    // A file that lost pages inside, not at its end, says no such thing.
    std::string whole = test::MakeFilledCatalog(dir, "whole.kst", 3000);
    test::DamageFirstLeafPage(whole, "tblFiles");
    EXPECT_THAT(SalvageReport(RepairCatalogFile(whole, "")), Not(HasSubstr("cut short")));
}

TEST_F(RepairReportTest, AVerifierDamagedOutOfFormIsDamageAndTheLockIsMadeAgain) {
    // Parameters the hash function cannot read, and one byte outside the
    // characters it writes in an otherwise whole verifier.
    for (const char* verifier :
         {"$argon2id$v=19$m=16384,t=2,p=1$##",
          "$argon2id$v=19$m=16384,t=2,p=1$tJZ68meZ+cAGRP97nTSN2w$8ICZ4J3k/4UaIbMam\xdc"
          "VcOQ2YoAu59bpNOlka7Ttm99w"}) {
        SCOPED_TRACE(verifier);
        std::string path = test::MakeFilledCatalog(dir, "verifier.kst", 500, "pw1234");
        auto db = engine::Database::Open(path, "pw1234");
        sqlite3_stmt* update = nullptr;
        sqlite3_prepare_v2(db->Handle(), "UPDATE _kest_lock SET verifier = ?", -1, &update,
                           nullptr);
        sqlite3_bind_text(update, 1, verifier, -1, SQLITE_STATIC);
        EXPECT_EQ(sqlite3_step(update), SQLITE_DONE);
        sqlite3_finalize(update);
        db.reset();
        // No password could match it: the open reports damage rather than
        // refusing every password for ever.
        EXPECT_EQ(OpenError(path, "pw1234"), err::kCorrupt);
        RepairOutcome outcome = RepairCatalogFile(path, "pw1234");
        EXPECT_EQ(outcome.salvage.lock, engine::LockOutcome::Remade);
        EXPECT_EQ(OpenError(path, ""), err::kInvalidPassword);
        EXPECT_EQ(OpenError(path, "pw1234"), 0);
        fs::remove(path);
        fs::remove(outcome.keptAs);
    }
}

TEST_F(RepairReportTest, AHeaderThatLeavesTheFileReadOnlyIsRepaired) {
    std::string path = test::MakeFilledCatalog(dir, "header.kst", 500);
    test::PatchFile(path, 18, "\x68");  // a write format the engine does not know
    EXPECT_FALSE(engine::Database::Open(path, "")->IntegrityProblems().empty());
    ASSERT_TRUE(RepairCatalogFile(path, "").damaged);
    auto db = engine::Database::Open(path, "");
    EXPECT_TRUE(db->IntegrityProblems().empty());
    db->Execute("UPDATE tblFiles SET FileDesc = 'written' WHERE FileId = 1");
}

}  // namespace
}  // namespace kest
