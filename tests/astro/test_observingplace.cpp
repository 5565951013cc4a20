// The observing place: its record string, daylight rules, local time, the reference
// sidereal time, and horizon coordinates against ERFA's eraHd2ae.

#include "astro/observingplace.h"

#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/datetimetext.h"
#include "astro/horizon.h"
#include "astro/sidereal.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vespario {
namespace {

constexpr const char *kHome = "X=Home|-83.036944444|42.33|-5|1|3|0|9|5|0|0|EST|EDT";

ObservingPlace Place(std::string_view record, double jd = 2451545.0) {
    ObservingPlace place;
    place.Parse(record);
    place.SetInstant(jd);
    return place;
}

// --- Record string ---------------------------------------------------------------------

TEST(PlaceRecord, ParsesEveryField) {
    const ObservingPlace place = Place(kHome);
    EXPECT_EQ(place.Code(), 'X');
    EXPECT_EQ(place.Name(), "Home");
    EXPECT_DOUBLE_EQ(place.Longitude(), -83.036944444);
    EXPECT_DOUBLE_EQ(place.Latitude(), 42.33);
    EXPECT_DOUBLE_EQ(place.ZoneOffset(), -5.0);
    EXPECT_TRUE(place.UsesDaylight());
    EXPECT_EQ(place.StartMonth(), 3);
    EXPECT_EQ(place.StartWeek(), 0);
    EXPECT_EQ(place.EndMonth(), 9);
    EXPECT_EQ(place.EndWeek(), 5);
    EXPECT_FALSE(place.ObservationTimeIsUT());
    EXPECT_FALSE(place.ObservationTimeIsForDate());
    EXPECT_EQ(place.StandardZoneName(), "EST");
    EXPECT_EQ(place.DaylightZoneName(), "EDT");
    EXPECT_TRUE(place.IsWest());
    EXPECT_FALSE(place.IsSouth());
}

TEST(PlaceRecord, ShortRecordKeepsTheResetValues) {
    ObservingPlace place;
    place.SetDaylightRules(2, 1, 10, 3);
    place.Parse("X=Home|-83.036944444|42.33|-5|"); // cut after the zone offset
    EXPECT_DOUBLE_EQ(place.ZoneOffset(), -5.0);
    EXPECT_FALSE(place.UsesDaylight());
    EXPECT_TRUE(place.ObservationTimeIsUT());
    EXPECT_TRUE(place.ObservationTimeIsForDate());
    EXPECT_EQ(place.StandardZoneName(), "EST");
    EXPECT_EQ(place.DaylightZoneName(), "EDT");
    EXPECT_EQ(place.StartMonth(), 2); // the daylight rules keep what they had
    EXPECT_EQ(place.EndWeek(), 3);
    place.Parse("X=Home|-83|42.33|-5"); // a number counts only with a "|" after it
    EXPECT_DOUBLE_EQ(place.Latitude(), 42.33);
    EXPECT_DOUBLE_EQ(place.ZoneOffset(), 0.0);
}

TEST(PlaceRecord, TinyAndOddRecords) {
    ObservingPlace place;
    place.Parse("X=");
    EXPECT_EQ(place.Code(), '\0');
    EXPECT_EQ(place.Name(), "");
    place.Parse("Y=Tab name\t10|20|1|");
    EXPECT_EQ(place.Name(), "Tab name");
    EXPECT_DOUBLE_EQ(place.Latitude(), 20.0);
    place.Parse("Z=a|b\tc"); // a tab ends the name before any "|"
    EXPECT_EQ(place.Name(), "a|b");
    place.Parse("Q=P|1|2|3|1|99|-4|7|8|1|1|"); // rules out of range are clamped
    EXPECT_EQ(place.StartMonth(), 11);
    EXPECT_EQ(place.StartWeek(), 0);
    EXPECT_EQ(place.EndWeek(), 5);
    // Also when the record stops right after a wild rule (found by fuzzing: the week went
    // into 7 * week unchecked and overflowed).
    place.Parse("Q=P|1|2|3|1|3|-2147483648|9");
    EXPECT_EQ(place.StartWeek(), 0);
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 4, 15)), 1.0);
}

TEST(PlaceRecord, FormatsBothSeparatorsAndNewRow) {
    const ObservingPlace place = Place(kHome);
    EXPECT_EQ(place.Format('|'), "X=Home|-83.0369|42.33|-5|1|3|0|9|5|0|0|EST|EDT");
    EXPECT_EQ(place.Format('\t'), "X=Home\t-83.0369|42.33|-5|1|3|0|9|5|0|0|EST|EDT");
    EXPECT_EQ(place.Format('|', true), "=New Place|-83.0369|42.33|-5|1|3|0|9|5|0|0|EST|EDT");
    ObservingPlace again;
    again.Parse(place.Format('\t'));
    EXPECT_EQ(again.Format('|'), place.Format('|'));
}

