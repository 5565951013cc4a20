#pragma once
// The planets from Mercury to Pluto: mean orbital elements of date with periodic
// perturbations, heliocentric and geocentric positions, apparent place, phase, magnitude
// and diameter.

#include "astro/ephemeris.h"

namespace vespario {

// Planet indexes: 1 Mercury, 2 Venus, 3 Mars, 4 Jupiter, 5 Saturn, 6 Uranus, 7 Neptune,
// 8 Pluto.
inline constexpr int kFirstPlanet = 1;
inline constexpr int kLastPlanet = 8;

// The mean elements of one planet for a date, referred to the mean ecliptic and equinox of
// date: the ten numbers of its row once the polynomials in T are evaluated.
struct OrbitalElements {
    double meanLongitude = 0.0; // L, 0...360 (deg)
    double dailyMotion = 0.0;   // n (deg/day)
    double perihelion = 0.0;    // longitude of perihelion (deg)
    double eccentricity = 0.0;
    double inclination = 0.0;    // (deg)
    double node = 0.0;           // longitude of the ascending node (deg)
    double semiMajorAxis = 0.0;  // (AU)
    double diameterAt1Au = 0.0;  // angular diameter at 1 AU (arcsec)
    double magnitudeAt1Au = 0.0; // V0: magnitude at 1 AU from Sun and Earth, full phase
};

// ElementsOfDate: the element row of planet (1...8) at JD; an index outside gives zeros.
//
// References:
//   Mercury to Neptune: the mean elements of Newcomb and Ross as given in the Explanatory
//   Supplement to the Astronomical Ephemeris, 1961, in the form of Duffett-Smith, P.,
//   "Astronomy with your Personal Computer", 2nd ed., Cambridge 1990, PELMENT (mean
//   longitude as a rate in revolutions per century from 1900).
//   Pluto: Standish, E.M., "Keplerian Elements for Approximate Positions of the Major
//   Planets", JPL Solar System Dynamics, Table 1 (1800-2050), J2000 elements with their
//   rates, referred to the equinox of date by adding the general precession in longitude
//   (5029.0966" per century, IAU 2006) to L, the perihelion and the node.
OrbitalElements ElementsOfDate(int planet, double jd);

struct PlanetPosition {
    // Heliocentric ecliptic position of date at the instant (geometric).
    double heliocentricLongitude = 0.0; // 0...2 pi (rad)
    double heliocentricLatitude = 0.0;  // (rad)
    double radiusVector = 0.0;          // r (AU)
    // Geocentric ecliptic position of date, corrected for light time, before nutation and
    // aberration.
    double geocentricLongitude = 0.0; // 0...2 pi (rad)
    double geocentricLatitude = 0.0;  // (rad)
    double distance = 0.0;            // Delta, Earth to planet (AU)
    ApparentPlace apparent;           // with nutation and annual aberration
    double diameterAt1Au = 0.0;       // (arcsec)
    double magnitudeAt1Au = 0.0;      // V0
    double illuminatedFraction = 0.0; // k, 0...1
    double magnitude = 0.0;           // apparent magnitude
    double diameter = 0.0;            // apparent diameter (arcsec)
};

// ComputePlanet: the position and appearance of a planet.
//
// Given:
//   planet  1...8 (Mercury to Pluto); any other index gives a zero position
//   jd      Julian Date (the theory's time argument; UT is used as given)
// Returned:
//   the planet's position (above)
// Notes:
//   1) Mercury, Venus and Mars get their own periodic terms, Jupiter to Neptune the common
//      block of mutual perturbations; Pluto is an unperturbed ellipse.
//   2) The Earth is the Sun routine's position turned through 180 deg.
//   3) Light time: the planet is taken at the instant less Delta x 0.0057755 days, from
//      the geometric distance and then once more from the corrected one.
//   4) Apparent place: the geocentric longitude receives the nutation in longitude, then
//      annual aberration (20.5" = 9.9387e-05 rad, divided by cos beta in longitude and
//      multiplied by sin beta in latitude).
//   5) k = (1 + cos(lambda - l))/2; magnitude = V0 + 5 log10(r Delta / sqrt k), with k
//      held at 1e-6 or more so that a new phase gives a faint but finite magnitude;
//      diameter = diameter at 1 AU / Delta.
// Reference:
//   Duffett-Smith, P., "Astronomy with your Personal Computer", 2nd ed., Cambridge 1990,
//   subroutine PLANS; the perturbation terms in planetperturbations.cpp.
PlanetPosition ComputePlanet(int planet, double jd);

} // namespace vespario
