// The options dialog opened from the main window over the sample catalog:
// its checks on their tabs, Apply against Cancel, the dependent controls,
// the settings reaching the window and the settings file, bad values.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <functional>

#include "DialogDriver.h"
#include "WindowFixture.h"
#include "gui/grids/ListGrid.h"
#include "gui/widgets/OptionsPickers.h"

namespace kest::test {
namespace {

using ::testing::_;

template <typename T = QWidget>
T* In(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void Click(QDialog& dialog, const char* name) {
    In<QAbstractButton>(dialog, name)->click();
}

void SetChecked(QDialog& dialog, const char* name, bool checked) {
    In<QAbstractButton>(dialog, name)->setChecked(checked);
}

int CurrentTab(QDialog& dialog) {
    return In<QTabWidget>(dialog, "SSTab1")->currentIndex();
}

class OptionsDialog : public WindowFixture {
  protected:
    ~OptionsDialog() override { gui::SetOptionsPickers({}); }

    // The window over the sample catalog, with the given settings file.
    void StartWith(const std::string& settings = {}) {
        PutSampleCatalog();
        if (!settings.empty()) WriteSettings(settings);
        Start();
    }

    // Opens the dialog from the Tools menu and runs the steps in it.
    void OpenOptions(std::function<void(QDialog&)> steps) {
        dialogs.On("frmOpts", std::move(steps));
        Action("mnuOpts")->trigger();
        EXPECT_EQ(dialogs.Opened("frmOpts"), ++m_opened);
    }

    const AppSettings& Settings() { return window->Session().settings; }

    DialogDriver dialogs;

  private:
    int m_opened = 0;
};

TEST_F(OptionsDialog, EveryCheckShowsItsMessageOnItsTabAndAppliesNothing) {
    StartWith();
    std::string sound = home.Write("sounds/end.wav", "RIFF");
    OpenOptions([&](QDialog& dialog) {
        struct Step {
            std::function<void()> change;
            int tab;
            const char* focus;
            std::string message;
        };
        const Step steps[] = {
            {[&] { SetChecked(dialog, "chkF", false); }, 3, "chkF",
             "At least one checkbox must be selected in 'Fields to Search'."},
            {[&] {
                 SetChecked(dialog, "chkDs", true);
                 Click(dialog, "optYesSavSub");
                 for (const char* type :
                      {"chkZIP", "chk7Z", "chkTAR", "chkCompressedTAR", "chkISO"})
                     SetChecked(dialog, type, false);
             },
             4, "chkZIP",
             "You decided to include compressed file information\r\n"
             "but did not select at least one file type."},
            {[&] {
                 SetChecked(dialog, "chkRAR", true);
                 Click(dialog, "optYesSchSub");
                 SetChecked(dialog, "chkSN", false);
             },
             4, "chkSN",
             "You decided to search in the subfile information\r\n"
             "but did not select at least one database field."},
            {[&] {
                 SetChecked(dialog, "chkSC", true);
                 SetChecked(dialog, "chkPlayWAV", true);
                 In<QLineEdit>(dialog, "txtEndScan")
                     ->setText(QString::fromStdString(home.File("sounds/none.wav")));
             },
             5, "txtEndScan", "Invalid sound file or it does not exist."},
        };
        In<QTabWidget>(dialog, "SSTab1")->setCurrentIndex(0);
        for (const Step& step : steps) {
            step.change();
            prompter.ExpectNotice("Option error", step.message, Icon::Critical);
            // Apply and OK run the same checks.
            Click(dialog, "cmdApply");
            EXPECT_EQ(CurrentTab(dialog), step.tab) << step.focus;
            EXPECT_EQ(dialog.focusWidget(), In(dialog, step.focus));
            In<QTabWidget>(dialog, "SSTab1")->setCurrentIndex(0);
            prompter.ExpectNotice("Option error", step.message, Icon::Critical);
            Click(dialog, "cmdOK");
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(CurrentTab(dialog), step.tab);
            EXPECT_TRUE(In(dialog, "cmdApply")->isEnabled());
            EXPECT_TRUE(Settings().InFileName);
            EXPECT_FALSE(Settings().InFileDescription);
        }
        In<QLineEdit>(dialog, "txtEndScan")->setText(QString::fromStdString(sound));
        Click(dialog, "cmdOK");
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_FALSE(Settings().InFileName);
    EXPECT_TRUE(Settings().InFileDescription);
    EXPECT_TRUE(Settings().SaveSubFileCont);
    EXPECT_EQ(Settings().SaveZIP, 0);
    EXPECT_EQ(Settings().SaveRAR, 1);
    EXPECT_EQ(
        Settings().Save7Z + Settings().SaveTAR + Settings().SaveCompressedTAR + Settings().SaveISO,
        0);
    EXPECT_EQ(Settings().SaveCAB, 0);
    EXPECT_TRUE(Settings().SearchSub);
    EXPECT_FALSE(Settings().InSubFileName);
    EXPECT_TRUE(Settings().InSubComment);
    EXPECT_TRUE(Settings().Play);
    EXPECT_EQ(Settings().EndScan, sound);
}

TEST_F(OptionsDialog, ApplyKeepsItsChangesWhenCancelFollowsAndCancelDropsTheRest) {
    StartWith();
    gui::SetOptionsPickers({[](QWidget*, const QColor&) { return QColor(0, 128, 0); }, {}});
    auto* discs = Find<gui::ListGrid>("fgdDiscs");
    OpenOptions([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Options");
        EXPECT_FALSE(In(dialog, "cmdApply")->isEnabled());
        Click(dialog, "cmdColor");
        EXPECT_TRUE(In(dialog, "cmdApply")->isEnabled());
        EXPECT_EQ(In(dialog, "cmdColor")->accessibleDescription(), "#008000");
        Click(dialog, "cmdApply");
        EXPECT_FALSE(In(dialog, "cmdApply")->isEnabled());
        EXPECT_EQ(Settings().Back_Color, 0x008000);
        EXPECT_EQ(Find("LblBack")->palette().color(QPalette::Window), QColor(0, 128, 0));
        EXPECT_EQ(discs->palette().color(QPalette::Base), QColor(0, 128, 0));

        SetChecked(dialog, "chkGridLines", false);
        Click(dialog, "optYesUS");
        EXPECT_TRUE(In(dialog, "cmdApply")->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(Settings().GridLines, 1);
    EXPECT_TRUE(discs->showGrid());
    EXPECT_FALSE(Settings().ShowUsedSpace);
    EXPECT_EQ(window->Discs().table.ColumnCount(), 6u);
    CloseWindow();
    EXPECT_EQ(Setting("Main", "Back_Color"), "32768");
    EXPECT_EQ(Setting("Main", "GridLines"), "1");
}

TEST_F(OptionsDialog, DependentControlsFollowTheirSwitches) {
    StartWith();
    OpenOptions([&](QDialog& dialog) {
        auto enabled = [&](const char* name) { return In(dialog, name)->isEnabled(); };
        auto* places = In<QComboBox>(dialog, "cboNumDec");
        // As loaded: megabytes with four places, optical drives only, no
        // subfiles, no sound file (none exists).
        EXPECT_TRUE(In<QRadioButton>(dialog, "optMB")->isChecked());
        EXPECT_EQ(places->currentIndex(), 4);
        EXPECT_EQ(places->count(), 11);
        struct Case {
            const char* control;
            bool on;
            std::vector<const char*> dependents;
            bool enabled;
        };
        const Case cases[] = {
            {"optB", true, {"cboNumDec"}, false},
            {"optKB", true, {"cboNumDec"}, true},
            {"optYesCDdr", true, {"lblWarn", "optYesWarn", "optNoWarn"}, false},
            {"optNoCDdr", true, {"lblWarn", "optYesWarn", "optNoWarn"}, true},
            {"optYesSavSub",
             true,
             {"chkZIP", "chkACE", "chk7Z", "chkCompressedTAR", "chkISO"},
             true},
            {"optNoSavSub",
             true,
             {"chkZIP", "chkACE", "chk7Z", "chkCompressedTAR", "chkISO"},
             false},
            {"optYesSchSub", true, {"chkSN", "chkSD", "chkSC", "chkSubCol0", "chkSubCol9"}, true},
            {"optNoSchSub", true, {"chkSN", "chkSD", "chkSC", "chkSubCol0", "chkSubCol9"}, false},
            {"chkPlayWAV", true, {"txtEndScan", "cmdBrSound"}, true},
            {"chkPlayWAV", false, {"txtEndScan", "cmdBrSound"}, false},
        };
        for (const char* name : {"lblWarn", "chkZIP", "chkSN", "chkSubCol3", "txtEndScan"})
            EXPECT_FALSE(enabled(name)) << name << " as loaded";
        EXPECT_TRUE(In<QCheckBox>(dialog, "chkCol0")->isChecked());
        EXPECT_FALSE(enabled("chkCol0"));
        for (const Case& c : cases) {
            SetChecked(dialog, c.control, c.on);
            for (const char* dependent : c.dependents)
                EXPECT_EQ(enabled(dependent), c.enabled) << c.control << " -> " << dependent;
        }
        // Bytes show no decimals; the list comes back at 0.
        places->setCurrentIndex(7);
        Click(dialog, "optB");
        EXPECT_EQ(places->currentIndex(), 0);

        auto* format = In<QLineEdit>(dialog, "txtDateFormat");
        EXPECT_EQ(In<QLabel>(dialog, "lblConstDate")->text(),
                  "September 18, 1999 2:32:21 PM shows as:");
        EXPECT_EQ(In<QLabel>(dialog, "lblDateEx")->text(), "09/18/99 02:32:21 PM");
        format->setText("yyyy-mm-dd");
        EXPECT_EQ(In<QLabel>(dialog, "lblDateEx")->text(), "1999-09-18");
        In<QLineEdit>(dialog, "txtAdvSDtFmt")->setText("dd.mm.yyyy");
        EXPECT_EQ(In<QLabel>(dialog, "lblAdvSDtEx")->text(), "18.09.1999");
        EXPECT_EQ(In<QLabel>(dialog, "lblAdvConstDate")->text(),
                  "September 18, 1999 2:32:21 PM is input as:");
        Click(dialog, "cmdOK");
    });
    EXPECT_EQ(Settings().SizeFormat, kSizeInBytes);
    EXPECT_EQ(Settings().SizeNumDec, 0);
    EXPECT_EQ(Settings().DateFormat, "yyyy-mm-dd");
    EXPECT_EQ(Settings().AdvDateFormat, "dd.mm.yyyy");
    EXPECT_FALSE(Settings().Only_Optical);
}

TEST_F(OptionsDialog, AppliedSettingsReachTheWindowAndTheSettingsFile) {
    StartWith();
    gui::SetOptionsPickers({{}, [](QWidget*, const QFont& initial) {
                                EXPECT_EQ(initial.family(), "Microsoft Sans Serif");
                                QFont chosen(QStringLiteral("DejaVu Serif"));
                                chosen.setPointSize(11);
                                chosen.setBold(true);
                                return std::optional<QFont>(chosen);
                            }});
    OpenOptions([&](QDialog& dialog) {
        Click(dialog, "cmdChFont");
        EXPECT_EQ(In<QLineEdit>(dialog, "txtFont")->text(), "DejaVu Serif, 11 pt");
        EXPECT_TRUE(In(dialog, "txtFont")->font().bold());
        Click(dialog, "optFileCap");
        SetChecked(dialog, "chkD", true);
        Click(dialog, "optYesUS");
        Click(dialog, "optKB");
        In<QComboBox>(dialog, "cboNumDec")->setCurrentIndex(2);
        Click(dialog, "optSLogOpAND");
        Click(dialog, "optYesMin");
        SetChecked(dialog, "chkSubCol7", true);
        Click(dialog, "optNoCDdr");
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(window->windowTitle(), "Kest - kest001.kst");
    EXPECT_EQ(Find("cboSearch")->toolTip(),
              "Use the standard windows search parameters to search for a file name or file "
              "directory.");
    for (const char* grid : {"fgdDiscs", "fgdResults"}) {
        QFont font = Find(grid)->font();
        EXPECT_EQ(font.family(), "DejaVu Serif") << grid;
        EXPECT_TRUE(font.bold()) << grid;
        EXPECT_EQ(font.pointSize(), 11) << grid;
    }
    // The disc list was reloaded with its used-space column in kilobytes.
    const ListTable& discs = window->Discs().table;
    ASSERT_EQ(discs.ColumnCount(), 7u);
    EXPECT_EQ(discs.Column(6).header, "Used Space (KB) ");
    EXPECT_GT(discs.Column(6).width, 0);

    CloseWindow();
    struct Saved {
        const char *section, *key, *value;
    };
    const Saved saved[] = {
        {"Main", "Program_Caption", "1"},
        {"Main", "Font", "DejaVu Serif"},
        {"Main", "Font_Bold", "True"},
        {"Main", "Font_Size", "11"},
        {"Main", "MinToSysTray", "True"},
        {"Search_Options", "InDirectory", "True"},
        {"Search_Options", "SizeFormat", "2"},
        {"Search_Options", "SizeNumDec", "2"},
        {"Search_Options", "ME_Logical_Op", "2"},
        {"Discs_Options", "ShowUsedSpace", "True"},
        {"SubFile_Options", "ShowSubCol7", "1"},
        {"Drives", "Only_Optical", "False"},
    };
    for (const Saved& s : saved) EXPECT_EQ(Setting(s.section, s.key), s.value) << s.key;
}

TEST_F(OptionsDialog, ValuesAtTheirLimitsLoadAndApplyWithoutHarm) {
    StartWith(
        "[Search_Options]\nSizeFormat=3\nSizeNumDec=4\n"
        "[Main]\nProgram_Caption=-1\n");
    std::string notWav = home.Write("sounds/readme.txt", "not a sound");
    OpenOptions([&](QDialog& dialog) {
        // Bytes with decimals show none.
        EXPECT_TRUE(In<QRadioButton>(dialog, "optB")->isChecked());
        EXPECT_EQ(In<QComboBox>(dialog, "cboNumDec")->currentIndex(), 0);
        EXPECT_FALSE(In(dialog, "cboNumDec")->isEnabled());
        EXPECT_TRUE(In<QRadioButton>(dialog, "optFullCap")->isChecked());

        // Every results column off but the Kest ID: File Name comes back.
        for (int i = 1; i < 12; ++i)
            SetChecked(dialog, QStringLiteral("chkCol%1").arg(i).toLatin1().constData(), false);
        // Empty, long and format-character formats give their examples in
        // place, without widening the dialog.
        int width = dialog.width();
        for (const QString& format : {QString(), QString(2047, QLatin1Char('d')),
                                      QStringLiteral("dddddd mmmm yyyy q w ww y c ttttt AMPM \\"),
                                      QString(300, QLatin1Char('"'))}) {
            In<QLineEdit>(dialog, "txtDateFormat")->setText(format);
            In<QLineEdit>(dialog, "txtAdvSDtFmt")->setText(format);
            dialog.adjustSize();
            EXPECT_LE(dialog.width(), std::max(width, 900));
        }
        In<QLineEdit>(dialog, "txtDateFormat")->setText(QString());
        EXPECT_EQ(In<QLabel>(dialog, "lblDateEx")->text(), "9/18/1999 2:32:21 PM");

        // A file that is no WAV exists: it is taken, the player copes with it.
        SetChecked(dialog, "chkPlayWAV", true);
        In<QLineEdit>(dialog, "txtEndScan")->setText(QString::fromStdString(notWav));
        Click(dialog, "cmdApply");
        EXPECT_TRUE(In<QCheckBox>(dialog, "chkCol7")->isChecked());
        Click(dialog, "cmdCancel");
    });
    const AppSettings& s = Settings();
    EXPECT_EQ(s.ShowCol[0], 1);
    EXPECT_EQ(s.ShowCol[7], 1);
    for (size_t i : {1u, 2u, 6u, 9u}) EXPECT_EQ(s.ShowCol[i], 0) << i;
    EXPECT_EQ(s.DateFormat, "");
    EXPECT_EQ(s.SizeNumDec, 0);
    EXPECT_EQ(s.Program_Caption, kCaptionFullPath);
    EXPECT_TRUE(s.Play);
    EXPECT_EQ(s.EndScan, notWav);
}

TEST_F(OptionsDialog, TheSoundBrowserKeepsItsChoiceEvenWhenTheDialogIsCancelled) {
    StartWith();
    std::string sound = home.Write("sounds/ding.wav", "RIFF");
    prompter.ExpectOpenFile("Select a sound file...", sound);
    OpenOptions([&](QDialog& dialog) {
        SetChecked(dialog, "chkPlayWAV", true);
        Click(dialog, "cmdBrSound");
        EXPECT_EQ(In<QLineEdit>(dialog, "txtEndScan")->text().toStdString(), sound);
        EXPECT_EQ(prompter.LastFileDialog().initialDir, home.File("sounds"));
        Click(dialog, "cmdCancel");
    });
    EXPECT_EQ(Settings().EndScan, sound);
    EXPECT_FALSE(Settings().Play);
}

TEST_F(OptionsDialog, TheSecurityTabNamesTheCatalogAndIsOffWithoutOne) {
    StartWith();
    OpenOptions([&](QDialog& dialog) {
        auto* tabs = In<QTabWidget>(dialog, "SSTab1");
        EXPECT_TRUE(tabs->isTabEnabled(2));
        EXPECT_EQ(In<QGroupBox>(dialog, "fraSecurity")->title(), "kest001.kst Security");
        Click(dialog, "cmdCancel");
    });
    Action("mnuClose")->trigger();
    OpenOptions([&](QDialog& dialog) {
        auto* tabs = In<QTabWidget>(dialog, "SSTab1");
        EXPECT_FALSE(tabs->isTabEnabled(2));
        EXPECT_EQ(In<QGroupBox>(dialog, "fraSecurity")->title(), "db Security");
        // Whatever the caption choice, no catalog means the plain title.
        Click(dialog, "optFileCap");
        Click(dialog, "cmdOK");
    });
    EXPECT_EQ(window->windowTitle(), "Kest");
}

TEST_F(OptionsDialog, EveryTabIsKeyboardComplete) {
    StartWith();
    OpenOptions([&](QDialog& dialog) {
        auto* tabs = In<QTabWidget>(dialog, "SSTab1");
        // The dependents on so that Tab must reach them too.
        Click(dialog, "optNoCDdr");
        Click(dialog, "optYesSavSub");
        Click(dialog, "optYesSchSub");
        SetChecked(dialog, "chkPlayWAV", true);
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            tabs->setFocus();
            ExpectKeyboardComplete(dialog);
        }
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(Settings().SaveSubFileCont);
}

// Pictures of every tab, at the screen's scale (run again at double scale).
class OptionsScreenshots : public OptionsDialog {};

TEST_F(OptionsScreenshots, EveryTab) {
    StartWith();
    OpenOptions([&](QDialog& dialog) {
        auto* tabs = In<QTabWidget>(dialog, "SSTab1");
        const char* const names[] = {"options-results", "options-general",    "options-security",
                                     "options-search",  "options-compressed", "options-misc"};
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            SaveDialogPicture(dialog, names[tab]);
        }
        Click(dialog, "cmdCancel");
    });
}

}  // namespace
}  // namespace kest::test
