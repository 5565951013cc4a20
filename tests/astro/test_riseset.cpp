// Rise, transit and set on a local date, and the twilight of the polar night, against the
// events that ERFA's Sun and Moon give for the same horizons: found independently by
// stepping through the date and bisecting every change of sign.

#include "astro/bodyriseset.h"
#include "astro/datetimetext.h"
#include "astro/moon.h"
#include "astro/observingplace.h"
#include "astro/twilight.h"
#include "astro/whatsup.h"

#include "erfareference.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace vespario {
namespace {

constexpr double kMinute = 1.0 / 1440.0;
constexpr double kStep = 30.0 * kMinute; // the reference's steps through a date

enum class Body { Sun, Moon };

// ERFA's body at a UT instant: hour angle (apparent sidereal time) and altitude plus the
// program's vertical shift (for the Moon from ERFA's own distance).
struct Reference {
    double hourAngle; // -pi...pi
    double height;    // altitude of the centre + shift (rad)
};

Reference ErfaAt(Body body, double ut, const ObservingPlace &place) {
    const test::RaDec p = body == Body::Sun ? test::ErfaSun(ut) : test::ErfaMoon(ut);
    const double shift =
        body == Body::Sun ? kSunRiseSetShift : MoonRiseSetShift(std::asin(6378.14 / p.distance));
    const double h = eraAnpm(eraGst94(ut, 0.0) + place.Longitude() * ERFA_DD2R - p.ra);
    const double phi = place.Latitude() * ERFA_DD2R;
    const double altitude =
        std::asin(std::sin(p.dec) * std::sin(phi) + std::cos(p.dec) * std::cos(phi) * std::cos(h));
    return {h, altitude + shift};
}

// The instant in [a, b] at which f changes sign, to a second.
template <typename F> double Bisect(F f, double a, double b) {
    const bool fa = f(a);
    while (b - a > 1.0 / 86400.0) {
        const double m = 0.5 * (a + b);
        (f(m) == fa ? a : b) = m;
    }
    return 0.5 * (a + b);
}

struct ReferenceEvents {
    std::vector<double> rises, transits, sets; // in time order
};

// ERFA's rises, upper transits and sets in [from, to).
ReferenceEvents ErfaEvents(Body body, const ObservingPlace &place, double from, double to) {
    ReferenceEvents out;
    Reference previous = ErfaAt(body, from, place);
    for (double t = from; t < to; t += kStep) {
        const double next = t + kStep;
        const Reference r = ErfaAt(body, next, place);
        if ((previous.height > 0.0) != (r.height > 0.0)) {
            const double e =
                Bisect([&](double u) { return ErfaAt(body, u, place).height > 0.0; }, t, next);
            (r.height > 0.0 ? out.rises : out.sets).push_back(e);
        }
        // Upper transit: the hour angle passes 0 from below (not the wrap at +-pi).
        if (previous.hourAngle < 0.0 && r.hourAngle >= 0.0 && previous.hourAngle > -1.0) {
            out.transits.push_back(
                Bisect([&](double u) { return ErfaAt(body, u, place).hourAngle >= 0.0; }, t, next));
        }
        previous = r;
    }
    return out;
}

// The largest differences from ERFA seen, for the record (minutes), and the events compared.
struct Worst {
    double riseSet = 0.0;
    double transit = 0.0;
    int events = 0;
};
Worst worst;

// One printed event against ERFA's events of the same kind around the date.
void CheckEvent(const char *what, bool ours, double t, const std::vector<double> &reference,
                const ObservingPlace &place, double date, double toleranceMinutes,
                const std::string &context) {
    std::vector<double> onDate;
    for (const double r : reference)
        if (place.LocalDate(r) == date)
            onDate.push_back(r);
    const double tolerance = toleranceMinutes * kMinute;
    if (!ours) {
        // None printed: ERFA has none either, or its event lies within the tolerance of the
        // date's edge (ours is then just across it).
        for (const double r : onDate) {
            const bool nearEdge =
                place.LocalDate(r - tolerance) != date || place.LocalDate(r + tolerance) != date;
            EXPECT_TRUE(nearEdge) << what << " missing, ERFA " << FormatDateTime(r) << " UT; "
                                  << context;
        }
        return;
    }
    EXPECT_EQ(place.LocalDate(t), date) << what << " of another date; " << context;
    double nearest = 1e9;
    for (const double r : reference)
        nearest = std::fabs(r - t) < std::fabs(nearest - t) ? r : nearest;
    double &record = toleranceMinutes < 2.0 ? worst.transit : worst.riseSet;
    record = std::max(record, std::fabs(nearest - t) / kMinute);
    ++worst.events;
    EXPECT_LT(std::fabs(nearest - t), tolerance) << what << " " << FormatDateTime(t) << " UT, ERFA "
                                                 << FormatDateTime(nearest) << "; " << context;
    // The first of the date: no earlier ERFA event on it.
    if (!onDate.empty()) {
        EXPECT_LT(t, onDate.front() + tolerance) << what << " not the first; " << context;
    }
}

// The rise, transit and set printed for a local date, against ERFA's.
void CheckDate(Body body, const ObservingPlace &place, double date, const std::string &context) {
    const DayRiseSet ours =
        body == Body::Sun ? SunRiseSetForDate(place, date) : MoonRiseSetForDate(place, date);
    // ERFA's events of the date and a little either side.
    const double zone = place.ZoneOffset() / 24.0;
    const ReferenceEvents ref =
        ErfaEvents(body, place, date - zone - 1.0 / 24.0 - kStep, date + 1.0 - zone + kStep);
    const std::string where = context + (body == Body::Sun ? " Sun" : " Moon") + " on " +
                              FormatDateTime(date).substr(0, 10);
    CheckEvent("rise", ours.rises, ours.rise, ref.rises, place, date, 2.0, where);
    CheckEvent("transit", ours.transits, ours.transit, ref.transits, place, date, 1.0, where);
    CheckEvent("set", ours.sets, ours.set, ref.sets, place, date, 2.0, where);
}

// The report's three rows with times: the Sun's, "Moon Today" and "Moon Tomorrow".
void CheckReportDates(const ObservingPlace &place, const std::string &context) {
    const double today = place.LocalDate(place.Instant());
    CheckDate(Body::Sun, place, today, context);
    CheckDate(Body::Moon, place, today, context);
    CheckDate(Body::Moon, place, today + 1.0, context);
}

ObservingPlace PlaceAt(const char *record, const char *utc) {
    ObservingPlace place;
    place.Parse(record);
    place.SetInstant(ParseDateTime(utc));
    return place;
}

// The places and instants where the report showed another date's Moon, and high north.
TEST(RiseSetOnTheLocalDate, ReportedPlacesAgainstErfa) {
    const struct {
        const char *record, *utc;
    } cases[] = {
        {"g=Greenwich|0|51.5|0|0|2|1|10|0|0|0|GMT|BST", "1971/01/16 20:13:51"},
        {"c=Boston|-71.1|42.4|-5|0|2|1|10|0|0|0|EST|EDT", "2024/03/15 03:00:00"},
        {"h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT", "2024/03/15 02:00:00"},
        {"t=Tromso|18.96|69.65|1|1|2|5|9|5|0|0|CET|CEST", "2024/04/10 20:00:00"},
        {"t=Tromso|18.96|69.65|1|1|2|5|9|5|0|0|CET|CEST", "2024/05/19 21:30:00"},
        {"t=Tromso|18.96|69.65|1|1|2|5|9|5|0|0|CET|CEST", "2024/12/21 12:00:00"},
    };
    for (const auto &c : cases)
        CheckReportDates(PlaceAt(c.record, c.utc), std::string(c.record) + " at " + c.utc);
}

// Minutes of the day of a report's "hh:mm".
int Minutes(const std::string &clock) {
    return std::atoi(clock.substr(0, 2).c_str()) * 60 + std::atoi(clock.substr(3, 2).c_str());
}

// The Moon's row shows that date's rise, transit and set: at Greenwich the rise of 16
// January 1971 (not the 20:50 of the day before); at Boston on the evening of 14 March
// 2024 the Moon of that date (rise 08:06, transit 15:45, set 23:37 EST from ERFA).
TEST(RiseSetOnTheLocalDate, MoonTodayRowShowsTheDatesEvents) {
    constexpr std::size_t kRise = 59, kTransit = 71, kSet = 77;
    const std::string greenwich = WhatsUpReport(
        PlaceAt("g=Greenwich|0|51.5|0|0|2|1|10|0|0|0|GMT|BST", "1971/01/16 20:13:51"));
    const std::size_t g = greenwich.find("   Moon Today ");
    ASSERT_NE(g, std::string::npos);
    EXPECT_NEAR(Minutes(greenwich.substr(g + kRise, 5)), 21 * 60 + 58, 2);

    const std::string boston = WhatsUpReport(
        PlaceAt("c=Boston|-71.1|42.4|-5|0|2|1|10|0|0|0|EST|EDT", "2024/03/15 03:00:00"));
    const std::size_t b = boston.find("   Moon Today ");
    ASSERT_NE(b, std::string::npos);
    EXPECT_NEAR(Minutes(boston.substr(b + kRise, 5)), 8 * 60 + 6, 2);
    EXPECT_NEAR(Minutes(boston.substr(b + kTransit, 5)), 15 * 60 + 45, 1);
    EXPECT_NEAR(Minutes(boston.substr(b + kSet, 5)), 23 * 60 + 37, 2);
    // The Moon of 15 March sets after midnight: blanks for its set.
    const std::size_t t = boston.find("Moon Tomorrow ");
    ASSERT_NE(t, std::string::npos);
    EXPECT_EQ(boston.substr(t + kSet, 12), std::string(12, ' '));
}

// Random instants 1950-2050 at four latitudes, random longitudes with their zones, the
// European daylight rule in the north and a southern one at 34 deg south.
TEST(RiseSetOnTheLocalDate, RandomInstantsAgainstErfa) {
    std::mt19937 random(14);
    std::uniform_real_distribution<double> instant(2433282.5, 2469807.5);
    std::uniform_real_distribution<double> longitude(-180.0, 180.0);
    for (const double latitude : {0.0, 51.5, 65.0, -34.0}) {
        for (int i = 0; i < 100; ++i) {
            ObservingPlace place;
            place.SetLatitude(latitude);
            place.SetLongitude(longitude(random));
            place.SetZoneOffset(std::round(place.Longitude() / 15.0));
            place.SetUseDaylight(latitude != 0.0);
            if (latitude < 0.0)
                place.SetDaylightRules(9, 0, 3, 0);
            else
                place.SetDaylightRules(2, 5, 9, 5);
            place.SetInstant(instant(random));
            char context[80];
            std::snprintf(context, sizeof context, "lat %.1f lon %.2f at JD %.5f", latitude,
                          place.Longitude(), place.Instant());
            CheckReportDates(place, context);
        }
    }
    std::printf("Sun and Moon on the local date: %d events, worst rise/set %.3f min, transit "
                "%.3f min\n",
                worst.events, worst.riseSet, worst.transit);
    RecordProperty("worst_rise_set_minutes", std::to_string(worst.riseSet));
    RecordProperty("worst_transit_minutes", std::to_string(worst.transit));
    EXPECT_GT(worst.events, 3000);
}

// Tromso in the polar night: the Sun never rises, but it crosses all three twilight
// limits; ERFA's Sun gives the same instants to two minutes (astronomical twilight ends
// at 15:55 UT on 21 December 2024).
TEST(TwilightInThePolarNight, LimitsAgainstErfa) {
    const ObservingPlace place =
        PlaceAt("t=Tromso|18.96|69.65|1|1|2|5|9|5|0|0|CET|CEST", "2024/12/21 12:00:00");
    const NightTwilight night = TwilightOfNight(place, place.Instant());
    EXPECT_FALSE(night.sunSetsAndRises);
    for (int k = 0; k < 3; ++k) {
        const TwilightTimes &t = night.kinds[k];
        ASSERT_TRUE(t.reached) << k;
        const double limit = TwilightLimitDegrees(static_cast<TwilightKind>(k)) * ERFA_DD2R;
        auto above = [&](double u) {
            return ErfaAt(Body::Sun, u, place).height - kSunRiseSetShift > limit;
        };
        EXPECT_NEAR(t.evening, Bisect(above, t.evening - 0.02, t.evening + 0.02), 2.0 * kMinute)
            << k;
        EXPECT_NEAR(t.morning, Bisect(above, t.morning - 0.02, t.morning + 0.02), 2.0 * kMinute)
            << k;
        EXPECT_TRUE(above(t.evening - 0.02) && !above(t.evening + 0.02)) << k;
        EXPECT_TRUE(!above(t.morning - 0.02) && above(t.morning + 0.02)) << k;
    }
    EXPECT_NEAR(night.kinds[2].evening, ParseDateTime("2024/12/21 15:55:00"), 2.0 * kMinute);
}

} // namespace
} // namespace vespario