TEST(PlaceRecord, PlacesPageSignFlags) {
    ObservingPlace place;
    place.SetLongitude(83.5, true);
    place.SetLatitude(33.9, true);
    EXPECT_DOUBLE_EQ(place.Longitude(), -83.5);
    EXPECT_TRUE(place.IsWest());
    EXPECT_TRUE(place.IsSouth());
}

TEST(PlaceRecord, NewPlaceDefaults) {
    const ObservingPlace place;
    EXPECT_EQ(place.Name(), "Undefined Place");
    EXPECT_EQ(place.StartMonth(), 3);
    EXPECT_EQ(place.EndMonth(), 9);
    EXPECT_EQ(place.EndWeek(), 5);
    EXPECT_FALSE(place.UsesDaylight());
    EXPECT_GT(place.Instant(), JulianDate(2020, 1, 1)); // the present moment
}

// --- Daylight time and local time ----------------------------------------------------------

struct DaylightRow {
    int year, month, day, hour;
    double offset;
};

class DefaultRules1996 : public ::testing::TestWithParam<DaylightRow> {};

TEST_P(DefaultRules1996, OffsetAtInstant) {
    const ObservingPlace place = Place(kHome);
    const DaylightRow &r = GetParam();
    EXPECT_EQ(place.DaylightOffset(JulianDate(r.year, r.month, r.day, r.hour)), r.offset)
        << r.month << "/" << r.day << " " << r.hour;
}

INSTANTIATE_TEST_SUITE_P(
    FirstSundayAprilToLastSundayOctober, DefaultRules1996,
    ::testing::Values(DaylightRow{1996, 3, 31, 12, 0.0},                                 // a Sunday
                      DaylightRow{1996, 4, 6, 23, 0.0}, DaylightRow{1996, 4, 7, 0, 1.0}, // 0h UT
                      DaylightRow{1996, 7, 1, 0, 1.0}, DaylightRow{1996, 10, 26, 23, 1.0},
                      DaylightRow{1996, 10, 27, 0, 0.0}, DaylightRow{1996, 12, 25, 0, 0.0}));

TEST(DaylightOffset, SeasonAcrossTheNewYear) {
    // Start month October (9), end month March (2): southern summer.
    ObservingPlace place = Place("S=South|150|-34|10|1|9|0|2|0|0|0|AEST|AEDT");
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 1, 15)), 1.0);
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 6, 15)), 0.0);
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 12, 15)), 1.0);
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 10, 7)), 1.0); // first Sunday, 0h UT
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 10, 6)), 0.0);
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 3, 3)), 1.0); // before first Sunday
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 3, 4)), 0.0);
    // A northern place with the start later than the end: the months between are standard.
    place.SetLatitude(40.0);
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 5, 15)), 0.0);
}

TEST(DaylightOffset, FifthSundayMayFallInTheNextMonth) {
    ObservingPlace place = Place("F=Fifth|0|0|0|1|1|4|9|5|0|0|A|B");
    // February 2001 has four Sundays; the fifth on or after 29 Feb is 4 March.
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 2, 28)), 0.0);
    place.SetDaylightRules(3, 5, 9, 5); // Last Sunday of April 2001 is 29 April
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 4, 28, 23)), 0.0);
    EXPECT_EQ(place.DaylightOffset(JulianDate(2001, 4, 29)), 1.0);
}

TEST(DaylightOffset, NotUsedGivesZero) {
    const ObservingPlace place = Place("N=No|0|0|0|0|3|0|9|5|0|0|A|B");
    EXPECT_EQ(place.DaylightOffset(JulianDate(1996, 7, 1)), 0.0);
}

TEST(LocalTime, TextZoneAndWeekday) {
    const ObservingPlace place = Place(kHome);
    const double summer = JulianDate(1996, 7, 6, 2, 30, 0); // Saturday 02:30 UT
    EXPECT_EQ(place.LocalTimeText(summer, false), "1996/07/05 22:30:00");
    EXPECT_EQ(place.LocalTimeText(summer, true), "1996/07/05 22:30:00 EDT");
    EXPECT_EQ(place.ZoneName(summer), "EDT");
    EXPECT_STREQ(place.WeekdayName(summer), "Fri"); // the local date
    const double winter = JulianDate(1996, 1, 10, 12);
    EXPECT_EQ(place.LocalTimeText(winter, true), "1996/01/10 07:00:00 EST");
    EXPECT_STREQ(place.WeekdayName(winter), "Wed");
}

