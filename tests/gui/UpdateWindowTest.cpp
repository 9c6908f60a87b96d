// The update window against a loopback server: newer, equal and older
// releases, the news box, the download and every failure.
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "LoopbackServer.h"
#include "core/update/BuildInfo.h"
#include "gui/update/QtHttpClient.h"
#include "gui/update/frmUpdate.h"
#include "support/ScriptedPrompter.h"
#include "support/platform/FakeShell.h"
#include "support/update/UpdateMessages.h"

namespace kest::test {
namespace {

using Reply = LoopbackServer::Answer;

class UpdateWindowTest : public ::testing::Test {
  protected:
    std::unique_ptr<gui::frmUpdate> Open(update::Release current = {0, 87, 5}) {
        auto window = std::make_unique<gui::frmUpdate>(
            nullptr, update::UpdateContext{http, prompter, shell, server.Base(), current});
        window->show();
        return window;
    }
    template <typename T = QPushButton>
    static T* Child(QWidget* window, const char* name) {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    LoopbackServer server;
    gui::QtHttpClient http{kHttpTimeLimit};
    ScriptedPrompter prompter;
    FakeShell shell;
};

TEST_F(UpdateWindowTest, StartsCompactWithOnlyCheckAndCancelUsable) {
    auto window = Open();
    EXPECT_EQ(window->windowTitle(), "Update");
    EXPECT_TRUE(Child(window.get(), "cmdCheck")->isEnabled());
    EXPECT_FALSE(Child(window.get(), "cmdDown")->isEnabled());
    EXPECT_FALSE(Child(window.get(), "cmdLink")->isVisible());
    EXPECT_FALSE(Child<QPlainTextEdit>(window.get(), "txtInfo")->isVisible());
}

TEST_F(UpdateWindowTest, NewerReleaseGrowsTheWindowWithItsNewsAndOffersTheDownload) {
    server.Serve("/files/Kest2.ver", "NLV_VER 0.88.1\r\n");
    std::string megabyte;
    while (megabyte.size() < (1 << 20)) megabyte += "A line of news of a megabyte.\n";
    server.Serve("/files/Kest2.nwz", "NLV_NWZ Faster.\r\n" + megabyte);
    auto window = Open();
    int compact = window->height();
    Child(window.get(), "cmdCheck")->click();
    EXPECT_EQ(window->windowTitle(), "Update available from v0.87.5 to v0.88.1");
    auto* news = Child<QPlainTextEdit>(window.get(), "txtInfo");
    EXPECT_TRUE(news->isVisible());
    EXPECT_TRUE(news->toPlainText().startsWith("Faster.\n"));
    EXPECT_EQ(news->toPlainText().size(), gui::frmUpdate::kLongestNews);
    EXPECT_GT(window->height(), compact);
    EXPECT_TRUE(Child(window.get(), "cmdDown")->isEnabled());
    EXPECT_TRUE(Child(window.get(), "cmdCheck")->isEnabled());
}

TEST_F(UpdateWindowTest, NewsOfOneEnormousLineIsShownWithoutHoldingTheWindow) {
    server.Serve("/files/Kest2.ver", "NLV_VER 0.88.1");
    server.Serve("/files/Kest2.nwz", "NLV_NWZ " + std::string(1 << 20, 'n'));
    auto window = Open();
    Child(window.get(), "cmdCheck")->click();
    auto* news = Child<QPlainTextEdit>(window.get(), "txtInfo");
    EXPECT_EQ(news->toPlainText(), QString(gui::frmUpdate::kLongestNews, QLatin1Char('n')));
}

TEST_F(UpdateWindowTest, NewsThatFailsLeavesItsMessageInTheBox) {
    server.Serve("/files/Kest2.ver", "nlv_ver 1.0.0");
    server.Serve("/files/Kest2.nwz", Reply{500, "NLV_NWZ broken"});
    auto window = Open();
    Child(window.get(), "cmdCheck")->click();
    EXPECT_EQ(Child<QPlainTextEdit>(window.get(), "txtInfo")->toPlainText(),
              "Unable to get news for Kest.");
    EXPECT_TRUE(Child(window.get(), "cmdDown")->isEnabled());
}

TEST_F(UpdateWindowTest, EqualOrOlderReleaseIsTheLatest) {
    for (const char* web : {"0.87.5", "0.87.4"}) {
        server.Serve("/files/Kest2.ver", std::string("NLV_VER ") + web);
        prompter.ExpectNotice("Kest update",
                              std::string("Web release = ") + web +
                                  "\r\nYour release = 0.87.5\r\nYou have the latest release of "
                                  "Kest.",
                              Icon::Information);
        auto window = Open();
        Child(window.get(), "cmdCheck")->click();
        prompter.VerifyDone();
        EXPECT_FALSE(Child(window.get(), "cmdDown")->isEnabled());
        EXPECT_FALSE(Child<QPlainTextEdit>(window.get(), "txtInfo")->isVisible());
    }
}

TEST_F(UpdateWindowTest, EveryFailedFetchShowsTheMessageAndTheLink) {
    struct Case {
        const char* what;
        Reply reply;
    } cases[] = {
        {"404", {404, "NLV_VER 9.9.9"}},
        {"500", {500, "NLV_VER 9.9.9"}},
        {"redirect loop", {302, "", "/files/Kest2.ver"}},
        {"empty", {200, ""}},
        {"blanks", {200, "   \r\n  "}},
        {"wrong prefix", {200, "NLV_DLF 9.9.9"}},
        {"never answers", {200, "", "", true}},
    };
    for (const Case& c : cases) {
        server.Serve("/files/Kest2.ver", c.reply);
        ExpectCheckFailed(prompter);
        auto window = Open();
        Child(window.get(), "cmdCheck")->click();
        prompter.VerifyDone();
        EXPECT_TRUE(Child(window.get(), "cmdLink")->isVisible()) << c.what;
        EXPECT_TRUE(Child(window.get(), "cmdCheck")->isEnabled()) << c.what;
        EXPECT_FALSE(QApplication::overrideCursor()) << c.what;
        Child(window.get(), "cmdLink")->click();
    }
    EXPECT_EQ(shell.opened, std::vector<std::string>(std::size(cases), update::HomePage()));
}

TEST_F(UpdateWindowTest, RedirectsAreFollowed) {
    server.Serve("/files/Kest2.ver", Reply{301, "", server.Base() + "/moved/Kest2.ver"});
    server.Serve("/moved/Kest2.ver", "NLV_VER 0.87.5");
    prompter.ExpectNotice("Kest update", ::testing::HasSubstr("Web release = 0.87.5"),
                          Icon::Information);
    auto window = Open();
    Child(window.get(), "cmdCheck")->click();
}

TEST_F(UpdateWindowTest, VersionThatIsNotThreeNumbersIsAnErrorInUpdate) {
    for (auto [body, message] :
         {std::pair{"0.87", "13\r\nType mismatch"}, std::pair{"1.2.3.4", "13\r\nType mismatch"},
          std::pair{"70000.1.1", "6\r\nOverflow"}}) {
        server.Serve("/files/Kest2.ver", std::string("NLV_VER ") + body);
        prompter.ExpectNotice("Error in update", message, Icon::Critical);
        auto window = Open();
        Child(window.get(), "cmdCheck")->click();
        prompter.VerifyDone();
        EXPECT_TRUE(Child(window.get(), "cmdCheck")->isEnabled()) << body;
    }
}

TEST_F(UpdateWindowTest, DownloadGivesTheInstructionsThenTheAddressOrTheError) {
    server.Serve("/files/Kest2.ver", "NLV_VER 0.88.0");
    server.Serve("/files/Kest2.nwz", "NLV_NWZ news");
    server.Serve("/files/Kest2.dlf", "NLV_DLF https://example.test/kest.deb\n");
    auto window = Open();
    Child(window.get(), "cmdCheck")->click();
    prompter.ExpectMessage("Instructions", ::testing::StartsWith("This feature will download"),
                           Icon::Information, Buttons::OKCancel, 1, Answer::OK);
    Child(window.get(), "cmdDown")->click();
    EXPECT_THAT(shell.requests, ::testing::ElementsAre("open https://example.test/kest.deb"));
    EXPECT_TRUE(Child(window.get(), "cmdDown")->isEnabled());

    server.Serve("/files/Kest2.dlf", Reply{404, ""});
    prompter.ExpectNotice("Error in download",
                          std::string("An error has occured. You must manually download the "
                                      "new\r\nversion of Kest at ") +
                              update::HomePage(),
                          Icon::Critical);
    Child(window.get(), "cmdDown")->click();
    EXPECT_TRUE(Child(window.get(), "cmdLink")->isVisible());
    EXPECT_TRUE(Child(window.get(), "cmdDown")->isEnabled());
}

}  // namespace
}  // namespace kest::test
