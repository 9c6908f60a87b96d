#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/text/TextOrder.h"

namespace kest::text {
namespace {

int Sign(int c) {
    return (c > 0) - (c < 0);
}

TEST(CompareText, CaseIsIgnoredAndAccentsDecideOnlyBetweenEqualTexts) {
    struct Case {
        const char* a;
        const char* b;
        int order;
    };
    const Case cases[] = {
        {"abc", "ABC", 0},      // case alone: equal
        {"ab", "abc", -1},      // a prefix first
        {"e", "\xC3\xA9", -1},  // e before é
        {"\xC3\xA9"
         "a",
         "Eb", -1},  // the accent waits for the letters
        {"\xC3\x89"
         "A",
         "\xC3\xA9"
         "a",
         0},                     // ÉA and éa
        {"o", "\xC3\x96", -1},   // o before Ö
        {"\xC3\x96", "zz", -1},  // Ö with the o's
        {"stra\xC3\x9F"
         "e",
         "STRASSE", 0},     // ß folds to ss
        {"z", "\xFF", -1},  // invalid bytes after every letter
        {"_", "a", -1},     // ASCII keeps its order
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sign(CompareText(c.a, c.b)), c.order) << c.a << " / " << c.b;
        EXPECT_EQ(Sign(CompareText(c.b, c.a)), -c.order) << c.b << " / " << c.a;
    }
    std::vector<std::string> names = {"zz",
                                      "\xC3\x96",
                                      "\xC3\xA9"
                                      "a",
                                      "o",
                                      "Eb",
                                      "ea"};
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareText(a, b) < 0;
    });
    EXPECT_EQ(names, (std::vector<std::string>{"ea",
                                               "\xC3\xA9"
                                               "a",
                                               "Eb", "o", "\xC3\x96", "zz"}));
}

}  // namespace
}  // namespace kest::text
