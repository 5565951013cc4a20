// The What's Up report: its lines and columns, the blanks of what does not apply, the
// moons and twilight sections, and the twilight of the observing night.

#include "astro/whatsup.h"

#include "astro/constants.h"
#include "astro/datetimetext.h"
#include "astro/moon.h"
#include "astro/observingplace.h"
#include "astro/planets.h"
#include "astro/radectext.h"
#include "astro/sun.h"
#include "astro/twilight.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace vespario {
namespace {

// Places in the record form of the profile.
constexpr const char *kBoston = "h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT";
constexpr const char *kBerlin = "b=Berlin|13.4|52.5|1|1|2|5|9|5|0|0|CET|CEST";
constexpr const char *kTromso = "t=Tromso|18.96|69.65|1|1|2|5|9|5|0|0|CET|CEST";
constexpr const char *kCopenhagen = "c=Copenhagen|12.57|55.68|1|1|2|5|9|5|0|0|CET|CEST";

ObservingPlace PlaceAt(const char *record, const char *utc) {
    ObservingPlace place;
    place.Parse(record);
    place.SetInstant(ParseDateTime(utc));
    return place;
}

// The report cut into lines; every line must end with "\r\n" and hold no other line end.
std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "last line without CR LF";
        if (end == std::string::npos)
            break;
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

// Column spans of a row (0-based start, length).
constexpr std::size_t kElongation = 14, kRaDec = 25, kDiameter = 41, kIllum = 47, kMagnitude = 53,
                      kRiseBlock = 59, kHelio = 89, kGeo = 111;

const char *const kLabels[11] = {"          Sun ", "      Mercury ", "        Venus ",
                                 "         Mars ", "      Jupiter ", "       Saturn ",
                                 "       Uranus ", "      Neptune ", "        Pluto ",
                                 "   Moon Today ", "Moon Tomorrow "};

TEST(WhatsUp, HeaderLinesAndTheElevenRows) {
    const ObservingPlace place = PlaceAt(kBoston, "2024/03/15 02:00:00");
    const std::vector<std::string> lines = Lines(WhatsUpReport(place));
    ASSERT_GE(lines.size(), 16u);
    // 02:00 UT is 22:00 EDT of Thursday 14 March (daylight time from 10 March).
    EXPECT_EQ(lines[0], "Data for 2024/03/14 22:00:00 EDT Thu       (Julian 2460384.58333)");
    EXPECT_EQ(lines[1], "At Home (Longitude=-71d 6'  0.0\"      Latitude=42d 24'  0.0\")");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3].substr(0, 21), "                Solar");
    EXPECT_EQ(lines[4].substr(0, 30), "       Object Elongation RaDec");
    for (int i = 0; i < 11; ++i) {
        const std::string &row = lines[5 + i];
        EXPECT_EQ(row.substr(0, 14), kLabels[i]);
        const bool moon = i >= 9;
        EXPECT_EQ(row.size(), moon ? 133u : 132u) << row;
        EXPECT_EQ(row.substr(row.size() - 3), moon ? " km" : " au") << row;
        // A RaDec of codes 3 and 3, then a blank.
        double ra = 0.0, dec = 0.0;
        RaDecPrecision precision;
        EXPECT_TRUE(ParseRaDec(row.substr(kRaDec, 15), ra, dec, precision)) << row;
        EXPECT_EQ(row[kRaDec + 15], ' ');
    }
}

