#include "astro/planets.h"

#include "astro/constants.h"
#include "astro/coordinates.h"
#include "astro/kepler.h"
#include "astro/nutation.h"
#include "astro/planetperturbations.h"
#include "astro/sun.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vespario {

namespace {

// One planet's row: each element as c0 + c1 T + c2 T^2 + c3 T^3 (T from 1900), except
// the mean longitude, whose c1 is a rate in revolutions per century.
struct ElementRow {
    double meanLongitude[4];
    double perihelion[4];
    double eccentricity[4];
    double inclination[4];
    double node[4];
    double semiMajorAxis;
    double diameterAt1Au;
    double magnitudeAt1Au;
};

// Mercury to Neptune (Explanatory Supplement 1961, via Duffett-Smith's PELMENT).
constexpr ElementRow kRows[7] = {
    {{178.179078, 415.2057519, 3.011e-4, 0.0},
     {75.899697, 1.5554889, 2.947e-4, 0.0},
     {0.20561421, 2.046e-5, -3e-8, 0.0},
     {7.002881, 1.8608e-3, -1.83e-5, 0.0},
     {47.145944, 1.1852083, 1.739e-4, 0.0},
     0.3870986,
     6.74,
     -0.42},
    {{342.767053, 162.5533664, 3.097e-4, 0.0},
     {130.163833, 1.4080361, -9.764e-4, 0.0},
     {6.82069e-3, -4.774e-5, 9.1e-8, 0.0},
     {3.393631, 1.0058e-3, -1e-6, 0.0},
     {75.779647, 0.89985, 4.1e-4, 0.0},
     0.7233316,
     16.92,
     -4.4},
    {{293.737334, 53.17137642, 3.107e-4, 0.0},
     {334.218203, 1.8407584, 1.299e-4, -1.19e-6},
     {9.33129e-2, 9.2064e-5, -7.7e-8, 0.0},
     {1.850333, -6.75e-4, 1.26e-5, 0.0},
     {48.786442, 0.7709917, -1.4e-6, -5.33e-6},
     1.5236883,
     9.36,
     -1.52},
    {{238.049257, 8.434172183, 3.347e-4, -1.65e-6},
     {12.720972, 1.6099617, 1.05627e-3, -3.43e-6},
     {4.833475e-2, 1.6418e-4, -4.676e-7, -1.7e-9},
     {1.308736, -5.6961e-3, 3.9e-6, 0.0},
     {99.443414, 1.01053, 3.5222e-4, -8.51e-6},
     5.202561,
     196.74,
     -9.4},
    {{266.564377, 3.398638567, 3.245e-4, -5.8e-6},
     {91.098214, 1.9584158, 8.2636e-4, 4.61e-6},
     {5.589232e-2, -3.455e-4, -7.28e-7, 7.4e-10},
     {2.492519, -3.9189e-3, -1.549e-5, 4e-8},
     {112.790414, 0.8731951, -1.5218e-4, -5.31e-6},
     9.554747,
     165.6,
     -8.88},
    {{244.19747, 1.194065406, 3.16e-4, -6e-7},
     {171.548692, 1.4844328, 2.372e-4, -6.1e-7},
     {4.63444e-2, -2.658e-5, 7.7e-8, 0.0},
     {0.772464, 6.253e-4, 3.95e-5, 0.0},
     {73.477111, 0.4986678, 1.3117e-3, 0.0},
     19.21814,
     65.8,
     -7.19},
    {{84.457994, 0.6107942056, 3.205e-4, -6e-7},
     {46.727364, 1.4245744, 3.9082e-4, -6.05e-7},
     {8.99704e-3, 6.33e-6, -2e-9, 0.0},
     {1.779242, -9.5436e-3, -9.1e-6, 0.0},
     {130.681389, 1.098935, 2.4987e-4, -4.718e-6},
     30.10957,
     62.2,
     -6.87},
};

// Pluto (Standish, JPL, 1800-2050): J2000 values and rates per century, with the
// general precession added to the angles so that they refer to the equinox of date.
constexpr double kPrecessionDegPerCentury = 5029.0966 / 3600.0;
constexpr double kPlutoL2000 = 238.92903833, kPlutoLRate = 145.20780515;
constexpr double kPlutoPeri2000 = 224.06891629, kPlutoPeriRate = -0.04062942;
constexpr double kPlutoNode2000 = 110.30393684, kPlutoNodeRate = -0.01183482;
constexpr double kPlutoE2000 = 0.24882730, kPlutoERate = 0.00005170;
constexpr double kPlutoI2000 = 17.14001206, kPlutoIRate = 0.00004818;
constexpr double kPlutoA2000 = 39.48211675, kPlutoARate = -0.00031596;
constexpr double kPlutoDiameterAt1Au = 3.28; // 2377 km seen from 1 AU (arcsec)
constexpr double kPlutoMagnitudeAt1Au = -1.0;

constexpr double kDegreesPerDayPerRevCentury = 360.0 / kDaysPerCentury; // 0.009856263
constexpr double kLightDaysPerAu = 0.0057755183;
constexpr double kAberration = 9.9387e-05; // 20.5" (rad)
constexpr double kMinimumPhase = 1e-6;

double Polynomial(const double (&c)[4], double t) {
    return ((c[3] * t + c[2]) * t + c[1]) * t + c[0];
}

OrbitalElements PlutoElements(double t) {
    const double s = t - 1.0; // centuries from J2000.0 (JD 2451545.0 is T = 1 exactly)
    const double lRateTurns = (kPlutoLRate + kPrecessionDegPerCentury) / 360.0;
    OrbitalElements e;
    e.meanLongitude = IntoDegrees360(kPlutoL2000 + TurnsToDegrees(lRateTurns, s));
    e.dailyMotion = lRateTurns * kDegreesPerDayPerRevCentury;
    e.perihelion = kPlutoPeri2000 + (kPlutoPeriRate + kPrecessionDegPerCentury) * s;
    e.node = kPlutoNode2000 + (kPlutoNodeRate + kPrecessionDegPerCentury) * s;
    e.eccentricity = kPlutoE2000 + kPlutoERate * s;
    e.inclination = kPlutoI2000 + kPlutoIRate * s;
    e.semiMajorAxis = kPlutoA2000 + kPlutoARate * s;
    e.diameterAt1Au = kPlutoDiameterAt1Au;
    e.magnitudeAt1Au = kPlutoMagnitudeAt1Au;
    return e;
}

OrbitalElements RowElements(const ElementRow &row, double t) {
    const double *l = row.meanLongitude;
    OrbitalElements e;
    e.meanLongitude = IntoDegrees360(l[0] + TurnsToDegrees(l[1], t) + (l[3] * t + l[2]) * t * t);
    e.dailyMotion = l[1] * kDegreesPerDayPerRevCentury + (l[2] + l[3]) / kDaysPerCentury;
    e.perihelion = Polynomial(row.perihelion, t);
    e.eccentricity = Polynomial(row.eccentricity, t);
    e.inclination = Polynomial(row.inclination, t);
    e.node = Polynomial(row.node, t);
    e.semiMajorAxis = row.semiMajorAxis;
    e.diameterAt1Au = row.diameterAt1Au;
    e.magnitudeAt1Au = row.magnitudeAt1Au;
    return e;
}

using ElementTable = std::array<OrbitalElements, kLastPlanet + 1>; // index 0 unused

ElementTable TableOfDate(double t) {
    ElementTable table{};
    for (int p = kFirstPlanet; p < kLastPlanet; ++p)
        table[p] = RowElements(kRows[p - 1], t);
    table[kLastPlanet] = PlutoElements(t);
    return table;
}

// Mean anomaly (rad) of a planet lightTime days before the instant.
double MeanAnomaly(const OrbitalElements &e, double lightTime) {
    return (e.meanLongitude - e.perihelion - lightTime * e.dailyMotion) * kDegToRad;
}

PlanetPerturbations PerturbationsOf(int planet, const ElementTable &table, double t,
                                    double sunMeanAnomaly, double lightTime) {
    InnerArguments m;
    m.mercury = MeanAnomaly(table[1], lightTime);
    m.venus = MeanAnomaly(table[2], lightTime);
    m.mars = MeanAnomaly(table[3], lightTime);
    m.jupiter = MeanAnomaly(table[4], lightTime);
    m.sun = sunMeanAnomaly;
    switch (planet) {
    case 1:
        return MercuryPerturbations(m);
    case 2:
        return VenusPerturbations(m, t);
    case 3:
        return MarsPerturbations(m);
    case kLastPlanet:
        return {};
    default:
        return OuterPerturbations(planet, t, table[planet].eccentricity);
    }
}

struct Spherical {
    double longitude; // rad
    double latitude;  // rad
    double radius;    // AU
};

// Heliocentric ecliptic position of date, lightTime days before the instant.
Spherical Heliocentric(int planet, const ElementTable &table, double t, double sunMeanAnomaly,
                       double lightTime) {
    const OrbitalElements &el = table[planet];
    const PlanetPerturbations q = PerturbationsOf(planet, table, t, sunMeanAnomaly, lightTime);
    const double e = std::clamp(el.eccentricity + q.eccentricity, 0.0, 0.999999);
    const KeplerSolution k = SolveKepler(MeanAnomaly(el, lightTime) + q.meanAnomaly, e);
    double r =
        (el.semiMajorAxis + q.semiMajorAxis) * (1.0 - e * e) / (1.0 + e * std::cos(k.trueAnomaly));
    r += q.radius;
    const double argument = k.trueAnomaly + el.perihelion * kDegToRad +
                            (q.meanLongitude - q.meanAnomaly) - el.node * kDegToRad;
    const double inclination = el.inclination * kDegToRad;
    const double sinLatitude = std::sin(argument) * std::sin(inclination);
    Spherical h;
    h.latitude = std::asin(std::clamp(sinLatitude, -1.0, 1.0)) + q.latitude;
    h.longitude =
        IntoFullTurn(std::atan2(std::sin(argument) * std::cos(inclination), std::cos(argument)) +
                     el.node * kDegToRad + q.longitudeDeg * kDegToRad);
    h.radius = r;
    return h;
}

// The planet seen from the Earth (the Earth at earthLongitude, 0 latitude, earthRadius).
Spherical Geocentric(const Spherical &h, double earthLongitude, double earthRadius) {
    const double x = h.radius * std::cos(h.latitude) * std::cos(h.longitude) -
                     earthRadius * std::cos(earthLongitude);
    const double y = h.radius * std::cos(h.latitude) * std::sin(h.longitude) -
                     earthRadius * std::sin(earthLongitude);
    const double z = h.radius * std::sin(h.latitude);
    Spherical g;
    g.radius = std::sqrt(x * x + y * y + z * z);
    g.longitude = IntoFullTurn(std::atan2(y, x));
    g.latitude = std::atan2(z, std::hypot(x, y));
    return g;
}

// Nutation in longitude and annual aberration; sunLongitude is the geometric one.
void ApplyApparent(PlanetPosition &p, double sunLongitude, double jd) {
    const Nutation n = NutationOfDate(jd);
    const double lambda = p.geocentricLongitude + n.longitude * kDegToRad;
    const double beta = p.geocentricLatitude;
    const double toSun = sunLongitude - lambda;
    const double cosBeta = std::max(std::cos(beta), 1e-12);
    p.apparent.longitude = IntoFullTurn(lambda - kAberration * std::cos(toSun) / cosBeta);
    p.apparent.latitude = beta - kAberration * std::sin(toSun) * std::sin(beta);
    CompleteApparentPlace(p.apparent, jd);
}

void ApplyAppearance(PlanetPosition &p) {
    const double k = (1.0 + std::cos(p.geocentricLongitude - p.heliocentricLongitude)) / 2.0;
    p.illuminatedFraction = k;
    const double phase = std::max(k, kMinimumPhase);
    p.magnitude =
        p.magnitudeAt1Au + 5.0 * std::log10(p.radiusVector * p.distance / std::sqrt(phase));
    p.diameter = p.diameterAt1Au / p.distance;
}

} // namespace

