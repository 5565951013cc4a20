// The position getters over the real astronomy: the default place at its current instant.

#include "db/astropositions.h"

#include "astro/constants.h"
#include "astro/sidereal.h"
#include "docfixture.h"

#include <cmath>

namespace vespario {
namespace {

constexpr const char *kHome = "h=Home|-71.1|42.4|-5|1|3|0|9|5|0|0|EST|EDT";

// The place and its services exist before the document that refers to them.
struct PlaceHolder {
    PlaceHolder() {
        place.Parse(kHome);
        place.SetInstant(2451545.0);
    }
    ObservingPlace place;
    AstroPositionServices services{place};
};

class AstroGetters : private PlaceHolder, public test::DocFixture {
protected:
    AstroGetters() : DocFixture(&services) {}
    using PlaceHolder::place;

    // Moves the instant to when the local sidereal time is lstHours on 2000 January 1.
    void AtLocalSidereal(double lstHours) {
        place.SetInstant(SiderealToUT(2451544.5 + lstHours / 24.0 - place.Longitude() / 360.0));
    }
};

TEST_F(AstroGetters, PositionFields) {
    const int r = AddRecord({{field::RaDec, "0530+1030"}});
    EXPECT_DOUBLE_EQ(doc.GetReal(field::RaHour, r), 5.5);
    EXPECT_DOUBLE_EQ(doc.GetReal(field::DeclDeg, r), 10.5);
    EXPECT_EQ(doc.GetText(field::RaHour, r), "5.5");
}

TEST_F(AstroGetters, AzimuthAndAltitudeAtTransit) {
    const int r = AddRecord({{field::RaDec, "0500+10"}});
    AtLocalSidereal(5.0);
    EXPECT_NEAR(doc.GetReal(field::Azimuth, r), 180.0, 0.01);
    EXPECT_NEAR(doc.GetReal(field::Altitude, r), 90.0 - 42.4 + 10.0, 0.01);
    // Six sidereal hours later it stands in the west; nothing is cached across instants.
    AtLocalSidereal(11.0);
    EXPECT_GT(doc.GetReal(field::Azimuth, r), 250.0);
    EXPECT_LT(doc.GetReal(field::Altitude, r), 20.0);
}

TEST_F(AstroGetters, RiseTransitAndSetOrderTheNight) {
    const int r = AddRecord({{field::RaDec, "0500+10"}});
    const double rise = doc.GetReal(field::RiseHrs, r);
    const double transit = doc.GetReal(field::TransitHrs, r);
    const double set = doc.GetReal(field::SetHrs, r);
    EXPECT_LT(rise, transit);
    EXPECT_LT(transit, set);
    // The arc above the horizon is symmetric about the transit; at +10 deg from 42.4 deg it
    // lasts 2 x 6h37m sidereal, shortened to clock hours. The transit counts sidereal hours
    // past the night's noon and rise and set clock hours, which moves it by minutes; rise
    // and set are each the clock time of their sidereal time on the calendar day, which can
    // lie a day apart: up to one day's 3m56s between sidereal and solar time.
    EXPECT_NEAR(transit - rise, set - transit, 0.1);
    EXPECT_NEAR(set - rise, 2 * 6.6177 * 0.99727, 0.07);
    EXPECT_DOUBLE_EQ(transit, place.HoursPastNoon(5.0));
}

TEST_F(AstroGetters, PositionsThatNeverCross) {
    const int up = AddRecord({{field::RaDec, "1200+89"}});
    EXPECT_EQ(doc.GetReal(field::RiseHrs, up), 0.0);
    EXPECT_EQ(doc.GetReal(field::SetHrs, up), 48.0);
    const int down = AddRecord({{field::RaDec, "1200-60"}});
    EXPECT_EQ(doc.GetReal(field::RiseHrs, down), 49.0);
    EXPECT_EQ(doc.GetReal(field::SetHrs, down), -1.0);
    // One that never rises transits (below the horizon) on this night, not the next.
    EXPECT_LT(doc.GetReal(field::TransitHrs, down), 24.0);
}

TEST_F(AstroGetters, ASouthernPlaceTurnsTheCodesRound) {
    place.Parse("s=Siding Spring|149.06|-31.27|10|0|3|0|9|5|0|0|AEST|AEDT");
    const int south = AddRecord({{field::RaDec, "0524-6945"}}); // the Large Magellanic Cloud
    EXPECT_EQ(doc.GetReal(field::RiseHrs, south), 0.0);
    EXPECT_EQ(doc.GetReal(field::SetHrs, south), 48.0);
    const int north = AddRecord({{field::RaDec, "1200+70"}});
    EXPECT_EQ(doc.GetReal(field::RiseHrs, north), 49.0);
}

TEST_F(AstroGetters, ConstellationAndCharts) {
    const int m31 = AddRecord({{field::RaDec, "0042.7+4116"}});
    EXPECT_EQ(doc.GetText(field::Con, m31), "And");
    EXPECT_EQ(doc.GetText(field::Constellation, m31), "Andromeda");
    EXPECT_EQ(doc.GetInt(field::SkyAtlas, m31), 4);
    EXPECT_EQ(doc.GetInt(field::Uranometria, m31), 60);
    const int m42 = AddRecord({{field::RaDec, "0535.3-0523"}});
    EXPECT_EQ(doc.GetText(field::Constellation, m42), "Orion");
    EXPECT_EQ(doc.GetInt(field::SkyAtlas, m42), 11);
    // Every chart number lies in its atlas's range, and the chart hours are hours past noon.
    const struct {
        int chart;
        int hours;
        int last;
    } atlases[] = {{field::SkyAtlas, field::SkyAtlHrs, 26},
                   {field::Uranometria, field::UranHrs, 473},
                   {field::AstroAtlasB, field::AstAtlBHrs, 16},
                   {field::AstroAtlasC, field::AstAtlCHrs, 94},
                   {field::EdmundMag5, field::EdmMag5Hrs, 7},
                   {field::EdmundMag6, field::EdmMag6Hrs, 12},
                   {field::Msa, field::MsaHrs, 1548}};
    for (const auto &a : atlases) {
        for (int r : {m31, m42}) {
            const int chart = doc.GetInt(a.chart, r);
            EXPECT_GE(chart, 1) << a.chart;
            EXPECT_LE(chart, a.last) << a.chart;
            const double hours = doc.GetReal(a.hours, r);
            EXPECT_GE(hours, 0.0);
            EXPECT_LT(hours, 24.0);
        }
    }
    // A chart's hours differ from the object's own transit hours by at most the chart's width.
    EXPECT_NEAR(doc.GetReal(field::UranHrs, m31), place.HoursPastNoon(0.7117), 1.0);
    // The caches go with a new position.
    doc.SetCurrentRecord(m31, false, false);
    doc.SetFieldText(field::RaDec, "0535.3-0523");
    EXPECT_EQ(doc.GetText(field::Con, m31), "Ori");
    EXPECT_EQ(doc.GetInt(field::SkyAtlas, m31), 11);
}

TEST_F(AstroGetters, AnInvalidRaDecIsReportedAndReadsZero) {
    const int r = AddRecord({{field::RaDec, "12h30m +12"}});
    EXPECT_EQ(doc.GetReal(field::RaHour, r), 0.0);
    ASSERT_FALSE(host.Messages().empty());
    EXPECT_EQ(host.Messages().back(), "12h30m +12 is not a valid RaDec.");
    // Blanks between the parts are forgiven on the retry.
    const int spaced = AddRecord({{field::RaDec, "1230 +12"}});
    EXPECT_DOUBLE_EQ(doc.GetReal(field::RaHour, spaced), 12.5);
}

} // namespace
} // namespace vespario
