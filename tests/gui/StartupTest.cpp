// The start-up sequence and shutdown of the main window.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <filesystem>

#include "WindowFixture.h"
#include "core/engine/Database.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

using ::testing::AllOf;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const char* const kCatalogControls[] = {"cmdClear",  "cmdQuery", "cmdAdv",   "txtSzFr", "txtSzTo",
                                        "txtDtFr",   "txtDtTo",  "txtRiFr",  "txtRiTo", "cmdSS",
                                        "cboSearch", "drvMain",  "icbDrives"};
const char* const kCatalogEntries[] = {"mnuComp",       "mnuClose",     "mnuSaveDBAs", "mnuDBProp",
                                       "mnuScanFolder", "mnuScanImage", "mnuRefD"};

class Startup : public WindowFixture {
  protected:
    void ExpectCatalogControls(bool enabled) {
        for (const char* name : kCatalogControls)
            EXPECT_EQ(Find(name)->isEnabled(), enabled) << name;
        for (const char* name : kCatalogEntries)
            EXPECT_EQ(Action(name)->isEnabled(), enabled) << name;
        EXPECT_EQ(Find<QMenu>("mnuSave")->isEnabled(), enabled);
    }
    void ExpectLoadWarning(const std::string& line, Answer answer) {
        prompter.ExpectMessage("Load Database Warning...",
                               AllOf(StartsWith(line + "\r\n"),
                                     EndsWith("\r\nWould you like to create a new database?")),
                               Icon::Exclamation, Buttons::YesNo, 1, answer);
    }
    void ExpectUsableWithoutCatalog() {
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->isEnabled());
        ExpectCatalogControls(false);
        EXPECT_EQ(Find<QLabel>("lblNumDiscs")->text(), "No active database.");
        EXPECT_EQ(window->windowTitle(), "Kest");
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
};

TEST_F(Startup, WithTheStartupCatalogEverythingIsEnabled) {
    std::string path = PutSampleCatalog();
    Start();
    EXPECT_TRUE(window->isVisible());
    ExpectCatalogControls(true);
    EXPECT_EQ(Find<QLabel>("lblNumDiscs")->text().toStdString(), window->Discs().summary);
    EXPECT_THAT(window->Discs().summary, HasSubstr("kest001.kst"));
    EXPECT_EQ(window->windowTitle().toStdString(), "Kest - " + path);
    EXPECT_EQ(Find<gui::ListGrid>("fgdDiscs")->model()->rowCount(), 2);
    // The first run's save leaves every key in the settings file.
    EXPECT_EQ(Setting("Main", "DatabaseName"), "kest001.kst");
    EXPECT_EQ(Setting("Main", "Toolbar_Visible"), "True");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Startup, TheDriveBoxOffersTheDrivesOnceTheCatalogIsOpen) {
    TempDir disc, disk;
    FakeVolumes::FakeDrive cd;
    cd.folder = disc.Path().string();
    cd.type = platform::DriveType::Optical;
    cd.label = "PHOTOS";
    FakeVolumes::FakeDrive hd;
    hd.folder = disk.Path().string();
    std::string optical = volumes.Add(cd);
    std::string fixed = volumes.Add(hd);
    PutSampleCatalog();
    for (bool onlyOptical : {false, true}) {
        SCOPED_TRACE(onlyOptical ? "only optical" : "all drives");
        WriteSettings(onlyOptical ? "[Drives]\nOnly_Optical=True\n"
                                  : "[Drives]\nOnly_Optical=False\n");
        Start();
        auto* box = Find<QComboBox>("icbDrives");
        std::vector<std::string> roots;
        for (int i = 0; i < box->count(); ++i) {
            roots.push_back(box->itemData(i).toString().toStdString());
            EXPECT_FALSE(box->itemIcon(i).isNull());
        }
        std::vector<std::string> expected{optical};
        if (!onlyOptical) expected.push_back(fixed);
        EXPECT_THAT(roots, ::testing::UnorderedElementsAreArray(expected));
        EXPECT_EQ(box->currentText(), "Select Drive");
        CloseWindow();
    }
}

TEST_F(Startup, MissingCatalogDeclinedLeavesAnEmptyUsableWindow) {
    ExpectLoadWarning("Default database was not found.", Answer::No);
    Start();
    ExpectUsableWithoutCatalog();
    EXPECT_EQ(Find<QComboBox>("icbDrives")->count(), 0);
    // The disc grid keeps its headers.
    EXPECT_GT(Find<gui::ListGrid>("fgdDiscs")->model()->columnCount(), 0);
}

TEST_F(Startup, MissingCatalogAcceptedCreatesOne) {
    std::string path = home.File("fresh.kst");
    ExpectLoadWarning("Default database was not found.", Answer::Yes);
    prompter.ExpectSaveFile("Create a new database...", path);
    prompter.ExpectNotice("Create New Database", "The new database was created.",
                          Icon::Information);
    Start();
    ExpectCatalogControls(true);
    EXPECT_EQ(window->windowTitle().toStdString(), "Kest - " + path);
    EXPECT_EQ(prompter.LastFileDialog().filter, "Kest Database (*.kst)|*.kst");
    EXPECT_EQ(Setting("Main", "DatabaseName"), "fresh.kst");
}

