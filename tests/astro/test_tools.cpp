// The Coordinates, Times and Distances tools: every field from one value, editing one field
// rewriting the others, and refused texts that keep everything as it was.

#include "astro/constants.h"
#include "astro/coordinatestool.h"
#include "astro/datetimetext.h"
#include "astro/distancestool.h"
#include "astro/observingplace.h"
#include "astro/radectext.h"
#include "astro/sidereal.h"
#include "astro/timestool.h"
#include "platform/headlesshost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vespario {
namespace {

constexpr const char *kHome = "h=Home|-71.1|42.4|-5|1|3|0|9|5|0|0|EST|EDT";
constexpr double kJ2000 = 2451545.0;
constexpr double kArcsec = kDegToRad / 3600.0;

ObservingPlace Place(double jd = kJ2000) {
    ObservingPlace place;
    place.Parse(kHome);
    place.SetInstant(jd);
    return place;
}

double Separation(double ra1, double dec1, double ra2, double dec2) {
    const double c =
        std::sin(dec1) * std::sin(dec2) + std::cos(dec1) * std::cos(dec2) * std::cos(ra1 - ra2);
    return std::acos(std::min(1.0, std::max(-1.0, c)));
}

// --- Coordinates -------------------------------------------------------------------------

class CoordinatesToolTest : public ::testing::Test {
protected:
    platform::HeadlessHost host;
    ObservingPlace place = Place();
    CoordinatesTool tool{host, place};
};

TEST_F(CoordinatesToolTest, ARaDecIsShownInEveryNotation) {
    ASSERT_TRUE(tool.Edit(CoordinatesTool::RaDec1, "004244.8+411609"));
    EXPECT_EQ(tool.Text(CoordinatesTool::RaDec1), "004244.8+411609");
    EXPECT_EQ(tool.Text(CoordinatesTool::Epoch1), "2000.0");
    EXPECT_EQ(tool.Text(CoordinatesTool::Degrees), " 10.687, 41.269");
    EXPECT_EQ(tool.Text(CoordinatesTool::Hours), "  0.712, 41.269");
    EXPECT_EQ(tool.Text(CoordinatesTool::Radians), "  0.187,  0.720");
    EXPECT_EQ(tool.Text(CoordinatesTool::DegMinSec), "10d 41' 12.0\", 41d 16'  9.0\"");
    // M31 itself (0h42m44.3s) is at l = 121.174, b = -21.573; this point is 5" east of it.
    EXPECT_EQ(tool.Text(CoordinatesTool::Galactic), "121.176,-21.573");
    EXPECT_EQ(tool.Text(CoordinatesTool::RaDec2), "004244.8+411609");
    EXPECT_EQ(tool.Hint(), "Format: hh[mm[ss[.t]]]{+/-}dd[mm[ss]]");
    EXPECT_EQ(host.BeepCount(), 0);
    // M31 is on Sky Atlas 2000.0 chart 4 and Uranometria 2000.0 chart 60.
    EXPECT_EQ(tool.StatusLine(), "Con And  S4  U60");
    // The status line looks the charts up for 2000.0 whatever epoch 1 is.
    ASSERT_TRUE(tool.Edit(CoordinatesTool::Epoch1, "1950"));
    ASSERT_TRUE(tool.Edit(CoordinatesTool::RaDec1, "0040003+405943"));
    EXPECT_EQ(tool.StatusLine(), "Con And  S4  U60");
}

TEST_F(CoordinatesToolTest, TheEditedFieldKeepsTheUsersText) {
    ASSERT_TRUE(tool.Edit(CoordinatesTool::RaDec1, "0042.7+4116"));
    EXPECT_EQ(tool.Text(CoordinatesTool::RaDec1), "0042.7+4116");
    // The other RaDec field is printed with codes 3 and 3.
    EXPECT_EQ(tool.Text(CoordinatesTool::RaDec2), "004242.0+411600");
    // Editing another field rewrites the first one in full.
    ASSERT_TRUE(tool.Edit(CoordinatesTool::Degrees, "10.5, 41.25"));
    EXPECT_EQ(tool.Text(CoordinatesTool::Degrees), "10.5, 41.25");
    EXPECT_EQ(tool.Text(CoordinatesTool::RaDec1), "004200.0+411500");
}

TEST_F(CoordinatesToolTest, AnIllegalTextBeepsAndChangesNothingElse) {
    ASSERT_TRUE(tool.Edit(CoordinatesTool::RaDec1, "004244.8+411609"));
    const std::string degrees = tool.Text(CoordinatesTool::Degrees);
    const double ra = tool.Ra();
    const double dec = tool.Dec();
    struct Case {
        int field;
        const char *text;
        const char *hint;
    };
    const Case cases[] = {
        {CoordinatesTool::RaDec1, "0042 448+411609",
         "ILLEGAL! Use format: hh[mm[ss[.t]]]{+/-}dd[mm[ss]]"},
        {CoordinatesTool::RaDec1, "004+41", "ILLEGAL! Use format: hh[mm[ss[.t]]]{+/-}dd[mm[ss]]"},
        {CoordinatesTool::RaDec1, "0000+9500",
         "ILLEGAL! Use format: hh[mm[ss[.t]]]{+/-}dd[mm[ss]]"},
        {CoordinatesTool::Degrees, "ten, twenty",
         "ILLEGAL! Use format: degrees[.dec],{+/-}degrees[.dec]"},
        {CoordinatesTool::Degrees, "10, 91",
         "ILLEGAL! Use format: degrees[.dec],{+/-}degrees[.dec]"},
        {CoordinatesTool::DegMinSec, "10 41 12, 41 16 9",
         "ILLEGAL! Use format: ###d[ ###'[ ###\"]],{+/-}###d[ ###'[ ###\"]]"},
        {CoordinatesTool::Galactic, "", "ILLEGAL! Use format: degrees[.dec]{+/-}degrees[.dec]"},
        {CoordinatesTool::Epoch1, "1950x", "ILLEGAL! Use format: year[.decimal]"},
        {CoordinatesTool::Epoch2, "1e300", "ILLEGAL! Use format: year[.decimal]"},
    };
    int beeps = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(tool.Edit(c.field, c.text));
        EXPECT_EQ(host.BeepCount(), ++beeps);
        EXPECT_EQ(tool.Hint(), c.hint);
        EXPECT_EQ(tool.Text(c.field), c.text); // the user's text stays for correction
        EXPECT_EQ(tool.Ra(), ra);
        EXPECT_EQ(tool.Dec(), dec);
    }
    EXPECT_EQ(tool.Text(CoordinatesTool::Degrees), "10, 91");
    EXPECT_EQ(tool.Text(CoordinatesTool::Radians), "  0.187,  0.720");
    EXPECT_EQ(tool.Text(CoordinatesTool::Epoch1), "1950x");
    EXPECT_NE(degrees, tool.Text(CoordinatesTool::Degrees));
}

