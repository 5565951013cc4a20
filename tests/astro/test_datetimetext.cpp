// The date-time text: the accepted and refused shapes and ranges, and the sentinel.

#include "astro/datetimetext.h"

#include "astro/calendar.h"
#include "astro/constants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vespario {
namespace {

struct DateTimeRow {
    const char *text;
    double jd; // kInvalidJulianDate: refused
};

class ParseDateTimeTable : public ::testing::TestWithParam<DateTimeRow> {};

TEST_P(ParseDateTimeTable, GivesJulianDateOrSentinel) {
    const DateTimeRow &row = GetParam();
    if (row.jd == kInvalidJulianDate)
        EXPECT_EQ(ParseDateTime(row.text), row.jd) << row.text;
    else
        EXPECT_NEAR(ParseDateTime(row.text), row.jd, 1e-9) << row.text;
}

const double kInvalid = kInvalidJulianDate;

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDateTimeTable,
    ::testing::Values(
        DateTimeRow{"2000/01/01 12:00:00", 2451545.0},
        DateTimeRow{"2000/01/01 12:00:00 and more", 2451545.0},
        DateTimeRow{"2000/02/30 12:00:00", 2451605.0}, // runs on to 1 March, noon
        DateTimeRow{"1999/12/31 24:00:00", 2451544.5}, // upper bounds included
        DateTimeRow{"1999/12/31 23:60:60", 2451544.5 + 60.0 / 86400.0},
        DateTimeRow{"2000/00/01 12:00:00", kInvalid}, // month 0
        DateTimeRow{"2000/13/01 12:00:00", kInvalid},
        DateTimeRow{"2000/01/00 12:00:00", kInvalid}, // day 0
        DateTimeRow{"2000/01/32 12:00:00", kInvalid}, DateTimeRow{"2000/01/01 25:00:00", kInvalid},
        DateTimeRow{"2000/01/01 12:61:00", kInvalid}, DateTimeRow{"2000/01/01 12:00:61", kInvalid},
        DateTimeRow{"2000/01/01 12:00:0", kInvalid},  // 18 characters
        DateTimeRow{"2000-01-01 12:00:00", kInvalid}, // wrong separators
        DateTimeRow{"2000/01/01T12:00:00", kInvalid}, DateTimeRow{"2000/01/01 12.00:00", kInvalid},
        DateTimeRow{"20x0/01/01 12:00:00", kInvalid}, // not a number in its place
        DateTimeRow{"2000/0a/01 12:00:00", kInvalid}, DateTimeRow{"2000/01/01 12:00:+-", kInvalid},
        DateTimeRow{"", kInvalid}, DateTimeRow{"/", kInvalid}));

TEST(ParseDateTime, ReadsOnlyInsideTheView) {
    // A view that ends one character short of a valid text must be refused, whatever the
    // memory after it holds.
    const std::string text = "2000/01/01 12:00:00";
    EXPECT_EQ(ParseDateTime(std::string_view(text).substr(0, 18)), kInvalidJulianDate);
    EXPECT_EQ(ParseDateTime(std::string_view(text).substr(0, 4)), kInvalidJulianDate);
}

TEST(FormatDateTime, PrintsTheCalendarDate) {
    EXPECT_EQ(FormatDateTime(2451545.0), "2000/01/01 12:00:00");
    EXPECT_EQ(FormatDateTime(JulianDate(1582, 10, 15, 1, 2, 3)), "1582/10/15 01:02:03");
    EXPECT_EQ(FormatDateTime(ParseDateTime("2000/02/30 12:00:00")), "2000/03/01 12:00:00");
}

TEST(FormatDateTime, RoundTripsWholeSeconds) {
    for (double jd = JulianDate(1900, 1, 1); jd < JulianDate(2100, 1, 1); jd += 12.3456789) {
        const double whole = std::round(jd * 86400.0) / 86400.0;
        const std::string text = FormatDateTime(whole);
        ASSERT_NEAR(ParseDateTime(text), whole, 1e-8) << text;
    }
}

} // namespace
} // namespace vespario
