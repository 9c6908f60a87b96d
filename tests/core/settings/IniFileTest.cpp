#include "core/settings/IniFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/TempDir.h"

namespace kest {
namespace {

namespace fs = std::filesystem;

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class IniFileTest : public ::testing::Test {
  protected:
    test::TempDir m_dir;
    std::string m_path = m_dir.File("Kest.ini");
};

TEST_F(IniFileTest, MissingFileOrKeyGivesTheDefault) {
    EXPECT_EQ(ReadIni("Main", "Font", "Arial", m_path), "Arial");
    m_dir.Write("Kest.ini", "[Main]\nFont=Tahoma\n");
    EXPECT_EQ(ReadIni("Main", "Font_Size", "8", m_path), "8");
    EXPECT_EQ(ReadIni("Other", "Font", "x", m_path), "x");
    EXPECT_EQ(ReadIni("Main", "", "x", m_path), "x");
    EXPECT_EQ(ReadIni("Main", "Font", "x", m_path), "Tahoma");
}

TEST_F(IniFileTest, ReadsLikeAProfileFile) {
    m_dir.Write("Kest.ini",
                "\xEF\xBB\xBF[Main]\r\n"
                "Back_Color=&H000000C0&\r\n"
                "Path = a=b;c \r\n"
                "Quoted=\"spaced out \"\r\n"
                "Single='x'\r\n"
                "Empty=\r\n"
                "Dup=first\r\n"
                "dup=second\r\n"
                "[Search_Items]\n"
                "Current=*.exe\n"
                "[MAIN]\n"
                "Late=yes\n");
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Main", "Back_Color", "&H000000C0&"},
        {"main", "PATH", "a=b;c"},
        {"Main", "Quoted", "spaced out "},
        {"Main", "Single", "x"},
        {"Main", "Empty", ""},
        {"Main", "Dup", "first"},
        {"search_items", "current", "*.exe"},
        {"Main", "Late", "yes"},
    };
    IniFile ini(m_path);
    for (const auto& [section, key, expected] : cases) {
        EXPECT_EQ(ini.Read(section, key, "default"), expected) << section << "/" << key;
    }
}

TEST_F(IniFileTest, LongValuesComeBackCut) {
    std::string longValue(3000, 'x');
    m_dir.Write("Kest.ini", "[Main]\nLong=" + longValue + "\n");
    EXPECT_EQ(ReadIni("Main", "Long", "", m_path).size(), 2047u);
    EXPECT_EQ(ReadIni("Main", "Missing", longValue, m_path).size(), 2047u);
}

TEST_F(IniFileTest, EmptyValueDeletesTheKeyAndEmptyKeyTheSection) {
    m_dir.Write("Kest.ini", "[Main]\nA=1\nB=2\n[Search_Items]\n0=x\n1=y\n");
    EXPECT_NE(WriteIni("Main", "a", "", m_path), 0);
    EXPECT_NE(WriteIni("SEARCH_ITEMS", "", "", m_path), 0);
    EXPECT_NE(WriteIni("Main", "C", "3", m_path), 0);
    EXPECT_NE(WriteIni("main", "b", "two", m_path), 0);
    IniFile ini(m_path);
    EXPECT_EQ(ini.Read("Main", "A", "gone"), "gone");
    EXPECT_EQ(ini.Read("Main", "B", ""), "two");
    EXPECT_EQ(ini.Read("Main", "C", ""), "3");
    EXPECT_EQ(ini.Read("Search_Items", "0", "gone"), "gone");
    EXPECT_EQ(Contents(m_path).find("Search_Items"), std::string::npos);
}

TEST_F(IniFileTest, WritingCreatesTheFileAndKeepsItsSignatureAndMode) {
    EXPECT_NE(WriteIni("Main", "Font", "Tahoma", m_path), 0);
    EXPECT_EQ(Contents(m_path), "[Main]\nFont=Tahoma\n");

    m_dir.Write("Kest.ini", "\xEF\xBB\xBF[Main]\r\nFont=Arial\r\n");
    fs::permissions(m_path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_NE(WriteIni("Main", "Font", "Tahoma", m_path), 0);
    EXPECT_EQ(Contents(m_path), "\xEF\xBB\xBF[Main]\nFont=Tahoma\n");
    EXPECT_EQ(fs::status(m_path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.Path()), fs::directory_iterator()), 1);
}

TEST_F(IniFileTest, WriteThroughALinkReplacesTheTarget) {
    std::string real = m_dir.Write("real/Kest.ini", "[Main]\nFont=Arial\n");
    fs::create_symlink(real, m_path);
    EXPECT_NE(WriteIni("Main", "Font", "Tahoma", m_path), 0);
    EXPECT_TRUE(fs::is_symlink(m_path));
    EXPECT_EQ(ReadIni("Main", "Font", "", real), "Tahoma");
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
}

// A full disk: the replacement cannot be written in full.
TEST_F(IniFileTest, FullDiskKeepsTheOldFile) {
    const std::string settings = "[Main]\nFont=Arial\n";
    m_dir.Write("Kest.ini", settings);
    IniFile ini(m_path);
    ini.Write("Main", "Huge", std::string(2000, 'x'));

    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    bool saved = ini.Save();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(Contents(m_path), settings);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.Path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace kest
