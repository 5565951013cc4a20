#pragma once
// The periodic perturbations of the planet theory (internal to planets.cpp and its tests).

namespace vespario {

// Corrections to one planet's elliptic motion. Angles in radians unless noted.
struct PlanetPerturbations {
    double longitudeDeg = 0.0;  // qa: added to the heliocentric longitude (degrees)
    double radius = 0.0;        // qb: added to the radius vector (AU)
    double meanLongitude = 0.0; // qc: added to the mean longitude
    double eccentricity = 0.0;  // qd: added to the eccentricity
    double meanAnomaly = 0.0;   // qe: added to the mean anomaly
    double semiMajorAxis = 0.0; // qf: added to the semi-major axis (AU)
    double latitude = 0.0;      // qg: added to the heliocentric latitude
};

// The mean anomalies the inner planets' terms use (rad): Mercury, Venus, Mars, Jupiter
// (each at the light-time corrected instant) and the Sun's (the Earth's).
struct InnerArguments {
    double mercury = 0.0;
    double venus = 0.0;
    double mars = 0.0;
    double jupiter = 0.0;
    double sun = 0.0;
};

// Mercury, Venus and Mars: their own terms. t: centuries since 1900.
PlanetPerturbations MercuryPerturbations(const InnerArguments &m);
PlanetPerturbations VenusPerturbations(const InnerArguments &m, double t);
PlanetPerturbations MarsPerturbations(const InnerArguments &m);

// Jupiter (4), Saturn (5), Uranus (6) and Neptune (7): the common block of mutual terms.
// eccentricity is the planet's mean eccentricity, by which the equation-of-centre term is
// divided; below 1e-9 that term is left out.
PlanetPerturbations OuterPerturbations(int planet, double t, double eccentricity);

} // namespace vespario
