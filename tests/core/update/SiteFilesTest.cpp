// The files a release publishes read back through the program's own rules.
#include <gmock/gmock.h>

#include <fstream>
#include <sstream>

#include "core/update/DonationLinks.h"
#include "core/update/UpdateFiles.h"
#include "support/update/FakeHttp.h"

namespace kest::test {
namespace {

std::string SiteFile(const char* name) {
    std::ifstream in(std::string(KEST_SOURCE_DIR) + "/site/files/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SiteFiles, PublishTheVersionOfThisBuildAndReadableNewsDownloadAndLinks) {
    FakeHttp http;
    for (const char* name : {"Kest2.ver", "Kest2.nwz", "Kest2.dlf", "Kest.don"})
        http.bodies[std::string("http://site/files/") + name] = SiteFile(name);

    auto version = update::FetchBody(http, "http://site", update::kVersionFile);
    ASSERT_TRUE(version);
    EXPECT_EQ(update::ParseRelease(*version), update::ProgramRelease());
    auto news = update::FetchBody(http, "http://site", update::kNewsFile);
    ASSERT_TRUE(news);
    EXPECT_THAT(*news, ::testing::HasSubstr(update::ReleaseText(update::ProgramRelease())));
    auto download = update::FetchBody(http, "http://site", update::kDownloadFile);
    ASSERT_TRUE(download);
    EXPECT_THAT(*download, ::testing::StartsWith("https://"));
    auto links = update::ParseDonationLinks(*update::Fetch(http, "http://site/files/Kest.don"));
    ASSERT_TRUE(links);
    for (const auto& link : *links) EXPECT_THAT(link.address, ::testing::StartsWith("https://"));
}

}  // namespace
}  // namespace kest::test