OrbitalElements ElementsOfDate(int planet, double jd) {
    if (planet < kFirstPlanet || planet > kLastPlanet)
        return {};
    return TableOfDate(CenturiesSince1900(jd))[planet];
}

PlanetPosition ComputePlanet(int planet, double jd) {
    PlanetPosition p;
    if (planet < kFirstPlanet || planet > kLastPlanet || !std::isfinite(jd))
        return p;
    const double t = CenturiesSince1900(jd);
    const ElementTable table = TableOfDate(t);
    const SunPosition sun = ComputeSun(jd);
    const double earthLongitude = sun.longitude + kPi;
    const Spherical now = Heliocentric(planet, table, t, sun.meanAnomaly, 0.0);
    Spherical geo = Geocentric(now, earthLongitude, sun.radiusVector);
    for (int pass = 0; pass < 2; ++pass) {
        const double lightTime = geo.radius * kLightDaysPerAu;
        const Spherical then = Heliocentric(planet, table, t, sun.meanAnomaly, lightTime);
        geo = Geocentric(then, earthLongitude, sun.radiusVector);
    }
    p.heliocentricLongitude = now.longitude;
    p.heliocentricLatitude = now.latitude;
    p.radiusVector = now.radius;
    p.geocentricLongitude = geo.longitude;
    p.geocentricLatitude = geo.latitude;
    p.distance = geo.radius;
    p.diameterAt1Au = table[planet].diameterAt1Au;
    p.magnitudeAt1Au = table[planet].magnitudeAt1Au;
    ApplyApparent(p, sun.longitude, jd);
    ApplyAppearance(p);
    return p;
}

} // namespace vespario
