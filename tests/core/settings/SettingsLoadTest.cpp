#include "core/settings/SettingsLoad.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "core/common/KestError.h"
#include "support/TempDir.h"

namespace kest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class SettingsLoadTest : public ::testing::Test {
  protected:
    SettingsLoadTest() {
        m_window.screenWidth = 20000;
        m_window.screenHeight = 15000;
        m_window.designWidth = 9000;
        m_window.designHeight = 7000;
        m_window.discGridWidth = 8930;
    }

    void Load(const std::string& iniText) {
        m_dir.Write("Kest.ini", iniText);
        LoadSettings(IniFile(m_paths.IniPath()), m_paths, m_settings, m_startup, m_window,
                     &m_keysRead);
    }

    test::TempDir m_dir;
    AppPaths m_paths{m_dir.Path()};
    AppSettings m_settings;
    CatalogName m_startup;
    WindowState m_window;
    std::vector<std::string> m_keysRead;
};

TEST_F(SettingsLoadTest, NoFileGivesEveryDefault) {
    LoadSettings(IniFile(m_dir.File("missing.ini")), m_paths, m_settings, m_startup, m_window);
    const AppSettings& s = m_settings;
    EXPECT_EQ(s.Back_Color, 192);
    EXPECT_EQ(m_startup.name, "kest001.kst");
    EXPECT_EQ(m_startup.folder, m_dir.Path().string());
    EXPECT_TRUE(m_window.toolbarVisible);
    EXPECT_THAT(s.ShowCol, ElementsAre(1, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0));
    EXPECT_TRUE(s.Only_Optical && s.Show_Non_Optical_Warning);
    EXPECT_TRUE(s.InFileName && !s.InDirectory && !s.InFileDescription);
    EXPECT_TRUE(s.AutoAsterisks && !s.Advanced);
    EXPECT_EQ(s.SizeFormat, kSizeInMB);
    EXPECT_EQ(s.SizeNumDec, 4);
    EXPECT_EQ(s.DateFormat, "mm/dd/yy hh:nn:ss AMPM");
    EXPECT_EQ(s.AdvDateFormat, "mm/dd/yy hh:nn:ss AMPM");
    EXPECT_FALSE(s.SaveSubFileCont);
    EXPECT_THAT((std::array{s.SaveZIP, s.SaveCAB, s.SaveRAR, s.SaveACE}), ElementsAre(1, 0, 0, 0));
    EXPECT_TRUE(!s.SearchSub && s.InSubFileName && !s.InSubDirectory && !s.InSubComment);
    EXPECT_THAT(s.ShowSubCol, ElementsAre(1, 1, 0, 1, 0, 0, 0, 0, 0, 0));
    EXPECT_FALSE(s.UseDefaultDrive);
    EXPECT_EQ(s.DefaultDrive, "");
    EXPECT_TRUE(s.OpenAfterSaving);
    EXPECT_EQ(s.Program_Caption, kCaptionFullPath);
    EXPECT_FALSE(s.MinToSysTray);
    EXPECT_EQ(s.GridLines, 1);
    EXPECT_EQ(m_window.fontName, "Microsoft Sans Serif");
    EXPECT_EQ(m_window.fontSize, 8);
    EXPECT_FALSE(m_window.fontItalic || m_window.fontBold);
    EXPECT_TRUE(s.RefResultsImm);
    EXPECT_EQ(s.ME_Logical_Op, kLogicalOr);
    EXPECT_EQ(s.EndScan, (m_dir.Path() / "sounds" / "oyeah.wav").string());
    EXPECT_FALSE(s.Play);  // the default sound is not installed here
    EXPECT_TRUE(s.Est_B4_Scan);
    EXPECT_FALSE(s.ShowUsedSpace);
    // Centred at the design size; the grid's other columns share (8930 - 930) / 4.
    EXPECT_THAT((std::array{m_window.left, m_window.top, m_window.width, m_window.height}),
                ElementsAre(5500, 4000, 9000, 7000));
    EXPECT_EQ(m_window.mode, WindowMode::Normal);
    EXPECT_EQ(m_window.minWidth, kMinWidthSimple);
    EXPECT_THAT(m_window.discColumnWidths, ElementsAre(930, 2000, 2000, 2000, 2000, 2000));
    EXPECT_THAT(m_window.resultWidths,
                ElementsAre(930, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000));
    EXPECT_THAT(m_window.subFileWidths,
                ElementsAre(960, 960, 960, 960, 960, 960, 960, 960, 960, 960));
    EXPECT_EQ(m_window.searchText, "*.exe");
    EXPECT_TRUE(m_window.searchItems.empty());
}

