#include <gtest/gtest.h>

#include "core/ui/FileFilter.h"
#include "core/ui/MessageText.h"
#include "core/ui/Prompter.h"
#include "core/ui/Twips.h"

namespace kest {
namespace {

TEST(Twips, PixelsFollowTheScreensDotsPerInch) {
    struct Case {
        int twips, dpi, pixels;
    };
    const Case cases[] = {{1440, 96, 96}, {1440, 144, 144}, {15, 96, 1}, {7, 96, 0},
                          {8, 96, 1},     {-30, 96, -2},    {0, 192, 0}};
    for (const Case& c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips;
    EXPECT_EQ(PixelsToTwips(100, kStandardDpi), 1500);
    EXPECT_EQ(PixelsToTwips(3, 120), 36);
    for (int pixels : {0, 1, 17, 1024}) {
        for (int dpi : {72, 96, 120, 144, 192})
            EXPECT_EQ(TwipsToPixels(PixelsToTwips(pixels, dpi), dpi), pixels) << dpi;
    }
}

TEST(FileFilter, ClassicTextsAndChoicesConvertBothWays) {
    const std::string kest =
        "Kest Database (*.kst)|*.kst|MS Access 97 Database (*.mdb)|*.mdb|All Files (*.*)|*.*";
    const std::vector<FileFilter> choices = {{"Kest Database (*.kst)", {"*.kst"}},
                                             {"MS Access 97 Database (*.mdb)", {"*.mdb"}},
                                             {"All Files (*.*)", {"*.*"}}};
    EXPECT_EQ(ParseFileFilter(kest), choices);
    EXPECT_EQ(ClassicFileFilter(choices), kest);
    const std::vector<FileFilter> two = {{"Text", {"*.txt", "*.lst"}}};
    EXPECT_EQ(ParseFileFilter("Text|*.txt;*.lst"), two);
    EXPECT_EQ(ClassicFileFilter(two), "Text|*.txt;*.lst");
    EXPECT_TRUE(ParseFileFilter("").empty());
    EXPECT_TRUE(ParseFileFilter("Lonely description").empty());
    EXPECT_EQ(ParseFileFilter("A|*.a|Dangling"), (std::vector<FileFilter>{{"A", {"*.a"}}}));
}

TEST(FileFilter, ASavedNameWithoutExtensionTakesTheChosenChoicesOne) {
    const std::string catalogs = "Kest Database (*.kst)|*.kst";
    const std::string lists = "Text File (*.txt)|*.txt|Data File (*.dat)|*.dat|All Files (*.*)|*.*";
    EXPECT_EQ(WithFilterExtension("/home/ann/mycat", catalogs, 1), "/home/ann/mycat.kst");
    EXPECT_EQ(WithFilterExtension("/home/ann/discs", lists, 2), "/home/ann/discs.dat");
    // A name with an extension, or a choice without one, stays as typed.
    EXPECT_EQ(WithFilterExtension("/home/ann/my.cat", catalogs, 1), "/home/ann/my.cat");
    EXPECT_EQ(WithFilterExtension("/home/ann/discs", lists, 3), "/home/ann/discs");
    EXPECT_EQ(WithFilterExtension("/home/a.b/discs", lists, 1), "/home/a.b/discs.txt");
    EXPECT_EQ(WithFilterExtension("/home/ann/.hidden", lists, 1), "/home/ann/.hidden.txt");
    EXPECT_EQ(WithFilterExtension("/home/ann/discs", lists, 4), "/home/ann/discs");
    EXPECT_EQ(FilterExtension({"Any", {"*"}}), "");
    EXPECT_EQ(FilterExtension({"Odd", {"*.k?t"}}), "");
    EXPECT_EQ(FilterExtension({"Archive", {"*.tar.gz", "*.tgz"}}), ".tar.gz");
}

TEST(MessageText, EveryLineEndingEndsALine) {
    EXPECT_EQ(MessageLines("one\r\ntwo\rthree\nfour"),
              (std::vector<std::string>{"one", "two", "three", "four"}));
    EXPECT_EQ(MessageLines("\r\n\r\n"), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(MessageLines(""), (std::vector<std::string>{""}));
    EXPECT_EQ(WithLineFeeds("a\r\n \r\nb\r\n"), "a\n \nb\n");
    EXPECT_EQ(WithLineFeeds("\r\nx"), "\nx");
}

TEST(MessageBoxButtons, DefaultAndClosedAnswersCountFromTheLeft) {
    EXPECT_EQ(DefaultButtonIndex(Buttons::YesNo, 2), 1u);
    EXPECT_EQ(DefaultButtonIndex(Buttons::AbortRetryIgnore, 3), 2u);
    // A default the box has no button for is its first.
    EXPECT_EQ(DefaultButtonIndex(Buttons::OKOnly, 2), 0u);
    EXPECT_EQ(DefaultButtonIndex(Buttons::YesNoCancel, 0), 0u);
    EXPECT_EQ(ClosedAnswer(Buttons::OKOnly), Answer::OK);
    EXPECT_EQ(ClosedAnswer(Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(ClosedAnswer(Buttons::YesNo), Answer::No);
}

TEST(FileDialogFlags, OnlyMustExistAndOverwritePromptChangeADialogHere) {
    FileDialogBehaviour open = DialogBehaviour(36868);  // must exist, read-only hidden and refused
    EXPECT_TRUE(open.fileMustExist);
    EXPECT_FALSE(open.confirmOverwrite);
    FileDialogBehaviour save = DialogBehaviour(kOverwritePromptFlag | kHideReadOnlyFlag);
    EXPECT_FALSE(save.fileMustExist);
    EXPECT_TRUE(save.confirmOverwrite);
}

}  // namespace
}  // namespace kest
