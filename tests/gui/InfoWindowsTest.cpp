// The about, help contents, picture and donation windows, and the Help menu
// that opens them from the main window.
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "DialogDriver.h"
#include "LoopbackServer.h"
#include "WindowFixture.h"
#include "core/update/BuildInfo.h"
#include "core/update/InfoTexts.h"
#include "gui/update/HelpMenu.h"
#include "gui/update/QtHttpClient.h"
#include "gui/update/TextBox.h"
#include "gui/update/frmAbout.h"
#include "gui/update/frmContents.h"
#include "gui/update/frmDonate.h"
#include "gui/update/frmUpdate.h"
#include "support/platform/FakeShell.h"

namespace kest::test {
namespace {

template <typename T>
T* Child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class InfoWindowsTest : public ::testing::Test {
  protected:
    update::UpdateContext Context() {
        return {http, prompter, shell, server.Base(), update::ProgramRelease()};
    }

    LoopbackServer server;
    gui::QtHttpClient http{kHttpTimeLimit};
    ScriptedPrompter prompter;
    FakeShell shell;
};

TEST_F(InfoWindowsTest, AboutShowsTheBuildReleaseAndItsLabelsTurnRedAndLeadToTheSite) {
    gui::frmAbout about(nullptr, Context());
    EXPECT_EQ(about.windowTitle(), "About Kest");
    EXPECT_EQ(Child<QLabel>(&about, "lblVersion")->text(),
              QString::fromStdString("Version: " + std::to_string(update::ProgramRelease().major) +
                                     "." + std::to_string(update::ProgramRelease().minor) + "." +
                                     std::to_string(update::ProgramRelease().revision)));
    EXPECT_THAT(Child<QPlainTextEdit>(&about, "txtProgInfo")->toPlainText().toStdString(),
                ::testing::HasSubstr("Credits"));
    struct Case {
        const char* label;
        const char* toolTip;
        std::string request;
    } cases[] = {
        {"lblProduct", "Go to the official website", std::string("open ") + update::HomePage()},
        {"lblURL", "Go to the official website", std::string("open ") + update::HomePage()},
        {"lblCopyright", "Email the owner/programmer",
         std::string("open mailto:") + update::MakerEmail()},
    };
    for (const Case& c : cases) {
        auto* label = Child<QLabel>(&about, c.label);
        EXPECT_EQ(label->toolTip(), c.toolTip);
        QTest::mouseClick(label, Qt::RightButton);
        EXPECT_TRUE(shell.requests.empty()) << c.label;
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0)) << c.label;
        ASSERT_FALSE(shell.requests.empty());
        EXPECT_EQ(shell.requests.back(), c.request);
        shell.requests.clear();
    }
}

TEST_F(InfoWindowsTest, AboutsUpdateLabelOpensTheUpdateWindow) {
    gui::frmAbout about(nullptr, Context());
    auto* label = Child<QLabel>(&about, "lblVersionUpdate");
    EXPECT_EQ(label->text(), "Update Information");
    EXPECT_EQ(label->toolTip(), "Check for an update");
    DialogDriver driver;
    driver.On("frmUpdate", [](QDialog& dialog) { dialog.reject(); });
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(driver.Opened("frmUpdate"), 1);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

// Every line of a text box shows whole, without wrapping or cutting.
void ExpectLinesShowWhole(QPlainTextEdit* text) {
    QFontMetrics metrics(text->font());
    int room = text->viewport()->width() - 2 * int(text->document()->documentMargin());
    for (const QString& line : text->toPlainText().split(QLatin1Char('\n')))
        EXPECT_LE(metrics.horizontalAdvance(line), room) << line.toStdString();
}

TEST_F(InfoWindowsTest, HelpContentsHasATabPerTopicInAFixedWidthFontAndOpensSizedToIt) {
    QWidget main;
    main.resize(800, 600);
    gui::frmContents contents(&main);
    contents.show();
    EXPECT_EQ(contents.windowTitle(), "Help Content");
    EXPECT_TRUE(Child<QLabel>(&contents, "Label1")->text().startsWith("Kest version "));
    auto* tabs = Child<QTabWidget>(&contents, "SSTab1");
    ASSERT_EQ(size_t(tabs->count()), update::HelpTopics().size());
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        auto* text = qobject_cast<QPlainTextEdit*>(tabs->widget(i));
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(text->isReadOnly());
        EXPECT_EQ(text->accessibleName(), tabs->tabText(i));
        // Fixed by its glyphs, whatever the font says of itself.
        QFontMetrics metrics(text->font());
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')),
                  metrics.horizontalAdvance(QLatin1Char('W')))
            << QFontInfo(text->font()).family().toStdString();
        ExpectLinesShowWhole(text);
    }
    EXPECT_TRUE(gui::MeasuresFixed(gui::FixedWidthFont()));
    SaveDialogPicture(contents, "frmContents");
    std::string all;
    for (const auto& topic : update::HelpTopics()) all += topic.text;
    for (const char* needed : {"  53 ", " 3045 ", "\"Disc\"", "R H S A", "Multiple Disc Delete",
                               "Compressed Files", "AMPM"})
        EXPECT_THAT(all, ::testing::HasSubstr(needed));
}

