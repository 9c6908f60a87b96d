// The facts Kest keeps about discs: stored in engine-internal tables that an
// older catalog lacks and an older program ignores, checked as typed, kept by
// compaction and repair and gone with their disc.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalog/CatalogRepair.h"
#include "core/common/KestError.h"
#include "core/discfacts/DiscFactsChange.h"
#include "core/discfacts/DiscListFacts.h"
#include "core/discfacts/FileHashes.h"
#include "core/discs/DiscDeletion.h"
#include "core/engine/DiscFactsTables.h"
#include "support/catalog/CatalogFixture.h"
#include "support/catalog/MaintenanceFixture.h"
#include "support/search/SearchFixture.h"

namespace kest::discfacts {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const text::DateTime kToday{2026, 11, 20, 15, 0, 0};

// The error number and text a change is refused with ("" when accepted).
std::string Refusal(const DiscFactsChange& change, const DiscFacts& facts = {}) {
    try {
        ApplyChange(facts, change, kToday);
        return "";
    } catch (const KestError& e) {
        return std::to_string(e.Number()) + " " + e.Description();
    }
}

TEST(DiscFactsChange, TextsAreTrimmedAndHeldToTheirLimits) {
    DiscFactsChange change;
    change.location = "  Shelf B,\nbox 3 ";
    change.notes = "first line\nsecond line";
    DiscFacts facts = ApplyChange({}, change, kToday);
    EXPECT_EQ(facts.location, "Shelf B, box 3");
    EXPECT_EQ(facts.notes, "first line\nsecond line");  // notes keep their lines

    change = {};
    change.location = std::string(255, 'x');
    EXPECT_EQ(Refusal(change), "");
    change.location = std::string(10000, 'x');
    EXPECT_EQ(Refusal(change),
              "3163 The location is too long: 10,000 characters, at most 255.  Try inserting or "
              "pasting less data.");
    // Characters, not bytes: 255 two-byte letters fit.
    std::string umlauts;
    for (int i = 0; i < 255; ++i) umlauts += "\xC3\xBC";
    change.location = umlauts;
    EXPECT_EQ(Refusal(change), "");
    change = {};
    change.notes = std::string(10000, 'n');
    EXPECT_THAT(Refusal(change),
                HasSubstr("The note is too long: 10,000 characters, at most 4,000"));
}

TEST(DiscFactsChange, TagsKeepCommasQuotesAndAccentsAndRepeatOnlyOnce) {
    DiscFactsChange change;
    change.addTags = {"Rock, Pop", "80's \"best\"", "\xC3\x89t\xC3\xA9", "rock, pop", "  ", "Jazz"};
    DiscFacts facts = ApplyChange({}, change, kToday);
    EXPECT_THAT(facts.tags, ElementsAre("Rock, Pop", "80's \"best\"", "\xC3\x89t\xC3\xA9", "Jazz"));
    EXPECT_EQ(JoinTags(facts.tags),
              "\"Rock, Pop\", \"80's \"\"best\"\"\", \xC3\x89t\xC3\xA9, Jazz");

    // The one-box form reads back what JoinTags wrote.
    change = {};
    change.tags = SplitTags(JoinTags(facts.tags) + ", ,");
    EXPECT_EQ(ApplyChange({}, change, kToday).tags, facts.tags);

    change = {};
    change.removeTags = {"JAZZ", "\xC3\x89T\xC3\x89", "unknown"};
    EXPECT_THAT(ApplyChange(facts, change, kToday).tags, ElementsAre("Rock, Pop", "80's \"best\""));
    change = {};
    change.addTags = {std::string(256, 't')};
    EXPECT_THAT(Refusal(change), HasSubstr("The tag is too long"));
}

TEST(DiscFactsChange, LendingDatesAreCheckedAndAReturnClearsThem) {
    DiscFactsChange lend;
    lend.lentTo = "Ann";
    lend.dueBack = "12/1/2026";
    DiscFacts lent = ApplyChange({}, lend, kToday);
    EXPECT_EQ(lent.lentTo, "Ann");
    EXPECT_EQ(DayText(lent.lentOn), "2026-11-20");  // today when not given
    EXPECT_EQ(DayText(lent.dueBack), "2026-12-01");
    EXPECT_FALSE(lent.Overdue(kToday));
    EXPECT_FALSE(lent.Overdue({2026, 12, 1, 23, 0, 0}));  // due by the day's end
    EXPECT_TRUE(lent.Overdue({2026, 12, 2, 0, 0, 1}));

    lend.lentOn = "2026-12-05";
    EXPECT_EQ(Refusal(lend), "5 The due date 12/01/2026 comes before the lent-on date 12/05/2026.");
    lend.lentOn = "1/1/1800";
    EXPECT_EQ(Refusal(lend), "5 The lent-on date 01/01/1800 lies outside the years 1980 to 2199.");
    lend.lentOn = "11/1/2026";
    lend.dueBack = "1/1/9999";
    EXPECT_THAT(Refusal(lend), HasSubstr("The due date 01/01/9999 lies outside the years"));
    lend.dueBack = "soon";
    EXPECT_EQ(Refusal(lend),
              "13 The due date \"soon\" is not a date.  Type it as 9/18/2026 or 2026-09-18.");
    DiscFactsChange nobody;
    nobody.dueBack = "12/1/2026";
    EXPECT_EQ(Refusal(nobody), "5 Say to whom the disc is lent.");
    DiscFactsChange both = lend;
    both.returned = true;
    EXPECT_EQ(Refusal(both), "5 A disc cannot be lent and returned at once.");

    DiscFactsChange returned;
    returned.returned = true;
    DiscFacts back = ApplyChange(lent, returned, kToday);
    EXPECT_FALSE(back.Lent());
    EXPECT_FALSE(back.lentOn || back.dueBack);
}

class StoredFacts : public ::testing::Test {
  protected:
    void SetUp() override { db = test::MakeSearchCatalog(dir); }
    std::string Rows(const std::string& sql) { return test::QueryText(*db, sql); }

