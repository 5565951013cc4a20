// Greenwich sidereal time against ERFA's IAU 1982 GMST (eraGmst82). The 1900-based series
// and the 1982 expression are different fits, so they differ by a fraction of a second.

#include "astro/sidereal.h"

#include "astro/calendar.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace vespario {
namespace {

constexpr double kSecondsPerHour = 3600.0;

// Difference of two times of day in seconds, folded into -12h...12h.
double DiffSeconds(double hoursA, double hoursB) {
    double d = std::fmod(hoursA - hoursB, 24.0);
    if (d > 12.0)
        d -= 24.0;
    if (d < -12.0)
        d += 24.0;
    return d * kSecondsPerHour;
}

double ErfaGmstHours(double jd) {
    return eraGmst82(jd, 0.0) * 12.0 / ERFA_DPI;
}

// Whole-second instants (the series takes the time of day to the second) spread over
// 1900-2100 at odd steps so every hour and day of the year is visited.
TEST(GreenwichSidereal, WithinAQuarterSecondOfErfa1900To2100) {
    const double first = JulianDate(1900, 1, 1);
    const double last = JulianDate(2100, 12, 31);
    double worst = 0.0;
    int checked = 0;
    for (double day = first; day <= last; day += 7.0) {
        const int seconds = (checked * 7919) % 86400;
        const CalendarParts d = CalendarDate(day);
        const double jd =
            JulianDate(d.year, d.month, d.day, seconds / 3600, seconds / 60 % 60, seconds % 60);
        const double g = GreenwichSidereal(jd);
        ASSERT_LT(std::fabs(g - jd), 0.5);
        const double diff = DiffSeconds(TimeOfDayHours(g), ErfaGmstHours(jd));
        worst = std::max(worst, std::fabs(diff));
        ASSERT_LT(std::fabs(diff), 0.25) << jd;
        ++checked;
    }
    EXPECT_GT(checked, 10000);
    RecordProperty("worst_seconds", std::to_string(worst));
}

TEST(GreenwichSidereal, KnownValueAt2000January1) {
    // 6.6645 h = 6h39m52s at 0h UT on 2000 January 1.
    EXPECT_NEAR(TimeOfDayHours(GreenwichSidereal(2451544.5)), 6.6645, 0.0001);
}

TEST(GreenwichSidereal, ResultIsWithinHalfADayOfTheInstant) {
    for (double jd = 2451544.5; jd < 2451544.5 + 400.0; jd += 0.37) {
        const double g = GreenwichSidereal(jd);
        ASSERT_GE(g - jd, -0.5);
        ASSERT_LT(g - jd, 0.5);
    }
}

TEST(SiderealToUT, InvertsGreenwichSidereal) {
    for (double day = JulianDate(1900, 1, 1); day < JulianDate(2100, 1, 1); day += 97.0) {
        for (int hour = 0; hour < 24; hour += 5) {
            const double jd = day + hour / 24.0;
            const double back = SiderealToUT(GreenwichSidereal(jd));
            // Within 0.1 s (the 0.99727 ratio is rounded), or one sidereal day away when
            // the sidereal instant lay more than half a sidereal day from the UT.
            const double diff = std::fabs(back - jd) * 86400.0;
            const double siderealDay = 86400.0 * 24.0 / 24.065709792;
            EXPECT_TRUE(diff < 0.1 || std::fabs(diff - siderealDay) < 0.1) << jd << " " << diff;
        }
    }
}

TEST(SiderealToUT, NonFiniteInstantsPassThrough) {
    EXPECT_TRUE(std::isnan(SiderealToUT(NAN)));
    EXPECT_TRUE(std::isnan(GreenwichSidereal(NAN)));
}

} // namespace
} // namespace vespario
