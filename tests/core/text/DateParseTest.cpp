#include <gtest/gtest.h>

#include "core/text/DateParse.h"

namespace kest::text {
namespace {

using Parser = std::optional<DateTime> (*)(std::string_view);

// Each text with the date the parser must give, written as ISO text.
void ExpectParses(Parser parse, std::initializer_list<std::pair<const char*, const char*>> cases) {
    for (const auto& [text, iso] : cases) {
        std::optional<DateTime> dt = parse(text);
        ASSERT_TRUE(dt) << '"' << text << '"';
        EXPECT_EQ(ToIso(*dt), iso) << '"' << text << '"';
    }
}

void ExpectRefuses(Parser parse, std::initializer_list<const char*> texts) {
    for (const char* text : texts) EXPECT_EQ(parse(text), std::nullopt) << '"' << text << '"';
}

TEST(IsoDate, ParsesOnlyWholeValidDates) {
    ExpectParses(ParseIsoDateTime, {{"1999-09-18 14:32:21", "1999-09-18 14:32:21"},
                                    {"2000-02-29", "2000-02-29 00:00:00"}});
    ExpectRefuses(ParseIsoDateTime,
                  {"2001-02-29", "1999-13-01", "1999-09-18 24:00:00", "1999-09-18 12:60:00",
                   "1999-9-18", "1999-09-18T14:32:21", "1999-09-18 14:32", ""});
}

TEST(IsoDate, RoundTrips) {
    DateTime dt{2024, 2, 29, 23, 59, 58};
    EXPECT_EQ(ToIso(dt), "2024-02-29 23:59:58");
    EXPECT_EQ(ParseIsoDateTime(ToIso(dt)), dt);
    EXPECT_EQ(ToIso(DateTime{}), "1899-12-30 00:00:00");
}

TEST(JetDateLiteral, ParsesUsAndIsoFormsWithTwoDigitYearWindow) {
    ExpectParses(ParseJetDateLiteral, {{"9/18/99 14:32:21", "1999-09-18 14:32:21"},
                                       {"1/2/29", "2029-01-02 00:00:00"},
                                       {"1/2/30", "1930-01-02 00:00:00"},
                                       {"1/2/00 12:00:00 AM", "2000-01-02 00:00:00"},
                                       {"1/2/2000 12:05 PM", "2000-01-02 12:05:00"},
                                       {"1/2/2000 1:05:09 pm", "2000-01-02 13:05:09"},
                                       {"2000-01-02 03:04:05", "2000-01-02 03:04:05"},
                                       {"14:32:00", "1899-12-30 14:32:00"}});
    ExpectRefuses(ParseJetDateLiteral, {"13/1/2000", "2/30/2001", "9/18", "9/18/99 25:00",
                                        "9/18/99 10:00:00:00", "", "hello", "9/18/99 #"});
}

TEST(UserDate, ParsesTheFormsUsersType) {
    ExpectParses(ParseUserDate, {{"9/18/99", "1999-09-18 00:00:00"},
                                 {"9/18/1999 14:32", "1999-09-18 14:32:00"},
                                 {"1999-09-18 2:32:21 PM", "1999-09-18 14:32:21"},
                                 {"September 18, 1999 2:32:21 PM", "1999-09-18 14:32:21"},
                                 {"Sep 18 1999", "1999-09-18 00:00:00"},
                                 {"18 september 1999", "1999-09-18 00:00:00"},
                                 {"  9-18-1999  ", "1999-09-18 00:00:00"},
                                 {"18/9/1999", "1999-09-18 00:00:00"},
                                 {"September 1999", "1999-09-01 00:00:00"},
                                 {"12:00 AM", "1899-12-30 00:00:00"}});
    ExpectRefuses(ParseUserDate, {"2/30/2001", "13/13/2001", "Smarch 18 1999", "18", "1/2/3/4",
                                  "1,234", "1/1/999", ""});
    int thisYear = FromTimeT(std::time(nullptr)).year;  // a missing year is this year
    EXPECT_EQ(ParseUserDate("3/4"), (DateTime{thisYear, 3, 4, 0, 0, 0}));
    EXPECT_EQ(ParseUserDate("Mar 4"), (DateTime{thisYear, 3, 4, 0, 0, 0}));
}

TEST(NumberText, ParsesSignsSeparatorsAndExponents) {
    struct Number {
        const char* text;
        double value;
    };
    for (const Number& n : {Number{"42", 42}, Number{" -1.5 ", -1.5}, Number{"+7", 7},
                            Number{"1,234,567.5", 1234567.5}, Number{".5", 0.5}, Number{"5.", 5},
                            Number{"1e3", 1000}, Number{"2.5E-2", 0.025}}) {
        EXPECT_EQ(ParseNumberText(n.text), n.value) << '"' << n.text << '"';
        EXPECT_TRUE(IsNumericText(n.text)) << '"' << n.text << '"';
    }
    for (const char* text : {"", "  ", "-", ".", ",5", "1.2.3", "1e", "12abc", "1 2"}) {
        EXPECT_EQ(ParseNumberText(text), std::nullopt) << '"' << text << '"';
        EXPECT_FALSE(IsNumericText(text)) << '"' << text << '"';
    }
    SetNumberLocale({",", "."});
    EXPECT_EQ(ParseNumberText("1.234,5"), 1234.5);
    EXPECT_FALSE(ParseNumberText("1,2,3"));
    SetNumberLocale({});
}

TEST(LocalTime, RoundTripsThroughUnixTime) {
    DateTime dt{2003, 7, 14, 9, 8, 7};
    EXPECT_EQ(FromTimeT(ToTimeT(dt)), dt);
    EXPECT_EQ(DateText(dt), "07/14/2003 09:08:07");
}

}  // namespace
}  // namespace kest::text
