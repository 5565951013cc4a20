#pragma once
// The instants of new and full moon near a date.

namespace vespario {

struct LunarPhases {
    double newMoon = 0.0;  // JD (UT)
    double fullMoon = 0.0; // JD (UT), the full moon that follows that new moon
};

// NewAndFullMoon: the new moon of the lunation nearest jd and the full moon after it.
//
// Given:
//   jd      Julian Date
// Returned:
//   both instants (JD)
// Notes:
//   1) Lunation k = trunc(((jd - JD of January 0 of jd's year)/365 + year - 1900) x 12.3685
//      + 0.5), counted from the new moon of 1900 January; the full moon is k + 0.5;
//      t = k / 1236.85 centuries.
//   2) Mean phase: 29.53058868 k + 0.0001178 t^2 - 0.000000155 t^3
//      + 0.00033 sin(166.56 + 132.87 t - 0.009173 t^2) + 2415020.75933 (+ 30 s), then the
//      correction from the Sun's and Moon's mean anomalies and the argument of latitude.
//   3) Against Espenak's published tables the instants are within about 5 minutes over
//      1950-2050; see tests/astro/test_lunarphases.cpp.
// Reference:
//   Meeus, J., "Astronomical Formulae for Calculators", Willmann-Bell 1979, chapter 32.
LunarPhases NewAndFullMoon(double jd);

} // namespace vespario