// Every notation read back gives the position it was printed from, within its precision.
TEST_F(CoordinatesToolTest, EveryFieldReadsBackItsOwnText) {
    const struct {
        double raDeg;
        double decDeg;
    } positions[] = {{10.6847, 41.2687}, {83.8221, -5.3911}, {266.4, -28.94},
                     {359.99, 89.5},     {0.01, -89.2},      {201.3651, -43.0191}};
    const struct {
        int field;
        double tolerance; // rad
    } fields[] = {
        {CoordinatesTool::RaDec1, 1.5 * kArcsec},
        {CoordinatesTool::Degrees, 0.0008 * kDegToRad},
        {CoordinatesTool::DegMinSec, 0.08 * kArcsec},
        {CoordinatesTool::Radians, 0.0008},
        {CoordinatesTool::Hours, 0.0008 * 15 * kDegToRad},
        {CoordinatesTool::Ecliptic, 0.0008 * kDegToRad},
        {CoordinatesTool::EclipticDms, 0.08 * kArcsec},
        {CoordinatesTool::Galactic, 0.0008 * kDegToRad},
        {CoordinatesTool::GalacticDms, 0.08 * kArcsec},
        {CoordinatesTool::Supergalactic, 0.0008 * kDegToRad},
        {CoordinatesTool::SupergalacticDms, 0.08 * kArcsec},
        {CoordinatesTool::AzimuthAlt, 0.08 * kArcsec},
        {CoordinatesTool::RaDec2, 1.5 * kArcsec},
    };
    for (const auto &p : positions) {
        tool.SetJ2000Position(p.raDeg * kDegToRad, p.decDeg * kDegToRad);
        for (const auto &f : fields) {
            SCOPED_TRACE(std::string(CoordinatesTool::Label(f.field)) + " " + tool.Text(f.field));
            CoordinatesTool reader(host, place);
            ASSERT_TRUE(reader.Edit(CoordinatesTool::Epoch2, "1950"));
            ASSERT_TRUE(tool.Edit(CoordinatesTool::Epoch2, "1950"));
            ASSERT_TRUE(reader.Edit(f.field, tool.Text(f.field)));
            // Near the pole right ascension differences shrink on the sky.
            EXPECT_LT(Separation(reader.Ra(), reader.Dec(), tool.Ra(), tool.Dec()), f.tolerance);
        }
    }
    EXPECT_EQ(host.BeepCount(), 0);
}

