// The disc tree against a reference worked out from the rows: random trees
// with odd folder texts, archives, rows changed, moved and deleted by any
// writer, discs renamed and deleted, the facts deferred during a scan,
// rebuilt when damaged and resumed after a full disk.
#include <gtest/gtest.h>

#include <random>

#include "core/catalog/CatalogCommands.h"
#include "core/common/KestError.h"
#include "core/engine/Database.h"
#include "core/engine/FolderFacts.h"
#include "core/explore/DiscTree.h"
#include "core/explore/FileReader.h"
#include "support/TempDir.h"
#include "support/catalog/CatalogFixture.h"
#include "support/catalog/FileSizeLimit.h"
#include "support/catalog/MaintenanceFixture.h"
#include "support/catalog/RecordingHost.h"
#include "support/explore/TreeReference.h"

namespace kest {
namespace {

using explore::DiscTree;
using explore::FolderPath;

std::vector<explore::FileItem> AllFiles(DiscTree& tree, engine::Database& db,
                                        const explore::Place& place,
                                        explore::FileOrder order = {}) {
    auto reader = tree.Files(db, place, order);
    std::vector<explore::FileItem> files;
    while (reader->Next(files, 7)) {
    }
    EXPECT_TRUE(reader->AtEnd());
    return files;
}

// Every folder of the reference is found with its facts, its subfolders (in
// the same order whether worked out or read from the stored folders) and its
// own files, and the tree holds no other folder. The first load works the
// folders out (and stores them when the facts are usable), the second reads
// them a level at a time.
void ExpectMatches(engine::Database& db, int64_t kestId, const std::string& context) {
    SCOPED_TRACE(context);
    test::ReferenceTree reference = test::DiscReference(db, kestId);
    std::map<FolderPath, std::vector<std::string>> orders;
    for (const char* load : {"worked out", "stored"}) {
        SCOPED_TRACE(load);
        auto tree = DiscTree::Load(db, static_cast<int32_t>(kestId));
        ASSERT_TRUE(tree);
        for (const auto& [path, expected] : reference) {
            SCOPED_TRACE(explore::FolderPathText(path));
            auto place = tree->Find(db, path);
            ASSERT_TRUE(place);
            EXPECT_FALSE(place->archive);
            const auto facts = tree->Facts(*place);
            EXPECT_EQ(facts.files, expected.files);
            EXPECT_EQ(facts.bytes, expected.bytes);
            EXPECT_EQ(facts.folders, expected.folders);
            std::vector<std::string> names;
            for (const auto& folder : tree->Subfolders(*place)) {
                names.push_back(folder.name);
                auto below = path;
                below.push_back(folder.name);
                EXPECT_EQ(folder.files, reference.at(below).files);
                EXPECT_EQ(folder.bytes, reference.at(below).bytes);
                EXPECT_EQ(folder.folders, reference.at(below).folders);
            }
            EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected.subfolders);
            if (!orders.emplace(path, names).second) {
                EXPECT_EQ(names, orders[path]);
            }
            std::set<int64_t> ids;
            for (const auto& file : AllFiles(*tree, db, *place)) ids.insert(file.id);
            EXPECT_EQ(ids, expected.fileIds);
        }
        EXPECT_EQ(tree->Folders().Size(), reference.size());
    }
}

int64_t StoredRows(engine::Database& db, int64_t kestId) {
    return std::stoll(test::QueryText(
        db, "SELECT count(*) FROM _kest_tree_nodes WHERE kest = " + std::to_string(kestId)));
}

class DiscTreeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = engine::Database::Open(test::MakeCatalogFile(dir), "");
        db->BuildSearchIndex();
        ASSERT_TRUE(engine::FolderFactsComplete(db->Handle()));
        db->Execute("INSERT INTO tblDiscs (DiscSer, DiscLbl, DiscDesc) VALUES ('1', 'ONE', 'a')");
        db->Execute("INSERT INTO tblDiscs (DiscSer, DiscLbl, DiscDesc) VALUES ('2', 'TWO', 'b')");
    }

    // A random folder text from names with the characters folders may hold,
    // written as a scan writes it or as a hand may: no trailing "/", "//",
    // "..", a leading "/".
    std::string RandomDir() {
        static const char* const names[] = {"a",     "it's", "100%", "*",    "why?",
                                            "[x]",   "#1",   "été",  "日本", "c\x01d",
                                            "t\tab", "..",   ".",    "A",    "a b"};
        std::uniform_int_distribution<int> depth(0, 4), pick(0, 14), odd(0, 9);
        int levels = depth(random);
        if (levels == 0) return "<root>";
        std::string text = odd(random) == 0 ? "/" : "";
        for (int i = 0; i < levels; ++i)
            text += std::string(names[pick(random)]) + (odd(random) == 0 ? "//" : "/");
        if (odd(random) == 0) text.pop_back();
        return text;
    }

    void AddFiles(int64_t kestId, int count) {
        auto insert = db->Prepare(
            "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (?, ?, ?, ?)");
        std::uniform_int_distribution<int64_t> size(0, 5000000000);
        std::string folder;
        for (int i = 0; i < count; ++i) {
            // Folders come in runs as a scan writes them.
            if (i % 5 == 0) folder = RandomDir();
            insert.Bind(1, kestId);
            insert.Bind(2, folder);
            insert.Bind(3, "f" + std::to_string(i));
            insert.Bind(4, size(random));
            insert.Run();
        }
    }

    test::TempDir dir;
    std::unique_ptr<engine::Database> db;
    std::mt19937 random{27};
};