TEST(WhatsUp, TheSunsOwnRowAndWhatDoesNotApply) {
    const ObservingPlace place = PlaceAt(kBoston, "2024/03/15 02:00:00");
    const std::vector<std::string> lines = Lines(WhatsUpReport(place));
    const std::string &sun = lines[5];
    EXPECT_EQ(sun.substr(kElongation, 11), std::string(11, ' '));
    EXPECT_EQ(sun.substr(kDiameter, 6), std::string(6, ' '));
    EXPECT_EQ(sun.substr(kIllum, 6), "100.0 ");
    EXPECT_EQ(sun.substr(kMagnitude, 6), std::string(6, ' '));
    EXPECT_EQ(sun.substr(kHelio, 22), std::string(22, ' '));
    EXPECT_NE(sun.substr(kRiseBlock, 30), std::string(30, ' ')); // Boston has a sunrise
    EXPECT_NEAR(std::atof(sun.substr(kGeo + 13).c_str()), ComputeSun(place.Instant()).radiusVector,
                0.005);
    // The Moon: no diameter, magnitude or heliocentric block; its distance in km.
    for (const std::size_t row : {14u, 15u}) {
        const std::string &moon = lines[row];
        EXPECT_EQ(moon.substr(kDiameter, 6), std::string(6, ' '));
        EXPECT_EQ(moon.substr(kMagnitude, 6), std::string(6, ' '));
        EXPECT_EQ(moon.substr(kHelio, 22), std::string(22, ' '));
        const double km = std::atof(moon.substr(kGeo + 13).c_str());
        EXPECT_GT(km, 356000.0);
        EXPECT_LT(km, 407000.0);
    }
    // 15 March 2024, evening: the young Moon is about 64 deg east of the Sun.
    EXPECT_EQ(lines[14].substr(kElongation + 6, 5), " ev  ");
    EXPECT_NEAR(std::atof(lines[14].substr(kElongation, 6).c_str()), 64.0, 6.0);
    // Planets: a diameter, magnitude and heliocentric distance on every row.
    for (int planet = 1; planet <= 8; ++planet) {
        const std::string &row = lines[5 + planet];
        EXPECT_NE(row.substr(kDiameter, 6), std::string(6, ' ')) << row;
        EXPECT_NE(row.substr(kMagnitude, 6), std::string(6, ' ')) << row;
        const double r = std::atof(row.substr(kHelio + 13, 5).c_str());
        EXPECT_NEAR(r, ComputePlanet(planet, place.Instant()).radiusVector, 0.006) << row;
    }
}

// Above the Arctic Circle at midsummer the Sun neither rises nor sets: its row has blanks
// for rise and set but shows its transit, and every twilight limit reads "none".
TEST(WhatsUp, MidnightSunHasATransitButNoRiseSetOrTwilight) {
    const ObservingPlace place = PlaceAt(kTromso, "2024/06/21 22:00:00");
    const std::vector<std::string> lines = Lines(WhatsUpReport(place));
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[5].substr(kRiseBlock, 12), std::string(12, ' '));
    EXPECT_EQ(lines[5].substr(kRiseBlock + 12, 6), "12:46 "); // 22 June, local noon at 18.96 E
    EXPECT_EQ(lines[5].substr(kRiseBlock + 18, 12), std::string(12, ' '));
    EXPECT_EQ(lines[17], "New Moons                        Full Moons");
    EXPECT_EQ(lines[23], "       Civil none: the Sun stays above -6 deg all night");
    EXPECT_EQ(lines[24], "    Nautical none: the Sun stays above -12 deg all night");
    EXPECT_EQ(lines[25], "Astronomical none: the Sun stays above -18 deg all night");
}

TEST(WhatsUp, MoonsSectionHasThreeLunationsInOrder) {
    const ObservingPlace place = PlaceAt(kBoston, "2024/03/15 02:00:00");
    const std::vector<std::string> lines = Lines(WhatsUpReport(place));
    ASSERT_GE(lines.size(), 20u);
    EXPECT_EQ(lines[16], "");
    EXPECT_EQ(lines[17], "New Moons                        Full Moons");
    // Espenak: new moons 2024 Feb 9 22:59, Mar 10 09:00 and Apr 8 18:21 UT, here in local
    // time (EST, then EDT from 0h UT of 10 March).
    const char *espenak[3] = {"2024/02/09 22:59:00", "2024/03/10 09:00:00", "2024/04/08 18:21:00"};
    for (int i = 0; i < 3; ++i) {
        const double shown = place.LocalTextToUT(lines[18 + i].substr(0, 19));
        EXPECT_NEAR(shown, ParseDateTime(espenak[i]), 10.0 / 1440.0) << lines[18 + i];
    }
    EXPECT_EQ(lines[19].substr(20, 3), "EDT");
    for (int i = 18; i <= 20; ++i) {
        const std::string &line = lines[i];
        // "yyyy/mm/dd hh:mm:ss ZZZ Ddd yyyy/mm/dd hh:mm:ss ZZZ Ddd"
        ASSERT_EQ(line.size(), 55u) << line;
        EXPECT_LT(line.substr(0, 19), line.substr(28, 19)) << "full moon after new";
    }
}

