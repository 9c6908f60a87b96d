#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "core/search/SaveListCommand.h"
#include "platform/Shell.h"
#include "support/ScriptedPrompter.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"
#include "support/platform/FakeShell.h"
#include "support/search/SearchFixture.h"

namespace kest::search {
namespace {

using test::ReadWholeFile;
using ::testing::HasSubstr;

using test::FakeShell;

ListTable Results() {
    return test::MakeTable({{"Kest ID ", 0},
                            {"FileId", -1},
                            {"File Name ^", 7},
                            {"File Date ", 10},
                            {"SortDate ", -2},
                            {"SubFile Name ", 101}},
                           {"1", "17", " a, b.txt ", "09/18/99", "19990918000000", "in\"ner"});
}

// Two discs, with or without the used space column.
ListTable Discs(bool usedSpace) {
    std::vector<ListColumn> columns = {{"Kest ID ", 0},          {"Disc Serial # ", 1},
                                       {"Disc File System ", 2}, {"Disc Vol Label ", 3},
                                       {"Disc Description ", 4}, {"# of Files ", 5}};
    if (usedSpace) columns.push_back({"Used Space (MB) ", 6});
    test::Texts cells;
    for (test::Texts row :
         {test::Texts{"1", "1A2B-3C4D", "CDFS", "BACKUP", "Tax", "6", "3.0083"},
          test::Texts{"12345678", "0000-0001", "UDF", "PHOTOS", "", "2", "1.0000"}}) {
        if (!usedSpace) row.pop_back();
        cells.insert(cells.end(), row.begin(), row.end());
    }
    return test::MakeTable(columns, cells);
}

DumpSource Source(const ListTable& table, bool results) {
    DumpSource s;
    s.results = results;
    s.table = &table;
    s.discSummary = "2 discs (8 files) in kest001.kst database.";
    s.catalogPath = "/home/ann/kest001.kst";
    s.now = text::DateTime{1999, 9, 18, 14, 32, 21};
    s.searchText = "a,b";
    s.bounds.sizeFrom = "1";
    s.bounds.discTo = "4";
    s.resultCount = "Matches Found: 1";
    s.showCol = {1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0};
    return s;
}

TEST(ListDump, ResultsAsPlainTextAndCsv) {
    ListTable table = Results();
    // Ruler: (7+3) + (9+3) + (9+3) - 2 = 32.
    EXPECT_EQ(FormatList(Source(table, true), ListFormat::PlainText),
              "\r\n\r\n"
              "     KEST SEARCH RESULTS\r\n"
              "     File generated on September 18, 1999 02:32:21 PM\r\n"
              "     2 discs (8 files) in kest001.kst database.\r\n"
              "     Full path: /home/ann/kest001.kst\r\n"
              "     Search string: \"a,b\" Size: 1 to * Date: * to * KestID: * to 4\r\n"
              "     Matches Found: 1\r\n"
              "     --------------------------------\r\n"
              "\r\n"
              "     ________________________________\r\n"
              "     |Kest ID|  File Name ^|  File Date|  SubFile Name\r\n"
              "     |1|  a, b.txt|  09/18/99|  in\"ner\r\n"
              "      ________________________________\r\n");
    EXPECT_EQ(FormatList(Source(table, true), ListFormat::Csv),
              "\r\n\r\n"
              "KEST SEARCH RESULTS\r\n"
              "File generated on September 18 1999 02:32:21 PM\r\n"
              "2 discs (8 files) in kest001.kst database.\r\n"
              "Full path: /home/ann/kest001.kst\r\n"
              "Search string: \"a,b\" Size: 1 to * Date: * to * KestID: * to 4\r\n"
              "Matches Found: 1\r\n"
              "Kest ID ,File Name ^,File Date ,SubFile Name ,\r\n"
              "1, a, b.txt ,09/18/99,in\"ner,\r\n");
}

TEST(ListDump, DiscsAsPlainTextAndCsv) {
    ListTable table = Discs(true);
    // Ruler: 7+13+16+14+16+10 + 6*3 - 2 = 92, + "Used Space (MB) " (16) + 2 = 110.
    DumpSource source = Source(table, false);
    source.usedSpaceShown = true;
    std::string text = FormatList(source, ListFormat::PlainText);
    EXPECT_THAT(text, HasSubstr("     KEST DISC COLLECTION\r\n"));
    EXPECT_THAT(text, ::testing::Not(HasSubstr("Search string")));
    EXPECT_THAT(text, HasSubstr("     " + std::string(110, '-') + "\r\n"));
    EXPECT_THAT(text, HasSubstr("     |Kest ID|  Disc Serial #|  Disc File System|  Disc Vol Label|"
                                "  Disc Description|  # of Files|  Used Space (MB)\r\n"
                                "     |1      | \"1A2B-3C4D\" \"CDFS\" \"BACKUP\" \"Tax\" \"6\" "
                                "\"3.0083\" \r\n"
                                "     |12345678\r\n"
                                "             | \"0000-0001\" \"UDF\" \"PHOTOS\" \"\" \"2\" "
                                "\"1.0000\" \r\n"
                                "      " +
                                std::string(110, '_') + "\r\n"));

    ListTable noUsedSpace = Discs(false);
    text = FormatList(Source(noUsedSpace, false), ListFormat::Csv);
    EXPECT_THAT(text, HasSubstr("KEST DISC COLLECTION\r\nFile generated on September 18 1999"));
    EXPECT_THAT(text, HasSubstr("Full path: /home/ann/kest001.kst\r\n"
                                "Kest ID,Disc Serial #,Disc File System,Disc Vol Label,"
                                "Disc Description,# of Files\r\n"
                                "\"1\",\"1A2B-3C4D\",\"CDFS\",\"BACKUP\",\"Tax\",\"6\",\r\n"));
}

class SaveList : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    FakeShell shell;
    SaveListSettings settings{true, "/prog"};
    ListTable table = Results();

