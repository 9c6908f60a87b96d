// kest-cli disc-facts, discs' filters, duplicates, single-copy, identify and
// scan --hash, run as a program over a small catalog.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/RunCli.h"
#include "support/catalog/CatalogFixture.h"
#include "support/search/SearchFixture.h"

namespace kest::discfacts {
namespace {

using test::ShellQuote;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class DiscFactsCli : public ::testing::Test {
  protected:
    void SetUp() override {
        home.Write("Kest.ini", "[Save_List]\nOpenAfterSaving=False\n");
        auto db = test::MakeSearchCatalog(home);
        // A copy of disc 1's readme on disc 2, in another folder.
        db->Execute(
            "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (2, 'old/', "
            "'README.txt', 1536)");
    }
    test::CliResult Run(const std::string& args) {
        return test::RunCli("--home " + ShellQuote(home.Path().string()) + " " + args);
    }
    test::TempDir home;
};

TEST_F(DiscFactsCli, FactsAreShownSetAndRefusedWithTheirReasons) {
    auto r = Run("disc-facts 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.OutLines(), ElementsAre("Kest ID\t2", "Catalogued\t", "Re-catalogued\t",
                                          "Capacity\t", "Free Space\t", "Location\t", "Lent To\t",
                                          "Lent On\t", "Due Back\t", "Notes\t"));
    r = Run("disc-facts 2 --location " + ShellQuote("Shelf B, box 3") + " --tag " +
            ShellQuote("Rock, Pop") + " --tag Été --lent-to Ann --lent-on 2026-01-05 --due " +
            "2026-01-20 --notes " + ShellQuote("one\ntwo"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(
        r.OutLines(),
        ElementsAre("Kest ID\t2", "Catalogued\t", "Re-catalogued\t", "Capacity\t", "Free Space\t",
                    "Location\tShelf B, box 3", "Tag\tRock, Pop", "Tag\tÉté", "Lent To\tAnn",
                    "Lent On\t2026-01-05", "Due Back\t2026-01-20 (overdue)", "Notes\tone", "two"));
    r = Run("disc-facts 2 --untag été --returned");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Tag\tRock, Pop\nLent To\t\n"));

    r = Run("disc-facts 2 --lent-to Bob --lent-on 2026-02-01 --due 2026-01-01");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Error in updating disc facts"));
    EXPECT_THAT(r.err, HasSubstr("The due date 01/01/2026 comes before the lent-on date"));
    r = Run("disc-facts 2 --notes " + ShellQuote(std::string(10000, 'n')));
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("The note is too long: 10,000 characters, at most 4,000."));
    EXPECT_NE(Run("disc-facts 2 --returned --lent-to X").status, 0);  // refused by the parser
    r = Run("disc-facts 42");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("No disc with Kest ID 42 in the catalog."));
}

TEST_F(DiscFactsCli, TheDiscListKeepsOnlyTheDiscsTheFilterNames) {
    ASSERT_EQ(Run("disc-facts 1 --location " + ShellQuote("Shelf A") + " --tag tax").status, 0);
    ASSERT_EQ(Run("disc-facts 2 --location " + ShellQuote("shelf B") +
                  " --tag tax --tag photos --lent-to Ann")
                  .status,
              0);
    auto ids = [&](const std::string& args) {
        auto r = Run("discs " + args);
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<std::string> out;
        for (const std::string& line : r.OutLines()) out.push_back(line.substr(0, line.find('\t')));
        return out;
    };
    EXPECT_THAT(ids("--tag TAX"), ElementsAre("Kest ID ", "1", "2"));
    EXPECT_THAT(ids("--tag tax --tag Photos"), ElementsAre("Kest ID ", "2"));
    EXPECT_THAT(ids("--location SHELF"), ElementsAre("Kest ID ", "1", "2"));
    EXPECT_THAT(ids("--lent"), ElementsAre("Kest ID ", "2"));
    EXPECT_THAT(ids("--filter holiday"), ElementsAre("Kest ID ", "2"));
    EXPECT_THAT(ids("--tag none"), ElementsAre("Kest ID "));
    EXPECT_THAT(Run("discs --lent").err, HasSubstr("3 discs (2 files) in kest001.kst database."));
}

TEST_F(DiscFactsCli, DuplicatesPrintOneBlockPerGroupAndSaveLikeTheOtherLists) {
    auto r = Run("duplicates");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.OutLines(), ElementsAre("readme.txt", "1536 bytes, 2 copies", "  1\t<root>",
                                          "  2\told/\tREADME.txt", ""));
    EXPECT_THAT(r.err, HasSubstr("1 group of copies, 1536 bytes in extra copies."));
    EXPECT_THAT(Run("duplicates --discs 2-3").OutLines(), ElementsAre());

