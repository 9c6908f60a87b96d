// The database properties report and its Kest.log.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include "core/catalog/PropertiesReport.h"
#include "core/text/UnicodeCase.h"
#include "core/text/VbFormat.h"
#include "platform/Shell.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"
#include "support/catalog/MaintenanceFixture.h"
#include "support/catalog/RecordingHost.h"
#include "support/platform/FakeShell.h"
#include "support/search/SearchFixture.h"

namespace kest {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

using RecordingShell = test::FakeShell;

// Gives the file the local time 2026-03-04 15:05:06.
void SetFileTime(const std::string& path) {
    std::tm local{};
    local.tm_year = 126;
    local.tm_mon = 2;
    local.tm_mday = 4;
    local.tm_hour = 15;
    local.tm_min = 5;
    local.tm_sec = 6;
    local.tm_isdst = -1;
    struct timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

class PropertiesTest : public ::testing::Test {
  protected:
    void Open(const std::string& path, const std::string& password = "") {
        test::OpenAsCurrent(current, path, password);
        SetFileTime(path);
    }
    std::string Size() const {
        return text::FormatNumber(static_cast<double>(std::filesystem::file_size(current.path)),
                                  "#,##0");
    }

    TempDir dir;
    test::RecordingHost host;
    CurrentCatalog current;
    ScriptedPrompter prompter;
    RecordingShell shell;
};

TEST_F(PropertiesTest, AnEmptyCatalogWithoutPassword) {
    Open(test::MakeCatalogFile(dir, "empty.kst"));
    std::string size = Size();
    EXPECT_EQ(PropertiesReport(current, prompter),
              "Database File Properties:\r\n----------------------------------\r\n"
              "Name: \t" +
                  text::UpperCase(current.path) +
                  "\r\n"
                  "Date: \tMar 04, 2026 03:05:06 PM\r\n"
                  "Size: \t" +
                  size +
                  " bytes\r\n"
                  "Attr: \t\r\n"
                  "Pwd: \tNo\r\n\r\n"
                  "Database Contents:\r\n----------------------------------\r\n"
                  "Discs: \t\t0\r\nFiles: \t\t0\r\nSubFiles: \t\t0\r\n"
                  "Total File Size: \t0 bytes\r\nTotal SubFile Size: \t0 bytes");
}

TEST_F(PropertiesTest, CountsAndSumsUseTheUsersThousandsSeparator) {
    Open(test::MakeFilledCatalog(dir, "full.kst", 1200, "pw1234"), "pw1234");
    chmod(current.path.c_str(), 0444);
    text::NumberLocale saved = text::CurrentNumberLocale();
    for (auto [separator, files, subfiles] :
         {std::tuple(",", "1,200", "3,000,001,000"), std::tuple(".", "1.200", "3.000.001.000")}) {
        text::SetNumberLocale({separator == std::string(",") ? "." : ",", separator});
        std::string report = PropertiesReport(current, prompter);
        EXPECT_THAT(report, ::testing::HasSubstr("\r\nAttr: \tR\r\nPwd: \tYes\r\n"));
        EXPECT_THAT(report, ::testing::HasSubstr(std::string("Discs: \t\t1\r\nFiles: \t\t") +
                                                 files + "\r\nSubFiles: \t\t2\r\n"));
        // 1,000 bytes times 1 + 2 + ... + 1,200.
        EXPECT_THAT(report,
                    ::testing::HasSubstr(std::string("Total File Size: \t720") + separator + "600" +
                                         separator + "000 bytes\r\nTotal SubFile Size: \t" +
                                         subfiles + " bytes"));
    }
    text::SetNumberLocale(saved);
}

TEST_F(PropertiesTest, TheQuestionDecidesWhetherKestLogIsWrittenAndOpened) {
    Open(test::MakeCatalogFile(dir, "a.kst"));
    std::string log = dir.Write(
        "Kest.log", "an older report that is longer than the new one" + std::string(2000, '.'));
    for (Answer answer : {Answer::No, Answer::Yes}) {
        std::string report = PropertiesReport(current, prompter);
        prompter.ExpectMessage(
            "Database properties",
            report + "\r\n\r\n\r\nWould you like to print this information to a file?",
            Icon::Information, Buttons::YesNo, 2, answer);
        EXPECT_EQ(PropertiesCommand(current, host, prompter, log, shell), report);
        prompter.VerifyDone();
        if (answer == Answer::No) {
            EXPECT_TRUE(shell.opened.empty());
            EXPECT_EQ(std::filesystem::file_size(log), 2047u);
        } else {
            EXPECT_EQ(test::ReadWholeFile(log), report + "\r\n");
            EXPECT_EQ(shell.opened, std::vector<std::string>{log});
        }
    }
}

TEST_F(PropertiesTest, AnEngineErrorIsShownUnderItsTitle) {
    Open(test::MakeCatalogFile(dir, "a.kst"));
    current.Db().Execute("DROP TABLE tblSubFiles");
    prompter.ExpectNotice("Error in getting Properties",
                          ::testing::StartsWith("3078\r\nno such table"), Icon::Critical);
    EXPECT_EQ(PropertiesCommand(current, host, prompter, dir.File("Kest.log"), shell),
              std::nullopt);
    EXPECT_FALSE(host.busy);
    EXPECT_FALSE(std::filesystem::exists(dir.File("Kest.log")));
}

}  // namespace
}  // namespace kest
