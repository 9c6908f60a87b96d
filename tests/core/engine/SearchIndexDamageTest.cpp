// Damage inside the search index that leaves it readable - an entry taken
// out of an FTS5 table, a folder run taken out - anywhere in the table, not
// only at the rows the probes read: it is found when the file is opened
// after the change, the searches read every row meanwhile, and the build
// makes the index whole again. The rebuild command does so on demand.
#include <gtest/gtest.h>

#include "core/engine/Database.h"
#include "core/engine/EngineError.h"
#include "core/engine/SearchIndex.h"
#include "support/TempDir.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::engine {
namespace {

class SearchIndexDamage : public ::testing::Test {
  protected:
    void SetUp() override {
        m_path = test::MakeCatalogFile(m_dir);
        auto db = Database::Open(m_path, "");
        db->Begin();
        db->Execute("INSERT INTO tblDiscs (DiscSer) VALUES ('1')");
        // 3,000 files in folders of 100, and one subfile for every tenth.
        for (int i = 1; i <= 3000; ++i) {
            db->Execute("INSERT INTO tblFiles (KestId, FileDir, FileName) VALUES (1, 'folder" +
                        std::to_string(i / 100) + "/', 'name" + std::to_string(i) + ".txt')");
            if (i % 10 == 0)
                db->Execute(
                    "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName) VALUES "
                    "(1, " +
                    std::to_string(i) + ", 'in" + std::to_string(i / 1000) + "/', 'entry" +
                    std::to_string(i) + ".dat')");
        }
        db->Commit();
        db->BuildSearchIndex();
        ASSERT_EQ(CompleteSearchIndexes(db->Handle()), AllSearchIndexes());
    }
    std::unique_ptr<Database> Open() { return Database::Open(m_path, ""); }
    // The rows a search finds with the index (when it is used) and without.
    std::pair<std::string, std::string> Found(Database& db, const std::string& sql) {
        db.UseSearchIndex(false);
        std::string plain = test::QueryText(db, sql);
        db.UseSearchIndex(true);
        return {test::QueryText(db, sql), plain};
    }

    test::TempDir m_dir;
    std::string m_path;
};

TEST_F(SearchIndexDamage, AnEntryOrARunTakenOutAnywhereIsFoundAndRebuilt) {
    struct Case {
        const char* damage;
        const char* search;
    };
    const Case cases[] = {
        {"INSERT INTO _kest_fx_files (_kest_fx_files, rowid, FileName) "
         "VALUES ('delete', 1234, 'name1234.txt')",
         "SELECT FileId FROM tblFiles WHERE FileName LIKE '*name1234.*'"},
        {"DELETE FROM _kest_fx_files_runs WHERE lo <= 1500 AND hi >= 1500",
         "SELECT count(*) FROM tblFiles WHERE FileDir LIKE '*folder15/*'"},
        {"INSERT INTO _kest_fx_files_dirs (_kest_fx_files_dirs, rowid, FileDir) SELECT "
         "'delete', id, dir FROM _kest_fx_files_runs WHERE lo <= 2222 AND hi >= 2222",
         "SELECT count(*) FROM tblFiles WHERE FileDir LIKE '*folder22/*'"},
        {"INSERT INTO _kest_fx_subfiles (_kest_fx_subfiles, rowid, SubFileName) "
         "VALUES ('delete', 150, 'entry1500.dat')",
         "SELECT SubFileId FROM tblSubFiles WHERE SubFileName LIKE '*entry1500*'"},
        {"DELETE FROM _kest_fx_subfiles_runs WHERE lo <= 150 AND hi >= 150",
         "SELECT count(*) FROM tblSubFiles WHERE SubFileDir LIKE '*in1/*'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.damage);
        {
            auto db = Open();
            ExecOrThrow(db->Handle(), c.damage);
        }
        auto db = Open();
        EXPECT_NE(CompleteSearchIndexes(db->Handle()), AllSearchIndexes());
        auto [indexed, plain] = Found(*db, c.search);
        EXPECT_EQ(indexed, plain);
        EXPECT_NE(plain, "0\n");
        db->BuildSearchIndex();
        EXPECT_EQ(CompleteSearchIndexes(db->Handle()), AllSearchIndexes());
        db.reset();
        db = Open();
        std::tie(indexed, plain) = Found(*db, c.search);
        EXPECT_EQ(indexed, plain);
    }
}

// The command's rebuild: whatever the checks say, the index is made afresh;
// stopped between slices, it keeps what it built and completes later.
TEST_F(SearchIndexDamage, RebuildMakesItAfreshAndCanBeStopped) {
    auto db = Open();
    ExecOrThrow(db->Handle(),
                "INSERT INTO _kest_fx_files (_kest_fx_files, rowid, FileName) "
                "VALUES ('delete', 7, 'name7.txt')");
    std::vector<std::pair<int64_t, int64_t>> progress;
    int asked = 0;
    EXPECT_FALSE(db->RebuildSearchIndex(
        [&](int64_t done, int64_t total) { progress.emplace_back(done, total); },
        [&] { return ++asked > 1; }));
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0], std::make_pair(int64_t{3000}, int64_t{3300}));
    EXPECT_FALSE(db->SearchIndexComplete() &&
                 CompleteSearchIndexes(db->Handle()) == AllSearchIndexes());
    progress.clear();
    EXPECT_TRUE(db->RebuildSearchIndex(
        [&](int64_t done, int64_t total) { progress.emplace_back(done, total); }));
    EXPECT_EQ(progress.back(), std::make_pair(int64_t{3300}, int64_t{3300}));
    db.reset();
    db = Open();
    EXPECT_EQ(CompleteSearchIndexes(db->Handle()), AllSearchIndexes());
    auto [indexed, plain] =
        Found(*db, "SELECT FileId FROM tblFiles WHERE FileName LIKE '*name7.txt'");
    EXPECT_EQ(plain, "7\n");
    EXPECT_EQ(indexed, plain);
}

}  // namespace
}  // namespace kest::engine
