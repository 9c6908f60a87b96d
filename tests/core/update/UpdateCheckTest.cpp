// The update window's Check, Download and Link over a fake site.
#include <gmock/gmock.h>

#include "core/update/UpdateCheck.h"
#include "support/ScriptedPrompter.h"
#include "support/platform/FakeShell.h"
#include "support/update/FakeHttp.h"
#include "support/update/UpdateMessages.h"

namespace kest::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kBase = "http://127.0.0.1:9";

// The window as the commands leave it.
struct RecordingUpdateView : update::UpdateView {
    void SetCaption(const std::string& text) override { caption = text; }
    void SetBusyPointer(bool on) override { busy = on; }
    void EnableCheck(bool on) override { check = on; }
    void EnableDownload(bool on) override { download = on; }
    void ShowLink(bool on) override { link = on; }
    void SetNews(const std::string& text) override { news = text; }
    void ShowNews() override { grown = true; }
    void FocusDownload() override { focus = "cmdDown"; }
    void FocusCancel() override { focus = "cmdCancel"; }

    std::string caption, news, focus;
    bool busy = false, check = true, download = false, link = false, grown = false;
};

class UpdateCheckTest : public ::testing::Test {
  protected:
    void Publish(const char* file, const std::string& text) {
        http.bodies[std::string(kBase) + "/files/" + file] = text;
    }
    void Check() { update::CheckForUpdate(context, view); }

    FakeHttp http;
    ScriptedPrompter prompter;
    FakeShell shell;
    update::UpdateContext context{http, prompter, shell, kBase, {0, 87, 5}};
    RecordingUpdateView view;
};

TEST_F(UpdateCheckTest, NewerReleaseIsOfferedWithItsNews) {
    Publish("Kest2.ver", "NLV_VER 0.88.0\r\n");
    Publish("Kest2.nwz", "NLV_NWZ Faster scans.\r\nNew icons.\r\n");
    Check();
    EXPECT_EQ(view.caption, "Update available from v0.87.5 to v0.88.0");
    EXPECT_EQ(view.news, "Faster scans.\r\nNew icons.");
    EXPECT_TRUE(view.download);
    EXPECT_TRUE(view.grown);
    EXPECT_EQ(view.focus, "cmdDown");
    EXPECT_TRUE(view.check);
    EXPECT_FALSE(view.busy);
    EXPECT_FALSE(view.link);
}

TEST_F(UpdateCheckTest, NewsThatCannotBeHadStillLeavesTheDownload) {
    for (const char* news : {"NLV_VER wrong prefix", "", "   "}) {
        Publish("Kest2.ver", "nlv_ver 0.87.6");
        Publish("Kest2.nwz", news);
        view = {};
        Check();
        EXPECT_EQ(view.news, "Unable to get news for Kest.") << news;
        EXPECT_TRUE(view.download);
        EXPECT_TRUE(view.grown);
    }
}

TEST_F(UpdateCheckTest, EqualOrOlderReleaseSaysTheRunningOneIsTheLatest) {
    for (const char* web : {"0.87.5", "0.87.4", "0.9.9"}) {
        Publish("Kest2.ver", std::string("NLV_VER ") + web);
        prompter.ExpectNotice("Kest update",
                              std::string("Web release = ") + web +
                                  "\r\nYour release = 0.87.5\r\nYou have the latest release of "
                                  "Kest.",
                              Icon::Information);
        view = {};
        Check();
        prompter.VerifyDone();
        EXPECT_EQ(view.caption, "Update") << web;
        EXPECT_EQ(view.focus, "cmdCancel");
        EXPECT_FALSE(view.download);
        EXPECT_FALSE(view.grown);
        EXPECT_TRUE(view.check);
    }
}

TEST_F(UpdateCheckTest, UnreachableEmptyOrWronglyPrefixedVersionFailsTheCheck) {
    for (std::optional<std::string> answer :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>(" \r\n "), std::optional<std::string>("NLV_NWZ 9.9.9")}) {
        http.bodies.clear();
        if (answer) Publish("Kest2.ver", *answer);
        ExpectCheckFailed(prompter);
        view = {};
        Check();
        prompter.VerifyDone();
        EXPECT_TRUE(view.link);
        EXPECT_TRUE(view.check);
        EXPECT_FALSE(view.busy);
        EXPECT_FALSE(view.download);
    }
    EXPECT_EQ(http.asked.back(), std::string(kBase) + "/files/Kest2.ver");
}

TEST_F(UpdateCheckTest, VersionThatIsNotThreeNumbersIsReportedAndTheWindowStaysUsable) {
    for (auto [body, message] :
         {std::pair{"0.87", "13\r\nType mismatch"}, std::pair{"a.b.c", "13\r\nType mismatch"},
          std::pair{"1.2.3.4", "13\r\nType mismatch"}, std::pair{"99999.0.0", "6\r\nOverflow"}}) {
        Publish("Kest2.ver", std::string("NLV_VER ") + body);
        prompter.ExpectNotice("Error in update", message, Icon::Critical);
        view = {};
        Check();
        prompter.VerifyDone();
        EXPECT_TRUE(view.check) << body;
        EXPECT_FALSE(view.busy);
        EXPECT_FALSE(view.download);
    }
}

TEST_F(UpdateCheckTest, DownloadShowsTheInstructionsAndHandsTheAddressToTheDesktop) {
    Publish("Kest2.dlf", "NLV_DLF https://example.test/kest_0.88.0_amd64.deb\n");
    for (Answer answer : {Answer::Cancel, Answer::OK}) {
        prompter.ExpectMessage("Instructions",
                               "This feature will download the installer package\r\n"
                               "for the new version of Kest. After the download\r\n"
                               "is complete, please exit the current running version\r\n"
                               "of Kest before installing the new version.",
                               Icon::Information, Buttons::OKCancel, 1, answer);
        update::DownloadUpdate(context, view);
        prompter.VerifyDone();
        EXPECT_TRUE(view.download);
        EXPECT_FALSE(view.busy);
    }
    EXPECT_THAT(shell.requests,
                ::testing::ElementsAre("open https://example.test/kest_0.88.0_amd64.deb"));
}

TEST_F(UpdateCheckTest, DownloadWithoutTheAddressFileShowsTheLink) {
    for (const char* body : {"", "NLV_VER 1.0.0"}) {
        http.bodies.clear();
        if (*body) Publish("Kest2.dlf", body);
        prompter.ExpectNotice("Error in download",
                              std::string("An error has occured. You must manually download the "
                                          "new\r\nversion of Kest at ") +
                                  update::HomePage(),
                              Icon::Critical);
        view = {};
        update::DownloadUpdate(context, view);
        prompter.VerifyDone();
        EXPECT_TRUE(view.link);
        EXPECT_TRUE(view.download);
    }
    EXPECT_TRUE(shell.requests.empty());
}

TEST_F(UpdateCheckTest, LinkOpensTheAddressAndAFailingDesktopSaysSo) {
    update::OpenAddress(context, update::HomePage());
    EXPECT_THAT(shell.requests, ::testing::ElementsAre(std::string("open ") + update::HomePage()));
    shell.status = platform::ShellStatus::FileNotFound;
    prompter.ExpectNotice("Shell execute failed...", HasSubstr("mailto:"), Icon::Critical);
    update::OpenAddress(context, std::string("mailto:") + update::MakerEmail());
}

}  // namespace
}  // namespace kest::test