TEST_F(SettingsLoadTest, ValuesAreReadInAnyCase) {
    std::string sound = m_dir.Write("my sounds/done.wav", "RIFF");
    Load(
        "[main]\nBACK_COLOR=255\ndatabasename=cds.kst\nDatabaseDir=/data\nToolbar_Visible=false\n"
        "Font=DejaVu Sans\nFont_Italic=-1\nFont_Bold=TRUE\n"
        "[SEARCH_OPTIONS]\ninfilename=0\nInDirectory=1\nDateFormat=  dd/mm/yyyy  \n"
        "[File_Functions]\nDefaultDrive=  /media/cd  \n"
        "[Sounds]\nEndScan=" +
        sound + "\n");
    EXPECT_EQ(m_settings.Back_Color, 255);
    EXPECT_EQ(m_startup.name, "cds.kst");
    EXPECT_EQ(m_startup.folder, "/data");
    EXPECT_FALSE(m_window.toolbarVisible);
    EXPECT_EQ(m_window.fontName, "DejaVu Sans");
    EXPECT_TRUE(m_window.fontItalic && m_window.fontBold);
    EXPECT_TRUE(!m_settings.InFileName && m_settings.InDirectory);
    EXPECT_EQ(m_settings.DateFormat, "dd/mm/yyyy");
    EXPECT_EQ(m_settings.DefaultDrive, "/media/cd");
    EXPECT_TRUE(m_settings.Play);
}

// Each case: the file, and what the load must have made of it.
struct RepairCase {
    const char* name;
    std::string ini;
    std::function<void(const AppSettings&, const WindowState&)> check;
};

