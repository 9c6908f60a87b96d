#include "core/settings/SettingsLoad.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "core/common/KestError.h"
#include "core/settings/SettingsSave.h"
#include "support/TempDir.h"

namespace kest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
// Expected values as "Section/Key=value".
using Expected = std::vector<std::string>;

class SettingsLoadTest : public ::testing::Test {
  protected:
    // Loads `iniText` into fresh members and gives every effective value by "Section/Key".
    std::map<std::string, std::string> Load(const std::string& iniText) {
        m_settings = {};
        m_window = {};
        m_window.screenWidth = 20000;
        m_window.screenHeight = 15000;
        m_window.designWidth = 9000;
        m_window.designHeight = 7000;
        m_window.discGridWidth = 8930;  // other disc columns: (8930 - 930) / 4
        m_keysRead.clear();
        m_dir.Write("Kest.ini", iniText);
        LoadSettings(IniFile(m_paths.IniPath()), m_paths, m_settings, m_startup, m_window,
                     &m_keysRead);
        m_window.resultColumns = AllResultColumns(m_window);
        std::map<std::string, std::string> values;
        for (const auto& e : SettingsEntries(m_settings, m_window, m_startup, PlaceRule::Always)) {
            values[e.section + "/" + e.key] = e.value;
        }
        return values;
    }
    void ExpectValues(const std::string& iniText, const Expected& expected) {
        auto values = Load(iniText);
        for (const std::string& line : expected) {
            std::string key = line.substr(0, line.find('='));
            std::string value = values.contains(key) ? values[key] : "<none>";
            EXPECT_EQ(key + "=" + value, line);
        }
    }
    long LoadError(const std::string& iniText) {
        try {
            Load(iniText);
        } catch (const KestError& e) {
            return e.Number();
        }
        return 0;
    }

    test::TempDir m_dir;
    AppPaths m_paths{m_dir.Path()};
    AppSettings m_settings;
    CatalogName m_startup;
    WindowState m_window;
    std::vector<std::string> m_keysRead;
};

TEST_F(SettingsLoadTest, NoFileGivesEveryDefault) {
    std::string home = m_dir.Path().string();
    // Play is off because no end sound is installed in the folder.
    // clang-format off
    Expected expected = {
        "Main/Back_Color=192", "Main/DatabaseName=kest001.kst", "Main/DatabaseDir=" + home,
        "Main/Toolbar_Visible=True", "Drives/Only_Optical=True",
        "Drives/Show_Non-Optical_Warning=True", "Search_Options/InFileName=True",
        "Search_Options/InDirectory=False", "Search_Options/InFileDescription=False",
        "Search_Options/AutoAsterisks=True", "Search_Options/Advanced=False",
        "Search_Options/SizeFormat=1", "Search_Options/SizeNumDec=4",
        "Search_Options/DateFormat=mm/dd/yy hh:nn:ss AMPM",
        "Search_Options/AdvDateFormat=mm/dd/yy hh:nn:ss AMPM", "Search_Options/RefResultsImm=True",
        "Search_Options/ME_Logical_Op=1", "SubFile_Options/SaveSubFileCont=False",
        "SubFile_Options/SaveZIP=1", "SubFile_Options/SaveCAB=0", "SubFile_Options/SaveRAR=0",
        "SubFile_Options/SaveACE=0", "SubFile_Options/SearchSub=False",
        "SubFile_Options/InSubFileName=True", "SubFile_Options/InSubDirectory=False",
        "SubFile_Options/InSubComment=False", "File_Functions/UseDefaultDrive=False",
        "File_Functions/DefaultDrive=", "Save_List/OpenAfterSaving=True", "Main/Program_Caption=2",
        "Main/MinToSysTray=False", "Main/GridLines=1", "Main/Font=Microsoft Sans Serif",
        "Main/Font_Size=8", "Main/Font_Italic=False", "Main/Font_Bold=False", "Sounds/Play=False",
        "Sounds/EndScan=" + home + "/sounds/oyeah.wav", "Scan_Options/Est_B4_Scan=True",
        "Discs_Options/ShowUsedSpace=False", "Positions/Left=5500", "Positions/Top=4000",
        "Positions/Width=9000", "Positions/Height=7000", "Positions/Maximized=False",
        "Search_Items/Number=0", "Search_Items/Current=*.exe",
    };
    // clang-format on
    ExpectValues("", expected);
    EXPECT_THAT(m_settings.ShowCol, ElementsAre(1, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0));
    EXPECT_THAT(m_settings.ShowSubCol, ElementsAre(1, 1, 0, 1, 0, 0, 0, 0, 0, 0));
    EXPECT_THAT(m_window.discColumnWidths, ElementsAre(930, 2000, 2000, 2000, 2000, 2000));
    EXPECT_THAT(m_window.resultWidths,
                ElementsAre(930, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000));
    EXPECT_THAT(m_window.subFileWidths,
                ElementsAre(960, 960, 960, 960, 960, 960, 960, 960, 960, 960));
    EXPECT_EQ(m_window.minWidth, kMinWidthSimple);
}