TEST_F(DiscTreeTest, RandomTreesFollowEveryChangeOfTheRows) {
    AddFiles(1, 400);
    AddFiles(2, 100);
    AddFiles(1, 50);  // the first disc's folders again, after the second disc's
    ExpectMatches(*db, 1, "inserted");
    ExpectMatches(*db, 2, "inserted");

    db->Execute("UPDATE tblFiles SET FileDesc = 'described' WHERE FileId % 3 = 0");
    db->Execute("UPDATE tblFiles SET FileDir = 'moved/here/' WHERE FileId % 7 = 0");
    db->Execute("UPDATE tblFiles SET FileSize = FileSize + 1 WHERE FileId % 11 = 0");
    db->Execute("UPDATE tblFiles SET KestId = 2 WHERE FileId % 13 = 0");
    db->Execute("DELETE FROM tblFiles WHERE FileId % 5 = 0");
    db->Execute("UPDATE tblDiscs SET DiscLbl = 'RENAMED', DiscDesc = 'renamed' WHERE KestId = 1");
    ExpectMatches(*db, 1, "changed");
    ExpectMatches(*db, 2, "changed");
    EXPECT_TRUE(engine::FolderFactsComplete(db->Handle()));

    // A change of a disc's files forgets its stored folders (and only its);
    // a description does not.
    ASSERT_GT(StoredRows(*db, 1), 0);
    ASSERT_GT(StoredRows(*db, 2), 0);
    db->Execute("UPDATE tblFiles SET FileDesc = 'again' WHERE KestId = 1");
    EXPECT_GT(StoredRows(*db, 1), 0);
    db->Execute(
        "UPDATE tblFiles SET FileSize = 1 WHERE FileId = (SELECT min(FileId) FROM "
        "tblFiles WHERE KestId = 1)");
    EXPECT_EQ(StoredRows(*db, 1), 0);
    EXPECT_GT(StoredRows(*db, 2), 0);
    ExpectMatches(*db, 1, "a size changed");

    // A disc's deletion (its three statements) leaves nothing of it.
    db->Execute("DELETE FROM tblSubFiles WHERE KestId = 2");
    db->Execute("DELETE FROM tblFiles WHERE KestId = 2");
    db->Execute("DELETE FROM tblDiscs WHERE KestId = 2");
    EXPECT_FALSE(DiscTree::Load(*db, 2));
    EXPECT_EQ(test::QueryText(*db, "SELECT count(*) FROM _kest_tree WHERE kest = 2"), "0\n");
    EXPECT_EQ(StoredRows(*db, 2), 0);
    ExpectMatches(*db, 1, "after the deletion");

    // The facts built afresh are what the triggers kept.
    const std::string facts = "SELECT kest, dir, files, bytes FROM _kest_tree WHERE files > 0";
    const std::string kept = test::QueryText(*db, facts);
    engine::DropFolderFacts(db->Handle());
    engine::BuildFolderFacts(db->Handle(), {}, 37);
    EXPECT_EQ(test::QueryText(*db, facts), kept);
}

