#include "core/engine/JetLike.h"

#include <utf8proc.h>

#include <algorithm>
#include <type_traits>

namespace kest::engine {

namespace {

// Lower-cases an all-ASCII text into `out`; false (and `out` unusable) when
// the text holds any other byte.
bool LowerAscii(std::string_view text, std::string& out) {
    out.resize(text.size());
    unsigned char any = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        any |= c;
        out[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return any < 0x80;
}

}  // namespace

char32_t FoldCodePoint(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(c)));
}

void DecodeFolded(std::string_view text, std::vector<char32_t>& out) {
    out.clear();
    auto bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    utf8proc_ssize_t len = static_cast<utf8proc_ssize_t>(text.size());
    utf8proc_ssize_t i = 0;
    while (i < len) {
        if (bytes[i] < 0x80) {
            out.push_back(FoldCodePoint(bytes[i]));
            ++i;
            continue;
        }
        utf8proc_int32_t cp;
        utf8proc_ssize_t n = utf8proc_iterate(bytes + i, len - i, &cp);
        if (n <= 0) {
            out.push_back(0xFFFD);
            ++i;
        } else {
            out.push_back(FoldCodePoint(static_cast<char32_t>(cp)));
            i += n;
        }
    }
}

JetLikePattern::JetLikePattern(std::string_view pattern) {
    std::vector<char32_t> cps;
    DecodeFolded(pattern, cps);
    for (size_t i = 0; i < cps.size(); ++i) {
        char32_t c = cps[i];
        if (c == '*') {
            if (m_tokens.empty() || m_tokens.back().kind != Kind::Star) {
                m_tokens.push_back({Kind::Star});
            }
        } else if (c == '?') {
            m_tokens.push_back({Kind::AnyOne});
        } else if (c == '#') {
            m_tokens.push_back({Kind::Digit});
        } else if (c == '[') {
            size_t close = i + 1;
            while (close < cps.size() && cps[close] != ']') ++close;
            if (close >= cps.size()) {
                // An unclosed "[" matches itself.
                m_tokens.push_back({Kind::Literal, c});
                continue;
            }
            Token t{Kind::Set};
            size_t j = i + 1;
            if (j < close && cps[j] == '!') {
                t.negated = true;
                ++j;
            }
            t.setBegin = m_ranges.size();
            for (; j < close; ++j) {
                if (j + 2 < close && cps[j + 1] == '-') {
                    m_ranges.emplace_back(cps[j], cps[j + 2]);
                    j += 2;
                } else {
                    m_ranges.emplace_back(cps[j], cps[j]);
                }
            }
            t.setEnd = m_ranges.size();
            // "[]" matches nothing; Jet treats it as an empty string match.
            if (t.setBegin != t.setEnd || t.negated) m_tokens.push_back(t);
            i = close;
        } else {
            m_tokens.push_back({Kind::Literal, c});
        }
    }
    bool substring = m_tokens.size() >= 3 && m_tokens.front().kind == Kind::Star &&
                     m_tokens.back().kind == Kind::Star &&
                     std::all_of(m_tokens.begin() + 1, m_tokens.end() - 1, [](const Token& t) {
                         return t.kind == Kind::Literal && t.ch < 0x80;
                     });
    if (substring) {
        for (size_t i = 1; i + 1 < m_tokens.size(); ++i)
            m_substring += static_cast<char>(m_tokens[i].ch);
    }
}

bool JetLikePattern::MatchSet(const Token& t, char32_t c) const {
    bool in = false;
    for (size_t r = t.setBegin; r < t.setEnd && !in; ++r) {
        in = c >= m_ranges[r].first && c <= m_ranges[r].second;
    }
    return in != t.negated;
}

bool JetLikePattern::Matches(std::string_view subject) const {
    // Most names are ASCII, whose folding is a plain lower-casing: those are
    // matched as bytes, without decoding.
    thread_local std::string lowered;
    if (LowerAscii(subject, lowered)) {
        // Names are short: a first-character scan beats a general substring search.
        if (!m_substring.empty()) return lowered.find(m_substring) != std::string::npos;
        return MatchFolded(lowered);
    }
    thread_local std::vector<char32_t> text;
    DecodeFolded(subject, text);
    return MatchFolded(text);
}

template <class Text>
bool JetLikePattern::MatchFolded(const Text& folded) const {
    auto text = [&](size_t i) {
        if constexpr (std::is_same_v<Text, std::string>) {
            return static_cast<char32_t>(static_cast<unsigned char>(folded[i]));
        } else {
            return folded[i];
        }
    };
    // Greedy matching with one backtrack point: the last star seen.
    size_t ti = 0, pi = 0;
    size_t starP = SIZE_MAX, starT = 0;
    const size_t n = folded.size(), m = m_tokens.size();
    while (ti < n) {
        if (pi < m) {
            const Token& t = m_tokens[pi];
            bool ok = false;
            switch (t.kind) {
                case Kind::Star:
                    starP = pi++;
                    starT = ti;
                    continue;
                case Kind::Literal:
                    ok = text(ti) == t.ch;
                    break;
                case Kind::AnyOne:
                    ok = true;
                    break;
                case Kind::Digit:
                    ok = text(ti) >= '0' && text(ti) <= '9';
                    break;
                case Kind::Set:
                    ok = MatchSet(t, text(ti));
                    break;
            }
            if (ok) {
                ++pi;
                ++ti;
                continue;
            }
        }
        if (starP == SIZE_MAX) return false;
        pi = starP + 1;
        ti = ++starT;
    }
    while (pi < m && m_tokens[pi].kind == Kind::Star) ++pi;
    return pi == m;
}

}  // namespace kest::engine