TEST_F(SettingsLoadTest, ValuesAreReadInAnyCaseAndTrimmed) {
    std::string sound = m_dir.Write("my sounds/done.wav", "RIFF");
    ExpectValues(
        "[main]\nBACK_COLOR=255\ndatabasename=cds.kst\nToolbar_Visible=false\n"
        "Font_Italic=-1\n[SEARCH_OPTIONS]\ninfilename=0\nInDirectory=1\n"
        "DateFormat=  dd/mm/yyyy  \n[File_Functions]\nDefaultDrive=  /media/cd  \n"
        "[Sounds]\nEndScan=" +
            sound + "\n",
        {"Main/Back_Color=255", "Main/DatabaseName=cds.kst", "Main/Toolbar_Visible=False",
         "Main/Font_Italic=True", "Search_Options/InFileName=False",
         "Search_Options/InDirectory=True", "Search_Options/DateFormat=dd/mm/yyyy",
         "File_Functions/DefaultDrive=/media/cd", "Sounds/Play=True"});
}

struct RepairCase {
    const char* ini;
    Expected expected;
};

TEST_F(SettingsLoadTest, RepairsValuesOutsideTheirRules) {
    const RepairCase cases[] = {
        {"[Results_Columns]\nShowCol0=0\nShowCol5=1\nShowCol6=0\nShowCol7=0\nShowCol9=0\n",
         {"Results_Columns/ShowCol5=<none>", "Results_Columns/ShowCol7=1"}},
        {"[Search_Options]\nInFileName=False\n",
         {"Search_Options/InFileName=True", "Search_Options/InDirectory=False"}},
        {"[SubFile_Options]\nSaveSubFileCont=True\nSaveZIP=0\n", {"SubFile_Options/SaveZIP=1"}},
        {"[SubFile_Options]\nSaveSubFileCont=False\nSaveZIP=0\n", {"SubFile_Options/SaveZIP=0"}},
        {"[SubFile_Options]\nSaveZIP=5\nSaveCAB=-1\nSaveRAR=2\nSaveACE=1\n",
         {"SubFile_Options/SaveZIP=1", "SubFile_Options/SaveCAB=0", "SubFile_Options/SaveRAR=0",
          "SubFile_Options/SaveACE=1"}},
        {"[SubFile_Options]\nSearchSub=True\nInSubFileName=False\n",
         {"SubFile_Options/InSubFileName=True"}},
        {"[SubFile_Options]\nSearchSub=False\nInSubFileName=False\n",
         {"SubFile_Options/InSubFileName=False"}},
        {"[Search_Options]\nSizeNumDec=11\n", {"Search_Options/SizeNumDec=0"}},
        {"[Search_Options]\nSizeNumDec=-1\n", {"Search_Options/SizeNumDec=0"}},
        {"[Search_Options]\nSizeNumDec=10\nSizeFormat=3 (bytes)\n",
         {"Search_Options/SizeNumDec=10", "Search_Options/SizeFormat=3"}},
        {"[Main]\nGridLines=5\n[Search_Options]\nME_Logical_Op=3\n",
         {"Main/GridLines=1", "Search_Options/ME_Logical_Op=1"}},
        {"[Main]\nGridLines=0\n[Search_Options]\nME_Logical_Op=2\n",
         {"Main/GridLines=0", "Search_Options/ME_Logical_Op=2"}},
        {"[Main]\nFont_Size=100\n", {"Main/Font_Size=8"}},
        {"[Main]\nFont_Size=8.25\n", {"Main/Font_Size=8"}},
        {"[Main]\nFont_Size=10.5\n", {"Main/Font_Size=10"}},
        {"[Main]\nFont_Size=0.4\n", {"Main/Font_Size=8"}},
        {"[Sounds]\nPlay=True\nEndScan=/no/such/sound.wav\n", {"Sounds/Play=False"}},
        {"[Sounds]\nPlay=True\nEndScan=\n", {"Sounds/Play=False"}},
        {"[Search_Items]\nNumber=0\n0=a\n1=b\n2=c\n",
         {"Search_Items/Number=2", "Search_Items/1=b"}},
        {"[Search_Items]\nNumber=40\n0=k0\n1=k1\n2=k2\n3=k3\n4=k4\n5=k5\n6=k6\n7=k7\n8=k8\n"
         "9=k9\n10=k10\n11=k11\n12=k12\n13=k13\n14=k14\n15=k15\n16=k16\n",
         {"Search_Items/Number=15", "Search_Items/14=k14"}},
        {"[Search_Items]\nNumber=3\nCurrent=*.doc\n0=  *.txt  \n1=\n2=*.zip\n3=*.rar\n4=*.ace\n",
         {"Search_Items/Number=3", "Search_Items/Current=*.doc", "Search_Items/0=*.txt",
          "Search_Items/1=*.zip", "Search_Items/2=*.rar"}},
    };
    for (const RepairCase& c : cases) {
        SCOPED_TRACE(c.ini);
        ExpectValues(c.ini, c.expected);
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
        Load(c.ini);
        EXPECT_THAT((std::array{m_window.left, m_window.top, m_window.width, m_window.height}),
                    ElementsAreArray(c.place));
    }
    Load("[Positions]\nMaximized=True\n[Search_Options]\nAdvanced=True\n");
    EXPECT_EQ(m_window.mode, WindowMode::Maximized);
    EXPECT_EQ(m_window.minWidth, kMinWidthAdvanced);
}