TEST(LocalTime, HugeFieldsStayDefined) {
    // Found by fuzzing: a zone offset of 1e44 hours overflowed the weekday's integer.
    const ObservingPlace place = Place("H=Huge|494e42|4|4e44|1|3|0|9|5|0|0|A|B");
    const std::string name = place.WeekdayName(2451545.0);
    EXPECT_EQ(name.size(), 3u);
    EXPECT_FALSE(place.LocalTimeText(2451545.0, true).empty());
    double az = 0.0, alt = 0.0;
    place.AzimuthAltitude(1.0, 0.5, az, alt);
}

TEST(LocalTime, LocalTextBackToUT) {
    const ObservingPlace place = Place(kHome);
    EXPECT_NEAR(place.LocalTextToUT("1996/07/05 22:30:00"), JulianDate(1996, 7, 6, 2, 30), 1e-9);
    EXPECT_NEAR(place.LocalTextToUT("1996/01/10 07:00:00"), JulianDate(1996, 1, 10, 12), 1e-9);
    EXPECT_EQ(place.LocalTextToUT("yesterday"), kInvalidJulianDate);
}

// --- Sidereal time, hour angle and horizon ----------------------------------------------------

TEST(ReferenceSidereal, IsRecomputedAfterSetInstant) {
    ObservingPlace place =
        Place("N=No daylight|-83|42|-5|0|3|0|9|5|0|0|EST|EDT", JulianDate(2000, 1, 1, 3));
    const double first = place.ReferenceSidereal();
    EXPECT_EQ(place.ReferenceSidereal(), first); // cached
    place.SetInstant(JulianDate(2000, 7, 1, 3));
    const double second = place.ReferenceSidereal();
    EXPECT_NE(second, first);
    EXPECT_NEAR(std::fabs(second - first), 12.0, 0.3); // half a year: half a sidereal turn
    place.SetLongitude(0.0);                           // changing the place resets it too
    EXPECT_NE(place.ReferenceSidereal(), second);
}

TEST(ReferenceSidereal, IsTheLocalSiderealTimeNearTheOpeningNoon) {
    // The night of 2000 January 1 (local), at Home: local noon 17h UT.
    const ObservingPlace place = Place(kHome, JulianDate(2000, 1, 2, 3));
    const double noonUT = JulianDate(2000, 1, 1, 17);
    const double lst =
        std::fmod(eraGmst82(noonUT, 0.0) * 12.0 / ERFA_DPI + place.Longitude() / 15.0 + 48.0, 24.0);
    EXPECT_NEAR(place.ReferenceSidereal(), lst, 3.0 / 60.0); // within about two minutes
    EXPECT_NEAR(std::remainder(place.HoursPastNoon(lst), 24.0), 0.0, 3.0 / 60.0);
}

TEST(HourAngle, HorizonWithinAHundredthOfADegreeOfErfa) {
    ObservingPlace place = Place(kHome);
    for (double jd = JulianDate(1900, 1, 1); jd < JulianDate(2100, 1, 1); jd += 123.4567) {
        const double whole = std::round(jd * 86400.0) / 86400.0;
        const double ra = std::fmod(whole * 0.37, 2.0 * kPi);
        const double dec = std::sin(whole) * 1.4;
        const double h = place.HourAngle(whole, ra);
        ASSERT_GE(h, 0.0);
        ASSERT_LT(h, kTwoPi);
        const double hE = eraGmst82(whole, 0.0) + place.Longitude() * ERFA_DD2R - ra;
        double az = 0.0, alt = 0.0, azE = 0.0, altE = 0.0;
        place.Horizon(h, dec, az, alt);
        eraHd2ae(hE, dec, place.Latitude() * ERFA_DD2R, &azE, &altE);
        ASSERT_NEAR(alt * kRadToDeg, altE * ERFA_DR2D, 0.01) << whole;
        const double dAz = std::remainder(az - azE, 2.0 * ERFA_DPI) * ERFA_DR2D;
        ASSERT_LT(std::fabs(dAz * std::cos(alt)), 0.01) << whole;
    }
}