    std::string saved = home.File("dups.csv");
    r = Run("duplicates --save-csv " + ShellQuote(saved));
    ASSERT_EQ(r.status, 0) << r.err;
    std::string csv = test::ReadWholeFile(saved);
    EXPECT_THAT(csv, HasSubstr("\r\nKEST DUPLICATE FILES\r\n"));
    EXPECT_THAT(csv, HasSubstr("Group ,File Name ,File Size ,Copies ,Waste ,Kest ID ,Directory "
                               ",File Date ,\r\n1,readme.txt,1536,2,1536,1,<root>,"));
}

TEST_F(DiscFactsCli, SingleCopyTakesDiscListsAndExplainsBadOnes) {
    auto r = Run("single-copy --discs 2,1");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.OutLines().size(), 1u + 7u);  // every file but the two readmes
    EXPECT_THAT(r.err, HasSubstr("7 files on one disc only."));
    r = Run("single-copy --discs 3-2");  // backwards, and disc 3 has no files
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("3 files on one disc only."));
    for (auto [list, reason] :
         {std::pair{"9", "No disc with Kest ID 9 in the catalog."},
          std::pair{"1,,2", "has an empty item"},
          std::pair{"5-8", "No disc of the catalog lies in the range 5-8."}}) {
        r = Run(std::string("single-copy --discs ") + ShellQuote(list));
        EXPECT_EQ(r.status, 1) << list;
        EXPECT_THAT(r.err, HasSubstr(reason)) << list;
    }
}

TEST_F(DiscFactsCli, IdentifyNamesTheDiscOrSaysItIsUnknown) {
    test::TempDir disc;
    auto r = Run("identify " + ShellQuote(disc.Path().string()) +
                 " --volume-serial 0000-0001 --volume-label PHOTOS");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "PHOTOS (0000-0001) is disc 2 of the catalog: Holiday, 2 files.\n");
    r = Run("identify " + ShellQuote(disc.Path().string()) +
            " --volume-serial 7777-7777 --volume-label NEW");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "NEW (7777-7777) is not in the catalog.\n");
}

TEST_F(DiscFactsCli, ScanWithHashGroupsCopiesByContent) {
    test::TempDir disc;
    disc.Write("one.txt", "same bytes");
    disc.Write("sub/renamed.txt", "same bytes");
    auto r =
        Run("--input Hashed scan --hash --drive-type optical --volume-serial "
            "4444-4444 " +
            ShellQuote(disc.Path().string()));
    ASSERT_EQ(r.status, 0) << r.err;
    r = Run("duplicates --discs 4");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.OutLines().size(), 5u) << r.out;
    EXPECT_EQ(r.OutLines()[0], "one.txt");
    EXPECT_THAT(r.OutLines()[1], HasSubstr("10 bytes, 2 copies, content "));
    EXPECT_EQ(r.OutLines()[3], "  4\tsub/\trenamed.txt");
    r = Run("disc-facts 4");
    EXPECT_THAT(r.out, HasSubstr("Catalogued\t2"));
    EXPECT_THAT(r.out, HasSubstr(" bytes\nFree Space\t"));
}

}  // namespace
}  // namespace kest::discfacts