TEST_F(Startup, ProtectedCatalogAsksForItsPassword) {
    std::string path = PutSampleCatalog();
    engine::Database::Open(path, "")->SetPassword("", "Secret");
    prompter.ExpectPassword("secret").ExpectPassword("Secret");
    Start();
    ExpectCatalogControls(true);
    EXPECT_EQ(window->Session().current.password, "Secret");
}

TEST_F(Startup, CancelledPasswordIsTheWrongPasswordWarning) {
    std::string path = PutSampleCatalog();
    engine::Database::Open(path, "")->SetPassword("", "Secret");
    prompter.ExpectPassword(std::nullopt);
    ExpectLoadWarning("The database password was incorrect.", Answer::No);
    Start();
    ExpectUsableWithoutCatalog();
}

TEST_F(Startup, BadCatalogFilesLeaveTheWindowUsable) {
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* line;
    };
    const Case cases[] = {
        {"text file", [this] { home.Write("kest001.kst", "not a catalog\n"); },
         "There was an error in opening the database."},
        {"older format, upgrade declined",
         [this] {
             MakeOldFormatCatalog(home, "old.kst");
             WriteSettings("[Main]\nDatabaseName=old.kst\n");
         },
         "The database was in the wrong format."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        if (std::string(c.line).find("format") != std::string::npos)
            prompter.ExpectMessage("New DB format", ::testing::_, Icon::Exclamation, Buttons::YesNo,
                                   1, Answer::No);
        ExpectLoadWarning(c.line, Answer::No);
        Start();
        ExpectUsableWithoutCatalog();
        prompter.VerifyDone();
        CloseWindow();
    }
}

TEST_F(Startup, CatalogInUseByAnotherCopyIsAnOpenError) {
    std::string path = PutSampleCatalog();
    auto other = engine::Database::Open(path, "");
    ExpectLoadWarning("There was an error in opening the database.", Answer::No);
    Start();
    ExpectUsableWithoutCatalog();
}

TEST_F(Startup, GivenCatalogIsOpenedInsteadOfTheStartupOne) {
    std::string sample = PutSampleCatalog();
    std::string other = home.File("other.kst");
    std::filesystem::copy_file(sample, other);
    Start(other);
    ExpectCatalogControls(true);
    EXPECT_EQ(window->Session().current.path, other);
    EXPECT_EQ(Setting("Main", "DatabaseName"), "other.kst");
}

TEST_F(Startup, MissingGivenCatalogWarnsThenFallsBackToTheStartupOne) {
    prompter.ExpectNotice("Open Database Warning...", HasSubstr("Default database was not found."),
                          Icon::Critical);
    ExpectLoadWarning("Default database was not found.", Answer::No);
    Start(home.File("nowhere.kst"));
    ExpectUsableWithoutCatalog();

    // With a start-up catalog the window opens that one, and it stays the
    // start-up catalog.
    CloseWindow();
    std::filesystem::remove(home.File("Kest.ini"));
    std::string own = PutSampleCatalog();
    prompter.ExpectNotice("Open Database Warning...", HasSubstr("Default database was not found."),
                          Icon::Critical);
    Start(home.File("nowhere.kst"));
    ExpectCatalogControls(true);
    EXPECT_EQ(window->Session().current.path, own);
    CloseWindow();
    EXPECT_EQ(Setting("Main", "DatabaseName"), "kest001.kst");
}

TEST_F(Startup, SettingsThatDoNotConvertAreAnErrorOnLoad) {
    PutSampleCatalog();
    WriteSettings("[Main]\nToolbar_Visible=perhaps\n");
    prompter.ExpectMessage("Error on load", ::testing::_, Icon::Critical, Buttons::OKOnly, 1,
                           Answer::OK);
    Start();
    ExpectUsableWithoutCatalog();
}

TEST_F(Startup, ShutdownSavesTheSettingsAndClosesTheCatalog) {
    std::string path = PutSampleCatalog();
    Start();
    window->move(30, 40);
    window->resize(500, 450);
    window->ToolbarAction(2);
    Find<QComboBox>("cboSearch")->setEditText("*.jpg");
    window->Exit();
    EXPECT_EQ(Setting("Positions", "Left"), "450");
    EXPECT_EQ(Setting("Positions", "Top"), "600");
    EXPECT_EQ(Setting("Positions", "Width"), "7500");
    EXPECT_EQ(Setting("Positions", "Height"), "6750");
    EXPECT_EQ(Setting("Positions", "Maximized"), "False");
    EXPECT_EQ(Setting("Search_Items", "Current"), "*.jpg");
    EXPECT_FALSE(window->Session().current.HasDatabase());
    EXPECT_FALSE(window->isVisible());
    // The catalog is free again for another program.
    EXPECT_NE(engine::Database::Open(path, ""), nullptr);
}

}  // namespace
}  // namespace kest::test
