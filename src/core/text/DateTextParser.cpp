#include <cctype>
#include <vector>

#include "core/text/AsciiCase.h"
#include "core/text/Calendar.h"
#include "core/text/DateParse.h"

namespace kest::text {
namespace {

struct Piece {
    enum Kind { Number, Word, Colon } kind;
    std::string_view text;
    int value = 0;
};

// How forgiving the reading is: typed dates may swap day and month and leave
// out the year; SQL literals may not.
struct Leniency {
    bool swapDayMonth;
    bool currentYear;
};

std::optional<std::vector<Piece>> Lex(std::string_view text) {
    std::vector<Piece> pieces;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t start = i;
        if (std::isdigit(c)) {
            int value = 0;
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
                value = value * 10 + (text[i++] - '0');
            }
            if (i - start > 4) return std::nullopt;
            pieces.push_back({Piece::Number, text.substr(start, i - start), value});
        } else if (std::isalpha(c)) {
            while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) ++i;
            pieces.push_back({Piece::Word, text.substr(start, i - start), 0});
        } else if (c == ':') {
            pieces.push_back({Piece::Colon, text.substr(i++, 1), 0});
        } else if (c == ' ' || c == '\t' || c == '/' || c == '-' || c == '.' || c == ',') {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return pieces;
}

// 0 for "AM"/"A", 12 for "PM"/"P".
std::optional<int> Meridiem(const Piece& piece) {
    if (piece.kind != Piece::Word) return std::nullopt;
    if (EqualsNoCase(piece.text, "AM") || EqualsNoCase(piece.text, "A")) return 0;
    if (EqualsNoCase(piece.text, "PM") || EqualsNoCase(piece.text, "P")) return 12;
    return std::nullopt;
}

struct Time {
    int hour = 0, minute = 0, second = 0;
};

// Takes "h:n[:s] [AM|PM]" or "h AM|PM" out of the pieces.
std::optional<std::optional<Time>> TakeTime(std::vector<Piece>& pieces) {
    size_t begin = pieces.size();
    for (size_t i = 0; i + 1 < pieces.size(); ++i) {
        bool colonNext = pieces[i + 1].kind == Piece::Colon;
        if (pieces[i].kind == Piece::Number && (colonNext || Meridiem(pieces[i + 1]))) {
            begin = i;
            break;
        }
    }
    if (begin == pieces.size()) return std::optional<Time>();
    std::vector<int> parts{pieces[begin].value};
    size_t i = begin + 1;
    while (parts.size() < 3 && i + 1 < pieces.size() && pieces[i].kind == Piece::Colon &&
           pieces[i + 1].kind == Piece::Number) {
        parts.push_back(pieces[i + 1].value);
        i += 2;
    }
    if (i < pieces.size() && pieces[i].kind == Piece::Colon) return std::nullopt;
    std::optional<int> meridiem;
    if (i < pieces.size()) meridiem = Meridiem(pieces[i]);
    if (meridiem) ++i;
    pieces.erase(pieces.begin() + static_cast<long>(begin), pieces.begin() + static_cast<long>(i));

    parts.resize(3, 0);
    Time time{parts[0], parts[1], parts[2]};
    if (meridiem && time.hour <= 12) time.hour = time.hour % 12 + *meridiem;
    if (!IsValidTime(time.hour, time.minute, time.second)) return std::nullopt;
    return std::optional<Time>(time);
}

int WindowYear(const Piece& year) {
    if (year.text.size() > 2) return year.value;
    return year.value < 30 ? 2000 + year.value : 1900 + year.value;
}

bool LooksLikeYear(const Piece& piece) {
    return piece.text.size() > 2 || piece.value > 31;
}

std::optional<DateTime> ReadDate(const std::vector<Piece>& pieces, const Leniency& leniency) {
    std::vector<Piece> numbers;
    std::optional<int> month;
    for (const Piece& piece : pieces) {
        if (piece.kind == Piece::Number) {
            // Years have two or four digits; three digits are no date part.
            if (piece.text.size() == 3) return std::nullopt;
            numbers.push_back(piece);
        } else if (piece.kind == Piece::Word && !month) {
            month = MonthFromName(piece.text);
            if (!month) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    const int thisYear = FromTimeT(std::time(nullptr)).year;
    int year = 0, day = 0;
    if (month) {
        if (numbers.size() == 2) {
            bool yearFirst = numbers[0].text.size() > 2;
            day = numbers[yearFirst ? 1 : 0].value;
            year = WindowYear(numbers[yearFirst ? 0 : 1]);
        } else if (numbers.size() == 1 && LooksLikeYear(numbers[0])) {
            day = 1;
            year = WindowYear(numbers[0]);
        } else if (numbers.size() == 1 && leniency.currentYear) {
            day = numbers[0].value;
            year = thisYear;
        } else {
            return std::nullopt;
        }
    } else if (numbers.size() == 3) {
        bool yearFirst = numbers[0].text.size() > 2;
        year = WindowYear(numbers[yearFirst ? 0 : 2]);
        month = numbers[yearFirst ? 1 : 0].value;
        day = numbers[yearFirst ? 2 : 1].value;
    } else if (numbers.size() == 2 && LooksLikeYear(numbers[1])) {
        month = numbers[0].value;
        day = 1;
        year = WindowYear(numbers[1]);
    } else if (numbers.size() == 2 && leniency.currentYear) {
        month = numbers[0].value;
        day = numbers[1].value;
        year = thisYear;
    } else {
        return std::nullopt;
    }
    if (leniency.swapDayMonth && *month > 12 && day <= 12) std::swap(*month, day);
    if (!IsValidDate(year, *month, day)) return std::nullopt;
    return DateTime{year, *month, day, 0, 0, 0};
}

std::optional<DateTime> Parse(std::string_view text, const Leniency& leniency) {
    auto pieces = Lex(text);
    if (!pieces || pieces->empty()) return std::nullopt;
    auto time = TakeTime(*pieces);
    if (!time) return std::nullopt;
    DateTime dt;
    if (!pieces->empty()) {
        auto date = ReadDate(*pieces, leniency);
        if (!date) return std::nullopt;
        dt = *date;
    } else if (!*time) {
        return std::nullopt;
    }
    if (*time) {
        dt.hour = (*time)->hour;
        dt.minute = (*time)->minute;
        dt.second = (*time)->second;
    }
    return dt;
}

}  // namespace

std::optional<DateTime> ParseJetDateLiteral(std::string_view text) {
    return Parse(text, {.swapDayMonth = false, .currentYear = false});
}

std::optional<DateTime> ParseUserDate(std::string_view text) {
    return Parse(text, {.swapDayMonth = true, .currentYear = true});
}

}  // namespace kest::text