TEST_F(CoordinatesToolTest, EpochsPrecessTheSecondRaDec) {
    ASSERT_TRUE(tool.Edit(CoordinatesTool::RaDec1, "004244.3+411609"));
    ASSERT_TRUE(tool.Edit(CoordinatesTool::Epoch2, "1950"));
    // M31 for B1950 is 00h40m00.3s +40d59'43" (RC3), rounded to 1"; the FK4 frame and its
    // E-terms, which plain precession leaves out, add up to about a second more.
    double ra = 0.0;
    double dec = 0.0;
    ASSERT_TRUE(ParseRaDec(tool.Text(CoordinatesTool::RaDec2), ra, dec));
    EXPECT_LT(Separation(ra, dec, (40 / 60.0 + 0.3 / 3600.0) * kHourToRad,
                         (40 + 59 / 60.0 + 43 / 3600.0) * kDegToRad),
              3.0 * kArcsec);
    // A RaDec typed for epoch 2 comes back as the epoch 1 position.
    CoordinatesTool other(host, place);
    ASSERT_TRUE(other.Edit(CoordinatesTool::Epoch2, "1950"));
    ASSERT_TRUE(other.Edit(CoordinatesTool::RaDec2, "0040003+405943"));
    EXPECT_EQ(other.Text(CoordinatesTool::RaDec1).substr(0, 5), "00424");
    // Changing epoch 1 keeps its RaDec text and reads it in the new equinox.
    ASSERT_TRUE(tool.Edit(CoordinatesTool::Epoch1, "1950"));
    EXPECT_EQ(tool.Text(CoordinatesTool::RaDec1), "004244.3+411609");
    EXPECT_EQ(tool.Text(CoordinatesTool::RaDec2), "004244.3+411609");
    double j2000Ra = 0.0;
    double j2000Dec = 0.0;
    tool.J2000Position(j2000Ra, j2000Dec);
    EXPECT_GT(Separation(j2000Ra, j2000Dec, tool.Ra(), tool.Dec()), 0.25 * kDegToRad);
}

TEST_F(CoordinatesToolTest, HorizonFieldFollowsThePlaceAndInstant) {
    // At the instant the local sidereal time equals the right ascension, the position
    // transits: due south, at 90 - latitude + declination.
    const double ra = 5.0 * kHourToRad;
    const double dec = 10.0 * kDegToRad;
    const double lstDays = 5.0 / 24.0 - place.Longitude() / 360.0;
    place.SetInstant(SiderealToUT(std::floor(kJ2000) + 0.5 + lstDays));
    tool.SetJ2000Position(ra, dec);
    EXPECT_EQ(tool.Text(CoordinatesTool::AzimuthAlt).substr(0, 4), "180d");
    double az = 0.0;
    double alt = 0.0;
    place.AzimuthAltitude(ra, dec, az, alt);
    EXPECT_NEAR(alt / kDegToRad, 90.0 - 42.4 + 10.0, 0.01);
    // Refresh after the instant moved rewrites the horizon field only.
    const std::string before = tool.Text(CoordinatesTool::AzimuthAlt);
    const std::string radec = tool.Text(CoordinatesTool::RaDec1);
    place.SetInstant(place.Instant() + 0.1);
    tool.Refresh();
    EXPECT_NE(tool.Text(CoordinatesTool::AzimuthAlt), before);
    EXPECT_EQ(tool.Text(CoordinatesTool::RaDec1), radec);
    EXPECT_EQ(tool.PlaceLabel(), "Home at " + place.LocalTimeText(place.Instant(), true));
}

TEST_F(CoordinatesToolTest, FocusShowsTheFormat) {
    tool.Focus(CoordinatesTool::AzimuthAlt);
    EXPECT_EQ(tool.Hint(), "Format: ###d[ ###'[ ###\"]],{+/-}###d[ ###'[ ###\"]]");
    tool.Focus(CoordinatesTool::Supergalactic);
    EXPECT_EQ(tool.Hint(), "Format: degrees[.dec]{+/-}degrees[.dec]");
}

// --- Times ------------------------------------------------------------------------------

