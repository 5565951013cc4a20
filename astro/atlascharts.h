#pragma once
// The chart that shows a position in each of seven printed star atlases, and the right
// ascension of each chart's centre. Every atlas divides the sky into declination bands and
// each band into charts of equal right-ascension width; the functions are closed formulas
// over those bands.
//
// Inputs of every chart function:
//   ra, dec   J2000 position (rad, on the program's pi 3.14159265, as ParseRaDec gives it).
//             ra may lie outside 0...2 pi (a RaDec text such as "2400+10" parses to 2 pi):
//             it is reduced to 0...2 pi first. dec above +90 deg falls in the northernmost
//             band, below -90 deg in the southernmost.
// Output:
//   the chart number, always within the atlas's range below; 0 (never a chart) only when
//   ra or dec is not a finite number.
//
//   atlas         charts   bands (declination)
//   SkyAtlas      1-26     >+50: 1-3, >+20: 4-9, >-20: 10-17, >-50: 18-23, else 24-26
//   Uranometria   1-473    17 bands, polar charts 1-2 (>+84.5) and 472-473 (<-84.5)
//   AstroAtlasB   1-16     >+52.5: 1-2, <-52.5: 15-16, between: 3-14 by 4 h, dec < 0 odd+1
//   AstroAtlasC   1-94     >+75: 1-2, <-75: 93-94, between: 4 bands of 18 charts of 80 min
//   EdmundMag5    1-7      >+50: 1, <-50: 7, between: 2-6
//   EdmundMag6    1-12     >+40: 1-3, <-40: 10-12, between: 4-9
//   Msa           1-1548   three volumes of 516 (0h-8h, 8h-16h, 16h-24h), 31 bands of 6 deg
//
// A band limit written "above" is strict, "from" includes the limit. A position exactly on
// a limit, in whichever RaDec form it was written ("+50", "+5000", "+500000"), falls the
// same way: limits are compared with a tolerance of 1e-9 rad (0.0002"), far below the 0.1"
// of any stored position. Likewise a right ascension exactly on the edge between two
// charts of a band is on the chart that starts there (e.g. SkyAtlas 8h00m +60 deg is 2).

namespace vespario {

// The seven atlases, in the order of the record layer's Atlas enumeration.
enum class StarAtlas {
    SkyAtlas,
    Uranometria,
    AstroAtlasB,
    AstroAtlasC,
    EdmundMag5,
    EdmundMag6,
    Msa
};

inline constexpr int kStarAtlasCount = 7;
inline constexpr int kNoChart = 0; // chart number of a position that is not a number

// AtlasChartCount: the highest chart number of an atlas (26, 473, 16, 94, 7, 12, 1548);
// charts are numbered from 1.
int AtlasChartCount(StarAtlas atlas);

// The chart of a J2000 position (rad) in one atlas; see above.
int SkyAtlasChart(double ra, double dec);
int UranometriaChart(double ra, double dec);
int AstroAtlasBChart(double ra, double dec);
int AstroAtlasCChart(double ra, double dec);
int EdmundMag5Chart(double ra, double dec);
int EdmundMag6Chart(double ra, double dec);
int MsaChart(double ra, double dec);

// AtlasChart: the function of that atlas.
int AtlasChart(StarAtlas atlas, double ra, double dec);

// ChartCentreHours: right ascension of the centre of a chart.
//
// Given:
//   atlas, chart   a chart number 1 ... AtlasChartCount(atlas)
// Returned:
//   hours, 0 <= h < 24; -1.0 for a number that is not a chart of the atlas (0 included)
// Notes:
//   The centre always lies on the chart as the chart functions define it, so that the
//   hours-past-noon chart fields (HoursPastNoon of this value) tell when the chart
//   transits. An MSA centre is, as the MSA's table of centres has it, the middle of the
//   chart in the bands of charts 3-6, 37-50, 467-480 and 511-516 of a volume and the
//   chart's starting edge in right ascension in all other bands (charts 1-2 included).
double ChartCentreHours(StarAtlas atlas, int chart);

} // namespace vespario
