// The settings: the Kest.ini store, the conversions that read its values,
// loading and saving every setting, and the kest-cli settings command.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/common/KestError.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsLoad.h"
#include "core/settings/SettingsSave.h"
#include "core/settings/VbConvert.h"
#include "support/RunCli.h"
#include "support/TempDir.h"
#include "support/search/SearchFixture.h"

namespace kest {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::RunCli;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// The number of the KestError `call` raises, or 0.
long ErrorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const KestError& e) {
        return e.Number();
    }
    return 0;
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// "Section/Key=value" as its three parts.
std::array<std::string, 3> Split(const std::string& line) {
    size_t slash = line.find('/'), equals = line.find('=');
    return {line.substr(0, slash), line.substr(slash + 1, equals - slash - 1),
            line.substr(equals + 1)};
}

// Values as "Section/Key=value".
using Lines = std::vector<std::string>;

// Loads and saves the Kest.ini of a temporary program folder.
class SettingsTest : public ::testing::Test {
  protected:
    // Writes `iniText` as the file and loads it; see LoadFile.
    long Load(const std::string& iniText) {
        m_dir.Write("Kest.ini", iniText);
        return LoadFile();
    }
    // Loads the file as it stands into fresh members; gives the number of the
    // conversion error that ended the load, or 0.
    long LoadFile() {
        m_settings = {};
        m_window = {};
        m_window.screenWidth = 20000;
        m_window.screenHeight = 15000;
        m_window.designHeight = 7000;
        m_window.discGridWidth = 8930;  // other disc columns: (8930 - 930) / 4
        m_keysRead.clear();
        return ErrorNumberOf([&] {
            LoadSettings(IniFile(m_paths.IniPath()), m_paths, m_settings, m_startup, m_window,
                         &m_keysRead);
            m_window.resultColumns = AllResultColumns(m_window);
        });
    }
    Lines Entries(const CatalogName& current, PlaceRule place = PlaceRule::AsSaved) {
        Lines lines;
        for (const auto& e : SettingsEntries(m_settings, m_window, current, place)) {
            lines.push_back(e.section + "/" + e.key + "=" + e.value);
        }
        return lines;
    }
    // Checks the effective values after loading `iniText` ("<none>": no such entry).
    void ExpectValues(const std::string& iniText, const Lines& expected) {
        ASSERT_EQ(Load(iniText), 0);
        Lines entries = Entries(m_startup, PlaceRule::Always);
        for (const std::string& line : expected) {
            std::string key = line.substr(0, line.find('=') + 1);
            auto found = std::find_if(entries.begin(), entries.end(),
                                      [&](const std::string& e) { return e.starts_with(key); });
            EXPECT_EQ(found == entries.end() ? key + "<none>" : *found, line);
        }
    }
    // Checks the values in the file ("<missing>": no such key; an empty value
    // is never stored, as writing one deletes the key).
    void ExpectStored(const Lines& expected) {
        for (const std::string& line : expected) {
            auto [section, key, value] = Split(line);
            EXPECT_EQ(ReadIni(section, key, "<missing>", m_paths.IniPath().string()),
                      value.empty() ? "<missing>" : value)
                << line;
        }
    }
    bool Save(CatalogName* current = nullptr) {
        return SaveSettings(m_paths, m_settings, m_window, current);
    }

    test::TempDir m_dir;
    AppPaths m_paths{m_dir.Path()};
    AppSettings m_settings;
    CatalogName m_startup;
    WindowState m_window;
    std::vector<std::string> m_keysRead;
};
class SettingsLoadTest : public SettingsTest {};
class SettingsSaveTest : public SettingsTest {};
class IniFileTest : public SettingsTest {
  protected:
    std::string m_path = m_paths.IniPath().string();
};
// kest-cli settings with the fixture's folder as its home.
class CmdSettingsTest : public SettingsTest {
  protected:
    std::string m_home = "--home '" + m_dir.Path().string() + "' settings";
};