TEST(Horizon, CardinalPoints) {
    ObservingPlace place = Place(kHome);
    place.SetLatitude(40.0);
    double az = 0.0, alt = 0.0;
    place.Horizon(0.0, 40.0 * kDegToRad, az, alt); // on the meridian at the zenith's dec
    EXPECT_NEAR(alt, kPi / 2.0, 1e-6);
    place.Horizon(0.0, 0.0, az, alt); // due south
    EXPECT_NEAR(az, kPi, 1e-6);
    EXPECT_NEAR(alt, 50.0 * kDegToRad, 1e-6);
    place.Horizon(kPi / 2.0, 0.0, az, alt); // six hours west: setting due west
    EXPECT_NEAR(az, 1.5 * kPi, 1e-6);
    place.Horizon(1.5 * kPi, 0.0, az, alt); // rising due east
    EXPECT_NEAR(az, 0.5 * kPi, 1e-6);
}

// --- Rise and set ----------------------------------------------------------------------------

TEST(RiseSet, EquatorialObjectIsUpTwelveSiderealHours) {
    const ObservingPlace place = Place(kHome);
    RiseSetTimes t;
    ASSERT_TRUE(place.RiseSet(3.0 * kHourToRad, 0.0, 0.0, t));
    EXPECT_NEAR(t.riseSidereal, 21.0, 1e-6);
    EXPECT_NEAR(t.setSidereal, 9.0, 1e-6);
    EXPECT_NEAR(t.riseAzimuth, kPi / 2.0, 1e-6);
    EXPECT_NEAR(t.setAzimuth, 1.5 * kPi, 1e-6);
}

TEST(RiseSet, RiseIsWhereErfaPutsTheObjectOnTheHorizon) {
    const ObservingPlace place = Place(kHome);
    const double ra = 1.0, dec = 0.6;
    RiseSetTimes t;
    ASSERT_TRUE(place.RiseSet(ra, dec, 0.0, t));
    const double phi = place.Latitude() * ERFA_DD2R;
    for (double lst : {t.riseSidereal, t.setSidereal}) {
        double az = 0.0, alt = 0.0;
        eraHd2ae(lst * kHourToRad - ra, dec, phi, &az, &alt);
        EXPECT_NEAR(alt * ERFA_DR2D, 0.0, 0.01);
    }
}

TEST(RiseSet, NoResultForCircumpolarNeverRisingOrPole) {
    const ObservingPlace place = Place(kHome);
    RiseSetTimes t;
    EXPECT_FALSE(place.RiseSet(0.0, 89.0 * kDegToRad, 0.0, t));  // never sets
    EXPECT_FALSE(place.RiseSet(0.0, -60.0 * kDegToRad, 0.0, t)); // never rises
    EXPECT_FALSE(place.RiseSet(0.0, kPi / 2.0 + 1e-12, 0.0, t));
    double rise = 0.0, set = 0.0;
    EXPECT_FALSE(place.RiseSetHoursPastNoon(0.0, 89.0 * kDegToRad, rise, set));
}

TEST(RiseSet, HoursPastNoonMatchTheAltitudeCrossing) {
    // The local clock time of rising on the night of the instant: at that UT the altitude
    // is zero, computed independently with ERFA.
    const ObservingPlace place = Place(kHome, JulianDate(2000, 1, 2, 3));
    const double ra = 2.0, dec = 0.3;
    double rise = 0.0, set = 0.0;
    ASSERT_TRUE(place.RiseSetHoursPastNoon(ra, dec, rise, set));
    const double localNoonUT = JulianDate(2000, 1, 1, 17); // EST noon on the opening day
    for (double hours : {rise, set}) {
        double ut = localNoonUT + hours / 24.0;
        double az = 0.0, alt = 0.0;
        eraHd2ae(eraGmst82(ut, 0.0) + place.Longitude() * ERFA_DD2R - ra, dec,
                 place.Latitude() * ERFA_DD2R, &az, &alt);
        EXPECT_NEAR(alt * ERFA_DR2D, 0.0, 0.01) << hours;
    }
}

TEST(LocalHoursPastNoon, CountsFromLocalNoon) {
    const ObservingPlace place = Place(kHome, JulianDate(2000, 1, 2, 3));
    // The local sidereal time at local midnight gives about 12 hours past noon.
    const double midnightUT = JulianDate(2000, 1, 2, 5);
    const double lst = TimeOfDayHours(GreenwichSidereal(midnightUT)) + place.Longitude() / 15.0;
    const double hours = place.LocalHoursPastNoon(place.Instant(), std::fmod(lst + 24.0, 24.0));
    EXPECT_NEAR(hours, 12.0, 1.0 / 60.0);
}

} // namespace
} // namespace vespario