TEST_F(DiscTreeTest, AnOpenStoresTheFoldersOfEveryDiscLackingThem) {
    AddFiles(1, 300);
    AddFiles(2, 100);
    db->Execute("INSERT INTO tblDiscs (DiscSer, DiscLbl, DiscDesc) VALUES ('3', 'EMPTY', 'c')");
    explore::StoreDiscFolders(*db, 1);
    const int64_t first = StoredRows(*db, 1);
    std::vector<std::pair<int64_t, int64_t>> progress;
    explore::StoreMissingFolders(
        *db, [&](int64_t done, int64_t total) { progress.emplace_back(done, total); });
    EXPECT_EQ(StoredRows(*db, 1), first);  // stored already: left as it was
    EXPECT_GT(StoredRows(*db, 2), 0);
    EXPECT_EQ(StoredRows(*db, 3), 1);  // the root alone
    const std::string texts =
        test::QueryText(*db, "SELECT count(*) FROM _kest_tree WHERE kest = 2");
    ASSERT_EQ(progress.size(), size_t{2});
    EXPECT_EQ(std::to_string(progress.back().first) + "\n", texts);
    EXPECT_EQ(progress.back().first, progress.back().second);
    ExpectMatches(*db, 2, "stored at open");
}

TEST_F(DiscTreeTest, AFileUnchangedSinceItsIndexWasFoundWholeIsNotLookedThroughAtOpen) {
    if (!test::KeepsAttributes(dir)) GTEST_SKIP() << "no extended attributes here";
    AddFiles(1, 120);
    AddFiles(2, 80);
    explore::StoreDiscFolders(*db, 1);
    const std::string path = db->Path();
    db.reset();
    test::SetWrittenLongAgo(path);
    { engine::Database::Open(path, "")->BuildSearchIndex(); }  // notes the file as whole
    CurrentCatalog current;
    test::OpenAsCurrent(current, path, "");
    EXPECT_EQ(StoredRows(*current.database, 2), 0);
    // The first exploring works them out and stores them.
    ExpectMatches(*current.database, 2, "unchanged file");
    current.database->Execute("DELETE FROM _kest_tree_nodes WHERE kest = 2");
    current.database.reset();
    test::OpenAsCurrent(current, path, "");
    EXPECT_GT(StoredRows(*current.database, 2), 0);
}

TEST_F(DiscTreeTest, AReadOnlyCatalogHasItsFoldersWorkedOutAtEveryLoad) {
    AddFiles(1, 200);
    const std::string path = db->Path();
    db.reset();
    auto readOnly = engine::Database::Open(path, "", {.exclusive = false, .readOnly = true});
    ExpectMatches(*readOnly, 1, "read-only");
    EXPECT_EQ(StoredRows(*readOnly, 1), 0);
}

TEST_F(DiscTreeTest, AScanDefersTheFactsAndTakesItsRowsInSlices) {
    AddFiles(1, 60);
    ASSERT_TRUE(engine::DeferFolderFacts(db->Handle()));
    AddFiles(2, 120);
    engine::CatchUpFolderFacts(db->Handle());
    EXPECT_FALSE(engine::FolderFactsUsable(db->Handle()));
    AddFiles(2, 80);
    db->Execute("DELETE FROM tblFiles WHERE FileId % 9 = 0");
    // The tree reads the rows themselves while the facts are incomplete.
    ExpectMatches(*db, 2, "deferred");
    // The scan's inserts run no trigger meanwhile.
    const std::string insertTrigger =
        "SELECT count(*) FROM sqlite_master WHERE name = '_kest_tree_insert'";
    EXPECT_EQ(test::QueryText(*db, insertTrigger), "0\n");
    // The end takes only the rows past the mark, and the trigger is back.
    int64_t total = -1;
    engine::BuildFolderFacts(db->Handle(), [&](int64_t, int64_t rows) { total = rows; });
    EXPECT_TRUE(engine::FolderFactsComplete(db->Handle()));
    EXPECT_GT(total, 0);
    EXPECT_LE(total, 80);
    EXPECT_EQ(test::QueryText(*db, insertTrigger), "1\n");
    AddFiles(1, 30);
    EXPECT_TRUE(engine::FolderFactsComplete(db->Handle()));
    ExpectMatches(*db, 1, "built");
    ExpectMatches(*db, 2, "built");
}

