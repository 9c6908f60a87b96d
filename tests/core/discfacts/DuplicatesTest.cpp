// Duplicates and files on one disc only, checked against answers worked out
// here from the catalog's rows with plain maps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "core/common/KestError.h"
#include "core/discfacts/CopyLists.h"
#include "core/discfacts/DiscRange.h"
#include "core/discfacts/FileHashes.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::discfacts {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct Row {
    int64_t fileId, kestId;
    std::string name;
    int64_t size;
    std::string date, hash;
};

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

class CopiesTest : public ::testing::Test {
  protected:
    void SetUp() override { db = engine::Database::Open(test::MakeCatalogFile(dir), ""); }

    // discs discs of files drawn from small pools, so that names, sizes and
    // dates repeat; a few files get content hashes.
    void Fill(int discs, int filesPerDisc, unsigned seed) {
        std::mt19937 random(seed);
        const char* names[] = {
            "a.txt", "A.TXT", "b.jpg", "\xC3\xA9t\xC3\xA9.mp3", "\xC3\x89T\xC3\x89.mp3",
            "c",     "readme"};
        const int64_t sizes[] = {0, 10, 4096, 3000000};
        const char* dates[] = {"2001-01-01 00:00:00", "2002-02-02 00:00:00"};
        auto addDisc = db->Prepare("INSERT INTO tblDiscs (DiscLbl, DiscDesc) VALUES ('L', 'D')");
        auto addFile = db->Prepare(
            "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize, FileDate) VALUES (?, ?, "
            "?, ?, ?)");
        std::vector<FileHash> hashes;
        for (int d = 0; d < discs; ++d) {
            addDisc.Run();
            int64_t kestId = db->LastInsertId();
            std::vector<FileHash> discHashes;
            for (int f = 0; f < filesPerDisc; ++f) {
                addFile.Reset();
                addFile.Bind(1, kestId);
                addFile.Bind(2, "dir" + std::to_string(random() % 3) + "/");
                addFile.Bind(3, std::string(names[random() % 7]));
                addFile.Bind(4, sizes[random() % 4]);
                addFile.Bind(5, std::string(dates[random() % 2]));
                addFile.Run();
                if (random() % 5 == 0)
                    discHashes.push_back(
                        {db->LastInsertId(), std::string(31, '0') + std::to_string(random() % 4)});
            }
            StoreFileHashes(*db, kestId, discHashes);
        }
    }

    std::vector<Row> AllRows() {
        std::vector<Row> rows;
        auto read =
            db->Prepare("SELECT FileId, KestId, FileName, FileSize, FileDate FROM tblFiles");
        while (read.Step())
            rows.push_back({read.Int(0), read.Int(1), read.Text(2), read.Int(3), read.Text(4), ""});
        for (Row& row : rows) row.hash = FileHashOf(*db, row.fileId);
        return rows;
    }

    // The copies, as sets of FileIds, by an independent reading of the rule.
    std::map<std::string, std::set<int64_t>> ReferenceGroups(const CopyRule& rule) {
        std::map<std::string, std::set<int64_t>> groups;
        for (const Row& row : AllRows()) {
            if (rule.discs && !rule.discs->contains(row.kestId)) continue;
            std::string key = rule.byHash && !row.hash.empty()
                                  ? "#" + row.hash
                                  : Lower(row.name) + "|" + std::to_string(row.size) +
                                        (rule.sameDate ? "|" + row.date : "");
            groups[key].insert(row.fileId);
        }
        return groups;
    }

    std::set<std::set<int64_t>> ReferenceDuplicates(const CopyRule& rule) {
        std::set<std::set<int64_t>> out;
        for (auto& [key, ids] : ReferenceGroups(rule))
            if (ids.size() > 1) out.insert(ids);
        return out;
    }

    std::set<int64_t> ReferenceSingleCopy(const CopyRule& rule) {
        std::map<int64_t, int64_t> discOf;
        for (const Row& row : AllRows()) discOf[row.fileId] = row.kestId;
        std::set<int64_t> out;
        for (auto& [key, ids] : ReferenceGroups(rule)) {
            std::set<int64_t> discs;
            for (int64_t id : ids) discs.insert(discOf[id]);
            if (discs.size() == 1) out.insert(ids.begin(), ids.end());
        }
        return out;
    }

    static std::set<std::set<int64_t>> Found(const std::vector<DuplicateGroup>& groups) {
        std::set<std::set<int64_t>> out;
        for (const auto& group : groups) {
            std::set<int64_t> ids;
            for (const auto& copy : group.copies) ids.insert(copy.fileId);
            out.insert(ids);
        }
        return out;
    }

    test::TempDir dir;
    std::unique_ptr<engine::Database> db;
};

TEST_F(CopiesTest, AnEmptyCatalogAndASingleDiscHaveTheirOwnAnswers) {
    EXPECT_TRUE(FindDuplicates(*db, {}).empty());
    EXPECT_TRUE(FilesOnOneDisc(*db, {}).empty());
    Fill(1, 40, 7);
    CopyRule rule;
    EXPECT_EQ(Found(FindDuplicates(*db, rule)), ReferenceDuplicates(rule));
    // On a single disc every file exists on that disc only.
    EXPECT_EQ(FilesOnOneDisc(*db, rule).size(), 40u);
}