TEST_F(InfoWindowsTest, AboutsReleaseHistoryShowsItsLinesWholeAndTheBoxesHaveNames) {
    QWidget main;
    main.resize(800, 600);
    gui::frmAbout about(&main, Context());
    about.show();
    auto* history = Child<QPlainTextEdit>(&about, "txtProgInfo");
    EXPECT_EQ(history->accessibleName(), "Release history");
    ExpectLinesShowWhole(history);
    SaveDialogPicture(about, "frmAbout");
    gui::frmUpdate update(&main, Context());
    EXPECT_EQ(Child<QPlainTextEdit>(&update, "txtInfo")->accessibleName(), "Release news");
}

TEST_F(InfoWindowsTest, CtrlClickOnTheHelpIconShowsThePictureAndAClickOnItClosesIt) {
    gui::frmContents contents(nullptr);
    contents.show();
    auto* icon = Child<QLabel>(&contents, "imgIcon");
    QTest::mouseClick(icon, Qt::LeftButton);
    QTest::mouseClick(icon, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(contents.findChild<QDialog*>("frmPic"), nullptr);
    QTest::mouseClick(icon, Qt::LeftButton, Qt::ControlModifier);
    auto* picture = contents.findChild<QDialog*>("frmPic");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->windowTitle(), "The Infamous Kest");
    EXPECT_TRUE(picture->isVisible());
    auto* pic = Child<QLabel>(picture, "picKest");
    EXPECT_FALSE(pic->pixmap().isNull());
    QTest::mouseClick(pic, Qt::LeftButton);
    EXPECT_FALSE(picture->isVisible());
}

TEST_F(InfoWindowsTest, DonationGetsItsLinksAndGrows) {
    server.Serve("/files/Kest.don", "nlv_don Pay https://pay.test/kest");
    gui::frmDonate donate(nullptr, Context());
    donate.show();
    EXPECT_EQ(donate.windowTitle(), "Donation");
    EXPECT_THAT(Child<QPlainTextEdit>(&donate, "txtDon")->toPlainText().toStdString(),
                ::testing::HasSubstr("Please click on \"Get Links\" to get the selections."));
    auto* cmdUp = Child<QPushButton>(&donate, "cmdUp");
    EXPECT_EQ(cmdUp->text(), "&Get Links");
    EXPECT_EQ(cmdUp->toolTip(), "Get the links from the internet");
    int compact = donate.height();
    EXPECT_FALSE(Child<QPushButton>(&donate, "cmdLink0")->isVisible());
    cmdUp->click();
    EXPECT_GT(donate.height(), compact);
    QPushButton* links[] = {Child<QPushButton>(&donate, "cmdLink0"),
                            Child<QPushButton>(&donate, "cmdLink1"),
                            Child<QPushButton>(&donate, "cmdLink2")};
    EXPECT_EQ(links[0]->text(), "Pay");
    EXPECT_EQ(links[1]->text(), update::SiteName());
    for (QPushButton* link : links) {
        EXPECT_TRUE(link->isVisible() && link->isEnabled());
        link->click();
    }
    EXPECT_THAT(shell.opened, ::testing::ElementsAre("https://pay.test/kest", update::HomePage(),
                                                     update::HomePage()));
    EXPECT_TRUE(cmdUp->isEnabled());
}

TEST_F(InfoWindowsTest, DonationLinksThatCannotBeHadLeaveTheHomePage) {
    for (LoopbackServer::Answer reply :
         {LoopbackServer::Answer{404, "NLV_DON A http://a"}, LoopbackServer::Answer{200, ""},
          LoopbackServer::Answer{200, "", "", true}}) {
        server.Serve("/files/Kest.don", reply);
        prompter.ExpectNotice("Error in update",
                              ::testing::StartsWith("Could not get the update for the links."),
                              Icon::Critical);
        gui::frmDonate donate(nullptr, Context());
        Child<QPushButton>(&donate, "cmdUp")->click();
        prompter.VerifyDone();
        EXPECT_EQ(Child<QPushButton>(&donate, "cmdLink0")->text(), update::SiteName());
        EXPECT_TRUE(Child<QPushButton>(&donate, "cmdUp")->isEnabled());
        EXPECT_FALSE(QApplication::overrideCursor());
    }
}

class HelpMenuTest : public WindowFixture {
  protected:
    gui::HelpMenu* Menu() {
        auto* menu = window->findChild<gui::HelpMenu*>();
        EXPECT_NE(menu, nullptr);
        menu->Use(http, shell);
        return menu;
    }

    LoopbackServer server;
    gui::QtHttpClient http{kHttpTimeLimit};
    FakeShell shell;
};

TEST_F(HelpMenuTest, EntriesOpenTheirWindows) {
    PutSampleCatalog();
    Start();
    Menu();
    Action("mnuWE")->trigger();
    EXPECT_THAT(shell.requests, ::testing::ElementsAre(std::string("open ") + update::HomePage()));

    Action("mnuHowTo")->trigger();
    auto* contents = window->findChild<gui::frmContents*>();
    ASSERT_NE(contents, nullptr);
    EXPECT_TRUE(contents->isVisible());
    Action("mnuHowTo")->trigger();
    EXPECT_EQ(window->findChildren<gui::frmContents*>().size(), 1);

    // The modal windows open through the modal runner, as every dialog does.
    DialogDriver driver;
    for (auto [entry, form] :
         {std::pair{"mnuAbout", "frmAbout"}, std::pair{"mnuUpdate", "frmUpdate"},
          std::pair{"mnuDonate", "frmDonate"}}) {
        driver.On(form, [](QDialog& dialog) { dialog.reject(); });
        Action(entry)->trigger();
        EXPECT_EQ(driver.Opened(form), 1) << entry;
    }
}

}  // namespace
}  // namespace kest::test
