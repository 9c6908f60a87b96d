// Scanning a drive from the Discs view: the lock, the progress panel, Cancel
// and the disc list afterwards.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "WindowFixture.h"
#include "core/engine/Database.h"
#include "gui/scan/WindowScan.h"
#include "support/ToolRun.h"
#include "support/catalog/CatalogFixture.h"
#include "support/scan/RecordingScanView.h"

namespace kest::test {
namespace {

// What the window showed at one pump of the walk.
struct ScanMoment {
    bool scanEnabled = true, cancelVisible = false, filesMenuEnabled = true;
    bool barVisible = false, animationVisible = false;
    QString total, status;
};

class ScanFromWindow : public WindowFixture {
  protected:
    void SetUp() override {
        for (int i = 0; i < 40; ++i) disc.Write("dir/file" + std::to_string(i) + ".txt", "x");
        volumes.Add(
            {disc.Path().string(), platform::DriveType::Optical, "BACKUP_01", "1A2B-03CD", "CDFS"});
        PutSampleCatalog();
    }
    void StartWith(bool estimate, const std::string& sounds = "Play=False\n") {
        WriteSettings("[Positions]\nLeft=300\nTop=300\nWidth=10500\nHeight=7200\n[Sounds]\n" +
                      sounds + "[Scan_Options]\nEst_B4_Scan=" + (estimate ? "True" : "False") +
                      "\n");
        Start();
        window->Parts().scan->View().pumpEvery = std::chrono::milliseconds(0);
        auto* drives = Find<QComboBox>("icbDrives");
        ASSERT_EQ(drives->count(), 1);
        drives->setCurrentIndex(0);
    }
    void ExpectDescription(const char* reply) {
        prompter.ExpectInput("Disc Description", ::testing::_, std::string(reply));
    }
    // Clicks Scan & Save (or presses Enter in the drive box), noting what each pump of the walk
    // shows; `during` runs at each of those pumps.
    void Scan(const std::function<void(const ScanMoment&)>& during = {}, bool byEnter = false) {
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const gui::MainControls& c = window->Controls();
            if (c.panels[0]->text().isEmpty()) return;  // not walking yet
            ScanMoment now{c.cmdSS->isEnabled(),
                           c.progress.cmdCancel->isVisible(),
                           window->Menus().mnuOpDB->isEnabled(),
                           c.progress.ProgPic[1]->isVisible(),
                           c.progress.imgGo->isVisible(),
                           c.progress.ProgLbl[0]->text(),
                           c.panels[0]->text()};
            moments.push_back(now);
            if (during) during(now);
        });
        watch.start();
        if (byEnter) {
            // As the desktop sends the key: to the window, for the control
            // with the focus.
            Find<QComboBox>("icbDrives")->setFocus();
            QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        } else
            Find<QPushButton>("cmdSS")->click();
        watch.stop();
    }
    int64_t FileRows() {
        return std::get<int64_t>(
            window->Session().current.Db().Query("SELECT COUNT(*) FROM tblFiles").rows[0][0]);
    }

    TempDir disc;
    std::vector<ScanMoment> moments;
};

TEST_F(ScanFromWindow, ScanWithEstimateShowsTheBarsThenTheNewDisc) {
    StartWith(true);
    int64_t before = FileRows();
    int discsBefore = Find<gui::ListGrid>("fgdDiscs")->model()->rowCount();
    ExpectDescription("new disc");
    Scan([&](const ScanMoment&) {
        if (moments.size() == 20) SaveScreenshot("discs-view-scanning");
    });
    prompter.VerifyDone();

    ASSERT_FALSE(moments.empty());
    for (const ScanMoment& moment : moments) {
        EXPECT_FALSE(moment.scanEnabled);
        EXPECT_FALSE(moment.filesMenuEnabled);
        EXPECT_TRUE(moment.cancelVisible);
        EXPECT_TRUE(moment.barVisible);
        EXPECT_FALSE(moment.animationVisible);
    }
    EXPECT_NE(moments.back().total, "0%");
    const gui::MainControls& c = window->Controls();
    EXPECT_TRUE(c.panels[0]->text().startsWith("Added 40 files from Disc with label BACKUP_01. ("))
        << c.panels[0]->text().toStdString();
    EXPECT_FALSE(c.progress.panel->isVisible());
    EXPECT_FALSE(c.progress.cmdCancel->isVisible());
    EXPECT_TRUE(c.cmdSS->isEnabled());
    EXPECT_TRUE(window->Menus().mnuOpDB->isEnabled());
    EXPECT_TRUE(window->Menus().mnuComp->isEnabled());
    EXPECT_EQ(Find<gui::ListGrid>("fgdDiscs")->model()->rowCount(), discsBefore + 1);
    EXPECT_EQ(FileRows(), before + 40);
}

