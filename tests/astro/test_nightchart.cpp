// The night chart at three places: a northern spring night, a light night at 65 deg N in
// late summer (no astronomical darkness) and a southern winter night. The object's curve
// peaks at its transit, and the twilight bands begin and end at the times that the What's Up
// report prints.

#include "astro/nightchart.h"

#include "astro/constants.h"
#include "astro/datetimetext.h"
#include "astro/observingplace.h"
#include "astro/sun.h"
#include "astro/whatsup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vespario {
namespace {

constexpr double kMinute = 1.0 / 1440.0;

struct NightCase {
    const char *name;
    const char *record;
    const char *utc;
    bool astronomicalDarkness;
};

const NightCase kNights[] = {
    {"Boston, March", "h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT", "2024/03/15 02:00:00", true},
    {"Oulu, August", "o=Oulu|25.47|65.01|2|1|2|5|9|5|0|0|EET|EEST", "2024/08/25 20:00:00", false},
    {"Sydney, June", "s=Sydney|151.21|-33.87|10|1|9|0|3|0|0|0|AEST|AEDT", "2024/06/15 10:00:00",
     true},
};

// The report's twilight line of a kind: the evening and morning instants it prints (UT), or
// nothing for "none".
struct PrintedTwilight {
    bool hasEvening = false, hasMorning = false;
    double evening = 0.0, morning = 0.0;
};

PrintedTwilight Printed(const ObservingPlace &place, const std::string &report, int kind) {
    static const char *const labels[3] = {"\n       Civil ", "\n    Nautical ", "\nAstronomical "};
    PrintedTwilight printed;
    const std::size_t at = report.find(labels[kind]);
    EXPECT_NE(at, std::string::npos);
    if (at == std::string::npos)
        return printed;
    const std::string line = report.substr(at + 14, report.find('\r', at + 1) - at - 14);
    if (line.rfind("none", 0) != 0) {
        printed.hasEvening = true;
        printed.evening = place.LocalTextToUT(line.substr(0, 19));
    }
    const std::size_t second = line.find(") ");
    if (second != std::string::npos && line.compare(second + 2, 4, "none") != 0) {
        printed.hasMorning = true;
        printed.morning = place.LocalTextToUT(line.substr(second + 2, 19));
    }
    return printed;
}

double Altitude(const ObservingPlace &place, double jd, double ra, double dec) {
    double azimuth = 0.0, altitude = 0.0;
    place.Horizon(place.HourAngle(jd, ra), dec, azimuth, altitude);
    return altitude * kRadToDeg;
}

TEST(NightChart, CurvesAndBandsAtThreePlaces) {
    for (const NightCase &c : kNights) {
        SCOPED_TRACE(c.name);
        ObservingPlace place;
        place.Parse(c.record);
        place.SetInstant(ParseDateTime(c.utc));
        // An object that culminates a third of the way through the night, and one near the
        // celestial equator's opposite pole that stays low.
        const NightChart probe = ComputeNightChart(place, false, 0.0, 0.0);
        ASSERT_TRUE(probe.twilight.sunSetsAndRises);
        const double when = probe.start + (probe.end - probe.start) / 3.0;
        const double ra = std::fmod(place.HourAngle(when, 0.0), kTwoPi);
        const double dec = (place.Latitude() > 0 ? 20.0 : -50.0) * kDegToRad;
        const NightChart chart = ComputeNightChart(place, true, ra, dec);

        EXPECT_DOUBLE_EQ(chart.start, chart.twilight.sunset);
        EXPECT_DOUBLE_EQ(chart.end, chart.twilight.sunrise);
        EXPECT_TRUE(chart.showsNow);
        EXPECT_DOUBLE_EQ(chart.now, place.Instant());
        ASSERT_FALSE(chart.object.samples.empty());
        EXPECT_DOUBLE_EQ(chart.object.samples.front().jd, chart.start);
        EXPECT_DOUBLE_EQ(chart.object.samples.back().jd, chart.end);

        // The highest point, on a ten-second grid of the place's own altitude.
        double best = chart.start, bestAltitude = -90.0;
        for (double t = chart.start; t <= chart.end; t += 10.0 / 86400.0) {
            const double a = Altitude(place, t, ra, dec);
            if (a > bestAltitude) {
                bestAltitude = a;
                best = t;
            }
        }
        ASSERT_TRUE(chart.object.transits);
        EXPECT_NEAR(chart.object.transit, best, kMinute);
        EXPECT_NEAR(chart.object.transitAltitude, bestAltitude, 0.01);
        const AltitudeSample *top = &chart.object.samples.front();
        for (const AltitudeSample &s : chart.object.samples)
            if (s.altitude > top->altitude)
                top = &s;
        EXPECT_NEAR(top->jd, chart.object.transit, kMinute);

        // The band edges are the report's twilight times, to its printed second.
        const std::string report = WhatsUpReport(place);
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(k);
            const PrintedTwilight printed = Printed(place, report, k);
            const bool dark = k < 2 || c.astronomicalDarkness;
            EXPECT_EQ(chart.dark[k].present, dark);
            EXPECT_EQ(printed.hasEvening, dark);
            EXPECT_EQ(printed.hasMorning, dark);
            if (!dark)
                continue;
            EXPECT_NEAR(chart.dark[k].from, printed.evening, kMinute);
            EXPECT_NEAR(chart.dark[k].to, printed.morning, kMinute);
            // There the Sun stands at the band's limit.
            for (const double edge : {chart.dark[k].from, chart.dark[k].to}) {
                const ApparentPlace sun = SunApparent(edge);
                EXPECT_NEAR(Altitude(place, edge, sun.ra, sun.dec), -6.0 * (k + 1), 0.02);
            }
            // Each darker band lies inside the lighter one.
            if (k > 0) {
                EXPECT_GT(chart.dark[k].from, chart.dark[k - 1].from);
                EXPECT_LT(chart.dark[k].to, chart.dark[k - 1].to);
            }
        }

        // The Moon's curve covers the night; the hour ticks are whole local hours.
        ASSERT_FALSE(chart.moon.samples.empty());
        EXPECT_DOUBLE_EQ(chart.moon.samples.back().jd, chart.end);
        EXPECT_GE(chart.moonIlluminated, 0.0);
        EXPECT_LE(chart.moonIlluminated, 1.0);
        ASSERT_FALSE(chart.hours.empty());
        for (const HourTick &tick : chart.hours) {
            EXPECT_GE(tick.jd, chart.start);
            EXPECT_LE(tick.jd, chart.end);
            EXPECT_EQ(place.LocalTimeText(tick.jd, false).substr(11, 8), tick.text + ":00:00");
        }
        EXPECT_GT(chart.hours.front().jd - chart.start, -kMinute);
        EXPECT_LT(chart.hours.front().jd - chart.start, 1.0 / 24.0);
    }
}

