#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/text/AsciiCase.h"
#include "core/text/Calendar.h"
#include "core/text/VbFormat.h"

namespace kest::text {
namespace {

// The user's date and time conventions (English, US order).
constexpr std::string_view kShortDate = "m/d/yyyy";
constexpr std::string_view kLongDate = "dddd, mmmm d, yyyy";
constexpr std::string_view kLongTime = "h:nn:ss AMPM";
constexpr std::string_view kAm = "AM";
constexpr std::string_view kPm = "PM";

enum class Kind {
    Literal,
    Day,         // count 1..6
    Weekday,     // w
    Week,        // ww
    Month,       // count 1..4; 1..2 may turn into minutes
    Minute,      // count 1..2
    Second,      // count 1..2
    Hour,        // count 1..2
    Quarter,     // q
    DayOfYear,   // y
    Year,        // count 2 or 4
    AmPm,        // text holds "am/pm" texts as written, split at '/'
    LocaleAmPm,  // AMPM
    General,     // c
    LongTime,    // ttttt
};

struct Token {
    Kind kind;
    int count = 1;
    std::string text;  // literal text, or the AM and PM texts
    std::string pmText;
};

size_t RunLength(std::string_view format, size_t pos) {
    size_t end = pos;
    while (end < format.size() && AsciiLower(format[end]) == AsciiLower(format[pos])) ++end;
    return end - pos;
}

void AddLiteral(std::vector<Token>& tokens, std::string_view text) {
    if (!tokens.empty() && tokens.back().kind == Kind::Literal) {
        tokens.back().text += text;
    } else {
        tokens.push_back({Kind::Literal, 1, std::string(text), {}});
    }
}

std::vector<Token> Tokenize(std::string_view format) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < format.size()) {
        char c = format[i];
        char lc = AsciiLower(c);
        size_t run = RunLength(format, i);
        if (c == '"') {
            size_t close = format.find('"', i + 1);
            if (close == std::string_view::npos) close = format.size();
            AddLiteral(tokens, format.substr(i + 1, close - i - 1));
            i = close + 1;
        } else if (c == '\\') {
            if (i + 1 < format.size()) AddLiteral(tokens, format.substr(i + 1, 1));
            i += 2;
        } else if (lc == 'd') {
            int count = static_cast<int>(std::min<size_t>(run, 6));
            tokens.push_back({Kind::Day, count, {}, {}});
            i += static_cast<size_t>(count);
        } else if (lc == 'w') {
            int count = static_cast<int>(std::min<size_t>(run, 2));
            tokens.push_back({count == 2 ? Kind::Week : Kind::Weekday, 1, {}, {}});
            i += static_cast<size_t>(count);
        } else if (lc == 'm' || lc == 'n' || lc == 's' || lc == 'h') {
            size_t limit = lc == 'm' ? 4 : 2;
            int count = static_cast<int>(std::min(run, limit));
            Kind kind = lc == 'm'   ? Kind::Month
                        : lc == 'n' ? Kind::Minute
                        : lc == 's' ? Kind::Second
                                    : Kind::Hour;
            tokens.push_back({kind, count, {}, {}});
            i += static_cast<size_t>(count);
        } else if (lc == 'q') {
            tokens.push_back({Kind::Quarter, 1, {}, {}});
            ++i;
        } else if (lc == 'y') {
            int count = run >= 4 ? 4 : run >= 2 ? 2 : 1;
            tokens.push_back({count == 1 ? Kind::DayOfYear : Kind::Year, count, {}, {}});
            i += static_cast<size_t>(count);
        } else if (lc == 'c') {
            tokens.push_back({Kind::General, 1, {}, {}});
            ++i;
        } else if (lc == 't' && run >= 5) {
            tokens.push_back({Kind::LongTime, 1, {}, {}});
            i += 5;
        } else if (HasWordAt(format, i, "am/pm")) {
            tokens.push_back({Kind::AmPm, 1, std::string(format.substr(i, 2)),
                              std::string(format.substr(i + 3, 2))});
            i += 5;
        } else if (HasWordAt(format, i, "a/p")) {
            tokens.push_back({Kind::AmPm, 1, std::string(format.substr(i, 1)),
                              std::string(format.substr(i + 2, 1))});
            i += 3;
        } else if (HasWordAt(format, i, "ampm")) {
            tokens.push_back({Kind::LocaleAmPm, 1, {}, {}});
            i += 4;
        } else {
            AddLiteral(tokens, format.substr(i, 1));
            ++i;
        }
    }
    return tokens;
}

// "m" and "mm" right after an hour or right before a second (literals between
// do not count) stand for minutes.
void ResolveMinutes(std::vector<Token>& tokens) {
    auto neighbour = [&](size_t i, int step) -> const Token* {
        for (long j = static_cast<long>(i) + step; j >= 0 && j < static_cast<long>(tokens.size());
             j += step) {
            const Token& token = tokens[static_cast<size_t>(j)];
            if (token.kind != Kind::Literal) return &token;
        }
        return nullptr;
    };
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Kind::Month || tokens[i].count > 2) continue;
        const Token* before = neighbour(i, -1);
        const Token* after = neighbour(i, +1);
        if ((before && before->kind == Kind::Hour) || (after && after->kind == Kind::Second)) {
            tokens[i].kind = Kind::Minute;
        }
    }
}