TEST_F(SettingsLoadTest, RepairsValuesOutsideTheirRules) {
    const RepairCase cases[] = {
        {"all columns hidden shows the file name",
         "[Results_Columns]\nShowCol0=0\nShowCol1=0\nShowCol5=1\nShowCol6=0\nShowCol7=0\nShowCol9="
         "0\n",
         [](const AppSettings& s, const WindowState&) {
             EXPECT_THAT(s.ShowCol, ElementsAre(1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0));
         }},
        {"no search field searches the file name",
         "[Search_Options]\nInFileName=False\nInDirectory=False\nInFileDescription=False\n",
         [](const AppSettings& s, const WindowState&) {
             EXPECT_TRUE(s.InFileName && !s.InDirectory && !s.InFileDescription);
         }},
        {"recording with no type lists ZIP",
         "[SubFile_Options]\nSaveSubFileCont=True\nSaveZIP=0\nSaveCAB=0\nSaveRAR=0\nSaveACE=0\n",
         [](const AppSettings& s, const WindowState&) {
             EXPECT_EQ(s.SaveZIP + s.SaveCAB + s.SaveRAR + s.SaveACE, 1);
             EXPECT_EQ(s.SaveZIP, 1);
         }},
        {"no recording keeps no type", "[SubFile_Options]\nSaveSubFileCont=False\nSaveZIP=0\n",
         [](const AppSettings& s, const WindowState&) { EXPECT_EQ(s.SaveZIP, 0); }},
        {"types outside 0 and 1",
         "[SubFile_Options]\nSaveZIP=5\nSaveCAB=-1\nSaveRAR=2\nSaveACE=1\n",
         [](const AppSettings& s, const WindowState&) {
             EXPECT_THAT((std::array{s.SaveZIP, s.SaveCAB, s.SaveRAR, s.SaveACE}),
                         ElementsAre(1, 0, 0, 1));
         }},
        {"subfile search with no field searches names",
         "[SubFile_Options]\nSearchSub=True\nInSubFileName=False\n",
         [](const AppSettings& s, const WindowState&) { EXPECT_TRUE(s.InSubFileName); }},
        {"no subfile search keeps no field",
         "[SubFile_Options]\nSearchSub=False\nInSubFileName=False\n",
         [](const AppSettings& s, const WindowState&) { EXPECT_FALSE(s.InSubFileName); }},
        {"decimals above 10", "[Search_Options]\nSizeNumDec=11\n",
         [](const AppSettings& s, const WindowState&) { EXPECT_EQ(s.SizeNumDec, 0); }},
        {"negative decimals", "[Search_Options]\nSizeNumDec=-1\n",
         [](const AppSettings& s, const WindowState&) { EXPECT_EQ(s.SizeNumDec, 0); }},
        {"ten decimals", "[Search_Options]\nSizeNumDec=10\nSizeFormat=3 (bytes)\n",
         [](const AppSettings& s, const WindowState&) {
             EXPECT_EQ(s.SizeNumDec, 10);
             EXPECT_EQ(s.SizeFormat, kSizeInBytes);
         }},
        {"grid lines and operator out of range",
         "[Main]\nGridLines=5\n[Search_Options]\nME_Logical_Op=3\n",
         [](const AppSettings& s, const WindowState&) {
             EXPECT_EQ(s.GridLines, 1);
             EXPECT_EQ(s.ME_Logical_Op, kLogicalOr);
         }},
        {"valid grid lines and operator",
         "[Main]\nGridLines=0\n[Search_Options]\nME_Logical_Op=2\n",
         [](const AppSettings& s, const WindowState&) {
             EXPECT_EQ(s.GridLines, 0);
             EXPECT_EQ(s.ME_Logical_Op, kLogicalAnd);
         }},
        {"font size too big", "[Main]\nFont_Size=100\n",
         [](const AppSettings&, const WindowState& w) { EXPECT_EQ(w.fontSize, 8); }},
        {"font size rounds", "[Main]\nFont_Size=10.5\n",
         [](const AppSettings&, const WindowState& w) { EXPECT_EQ(w.fontSize, 10); }},
        {"font size below 1", "[Main]\nFont_Size=0.4\n",
         [](const AppSettings&, const WindowState& w) { EXPECT_EQ(w.fontSize, 8); }},
        {"end sound missing", "[Sounds]\nPlay=True\nEndScan=/no/such/sound.wav\n",
         [](const AppSettings& s, const WindowState&) { EXPECT_FALSE(s.Play); }},
        {"end sound empty", "[Sounds]\nPlay=True\nEndScan=\n",
         [](const AppSettings& s, const WindowState&) { EXPECT_FALSE(s.Play); }},
        {"empty history number", "[Search_Items]\nNumber=0\n0=a\n1=b\n2=c\n",
         [](const AppSettings&, const WindowState& w) {
             EXPECT_THAT(w.searchItems, ElementsAre("a", "b"));
         }},
        {"history number 40 reads 15 keys",
         "[Search_Items]\nNumber=40\n0=k0\n1=k1\n2=k2\n3=k3\n4=k4\n5=k5\n6=k6\n7=k7\n8=k8\n9=k9\n"
         "10=k10\n11=k11\n12=k12\n13=k13\n14=k14\n15=k15\n16=k16\n",
         [](const AppSettings&, const WindowState& w) {
             ASSERT_EQ(w.searchItems.size(), 15u);
             EXPECT_EQ(w.searchItems.back(), "k14");
         }},
        {"history skips empty entries and trims",
         "[Search_Items]\nNumber=3\nCurrent=*.doc\n0=  *.txt  \n1=\n2=*.zip\n3=*.rar\n4=*.ace\n",
         [](const AppSettings&, const WindowState& w) {
             EXPECT_EQ(w.searchText, "*.doc");
             EXPECT_THAT(w.searchItems, ElementsAre("*.txt", "*.zip", "*.rar"));
         }},
    };
    for (const RepairCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_settings = {};
        m_window.searchItems.clear();
        Load(c.ini);
        c.check(m_settings, m_window);
    }
}

struct PlaceCase {
    const char* ini;
    std::array<int32_t, 4> place;  // left, top, width, height
};