TEST(WhatsUp, TwilightSectionForTheEveningInProgress) {
    const ObservingPlace place = PlaceAt(kBoston, "2024/03/15 02:00:00");
    const std::vector<std::string> lines = Lines(WhatsUpReport(place));
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[21], "");
    EXPECT_EQ(lines[22].substr(0, 21), "             Twilight");
    const char *labels[3] = {"       Civil ", "    Nautical ", "Astronomical "};
    for (int k = 0; k < 3; ++k) {
        const std::string &line = lines[23 + k];
        EXPECT_EQ(line.substr(0, 13), labels[k]);
        // The evening of Thursday 14 March and the dawn of Friday 15 March, with sidereal
        // times "(hh:mm)".
        EXPECT_EQ(line.substr(13, 10), "2024/03/14") << line;
        EXPECT_EQ(line.substr(37, 4), "Thu ") << line;
        EXPECT_EQ(line.substr(41, 1), "(");
        EXPECT_EQ(line.substr(47, 2), ") ");
        EXPECT_EQ(line.substr(49, 10), "2024/03/15") << line;
        EXPECT_EQ(line.substr(73, 3), "Fri") << line;
        EXPECT_EQ(line.substr(line.size() - 7, 1), "(");
        if (k > 0) {
            EXPECT_GT(line.substr(24, 8), lines[22 + k].substr(24, 8)) << "later each evening";
            EXPECT_LT(line.substr(60, 8), lines[22 + k].substr(60, 8)) << "earlier each dawn";
        }
    }
    // Sunset 18:53 EDT in Boston that evening; civil twilight ends some 27 minutes later.
    const std::string civilEnd = lines[23].substr(24, 5);
    EXPECT_GE(civilEnd, "19:15");
    EXPECT_LE(civilEnd, "19:25");
}

// In a place east of Greenwich the evening's UT date is the local one; the twilight shown
// is that of the night in progress (opened by the last local noon), not the night before.
TEST(Twilight, TheNightOpenedByTheLastLocalNoon) {
    struct Case {
        const char *utc;
        const char *eveningDate; // local date of the evening
    };
    const Case cases[] = {
        {"2024/01/15 19:00:00", "2024/01/15"}, // 20:00 CET: tonight
        {"2024/01/15 09:00:00", "2024/01/14"}, // 10:00 CET: the night just over
        {"2024/01/15 11:30:00", "2024/01/15"}, // 12:30 CET: the coming night
        {"2024/01/15 23:30:00", "2024/01/15"}, // 00:30 CET next day: still tonight
    };
    for (const Case &c : cases) {
        const ObservingPlace place = PlaceAt(kBerlin, c.utc);
        const NightTwilight night = TwilightOfNight(place, place.Instant());
        ASSERT_TRUE(night.sunSetsAndRises) << c.utc;
        EXPECT_EQ(place.LocalTimeText(night.sunset, false).substr(0, 10), c.eveningDate) << c.utc;
        EXPECT_GT(night.sunrise, night.sunset);
        EXPECT_LT(night.sunrise - night.sunset, 1.0);
    }
}

// Each limit is where the Sun's altitude first reaches it, a minute's step at a time.
TEST(Twilight, EachEndIsTheFirstMinuteAtOrBelowTheLimit) {
    for (const char *record : {kBoston, kBerlin}) {
        const ObservingPlace place = PlaceAt(record, "2024/09/01 12:00:00");
        const NightTwilight night = TwilightOfNight(place, place.Instant());
        ASSERT_TRUE(night.sunSetsAndRises);
        auto altitude = [&](double t) {
            const ApparentPlace sun = SunApparent(t);
            double az = 0.0, alt = 0.0;
            place.Horizon(place.HourAngle(t, sun.ra), sun.dec, az, alt);
            return alt / kDegToRad;
        };
        double previousEvening = night.sunset, previousMorning = night.sunrise;
        for (int k = 0; k < 3; ++k) {
            const TwilightTimes &t = night.kinds[k];
            ASSERT_TRUE(t.reached);
            const double limit = TwilightLimitDegrees(static_cast<TwilightKind>(k));
            EXPECT_LE(altitude(t.evening), limit);
            EXPECT_GT(altitude(t.evening - 1.0 / 1440.0), limit);
            EXPECT_LE(altitude(t.morning), limit);
            EXPECT_GT(altitude(t.morning + 1.0 / 1440.0), limit);
            EXPECT_GT(t.evening, previousEvening);
            EXPECT_LT(t.morning, previousMorning);
            previousEvening = t.evening;
            previousMorning = t.morning;
        }
    }
}