class TimesToolTest : public ::testing::Test {
protected:
    platform::HeadlessHost host;
    ObservingPlace place = Place();
    int notices = 0;
    TimesTool tool{host, place, [this] { ++notices; }};
};

TEST_F(TimesToolTest, EveryFieldOfOneInstant) {
    EXPECT_EQ(tool.Text(TimesTool::JulianDay), "2451545.000000");
    EXPECT_EQ(tool.Text(TimesTool::UniversalTime), "2000/01/01 12:00:00");
    EXPECT_EQ(tool.Text(TimesTool::LocalTime), "2000/01/01 07:00:00");
    EXPECT_EQ(tool.Label(TimesTool::LocalTime), "Local Time (EST)");
    EXPECT_EQ(tool.Label(TimesTool::JulianDay), "Julian Date");
    // GMST at 2000 January 1, 12h UT is 18h41m50.5s; local sidereal time 71.1 deg west of it.
    EXPECT_EQ(tool.Text(TimesTool::GreenwichSidereal).substr(11), "18:41:50");
    EXPECT_EQ(tool.Text(TimesTool::LocalSidereal).substr(11), "13:57:26");
}

TEST_F(TimesToolTest, EditingAnyFieldMovesTheInstant) {
    ASSERT_TRUE(tool.Edit(TimesTool::LocalTime, "2000/07/01 20:00:00"));
    EXPECT_EQ(tool.Text(TimesTool::UniversalTime), "2000/07/02 00:00:00");
    EXPECT_EQ(tool.Label(TimesTool::LocalTime), "Local Time (EDT)");
    EXPECT_EQ(tool.Text(TimesTool::LocalTime), "2000/07/01 20:00:00");
    EXPECT_EQ(tool.Hint(), "Format: yyyy/mm/dd hh:mm:ss");
    EXPECT_EQ(notices, 1);

    ASSERT_TRUE(tool.Edit(TimesTool::JulianDay, " 2451544.5 "));
    EXPECT_EQ(tool.Text(TimesTool::UniversalTime), "2000/01/01 00:00:00");
    EXPECT_EQ(tool.Text(TimesTool::GreenwichSidereal).substr(11), "06:39:52");

    // Each sidereal field read back gives the instant it was printed from.
    for (int field : {TimesTool::GreenwichSidereal, TimesTool::LocalSidereal}) {
        ASSERT_TRUE(tool.Edit(TimesTool::UniversalTime, "2010/03/15 03:20:10"));
        const double expected = place.Instant();
        const std::string sidereal = tool.Text(field);
        ASSERT_TRUE(tool.Edit(TimesTool::JulianDay, "2440000.5"));
        ASSERT_TRUE(tool.Edit(field, sidereal));
        EXPECT_NEAR((place.Instant() - expected) * 86400.0, 0.0, 1.5) << sidereal;
    }
    EXPECT_EQ(notices, 8);
}

TEST_F(TimesToolTest, TheReferenceSiderealFollowsTheInstant) {
    const double before = place.HoursPastNoon(0.0);
    ASSERT_TRUE(tool.Edit(TimesTool::UniversalTime, "2000/04/01 12:00:00"));
    // Three months later the sky has turned by about six hours.
    EXPECT_NEAR(std::fmod(place.HoursPastNoon(0.0) - before + 48.0, 24.0), 18.0, 0.2);
}

