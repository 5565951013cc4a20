#pragma once
// The Moon on a 1900-based lunar theory of mean arguments with periodic terms.

#include "astro/ephemeris.h"

namespace vespario {

struct MoonPosition {
    double longitude = 0.0;           // geocentric ecliptic longitude of date, 0...2 pi (rad)
    double latitude = 0.0;            // (rad)
    double distance = 0.0;            // Earth's centre to the Moon's (km)
    double horizontalParallax = 0.0;  // (rad)
    double meanAnomaly = 0.0;         // the Moon's mean anomaly M' (rad)
    double sunMeanAnomaly = 0.0;      // the Sun's mean anomaly M of the same theory (rad)
    ApparentPlace apparent;           // longitude with the nutation; right ascension, decl.
    double illuminatedFraction = 0.0; // 0...1
};

// ComputeMoon: the geocentric position and phase of the Moon.
//
// Given:
//   jd      Julian Date (the theory's time argument; UT is used as given)
// Returned:
//   the Moon's position (above)
// Notes:
//   1) About 170 coefficients: the mean arguments L', M, M', D, F and the node with their
//      long-period additive terms, 60 terms in longitude, 45 in latitude and 30 in the
//      parallax, and the factor E = 1 - 0.002495 T - 0.00000752 T^2 on terms in M.
//   2) Distance = 6378.14 km / sin(parallax).
//   3) The apparent longitude adds the nutation in longitude (the theory already holds
//      the Moon's light time).
//   4) Phase: d = acos(cos(lambda - lambda_sun) cos beta); phase angle i = pi - d -
//      0.1468 deg sin d (1 - 0.0549 sin M') / (1 - 0.0167 sin M); fraction (1 + cos i)/2,
//      lambda_sun the Sun's apparent longitude.
// Reference:
//   Meeus, J., "Astronomical Formulae for Calculators", Willmann-Bell 1979, chapter 30
//   (after the Improved Lunar Ephemeris, Brown's theory); the phase angle from
//   Duffett-Smith, P., "Astronomy with your Personal Computer", 2nd ed. 1990, MOON.
MoonPosition ComputeMoon(double jd);

// The Moon's vertical shift for rise and set (rad): refraction 34' plus the semi-diameter
// (0.2725 of the parallax's sine) less the horizontal parallax, so that rise and set are
// those of the upper limb seen from the Earth's surface.
double MoonRiseSetShift(double horizontalParallax);

} // namespace vespario