TEST_F(IniFileTest, ReadsLikeAProfileFile) {
    EXPECT_EQ(ReadIni("Main", "Font", "Arial", m_path), "Arial");  // no file
    m_dir.Write("Kest.ini",
                "\xEF\xBB\xBF[Main]\r\nBack_Color=&H000000C0&\r\nPath = a=b;c \r\n"
                "Quoted=\"spaced out \"\r\nSingle='x'\r\nEmpty=\r\nDup=first\r\ndup=second\r\n"
                "[Search_Items]\nCurrent=*.exe\n[MAIN]\nLate=yes\n");
    IniFile ini(m_path);
    // "Section/Key=value read"
    for (std::string c :
         {"Main/Back_Color=&H000000C0&", "main/PATH=a=b;c", "Main/Quoted=spaced out ",
          "Main/Single=x", "Main/Empty=", "Main/Dup=first", "search_items/current=*.exe",
          "Main/Late=yes", "Main/Missing=default", "Other/Path=default", "Main/=default"}) {
        auto [section, key, value] = Split(c);
        EXPECT_EQ(ini.Read(section, key, "default"), value) << c;
        EXPECT_EQ(ReadIni(section, key, "default", m_path), value) << c;
    }
    std::string longValue(3000, 'x');
    m_dir.Write("Kest.ini", "[Main]\nLong=" + longValue + "\n");
    EXPECT_EQ(ReadIni("Main", "Long", "", m_path).size(), 2047u);
    EXPECT_EQ(ReadIni("Main", "Missing", longValue, m_path).size(), 2047u);  // cut too
}

TEST_F(IniFileTest, EmptyValueDeletesTheKeyAndEmptyKeyTheSection) {
    m_dir.Write("Kest.ini", "[Main]\nA=1\nB=2\n[Search_Items]\n0=x\n1=y\n");
    for (std::string write : {"Main/a=", "SEARCH_ITEMS/=", "Main/C=3", "main/b=two"}) {
        auto [section, key, value] = Split(write);
        EXPECT_NE(WriteIni(section, key, value, m_path), 0) << write;
    }
    ExpectStored({"Main/A=<missing>", "Main/B=two", "Main/C=3", "Search_Items/0=<missing>"});
    EXPECT_EQ(Contents(m_path).find("Search_Items"), std::string::npos);
}

TEST_F(IniFileTest, WritingCreatesTheFileAndKeepsItsSignatureModeAndLink) {
    EXPECT_NE(WriteIni("Main", "Font", "Tahoma", m_path), 0);
    EXPECT_EQ(Contents(m_path), "[Main]\nFont=Tahoma\n");

    m_dir.Write("Kest.ini", "\xEF\xBB\xBF[Main]\r\nFont=Arial\r\n");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(m_path, mode);
    EXPECT_NE(WriteIni("Main", "Font", "Tahoma", m_path), 0);
    EXPECT_EQ(Contents(m_path), "\xEF\xBB\xBF[Main]\nFont=Tahoma\n");
    EXPECT_EQ(fs::status(m_path).permissions(), mode);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.Path()), fs::directory_iterator()), 1);

    std::string real = m_dir.Write("real/Kest.ini", "[Main]\nFont=Arial\n");
    fs::remove(m_path);
    fs::create_symlink(real, m_path);
    EXPECT_NE(WriteIni("Main", "Font", "Tahoma", m_path), 0);
    EXPECT_TRUE(fs::is_symlink(m_path));  // the link stays, its target is replaced
    EXPECT_EQ(ReadIni("Main", "Font", "", real), "Tahoma");
}

// A save that changes nothing does not replace the file (nor sync it);
// settings saved twice over are written once.
TEST_F(IniFileTest, ASaveThatChangesNothingLeavesTheFileAlone) {
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    auto untouched = [&] { return fs::last_write_time(m_path) == old; };
    m_dir.Write("Kest.ini", "\xEF\xBB\xBF[Main]\nFont=Arial\n");
    fs::last_write_time(m_path, old);
    EXPECT_NE(WriteIni("Main", "Font", "Arial", m_path), 0);
    EXPECT_TRUE(untouched());
    EXPECT_NE(WriteIni("Main", "Font", "Tahoma", m_path), 0);
    EXPECT_FALSE(untouched());
    EXPECT_EQ(ReadIni("Main", "Font", "", m_path), "Tahoma");

    ASSERT_TRUE(SaveSettings(m_paths, m_settings, m_window, nullptr));
    fs::last_write_time(m_path, old);
    ASSERT_TRUE(SaveSettings(m_paths, m_settings, m_window, nullptr));
    EXPECT_TRUE(untouched());
}