TEST_F(ScanFromWindow, CancelDuringTheAnimatedWalkKeepsTheRowsStored) {
    StartWith(false);
    int64_t before = FileRows();
    ExpectDescription("cancelled");
    prompter.ExpectNotice("Error while scanning Disc", "-2147220727\r\nThe scan was aborted!",
                          Icon::Critical);
    QPushButton* cancel = window->Controls().progress.cmdCancel;
    Scan([&](const ScanMoment& moment) {
        EXPECT_TRUE(moment.animationVisible);
        EXPECT_FALSE(moment.barVisible);
        if (moments.size() == 5) cancel->click();
    });
    prompter.VerifyDone();
    EXPECT_GE(moments.size(), 5u);
    EXPECT_LT(moments.size(), 10u);
    int64_t stored = FileRows() - before;
    EXPECT_GT(stored, 0);
    EXPECT_LT(stored, 40);
    EXPECT_EQ(window->Controls().panels[0]->text(),
              "Error (-2147220727) in scanning Disc! See Help>Content>Errors");
    EXPECT_TRUE(window->Controls().cmdSS->isEnabled());
    EXPECT_FALSE(window->Parts().scan->Running());
}

TEST_F(ScanFromWindow, EnterInTheDriveBoxScansAndSelectDriveDoesNothing) {
    StartWith(true);
    Activate();
    auto* drives = Find<QComboBox>("icbDrives");
    drives->setCurrentIndex(-1);
    drives->setEditText(QStringLiteral("Select Drive"));
    Scan({}, true);
    prompter.VerifyDone();
    EXPECT_TRUE(moments.empty());
    EXPECT_TRUE(window->Controls().cmdSS->isEnabled());

    drives->setCurrentIndex(0);
    ExpectDescription("by Enter");
    Scan({}, true);
    prompter.VerifyDone();
    EXPECT_FALSE(moments.empty());
    EXPECT_TRUE(window->Controls().panels[0]->text().startsWith("Added 40 files"));
}

// File > Scan Folder...: a folder chosen in the folder dialog is scanned as
// the volume it lies on would be, with that folder's files only.
TEST_F(ScanFromWindow, ScanFolderScansTheChosenFolderAsItsVolume) {
    disc.Write("outside.txt", "x");
    StartWith(false);
    const int64_t before = FileRows();
    prompter.ExpectOpenFile("Scan Folder", std::nullopt);
    window->Menus().mnuScanFolder->trigger();
    prompter.VerifyDone();
    EXPECT_EQ(FileRows(), before);

    prompter.ExpectOpenFile("Scan Folder", (disc.Path() / "dir").string());
    ExpectDescription("one folder");
    window->Menus().mnuScanFolder->trigger();
    prompter.VerifyDone();
    EXPECT_EQ(FileRows(), before + 40);
    EXPECT_TRUE(window->Controls().panels[0]->text().startsWith(
        "Added 40 files from Disc with label BACKUP_01."));
    EXPECT_EQ(QueryText(window->Session().current.Db(),
                        "SELECT DiscLbl, DiscSer FROM tblDiscs WHERE DiscDesc = 'one folder'"),
              "BACKUP_01|1A2B-03CD\n");
}

// File > Scan Disc Image...: the disc an image holds is scanned in place
// with its own label; what is no image is said so and scans nothing.
TEST_F(ScanFromWindow, ScanImageScansTheDiscTheImageHolds) {
    if (!ToolsInstalled("xorriso")) GTEST_SKIP() << "no xorriso";
    ASSERT_TRUE(RunIn(disc, "xorriso -as mkisofs -R -J -V IMAGE_01 -o ../disc.iso dir"));
    const std::string image = (disc.Path().parent_path() / "disc.iso").string();
    StartWith(false);
    const int64_t before = FileRows();
    prompter.ExpectOpenFile("Scan Disc Image", disc.File("dir/file0.txt"));
    prompter.ExpectMessage("Error in reading Disc", ::testing::HasSubstr("no ISO 9660 or UDF"),
                           Icon::Critical, Buttons::OKOnly, 1, Answer::OK);
    window->Menus().mnuScanImage->trigger();
    prompter.ExpectOpenFile("Scan Disc Image", image);
    ExpectDescription("an image");
    window->Menus().mnuScanImage->trigger();
    prompter.VerifyDone();
    std::filesystem::remove(image);
    EXPECT_EQ(FileRows(), before + 40);
    EXPECT_TRUE(window->Controls().panels[0]->text().startsWith(
        "Added 40 files from Disc with label IMAGE_01."));
    EXPECT_EQ(QueryText(window->Session().current.Db(),
                        "SELECT DiscFSys FROM tblDiscs WHERE DiscDesc = 'an image'"),
              "CDFS\n");
}

