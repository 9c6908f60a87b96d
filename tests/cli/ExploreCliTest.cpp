// kest-cli tree and ls over a small disc with an archive and odd names.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/RunCli.h"
#include "support/catalog/CatalogFixture.h"

namespace kest {
namespace {

using test::ShellQuote;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ExploreCli : public ::testing::Test {
  protected:
    void SetUp() override {
        auto db = engine::Database::Open(test::MakeCatalogFile(home), "");
        db->Execute(
            "INSERT INTO tblDiscs (DiscSer, DiscLbl, DiscDesc) VALUES "
            "('1234-ABCD', 'PHOTOS', 'holiday')");
        db->Execute(
            "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate) VALUES "
            "(1, '<root>', 'readme.txt', 'A', 1536, '1999-09-18 14:32:21'), "
            "(1, 'pics/', 'a.jpg', 'RA', 2048, '2000-01-01 00:00:00'), "
            "(1, 'pics/100%/', 'it''s.zip', '', 100, NULL), "
            "(1, 'pics/100%', 'b.jpg', '', 1048576, NULL), "
            "(1, 'x/y/z/', 'deep', '', 1, NULL)");
        db->Execute(
            "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileSize, "
            "SubFileCSize, SubFileRatio, SubFileCRC, SubFileSMeth) VALUES "
            "(1, 3, '<root>', 'top.txt', 10, 5, 50, '0000ABCD', 'Deflated'), "
            "(1, 3, '../../etc/', 'passwd', 20, 20, 0, '12345678', 'Stored')");
    }
    test::CliResult Run(const std::string& args) {
        return test::RunCli("--home " + ShellQuote(home.Path().string()) + " " + args);
    }
    test::TempDir home;
};

TEST_F(ExploreCli, TreeDrawsFoldersWithTheirFilesBelow) {
    auto r = Run("tree 1 --sizes");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.OutLines(),
                ElementsAre("Kest ID 1: PHOTOS (1234-ABCD) - holiday", "<root> (5 files, 1.00 MB)",
                            "├── pics/ (3 files, 1.00 MB)", "│   └── 100%/ (2 files, 1.00 MB)",
                            "└── x/ (1 file, 1 bytes)", "    └── y/ (1 file, 1 bytes)",
                            "        └── z/ (1 file, 1 bytes)", "", "5 folders, 5 files"));
    r = Run("tree 1 x --depth 1");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.OutLines(), ElementsAre("Kest ID 1: PHOTOS (1234-ABCD) - holiday", "x (1 file)",
                                          "└── y/ (1 file)", "", "2 folders, 1 file"));
}

TEST_F(ExploreCli, LsListsAFolderOrAnArchive) {
    auto r = Run("ls 1 pics");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.OutLines(), ElementsAre("100%/", "a.jpg"));
    r = Run("ls 1 " + ShellQuote("/pics/100%/") + " --long");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.OutLines(),
                ElementsAre("-              1048576                     b.jpg",
                            "-                  100                     it's.zip  [archive]"));
    r = Run("ls 1 " + ShellQuote("pics/100%/it's.zip") + " -l");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.OutLines(),
                ElementsAre("<DIR>               20                     ../ (1 file)",
                            "-                   10                     top.txt  packed 5, ratio "
                            "50%, CRC 0000ABCD, Deflated"));
    r = Run("ls 1 " + ShellQuote("pics/100%/it's.zip/../.."));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.OutLines(), ElementsAre("etc/"));
    r = Run("ls 1 ''");
    EXPECT_THAT(r.OutLines(), ElementsAre("pics/", "x/", "readme.txt"));
}

TEST_F(ExploreCli, AMissingDiscOrFolderIsAClearError) {
    auto r = Run("ls 7 pics");
    EXPECT_NE(r.status, 0);
    EXPECT_THAT(r.err, HasSubstr("The catalog holds no disc with Kest ID 7."));
    EXPECT_TRUE(r.out.empty());
    r = Run("ls 1 pics/nothing");
    EXPECT_NE(r.status, 0);
    EXPECT_THAT(r.err, HasSubstr("The disc holds no folder or archive \"pics/nothing\"."));
    r = Run("tree 1 readme.txt");
    EXPECT_NE(r.status, 0);
    r = Run("ls 1");
    EXPECT_NE(r.status, 0);
}

}  // namespace
}  // namespace kest
