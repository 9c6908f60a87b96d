// The File and Tools menus' catalog commands run from the window: compact,
// save as, close, properties and repair, each reaching the catalog and
// leaving the window in the state the command promises.
#include <QLabel>
#include <filesystem>

#include "WindowFixture.h"
#include "gui/grids/ListGrid.h"

namespace kest::test {
namespace {

using ::testing::AllOf;
using ::testing::EndsWith;
using ::testing::HasSubstr;

class CatalogMenus : public WindowFixture {
  protected:
    int DiscRows() { return Find<gui::ListGrid>("fgdDiscs")->model()->rowCount(); }
};

TEST_F(CatalogMenus, CompactKeepsTheCatalogOpenWithItsDiscs) {
    std::string path = PutSampleCatalog();
    Start();
    prompter.ExpectNotice("Compact/Repair successful",
                          HasSubstr(" compacted & repaired successfully.\r\n\r\nSize before"),
                          Icon::Information);
    Action("mnuComp")->trigger();
    prompter.VerifyDone();
    EXPECT_TRUE(window->Session().current.HasDatabase());
    EXPECT_TRUE(Action("mnuComp")->isEnabled());
    EXPECT_EQ(DiscRows(), 2);
    EXPECT_FALSE(std::filesystem::exists(path + ".bdb"));
}

TEST_F(CatalogMenus, CloseLeavesTheWindowWithoutACatalog) {
    PutSampleCatalog();
    Start();
    Action("mnuClose")->trigger();
    prompter.VerifyDone();
    EXPECT_FALSE(window->Session().current.HasDatabase());
    EXPECT_EQ(window->windowTitle(), "Kest");
    EXPECT_EQ(Find<QLabel>("lblNumDiscs")->text(), "No active database.");
    for (const char* entry : {"mnuComp", "mnuClose", "mnuSaveDBAs", "mnuDBProp"})
        EXPECT_FALSE(Action(entry)->isEnabled()) << entry;
    EXPECT_EQ(Setting("Main", "DatabaseName"), "?null?");
}

TEST_F(CatalogMenus, SaveAsOpensTheCopy) {
    PutSampleCatalog();
    Start();
    std::string copy = home.File("copy.kst");
    prompter.ExpectSaveFile("Save database As...", copy);
    Action("mnuSaveDBAs")->trigger();
    prompter.VerifyDone();
    ASSERT_TRUE(window->Session().current.HasDatabase());
    EXPECT_EQ(window->Session().current.path, copy);
    EXPECT_EQ(DiscRows(), 2);
    EXPECT_THAT(window->windowTitle().toStdString(), EndsWith("copy.kst"));
}

TEST_F(CatalogMenus, PropertiesAndRepairSpeakThroughTheirBoxes) {
    std::string path = PutSampleCatalog();
    Start();
    prompter.ExpectMessage("Database properties",
                           AllOf(HasSubstr("----------------------------------"),
                                 EndsWith("Would you like to print this information to a file?")),
                           Icon::Information, Buttons::YesNo, 2, Answer::No);
    Action("mnuDBProp")->trigger();
    prompter.ExpectOpenFile("Choose Database to be Repaired...", path);
    prompter.ExpectNotice("Repair successful",
                          HasSubstr(" repaired successfully.\r\n \r\nIt is recommended"),
                          Icon::Information);
    Action("mnuRep")->trigger();
    prompter.VerifyDone();
    // The open catalog was let go for the repair and taken back.
    EXPECT_TRUE(window->Session().current.HasDatabase());
    EXPECT_EQ(DiscRows(), 2);
}

TEST_F(CatalogMenus, RebuildSearchIndexRebuildsItWhileTheWindowStays) {
    PutSampleCatalog();
    Start();
    EXPECT_TRUE(Action("mnuReindex")->isEnabled());
    prompter.ExpectNotice("Rebuild Search Index", "The search index was rebuilt.",
                          Icon::Information);
    Action("mnuReindex")->trigger();
    prompter.VerifyDone();
    EXPECT_TRUE(window->Session().current.Db().SearchIndexComplete());
    EXPECT_EQ(DiscRows(), 2);
    Action("mnuClose")->trigger();
    EXPECT_FALSE(Action("mnuReindex")->isEnabled());
}

}  // namespace
}  // namespace kest::test
