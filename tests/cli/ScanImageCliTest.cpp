// kest-cli scan --image: a disc image registered as the disc it holds, read
// in place, against a scan of the same disc mounted (or, where mounting is
// not allowed, of the tree the image was made from).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/mount.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/linux/VolumeProbe.h"
#include "support/RunCli.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "support/archive/ZipBuilder.h"

namespace kest {
namespace {

using test::ShellQuote;
using ::testing::HasSubstr;

// The rows of the last disc, without the numbers each scan gives anew.
constexpr const char* kFileRows =
    "'SELECT FileDir, FileName, FileAtt, FileSize, FileDate FROM tblFiles "
    "WHERE KestId = (SELECT MAX(KestId) FROM tblDiscs) ORDER BY FileDir, FileName'";
constexpr const char* kSubFileRows =
    "'SELECT f.FileDir, f.FileName, s.SubFileDir, s.SubFileName, s.SubFileAtt, s.SubFileCRC, "
    "s.SubFileSize, s.SubFileCSize, s.SubFileRatio, s.SubFileDate, s.SubFileComm, "
    "s.SubFileMeth, s.SubFileSMeth, s.SubFileEncr, s.SubFileFlags FROM tblSubFiles s "
    "JOIN tblFiles f ON f.FileId = s.FileId WHERE s.KestId = (SELECT MAX(KestId) FROM "
    "tblDiscs) ORDER BY 1, 2, 3, 4'";
constexpr const char* kHashRows =
    "'SELECT f.FileDir, f.FileName, h.xxh3 FROM _kest_file_hashes h JOIN tblFiles f ON "
    "f.FileId = h.FileId WHERE h.KestId = (SELECT MAX(KestId) FROM tblDiscs) ORDER BY 1, 2'";
constexpr const char* kDiscRow =
    "'SELECT DiscLbl, DiscSer, DiscFSys, DiscNumF FROM tblDiscs ORDER BY KestId DESC'";

class ScanImageCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(Cli("create " + Catalog()).status, 0);
        home.Write("Kest.ini", "[SubFile_Options]\nSaveSubFileCont=True\nSaveZIP=1\n");
    }
    std::string Catalog() const { return ShellQuote(home.File("kest001.kst")); }
    test::CliResult Cli(const std::string& args) {
        return test::RunCli("--home " + ShellQuote(home.Path().string()) + " " + args);
    }
    test::CliResult ScanImage(const std::string& image) {
        return Cli("--input image scan --hash --image " + ShellQuote(image));
    }
    std::string Sql(const char* query) { return Cli("sql " + Catalog() + " " + query).out; }
    test::TempDir home, work;
};

// Names of every kind, sizes, dates, read-only and hidden files, archives
// listed and contents hashed from the image's bytes: the rows equal those of
// the mounted disc.
TEST_F(ScanImageCliTest, RowsEqualAScanOfTheMountedDisc) {
    if (!test::ToolsInstalled("xorriso tar")) GTEST_SKIP() << "no xorriso";
    work.Write("tree/readme.txt", "a file on the disc\n");
    work.Write("tree/Docs/A long name, with spaces & ümlauts — and more.text", "words");
    work.Write("tree/Docs/" + std::string(220, 'n') + ".bin", std::string(100000, 'y'));
    work.Write("tree/.hidden", "dot");
    work.Write("tree/deep/er/and/deeper/still/file.dat", "");
    test::ZipLayout zip;
    for (const char* name : {"one.txt", "folder/two.txt"}) zip.entries.push_back({.name = name});
    work.Write("tree/Docs/pack.zip", test::BuildZip(zip));
    ASSERT_TRUE(test::RunIn(work,
                            "chmod a-w tree/readme.txt && tar -cf tree/bundle.tar -C tree "
                            "Docs && xorriso -as mkisofs -R -J -V IMAGE_DISC -o disc.iso "
                            "tree"));

    ASSERT_EQ(ScanImage(work.File("disc.iso")).status, 0);
    const std::string files = Sql(kFileRows), subFiles = Sql(kSubFileRows);
    const std::string disc = Sql(kDiscRow), hashes = Sql(kHashRows);
    EXPECT_THAT(hashes, HasSubstr("<root>\treadme.txt\t"));
    EXPECT_THAT(files, HasSubstr("<root>\treadme.txt\tR\t19\t"));
    EXPECT_THAT(files, HasSubstr("<root>\t.hidden\tH\t3\t"));
    EXPECT_THAT(subFiles, HasSubstr("Docs/\tpack.zip\tfolder/\ttwo.txt"));
    EXPECT_THAT(subFiles, HasSubstr("<root>\tbundle.tar\tDocs/\tpack.zip"));
    auto probed = platform::os::ProbeVolume(work.File("disc.iso"));
    ASSERT_TRUE(probed);
    EXPECT_EQ(disc, "DiscLbl\tDiscSer\tDiscFSys\tDiscNumF\n" + probed->label + "\t" +
                        probed->serial + "\tCDFS\t7\n");

    std::string mounted = work.File("mnt");
    std::filesystem::create_directory(mounted);
    bool mountable = test::RunIn(work, "mount -o loop,ro disc.iso mnt 2>/dev/null");
    std::string scanned = mountable ? mounted : work.File("tree");
    ASSERT_EQ(
        Cli("--input mounted --answer No scan --hash --drive-type optical " + ShellQuote(scanned))
            .status,
        0);
    if (mountable) umount(mounted.c_str());
    EXPECT_EQ(Sql(kFileRows), files) << (mountable ? "mounted" : "the source tree");
    EXPECT_EQ(Sql(kSubFileRows), subFiles);
    EXPECT_EQ(Sql(kHashRows), hashes);
}