TEST_F(SettingsLoadTest, WindowPlaceIsKeptOnTheScreen) {
    const PlaceCase cases[] = {
        {"[Search_Options]\nAdvanced=True\n[Positions]\nLeft=10\nWidth=100\n",
         {10, 4000, 8625, 7000}},
        {"[Positions]\nLeft=10\nWidth=100\n", {10, 4000, 5865, 7000}},
        {"[Positions]\nLeft=19000\nTop=14000\nWidth=6000\nHeight=5000\n",
         {14000, 10000, 6000, 5000}},
        {"[Positions]\nLeft=-300\nTop=-1\nHeight=-50\n", {0, 0, 9000, 0}},
        {"[Positions]\nWidth=30000\nHeight=20000\n", {0, 0, 20000, 15000}},
        {"[Positions]\nLeft=100.5\nTop=101.5\n", {100, 102, 9000, 7000}},
    };
    for (const PlaceCase& c : cases) {
        SCOPED_TRACE(c.ini);
        m_settings = {};
        Load(c.ini);
        EXPECT_THAT((std::array{m_window.left, m_window.top, m_window.width, m_window.height}),
                    ElementsAreArray(c.place));
    }
    Load("[Positions]\nMaximized=True\n[Search_Options]\nAdvanced=True\n");
    EXPECT_EQ(m_window.mode, WindowMode::Maximized);
    EXPECT_EQ(m_window.minWidth, kMinWidthAdvanced);
}

TEST_F(SettingsLoadTest, ColumnWidthsFollowTheDiscGrid) {
    m_window.discGridWidth = 9000;  // (9000 - 930) / 4 = 2017.5, stored as 2018
    Load(
        "[Discs_Options]\nShowUsedSpace=True\n[Discs_Columns]\nCol1Width=1500\nCol6Width=700.5\n"
        "[Results_Columns]\nRes3Width=444\n[SubFile_Options]\nResSub9Width=999\n");
    EXPECT_THAT(m_window.discColumnWidths, ElementsAre(930, 1500, 2018, 2018, 2018, 2018, 700));
    EXPECT_THAT(m_window.resultWidths,
                ElementsAre(930, 1500, 1500, 444, 1500, 1500, 1500, 1500, 1500, 1500, 1500, 1500));
    EXPECT_EQ(m_window.subFileWidths[9], 999);
}

TEST_F(SettingsLoadTest, ConversionErrorEndsTheLoadAtThatKey) {
    auto loadError = [&](const std::string& ini) {
        m_settings = {};
        m_window = {};
        m_keysRead.clear();
        try {
            Load(ini);
        } catch (const KestError& e) {
            return e.Number();
        }
        return 0L;
    };
    EXPECT_EQ(loadError("[Search_Options]\nAutoAsterisks=maybe\nAdvanced=True\n"),
              err::kConversion);
    EXPECT_TRUE(m_settings.Only_Optical && m_settings.InFileName);  // before the key
    EXPECT_FALSE(m_settings.AutoAsterisks || m_settings.Advanced);  // the key and after
    EXPECT_EQ(m_settings.SizeFormat, 0);
    EXPECT_EQ(m_window.searchText, "");
    EXPECT_EQ(m_keysRead.back(), "Search_Options/InFileDescription");

    EXPECT_EQ(loadError("[Search_Options]\nSizeFormat=70000\n"), err::kOverflow);
    EXPECT_EQ(m_keysRead.back(), "Search_Options/Advanced");
    EXPECT_EQ(loadError("[Results_Columns]\nRes4Width=40000\n"), err::kOverflow);
    EXPECT_EQ(m_window.resultWidths[3], m_window.discColumnWidths[1]);
    EXPECT_EQ(m_window.resultWidths[4], 0);
    EXPECT_EQ(loadError("[Main]\nToolbar_Visible=\n"), err::kConversion);
    // Numbers never mismatch: text without a number reads as 0.
    EXPECT_EQ(loadError("[Main]\nBack_Color=\nGridLines=abc\n"), 0);
    EXPECT_EQ(m_settings.Back_Color, 0);
    EXPECT_EQ(m_settings.GridLines, 0);
}

}  // namespace
}  // namespace kest
