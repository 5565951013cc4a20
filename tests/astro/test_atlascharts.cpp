// The seven atlas chart look-ups and their chart centres, checked against a plain model of
// each atlas's layout: every chart as a rectangle of declination and right ascension,
// written from the atlas's bands in degrees and minutes of time (not from the look-ups'
// factors). The model is the reference: every position of a dense sky grid and of the
// OpenNGC catalogue must lie on the rectangle of its chart, grid neighbours must land on
// charts whose rectangles touch, and every chart must be reached.

#include "astro/atlascharts.h"

#include "astro/constants.h"
#include "astro/radectext.h"
#include "openngcpositions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace vespario {
namespace {

constexpr StarAtlas kAtlases[] = {
    StarAtlas::SkyAtlas,   StarAtlas::Uranometria, StarAtlas::AstroAtlasB, StarAtlas::AstroAtlasC,
    StarAtlas::EdmundMag5, StarAtlas::EdmundMag6,  StarAtlas::Msa};

const char *Name(StarAtlas atlas) {
    static const char *const names[] = {"SkyAtlas",   "Uranometria", "AstroAtlasB", "AstroAtlasC",
                                        "EdmundMag5", "EdmundMag6",  "MSA"};
    return names[static_cast<int>(atlas)];
}

// --- The model: each chart a rectangle -------------------------------------------------

struct ChartRect {
    bool defined = false;
    double decLow = 0.0, decHigh = 0.0;   // degrees
    double raStart = 0.0, raLength = 0.0; // minutes of time from 0h, eastward; wraps at 1440
};

using Layout = std::vector<ChartRect>; // indexed by chart number

void Put(Layout &layout, int chart, double decLow, double decHigh, double raStart,
         double raLength) {
    ASSERT_GE(chart, 1);
    ASSERT_LT(chart, static_cast<int>(layout.size()));
    ASSERT_FALSE(layout[chart].defined) << "chart " << chart << " twice";
    layout[chart] = {true, decLow, decHigh, std::fmod(raStart + 1440.0, 1440.0), raLength};
}

// A band of n equal charts numbered eastward from 0h (or from `from` minutes).
void EastwardBand(Layout &layout, int first, int n, double decLow, double decHigh,
                  double from = 0.0) {
    for (int i = 0; i < n; ++i)
        Put(layout, first + i, decLow, decHigh, from + i * 1440.0 / n, 1440.0 / n);
}

Layout SkyAtlasLayout() {
    Layout l(27);
    EastwardBand(l, 1, 3, 50, 90);
    EastwardBand(l, 4, 6, 20, 50);
    EastwardBand(l, 10, 8, -20, 20);
    EastwardBand(l, 18, 6, -50, -20);
    EastwardBand(l, 24, 3, -90, -50);
    return l;
}

// Uranometria: the first chart of a band straddles 0h, centred on 0h (on 0h10m in the
// bands of 12); the right ascension is first rounded to the whole minute, so every edge
// sits half a minute after a whole minute.
Layout UranometriaLayout() {
    Layout l(474);
    struct Band {
        double decLow, decHigh;
        int first, n;
        double firstEdge; // minutes: where the second chart starts
    };
    const Band bands[] = {
        {72.5, 84.5, 3, 12, 70.5}, {61, 72.5, 15, 20, 36.5},    {50, 61, 35, 24, 30.5},
        {39, 50, 59, 30, 24.5},    {28, 39, 89, 36, 20.5},      {17, 28, 125, 45, 16.5},
        {5.5, 17, 170, 45, 16.5},  {-5.5, 5.5, 215, 45, 16.5},  {-17, -5.5, 260, 45, 16.5},
        {-28, -17, 305, 45, 16.5}, {-39, -28, 350, 36, 20.5},   {-50, -39, 386, 30, 24.5},
        {-61, -50, 416, 24, 30.5}, {-72.5, -61, 440, 20, 36.5}, {-84.5, -72.5, 460, 12, 70.5}};
    for (const Band &b : bands)
        EastwardBand(l, b.first, b.n, b.decLow, b.decHigh, b.firstEdge - 1440.0 / b.n);
    Put(l, 1, 84.5, 90, 0, 720.5);
    Put(l, 2, 84.5, 90, 720.5, 719.5);
    Put(l, 472, -90, -84.5, 0, 720.5);
    Put(l, 473, -90, -84.5, 720.5, 719.5);
    return l;
}

Layout AstroAtlasBLayout() {
    Layout l(17);
    Put(l, 2, 52.5, 90, 0, 720);
    Put(l, 1, 52.5, 90, 720, 720);
    Put(l, 15, -90, -52.5, 0, 720);
    Put(l, 16, -90, -52.5, 720, 720);
    // Four-hour charts centred on 0h, 4h, ... 20h: 3, 13, 11, 9, 7, 5 north; +1 south.
    const int north[6] = {3, 13, 11, 9, 7, 5};
    for (int i = 0; i < 6; ++i) {
        Put(l, north[i], 0, 52.5, i * 240.0 - 120.0, 240);
        Put(l, north[i] + 1, -52.5, 0, i * 240.0 - 120.0, 240);
    }
    return l;
}

Layout AstroAtlasCLayout() {
    Layout l(95);
    Put(l, 2, 75, 90, 0, 720);
    Put(l, 1, 75, 90, 720, 720);
    Put(l, 93, -90, -75, 0, 720);
    Put(l, 94, -90, -75, 720, 720);
    // Charts of 80 minutes numbered westward from the one centred on 0h.
    const double bands[4][3] = {{45, 75, 3}, {15, 45, 21}, {-15, 15, 39}, {-45, -15, 57}};
    for (const auto &b : bands)
        for (int i = 0; i < 18; ++i)
            Put(l, static_cast<int>(b[2]) + i, b[0], b[1], -40.0 - 80.0 * i, 80);
    for (int i = 0; i < 18; ++i)
        Put(l, 75 + i, -75, -45, -40.0 - 80.0 * i, 80);
    return l;
}

Layout EdmundMag5Layout() {
    Layout l(8);
    Put(l, 1, 50, 90, 0, 1440);
    Put(l, 7, -90, -50, 0, 1440);
    Put(l, 2, -50, 50, 20.5 * 60, 5 * 60);
    Put(l, 3, -50, 50, 1.5 * 60, 4.5 * 60);
    Put(l, 4, -50, 50, 6 * 60, 4.5 * 60);
    Put(l, 5, -50, 50, 10.5 * 60, 5 * 60);
    Put(l, 6, -50, 50, 15.5 * 60, 5 * 60);
    return l;
}

Layout EdmundMag6Layout() {
    Layout l(13);
    EastwardBand(l, 1, 3, 40, 90);
    EastwardBand(l, 4, 6, -40, 40);
    EastwardBand(l, 10, 3, -90, -40);
    return l;
}

// MSA: three volumes of 8 hours; in each band of 6 degrees the charts are numbered
// westward from the band's last chart at the volume's 0h, each `minutes` wide; the last
// chart of a band may be cut short by the volume's end.
Layout MsaLayout() {
    Layout l(1549);
    struct Band {
        double decLow;
        int last;
        double minutes;
    };
    const Band bands[] = {{87, 2, 240},   {81, 6, 120},    {75, 14, 60},   {69, 24, 48},
                          {63, 36, 40},   {57, 50, 35},    {51, 66, 30},   {45, 86, 24},
                          {39, 106, 24},  {33, 128, 22},   {27, 150, 22},  {21, 174, 20},
                          {15, 198, 20},  {9, 222, 20},    {3, 246, 20},   {-3, 270, 20},
                          {-9, 294, 20},  {-15, 318, 20},  {-21, 342, 20}, {-27, 366, 20},
                          {-33, 388, 22}, {-39, 410, 22},  {-45, 430, 24}, {-51, 450, 24},
                          {-57, 466, 30}, {-63, 480, 35},  {-69, 492, 40}, {-75, 502, 48},
                          {-81, 510, 60}, {-87, 514, 120}, {-90, 516, 240}};
    for (int volume = 0; volume < 3; ++volume) {
        double decHigh = 90.0;
        int previous = 0;
        for (const Band &b : bands) {
            for (int j = 0; j < b.last - previous; ++j) {
                const double start = j * b.minutes;
                const double length = std::min(b.minutes, 480.0 - start);
                Put(l, 516 * volume + b.last - j, b.decLow, decHigh, 480.0 * volume + start,
                    length);
            }
            previous = b.last;
            decHigh = b.decLow;
        }
    }
    return l;
}

const Layout &LayoutOf(StarAtlas atlas) {
    static const std::vector<Layout> layouts = {
        SkyAtlasLayout(),   UranometriaLayout(), AstroAtlasBLayout(), AstroAtlasCLayout(),
        EdmundMag5Layout(), EdmundMag6Layout(),  MsaLayout()};
    return layouts[static_cast<int>(atlas)];
}

double EastOf(double from, double to) {
    return std::fmod(to - from + 2880.0, 1440.0);
}

bool Contains(const ChartRect &r, double raMinutes, double decDeg, double slack = 1e-6) {
    return decDeg >= r.decLow - slack && decDeg <= r.decHigh + slack &&
           (r.raLength >= 1440.0 || EastOf(r.raStart, raMinutes) < r.raLength + slack ||
            EastOf(raMinutes, r.raStart) < slack);
}

bool Touch(const ChartRect &a, const ChartRect &b) {
    const double slack = 1e-6;
    if (a.decLow > b.decHigh + slack || b.decLow > a.decHigh + slack)
        return false;
    return a.raLength >= 1440.0 || b.raLength >= 1440.0 ||
           EastOf(a.raStart, b.raStart) <= a.raLength + slack ||
           EastOf(b.raStart, a.raStart) <= b.raLength + slack;
}

double RaOfMinutes(double minutes) {
    return minutes / 60.0 * kHourToRad;
}

// --- The model is a partition of the sky -----------------------------------------------

TEST(AtlasLayoutModel, EveryChartIsDefinedOnce) {
    for (StarAtlas atlas : kAtlases) {
        const Layout &layout = LayoutOf(atlas);
        ASSERT_EQ(static_cast<int>(layout.size()), AtlasChartCount(atlas) + 1) << Name(atlas);
        for (int chart = 1; chart <= AtlasChartCount(atlas); ++chart)
            EXPECT_TRUE(layout[chart].defined) << Name(atlas) << " " << chart;
    }
}

// --- The edge cases --------------------------------------------------------------------

struct ChartRow {
    StarAtlas atlas;
    const char *radec; // J2000, as a stored RaDec text
    int chart;
    const char *why;
};

class AtlasChartOfText : public ::testing::TestWithParam<ChartRow> {};

TEST_P(AtlasChartOfText, GivesTheChart) {
    const ChartRow &row = GetParam();
    double ra = 0.0, dec = 0.0;
    ASSERT_TRUE(ParseRaDec(row.radec, ra, dec)) << row.radec;
    EXPECT_EQ(AtlasChart(row.atlas, ra, dec), row.chart)
        << Name(row.atlas) << " " << row.radec << ": " << row.why;
}

using A = StarAtlas;

INSTANTIATE_TEST_SUITE_P(
    Edges, AtlasChartOfText,
    ::testing::Values(
        // SkyAtlas: the bands are "above" their limits.
        ChartRow{A::SkyAtlas, "0000+90", 1, "north pole"},
        ChartRow{A::SkyAtlas, "0000+50", 4, "exactly +50 is in 4-9"},
        ChartRow{A::SkyAtlas, "0000+5000", 4, "+50 written as ddmm"},
        ChartRow{A::SkyAtlas, "0000+500000", 4, "+50 written as ddmmss"},
        ChartRow{A::SkyAtlas, "0000+50.0", 4, "+50 written as dd.d"},
        ChartRow{A::SkyAtlas, "0000+500001", 1, "a second above +50"},
        ChartRow{A::SkyAtlas, "0800+60", 2, "8h00m starts chart 2"},
        ChartRow{A::SkyAtlas, "075959.9+60", 1, "just before 8h"},
        ChartRow{A::SkyAtlas, "1600+60", 3, "16h00m starts chart 3"},
        ChartRow{A::SkyAtlas, "235959.9+60", 3, "the last chart of the band"},
        ChartRow{A::SkyAtlas, "0400+30", 5, "4h00m starts chart 5"},
        ChartRow{A::SkyAtlas, "0000+20", 10, "exactly +20 is in 10-17"},
        ChartRow{A::SkyAtlas, "0000-20", 18, "exactly -20 is in 18-23"},
        ChartRow{A::SkyAtlas, "0000-50", 24, "exactly -50 is in 24-26"},
        ChartRow{A::SkyAtlas, "1200-90", 25, "south pole"},
        // Uranometria: minutes rounded; the band's first chart straddles 0h.
        ChartRow{A::Uranometria, "2342-20", 349, "the last chart of its band"},
        ChartRow{A::Uranometria, "2350-20", 305, "past the band's limit: the 0h chart"},
        ChartRow{A::Uranometria, "1200+85", 1, "m = 720 is chart 1"},
        ChartRow{A::Uranometria, "1201+85", 2, "m = 721 is chart 2"},
        ChartRow{A::Uranometria, "120029+85", 1, "12h00m29s rounds to 720"},
        ChartRow{A::Uranometria, "120030+85", 2, "12h00m30s rounds to 721"},
        ChartRow{A::Uranometria, "235959+85", 2, "rounds to 1440, still chart 2"},
        ChartRow{A::Uranometria, "0000+90", 1, "north pole"},
        ChartRow{A::Uranometria, "0000+84.5", 3, "exactly +84.5 is not above it"},
        ChartRow{A::Uranometria, "0000+8430", 3, "+84.5 written as ddmm"},
        ChartRow{A::Uranometria, "0000+8431", 1, "a minute above +84.5"},
        ChartRow{A::Uranometria, "0110+73", 3, "m = 70: still the 0h chart"},
        ChartRow{A::Uranometria, "0111+73", 4, "m = 71: the next"},
        ChartRow{A::Uranometria, "2310+73", 14, "m = 1390: the band's last chart"},
        ChartRow{A::Uranometria, "2311+73", 3, "m = 1391: the 0h chart again"},
        ChartRow{A::Uranometria, "0000+7230", 3, "from +72.5 inclusive"},
        ChartRow{A::Uranometria, "0000+7229", 15, "below +72.5"},
        ChartRow{A::Uranometria, "0000-28", 305, "exactly -28 is in its band"},
        ChartRow{A::Uranometria, "0000-2800", 305, "-28 written as ddmm"},
        ChartRow{A::Uranometria, "0000-2801", 350, "below -28"},
        ChartRow{A::Uranometria, "0000-05.5", 215, "exactly -5.5"},
        ChartRow{A::Uranometria, "0000-8430", 460, "exactly -84.5 is in 460-471"},
        ChartRow{A::Uranometria, "0000-8431", 472, "below -84.5"},
        ChartRow{A::Uranometria, "1200-89", 472, "south polar, m = 720"},
        ChartRow{A::Uranometria, "1201-89", 473, "south polar, m = 721"},
        // AstroAtlasB: declination 0 counts as north.
        ChartRow{A::AstroAtlasB, "0000+00", 3, "0h, dec 0"},
        ChartRow{A::AstroAtlasB, "0200+00", 13, "2h"},
        ChartRow{A::AstroAtlasB, "0600+00", 11, "6h"},
        ChartRow{A::AstroAtlasB, "1000+00", 9, "10h"},
        ChartRow{A::AstroAtlasB, "1400+00", 7, "14h"},
        ChartRow{A::AstroAtlasB, "1800+00", 5, "18h"},
        ChartRow{A::AstroAtlasB, "2200+00", 3, "22h"},
        ChartRow{A::AstroAtlasB, "215959.9+00", 5, "just before 22h"},
        ChartRow{A::AstroAtlasB, "0159-0001", 4, "south of the equator"},
        ChartRow{A::AstroAtlasB, "0000+52.5", 3, "exactly +52.5 is not above it"},
        ChartRow{A::AstroAtlasB, "0000+5231", 2, "above +52.5, 0h-12h"},
        ChartRow{A::AstroAtlasB, "1200+60", 1, "12h-24h"},
        ChartRow{A::AstroAtlasB, "0000-52.5", 4, "exactly -52.5 is not below it"},
        ChartRow{A::AstroAtlasB, "0000-5231", 15, "below -52.5"},
        ChartRow{A::AstroAtlasB, "1200-90", 16, "south pole"},
        // AstroAtlasC: 80-minute charts against the right ascension.
        ChartRow{A::AstroAtlasC, "0000+75", 3, "exactly +75 is not above it"},
        ChartRow{A::AstroAtlasC, "0000+7501", 2, "above +75"},
        ChartRow{A::AstroAtlasC, "1200+80", 1, "12h-24h"},
        ChartRow{A::AstroAtlasC, "0039+60", 3, "the chart centred on 0h"},
        ChartRow{A::AstroAtlasC, "0040+60", 20, "0h40m starts the next, westward"},
        ChartRow{A::AstroAtlasC, "2320+60", 3, "23h20m starts the 0h chart"},
        ChartRow{A::AstroAtlasC, "2319+60", 4, "the chart before it"},
        ChartRow{A::AstroAtlasC, "0000+45", 21, "exactly +45 is in the next band"},
        ChartRow{A::AstroAtlasC, "0000-45", 75, "exactly -45 is in 75-92"},
        ChartRow{A::AstroAtlasC, "0000-75", 75, "exactly -75 is not below it"},
        ChartRow{A::AstroAtlasC, "0000-7501", 93, "below -75"},
        ChartRow{A::AstroAtlasC, "1200-90", 94, "south pole"},
        // EdmundMag5.
        ChartRow{A::EdmundMag5, "0000+5001", 1, "above +50"},
        ChartRow{A::EdmundMag5, "0000+50", 2, "exactly +50"},
        ChartRow{A::EdmundMag5, "0130+00", 3, "1h30m starts chart 3"},
        ChartRow{A::EdmundMag5, "012959.9+00", 2, "just before"},
        ChartRow{A::EdmundMag5, "0600+00", 4, "6h"},
        ChartRow{A::EdmundMag5, "1030+00", 5, "10h30m"},
        ChartRow{A::EdmundMag5, "1530+00", 6, "15h30m"},
        ChartRow{A::EdmundMag5, "2030+00", 2, "20h30m: chart 2 again"},
        ChartRow{A::EdmundMag5, "0000-50", 2, "exactly -50"},
        ChartRow{A::EdmundMag5, "0000-5001", 7, "below -50"},
        // EdmundMag6.
        ChartRow{A::EdmundMag6, "0000+40", 4, "exactly +40 is not above it"},
        ChartRow{A::EdmundMag6, "0000+4001", 1, "above +40"},
        ChartRow{A::EdmundMag6, "0800+41", 2, "8h"}, ChartRow{A::EdmundMag6, "2000+00", 9, "20h"},
        ChartRow{A::EdmundMag6, "0000-40", 4, "exactly -40"},
        ChartRow{A::EdmundMag6, "235959.9-41", 12, "the last chart"},
        // MSA: volumes of 8 hours, bands of 6 degrees from the top.
        ChartRow{A::Msa, "0100-36", 408, "-36 at 1h: band of base 410, two 22-minute charts"},
        ChartRow{A::Msa, "0800+00", 786, "8h00m starts volume two"},
        ChartRow{A::Msa, "0800.0+00", 786, "8h written as hhmm.m"},
        ChartRow{A::Msa, "080000+00", 786, "8h written as hhmmss"},
        ChartRow{A::Msa, "075959.9+00", 247, "the last chart of the band in volume one"},
        ChartRow{A::Msa, "1600+00", 1302, "16h00m starts volume three"},
        ChartRow{A::Msa, "235959.9+00", 1279, "the last chart of the band in volume three"},
        ChartRow{A::Msa, "0000+90", 2, "north pole"},
        ChartRow{A::Msa, "0400+88", 1, "the second polar chart"},
        ChartRow{A::Msa, "0000+87", 2, "exactly +87 is in the polar band"},
        ChartRow{A::Msa, "0000+8659", 6, "below +87"},
        ChartRow{A::Msa, "0000-87", 514, "exactly -87"},
        ChartRow{A::Msa, "0000-8701", 516, "below -87"},
        ChartRow{A::Msa, "0400-89", 515, "the other south polar chart"},
        ChartRow{A::Msa, "0800-89", 1032, "volume two's south polar chart"},
        ChartRow{A::Msa, "0000-90", 516, "south pole"},
        ChartRow{A::Msa, "0300+60", 45, "a 35-minute band: 50 - trunc(180 / 35)"},
        ChartRow{A::Msa, "0755+60", 37, "its short last chart"}));

TEST(AtlasCharts, TrueSouthPoleAndBeyondKeepAChart) {
    // The true pole (-pi/2 on the full pi) lies a hair below the program's -90 deg.
    for (double dec : {-M_PI / 2.0, -1.6, -3.0}) {
        EXPECT_EQ(MsaChart(0.1, dec), 516) << dec;
        EXPECT_EQ(UranometriaChart(0.1, dec), 472) << dec;
        EXPECT_EQ(SkyAtlasChart(0.1, dec), 24) << dec;
    }
    for (double dec : {M_PI / 2.0, 1.6, 3.0}) {
        EXPECT_EQ(MsaChart(0.1, dec), 2) << dec;
        EXPECT_EQ(AstroAtlasCChart(0.1, dec), 2) << dec;
    }
}

TEST(AtlasCharts, RightAscensionInAnyTurn) {
    double ra24 = 0.0, dec = 0.0;
    ASSERT_TRUE(ParseRaDec("2400+60", ra24, dec)); // parses to one full turn
    for (StarAtlas atlas : kAtlases) {
        EXPECT_EQ(AtlasChart(atlas, ra24, dec), AtlasChart(atlas, 0.0, dec)) << Name(atlas);
        for (double ra : {0.3, 2.9, 5.1}) {
            for (double d : {-1.2, -0.3, 0.4, 1.45}) {
                const int inTurn = AtlasChart(atlas, ra, d);
                EXPECT_EQ(AtlasChart(atlas, ra + kTwoPi, d), inTurn) << Name(atlas);
                EXPECT_EQ(AtlasChart(atlas, ra - kTwoPi, d), inTurn) << Name(atlas);
                EXPECT_EQ(AtlasChart(atlas, ra + 3 * kTwoPi, d), inTurn) << Name(atlas);
            }
        }
        // A right ascension a rounding error short of a full turn stays within the atlas.
        const int last = AtlasChart(atlas, std::nextafter(kTwoPi, 0.0), 0.2);
        EXPECT_GE(last, 1) << Name(atlas);
        EXPECT_LE(last, AtlasChartCount(atlas)) << Name(atlas);
        EXPECT_GE(AtlasChart(atlas, 2.0 * M_PI - 1e-12, -0.2), 1) << Name(atlas);
    }
}

TEST(AtlasCharts, NotANumberGivesNoChart) {
    for (StarAtlas atlas : kAtlases) {
        EXPECT_EQ(AtlasChart(atlas, std::nan(""), 0.1), kNoChart) << Name(atlas);
        EXPECT_EQ(AtlasChart(atlas, 0.1, std::nan("")), kNoChart) << Name(atlas);
        EXPECT_EQ(AtlasChart(atlas, INFINITY, 0.1), kNoChart) << Name(atlas);
    }
}

TEST(AtlasCharts, EveryChartEdgeOfTheModelStartsItsChart) {
    // A right ascension exactly on a chart's starting edge, in whole minutes of time as a
    // RaDec text, belongs to that chart (the rounding of trunc() must not move it).
    for (StarAtlas atlas : kAtlases) {
        const Layout &layout = LayoutOf(atlas);
        for (int chart = 1; chart <= AtlasChartCount(atlas); ++chart) {
            const ChartRect &r = layout[chart];
            if (r.raLength >= 1440.0 || r.raStart != std::floor(r.raStart))
                continue;
            const double dec = (r.decLow + r.decHigh) / 2.0 * kDegToRad;
            char text[24];
            std::snprintf(text, sizeof text, "%02d%02d%+03d", static_cast<int>(r.raStart) / 60,
                          static_cast<int>(r.raStart) % 60, 0);
            double ra = 0.0, ignored = 0.0;
            ASSERT_TRUE(ParseRaDec(text, ra, ignored)) << text;
            EXPECT_EQ(AtlasChart(atlas, ra, dec), chart) << Name(atlas) << " at " << text;
        }
    }
}

// --- The whole sky against the model ---------------------------------------------------

TEST(AtlasCharts, DenseGridLiesOnItsChartsReachesAllAndStepsOnlyToBorderingCharts) {
    const int rows = 1800, columns = 1440; // 0.1 deg by 1 minute of time
    for (StarAtlas atlas : kAtlases) {
        const Layout &layout = LayoutOf(atlas);
        const int count = AtlasChartCount(atlas);
        std::vector<int> previousRow(columns, 0);
        std::vector<bool> reached(count + 1, false);
        int failures = 0;
        for (int i = 0; i < rows && failures < 10; ++i) {
            const double decDeg = -90.0 + (i + 0.5) * 180.0 / rows;
            int west = 0, first = 0;
            for (int j = 0; j < columns && failures < 10; ++j) {
                const double raMinutes = j + 0.37;
                const int chart = AtlasChart(atlas, RaOfMinutes(raMinutes), decDeg * kDegToRad);
                if (chart < 1 || chart > count) {
                    ADD_FAILURE() << Name(atlas) << " chart " << chart << " out of range";
                    ++failures;
                    continue;
                }
                reached[chart] = true;
                if (!Contains(layout[chart], raMinutes, decDeg)) {
                    ADD_FAILURE() << Name(atlas) << " chart " << chart << " does not hold "
                                  << raMinutes << " min " << decDeg << " deg";
                    ++failures;
                }
                const int neighbours[2] = {west, previousRow[j]};
                for (int other : neighbours) {
                    if (other != 0 && other != chart && !Touch(layout[chart], layout[other])) {
                        ADD_FAILURE() << Name(atlas) << " steps from " << other << " to " << chart
                                      << " at " << raMinutes << " min " << decDeg;
                        ++failures;
                    }
                }
                west = chart;
                previousRow[j] = chart;
                first = j == 0 ? chart : first;
            }
            // Around the sky: 23h59m to 0h00m.
            if (first != west && !Touch(layout[first], layout[west])) {
                ADD_FAILURE() << Name(atlas) << " wraps from " << west << " to " << first;
                ++failures;
            }
        }
        for (int chart = 1; chart <= count; ++chart)
            EXPECT_TRUE(reached[chart]) << Name(atlas) << " chart " << chart << " never reached";
    }
}

TEST(AtlasCharts, EveryCatalogueObjectLiesOnItsChartInEveryAtlas) {
    const std::vector<testing::CatalogueObject> objects = testing::ReadOpenNgc();
    ASSERT_EQ(objects.size(), 13960u);
    for (StarAtlas atlas : kAtlases) {
        const Layout &layout = LayoutOf(atlas);
        std::set<int> charts;
        for (const testing::CatalogueObject &object : objects) {
            const int chart =
                AtlasChart(atlas, object.raDeg * kDegToRad, object.decDeg * kDegToRad);
            ASSERT_GE(chart, 1) << Name(atlas) << " " << object.name;
            ASSERT_LE(chart, AtlasChartCount(atlas)) << Name(atlas) << " " << object.name;
            // The catalogue gives six decimals of a degree: allow that much at the edges.
            ASSERT_TRUE(Contains(layout[chart], object.raDeg * 4.0, object.decDeg, 1e-5))
                << Name(atlas) << " " << object.name << " on chart " << chart;
            charts.insert(chart);
        }
        std::printf("%-12s charts with an object: %zu of %d\n", Name(atlas), charts.size(),
                    AtlasChartCount(atlas));
    }
}

// --- Chart centres ---------------------------------------------------------------------

TEST(ChartCentres, EveryCentreLiesOnItsOwnChart) {
    for (StarAtlas atlas : kAtlases) {
        const Layout &layout = LayoutOf(atlas);
        for (int chart = 1; chart <= AtlasChartCount(atlas); ++chart) {
            const double hours = ChartCentreHours(atlas, chart);
            ASSERT_GE(hours, 0.0) << Name(atlas) << " " << chart;
            ASSERT_LT(hours, 24.0) << Name(atlas) << " " << chart;
            const ChartRect &r = layout[chart];
            EXPECT_TRUE(Contains(r, hours * 60.0, (r.decLow + r.decHigh) / 2.0))
                << Name(atlas) << " chart " << chart << " centre " << hours << " h";
            const double dec = (r.decLow + r.decHigh) / 2.0 * kDegToRad;
            EXPECT_EQ(AtlasChart(atlas, hours * kHourToRad, dec), chart)
                << Name(atlas) << " chart " << chart << " centre " << hours << " h";
        }
    }
}

struct CentreRow {
    StarAtlas atlas;
    int chart;
    double hours;
};

class ChartCentreValues : public ::testing::TestWithParam<CentreRow> {};

TEST_P(ChartCentreValues, AsTheTablesGiveThem) {
    const CentreRow &row = GetParam();
    EXPECT_NEAR(ChartCentreHours(row.atlas, row.chart), row.hours, 1e-12)
        << Name(row.atlas) << " " << row.chart;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ChartCentreValues,
    ::testing::Values(CentreRow{A::SkyAtlas, 1, 4}, CentreRow{A::SkyAtlas, 17, 23},
                      CentreRow{A::SkyAtlas, 26, 20}, CentreRow{A::Uranometria, 1, 6},
                      CentreRow{A::Uranometria, 2, 18}, CentreRow{A::Uranometria, 3, 1.0 / 6},
                      CentreRow{A::Uranometria, 14, 22 + 1.0 / 6},
                      CentreRow{A::Uranometria, 16, 1.2},
                      CentreRow{A::Uranometria, 124, 35 * (40 / 60.0)},
                      CentreRow{A::Uranometria, 349, 44 * (32 / 60.0)},
                      CentreRow{A::Uranometria, 471, 22 + 1.0 / 6},
                      // The south polar pair as the look-up numbers them.
                      CentreRow{A::Uranometria, 472, 6}, CentreRow{A::Uranometria, 473, 18},
                      CentreRow{A::AstroAtlasB, 1, 18}, CentreRow{A::AstroAtlasB, 3, 0},
                      CentreRow{A::AstroAtlasB, 14, 4}, CentreRow{A::AstroAtlasB, 16, 18},
                      CentreRow{A::AstroAtlasC, 1, 18}, CentreRow{A::AstroAtlasC, 94, 18},
                      // The chart centred on 0h and its westward neighbours.
                      CentreRow{A::AstroAtlasC, 3, 0}, CentreRow{A::AstroAtlasC, 4, 22 + 2.0 / 3},
                      CentreRow{A::AstroAtlasC, 20, 4.0 / 3},
                      CentreRow{A::AstroAtlasC, 92, 4.0 / 3}, CentreRow{A::EdmundMag5, 2, 23},
                      CentreRow{A::EdmundMag5, 3, 3.75}, CentreRow{A::EdmundMag6, 9, 22},
                      CentreRow{A::EdmundMag6, 10, 4}, CentreRow{A::Msa, 1, 4},
                      CentreRow{A::Msa, 2, 0}, CentreRow{A::Msa, 6, 1},
                      CentreRow{A::Msa, 37, 13 * 0.5833333333333334 + 0.2916666666666667},
                      CentreRow{A::Msa, 247, 23 * 0.3333333333333333}, CentreRow{A::Msa, 516, 2},
                      CentreRow{A::Msa, 517, 12}, CentreRow{A::Msa, 1548, 18}));

TEST(ChartCentres, NoCentreForANumberThatIsNotAChart) {
    for (StarAtlas atlas : kAtlases) {
        EXPECT_EQ(ChartCentreHours(atlas, 0), -1.0) << Name(atlas);
        EXPECT_EQ(ChartCentreHours(atlas, -3), -1.0) << Name(atlas);
        EXPECT_EQ(ChartCentreHours(atlas, AtlasChartCount(atlas) + 1), -1.0) << Name(atlas);
    }
}

TEST(AtlasCharts, SevenFunctionsAreTheAtlasChartOfTheirAtlas) {
    int (*const functions[])(double, double) = {
        SkyAtlasChart,   UranometriaChart, AstroAtlasBChart, AstroAtlasCChart,
        EdmundMag5Chart, EdmundMag6Chart,  MsaChart};
    for (int i = 0; i < kStarAtlasCount; ++i)
        for (double ra = 0.05; ra < kTwoPi; ra += 0.41)
            for (double dec = -1.55; dec < 1.56; dec += 0.13)
                ASSERT_EQ(functions[i](ra, dec), AtlasChart(static_cast<StarAtlas>(i), ra, dec));
}

} // namespace
} // namespace vespario