TEST_F(TimesToolTest, IllegalTextsKeepTheInstant) {
    for (const char *text :
         {"2000-01-01 12:00:00", "2000/13/01 12:00:00", "2000/01/01 25:00:00", "", "2000/01/01"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(tool.Edit(TimesTool::UniversalTime, text));
        EXPECT_EQ(tool.Hint(), "ILLEGAL! Use format: yyyy/mm/dd hh:mm:ss");
        EXPECT_EQ(place.Instant(), kJ2000);
    }
    for (const char *text : {"abc", "-5", "2451545x", "1e99"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(tool.Edit(TimesTool::JulianDay, text));
        EXPECT_EQ(tool.Hint(), "ILLEGAL! Use format: days[.decimal]");
    }
    EXPECT_EQ(host.BeepCount(), 9);
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(tool.Text(TimesTool::LocalTime), "2000/01/01 07:00:00");
}

TEST_F(TimesToolTest, NowTakesThePresentMoment) {
    tool.Now();
    EXPECT_EQ(notices, 1);
    EXPECT_GT(place.Instant(), 2461000.0); // after 2025
    EXPECT_EQ(tool.Text(TimesTool::UniversalTime), FormatDateTime(place.Instant()));
}

// --- Distances --------------------------------------------------------------------------

class DistancesToolTest : public ::testing::Test {
protected:
    platform::HeadlessHost host;
    DistancesTool tool{host};
};

TEST_F(DistancesToolTest, OneParsecInEveryUnit) {
    ASSERT_TRUE(tool.Edit(DistancesTool::Parsec, "1"));
    EXPECT_EQ(tool.Text(DistancesTool::Parsec), "1");
    // The light-year factor is the program's own (9.46047e15 m), 2e-5 above the IAU value.
    EXPECT_EQ(tool.Text(DistancesTool::LightYear), "3.26163");
    EXPECT_EQ(tool.Text(DistancesTool::AstUnit), "206265");
    EXPECT_EQ(tool.Text(DistancesTool::Kilometer), "3.08568e+13");
    EXPECT_EQ(tool.Text(DistancesTool::Meter), "3.08568e+16");
    EXPECT_EQ(tool.Text(DistancesTool::Mile), "1.91735e+13");
    EXPECT_EQ(tool.Text(DistancesTool::Angstrom), "3.08568e+26");
    EXPECT_EQ(tool.Text(DistancesTool::Rv), "7e-05");
    EXPECT_EQ(tool.Text(DistancesTool::Hubble), "70");
}

TEST_F(DistancesToolTest, VelocitiesGoThroughTheHubbleParameter) {
    // The tool starts at one megaparsec: the velocity is the Hubble parameter itself.
    EXPECT_EQ(tool.Text(DistancesTool::Rv), "70");
    EXPECT_EQ(tool.Text(DistancesTool::Redshift), "0.000233361");
    ASSERT_TRUE(tool.Edit(DistancesTool::Redshift, "1"));
    // (1 + z)^2 = (c + v)/(c - v): z = 1 is 0.6 c.
    EXPECT_EQ(tool.Text(DistancesTool::Rv), "180000");
    EXPECT_EQ(tool.Text(DistancesTool::Parsec), "2.57143e+09");
    // A new Hubble parameter keeps the distance.
    ASSERT_TRUE(tool.Edit(DistancesTool::Hubble, "50"));
    EXPECT_EQ(tool.Text(DistancesTool::Parsec), "2.57143e+09");
    EXPECT_EQ(tool.Text(DistancesTool::Rv), "128571");
    ASSERT_TRUE(tool.Edit(DistancesTool::Rv, "-100"));
    EXPECT_EQ(tool.Text(DistancesTool::Parsec), "-2e+06");
    EXPECT_EQ(tool.Text(DistancesTool::Redshift), "-0.000333278");
    // Beyond the speed of light there is no redshift to show.
    ASSERT_TRUE(tool.Edit(DistancesTool::Parsec, "1e11"));
    EXPECT_EQ(tool.Text(DistancesTool::Redshift), "");
}

TEST_F(DistancesToolTest, RefusedValuesKeepTheDistance) {
    const double metres = tool.Metres();
    const struct {
        int field;
        const char *text;
    } cases[] = {{DistancesTool::Meter, "abc"},      {DistancesTool::Meter, ""},
                 {DistancesTool::Meter, "5 m"},      {DistancesTool::Redshift, "-1"},
                 {DistancesTool::Hubble, "0"},       {DistancesTool::Hubble, "-70"},
                 {DistancesTool::Kilometer, "1e400"}};
    int beeps = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(tool.Edit(c.field, c.text));
        EXPECT_EQ(host.BeepCount(), ++beeps);
        EXPECT_EQ(tool.Metres(), metres);
        EXPECT_EQ(tool.HubbleParameter(), 70.0);
        EXPECT_EQ(tool.Hint().rfind("ILLEGAL! Use format: ", 0), 0u);
    }
}

TEST(DistanceUnits, EveryUnitNamesItsField) {
    for (int field = 0; field < DistancesTool::kFieldCount; ++field) {
        if (field != DistancesTool::Redshift) {
            EXPECT_EQ(DistancesTool::FieldOfUnit(DistancesTool::Unit(field)), field);
        }
    }
    EXPECT_EQ(DistancesTool::FieldOfUnit("z"), DistancesTool::Redshift);
    EXPECT_EQ(DistancesTool::FieldOfUnit("furlong"), -1);
    EXPECT_EQ(DistancesTool::FieldOfUnit(""), -1);
}

} // namespace
} // namespace vespario
