#include "astro/lunarphases.h"

#include "astro/calendar.h"
#include "astro/constants.h"

#include <cmath>

namespace vespario {

namespace {

constexpr double kCenturiesPerLunation = 0.0008085054776246109; // 1 / 1236.85

double Frac(double x) {
    return x - std::floor(x);
}

double Reduced(double degrees) {
    return (degrees - 360.0 * std::floor(degrees / 360.0));
}

// The instant of the phase k (integer: new, half: full).
double PhaseInstant(double k) {
    const double t = k * kCenturiesPerLunation;
    const double t2 = t * t, t3 = t2 * t;
    const double mean =
        29.53 * k +
        (0.00058868 * k + 0.0001178 * t2 - 0.000000155 * t3 +
         0.00033 * std::sin((166.56 + 132.87 * t - 0.009173 * t2) * kDegToRad) + 0.75933) +
        2415020.00034722;
    const double m = Reduced(359.2242 + 360.0 * Frac(0.08084819457896686 * k) -
                             (0.0000333 + 0.00000347 * t) * t2) *
                     kDegToRad;
    const double mp = Reduced(306.0253 + 360.0 * Frac(1.0717136089730723 * k) +
                              (0.0107306 + 0.00001236 * t) * t2) *
                      kDegToRad;
    const double f = Reduced(21.2964 + 360.0 * Frac(1.0851959093323158 * k) -
                             (0.0016528 + 0.00000239 * t) * t2) *
                     kDegToRad;
    using std::sin;
    const double correction =
        (0.1734 - 0.000393 * t) * sin(m) + 0.0021 * sin(2 * m) - 0.4068 * sin(mp) +
        0.0161 * sin(2 * mp) - 0.0004 * sin(3 * mp) + 0.0104 * sin(2 * f) - 0.0051 * sin(m + mp) -
        0.0074 * sin(m - mp) + 0.0004 * sin(2 * f + m) - 0.0004 * sin(2 * f - m) -
        0.0006 * sin(2 * f + mp) + 0.001 * sin(2 * f - mp) + 0.0005 * sin(m + 2 * mp);
    return mean + correction;
}

} // namespace

LunarPhases NewAndFullMoon(double jd) {
    LunarPhases phases;
    if (!std::isfinite(jd))
        return phases;
    const int year = CalendarDate(jd).year;
    const double years = (jd - JulianDate(year, 1, 0)) / 365.0 + year - 1900;
    const double k = std::trunc(years * 12.3685 + 0.5);
    phases.newMoon = PhaseInstant(k);
    phases.fullMoon = PhaseInstant(k + 0.5);
    return phases;
}

} // namespace vespario