// Files a write must leave exactly as they are.
TEST_F(IniFileTest, FailedWritesLeaveTheOldFileWhole) {
    using namespace std::string_literals;
    for (const std::string& notIni : {"This is a letter, not a settings file.\nRegards\n"s,
                                      "\x7f"
                                      "ELF\0\0[Main]\nFont=x\n"s}) {
        m_dir.Write("Kest.ini", notIni);
        EXPECT_EQ(ReadIni("Main", "Font", "dflt", m_path), "dflt");
        EXPECT_EQ(WriteIni("Main", "Font", "Tahoma", m_path), 0);
        EXPECT_EQ(Contents(m_path), notIni);
    }

    const std::string settings = "[Main]\nFont=Arial\n";
    m_dir.Write("Kest.ini", settings);
    fs::permissions(m_path, fs::perms::owner_read);
    EXPECT_EQ(WriteIni("Main", "Font", "Tahoma", m_path), 0);
    EXPECT_EQ(Contents(m_path), settings);
    EXPECT_EQ(ReadIni("Main", "Font", "", m_path), "Arial");

    EXPECT_EQ(WriteIni("Main", "Font", "Tahoma", m_dir.File("no/such/folder/Kest.ini")), 0);

    // A full disk: the replacement cannot be written in full.
    fs::permissions(m_path, fs::perms::owner_read | fs::perms::owner_write);
    IniFile ini(m_path);
    ini.Write("Main", "Huge", std::string(2000, 'x'));

    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small{512, old.rlim_max};
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    bool saved = ini.Save();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(Contents(m_path), settings);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.Path()), fs::directory_iterator()), 1);
}

TEST(VbConvertTest, ValTakesTheLongestNumericPrefixWithinItsRange) {
    const std::pair<const char*, double> cases[] = {
        {"192", 192},         {"  42abc", 42}, {"8.25", 8.25},     {"-1.5e2x", -150},
        {"1 2 3", 123},       {".5", 0.5},     {"1e", 1},          {"2D3", 2000},
        {"abc", 0},           {"", 0},         {"-", 0},           {"1.2.3", 1.2},
        {"&H000000C0&", 192}, {"&HFFFF", -1},  {"&HFFFF&", 65535}, {"&h10000", 65536},
        {"&HFFFFFFFF", -1},   {"&O17", 15},    {"&Hzz", 0},        {"12,5", 12},
    };
    for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(vb::Val(text), expected) << text;
    for (const char* text : {"1e999", "&H100000000"}) {
        EXPECT_EQ(ErrorNumberOf([&] { vb::Val(text); }), err::kOverflow) << text;
    }
}