void AppendNumber(std::string& out, int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width)
        out.append(static_cast<size_t>(width) - digits.size(), '0');
    out += digits;
}

std::string Render(const DateTime& dt, const std::vector<Token>& tokens);

// A statement formats every row with the same few date formats: the last
// ones read are kept. Shared so a format still being rendered (a "c" or
// "ddddd" token renders a named format inside) outlives its eviction.
std::shared_ptr<const std::vector<Token>> ParsedFormat(std::string_view format) {
    struct Entry {
        std::string text;
        std::shared_ptr<const std::vector<Token>> tokens;
    };
    thread_local std::array<Entry, 4> cache;
    thread_local size_t next = 0;
    for (const Entry& entry : cache) {
        if (entry.tokens && entry.text == format) return entry.tokens;
    }
    std::vector<Token> tokens = Tokenize(format);
    ResolveMinutes(tokens);
    Entry& entry = cache[next];
    next = (next + 1) % cache.size();
    entry.text = std::string(format);
    entry.tokens = std::make_shared<const std::vector<Token>>(std::move(tokens));
    return entry.tokens;
}

std::string RenderFormat(const DateTime& dt, std::string_view format) {
    auto tokens = ParsedFormat(format);
    return Render(dt, *tokens);
}

std::string GeneralDate(const DateTime& dt) {
    if (HasNoDate(dt)) return RenderFormat(dt, kLongTime);
    if (HasNoTime(dt)) return RenderFormat(dt, kShortDate);
    return RenderFormat(dt, kShortDate) + " " + RenderFormat(dt, kLongTime);
}

std::string Render(const DateTime& dt, const std::vector<Token>& tokens) {
    bool twelveHour = false;
    for (const Token& token : tokens) {
        if (token.kind == Kind::AmPm || token.kind == Kind::LocaleAmPm) twelveHour = true;
    }
    const bool morning = dt.hour < 12;
    std::string out;
    for (const Token& token : tokens) {
        switch (token.kind) {
            case Kind::Literal:
                out += token.text;
                break;
            case Kind::Day:
                if (token.count <= 2) AppendNumber(out, dt.day, token.count);
                if (token.count == 3) out += DayName(DayOfWeek(dt)).substr(0, 3);
                if (token.count == 4) out += DayName(DayOfWeek(dt));
                if (token.count == 5) out += RenderFormat(dt, kShortDate);
                if (token.count == 6) out += RenderFormat(dt, kLongDate);
                break;
            case Kind::Weekday:
                AppendNumber(out, DayOfWeek(dt), 1);
                break;
            case Kind::Week: {
                // Weeks start on Sunday; week 1 holds January 1st.
                DateTime newYear{dt.year, 1, 1, 0, 0, 0};
                AppendNumber(out, (DayOfYear(dt) + DayOfWeek(newYear) - 2) / 7 + 1, 1);
                break;
            }
            case Kind::Month:
                if (token.count <= 2) AppendNumber(out, dt.month, token.count);
                if (token.count == 3) out += MonthName(dt.month).substr(0, 3);
                if (token.count == 4) out += MonthName(dt.month);
                break;
            case Kind::Minute:
                AppendNumber(out, dt.minute, token.count);
                break;
            case Kind::Second:
                AppendNumber(out, dt.second, token.count);
                break;
            case Kind::Hour: {
                int hour = dt.hour;
                if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
                AppendNumber(out, hour, token.count);
                break;
            }
            case Kind::Quarter:
                AppendNumber(out, (dt.month - 1) / 3 + 1, 1);
                break;
            case Kind::DayOfYear:
                AppendNumber(out, DayOfYear(dt), 1);
                break;
            case Kind::Year:
                if (token.count == 2) AppendNumber(out, dt.year % 100, 2);
                if (token.count == 4) AppendNumber(out, dt.year, 1);
                break;
            case Kind::AmPm:
                out += morning ? token.text : token.pmText;
                break;
            case Kind::LocaleAmPm:
                out += morning ? kAm : kPm;
                break;
            case Kind::General:
                out += GeneralDate(dt);
                break;
            case Kind::LongTime:
                out += RenderFormat(dt, kLongTime);
                break;
        }
    }
    return out;
}

}  // namespace

std::string FormatDate(const DateTime& dt, std::string_view format) {
    struct Named {
        std::string_view name;  // lower case
        std::string_view format;
    };
    static constexpr Named kNamed[] = {
        {"long date", kLongDate}, {"medium date", "dd-mmm-yy"},  {"short date", kShortDate},
        {"long time", kLongTime}, {"medium time", "hh:nn AMPM"}, {"short time", "hh:nn"},
    };
    if (format.empty() || EqualsNoCase(format, "general date")) return GeneralDate(dt);
    for (const Named& named : kNamed) {
        if (EqualsNoCase(format, named.name)) return RenderFormat(dt, named.format);
    }
    return RenderFormat(dt, format);
}

}  // namespace kest::text
