#include "core/settings/SettingsSave.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/settings/IniFile.h"
#include "core/settings/SettingsLoad.h"
#include "support/TempDir.h"

namespace kest {
namespace {

using ::testing::ElementsAre;

class SettingsSaveTest : public ::testing::Test {
  protected:
    // Loads the file as it stands into the members.
    void LoadFile() {
        m_settings = {};
        m_window = {};
        LoadSettings(IniFile(m_paths.IniPath()), m_paths, m_settings, m_startup, m_window);
        m_window.resultColumns = AllResultColumns(m_window);
    }
    std::string Stored(const char* section, const char* key) {
        return ReadIni(section, key, "<missing>", m_paths.IniPath().string());
    }

    test::TempDir m_dir;
    AppPaths m_paths{m_dir.Path()};
    AppSettings m_settings;
    CatalogName m_startup;
    WindowState m_window;
};

TEST_F(SettingsSaveTest, NoOpenCatalogStoresTheNullMarker) {
    LoadFile();
    ASSERT_TRUE(SaveSettings(m_paths, m_settings, m_window, nullptr));
    EXPECT_EQ(Stored("Main", "DatabaseName"), "?null?");
    EXPECT_EQ(Stored("Main", "DatabaseDir"), m_dir.Path().string());

    CatalogName current{"  ", ""};
    SaveSettings(m_paths, m_settings, m_window, &current);
    EXPECT_EQ(current.name, "?null?");
    EXPECT_EQ(current.folder, m_dir.Path().string());

    current = {"cds.kst", "/data"};
    SaveSettings(m_paths, m_settings, m_window, &current);
    EXPECT_EQ(Stored("Main", "DatabaseName"), "cds.kst");
    EXPECT_EQ(Stored("Main", "DatabaseDir"), "/data");
}

TEST_F(SettingsSaveTest, OnlyANormalWindowStoresItsPlace) {
    m_dir.Write("Kest.ini", "[Positions]\nLeft=1\nTop=2\nWidth=6003\nHeight=6004\n");
    LoadFile();
    m_window.left = 500;
    for (WindowMode mode : {WindowMode::Maximized, WindowMode::Minimized}) {
        m_window.mode = mode;
        SaveSettings(m_paths, m_settings, m_window, nullptr);
        EXPECT_EQ(Stored("Positions", "Left"), "1");
        EXPECT_EQ(Stored("Positions", "Height"), "6004");
        EXPECT_EQ(Stored("Positions", "Maximized"),
                  mode == WindowMode::Maximized ? "True" : "False");
    }
    m_window.mode = WindowMode::Normal;
    SaveSettings(m_paths, m_settings, m_window, nullptr);
    EXPECT_EQ(Stored("Positions", "Left"), "500");
}

TEST_F(SettingsSaveTest, SearchHistoryIsRewrittenWhole) {
    m_dir.Write("Kest.ini", "[Search_Items]\nNumber=5\n0=a\n1=b\n2=c\n3=d\n4=e\n5=f\nOld=x\n");
    LoadFile();
    m_window.searchText = "  *.doc ";
    m_window.searchItems = {" *.txt ", "*.zip"};
    SaveSettings(m_paths, m_settings, m_window, nullptr);
    EXPECT_EQ(Stored("Search_Items", "Number"), "2");
    EXPECT_EQ(Stored("Search_Items", "Current"), "*.doc");
    EXPECT_EQ(Stored("Search_Items", "0"), "*.txt");
    EXPECT_EQ(Stored("Search_Items", "1"), "*.zip");
    EXPECT_EQ(Stored("Search_Items", "2"), "<missing>");
    EXPECT_EQ(Stored("Search_Items", "Old"), "<missing>");

    m_window.searchItems.assign(20, "*.x");
    m_window.searchText = "";
    SaveSettings(m_paths, m_settings, m_window, nullptr);
    EXPECT_EQ(Stored("Search_Items", "Number"), "15");
    EXPECT_EQ(Stored("Search_Items", "14"), "*.x");
    EXPECT_EQ(Stored("Search_Items", "15"), "<missing>");
    LoadFile();  // an empty search text is not stored, so it comes back as the default
    EXPECT_EQ(m_window.searchText, "*.exe");
}

TEST_F(SettingsSaveTest, ResultColumnsAreStoredByTheirLogicalNumber) {
    LoadFile();
    m_window.resultColumns = {{-1, 111}, {7, 2222}, {kSubFileColumnBase + 3, 333}};
    SaveSettings(m_paths, m_settings, m_window, nullptr);
    EXPECT_EQ(Stored("Results_Columns", "Res7Width"), "2222");
    EXPECT_EQ(Stored("SubFile_Options", "ResSub3Width"), "333");
    EXPECT_EQ(Stored("Results_Columns", "Res0Width"), "<missing>");
    EXPECT_EQ(Stored("Results_Columns", "ShowCol0"), "<missing>");
    EXPECT_EQ(Stored("Results_Columns", "ShowCol5"), "<missing>");
}

TEST_F(SettingsSaveTest, SavedSettingsLoadBackTheSame) {
    std::string sound = m_dir.Write("sounds/oyeah.wav", "RIFF");
    m_dir.Write(
        "Kest.ini",
        "[Main]\nBack_Color=&HFF&\nToolbar_Visible=False\nFont=DejaVu Sans\nFont_Size=12\n"
        "Program_Caption=1\nGridLines=0\n"
        "[Results_Columns]\nShowCol2=1\nShowCol7=0\n"
        "[Search_Options]\nInDirectory=True\nAdvanced=True\nSizeFormat=2\nSizeNumDec=0\n"
        "DateFormat=dd.mm.yyyy\nME_Logical_Op=2\n"
        "[SubFile_Options]\nSaveSubFileCont=True\nSaveRAR=1\nSearchSub=True\nShowSubCol9=1\n"
        "[File_Functions]\nUseDefaultDrive=True\nDefaultDrive=/media/cd\n"
        "[Discs_Options]\nShowUsedSpace=True\n"
        "[Positions]\nLeft=100\nTop=200\nWidth=9000\nHeight=7000\n"
        "[Search_Items]\nNumber=2\nCurrent=*.doc\n0=*.txt\n1=*.zip\n");
    LoadFile();
    CatalogName current{"cds.kst", "/data"};
    m_window.fontSize = 12.75;  // what the window may report for the 12-point font
    auto before = SettingsEntries(m_settings, m_window, current);
    ASSERT_TRUE(SaveSettings(m_paths, m_settings, m_window, &current));
    EXPECT_EQ(Stored("Main", "Font_Size"), "12.75");
    LoadFile();
    m_window.fontSize = 12.75;
    auto after = SettingsEntries(m_settings, m_window, current);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].section + "/" + before[i].key + "=" + before[i].value,
                  after[i].section + "/" + after[i].key + "=" + after[i].value);
    }
    EXPECT_TRUE(m_settings.Play);
    EXPECT_EQ(m_settings.EndScan, sound);
    EXPECT_EQ(m_startup.name, "cds.kst");
    EXPECT_EQ(m_window.discColumnWidths.size(), 7u);
    EXPECT_THAT(m_window.searchItems, ElementsAre("*.txt", "*.zip"));
}

}  // namespace
}  // namespace kest
