#pragma once
// The Sun on Newcomb's 1900-based theory with the chief planetary and lunar perturbations.

#include "astro/ephemeris.h"

namespace vespario {

struct SunPosition {
    double longitude = 0.0;    // geometric ecliptic longitude of date, 0...2 pi (rad)
    double radiusVector = 0.0; // Earth-Sun distance (AU)
    double meanAnomaly = 0.0;  // the Sun's mean anomaly (rad), not reduced
};

// ComputeSun: geometric longitude, radius vector and mean anomaly of the Sun.
//
// Given:
//   jd      Julian Date (the theory's time argument; UT is used as given)
// Returned:
//   the Sun's position (above)
// Notes:
//   Against ERFA's eraEpv00 the apparent place (SunApparent) stays within about 0.005 deg
//   over 1950-2050; see tests/astro/test_sun.cpp for the measured figures.
// Reference:
//   Newcomb's elements as given in the Explanatory Supplement to the Astronomical
//   Ephemeris, 1961; the perturbation terms A, B, C (Venus, Jupiter), D (Moon), H and G
//   from Duffett-Smith, P., "Astronomy with your Personal Computer", 2nd ed., Cambridge
//   1990, subroutine SUN.
SunPosition ComputeSun(double jd);

// The constant of annual aberration in longitude for the Sun (deg): 20.5".
inline constexpr double kSunAberrationDeg = 0.00569;

// SunApparent: the Sun's apparent place: geometric longitude plus the nutation in
// longitude less 0.00569 deg of aberration; latitude 0; right ascension and declination
// through the mean obliquity of date.
ApparentPlace SunApparent(double jd);

} // namespace vespario
