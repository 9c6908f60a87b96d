// The catalog the program starts with: a given catalog that fails to open
// leaves the start-up catalog of the settings in place and falls back to it.
#include <gtest/gtest.h>

#include "core/app/StartupCatalog.h"
#include "core/settings/IniFile.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/catalog/CatalogFixture.h"
#include "support/catalog/RecordingHost.h"

namespace kest::app {
namespace {

using ::testing::HasSubstr;

class StartupCatalog : public ::testing::Test {
  protected:
    StartupCatalog() {
        startup = test::MakeCatalogFile(home, "mine.kst");
        home.Write("Kest.ini",
                   "[Main]\nDatabaseName=mine.kst\nDatabaseDir=" + home.Path().string() + "\n");
        session.LoadSettings();
    }
    std::string StoredName() const {
        return IniFile(home.File("Kest.ini")).Read("Main", "DatabaseName", "");
    }

    test::TempDir home;
    test::ScriptedPrompter prompter;
    test::RecordingHost host;
    Session session{AppPaths(home.Path()), prompter};
    std::string startup;
};

TEST_F(StartupCatalog, AGivenFileThatIsNoCatalogFallsBackToTheStartupCatalog) {
    std::string notes = home.Write("notes.kst", "not a catalog at all, only some text\n");
    prompter.ExpectNotice("Open Database Warning...", ::testing::_, Icon::Critical);
    EXPECT_TRUE(OpenCatalogAtStart(session, host, notes));
    EXPECT_EQ(session.current.path, startup);
    // The failed file was never recorded; the next save keeps the user's own.
    EXPECT_EQ(host.saves, 0);
    session.SaveSettings();
    EXPECT_EQ(StoredName(), "mine.kst");
}

TEST_F(StartupCatalog, AMissingGivenFileAndAMissingStartupCatalogOfferToCreateOne) {
    std::filesystem::remove(startup);
    prompter.ExpectNotice("Open Database Warning...", HasSubstr("not found"), Icon::Critical);
    prompter.ExpectMessage("Load Database Warning...", HasSubstr("not found"), Icon::Exclamation,
                           Buttons::YesNo, 1, Answer::No);
    EXPECT_FALSE(OpenCatalogAtStart(session, host, home.File("gone.kst")));
    EXPECT_FALSE(session.current.HasDatabase());
}

TEST_F(StartupCatalog, AGivenCatalogThatOpensIsRecorded) {
    std::string other = test::MakeCatalogFile(home, "other.kst");
    EXPECT_TRUE(OpenCatalogAtStart(session, host, other));
    EXPECT_EQ(session.current.path, other);
    EXPECT_EQ(host.saves, 1);
    session.SaveSettings();
    EXPECT_EQ(StoredName(), "other.kst");
}

}  // namespace
}  // namespace kest::app
