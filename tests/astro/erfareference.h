#pragma once
// Independent reference positions for the Sun, Moon and planet tests, from ERFA.
//
// Frame: every position is an apparent place referred to the true equator and equinox of
// date: a geocentric (astrometric) direction in the GCRS, light time included, is turned
// into the proper direction by annual aberration (eraAb, the Earth's barycentric velocity
// from eraEpv00; not for the Moon, whose light time the theories already hold) and then
// rotated by the IAU 1976 precession and IAU 1980 nutation (eraPnm80). Light deflection
// (below 0.002" away from the Sun) and the frame bias (0.02") are left out.
//
// Time: the program's instants are UT and its theories take them as their time argument;
// the references are evaluated at TT = UT + Delta T (DeltaTSeconds), so that the measured
// errors are those a user sees.

namespace vespario::test {

// Delta T = TT - UT (s) for a Julian Date, from the observed yearly values (IERS, Espenak
// and Meeus's tables) from 1950 to 2020 and a slow growth after.
double DeltaTSeconds(double jdUT);

struct RaDec {
    double ra = 0.0;       // rad
    double dec = 0.0;      // rad
    double distance = 0.0; // AU (geometric, Earth to body at the light-time instant)
};

// The Sun: geocentric Sun from eraEpv00.
RaDec ErfaSun(double jdUT);

// A planet by the program's index 1...7 (Mercury to Neptune) from eraPlan94.
RaDec ErfaPlanet(int planet, double jdUT);

// Pluto from Meeus's series (Astronomical Algorithms, 2nd ed. 1998, chapter 37, table
// 37.A, valid 1885-2099), the Earth from eraEpv00. ERFA has no Pluto; the series and the
// program's elements (Standish's) are independent of each other.
RaDec MeeusPluto(double jdUT);

// Pluto's heliocentric ecliptic longitude, latitude (deg, J2000 ecliptic and equinox)
// and radius (AU) from that series at a TT Julian Date.
void MeeusPlutoHeliocentric(double jdTT, double &l, double &b, double &r);

// The Moon from eraMoon98 (distance in km).
RaDec ErfaMoon(double jdUT);

// Apparent ecliptic longitude of date (rad, 0...2 pi) of an apparent place of date.
double EclipticLongitudeOfDate(const RaDec &place, double jdUT);

// Angular distance (deg) of two positions (rad).
double SeparationDeg(double ra1, double dec1, double ra2, double dec2);

} // namespace vespario::test
