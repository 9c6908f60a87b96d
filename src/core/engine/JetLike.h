#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kest::engine {

// A Jet LIKE pattern, compiled once: "*" any run, "?" one character, "#" one
// digit, "[a-z]" and "[!a-z]" character lists. Matching ignores case,
// non-ASCII letters included (Unicode simple case folding).
class JetLikePattern {
  public:
    explicit JetLikePattern(std::string_view pattern);
    bool Matches(std::string_view subject) const;

  private:
    enum class Kind { Literal, AnyOne, Digit, Star, Set };
    struct Token {
        Kind kind;
        char32_t ch = 0;                  // Literal (folded)
        bool negated = false;             // Set
        size_t setBegin = 0, setEnd = 0;  // range into m_ranges
    };
    bool MatchSet(const Token& t, char32_t c) const;
    // Matches folded text: code points, or ASCII bytes already lower-cased.
    template <class Text>
    bool MatchFolded(const Text& text) const;

    std::vector<Token> m_tokens;
    std::vector<std::pair<char32_t, char32_t>> m_ranges;  // folded, inclusive
    // For "*text*" with ASCII text (the usual search): that text, lower-cased.
    std::string m_substring;
};

// Lower-case folding of one code point, and UTF-8 decoding into folded code
// points (invalid bytes decode as U+FFFD).
char32_t FoldCodePoint(char32_t c);
void DecodeFolded(std::string_view text, std::vector<char32_t>& out);

}  // namespace kest::engine
