#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/text/AsciiCase.h"
#include "core/text/DecimalDigits.h"
#include "core/text/VbFormat.h"

namespace kest::text {
namespace {

enum class Kind { Literal, Zero, Hash, Point, Comma, Percent, Exponent };

struct Token {
    Kind kind;
    std::string text;  // literal text, or "E+"/"e-" as written
};

bool IsDigit(const Token& token) {
    return token.kind == Kind::Zero || token.kind == Kind::Hash;
}

// Splits at ";" outside quotes and escapes; four sections at most count.
std::vector<std::string_view> SplitSections(std::string_view format) {
    std::vector<std::string_view> sections;
    size_t start = 0;
    bool quoted = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '"') quoted = !quoted;
        if (!quoted && format[i] == '\\') ++i;
        if (!quoted && i < format.size() && format[i] == ';') {
            sections.push_back(format.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(format.substr(start));
    if (sections.size() > 4) sections.resize(4);
    return sections;
}

void AddLiteral(std::vector<Token>& tokens, std::string_view text) {
    if (!tokens.empty() && tokens.back().kind == Kind::Literal) {
        tokens.back().text += text;
    } else {
        tokens.push_back({Kind::Literal, std::string(text)});
    }
}

std::vector<Token> Tokenize(std::string_view section) {
    std::vector<Token> tokens;
    bool seenPoint = false, seenExponent = false;
    for (size_t i = 0; i < section.size(); ++i) {
        char c = section[i];
        if (c == '"') {
            size_t close = section.find('"', i + 1);
            if (close == std::string_view::npos) close = section.size();
            AddLiteral(tokens, section.substr(i + 1, close - i - 1));
            i = close;
        } else if (c == '\\') {
            if (i + 1 < section.size()) AddLiteral(tokens, section.substr(++i, 1));
        } else if (c == '0' || c == '#') {
            tokens.push_back({c == '0' ? Kind::Zero : Kind::Hash, {}});
        } else if (c == '.' && !seenPoint && !seenExponent) {
            seenPoint = true;
            tokens.push_back({Kind::Point, {}});
        } else if (c == ',') {
            tokens.push_back({Kind::Comma, {}});
        } else if (c == '%') {
            tokens.push_back({Kind::Percent, {}});
        } else if ((c == 'E' || c == 'e') && !seenExponent && i + 1 < section.size() &&
                   (section[i + 1] == '+' || section[i + 1] == '-')) {
            seenExponent = true;
            tokens.push_back({Kind::Exponent, std::string(section.substr(i, 2))});
            ++i;
        } else {
            AddLiteral(tokens, section.substr(i, 1));
        }
    }
    return tokens;
}

// Where the parts of a section lie in its tokens.
struct Layout {
    size_t integerEnd;   // the point, the exponent or the end
    size_t fractionEnd;  // the exponent or the end
    bool hasPoint = false, hasExponent = false, percent = false, grouping = false;
    bool exponentPlaces = false;  // digit places after the exponent mark
    int scale = 0;                // thousands to divide by
    int fractionDigits = 0, integerDigits = 0;
};

size_t Find(const std::vector<Token>& tokens, Kind kind) {
    auto it =
        std::find_if(tokens.begin(), tokens.end(), [&](const Token& t) { return t.kind == kind; });
    return static_cast<size_t>(it - tokens.begin());
}

// Places between the outermost "0" and the point always show a digit, so a
// "#" there counts as "0" ("000###" shows 1 as "000001").
void PadInnerPlaces(std::vector<Token>& tokens, size_t begin, size_t end, bool towardsEnd) {
    bool zeroSeen = false;
    for (size_t n = 0; n < end - begin; ++n) {
        Token& token = tokens[towardsEnd ? begin + n : end - 1 - n];
        if (token.kind == Kind::Zero) zeroSeen = true;
        if (token.kind == Kind::Hash && zeroSeen) token.kind = Kind::Zero;
    }
}

// Commas between two digit places group; commas right after the last integer
// place divide by a thousand each; any other comma is plain text.
void ClassifyCommas(std::vector<Token>& tokens, Layout& layout) {
    size_t lastDigit = tokens.size();
    for (size_t i = 0; i < layout.integerEnd; ++i) {
        if (IsDigit(tokens[i])) lastDigit = i;
    }
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Kind::Comma) continue;
        bool between =
            i > 0 && i + 1 < layout.integerEnd && IsDigit(tokens[i - 1]) && IsDigit(tokens[i + 1]);
        bool trailing = lastDigit < i && i < layout.integerEnd &&
                        std::all_of(tokens.begin() + static_cast<long>(lastDigit) + 1,
                                    tokens.begin() + static_cast<long>(i),
                                    [](const Token& t) { return t.kind == Kind::Comma; });
        if (between) layout.grouping = true;
        if (trailing) ++layout.scale;
        if (!between && !trailing) tokens[i] = {Kind::Literal, ","};
    }
}

Layout Analyze(std::vector<Token>& tokens) {
    Layout layout;
    layout.fractionEnd = Find(tokens, Kind::Exponent);
    layout.hasExponent = layout.fractionEnd < tokens.size();
    layout.hasPoint = Find(tokens, Kind::Point) < tokens.size();
    layout.integerEnd = std::min(Find(tokens, Kind::Point), layout.fractionEnd);
    auto digitsIn = [&](size_t begin, size_t end) {
        return static_cast<int>(std::count_if(tokens.begin() + static_cast<long>(begin),
                                              tokens.begin() + static_cast<long>(end), IsDigit));
    };
    bool anyDigit = std::any_of(tokens.begin(), tokens.end(), IsDigit);
    if (!layout.hasExponent && digitsIn(0, layout.integerEnd) == 0 &&
        (anyDigit || layout.hasPoint)) {
        // Digits before the point still show when the format has no place for them.
        tokens.insert(tokens.begin() + static_cast<long>(layout.integerEnd), {Kind::Hash, {}});
        ++layout.integerEnd;
        ++layout.fractionEnd;
    }
    PadInnerPlaces(tokens, 0, layout.integerEnd, true);
    PadInnerPlaces(tokens, layout.integerEnd, layout.fractionEnd, false);
    ClassifyCommas(tokens, layout);
    layout.percent = Find(tokens, Kind::Percent) < tokens.size();
    layout.integerDigits = digitsIn(0, layout.integerEnd);
    layout.fractionDigits = digitsIn(layout.integerEnd, layout.fractionEnd);
    layout.exponentPlaces = layout.hasExponent && digitsIn(layout.fractionEnd, tokens.size()) > 0;
    return layout;
}

// Fills digit places right to left; the leftmost place takes all digits left
// over, "0" places pad with zeros and "#" places show nothing.
std::string RenderDigitsRightToLeft(const std::vector<Token>& tokens, size_t begin, size_t end,
                                    std::string_view digits, bool grouping) {
    size_t firstDigit = end;
    for (size_t i = begin; i < end; ++i) {
        if (IsDigit(tokens[i])) {
            firstDigit = i;
            break;
        }
    }
    const std::string& separator = CurrentNumberLocale().thousands;
    std::string reversed;
    size_t remaining = digits.size();
    int emitted = 0;
    auto emit = [&](char digit) {
        if (grouping && emitted > 0 && emitted % 3 == 0) {
            reversed.append(separator.rbegin(), separator.rend());
        }
        reversed += digit;
        ++emitted;
    };
    for (size_t i = end; i-- > begin;) {
        const Token& token = tokens[i];
        if (token.kind == Kind::Literal) reversed.append(token.text.rbegin(), token.text.rend());
        if (token.kind == Kind::Percent) reversed += '%';
        if (!IsDigit(token)) continue;
        if (remaining > 0) {
            emit(digits[--remaining]);
        } else if (token.kind == Kind::Zero) {
            emit('0');
        }
        while (i == firstDigit && remaining > 0) emit(digits[--remaining]);
    }
    return {reversed.rbegin(), reversed.rend()};
}

// Fills digit places left to right; "#" places drop trailing zeros.
std::string RenderFraction(const std::vector<Token>& tokens, size_t begin, size_t end,
                           std::string_view digits) {
    size_t significant = digits.find_last_not_of('0');
    size_t next = 0;
    std::string out;
    for (size_t i = begin; i < end; ++i) {
        const Token& token = tokens[i];
        if (token.kind == Kind::Literal) out += token.text;
        if (token.kind == Kind::Percent) out += '%';
        if (!IsDigit(token)) continue;
        if (token.kind == Kind::Zero ||
            (significant != std::string_view::npos && next <= significant)) {
            out += digits[next];
        }
        ++next;
    }
    return out;
}

struct ParsedSection {
    std::vector<Token> tokens;
    Layout layout;
    // For "0" or "0.00...0": the number of decimals; -1 for any other section.
    int plainDecimals = -1;
};

// "0" and "0." followed by zeros only, the formats sizes are shown in.
int PlainDecimals(const std::vector<Token>& tokens, const Layout& layout) {
    if (tokens.empty() || tokens[0].kind != Kind::Zero || layout.integerEnd != 1) return -1;
    if (tokens.size() == 1) return 0;
    if (tokens[1].kind != Kind::Point) return -1;
    for (size_t i = 2; i < tokens.size(); ++i) {
        if (tokens[i].kind != Kind::Zero) return -1;
    }
    return static_cast<int>(tokens.size()) - 2;
}

// The same text RenderSection gives for a plain section, without its walk
// over the format's places.
std::string RenderPlain(double magnitude, int decimals) {
    DecimalDigits number = DecimalDigits::FromDouble(magnitude);
    number.Round(decimals);
    std::string out = number.IntegerPart();
    if (out.empty()) out = "0";
    if (decimals > 0)
        out.append(CurrentNumberLocale().decimal).append(number.FractionPart(decimals));
    return out;
}

ParsedSection ParseSection(std::string_view section) {
    ParsedSection parsed;
    parsed.tokens = Tokenize(section);
    parsed.layout = Analyze(parsed.tokens);
    parsed.plainDecimals = PlainDecimals(parsed.tokens, parsed.layout);
    return parsed;
}

std::string RenderSection(double magnitude, const ParsedSection& parsed) {
    if (parsed.plainDecimals >= 0) return RenderPlain(magnitude, parsed.plainDecimals);
    const std::vector<Token>& tokens = parsed.tokens;
    const Layout& layout = parsed.layout;
    if (layout.percent) magnitude *= 100;
    for (int i = 0; i < layout.scale; ++i) magnitude /= 1000;

    DecimalDigits number = DecimalDigits::FromDouble(magnitude);
    int exponent = 0;
    if (layout.hasExponent && !number.IsZero()) {
        int places = layout.integerDigits;
        exponent = number.point - places;
        number.point = places;
        number.Round(layout.fractionDigits);
        if (number.point > places) {
            --number.point;
            ++exponent;
        }
    } else {
        number.Round(layout.fractionDigits);
    }

    std::string out = RenderDigitsRightToLeft(tokens, 0, layout.integerEnd, number.IntegerPart(),
                                              layout.grouping);
    size_t fractionBegin = layout.integerEnd;
    if (layout.hasPoint && layout.integerEnd < layout.fractionEnd) {
        out += CurrentNumberLocale().decimal;
        ++fractionBegin;
    }
    out += RenderFraction(tokens, fractionBegin, layout.fractionEnd,
                          number.FractionPart(layout.fractionDigits));
    if (layout.hasExponent) {
        const std::string& mark = tokens[layout.fractionEnd].text;
        out += mark[0];
        if (exponent < 0) out += '-';
        if (exponent >= 0 && mark[1] == '+') out += '+';
        std::string digits = std::to_string(std::abs(exponent));
        // Without places of its own the exponent still shows, before any text.
        if (!layout.exponentPlaces) out += digits;
        if (exponent == 0 || !layout.exponentPlaces) digits.clear();
        out +=
            RenderDigitsRightToLeft(tokens, layout.fractionEnd + 1, tokens.size(), digits, false);
    }
    return out;
}

std::string_view NamedFormat(std::string_view format) {
    struct Named {
        std::string_view name;
        std::string_view format;
    };
    static constexpr Named kNamed[] = {
        {"Currency", "$#,##0.00;($#,##0.00)"},
        {"Fixed", "0.00"},
        {"Standard", "#,##0.00"},
        {"Percent", "0.00%"},
        {"Scientific", "0.00E+00"},
    };
    for (const Named& named : kNamed) {
        if (EqualsNoCase(format, named.name)) return named.format;
    }
    return format;
}

// A format read once for all the values it shows.
class CompiledFormat {
  public:
    explicit CompiledFormat(std::string_view format) : m_text(format) {
        if (format.empty() || EqualsNoCase(format, "General Number")) {
            m_kind = Kind::General;
        } else if (EqualsNoCase(format, "Yes/No")) {
            m_kind = Kind::YesNo;
        } else if (EqualsNoCase(format, "True/False")) {
            m_kind = Kind::TrueFalse;
        } else if (EqualsNoCase(format, "On/Off")) {
            m_kind = Kind::OnOff;
        } else {
            for (std::string_view section : SplitSections(NamedFormat(format))) {
                m_sections.push_back({!section.empty(), ParseSection(section)});
            }
        }
    }
    const std::string& Text() const { return m_text; }