TEST_F(DiscTreeTest, FactsAlteredByHandOrLeftBehindAreBuiltAgain) {
    AddFiles(1, 200);
    // Rows deleted behind the triggers' back, as a salvage of a damaged file
    // may leave them.
    db->Execute("DROP TRIGGER _kest_tree_delete");
    db->Execute("DELETE FROM tblFiles WHERE FileId % 4 = 0");
    EXPECT_FALSE(engine::FolderFactsComplete(db->Handle()));
    db->BuildSearchIndex();
    EXPECT_TRUE(engine::FolderFactsComplete(db->Handle()));
    ExpectMatches(*db, 1, "rebuilt");

    db->Execute("DROP TABLE _kest_tree_state");
    EXPECT_FALSE(engine::FolderFactsUsable(db->Handle()));
    engine::BuildFolderFacts(db->Handle());
    ExpectMatches(*db, 1, "rebuilt after the state was dropped");
}

TEST_F(DiscTreeTest, AFullDiskStopsTheBuildAtASliceAndTheNextBuildResumes) {
    AddFiles(1, 3000);
    engine::DropFolderFacts(db->Handle());
    db->Execute("PRAGMA wal_checkpoint(TRUNCATE)");
    {
        // The write-ahead log, empty now, takes a few slices and then no more.
        test::FileSizeLimit limit(40000);
        EXPECT_THROW(engine::BuildFolderFacts(db->Handle(), {}, 100), KestError);
    }
    EXPECT_FALSE(engine::FolderFactsComplete(db->Handle()));
    std::vector<int64_t> progress;
    engine::BuildFolderFacts(
        db->Handle(), [&](int64_t done, int64_t) { progress.push_back(done); }, 1000);
    EXPECT_FALSE(progress.empty());
    EXPECT_TRUE(engine::FolderFactsComplete(db->Handle()));
    ExpectMatches(*db, 1, "resumed");
}

TEST_F(DiscTreeTest, AnOlderCatalogGetsItsFactsOnOpenWithProgressAndCompactionKeepsThem) {
    AddFiles(1, 300);
    engine::DropFolderFacts(db->Handle());
    const std::string path = db->Path();
    db.reset();
    test::RecordingHost host;
    CurrentCatalog current;
    MakeCurrent(current, dir.Path().string(), "kest001.kst", path, "", &host);
    ASSERT_FALSE(host.progress.empty());
    EXPECT_EQ(host.progress.front(), std::make_pair(int64_t{300}, int64_t{300}));
    EXPECT_TRUE(engine::FolderFactsComplete(current.Db().Handle()));
    ExpectMatches(current.Db(), 1, "opened");
    const std::string copy = dir.File("copy.kst");
    current.Db().VacuumInto(copy);
    auto copied = engine::Database::Open(copy, "");
    EXPECT_TRUE(engine::FolderFactsComplete(copied->Handle()));
}