    SaveOutcome Save(ListFormat format) {
        return SaveListCommand(Source(table, true), format, 1, settings, prompter, shell);
    }
};

TEST_F(SaveList, NothingToSave) {
    DumpSource source = Source(table, true);
    source.resultCount = "Matches Found: ---";
    prompter.ExpectNotice("No Results", "There is nothing to save.", Icon::Exclamation);
    EXPECT_EQ(SaveListCommand(source, ListFormat::PlainText, 1, settings, prompter, shell),
              SaveOutcome::NothingToSave);
    ListTable empty;
    prompter.ExpectNotice("No Discs", "There is nothing to save.", Icon::Exclamation);
    EXPECT_EQ(SaveListCommand(Source(empty, false), ListFormat::Csv, 0, settings, prompter, shell),
              SaveOutcome::NothingToSave);
}

TEST_F(SaveList, WritesAndOpensTheFile) {
    std::string path = dir.File("list.csv");
    prompter.ExpectSaveFile("Save List as CSV...", path);
    EXPECT_EQ(Save(ListFormat::Csv), SaveOutcome::Saved);
    EXPECT_EQ(prompter.LastFileDialog().filter, "CSV File (*.csv)|*.csv|All Files (*.*)|*.*");
    EXPECT_EQ(prompter.LastFileDialog().initialDir, "/prog");
    EXPECT_EQ(prompter.LastFileDialog().flags, 4);  // the read-only box hidden
    EXPECT_EQ(ReadWholeFile(path), FormatList(Source(table, true), ListFormat::Csv));
    EXPECT_EQ(shell.opened, std::vector<std::string>{path});

    prompter.ExpectSaveFile("Save List as Plain Text...", std::nullopt);
    EXPECT_EQ(Save(ListFormat::PlainText), SaveOutcome::Cancelled);
}

TEST_F(SaveList, AsksBeforeOverwriting) {
    std::string path = dir.Write("list.txt", "keep me");
    prompter.ExpectSaveFile(::testing::_, path)
        .ExpectMessage("File already exists",
                       path + "\r\nThe file already exists.\r\nDo you want to overwrite it?",
                       Icon::Exclamation, Buttons::YesNo, 2, Answer::No)
        .ExpectNotice("File write aborted", "The file was not generated.", Icon::Information);
    EXPECT_EQ(Save(ListFormat::PlainText), SaveOutcome::Declined);
    EXPECT_EQ(ReadWholeFile(path), "keep me");

    settings.openAfterSaving = false;
    prompter.ExpectSaveFile(::testing::_, path)
        .ExpectMessage("File already exists", ::testing::_, Icon::Exclamation, Buttons::YesNo, 2,
                       Answer::Yes);
    EXPECT_EQ(Save(ListFormat::PlainText), SaveOutcome::Saved);
    EXPECT_THAT(ReadWholeFile(path), HasSubstr("KEST SEARCH RESULTS"));
    EXPECT_TRUE(shell.opened.empty());
}

// Only a regular file is ever replaced: a device, a FIFO, a folder or a link
// stays as it was, whatever the overwrite answer would have been.
TEST_F(SaveList, TargetsThatAreNotRegularFilesAreRefused) {
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0644), 0);
    std::filesystem::create_directory(dir.File("folder"));
    std::filesystem::create_symlink(dir.File("nowhere"), dir.File("dangling.txt"));
    for (const std::string& path : {dir.File("fifo"), dir.File("folder"), dir.File("dangling.txt"),
                                    std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        prompter.ExpectSaveFile(::testing::_, path)
            .ExpectNotice("Error in saving file", "75\r\nPath/File access error", Icon::Critical);
        EXPECT_EQ(Save(ListFormat::PlainText), SaveOutcome::Failed);
        prompter.VerifyDone();
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir.File("fifo")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("nowhere")));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    // Nor does writing straight to a device replace it.
    prompter.ExpectNotice("Error in dump-to-text", "75\r\nPath/File access error", Icon::Critical);
    EXPECT_FALSE(DumpList(Source(table, true), ListFormat::PlainText, "/dev/full", prompter));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(SaveList, WriteErrorsAreShownAndNothingOpens) {
    prompter.ExpectSaveFile(::testing::_, dir.File("missing/list.txt"))
        .ExpectNotice("Error in dump-to-text", "76\r\nPath not found", Icon::Critical);
    EXPECT_EQ(Save(ListFormat::PlainText), SaveOutcome::Failed);
    // A full disk: the old list stays whole.
    test::SmallDisk disk("64k");
    if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    std::string list = disk.File("list.txt");
    EXPECT_TRUE(DumpList(Source(table, true), ListFormat::PlainText, list, prompter));
    std::string old = ReadWholeFile(list);
    disk.Fill();
    prompter.ExpectNotice("Error in dump-to-text", "61\r\nDisk full", Icon::Critical);
    EXPECT_FALSE(DumpList(Source(table, true), ListFormat::Csv, list, prompter));
    EXPECT_EQ(ReadWholeFile(list), old);
    EXPECT_TRUE(shell.opened.empty());
}

}  // namespace
}  // namespace kest::search
