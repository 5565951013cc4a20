// The calendar against ERFA's eraCal2jd and eraJd2cal (proleptic Gregorian, exact day
// counts), and the fixed dates of the Julian-Gregorian change.

#include "astro/calendar.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>

namespace vespario {
namespace {

// Every day from 1900 to 2100 at 0h and 12h must equal ERFA's Julian Date exactly.
TEST(JulianDate, EqualsErfaEveryDay1900To2100) {
    int checked = 0;
    for (int year = 1900; year <= 2100; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                double djm0 = 0.0, djm = 0.0;
                if (eraCal2jd(year, month, day, &djm0, &djm) != 0)
                    continue; // no such day
                ASSERT_EQ(JulianDate(year, month, day), djm0 + djm)
                    << year << "/" << month << "/" << day;
                ASSERT_EQ(JulianDate(year, month, day, 12), djm0 + djm + 0.5);
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 73414);
}

TEST(JulianDate, TimeOfDayWithinRounding) {
    // The time adds hour/24 + minute/1440 + second/86400 to the day: a few ulp of a JD.
    double djm0 = 0.0, djm = 0.0;
    ASSERT_EQ(eraCal2jd(1987, 6, 19, &djm0, &djm), 0);
    const double reference = djm0 + djm + (13 * 3600 + 47 * 60 + 31) / 86400.0;
    EXPECT_NEAR(JulianDate(1987, 6, 19, 13, 47, 31), reference, 1e-9);
}

struct KnownDate {
    int year, month, day, hour;
    double jd;
};

class JulianDateKnown : public ::testing::TestWithParam<KnownDate> {};

TEST_P(JulianDateKnown, GivesTheFixedValue) {
    const KnownDate &d = GetParam();
    EXPECT_EQ(JulianDate(d.year, d.month, d.day, d.hour), d.jd);
}

INSTANTIATE_TEST_SUITE_P(
    ReformAndEpochs, JulianDateKnown,
    ::testing::Values(KnownDate{2000, 1, 1, 12, 2451545.0}, KnownDate{1582, 10, 15, 0, 2299160.5},
                      KnownDate{1582, 10, 4, 0, 2299159.5}, KnownDate{1900, 1, 0, 12, 2415020.0},
                      // Meeus, Astronomical Algorithms, ch. 7
                      // (585 BC is -585 here, -584 there)
                      KnownDate{333, 1, 27, 12, 1842713.0}, KnownDate{-585, 5, 28, 12, 1507900.0}));

TEST(JulianDate, DayZeroIsLastDayOfMonthBefore) {
    EXPECT_EQ(JulianDate(1996, 3, 0), JulianDate(1996, 2, 29));
    EXPECT_EQ(JulianDate(1997, 1, 0), JulianDate(1996, 12, 31));
    EXPECT_EQ(JulianDate(1996, 13, 0), JulianDate(1996, 12, 31));
}

// Every day from 1582 October 15 to 2100, also at a time of day, back through ERFA.
TEST(CalendarDate, EqualsErfaFromGregorianReform) {
    double djm0 = 0.0, first = 0.0, last = 0.0;
    eraCal2jd(1582, 10, 15, &djm0, &first);
    eraCal2jd(2100, 12, 31, &djm0, &last);
    for (double mjd = first; mjd <= last; mjd += 1.0) {
        const double jd = djm0 + mjd + (7 * 3600 + 5 * 60 + 9) / 86400.0;
        int iy = 0, im = 0, id = 0;
        double fd = 0.0;
        ASSERT_EQ(eraJd2cal(djm0, mjd, &iy, &im, &id, &fd), 0);
        const CalendarParts parts = CalendarDate(jd);
        ASSERT_EQ(parts.year, iy) << mjd;
        ASSERT_EQ(parts.month, im) << mjd;
        ASSERT_EQ(parts.day, id) << mjd;
        ASSERT_EQ(parts.hour, 7);
        ASSERT_EQ(parts.minute, 5);
        ASSERT_EQ(parts.second, 9);
    }
}

// Before the reform the dates are Julian: round trips with JulianDate down to AD 1.
TEST(CalendarDate, JulianCalendarRoundTrips) {
    for (double jd = JulianDate(1, 1, 1); jd < 2299160.5; jd += 17.25) {
        const CalendarParts p = CalendarDate(jd);
        ASSERT_EQ(JulianDate(p.year, p.month, p.day, p.hour, p.minute, p.second), jd) << jd;
    }
}

TEST(CalendarDate, SecondsCarryIntoTheNextDay) {
    // 0.3 s before midnight rounds to 00:00:00 of the next day, never to 24:00:00.
    const CalendarParts p = CalendarDate(JulianDate(1999, 12, 31) + 1.0 - 0.3 / 86400.0);
    EXPECT_EQ(p.year, 2000);
    EXPECT_EQ(p.month, 1);
    EXPECT_EQ(p.day, 1);
    EXPECT_EQ(p.hour, 0);
    EXPECT_EQ(p.minute, 0);
    EXPECT_EQ(p.second, 0);
}

TEST(CalendarDate, ExtremeInstantsDoNotOverflow) {
    for (double jd : {1e300, -1e300, double(NAN), double(INFINITY), -9000000100.0}) {
        const CalendarParts p = CalendarDate(jd);
        EXPECT_GE(p.month, 1);
        EXPECT_LE(p.month, 12);
    }
}

TEST(DayOfWeek, KnownDays) {
    EXPECT_EQ(DayOfWeek(2451544.5), 6); // 2000 January 1, a Saturday
    EXPECT_EQ(DayOfWeek(JulianDate(1996, 3, 31)), 0);
    EXPECT_EQ(DayOfWeek(JulianDate(1582, 10, 15)), 5); // a Friday
    EXPECT_EQ(DayOfWeek(JulianDate(1582, 10, 4)), 4);  // the Thursday before
    EXPECT_EQ(DayOfWeek(-1.0), DayOfWeek(6.0));        // before JD 0 the cycle holds
    EXPECT_GE(DayOfWeek(-2.5e27), 0);                  // huge instants stay in range
    EXPECT_LE(DayOfWeek(1e300), 6);
}

} // namespace
} // namespace vespario