// A UDF bridge image is scanned through its UDF volume: names, sizes and
// dates as in the tree it was made from (genisoimage's UDF files are
// read-only, as the mounted disc shows them).
TEST_F(ScanImageCliTest, UdfBridgeImageIsScannedAsUdf) {
    if (!test::ToolsInstalled("genisoimage")) GTEST_SKIP() << "no genisoimage";
    work.Write("tree/readme.txt", "udf\n");
    work.Write("tree/Fotos/Sommer 2024/Strand und Dünen.jpg", std::string(3000, 'j'));
    ASSERT_TRUE(test::RunIn(work, "genisoimage -udf -R -J -V UDF_DISC -o disc.iso tree"));
    ASSERT_EQ(ScanImage(work.File("disc.iso")).status, 0);
    const char* rows =
        "'SELECT FileDir, FileName, FileSize, FileDate FROM tblFiles WHERE KestId = "
        "(SELECT MAX(KestId) FROM tblDiscs) ORDER BY FileDir, FileName'";
    const std::string image = Sql(rows);
    EXPECT_THAT(Sql(kFileRows), HasSubstr("<root>\treadme.txt\tR\t4\t"));
    EXPECT_THAT(Sql(kDiscRow), HasSubstr("\tUDF\t2\n"));
    ASSERT_EQ(
        Cli("--input tree --answer No scan --drive-type optical " + ShellQuote(work.File("tree")))
            .status,
        0);
    EXPECT_EQ(Sql(rows), image);
}

// What is no image, or a damaged one, is said in plain words; nothing hangs.
TEST_F(ScanImageCliTest, BadImagesAreReported) {
    work.Write("empty.iso", "");
    std::mt19937 random(7);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    work.Write("noise.iso", noise);
    for (const char* name : {"empty.iso", "noise.iso"}) {
        SCOPED_TRACE(name);
        test::CliResult result = ScanImage(work.File(name));
        EXPECT_EQ(result.status, 1);
        EXPECT_THAT(result.err,
                    HasSubstr("cannot be scanned.\nIt holds no ISO 9660 or UDF volume."));
    }
    EXPECT_NE(Cli("scan --image " + ShellQuote(work.File("missing.iso"))).status, 0);
    EXPECT_NE(Cli("scan " + ShellQuote(work.Path().string()) + " --image " +
                  ShellQuote(work.File("noise.iso")))
                  .status,
              0);

    if (!test::ToolsInstalled("xorriso")) GTEST_SKIP() << "no xorriso";
    for (int i = 0; i < 50; ++i) work.Write("tree/d" + std::to_string(i) + "/f", "x");
    ASSERT_TRUE(test::RunIn(work, "xorriso -as mkisofs -R -o disc.iso tree"));
    std::filesystem::resize_file(work.File("disc.iso"), 24 * 2048);
    test::CliResult result = ScanImage(work.File("disc.iso"));
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("Error while scanning Disc"));
    EXPECT_THAT(result.err, HasSubstr("the disc image is damaged"));
}

}  // namespace
}  // namespace kest
