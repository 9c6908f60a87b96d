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

// Wherever two prefixes decide, they order as the full comparison does;
// texts that share their first eight bytes, or differ first past a byte
// above ASCII, are left to it.
TEST(TextPrefix, DecidesOnlyAsTheFullComparisonWould) {
    const std::vector<std::string> texts = {
        "",
        "a",
        "A",
        "ab",
        "AB",
        "abc",
        "abcdefgh",
        "abcdefghi",
        "ABCDEFGHZ",
        "abcdefgZ",
        "ab\xC3\xA9",
        "ab\xC3\xA9z",
        "\xC3\xA9",
        "e",
        "f",
        "Zeta",
        "zeta1",
        "file10.dat",
        "file9.dat",
        "_x",
        "~",
        "\x7F",
        std::string("a\0b", 3),
        std::string("a\0", 2),
        "ab\xFF",
    };
    int decided = 0;
    for (bool folded : {true, false})
        for (const std::string& a : texts)
            for (const std::string& b : texts) {
                int order = 0;
                if (!ComparePrefixes(PrefixOf(a, folded), PrefixOf(b, folded), order)) continue;
                ++decided;
                int full = folded ? CompareText(a, b) : a.compare(b);
                EXPECT_EQ(order, Sign(full)) << a << " | " << b << " folded " << folded;
            }
    EXPECT_GT(decided, 500);
    int order = 0;
    EXPECT_FALSE(ComparePrefixes(PrefixOf("abcdefghijklmnop1", true),
                                 PrefixOf("ABCDEFGHIJKLMNOP2", true), order));
    EXPECT_FALSE(ComparePrefixes(PrefixOf("ab\xC3\xA9", true), PrefixOf("abz", true), order));
    // Short texts are held whole: equal ones need no second look.
    EXPECT_TRUE(ComparePrefixes(PrefixOf("dir12/", true), PrefixOf("DIR12/", true), order));
    EXPECT_EQ(order, 0);
    EXPECT_TRUE(
        ComparePrefixes(PrefixOf(std::string("a\0", 2), false), PrefixOf("a", false), order));
    EXPECT_EQ(order, 1);
}

}  // namespace
}  // namespace kest::text