    std::string Format(double value) const {
        switch (m_kind) {
            case Kind::General:
                return GeneralNumberText(value);
            case Kind::YesNo:
                return value != 0 ? "Yes" : "No";
            case Kind::TrueFalse:
                return value != 0 ? "True" : "False";
            case Kind::OnOff:
                return value != 0 ? "On" : "Off";
            case Kind::Sections:
                break;
        }
        // An empty section borrows the first one's format.
        auto usable = [&](size_t i) { return i < m_sections.size() && m_sections[i].given; };
        if (value < 0 && usable(1)) return RenderSection(-value, m_sections[1].parsed);
        if (value == 0 && usable(2)) return RenderSection(0, m_sections[2].parsed);
        std::string text = RenderSection(std::abs(value), m_sections[0].parsed);
        return value < 0 ? "-" + text : text;
    }

  private:
    enum class Kind { General, YesNo, TrueFalse, OnOff, Sections };
    struct Section {
        bool given;  // not empty
        ParsedSection parsed;
    };
    std::string m_text;
    Kind m_kind = Kind::Sections;
    std::vector<Section> m_sections;
};

}  // namespace

std::string FormatNumber(double value, std::string_view format) {
    // A statement formats every row with the same few formats: keep the last
    // one read instead of reading it again for each value.
    thread_local std::optional<CompiledFormat> last;
    if (!last || last->Text() != format) last.emplace(format);
    return last->Format(value);
}

}  // namespace kest::text