TEST_F(SettingsLoadTest, ColumnWidthsFollowTheDiscGrid) {
    Load(
        "[Discs_Options]\nShowUsedSpace=True\n[Discs_Columns]\nCol1Width=1500\nCol2Width=2017.5\n"
        "Col6Width=700.5\n[Results_Columns]\nRes3Width=444\n[SubFile_Options]\nResSub9Width=999\n");
    EXPECT_THAT(m_window.discColumnWidths, ElementsAre(930, 1500, 2018, 2000, 2000, 2000, 700));
    EXPECT_THAT(m_window.resultWidths,
                ElementsAre(930, 1500, 1500, 444, 1500, 1500, 1500, 1500, 1500, 1500, 1500, 1500));
    EXPECT_EQ(m_window.subFileWidths[9], 999);
}

TEST_F(SettingsLoadTest, ConversionErrorEndsTheLoadAtThatKey) {
    EXPECT_EQ(LoadError("[Search_Options]\nAutoAsterisks=maybe\nAdvanced=True\n"),
              err::kConversion);
    EXPECT_TRUE(m_settings.Only_Optical && m_settings.InFileName);  // before the key
    EXPECT_FALSE(m_settings.AutoAsterisks || m_settings.Advanced);  // the key and after
    EXPECT_EQ(m_settings.SizeFormat, 0);
    EXPECT_EQ(m_window.searchText, "");
    EXPECT_EQ(m_keysRead.back(), "Search_Options/InFileDescription");

    EXPECT_EQ(LoadError("[Search_Options]\nSizeFormat=70000\n"), err::kOverflow);
    EXPECT_EQ(m_keysRead.back(), "Search_Options/Advanced");
    EXPECT_EQ(LoadError("[Results_Columns]\nRes4Width=40000\n"), err::kOverflow);
    EXPECT_EQ(m_window.resultWidths[3], m_window.discColumnWidths[1]);
    EXPECT_EQ(m_window.resultWidths[4], 0);
    EXPECT_EQ(LoadError("[Main]\nToolbar_Visible=\n"), err::kConversion);
    // Numbers never mismatch: text without a number reads as 0.
    EXPECT_EQ(LoadError("[Main]\nBack_Color=\nGridLines=abc\n"), 0);
    EXPECT_EQ(m_settings.Back_Color, 0);
    EXPECT_EQ(m_settings.GridLines, 0);
}

}  // namespace
}  // namespace kest
