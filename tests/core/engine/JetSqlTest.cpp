#include <gtest/gtest.h>

#include "core/common/KestError.h"
#include "core/engine/JetLike.h"
#include "core/engine/JetSql.h"

namespace kest::engine {
namespace {

TEST(JetSql, TranslatesEachDialectFeatureOutsideLiterals) {
    struct Case {
        const char* jet;
        const char* sqlite;
    } cases[] = {
        {"DELETE * FROM tblFiles WHERE KestId=3;", "DELETE FROM tblFiles WHERE KestId=3;"},
        {"delete  *  from t", "delete  from t"},
        {"SELECT * FROM t", "SELECT * FROM t"},
        {"WHERE d >= #9/18/99 2:32:21 PM#", "WHERE d >= '1999-09-18 14:32:21'"},
        {"WHERE d <= #1/5/29 0:00:00#", "WHERE d <= '2029-01-05 00:00:00'"},
        {"WHERE d <= #1/5/30 23:59:59#", "WHERE d <= '1930-01-05 23:59:59'"},
        {"FORMAT((x)/1024,'0.00')", "FORMAT((x)* 1.0 /1024,'0.00')"},
        {"'a/b#c*' & [Size (KB) ]", "'a/b#c*' || [Size (KB) ]"},
        {"x = \"O'Brien\"", "x = 'O''Brien'"},
        {"'it''s' /2", "'it''s' * 1.0 /2"},
        {"[Disc Serial # ]", "[Disc Serial # ]"},
    };
    for (const auto& c : cases) EXPECT_EQ(TranslateJetSql(c.jet), c.sqlite) << c.jet;
}

TEST(JetSql, UnreadableDateLiteralIsASyntaxError) {
    for (const char* bad : {"WHERE d = #13/45/99#", "WHERE d = #9/18/99"}) {
        try {
            TranslateJetSql(bad);
            ADD_FAILURE() << bad;
        } catch (const KestError& e) {
            EXPECT_EQ(e.Number(), err::kSyntaxError);
        }
    }
}

TEST(JetLike, WildcardsListsAndCaseFolding) {
    struct Case {
        const char* pattern;
        const char* subject;
        bool matches;
    } cases[] = {
        {"*abc*", "xxABCyy", true},
        {"*abc*", "ab", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"file#.txt", "FILE7.TXT", true},
        {"file#.txt", "filex.txt", false},
        {"[a-c]x", "Bx", true},
        {"[!a-c]x", "bx", false},
        {"[!a-c]x", "dx", true},
        {"*a*b", "aXbXb", true},
        {"*a*b", "aXbXc", false},
        {"*", "", true},
        {"", "", true},
        {"", "a", false},
        {"*ärg*", "ÄRGER.txt", true},
        {"ΣΟΦΊΑ", "σοφία", true},
        {"[*]x", "*x", true},
        {"[*]x", "ax", false},
        {"a[", "a[", true},
        {"*.zip", "photos.ZIP", true},
        {"*.zip", "photos.zip.bak", false},
        // ASCII names take a shorter road than others; folding must not care.
        {"*kel*", "\u212AELVIN.txt", true},
        {"*\u212Aite*", "KITES", true},
        {"*ab*", "x\u00C0aBy", true},
        {"*ab*", "x\u00C0a-By", false},
        {"*a?c*", "xxAbCxx", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JetLikePattern(c.pattern).Matches(c.subject), c.matches)
            << c.pattern << " ~ " << c.subject;
    }
}

TEST(JetLike, InvalidUtf8NeverMatchesAsciiByAccident) {
    EXPECT_TRUE(
        JetLikePattern("a?b").Matches("a\xff"
                                      "b"));
    EXPECT_FALSE(JetLikePattern("a\xc3").Matches("a"));
}

}  // namespace
}  // namespace kest::engine