    test::TempDir dir;
    std::unique_ptr<engine::Database> db;
};

TEST_F(StoredFacts, AnOlderCatalogHasNoFactsAndReadingMakesNoTables) {
    DiscFacts facts = FactsOfDisc(*db, 2);
    EXPECT_EQ(facts.kestId, 2);
    EXPECT_TRUE(facts.location.empty() && facts.tags.empty() && !facts.catalogued);
    EXPECT_TRUE(LoadAllDiscFacts(*db).empty());
    EXPECT_TRUE(LentDiscs(*db, kToday).empty());
    EXPECT_FALSE(engine::HasDiscFactsTables(*db));
    EXPECT_THROW(FactsOfDisc(*db, 99), KestError);
}

TEST_F(StoredFacts, ChangesAreStoredOutsideTheListedTables) {
    std::vector<std::string> tables = db->TableNames();
    DiscFactsChange change;
    change.location = "Shelf B, box 3";
    change.addTags = {"Holiday", "Rock, Pop"};
    change.lentTo = "Ann";
    change.lentOn = "11/1/2026";
    change.dueBack = "11/10/2026";
    change.notes = "scratched";
    ChangeDiscFacts(*db, 2, change);
    EXPECT_EQ(db->TableNames(), tables);  // the internal tables are never listed
    DiscFacts facts = LoadDiscFacts(*db, 2);
    EXPECT_EQ(facts.location, "Shelf B, box 3");
    EXPECT_THAT(facts.tags, ElementsAre("Holiday", "Rock, Pop"));
    EXPECT_EQ(facts.lentTo, "Ann");
    EXPECT_EQ(facts.notes, "scratched");
    auto lent = LentDiscs(*db, kToday);
    ASSERT_EQ(lent.size(), 1u);
    EXPECT_EQ(lent[0].kestId, 2);
    EXPECT_EQ(lent[0].description, "Holiday");
    EXPECT_TRUE(lent[0].overdue);
    // A refused change leaves what was stored.
    change = {};
    change.location = std::string(300, 'x');
    EXPECT_THROW(ChangeDiscFacts(*db, 2, change), KestError);
    EXPECT_EQ(LoadDiscFacts(*db, 2).location, "Shelf B, box 3");
}

TEST_F(StoredFacts, DeletingADiscTakesItsFactsTagsAndHashes) {
    DiscFactsChange change;
    change.addTags = {"a"};
    ChangeDiscFacts(*db, 1, change);
    ChangeDiscFacts(*db, 2, change);
    StoreFileHashes(*db, 2, {{8, "00112233445566778899aabbccddeeff"}});
    StoreFileHashes(*db, 1, {{1, "ffeeddccbbaa99887766554433221100"}});
    discs::DeleteDiscRows(*db, {"2"});
    EXPECT_EQ(Rows("SELECT KestId FROM _kest_disc_facts"), "1\n");
    EXPECT_EQ(Rows("SELECT KestId, tag FROM _kest_disc_tags"), "1|a\n");
    EXPECT_EQ(Rows("SELECT FileId FROM _kest_file_hashes"), "1\n");
}

TEST_F(StoredFacts, TheRebuildDropsFactsOfDiscsAnOlderProgramDeleted) {
    engine::RebuildDiscFactsTables(*db);  // a catalog that never had facts stays without
    EXPECT_FALSE(engine::HasDiscFactsTables(*db));
    DiscFactsChange change;
    change.notes = "kept";
    ChangeDiscFacts(*db, 1, change);
    ChangeDiscFacts(*db, 2, change);
    StoreFileHashes(*db, 2, {{8, "00112233445566778899aabbccddeeff"}});
    // An older program deletes with the three statements alone.
    for (const char* table : {"tblSubFiles", "tblFiles", "tblDiscs"})
        db->Execute(std::string("DELETE * FROM ") + table + " WHERE KestID = 2;");
    db->Execute("DROP TABLE _kest_disc_tags");
    engine::RebuildDiscFactsTables(*db);
    EXPECT_TRUE(engine::HasDiscFactsTables(*db));
    EXPECT_EQ(Rows("SELECT KestId, notes FROM _kest_disc_facts"), "1|kept\n");
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM _kest_file_hashes"), "0\n");
}

TEST(DiscFactsMaintenance, CompactionAndRepairKeepTheFacts) {
    test::TempDir dir;
    std::string path = test::MakeFilledCatalog(dir, "facts.kst", 3000);
    {
        auto db = engine::Database::Open(path, "");
        DiscFactsChange change;
        change.location = "Box 7";
        change.addTags = {"Été"};
        ChangeDiscFacts(*db, 1, change);
        StoreFileHashes(*db, 1, {{1, std::string(32, 'a')}, {2999, std::string(32, 'b')}});
        db->VacuumInto(dir.File("compact.kst"));
    }
    for (const std::string& copy : {dir.File("compact.kst"), path}) {
        if (copy == path) {
            test::DamageFirstLeafPage(path, "tblFiles");
            ASSERT_TRUE(RepairCatalogFile(path, "").damaged);
        }
        auto db = engine::Database::Open(copy, "");
        EXPECT_EQ(LoadDiscFacts(*db, 1).location, "Box 7") << copy;
        EXPECT_THAT(LoadDiscFacts(*db, 1).tags, ElementsAre("Été")) << copy;
        // The hash of a row the repair could not bring back goes with it.
        EXPECT_EQ(test::QueryText(*db, "SELECT FileId FROM _kest_file_hashes"),
                  copy == path ? "2999\n" : "1\n2999\n")
            << copy;
    }
}

}  // namespace
}  // namespace kest::discfacts