// While a scan runs the window is disabled: the search buttons and Enter in
// the search box do nothing, and the search command refuses to start.
TEST_F(ScanFromWindow, ASearchDuringAScanIsRefused) {
    StartWith(true);
    Find<QComboBox>("cboSearch")->setEditText(QStringLiteral("*"));
    ExpectDescription("busy");
    bool tried = false;
    Scan([&](const ScanMoment&) {
        if (tried) return;
        tried = true;
        window->ToolbarAction(2);
        Find<QPushButton>("cmdQuery")->click();
        QTest::keyClick(Find<QComboBox>("cboSearch")->lineEdit(), Qt::Key_Return);
        QTest::keyClick(window.get(), Qt::Key_Return);
        EXPECT_EQ(Find<QLabel>("lblResultCount")->text(), "Matches Found: ---");
        EXPECT_EQ(window->Search().results.RowCount(), 1u);  // the blank row
    });
    prompter.VerifyDone();
    EXPECT_TRUE(tried);
    EXPECT_EQ(window->Search().results.Cell(0, 0), "");
}

const char* const kCloseQuestion = "A scan is in progress. Cancel it and exit?";

TEST_F(ScanFromWindow, ClosingDuringAScanAsksAndNoGoesOn) {
    StartWith(true);
    ExpectDescription("kept");
    prompter.ExpectMessage("Kest", kCloseQuestion, Icon::Question, Buttons::YesNo, 2, Answer::No);
    bool stayed = false, asked = false;
    Scan([&](const ScanMoment&) {
        if (asked) return;
        asked = true;
        window->close();
        stayed = window->isVisible() || !window->isHidden();
    });
    prompter.VerifyDone();
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(window->Controls().panels[0]->text().startsWith("Added 40 files"))
        << window->Controls().panels[0]->text().toStdString();
}

TEST_F(ScanFromWindow, ClosingDuringAScanAndYesCancelsItAndCloses) {
    StartWith(true);
    int64_t before = FileRows();
    ExpectDescription("cut short");
    prompter.ExpectMessage("Kest", kCloseQuestion, Icon::Question, Buttons::YesNo, 2, Answer::Yes);
    prompter.ExpectNotice("Error while scanning Disc", "-2147220727\r\nThe scan was aborted!",
                          Icon::Critical);
    std::string catalog = window->Session().current.path;
    Scan([&](const ScanMoment&) {
        if (moments.size() == 3) window->close();
    });
    prompter.VerifyDone();
    EXPECT_LT(moments.size(), 10u);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Session().current.HasDatabase());
    // The rows the scan stored before the cancel are kept.
    auto db = engine::Database::Open(catalog, "");
    ASSERT_NE(db, nullptr);
    EXPECT_GT(std::get<int64_t>(db->Query("SELECT COUNT(*) FROM tblFiles").rows[0][0]), before);
}

// The end sound of a scan: the settings' file on a desktop with an audio
// output, the beep without one, nothing when it is switched off.
TEST_F(ScanFromWindow, TheEndSoundPlaysTheSettingsFileOrBeeps) {
    std::string wave = home.Write("done.wav", "RIFF");
    const struct {
        bool play;
        bool output;
        std::vector<std::string> played;
        int beeps;
    } cases[] = {{true, true, {wave}, 0}, {true, false, {}, 1}, {false, true, {}, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.play ? "play" : "silent") + (c.output ? ", output" : ""));
        PutSampleCatalog();
        StartWith(true,
                  std::string("Play=") + (c.play ? "True" : "False") + "\nEndScan=" + wave + "\n");
        auto sound = std::make_unique<FakeSound>();
        FakeSound& heard = *sound;
        heard.waveOutput = c.output;
        window->Parts().scan->SetSound(std::move(sound));
        ExpectDescription("sounding");
        Scan();
        prompter.VerifyDone();
        EXPECT_EQ(heard.played, c.played);
        EXPECT_EQ(heard.beeps, c.beeps);
        CloseWindow();
    }
}

TEST_F(ScanFromWindow, ANewVolumeJoinsTheDriveBoxAndTheChoiceStays) {
    StartWith(true);
    auto* drives = Find<QComboBox>("icbDrives");
    QString chosen = drives->currentData().toString();
    TempDir other;
    volumes.Add({other.Path().string(), platform::DriveType::Optical, "NEW", "0000-0001", "CDFS"});
    window->RefreshDrives();
    EXPECT_EQ(drives->count(), 2);
    EXPECT_EQ(drives->currentData().toString(), chosen);

    drives->setCurrentIndex(-1);
    window->RefreshDrives();
    EXPECT_EQ(drives->currentIndex(), -1);
    EXPECT_EQ(drives->currentText(), "Select Drive");
}

}  // namespace
}  // namespace kest::test