TEST_F(DiscTreeTest, ArchivesOpenAsFoldersOfTheirEntriesShownAsStored) {
    db->Execute(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (1, 'pack/', "
        "'a.zip', 10), (1, 'pack/', 'plain.txt', 5), (1, 'pack/', 'empty.zip', 1)");
    const char* dirs[] = {"<root>",    "docs/",      "docs\\old\\", "/etc/",
                          "../../up/", "\\abs\\x\\", "docs//two/"};
    int n = 0;
    for (const char* entryDir : dirs) {
        for (int i = 0; i < 3; ++i) {
            auto insert = db->Prepare(
                "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileSize, "
                "SubFileCSize, SubFileRatio, SubFileCRC, SubFileSMeth) VALUES (1, 1, ?, ?, ?, 3, "
                "50, 'ABCD1234', 'Deflated')");
            insert.Bind(1, std::string(entryDir));
            insert.Bind(2, "e" + std::to_string(n++));
            insert.Bind(3, int64_t{n * 100});
            insert.Run();
        }
    }
    auto tree = DiscTree::Load(*db, 1);
    ASSERT_TRUE(tree);
    auto pack = tree->Find(*db, {"pack"});
    ASSERT_TRUE(pack);
    std::map<std::string, bool> archives;
    for (const auto& file : AllFiles(*tree, *db, *pack)) archives[file.name] = file.archive;
    EXPECT_EQ(archives, (std::map<std::string, bool>{
                            {"a.zip", true}, {"empty.zip", false}, {"plain.txt", false}}));
    EXPECT_FALSE(tree->Find(*db, {"pack", "plain.txt"}));
    EXPECT_FALSE(tree->Find(*db, {"pack", "empty.zip"}));

    const test::ReferenceTree reference = test::ArchiveReference(*db, 1);
    EXPECT_TRUE(reference.count({"/", "etc"}));
    EXPECT_TRUE(reference.count({"..", "..", "up"}));
    for (const auto& [inside, expected] : reference) {
        FolderPath path = {"pack", "a.zip"};
        path.insert(path.end(), inside.begin(), inside.end());
        SCOPED_TRACE(explore::FolderPathText(path));
        auto place = tree->Find(*db, path);
        ASSERT_TRUE(place);
        EXPECT_EQ(place->archive, 1);
        EXPECT_EQ(tree->Facts(*place).files, expected.files);
        EXPECT_EQ(tree->Facts(*place).bytes, expected.bytes);
        std::set<std::string> names;
        for (const auto& folder : tree->Subfolders(*place)) names.insert(folder.name);
        EXPECT_EQ(names, expected.subfolders);
        std::set<int64_t> ids;
        for (const auto& entry : AllFiles(*tree, *db, *place)) {
            EXPECT_TRUE(entry.entry);
            EXPECT_EQ(entry.crc, "ABCD1234");
            ids.insert(entry.id);
        }
        EXPECT_EQ(ids, expected.fileIds);
    }
    EXPECT_FALSE(tree->Find(*db, {"pack", "a.zip", "nowhere"}));
}

TEST_F(DiscTreeTest, FilesComeInTheChosenOrderAFewAtATime) {
    db->Execute(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize, FileDate) VALUES "
        "(1, 'd/', 'b', 30, '2001-01-01 00:00:00'), (1, 'd/', 'C', 10, '1999-01-01 00:00:00'), "
        "(1, 'd/', 'a', 20, '2000-01-01 00:00:00'), (1, 'd', 'É', 5, NULL)");
    auto tree = DiscTree::Load(*db, 1);
    auto place = tree->Find(*db, {"d"});
    auto names = [&](explore::FileOrder order) {
        std::string text;
        for (const auto& file : AllFiles(*tree, *db, *place, order)) text += file.name + " ";
        return text;
    };
    EXPECT_EQ(names({}), "a b C É ");
    EXPECT_EQ(names({explore::FileColumn::Size, true}), "b a C É ");
    EXPECT_EQ(names({explore::FileColumn::Date, false}), "É C a b ");
    std::vector<explore::FileItem> rest;
    tree->Files(*db, *place, {explore::FileColumn::Size, true}, 2)->Next(rest, 10);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].name, "C");
    EXPECT_FALSE(tree->Find(*db, {"missing"}));
    EXPECT_FALSE(DiscTree::Load(*db, 99));
    EXPECT_TRUE(tree->DiscExists(*db));
    EXPECT_EQ(tree->Disc().label, "ONE");
    db->Execute("DELETE FROM tblDiscs WHERE KestId = 1");
    EXPECT_FALSE(tree->DiscExists(*db));
}

TEST(FolderPaths, TextsRoundTripAndOddTextsSplitAsStored) {
    using explore::FileDirNames;
    EXPECT_EQ(FileDirNames("<root>"), FolderPath{});
    EXPECT_EQ(FileDirNames("a//b"), (FolderPath{"a", "b"}));
    EXPECT_EQ(FileDirNames("/x/../y/"), (FolderPath{"/", "x", "..", "y"}));
    EXPECT_EQ(FileDirNames("a\\b/"), (FolderPath{"a\\b"}));
    EXPECT_EQ(explore::SubFileDirNames("a\\b/"), (FolderPath{"a", "b"}));
    for (const FolderPath& path : {FolderPath{}, FolderPath{"a", "b c"}, FolderPath{"/", "etc"},
                                   FolderPath{"x.zip", "/", "etc"}, FolderPath{"..", "%", "[x]"}})
        EXPECT_EQ(explore::ParseFolderPath(explore::FolderPathText(path)), path);
    EXPECT_EQ(explore::ParseFolderPath("/docs/old/"), (FolderPath{"docs", "old"}));
    EXPECT_EQ(explore::ParseFolderPath("<root>"), FolderPath{});
}

}  // namespace
}  // namespace kest