TEST_F(CopiesTest, EveryRuleMatchesTheReferenceAnswer) {
    Fill(6, 150, 42);
    for (bool sameDate : {false, true}) {
        for (bool byHash : {true, false}) {
            for (std::optional<std::set<int64_t>> discs :
                 {std::optional<std::set<int64_t>>{}, std::optional<std::set<int64_t>>{{2, 5}}}) {
                CopyRule rule{sameDate, byHash, discs};
                SCOPED_TRACE(std::to_string(sameDate) + std::to_string(byHash) +
                             std::to_string(discs.has_value()));
                auto groups = FindDuplicates(*db, rule);
                EXPECT_EQ(Found(groups), ReferenceDuplicates(rule));
                for (size_t i = 1; i < groups.size(); ++i)
                    EXPECT_GE(groups[i - 1].Waste(), groups[i].Waste());
                std::set<int64_t> single;
                for (const auto& file : FilesOnOneDisc(*db, rule)) single.insert(file.fileId);
                EXPECT_EQ(single, ReferenceSingleCopy(rule));
            }
        }
    }
}

TEST_F(CopiesTest, GroupsListTheirCopiesByDiscAndFolderWithTheLargestWasteFirst) {
    auto addDisc = db->Prepare("INSERT INTO tblDiscs (DiscLbl) VALUES ('L')");
    for (int i = 0; i < 3; ++i) addDisc.Run();
    auto addFile = db->Prepare(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (?, ?, ?, ?)");
    for (auto [disc, folder, name, size] :
         {std::tuple{3, "b/", "small.txt", 10}, std::tuple{1, "a/", "SMALL.TXT", 10},
          std::tuple{2, "z/", "big.iso", 1000}, std::tuple{1, "y/", "big.iso", 1000},
          std::tuple{1, "x/", "big.iso", 1000}, std::tuple{2, "c/", "other", 5}}) {
        addFile.Reset();
        addFile.Bind(1, int64_t{disc});
        addFile.Bind(2, std::string(folder));
        addFile.Bind(3, std::string(name));
        addFile.Bind(4, int64_t{size});
        addFile.Run();
    }
    auto groups = FindDuplicates(*db, {});
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].name, "big.iso");
    EXPECT_EQ(groups[0].Waste(), 2000);
    std::vector<std::string> where;
    for (const auto& copy : groups[0].copies)
        where.push_back(std::to_string(copy.kestId) + copy.folder);
    EXPECT_THAT(where, ElementsAre("1x/", "1y/", "2z/"));
    EXPECT_EQ(groups[1].copies.front().name, "SMALL.TXT");

    ListTable table = DuplicatesTable(groups);
    EXPECT_EQ(table.RowCount(), 5u);
    EXPECT_EQ(table.Cell(4, 1), "small.txt");
    EXPECT_EQ(table.Column(FileIdColumn(table)).tag, -1);
    // Disc 2 alone holds "other"; disc 3's small.txt has a copy on disc 1.
    CopyRule rule;
    rule.discs = std::set<int64_t>{2, 3};
    std::vector<std::string> single;
    for (const auto& file : FilesOnOneDisc(*db, rule)) single.push_back(file.name);
    EXPECT_THAT(single, ElementsAre("other", "big.iso", "small.txt"));
}

TEST(DiscList, RangesGapsAndUnknownIds) {
    const std::vector<int64_t> ids = {1, 2, 3, 7, 9, 12};
    auto parse = [&](const std::string& typed) { return ParseDiscList(typed, ids); };
    EXPECT_EQ(parse("3,7-9"), (std::set<int64_t>{3, 7, 9}));            // 8 is a gap
    EXPECT_EQ(parse(" 12 - 7 , 1"), (std::set<int64_t>{1, 7, 9, 12}));  // backwards
    EXPECT_EQ(parse("2,2,1-2"), (std::set<int64_t>{1, 2}));
    auto refusal = [&](const std::string& typed) {
        try {
            parse(typed);
            return std::string();
        } catch (const KestError& e) {
            return e.Description();
        }
    };
    EXPECT_EQ(refusal("4"), "No disc with Kest ID 4 in the catalog.");
    EXPECT_EQ(refusal("13-20"), "No disc of the catalog lies in the range 13-20.");
    EXPECT_THAT(refusal("3,,7"), HasSubstr("has an empty item"));
    EXPECT_EQ(refusal("3,x"), "\"x\" in the disc list is not a Kest ID or a range like 7-9.");
    EXPECT_EQ(refusal("-3"), "\"-3\" in the disc list is not a Kest ID or a range like 7-9.");
    EXPECT_EQ(refusal("1-2-3"), "\"1-2-3\" in the disc list is not a Kest ID or a range like 7-9.");
}

}  // namespace
}  // namespace kest::discfacts