TEST(VbConvertTest, CBoolReadsLiteralsAndNumbers) {
    const std::pair<const char*, bool> cases[] = {
        {"True", true}, {"FALSE", false}, {"tRuE", true}, {" False ", false}, {"0", false},
        {"-1", true},   {"0.0", false},   {"2.5", true},  {"&H0", false},     {"1e3", true},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(vb::CBool(text), expected) << text;
    for (const char* text : {"maybe", "", "   ", "1x", "yes", "Truee", "&"}) {
        EXPECT_EQ(ErrorNumberOf([&] { vb::CBool(text); }), err::kConversion) << text;
    }
}

TEST(VbConvertTest, IntegersRoundHalfToEvenWithinTheirRange) {
    const std::pair<double, int> ints[] = {{2.5, 2},  {3.5, 4},         {-2.5, -2},
                                           {8.25, 8}, {32767.4, 32767}, {-32768, -32768}};
    for (auto [value, expected] : ints) EXPECT_EQ(vb::CInt(value), expected) << value;
    EXPECT_EQ(vb::CLng(2017.5), 2018);
    EXPECT_EQ(vb::CLng(-2147483648.0), INT32_MIN);
    for (double value : {32767.5, -40000.0}) {
        EXPECT_EQ(ErrorNumberOf([&] { vb::CInt(value); }), err::kOverflow) << value;
    }
    EXPECT_EQ(ErrorNumberOf([] { vb::CLng(3e9); }), err::kOverflow);
}

TEST(VbConvertTest, StoredTexts) {
    EXPECT_EQ(vb::BoolText(true) + " " + vb::BoolText(false), "True False");
    EXPECT_EQ(vb::NumberText(8.25) + " " + vb::NumberText(192) + " " + vb::NumberText(-2017.5),
              "8.25 192 -2017.5");
    EXPECT_EQ(vb::Trim("  a b  "), "a b");
    EXPECT_EQ(vb::Trim("   "), "");
}

TEST_F(SettingsLoadTest, NoFileGivesEveryDefault) {
    std::string home = m_dir.Path().string();
    // Play is off because no end sound is installed in the folder.
    // clang-format off
    Lines expected = {
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
        "SubFile_Options/SaveACE=0", "SubFile_Options/Save7Z=1", "SubFile_Options/SaveTAR=1",
        "SubFile_Options/SaveCompressedTAR=1", "SubFile_Options/SaveISO=1",
        "SubFile_Options/SearchSub=False",
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

TEST_F(SettingsLoadTest, RepairsValuesOutsideTheirRules) {
    const std::pair<const char*, Lines> cases[] = {
        {"[Results_Columns]\nShowCol0=0\nShowCol5=1\nShowCol6=0\nShowCol7=0\nShowCol9=0\n",
         {"Results_Columns/ShowCol5=<none>", "Results_Columns/ShowCol7=1"}},
        {"[Search_Options]\nInFileName=False\n",
         {"Search_Options/InFileName=True", "Search_Options/InDirectory=False"}},
        {"[SubFile_Options]\nSaveSubFileCont=True\nSaveZIP=0\nSave7Z=0\nSaveTAR=0\n"
         "SaveCompressedTAR=0\nSaveISO=0\n",
         {"SubFile_Options/SaveZIP=1"}},
        // A kind beyond the classic four is a choice too.
        {"[SubFile_Options]\nSaveSubFileCont=True\nSaveZIP=0\n", {"SubFile_Options/SaveZIP=0"}},
        {"[SubFile_Options]\nSave7Z=2\nSaveTAR=0\nSaveISO=-1\n",
         {"SubFile_Options/Save7Z=1", "SubFile_Options/SaveTAR=0", "SubFile_Options/SaveISO=1"}},
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
    for (const auto& [ini, expected] : cases) {
        SCOPED_TRACE(ini);
        ExpectValues(ini, expected);
    }
}

TEST_F(SettingsLoadTest, WindowPlaceIsKeptOnTheScreen) {
    auto place = [&](const std::string& ini) {  // "left top width height"
        Load(ini);
        return std::to_string(m_window.left) + " " + std::to_string(m_window.top) + " " +
               std::to_string(m_window.width) + " " + std::to_string(m_window.height);
    };
    EXPECT_EQ(place("[Search_Options]\nAdvanced=True\n[Positions]\nLeft=10\nWidth=100\n"),
              "10 4000 8625 7000");
    EXPECT_EQ(place("[Positions]\nLeft=10\nWidth=100\n"), "10 4000 5865 7000");
    EXPECT_EQ(place("[Positions]\nLeft=19000\nTop=14000\nWidth=6000\nHeight=5000\n"),
              "14000 10000 6000 5000");
    EXPECT_EQ(place("[Positions]\nLeft=-300\nTop=-1\nHeight=-50\n"), "0 0 9000 0");
    EXPECT_EQ(place("[Positions]\nWidth=30000\nHeight=20000\n"), "0 0 20000 15000");
    EXPECT_EQ(place("[Positions]\nLeft=100.5\nTop=101.5\n"), "100 102 9000 7000");
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
    EXPECT_EQ(Load("[Search_Options]\nAutoAsterisks=maybe\nAdvanced=True\n"), err::kConversion);
    EXPECT_TRUE(m_settings.Only_Optical && m_settings.InFileName);  // before the key
    EXPECT_FALSE(m_settings.AutoAsterisks || m_settings.Advanced);  // the key and after
    EXPECT_EQ(m_settings.SizeFormat, 0);
    EXPECT_EQ(m_window.searchText, "");
    EXPECT_EQ(m_keysRead.back(), "Search_Options/InFileDescription");

    EXPECT_EQ(Load("[Search_Options]\nSizeFormat=70000\n"), err::kOverflow);
    EXPECT_EQ(m_keysRead.back(), "Search_Options/Advanced");
    EXPECT_EQ(Load("[Results_Columns]\nRes4Width=40000\n"), err::kOverflow);
    EXPECT_EQ(m_window.resultWidths[3], m_window.discColumnWidths[1]);
    EXPECT_EQ(m_window.resultWidths[4], 0);
    EXPECT_EQ(Load("[Main]\nToolbar_Visible=\n"), err::kConversion);
    // Numbers never mismatch: text without a number reads as 0.
    EXPECT_EQ(Load("[Main]\nBack_Color=\nGridLines=abc\n"), 0);
    EXPECT_EQ(m_settings.Back_Color, 0);
    EXPECT_EQ(m_settings.GridLines, 0);
}

TEST_F(SettingsSaveTest, NoOpenCatalogStoresTheNullMarker) {
    LoadFile();
    std::string home = m_dir.Path().string();
    ASSERT_TRUE(Save());
    ExpectStored({"Main/DatabaseName=?null?", "Main/DatabaseDir=" + home});

    CatalogName current{"  ", ""};
    Save(&current);
    EXPECT_EQ(current.name + "|" + current.folder, "?null?|" + home);

    current = {"cds.kst", "/data"};
    Save(&current);
    ExpectStored({"Main/DatabaseName=cds.kst", "Main/DatabaseDir=/data"});
}

TEST_F(SettingsSaveTest, OnlyANormalWindowStoresItsPlace) {
    Load("[Positions]\nLeft=1\nTop=2\nWidth=6003\nHeight=6004\n");
    m_window.left = 500;
    for (WindowMode mode : {WindowMode::Maximized, WindowMode::Minimized}) {
        m_window.mode = mode;
        Save();
        ExpectStored({"Positions/Left=1", "Positions/Height=6004",
                      mode == WindowMode::Maximized ? "Positions/Maximized=True"
                                                    : "Positions/Maximized=False"});
    }
    m_window.mode = WindowMode::Normal;
    Save();
    ExpectStored({"Positions/Left=500"});
}

TEST_F(SettingsSaveTest, SearchHistoryIsRewrittenWhole) {
    Load("[Search_Items]\nNumber=5\n0=a\n1=b\n2=c\n3=d\n4=e\n5=f\nOld=x\n");
    m_window.searchText = "  *.doc ";
    m_window.searchItems = {" *.txt ", "*.zip"};
    Save();
    ExpectStored({"Search_Items/Number=2", "Search_Items/Current=*.doc", "Search_Items/0=*.txt",
                  "Search_Items/1=*.zip", "Search_Items/2=<missing>",
                  "Search_Items/Old=<missing>"});

    m_window.searchItems.assign(20, "*.x");
    m_window.searchText = "";
    Save();
    ExpectStored({"Search_Items/Number=15", "Search_Items/14=*.x", "Search_Items/15=<missing>"});
    LoadFile();  // an empty search text is not stored, so it comes back as the default
    EXPECT_EQ(m_window.searchText, "*.exe");
}

// The file read at start-up answers whether a save changes anything: held
// settings leave the file as it is (even laid out by hand), and a file changed
// since it was read is read again, so the save still writes what it must.
TEST_F(SettingsSaveTest, TheFileReadAtLoadTellsWhetherASaveChangesAnything) {
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    const std::string path = m_paths.IniPath().string();
    ASSERT_EQ(LoadFile(), 0);
    m_window.searchItems = {"*.txt", "*.zip"};
    ASSERT_TRUE(Save());
    m_dir.Write("Kest.ini", "; by hand\n\n" + test::ReadWholeFile(path));
    ASSERT_EQ(LoadFile(), 0);
    auto saveFromLoaded = [&] {
        const IniFile loaded(path);
        fs::last_write_time(path, old);
        return SaveSettings(m_paths, m_settings, m_window, nullptr, nullptr, &loaded);
    };
    EXPECT_TRUE(saveFromLoaded());
    EXPECT_EQ(fs::last_write_time(path), old);

    const std::function<void()> nothing = [] {};
    struct Case {
        const char* what;
        std::function<void()> beforeLoad, afterLoad;
        Lines stored;
    };
    const Case cases[] = {
        {"a new search",
         [&] { m_window.searchItems.insert(m_window.searchItems.begin(), "*.7z"); },
         nothing,
         {"Search_Items/Number=3", "Search_Items/0=*.7z", "Search_Items/2=*.zip"}},
        {"a stale key in the rewritten section",
         [&] { WriteIni("Search_Items", "Old", "x", path); },
         nothing,
         {"Search_Items/Old=<missing>", "Search_Items/Number=3"}},
        {"a key missing",
         [&] { WriteIni("Main", "Toolbar_Visible", "", path); },
         nothing,
         {"Main/Toolbar_Visible=" + std::string(m_window.toolbarVisible ? "True" : "False")}},
        {"a key changed by another program since the load",
         nothing,
         [&] { WriteIni("Search_Items", "Number", "7", path); },
         {"Search_Items/Number=3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.beforeLoad();
        const IniFile loaded(path);
        c.afterLoad();
        fs::last_write_time(path, old);
        EXPECT_TRUE(SaveSettings(m_paths, m_settings, m_window, nullptr, nullptr, &loaded));
        EXPECT_NE(fs::last_write_time(path), old);
        ExpectStored(c.stored);
    }
}

TEST_F(SettingsSaveTest, ResultColumnsAreStoredByTheirLogicalNumber) {
    LoadFile();
    m_window.resultColumns = {{-1, 111}, {7, 2222}, {kSubFileColumnBase + 3, 333}};
    Save();
    ExpectStored({"Results_Columns/Res7Width=2222", "SubFile_Options/ResSub3Width=333",
                  "Results_Columns/Res0Width=<missing>", "Results_Columns/ShowCol0=<missing>",
                  "Results_Columns/ShowCol5=<missing>"});
}

TEST_F(SettingsSaveTest, SavedSettingsLoadBackTheSame) {
    std::string sound = m_dir.Write("sounds/oyeah.wav", "RIFF");
    Load(
        "[Main]\nBack_Color=&HFF&\nToolbar_Visible=False\nFont=DejaVu Sans\nFont_Size=12\n"
        "Program_Caption=1\nGridLines=0\n[Results_Columns]\nShowCol2=1\nShowCol7=0\n"
        "[Search_Options]\nInDirectory=True\nAdvanced=True\nSizeFormat=2\nSizeNumDec=0\n"
        "DateFormat=dd.mm.yyyy\nME_Logical_Op=2\n[SubFile_Options]\nSaveSubFileCont=True\n"
        "SaveRAR=1\nSearchSub=True\nShowSubCol9=1\n[File_Functions]\nUseDefaultDrive=True\n"
        "DefaultDrive=/media/cd\n[Discs_Options]\nShowUsedSpace=True\n[Positions]\nLeft=100\n"
        "Top=200\nWidth=9000\nHeight=7000\n[Search_Items]\nNumber=2\nCurrent=*.doc\n0=*.txt\n"
        "1=*.zip\n");
    CatalogName current{"cds.kst", "/data"};
    m_window.fontSize = 12.75;  // what the window may report for the 12-point font
    Lines before = Entries(current);
    ASSERT_TRUE(Save(&current));
    ExpectStored({"Main/Font_Size=12.75"});
    LoadFile();
    m_window.fontSize = 12.75;
    EXPECT_EQ(Entries(current), before);
    EXPECT_TRUE(m_settings.Play);
    EXPECT_EQ(m_settings.EndScan, sound);
    EXPECT_EQ(m_startup.name, "cds.kst");
    EXPECT_EQ(m_window.discColumnWidths.size(), 7u);
    EXPECT_THAT(m_window.searchItems, ElementsAre("*.txt", "*.zip"));
}

TEST_F(CmdSettingsTest, FirstSaveWritesEveryKeyThatLoadsBackTheSame) {
    CliResult shown = RunCli(m_home);
    ASSERT_EQ(shown.status, 0);
    EXPECT_THAT(shown.OutLines(), Contains("Main/DatabaseName=kest001.kst"));
    EXPECT_THAT(shown.OutLines(), Contains("Search_Items/Current=*.exe"));
    ASSERT_EQ(RunCli(m_home + " --save").status, 0);
    ExpectStored(shown.OutLines());
    EXPECT_EQ(RunCli(m_home).OutLines(), shown.OutLines());
}

TEST_F(CmdSettingsTest, ConversionErrorShowsTheValuesLoadedSoFar) {
    m_dir.Write("Kest.ini", "[SubFile_Options]\nResSub2Width=99999\n");
    CliResult late = RunCli(m_home);
    EXPECT_EQ(late.OutLines().at(0), "error 6: Overflow");
    EXPECT_THAT(late.OutLines(), Contains("SubFile_Options/ResSub1Width=960"));
    EXPECT_THAT(late.OutLines(), Not(Contains(HasSubstr("ResSub2Width"))));

    m_dir.Write("Kest.ini", "[Drives]\nOnly_Optical=maybe\n[Search_Items]\n0=*.txt\n");
    CliResult result = RunCli(m_home + " --save");
    EXPECT_EQ(result.status, 1);
    ASSERT_FALSE(result.OutLines().empty());
    EXPECT_EQ(result.OutLines()[0], "error 13: Type mismatch");
    EXPECT_THAT(result.OutLines(), Contains("Results_Columns/ShowCol11=0"));
    EXPECT_THAT(result.OutLines(), Not(Contains(HasSubstr("Drives/"))));
    EXPECT_THAT(result.OutLines(), Not(Contains(HasSubstr("Search_Items/"))));
    ExpectStored({"Drives/Only_Optical=maybe"});  // nothing is saved after a failed load
}

// An unset variable in a script must not reach the user's own settings, and
// a settings file that cannot be read gives the defaults with a line why.
TEST_F(CmdSettingsTest, EmptyHomeIsRefusedAndAnUnreadableFileGivesTheDefaults) {
    CliResult empty = RunCli("--home '' settings");
    EXPECT_NE(empty.status, 0);
    EXPECT_THAT(empty.err, HasSubstr("--home: the folder name is empty"));
    EXPECT_EQ(empty.out, "");

    fs::create_directory(m_dir.File("Kest.ini"));
    CliResult folder = RunCli(m_home);
    EXPECT_EQ(folder.status, 0);
    EXPECT_THAT(folder.err, HasSubstr("Kest.ini is not used (it is not a file): the default "
                                      "settings apply."));
    EXPECT_THAT(folder.OutLines(), Contains("Main/DatabaseName=kest001.kst"));
}

TEST_F(CmdSettingsTest, ProgramFolderWithoutHome) {
    test::TempDir& dir = m_dir;
    auto folderLine = [](const fs::path& folder) { return "Main/DatabaseDir=" + folder.string(); };
    fs::path data = dir.Path() / "data";
    CliResult xdg = RunCli("settings", "XDG_DATA_HOME='" + data.string() + "'");
    EXPECT_THAT(xdg.OutLines(), Contains(folderLine(data / "kest")));
    EXPECT_TRUE(fs::is_directory(data / "kest"));

    CliResult home = RunCli("settings", "-u XDG_DATA_HOME HOME='" + dir.Path().string() + "'");
    EXPECT_THAT(home.OutLines(), Contains(folderLine(dir.Path() / ".local/share/kest")));

    // A Kest.ini beside the executable makes its folder the program folder,
    // whatever the executable is called.
    fs::path app = dir.Path() / "app";
    fs::create_directories(app);
    fs::copy_file(KEST_CLI_PATH, app / "kest");
    dir.Write("app/Kest.ini", "[Main]\nBack_Color=255\n");
    CliResult portable =
        RunCli("settings", "XDG_DATA_HOME='" + data.string() + "'", (app / "kest").string());
    EXPECT_THAT(portable.OutLines(), Contains(folderLine(app)));
    EXPECT_THAT(portable.OutLines(), Contains("Main/Back_Color=255"));
}

}  // namespace
}  // namespace kest
