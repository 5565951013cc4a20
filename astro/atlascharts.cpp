#include "astro/atlascharts.h"

#include "astro/constants.h"

#include <array>
#include <cmath>
#include <vector>

namespace vespario {

namespace {

constexpr double kLimitToleranceRad = 1e-9; // a band limit, in whatever form it was written
constexpr double kStepTolerance = 1e-9;     // a chart edge, in charts (or minutes) of RA

// Charts per radian of right ascension for 3, 6 and 8 charts around the sky (n / 2 pi).
constexpr double kThreePerTurn = 0.47746482982126914;
constexpr double kSixPerTurn = 0.9549296596425383;
constexpr double kEightPerTurn = 1.273239546190051;
constexpr double kMinutesPerRad = 229.18311831420917; // 720 / pi: minutes of time
constexpr double kMsaVolumeRad = 2.0943951;           // 8 hours: one MSA volume

bool Above(double dec, double degrees) {
    return dec > degrees * kDegToRad + kLimitToleranceRad;
}
bool From(double dec, double degrees) {
    return dec >= degrees * kDegToRad - kLimitToleranceRad;
}
bool Below(double dec, double degrees) {
    return dec < degrees * kDegToRad - kLimitToleranceRad;
}

// The right ascension in 0...2 pi.
double ReduceRa(double ra) {
    ra = std::fmod(ra, kTwoPi);
    return ra < 0.0 ? ra + kTwoPi : ra;
}

// Which of count equal steps x (in steps) lies in: trunc(x), except that a value a rounding
// error below a whole step counts as that step, and never beyond the band's last step.
int Step(double x, int count) {
    const int step = static_cast<int>(std::floor(x + kStepTolerance));
    return step < 0 ? 0 : (step >= count ? count - 1 : step);
}

bool Finite(double ra, double dec) {
    return std::isfinite(ra) && std::isfinite(dec);
}

// --- Uranometria -------------------------------------------------------------------------

struct UranometriaBand {
    double lowerDeg; // "from" this declination; the first band is "above" it
    int first;       // minutes: the base chart covers m <= first and m > limit
    int width;       // minutes of each further chart
    int base;        // the chart that straddles 0h
    int limit;
};

constexpr std::array<UranometriaBand, 17> kUranometriaBands = {{
    {84.5, 720, 720, 1, 1441},
    {72.5, 70, 120, 3, 1390},
    {61.0, 36, 72, 15, 1404},
    {50.0, 30, 60, 35, 1410},
    {39.0, 24, 48, 59, 1416},
    {28.0, 20, 40, 89, 1420},
    {17.0, 16, 32, 125, 1424},
    {5.5, 16, 32, 170, 1424},
    {-5.5, 16, 32, 215, 1424},
    {-17.0, 16, 32, 260, 1424},
    {-28.0, 16, 32, 305, 1424},
    {-39.0, 20, 40, 350, 1420},
    {-50.0, 24, 48, 386, 1416},
    {-61.0, 30, 60, 416, 1410},
    {-72.5, 36, 72, 440, 1404},
    {-84.5, 70, 120, 460, 1390},
    {-90.0, 720, 720, 472, 1441},
}};

const UranometriaBand &UranometriaBandOf(double dec) {
    if (Above(dec, kUranometriaBands[0].lowerDeg))
        return kUranometriaBands[0];
    for (std::size_t i = 1; i + 1 < kUranometriaBands.size(); ++i) {
        if (From(dec, kUranometriaBands[i].lowerDeg))
            return kUranometriaBands[i];
    }
    return kUranometriaBands.back();
}

// --- MSA ---------------------------------------------------------------------------------

struct MsaBand {
    double lowerDeg;  // "from" this declination
    double factor;    // charts of the band in one volume per radian of right ascension
    int base;         // the band's last chart in volume one (at 0h of the volume)
    double widthHrs;  // W: hours per chart, for the centres
    double offsetHrs; // O: the centre's offset from the chart's starting edge
};

constexpr double kW20 = 0.3333333333333333, kW22 = 0.36666666666666664;
constexpr double kW35 = 0.5833333333333334, kO35 = 0.2916666666666667;
constexpr double kW40 = 0.6666666666666666;
constexpr double kF2 = 0.9549296596425382, kF4 = 1.9098593192850764, kF8 = 3.8197186385701527;
constexpr double kF10 = 4.774648298212691, kF12 = 5.72957795785523, kF14 = 6.54808909469169;
constexpr double kF16 = 7.639437277140305, kF20 = 9.549296596425382;
constexpr double kF22 = 10.417414468827689, kF24 = 11.45915591571046;

constexpr std::array<MsaBand, 31> kMsaBands = {{
    {87, kF2, 2, 4.0, 0.0},      {81, kF4, 6, 2.0, 1.0},       {75, kF8, 14, 1.0, 0.0},
    {69, kF10, 24, 0.8, 0.0},    {63, kF12, 36, kW40, 0.0},    {57, kF14, 50, kW35, kO35},
    {51, kF16, 66, 0.5, 0.0},    {45, kF20, 86, 0.4, 0.0},     {39, kF20, 106, 0.4, 0.0},
    {33, kF22, 128, kW22, 0.0},  {27, kF22, 150, kW22, 0.0},   {21, kF24, 174, kW20, 0.0},
    {15, kF24, 198, kW20, 0.0},  {9, kF24, 222, kW20, 0.0},    {3, kF24, 246, kW20, 0.0},
    {-3, kF24, 270, kW20, 0.0},  {-9, kF24, 294, kW20, 0.0},   {-15, kF24, 318, kW20, 0.0},
    {-21, kF24, 342, kW20, 0.0}, {-27, kF24, 366, kW20, 0.0},  {-33, kF22, 388, kW22, 0.0},
    {-39, kF22, 410, kW22, 0.0}, {-45, kF20, 430, 0.4, 0.0},   {-51, kF20, 450, 0.4, 0.0},
    {-57, kF16, 466, 0.5, 0.0},  {-63, kF14, 480, kW35, kO35}, {-69, kF12, 492, kW40, 0.0},
    {-75, kF10, 502, 0.8, 0.0},  {-81, kF8, 510, 1.0, 0.0},    {-87, kF4, 514, 2.0, 1.0},
    {-90, kF2, 516, 4.0, 2.0},
}};

constexpr int kMsaVolumeCharts = 516;

int MsaChartsInBand(std::size_t band) {
    return kMsaBands[band].base - (band == 0 ? 0 : kMsaBands[band - 1].base);
}

// The band of a declination; below -90 deg (the true pole lies a hair below the program's
// -90 deg) it is still the polar band, so that no position is left without a chart.
std::size_t MsaBandOf(double dec) {
    for (std::size_t i = 0; i + 1 < kMsaBands.size(); ++i) {
        if (From(dec, kMsaBands[i].lowerDeg))
            return i;
    }
    return kMsaBands.size() - 1;
}

} // namespace

int AtlasChartCount(StarAtlas atlas) {
    switch (atlas) {
    case StarAtlas::SkyAtlas:
        return 26;
    case StarAtlas::Uranometria:
        return 473;
    case StarAtlas::AstroAtlasB:
        return 16;
    case StarAtlas::AstroAtlasC:
        return 94;
    case StarAtlas::EdmundMag5:
        return 7;
    case StarAtlas::EdmundMag6:
        return 12;
    case StarAtlas::Msa:
        return 3 * kMsaVolumeCharts;
    }
    return 0;
}

int SkyAtlasChart(double ra, double dec) {
    if (!Finite(ra, dec))
        return kNoChart;
    ra = ReduceRa(ra);
    if (Above(dec, 50.0))
        return 1 + Step(ra * kThreePerTurn, 3);
    if (Above(dec, 20.0))
        return 4 + Step(ra * kSixPerTurn, 6);
    if (Above(dec, -20.0))
        return 10 + Step(ra * kEightPerTurn, 8);
    if (Above(dec, -50.0))
        return 18 + Step(ra * kSixPerTurn, 6);
    return 24 + Step(ra * kThreePerTurn, 3);
}

int UranometriaChart(double ra, double dec) {
    if (!Finite(ra, dec))
        return kNoChart;
    // Whole minutes of time, rounded: 0 to 1440.
    const int m = static_cast<int>(ReduceRa(ra) * kMinutesPerRad + 0.5 + kStepTolerance);
    const UranometriaBand &band = UranometriaBandOf(dec);
    if (m <= band.first || m > band.limit)
        return band.base;
    return band.base + 1 + (m - band.first - 1) / band.width;
}

int AstroAtlasBChart(double ra, double dec) {
    if (!Finite(ra, dec))
        return kNoChart;
    ra = ReduceRa(ra);
    if (Above(dec, 52.5))
        return 2 - Step(ra / kPi, 2);
    if (Below(dec, -52.5))
        return 15 + Step(ra / kPi, 2);
    // Four-hour charts centred on 0h, 20h, 16h, 12h, 8h and 4h: hours 22-1 give 3, 2-5 give
    // 13, 6-9 give 11, 10-13 give 9, 14-17 give 7 and 18-21 give 5; south of the equator
    // the chart after each.
    static constexpr int kNorthChart[6] = {3, 13, 11, 9, 7, 5};
    const int hour = Step(ra * kRadToHours, 24);
    return kNorthChart[((hour + 2) % 24) / 4] + (From(dec, 0.0) ? 0 : 1);
}

int AstroAtlasCChart(double ra, double dec) {
    if (!Finite(ra, dec))
        return kNoChart;
    ra = ReduceRa(ra);
    if (Above(dec, 75.0))
        return 2 - Step(ra / kPi, 2);
    if (Below(dec, -75.0))
        return 93 + Step(ra / kPi, 2);
    // 18 charts of 80 minutes a band, numbered against the right ascension from the chart
    // centred on 0h (23h20m to 0h40m).
    const int minutes = Step(ra * kMinutesPerRad, 1440);
    const int step = ((minutes + 1400) % 1440) / 80;
    int last = 92;
    if (Above(dec, 45.0))
        last = 20;
    else if (Above(dec, 15.0))
        last = 38;
    else if (Above(dec, -15.0))
        last = 56;
    else if (Above(dec, -45.0))
        last = 74;
    return last - step;
}

int EdmundMag5Chart(double ra, double dec) {
    if (!Finite(ra, dec))
        return kNoChart;
    if (Above(dec, 50.0))
        return 1;
    if (Below(dec, -50.0))
        return 7;
    const double hours = ReduceRa(ra) * kRadToHours + kStepTolerance;
    if (hours < 1.5)
        return 2;
    if (hours < 6.0)
        return 3;
    if (hours < 10.5)
        return 4;
    if (hours < 15.5)
        return 5;
    if (hours < 20.5)
        return 6;
    return 2;
}

int EdmundMag6Chart(double ra, double dec) {
    if (!Finite(ra, dec))
        return kNoChart;
    ra = ReduceRa(ra);
    if (Above(dec, 40.0))
        return 1 + Step(ra * kThreePerTurn, 3);
    if (Below(dec, -40.0))
        return 10 + Step(ra * kThreePerTurn, 3);
    return 4 + Step(ra * kSixPerTurn, 6);
}

int MsaChart(double ra, double dec) {
    if (!Finite(ra, dec))
        return kNoChart;
    ra = ReduceRa(ra);
    int volumeOffset = 0;
    for (int volume = 1; volume < 3 && ra >= kMsaVolumeRad - kLimitToleranceRad; ++volume) {
        ra -= kMsaVolumeRad;
        volumeOffset += kMsaVolumeCharts;
    }
    const std::size_t band = MsaBandOf(dec);
    return volumeOffset + kMsaBands[band].base -
           Step(ra * kMsaBands[band].factor, MsaChartsInBand(band));
}

int AtlasChart(StarAtlas atlas, double ra, double dec) {
    switch (atlas) {
    case StarAtlas::SkyAtlas:
        return SkyAtlasChart(ra, dec);
    case StarAtlas::Uranometria:
        return UranometriaChart(ra, dec);
    case StarAtlas::AstroAtlasB:
        return AstroAtlasBChart(ra, dec);
    case StarAtlas::AstroAtlasC:
        return AstroAtlasCChart(ra, dec);
    case StarAtlas::EdmundMag5:
        return EdmundMag5Chart(ra, dec);
    case StarAtlas::EdmundMag6:
        return EdmundMag6Chart(ra, dec);
    case StarAtlas::Msa:
        return MsaChart(ra, dec);
    }
    return kNoChart;
}

// --- Chart centres -----------------------------------------------------------------------

namespace {

constexpr double kSkyAtlasCentres[26] = {4,  12, 20, 2,  6, 10, 14, 18, 22, 2,  5, 8,  11,
                                         14, 17, 20, 23, 2, 6,  10, 14, 18, 22, 4, 12, 20};
constexpr double kAstroAtlasBCentres[16] = {18, 6, 0, 0, 20, 20, 16, 16, 12, 12, 8, 8, 4, 4, 6, 18};
constexpr double kEdmundMag5Centres[7] = {12, 23, 3.75, 8.25, 13, 18, 12};
constexpr double kEdmundMag6Centres[12] = {4, 12, 20, 2, 6, 10, 14, 18, 22, 4, 12, 20};

std::vector<double> UranometriaCentres() {
    std::vector<double> centres(474, -1.0);
    for (const UranometriaBand &band : kUranometriaBands) {
        const int count = 1 + (band.limit - band.first) / band.width;
        for (int i = 0; i < count; ++i)
            centres[band.base + i] = count == 12 ? 2 * i + 1.0 / 6.0 : i * (band.width / 60.0);
    }
    // The polar charts by halves: the first covers 0h-12h, the second 12h-24h. (The south
    // pole's two were once given the other way round, 472 at 18h and 473 at 6h, which put
    // each centre on the other chart.)
    centres[1] = 6.0;
    centres[2] = 18.0;
    centres[472] = 6.0;
    centres[473] = 18.0;
    return centres;
}

std::vector<double> AstroAtlasCCentres() {
    std::vector<double> centres(95, -1.0);
    centres[1] = 18.0;
    centres[2] = 6.0;
    centres[93] = 6.0;
    centres[94] = 18.0;
    // Chart 3 of each band is centred on 0h, the next on 22h40m and so on against the right
    // ascension, 80 minutes apart: the chart that covers steps s of AstroAtlasCChart is
    // centred at (s + 1) x 80 minutes. (Centres once given as s x 80 minutes lay a whole
    // chart away, on the neighbouring chart.)
    for (int chart = 3; chart <= 92; ++chart) {
        const int fromFirst = (chart - 3) % 18;
        centres[chart] = 0.3333333333333333 * (4 * ((18 - fromFirst) % 18));
    }
    return centres;
}

double MsaCentre(int chart) {
    const int volume = (chart - 1) / kMsaVolumeCharts;
    const int k = (chart - 1) % kMsaVolumeCharts + 1;
    for (const MsaBand &band : kMsaBands) {
        if (k <= band.base)
            return 8.0 * volume + (band.base - k) * band.widthHrs + band.offsetHrs;
    }
    return -1.0;
}

double FromTable(const double *table, int count, int chart) {
    return chart >= 1 && chart <= count ? table[chart - 1] : -1.0;
}

} // namespace

double ChartCentreHours(StarAtlas atlas, int chart) {
    static const std::vector<double> uranometria = UranometriaCentres();
    static const std::vector<double> astroAtlasC = AstroAtlasCCentres();
    if (chart < 1 || chart > AtlasChartCount(atlas))
        return -1.0;
    switch (atlas) {
    case StarAtlas::SkyAtlas:
        return FromTable(kSkyAtlasCentres, 26, chart);
    case StarAtlas::Uranometria:
        return uranometria[chart];
    case StarAtlas::AstroAtlasB:
        return FromTable(kAstroAtlasBCentres, 16, chart);
    case StarAtlas::AstroAtlasC:
        return astroAtlasC[chart];
    case StarAtlas::EdmundMag5:
        return FromTable(kEdmundMag5Centres, 7, chart);
    case StarAtlas::EdmundMag6:
        return FromTable(kEdmundMag6Centres, 12, chart);
    case StarAtlas::Msa:
        return MsaCentre(chart);
    }
    return -1.0;
}

} // namespace vespario
