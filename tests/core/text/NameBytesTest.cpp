#include <gtest/gtest.h>

#include <set>

#include "core/text/CodePages.h"
#include "core/text/NameBytes.h"

namespace kest::text {
namespace {

std::string Escaped(std::string_view bytes) {
    std::string out;
    EscapeNameBytes(bytes, out);
    return out;
}

TEST(NameBytes, InvalidBytesAreEscapedReadablyAndComeBackExactly) {
    std::string out;
    EXPECT_FALSE(EscapeNameBytes("caf\xC3\xA9.txt", out));
    EXPECT_EQ(out, "caf\xC3\xA9.txt");
    EXPECT_TRUE(EscapeNameBytes("caf\xE9.txt", out));
    EXPECT_EQ(out, "caf\xEF\x9F\xA9.txt");  // U+F7E9
    EXPECT_TRUE(IsValidUtf8(out));
    EXPECT_TRUE(HasEscapedBytes(out));
    EXPECT_FALSE(HasEscapedBytes("caf\xC3\xA9.txt"));
    EXPECT_EQ(NameBytes(out), "caf\xE9.txt");
    EXPECT_EQ(ShownName(out), "caf\\xE9.txt");
    EXPECT_EQ(ShownName(Escaped("a\x80\xFF")), "a\\x80\\xFF");

    // Names that collided as U+FFFD stay apart, and every one comes back;
    // a valid name holding an escape's code point is escaped too.
    const std::vector<std::string> names = {
        "caf\xE9.txt",      "caf\xE8.txt",  "caf\xEF\xBF\xBD.txt", "caf\xEF\x9F\xA9.txt",
        "\xC3\x28",         "\xF0\x9F\x98", "\xF0\x9F\x98\x80",    "\xED\xA0\x80",
        "\xEF\x9E\x80\xE9", "plain"};
    std::set<std::string> stored;
    for (const std::string& name : names) {
        std::string text = Escaped(name);
        EXPECT_TRUE(IsValidUtf8(text)) << name;
        EXPECT_EQ(NameBytes(text), name);
        stored.insert(text);
    }
    EXPECT_EQ(stored.size(), names.size());
    EXPECT_EQ(Escaped("\xEF\x9F\xA9"), "\xEF\x9F\xAF\xEF\x9E\x9F\xEF\x9E\xA9");
}

}  // namespace
}  // namespace kest::text
