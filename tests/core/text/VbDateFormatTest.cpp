#include <gtest/gtest.h>

#include "core/text/VbFormat.h"

namespace kest::text {
namespace {

struct DateCase {
    DateTime dt;
    const char* format;
    const char* expected;
};

void PrintTo(const DateCase& c, std::ostream* os) {
    *os << '"' << c.format << '"';
}

class FormatDateTable : public ::testing::TestWithParam<DateCase> {};

TEST_P(FormatDateTable, MatchesClassicFormat) {
    const DateCase& c = GetParam();
    EXPECT_EQ(FormatDate(c.dt, c.format), c.expected);
}

constexpr DateTime kAfternoon{1999, 9, 8, 14, 5, 7};  // a Wednesday
constexpr DateTime kMidnight{2001, 1, 1, 0, 0, 0};    // a Monday
constexpr DateTime kNoon{2001, 1, 1, 12, 30, 0};
constexpr DateTime kTimeOnly{1899, 12, 30, 9, 3, 4};

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatDateTable,
    ::testing::Values(
        // The formats the program itself uses.
        DateCase{kAfternoon, "mm/dd/yyyy hh:nn:ss", "09/08/1999 14:05:07"},
        DateCase{kAfternoon, "MM/DD/YY HH:NN:SS AMPM", "09/08/99 02:05:07 PM"},
        DateCase{kAfternoon, "mm/dd/yy hh:nn:ss AMPM", "09/08/99 02:05:07 PM"},
        DateCase{kAfternoon, "YYYYMMDDHHNNSS", "19990908140507"},
        DateCase{kAfternoon, "MMM DD, YYYY HH:NN:SS AM/PM", "Sep 08, 1999 02:05:07 PM"},
        DateCase{kAfternoon, "MMMM DD, YYYY HH:NN:SS AMPM", "September 08, 1999 02:05:07 PM"},
        DateCase{kAfternoon, "m/d/yy hh:nn:ss", "9/8/99 14:05:07"},
        DateCase{kMidnight, "mm/dd/yy hh:nn:ss AMPM", "01/01/01 12:00:00 AM"},
        DateCase{kNoon, "h:nn AM/PM", "12:30 PM"},
        // Each token.
        DateCase{kAfternoon, "d dd ddd dddd", "8 08 Wed Wednesday"},
        DateCase{kAfternoon, "ddddd", "9/8/1999"},
        DateCase{kAfternoon, "dddddd", "Wednesday, September 8, 1999"},
        DateCase{kAfternoon, "w ww q y", "4 37 3 251"}, DateCase{kMidnight, "w ww y", "2 1 1"},
        DateCase{DateTime{2000, 12, 31, 0, 0, 0}, "ww y", "54 366"},
        DateCase{kAfternoon, "m mm mmm mmmm", "9 09 Sep September"},
        DateCase{kAfternoon, "yy yyyy", "99 1999"},
        DateCase{kAfternoon, "h hh n nn s ss", "14 14 5 05 7 07"},
        DateCase{kAfternoon, "ttttt", "2:05:07 PM"},
        DateCase{kAfternoon, "c", "9/8/1999 2:05:07 PM"},
        // When "m" is a minute.
        DateCase{kAfternoon, "hh:mm", "14:05"}, DateCase{kAfternoon, "h m", "14 5"},
        DateCase{kAfternoon, "mm:ss", "05:07"}, DateCase{kAfternoon, "hh\"h\"mm", "14h05"},
        DateCase{kAfternoon, "mm/dd hh:mm:ss", "09/08 14:05:07"},
        DateCase{kAfternoon, "hh mmm", "14 Sep"}, DateCase{kAfternoon, "mm dd", "09 08"},
        DateCase{kAfternoon, "hh :mm:mm", "14 :05:09"},
        DateCase{kAfternoon, "hh:dd :mm", "14:08 :09"},
        DateCase{kAfternoon, "hh:nn :ss:mm", "14:05 :07:09"}, DateCase{kAfternoon, "yyy", "99251"},
        // AM/PM markers.
        DateCase{kAfternoon, "h AM/PM", "2 PM"}, DateCase{kAfternoon, "h am/pm", "2 pm"},
        DateCase{kAfternoon, "h A/P", "2 P"}, DateCase{kAfternoon, "h a/p", "2 p"},
        DateCase{kAfternoon, "h ampm", "2 PM"}, DateCase{kMidnight, "hh:nn am/pm", "12:00 am"},
        DateCase{kMidnight, "hh:nn", "00:00"},
        DateCase{DateTime{2001, 1, 1, 11, 59, 59}, "h:nn:ss AM/PM", "11:59:59 AM"},
        DateCase{DateTime{2001, 1, 1, 23, 0, 0}, "h A/P", "11 P"},
        // Literal text and named formats.
        DateCase{kAfternoon, "\"Day\" d \\d", "Day 8 d"},
        DateCase{kAfternoon, "yyyy-mm-dd", "1999-09-08"},
        DateCase{kAfternoon, "dd.mm.yyyy", "08.09.1999"},
        DateCase{kAfternoon, "General Date", "9/8/1999 2:05:07 PM"},
        DateCase{kMidnight, "General Date", "1/1/2001"},
        DateCase{kTimeOnly, "general date", "9:03:04 AM"}, DateCase{kTimeOnly, "", "9:03:04 AM"},
        DateCase{kAfternoon, "Long Date", "Wednesday, September 8, 1999"},
        DateCase{kAfternoon, "Medium Date", "08-Sep-99"},
        DateCase{kAfternoon, "Short Date", "9/8/1999"},
        DateCase{kAfternoon, "Long Time", "2:05:07 PM"},
        DateCase{kAfternoon, "Medium Time", "02:05 PM"},
        DateCase{kAfternoon, "Short Time", "14:05"}));

}  // namespace
}  // namespace kest::text
