// The salvage of damaged catalogs: what it keeps, that it always ends, what it
// tells, the password lock, and a cancel. (tests/damage damages catalogs in
// many more ways.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <future>

#include "core/catalog/CatalogRepair.h"
#include "core/catalog/CompactCatalog.h"
#include "core/catalog/RepairCatalog.h"
#include "core/common/KestError.h"
#include "core/engine/EngineError.h"
#include "core/engine/Salvage.h"
#include "core/text/UnicodeCase.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"
#include "support/catalog/MaintenanceFixture.h"
#include "support/catalog/RecordingHost.h"
#include "support/search/SearchFixture.h"

namespace kest {
namespace {

using test::QueryText;
using test::TempDir;
using ::testing::HasSubstr;

int64_t Count(const std::string& path, const std::string& sql, const std::string& password = "") {
    return std::stoll(QueryText(*engine::Database::Open(path, password), sql));
}

// A leaf page's cell count and the file offset of its cell number cell.
std::pair<int, int64_t> Cell(const std::string& path, int page, int cell = 0) {
    const int size = test::PageSizeOf(path);
    std::string bytes = test::ReadWholeFile(path).substr(
        static_cast<size_t>(page - 1) * static_cast<size_t>(size), 10 + 2 * size_t(cell));
    auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const size_t pointer = 8 + 2 * size_t(cell);
    return {byte(3) << 8 | byte(4),
            static_cast<int64_t>(page - 1) * size + (byte(pointer) << 8 | byte(pointer + 1))};
}

// Where the rowid of a leaf cell starts (after the payload size) and its
// value, for rowids of two bytes.
std::pair<int64_t, int> TwoByteRowid(const std::string& path, int64_t cell) {
    std::string bytes = test::ReadWholeFile(path).substr(static_cast<size_t>(cell), 12);
    auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    size_t at = 0;
    while (byte(at) & 0x80) ++at;
    ++at;
    return {cell + static_cast<int64_t>(at), (byte(at) & 0x7f) << 7 | byte(at + 1)};
}

// Runs f, failing (and stopping the program) when it has not ended in a minute.
template <typename F>
auto WithinAMinute(F f) {
    auto run = std::async(std::launch::async, f);
    if (run.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        ADD_FAILURE() << "the salvage did not end";
        std::abort();
    }
    return run.get();
}

class SalvageTest : public ::testing::Test {
  protected:
    TempDir dir;
    test::RecordingHost host;
    test::ScriptedPrompter prompter;
};

TEST_F(SalvageTest, ACompactedCatalogIsRepairedWithItsSearchIndex) {
    std::string path = test::MakeFilledCatalog(dir, "compacted.kst", 3000);
    engine::Database::Open(path, "")->BuildSearchIndex();
    // Compaction writes the index's own tables before the table that owns them.
    prompter.ExpectNotice("Compact/Repair successful", HasSubstr("compacted"), Icon::Information);
    CompactCatalog(host, prompter, path, "");
    test::DamageFirstLeafPage(path, "tblFiles");
    RepairOutcome outcome = RepairCatalogFile(path, "");
    ASSERT_TRUE(outcome.damaged);
    auto db = engine::Database::Open(path, "");
    EXPECT_EQ(db->IntegrityProblems(), std::vector<std::string>{});
    int64_t kept = std::stoll(QueryText(*db, "SELECT count(*) FROM tblFiles"));
    EXPECT_GT(kept, 2900);
    EXPECT_EQ(outcome.salvage.lostRows, 3000 - kept);
    // Made anew from the rows that came back, and it finds what a full read finds.
    EXPECT_TRUE(db->SearchIndexComplete());
    const std::string search =
        "SELECT FileId FROM tblFiles WHERE FileName LIKE '*file29*' OR FileDir LIKE '*folder3*' "
        "ORDER BY FileId";
    std::string indexed = QueryText(*db, search);
    db->UseSearchIndex(false);
    EXPECT_EQ(QueryText(*db, search), indexed);
    EXPECT_NE(indexed, "");
}

TEST_F(SalvageTest, RowidsOutOfOrderCannotMakeTheSalvageGoRoundForEver) {
    std::string path = test::MakeFilledCatalog(dir, "loop.kst", 3000);
    std::vector<int> leaves = test::TableLeaves(path, "tblFiles");
    ASSERT_GT(leaves.size(), 4u);
    // The second leaf's first cell claims rowid 1, far behind where the
    // reading stands; the fourth leaf cannot be read, so the reading resumes.
    auto [cells, cell] = Cell(path, leaves[1]);
    std::string head = test::ReadWholeFile(path).substr(static_cast<size_t>(cell), 4);
    size_t sizeBytes = static_cast<unsigned char>(head[0]) & 0x80 ? 2 : 1;
    bool twoBytes = static_cast<unsigned char>(head[sizeBytes]) & 0x80;
    test::PatchFile(path, cell + static_cast<int64_t>(sizeBytes),
                    twoBytes ? std::string("\x80\x01", 2) : std::string("\x01", 1));
    int lostPage = Cell(path, leaves[3]).first;
    test::PatchFile(path, static_cast<int64_t>(leaves[3] - 1) * test::PageSizeOf(path),
                    std::string(8, '\0'));
    ASSERT_GT(cells, 0);

    auto result = WithinAMinute([&] { return engine::SalvageInto(path, dir.File("out.kst")); });
    // The cell's row is not taken under a rowid that is another row's.
    EXPECT_EQ(result.lostRows, lostPage + 1);
    EXPECT_EQ(Count(dir.File("out.kst"), "SELECT count(*) FROM tblFiles"), 3000 - lostPage - 1);
    EXPECT_EQ(Count(dir.File("out.kst"),
                    "SELECT count(*) FROM tblFiles WHERE FileName <> 'file' & FileId & '.txt'"),
              0);
}

TEST_F(SalvageTest, ARowidDamagedIntoAnotherRowsGivesWayToThatRow) {
    std::string path = test::MakeFilledCatalog(dir, "taken.kst", 3000);
    std::vector<int> leaves = test::TableLeaves(path, "tblFiles");
    ASSERT_GT(leaves.size(), 5u);
    // A cell in the middle of the fourth leaf claims a rowid of the fifth.
    auto [cells, cell] = Cell(path, leaves[3], 5);
    const int taken = TwoByteRowid(path, Cell(path, leaves[4]).second).second + 2;
    auto [rowidAt, rowid] = TwoByteRowid(path, cell);
    ASSERT_GT(cells, 6);
    ASSERT_GE(rowid, 128);
    ASSERT_LT(taken, 16384);
    test::PatchFile(path, rowidAt,
                    {static_cast<char>(0x80 | taken >> 7), static_cast<char>(taken & 0x7f)});

    auto result = WithinAMinute([&] { return engine::SalvageInto(path, dir.File("out.kst")); });
    // The row whose rowid the cell took is the true one; only the cell's own
    // row is lost.
    const std::string out = dir.File("out.kst");
    EXPECT_EQ(QueryText(*engine::Database::Open(out, ""),
                        "SELECT FileName FROM tblFiles WHERE FileId = " + std::to_string(taken)),
              "file" + std::to_string(taken) + ".txt\n");
    EXPECT_EQ(
        Count(out, "SELECT count(*) FROM tblFiles WHERE FileName <> 'file' & FileId & '.txt'"), 0);
    EXPECT_EQ(Count(out, "SELECT count(*) FROM tblFiles"), 2999);
    EXPECT_EQ(result.lostRows, 1);
}

TEST_F(SalvageTest, LeavesCutOffByADamagedInteriorPageAreReadFromThePages) {
    std::string path = test::MakeFilledCatalog(dir, "interior.kst", 3000);
    int root = std::stoi(QueryText(*engine::Database::Open(path, ""),
                                   "SELECT rootpage FROM sqlite_master WHERE name = 'tblFiles'"));
    test::PatchFile(path, static_cast<int64_t>(root - 1) * test::PageSizeOf(path),
                    std::string(12, '\0'));
    std::string damaged = dir.File("copy.kst");
    std::filesystem::copy_file(path, damaged);

    RepairOutcome outcome = RepairCatalogFile(path, "", host);
    EXPECT_EQ(outcome.salvage.lostRows, 0);
    EXPECT_EQ(outcome.salvage.pageReaderRows, 3000);
    EXPECT_EQ(Count(path, "SELECT count(*) FROM tblFiles WHERE FileSize = FileId * 1000"), 3000);
    // Progress came in pages of the file's pages, and ended.
    ASSERT_GT(host.salvage.size(), 1u);
    EXPECT_EQ(
        host.salvage.front().second,
        static_cast<int64_t>(std::filesystem::file_size(damaged)) / test::PageSizeOf(damaged));
    EXPECT_EQ(host.salvage.back(), std::make_pair(int64_t{1}, int64_t{1}));

    // The engine's own reading alone stops at the root.
    engine::SalvageOptions engineOnly;
    engineOnly.readPages = false;
    auto alone = engine::SalvageInto(damaged, dir.File("alone.kst"), engineOnly);
    EXPECT_EQ(Count(dir.File("alone.kst"), "SELECT count(*) FROM tblFiles"), 0);
    EXPECT_EQ(alone.lostRows, 3000);
}

TEST_F(SalvageTest, ACancelledSalvageLeavesTheFileAsItWas) {
    std::string path = test::MakeFilledCatalog(dir, "cancel.kst", 3000);
    test::DamageFirstLeafPage(path, "tblFiles");
    std::string bytes = test::ReadWholeFile(path);
    host.cancelSalvageAt = 0;
    // Nothing was repaired, so no success is claimed.
    prompter.ExpectNotice("Error in repairing database", "3059\r\nOperation canceled by user.",
                          Icon::Critical);
    EXPECT_FALSE(RepairCatalog(host, prompter, path, ""));
    prompter.VerifyDone();
    EXPECT_TRUE(test::ReadWholeFile(path) == bytes);
    EXPECT_FALSE(std::filesystem::exists(path + ".damaged"));
    EXPECT_FALSE(std::filesystem::exists(path + ".salvage"));
}

TEST_F(SalvageTest, ALockTheSchemaNoLongerNamesIsTakenBackFromItsPage) {
    std::string path = test::MakeFilledCatalog(dir, "unnamed.kst", 500, "pw1234");
    engine::ExecOrThrow(
        engine::Database::Open(path, "pw1234")->Handle(),
        "PRAGMA writable_schema=ON; DELETE FROM sqlite_master WHERE name = '_kest_lock'; "
        "PRAGMA writable_schema=OFF");
    // Without its table the file opens without a password: the repair is the
    // only one to see the lock's page, and must not end the protection.
    RepairOutcome outcome = RepairCatalogFile(path, "", host);
    ASSERT_TRUE(outcome.damaged);
    EXPECT_EQ(outcome.salvage.lock, engine::LockOutcome::Kept);
    EXPECT_THROW(engine::Database::Open(path, ""), KestError);
    EXPECT_EQ(Count(path, "SELECT count(*) FROM tblFiles", "pw1234"), 500);
}

class LockDamageTest : public SalvageTest {
  protected:
    void SetUp() override {
        path = test::MakeFilledCatalog(dir, "locked.kst", 500, "pw1234");
        int root =
            std::stoi(QueryText(*engine::Database::Open(path, "pw1234"),
                                "SELECT rootpage FROM sqlite_master WHERE name = '_kest_lock'"));
        test::PatchFile(path, static_cast<int64_t>(root - 1) * test::PageSizeOf(path),
                        std::string(8, '\0'));
    }
    long OpenError(const std::string& password) {
        try {
            engine::Database::Open(path, password);
        } catch (const KestError& e) {
            return e.Number();
        }
        return 0;
    }
    std::string path;
};

TEST_F(LockDamageTest, AnUnreadableLockIsDamageAndNeverNoLock) {
    EXPECT_EQ(OpenError(""), err::kCorrupt);
    EXPECT_EQ(OpenError("pw1234"), err::kCorrupt);
}

TEST_F(LockDamageTest, ARepairSaysPlainlyThatTheLockWasLost) {
    CurrentCatalog none;
    prompter.ExpectOpenFile("Choose Database to be Repaired...", path);
    prompter.ExpectNotice(
        "Repair successful",
        HasSubstr(".damaged.\r\nThe password lock was damaged and could not be recovered: the "
                  "catalog now opens without a password."),
        Icon::Information);
    EXPECT_TRUE(RepairCommand(none, host, prompter));
    prompter.VerifyDone();
    EXPECT_EQ(OpenError(""), 0);
    EXPECT_EQ(Count(path, "SELECT count(*) FROM tblFiles"), 500);
}

TEST_F(LockDamageTest, TheLockIsMadeAgainFromThePasswordGiven) {
    RepairOutcome outcome = RepairCatalogFile(path, "pw1234");
    EXPECT_EQ(outcome.salvage.lock, engine::LockOutcome::Remade);
    EXPECT_THAT(SalvageReport(outcome), ::testing::Not(HasSubstr("password")));
    EXPECT_EQ(OpenError(""), err::kInvalidPassword);
    EXPECT_EQ(OpenError("pw1234"), 0);
}

}  // namespace
}  // namespace kest
