// The help window's texts agree with the program they describe.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "core/update/InfoTexts.h"

namespace kest::update {
namespace {

std::string Topic(const std::string& title) {
    for (const HelpTopic& topic : HelpTopics())
        if (topic.title == title) return topic.text;
    ADD_FAILURE() << "no topic " << title;
    return {};
}

TEST(HelpTexts, EveryErrorNumberNamedIsOneTheProgramRaises) {
    std::ifstream header(std::string(KEST_SOURCE_DIR) + "/src/core/common/KestError.h");
    std::stringstream source;
    source << header.rdbuf();
    std::set<long> known;
    const std::string text = source.str();
    std::regex constant(R"(constexpr long k\w+ = (-?\d+);)");
    for (std::sregex_iterator it(text.begin(), text.end(), constant), end; it != end; ++it)
        known.insert(std::stol((*it)[1]));
    ASSERT_GT(known.size(), 20u);
    std::istringstream lines(Topic("Errors"));
    std::regex entry(R"(^ *(\d+) {2,}\S)");
    int named = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch number;
        if (!std::regex_search(line, number, entry)) continue;
        ++named;
        EXPECT_TRUE(known.count(std::stol(number[1]))) << line;
    }
    EXPECT_GT(named, 10);
}

TEST(HelpTexts, SizesFollowTheSizeUnitAndEveryOptionsTabIsDescribed) {
    std::string advanced = Topic("Advanced Search");
    EXPECT_NE(advanced.find("size unit of\n         Options, Results"), std::string::npos);
    std::string options = Topic("Options");
    for (const char* tab :
         {"\nResults ", "\nGeneral ", "\nSecurity ", "\nSearch ", "\nCompressed Files ", "\nMisc "})
        EXPECT_NE(options.find(tab), std::string::npos) << tab;
    // Where the options really are: the default drive on General, the used
    // space on Misc.
    EXPECT_LT(options.find("default drive"), options.find("\nSecurity "));
    EXPECT_GT(options.find("Include Used Space"), options.find("\nMisc "));
}

}  // namespace
}  // namespace kest::update