// At 55.7 deg north in June the Sun sets but only goes 11 deg below the horizon: civil
// twilight ends, nautical and astronomical do not, and the search stops at the sunrise.
TEST(Twilight, LimitsNotReachedAtMidsummerNights) {
    const ObservingPlace place = PlaceAt(kCopenhagen, "2024/06/21 20:00:00");
    const NightTwilight night = TwilightOfNight(place, place.Instant());
    ASSERT_TRUE(night.sunSetsAndRises);
    EXPECT_TRUE(night.kinds[0].reached);
    EXPECT_FALSE(night.kinds[1].reached);
    EXPECT_FALSE(night.kinds[2].reached);
    const std::vector<std::string> lines = Lines(WhatsUpReport(place));
    EXPECT_EQ(lines[lines.size() - 2], "    Nautical none: the Sun stays above -12 deg all night");
    EXPECT_EQ(lines.back(), "Astronomical none: the Sun stays above -18 deg all night");
}

// In the polar night the Sun neither rises nor sets but still crosses the limits it
// reaches at noon: at Tromso all three, at 75 deg north nautical and astronomical only.
TEST(Twilight, PolarNightShowsTheLimitsTheSunCrosses) {
    const ObservingPlace tromso = PlaceAt(kTromso, "2024/12/21 12:00:00");
    const NightTwilight night = TwilightOfNight(tromso, tromso.Instant());
    EXPECT_FALSE(night.sunSetsAndRises);
    std::vector<std::string> lines = Lines(WhatsUpReport(tromso));
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[5].substr(kRiseBlock, 12), std::string(12, ' '));
    EXPECT_EQ(lines[5].substr(kRiseBlock + 18, 12), std::string(12, ' '));
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(night.kinds[k].reached) << k;
        EXPECT_EQ(lines[23 + k].substr(13, 11), "2024/12/21 ") << lines[23 + k];
        EXPECT_EQ(lines[23 + k].substr(49, 11), "2024/12/22 ") << lines[23 + k];
    }
    // 15:55 UT: astronomical twilight ends (ERFA, see test_riseset.cpp).
    EXPECT_EQ(lines[25].substr(24, 5), "16:56");

    const ObservingPlace north =
        PlaceAt("n=North|16|75|1|0|2|5|9|5|0|0|CET|CEST", "2024/12/21 12:00:00");
    lines = Lines(WhatsUpReport(north));
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[23], "       Civil none: the Sun stays below -6 deg all day");
    EXPECT_EQ(lines[24].substr(13, 11), "2024/12/21 ");
    EXPECT_EQ(lines[25].substr(13, 11), "2024/12/21 ");
    // The last day the Sun reaches -6 deg there: civil twilight ends, but no dawn follows.
    lines = Lines(
        WhatsUpReport(PlaceAt("n=North|16|75|1|0|2|5|9|5|0|0|CET|CEST", "2024/11/25 12:00:00")));
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[23].substr(0, 24), "       Civil 2024/11/25 ");
    EXPECT_EQ(lines[23].substr(lines[23].size() - 12), "(16:36) none") << lines[23];

    ObservingPlace pole = PlaceAt("p=Pole|0|-90|0|0|3|0|9|5|0|0|UT|UT", "2024/03/01 00:00:00");
    EXPECT_FALSE(TwilightOfNight(pole, pole.Instant()).sunSetsAndRises);
    lines = Lines(WhatsUpReport(pole));
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[25], "Astronomical none: the Sun stays above -18 deg all night");
}

} // namespace
} // namespace vespario
