// The donation window's links file.
#include <gmock/gmock.h>

#include "core/update/BuildInfo.h"
#include "core/update/DonationLinks.h"
#include "support/ScriptedPrompter.h"
#include "support/update/FakeHttp.h"

namespace kest::test {
namespace {

using update::DonationLink;
using update::DonationLinks;

const DonationLink kHome{update::SiteName(), update::HomePage()};

TEST(DonationLinks, PairsAfterThePrefixFillTheButtonsAsFarAsTheyGo) {
    struct Case {
        const char* text;
        std::optional<DonationLinks> links;
    } cases[] = {
        {"NLV_DON A http://a B http://b C http://c",
         DonationLinks{{{"A", "http://a"}, {"B", "http://b"}, {"C", "http://c"}}}},
        {"nlv_don A http://a", DonationLinks{{{"A", "http://a"}, kHome, kHome}}},
        {"NLV_DON A http://a B", DonationLinks{{{"A", "http://a"}, {"B", kHome.address}, kHome}}},
        {"NLV_DON A http://a B http://b C http://c D http://d",
         DonationLinks{{{"A", "http://a"}, {"B", "http://b"}, {"C", "http://c"}}}},
        {"NLV_DON", DonationLinks{{kHome, kHome, kHome}}},
        {"NLV_DONX A http://a", std::nullopt},
        {"NLV_VER A http://a", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(update::ParseDonationLinks(c.text), c.links) << c.text;
}

TEST(DonationLinks, AFailedFetchGivesNothingAndTheFailureIsReported) {
    for (std::optional<std::string> answer :
         {std::optional<std::string>(), std::optional<std::string>("  "),
          std::optional<std::string>("NLV_NWZ A http://a")}) {
        FakeHttp http;
        if (answer) http.bodies["http://s/files/Kest.don"] = *answer;
        EXPECT_EQ(update::FetchDonationLinks(http, "http://s"), std::nullopt);
    }
    ScriptedPrompter prompter;
    prompter.ExpectNotice(
        "Error in update",
        "Could not get the update for the links. Click on one of the\r\n"
        "links to go to the official Kest website and use the donation links listed there.",
        Icon::Critical);
    update::ReportLinksFailure(prompter);
}

TEST(DonationLinks, AFetchedFileGivesItsLinks) {
    FakeHttp http;
    http.bodies["http://s/files/Kest.don"] = "\r\n NLV_DON Pay http://pay\r\n";
    DonationLinks links = update::FetchDonationLinks(http, "http://s/").value();
    EXPECT_EQ(links[0], (DonationLink{"Pay", "http://pay"}));
    EXPECT_EQ(links[1], kHome);
    EXPECT_THAT(update::DonationText(),
                ::testing::HasSubstr("(You will need to be connected to the internet to reach the "
                                     "websites)\r\n\r\nPlease click on \"Get Links\" to get the "
                                     "selections. Thank You."));
}

}  // namespace
}  // namespace kest::test
