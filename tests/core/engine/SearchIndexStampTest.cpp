// The note of an unchanged catalog spares the index probes at open; any write
// to the file, finished or still in the -wal file, brings them back.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "core/engine/Database.h"
#include "core/engine/EngineError.h"
#include "core/engine/SearchIndex.h"
#include "core/engine/SearchIndexStamp.h"
#include "support/TempDir.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::engine {
namespace {

class StampedCatalog : public ::testing::Test {
  protected:
    void SetUp() override {
        m_path = test::MakeCatalogFile(m_dir);
        {
            auto db = Database::Open(m_path, "");
            db->Execute("INSERT INTO tblDiscs (DiscSer) VALUES ('1')");
            for (int i = 0; i < 50; ++i)
                db->Execute(
                    "INSERT INTO tblFiles (KestId, FileDir, FileName) VALUES (1, 'folder/', 'file" +
                    std::to_string(i) + "')");
            db->Execute(
                "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName) "
                "VALUES (1, 1, 'inside/', 'inner')");
            db->BuildSearchIndex();
        }
        test::SetWrittenLongAgo(m_path);
        // A file system that keeps no attributes leaves nothing to test.
        if (!test::KeepsAttributes(m_dir)) GTEST_SKIP() << "no extended attributes here";
    }

    // Whether an open finds the index of either table whole (noting it when
    // the probes find both); the damages below spoil both.
    bool OpenFindsItWhole() { return Database::Open(m_path, "")->SearchIndexComplete(); }

    // Damages the index without the file's time moving on, as a write the
    // note cannot see would.
    void DamageKeepingTime(const std::string& damage) {
        struct stat info {};
        ASSERT_EQ(stat(m_path.c_str(), &info), 0);
        {
            auto db = Database::Open(m_path, "");
            ExecOrThrow(db->Handle(), damage);
        }
        struct timespec times[2] = {info.st_atim, info.st_mtim};
        ASSERT_EQ(utimensat(AT_FDCWD, m_path.c_str(), times, 0), 0);
    }

    test::TempDir m_dir;
    std::string m_path;
};

TEST_F(StampedCatalog, AnUnchangedFileIsTakenAsNotedWithoutProbing) {
    EXPECT_FALSE(SearchIndexStamped(m_path));
    ASSERT_TRUE(OpenFindsItWhole());
    EXPECT_TRUE(SearchIndexStamped(m_path));
    // Only a damage the probes would find shows whether they ran.
    DamageKeepingTime("DROP TABLE _kest_fx_files; DROP TABLE _kest_fx_subfiles");
    EXPECT_TRUE(OpenFindsItWhole());
    ClearSearchIndexStamp(m_path);
    EXPECT_FALSE(OpenFindsItWhole());
}

TEST_F(StampedCatalog, AnyWriteBringsTheProbesBack) {
    const std::string damages[] = {
        "DROP TABLE _kest_fx_files; DROP TABLE _kest_fx_subfiles",
        "DELETE FROM _kest_fx_files_runs; DELETE FROM _kest_fx_subfiles_runs",
        "DROP TRIGGER _kest_fx_files_update; DROP TRIGGER _kest_fx_subfiles_update",
    };
    for (const auto& damage : damages) {
        test::SetWrittenLongAgo(m_path);
        ASSERT_TRUE(OpenFindsItWhole()) << damage;
        ASSERT_TRUE(SearchIndexStamped(m_path)) << damage;
        {
            auto db = Database::Open(m_path, "");
            ExecOrThrow(db->Handle(), damage);
        }
        EXPECT_FALSE(SearchIndexStamped(m_path)) << damage;
        auto db = Database::Open(m_path, "");
        EXPECT_FALSE(db->SearchIndexComplete()) << damage;
        // The rebuild leaves a freshly written file, which is not noted yet.
        db->BuildSearchIndex();
        EXPECT_TRUE(db->SearchIndexComplete()) << damage;
        EXPECT_FALSE(SearchIndexStamped(m_path)) << damage;
    }
}

TEST_F(StampedCatalog, AWriteStillInTheWalFileBringsTheProbesBack) {
    ASSERT_TRUE(OpenFindsItWhole());
    std::ofstream(m_path + "-wal") << "frames not yet copied";
    EXPECT_FALSE(SearchIndexStamped(m_path));
    std::remove((m_path + "-wal").c_str());
    EXPECT_TRUE(SearchIndexStamped(m_path));
}

TEST_F(StampedCatalog, AFileJustWrittenIsNotNoted) {
    { Database::Open(m_path, "")->Execute("UPDATE tblFiles SET FileName = 'g' WHERE FileId = 1"); }
    EXPECT_TRUE(OpenFindsItWhole());
    EXPECT_FALSE(SearchIndexStamped(m_path));
    test::SetWrittenLongAgo(m_path);
    EXPECT_TRUE(OpenFindsItWhole());
    EXPECT_TRUE(SearchIndexStamped(m_path));
}

}  // namespace
}  // namespace kest::engine
