// The options dialog's rules: what it starts from, its checks in order, what
// Apply moves into the settings, the date examples and the sound browser.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "core/settings/IniFile.h"
#include "core/settings/OptionsForm.h"
#include "core/settings/SettingsLoad.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace kest {
namespace {

using ::testing::ElementsAre;

// A program folder's settings and window state as a first run loads them.
struct Loaded {
    test::TempDir home;
    AppSettings settings;
    WindowState window;

    Loaded() {
        CatalogName startup;
        LoadSettings(IniFile(home.Path() / "Kest.ini"), AppPaths(home.Path()), settings, startup,
                     window);
    }
};

TEST(OptionsForm, LoadingShowsKestIdAlwaysAndNoDecimalsForBytes) {
    Loaded loaded;
    loaded.settings.ShowCol[0] = 0;
    loaded.settings.SizeFormat = kSizeInBytes;
    loaded.settings.SizeNumDec = 4;
    OptionsChoice choice = LoadOptions(loaded.settings, loaded.window);
    EXPECT_EQ(choice.settings.ShowCol[0], 1);
    EXPECT_EQ(choice.settings.SizeNumDec, 0);
    EXPECT_EQ(choice.font.name, "Microsoft Sans Serif");
    EXPECT_EQ(choice.font.size, 8);

    loaded.settings.SizeFormat = kSizeInKB;
    EXPECT_EQ(LoadOptions(loaded.settings, loaded.window).settings.SizeNumDec, 4);
}

TEST(OptionsForm, ChecksRunInOrderAndNameTabFieldAndMessage) {
    Loaded loaded;
    std::string sound = loaded.home.Write("sounds/end.wav", "RIFF");
    struct Case {
        const char* what;
        std::function<void(AppSettings&)> change;
        std::optional<OptionsTab> tab;
        OptionsField field;
        const char* message;
    };
    const char* const kFields = "At least one checkbox must be selected in 'Fields to Search'.";
    const char* const kTypes =
        "You decided to include compressed file information\r\n"
        "but did not select at least one file type.";
    const char* const kSubFields =
        "You decided to search in the subfile information\r\n"
        "but did not select at least one database field.";
    const char* const kSound = "Invalid sound file or it does not exist.";
    auto noFields = [](AppSettings& s) {
        s.InFileName = s.InDirectory = s.InFileDescription = false;
    };
    auto noTypes = [](AppSettings& s) {
        s.SaveSubFileCont = true;
        s.SaveZIP = s.SaveCAB = s.SaveRAR = s.SaveACE = 0;
        s.Save7Z = s.SaveTAR = s.SaveCompressedTAR = s.SaveISO = 0;
    };
    auto noSubFields = [](AppSettings& s) {
        s.SearchSub = true;
        s.InSubFileName = s.InSubDirectory = s.InSubComment = false;
    };
    auto playing = [](std::string path) {
        return [path](AppSettings& s) {
            s.Play = true;
            s.EndScan = path;
        };
    };
    const Case cases[] = {
        {"as loaded", [](AppSettings&) {}, std::nullopt, {}, ""},
        {"no search field", noFields, OptionsTab::Search, OptionsField::SearchFields, kFields},
        {"only the description",
         [](AppSettings& s) {
             s.InFileName = false;
             s.InFileDescription = true;
         },
         std::nullopt,
         {},
         ""},
        {"no file type", noTypes, OptionsTab::CompressedFiles, OptionsField::FileTypes, kTypes},
        {"no file type, not saving",
         [&](AppSettings& s) {
             noTypes(s);
             s.SaveSubFileCont = false;
         },
         std::nullopt,
         {},
         ""},
        {"no subfile field", noSubFields, OptionsTab::CompressedFiles, OptionsField::SubFileFields,
         kSubFields},
        {"no subfile field, not searching",
         [&](AppSettings& s) {
             noSubFields(s);
             s.SearchSub = false;
         },
         std::nullopt,
         {},
         ""},
        {"sound missing", playing(loaded.home.File("sounds/none.wav")), OptionsTab::Misc,
         OptionsField::SoundFile, kSound},
        {"sound empty", playing("   "), OptionsTab::Misc, OptionsField::SoundFile, kSound},
        {"sound is a folder", playing(loaded.home.File("sounds")), OptionsTab::Misc,
         OptionsField::SoundFile, kSound},
        {"sound with blanks around", playing("  " + sound + " "), std::nullopt, {}, ""},
        // Not a WAV: it exists, which is all the dialog asks of it.
        {"sound not a WAV", playing(loaded.home.Write("notes.txt", "text")), std::nullopt, {}, ""},
        {"sound missing, not playing",
         [&](AppSettings& s) {
             playing("/nowhere/x.wav")(s);
             s.Play = false;
         },
         std::nullopt,
         {},
         ""},
        {"every check fails: the first wins",
         [&](AppSettings& s) {
             noFields(s);
             noTypes(s);
             noSubFields(s);
             playing("")(s);
         },
         OptionsTab::Search, OptionsField::SearchFields, kFields},
        {"types and sound fail: types first",
         [&](AppSettings& s) {
             noTypes(s);
             playing("")(s);
         },
         OptionsTab::CompressedFiles, OptionsField::FileTypes, kTypes},
    };
    for (const Case& c : cases) {
        OptionsChoice choice = LoadOptions(loaded.settings, loaded.window);
        c.change(choice.settings);
        std::optional<OptionsProblem> problem = ValidateOptions(choice);
        ASSERT_EQ(problem.has_value(), c.tab.has_value()) << c.what;
        if (!problem) continue;
        EXPECT_EQ(problem->tab, *c.tab) << c.what;
        EXPECT_EQ(problem->field, c.field) << c.what;
        EXPECT_EQ(problem->message, c.message) << c.what;
    }
}

TEST(OptionsForm, ApplyMovesTheChoiceWithItsRepairs) {
    Loaded loaded;
    loaded.settings.Advanced = true;
    loaded.settings.DefaultDrive = "/media/cdrom";
    OptionsChoice choice = LoadOptions(loaded.settings, loaded.window);
    AppSettings& c = choice.settings;
    c.ShowCol.fill(0);
    c.ShowCol[0] = 1;
    c.SizeFormat = kSizeInBytes;
    c.SizeNumDec = 6;
    c.DateFormat = "  dd.mm.yyyy  ";
    c.AdvDateFormat = " ";
    c.Back_Color = 0x112233;
    c.Program_Caption = kCaptionFileName;
    c.ME_Logical_Op = kLogicalAnd;
    c.EndScan = " /sounds/x.wav ";
    // Fields the dialog does not show keep the record's values.
    c.Advanced = false;
    c.DefaultDrive.clear();
    choice.font = {"DejaVu Serif", 12, true, false};

    AppSettings settings = loaded.settings;
    WindowState window = loaded.window;
    ApplyOptions(choice, settings, window);
    EXPECT_THAT(settings.ShowCol, ElementsAre(1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0));
    EXPECT_EQ(settings.SizeFormat, kSizeInBytes);
    EXPECT_EQ(settings.SizeNumDec, 0);
    EXPECT_EQ(settings.DateFormat, "dd.mm.yyyy");
    EXPECT_EQ(settings.AdvDateFormat, "");
    EXPECT_EQ(settings.Back_Color, 0x112233);
    EXPECT_EQ(settings.Program_Caption, kCaptionFileName);
    EXPECT_EQ(settings.ME_Logical_Op, kLogicalAnd);
    EXPECT_EQ(settings.EndScan, " /sounds/x.wav ");
    EXPECT_TRUE(settings.Advanced);
    EXPECT_EQ(settings.DefaultDrive, "/media/cdrom");
    EXPECT_EQ(window.fontName, "DejaVu Serif");
    EXPECT_EQ(window.fontSize, 12);
    EXPECT_TRUE(window.fontBold);
    EXPECT_FALSE(window.fontItalic);

    // Two columns shown: nothing is added.
    c.ShowCol[3] = 1;
    ApplyOptions(choice, settings, window);
    EXPECT_THAT(settings.ShowCol, ElementsAre(1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0));
}

TEST(OptionsForm, DateExamplesFormatTheFixedDate) {
    struct Case {
        std::string format;
        std::string example;
    };
    const Case cases[] = {
        {"mm/dd/yy hh:nn:ss AMPM", "09/18/99 02:32:21 PM"},
        {"dd.mm.yyyy hh:nn", "18.09.1999 14:32"},
        {"", "9/18/1999 2:32:21 PM"},
        {"yyyy-mm-dd", "1999-09-18"},
        {"\"Date\" q", "Date 3"},
    };
    for (const Case& c : cases) EXPECT_EQ(DateExample(c.format), c.example) << c.format;

    // Long formats and formats of nothing but format characters give text,
    // whatever its length.
    EXPECT_FALSE(DateExample(std::string(2047, 'y')).empty());
    EXPECT_FALSE(DateExample(std::string(2047, 'd')).empty());
    EXPECT_FALSE(
        DateExample("dddddd mmmmm yyyyy hhh nnn sss ttttt c w ww q y AMPM am/pm A/P\\").empty());
    EXPECT_EQ(DateExample(std::string(1000, '"')), "");
}

TEST(OptionsForm, TheSoundBrowserStartsInTheSoundsFolderAndKeepsItsChoice) {
    Loaded loaded;
    test::ScriptedPrompter prompter;
    AppPaths paths(loaded.home.Path());
    std::string before = loaded.settings.EndScan;
    prompter.ExpectOpenFile("Select a sound file...", std::nullopt);
    EXPECT_EQ(BrowseForSound(prompter, paths, loaded.settings), std::nullopt);
    EXPECT_EQ(loaded.settings.EndScan, before);
    const FileDialogRequest& dialog = prompter.LastFileDialog();
    EXPECT_EQ(dialog.initialDir, (loaded.home.Path() / "sounds").string());
    EXPECT_EQ(dialog.fileName, "");
    EXPECT_EQ(dialog.filter, "WAV file (*.wav)|*.wav|All Files (*.*)|*.*");
    EXPECT_EQ(dialog.flags, 0x4 | 0x1000);

    prompter.ExpectOpenFile("Select a sound file...", "/home/u/ding.wav");
    EXPECT_EQ(BrowseForSound(prompter, paths, loaded.settings), "/home/u/ding.wav");
    EXPECT_EQ(loaded.settings.EndScan, "/home/u/ding.wav");
}

TEST(OptionsForm, TheDiscListShapeFollowsItsThreeSettings) {
    AppSettings settings;
    DiscListShape before = DiscListShapeOf(settings);
    settings.ShowCol[3] = 1;
    settings.Program_Caption = kCaptionFileName;
    EXPECT_EQ(DiscListShapeOf(settings), before);
    for (auto change : {+[](AppSettings& s) { s.ShowUsedSpace = true; },
                        +[](AppSettings& s) { s.SizeFormat = kSizeInKB; },
                        +[](AppSettings& s) { s.SizeNumDec = 2; }}) {
        AppSettings changed = settings;
        change(changed);
        EXPECT_NE(DiscListShapeOf(changed), before);
    }
}

}  // namespace
}  // namespace kest
