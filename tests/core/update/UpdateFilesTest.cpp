// The fetch rule, the prefixes, the release numbers and the base address.
#include <gmock/gmock.h>

#include <cstdlib>

#include "core/common/KestError.h"
#include "core/update/UpdateFiles.h"
#include "support/update/FakeHttp.h"

namespace kest::test {
namespace {

using update::Release;

TEST(UpdateFetch, TrimsTheAnswerAndFailsOnErrorsAndOnNothingLeft) {
    struct Case {
        std::optional<std::string> answer;
        std::optional<std::string> fetched;
    } cases[] = {
        {std::nullopt, std::nullopt},  // 404, 500, no connection, time limit
        {"", std::nullopt},
        {"   \r\n\t ", std::nullopt},
        {"  NLV_VER 1.2.3\r\n", "NLV_VER 1.2.3"},
        {"x", "x"},
    };
    for (const Case& c : cases) {
        FakeHttp http;
        if (c.answer) http.bodies["http://h/f"] = *c.answer;
        EXPECT_EQ(update::Fetch(http, "http://h/f"), c.fetched) << c.answer.value_or("(error)");
    }
}

TEST(UpdateFetch, PrefixIsTheFirstSevenCharactersInAnyCaseAndTheBodyStartsAtTheNinth) {
    struct Case {
        const char* text;
        std::optional<std::string> body;
    } cases[] = {
        {"NLV_VER 0.87.5", "0.87.5"},      {"nlv_ver 0.87.5", "0.87.5"},
        {"Nlv_Ver:0.87.5", "0.87.5"},      {"NLV_VER", ""},
        {"NLV_VE", std::nullopt},          {"NLV_NWZ 0.87.5", std::nullopt},
        {"XNLV_VER 0.87.5", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(update::BodyAfterPrefix(c.text, "NLV_VER"), c.body) << c.text;
}

TEST(UpdateFetch, FilesLiveUnderFilesOfTheBaseAddress) {
    EXPECT_EQ(update::FileAddress("http://127.0.0.1:8080", update::kVersionFile),
              "http://127.0.0.1:8080/files/Kest2.ver");
    EXPECT_EQ(update::FileAddress("https://site/", update::kLinksFile),
              "https://site/files/Kest.don");
    FakeHttp http;
    http.bodies["http://s/files/Kest2.nwz"] = "nlv_nwz News\r\nsecond line\r\n";
    EXPECT_EQ(update::FetchBody(http, "http://s", update::kNewsFile), "News\r\nsecond line");
    EXPECT_EQ(update::FetchBody(http, "http://s", update::kDownloadFile), std::nullopt);
}

TEST(UpdateRelease, ReadsThreeNumbers) {
    EXPECT_EQ(update::ParseRelease("0.87.5"), (Release{0, 87, 5}));
    EXPECT_EQ(update::ParseRelease("1.02.003"), (Release{1, 2, 3}));
    EXPECT_EQ(update::ParseRelease("32767.0.0"), (Release{32767, 0, 0}));
    EXPECT_EQ(update::ReleaseText({1, 2, 3}), "1.2.3");
}

TEST(UpdateRelease, AnythingButThreeNumbersIsAnError) {
    struct Case {
        const char* text;
        long number;
    } cases[] = {
        {"0.87", err::kConversion},
        {"a.b.c", err::kConversion},
        {"1.2.3.4", err::kConversion},
        {"", err::kConversion},
        {"1..3", err::kConversion},
        {"-1.2.3", err::kConversion},
        {"1.2.3beta", err::kConversion},
        {"32768.0.0", err::kOverflow},
        {"1.2.99999999999999999999999", err::kOverflow},
    };
    for (const Case& c : cases) {
        try {
            update::ParseRelease(c.text);
            ADD_FAILURE() << c.text << " was read";
        } catch (const KestError& e) {
            EXPECT_EQ(e.Number(), c.number) << c.text;
        }
    }
}

TEST(UpdateRelease, NewerIsLexicographicAndEqualIsNotNewer) {
    struct Case {
        Release web, current;
        bool newer;
    } cases[] = {
        {{0, 87, 5}, {0, 87, 5}, false}, {{0, 87, 5}, {0, 87, 4}, true},
        {{0, 87, 4}, {0, 87, 5}, false}, {{1, 0, 0}, {0, 99, 99}, true},
        {{0, 88, 0}, {0, 87, 9}, true},  {{0, 86, 9}, {0, 87, 0}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(update::IsNewer(c.web, c.current), c.newer)
            << update::ReleaseText(c.web) << " vs " << update::ReleaseText(c.current);
}

TEST(UpdateAddress, TheEnvironmentOverridesTheBuildAddress) {
    const char* before = std::getenv("KEST_UPDATE_URL");
    std::string saved = before ? before : "";
    ::unsetenv("KEST_UPDATE_URL");
    std::string built = update::UpdateBaseAddress();
    EXPECT_THAT(built, ::testing::StartsWith("http"));
    ::setenv("KEST_UPDATE_URL", "", 1);
    EXPECT_EQ(update::UpdateBaseAddress(), built);
    ::setenv("KEST_UPDATE_URL", "http://127.0.0.1:1", 1);
    EXPECT_EQ(update::UpdateBaseAddress(), "http://127.0.0.1:1");
    if (before)
        ::setenv("KEST_UPDATE_URL", saved.c_str(), 1);
    else
        ::unsetenv("KEST_UPDATE_URL");
}

}  // namespace
}  // namespace kest::test
