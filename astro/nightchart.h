#pragma once
// The night chart: altitude against local time from sunset to sunrise at a place, with the
// twilight of that night, one object's altitude and its transit, the Moon's altitude and
// phase, and the current instant. What the window draws; computed here so that it is the
// same astronomy as the What's Up report's.

#include "astro/twilight.h"

#include <string>
#include <vector>

namespace vespario {

class ObservingPlace;

struct AltitudeSample {
    double jd = 0.0;       // UT instant (JD)
    double altitude = 0.0; // degrees
};

// An altitude curve over the night; the samples run from the chart's start to its end.
struct AltitudeCurve {
    std::vector<AltitudeSample> samples;
    bool transits = false;        // an upper culmination falls within the night
    double transit = 0.0;         // its instant (JD, UT); also one of the samples
    double transitAltitude = 0.0; // degrees
};

// The Sun below one twilight limit from 'from' to 'to' (both within the night); absent
// when the Sun stays above that limit all night.
struct DarkSpan {
    bool present = false;
    double from = 0.0; // JD, UT
    double to = 0.0;   // JD, UT
};

// A whole local hour on the time axis.
struct HourTick {
    double jd = 0.0;  // UT instant (JD)
    std::string text; // the local clock hour, "00" to "23"
};

struct NightChart {
    double start = 0.0; // JD, UT: the sunset, or 18:00 local time without one
    double end = 0.0;   // JD, UT: the next sunrise, or 06:00 local time without one
    NightTwilight twilight;
    // By TwilightKind: the Sun below -6, -12 and -18 degrees.
    DarkSpan dark[3];
    bool hasObject = false;
    AltitudeCurve object;
    AltitudeCurve moon;           // topocentric: the Moon's parallax is taken off
    double moonIlluminated = 0.0; // 0...1, at the middle of the night
    bool showsNow = false;        // the place's current instant lies within the night
    double now = 0.0;             // that instant (JD, UT)
    std::vector<HourTick> hours;  // every whole local hour within the night
};

// Minutes between curve samples; the transits are added to them.
inline constexpr double kNightChartStepMinutes = 5.0;

// ComputeNightChart: the chart of the observing night in progress at the place's instant.
//
// Given:
//   place       the observer; its current instant picks the night (the one that the local
//               noon at or before it opens, as TwilightOfNight counts it)
//   hasObject   false: no object curve
//   ra, dec     the object's J2000 position (rad), unprecessed like the computed fields
// Returned:
//   the chart (above)
// Notes:
//   1) The twilight is TwilightOfNight's, so that the band edges are the What's Up times.
//   2) Without a sunset or a sunrise that night (midnight sun, polar night) the chart runs
//      from 18:00 to 06:00 local time, and the dark spans follow the twilight limits that
//      the Sun crosses.
//   3) Altitudes are of the centre without refraction, the object's as Altitude# gives it.
NightChart ComputeNightChart(const ObservingPlace &place, bool hasObject, double ra, double dec);

} // namespace vespario