TEST(NightChart, NoSunsetAndNoObject) {
    // Midsummer at 69.65 deg N: the chart runs 18:00 to 06:00 local time with no dark span;
    // an instant of the afternoon before lies outside it.
    ObservingPlace place;
    place.Parse("t=Tromso|18.96|69.65|1|1|2|5|9|5|0|0|CET|CEST");
    place.SetInstant(ParseDateTime("2024/06/21 12:00:00"));
    const NightChart chart = ComputeNightChart(place, false, 0.0, 0.0);
    EXPECT_FALSE(chart.twilight.sunSetsAndRises);
    EXPECT_EQ(place.LocalTimeText(chart.start, false), "2024/06/21 18:00:00");
    EXPECT_EQ(place.LocalTimeText(chart.end, false), "2024/06/22 06:00:00");
    for (const DarkSpan &span : chart.dark)
        EXPECT_FALSE(span.present);
    EXPECT_FALSE(chart.hasObject);
    EXPECT_TRUE(chart.object.samples.empty());
    EXPECT_FALSE(chart.showsNow);
    EXPECT_EQ(chart.hours.size(), 13u);
    // A position that is not a number draws no curve.
    EXPECT_FALSE(ComputeNightChart(place, true, std::nan(""), 0.0).hasObject);
}

} // namespace
} // namespace vespario
