// The planets against ERFA's eraPlan94 (Mercury to Neptune) and Pluto against Meeus's
// series, as apparent places of date over 1950-2050 (frames: erfareference.h).

#include "astro/planets.h"

#include "astro/constants.h"
#include "astro/kepler.h"
#include "astro/planetperturbations.h"

#include "erfareference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vespario {
namespace {

constexpr double kFirst = 2433282.5; // 1950 January 1
constexpr double kLast = 2469807.5;  // 2050 January 1

struct Tolerance {
    int planet;
    const char *name;
    double degrees;     // apparent place
    double distanceRel; // relative error of Delta
};

// The tolerances asked of the theory: 0.05 deg Mercury to Saturn, 0.1 deg Uranus and
// Neptune, 0.5 deg Pluto.
const Tolerance kTolerances[] = {
    {1, "Mercury", 0.05, 2e-3}, {2, "Venus", 0.05, 2e-3},  {3, "Mars", 0.05, 2e-3},
    {4, "Jupiter", 0.05, 2e-3}, {5, "Saturn", 0.05, 2e-3}, {6, "Uranus", 0.1, 2e-3},
    {7, "Neptune", 0.1, 2e-3},  {8, "Pluto", 0.5, 1e-2},
};

TEST(Planets, ApparentPlacesAgainstTheReferences) {
    for (const Tolerance &tol : kTolerances) {
        double worst = 0.0, worstJd = 0.0, worstDistance = 0.0;
        int checked = 0;
        for (double jd = kFirst; jd <= kLast; jd += 11.37) {
            const PlanetPosition p = ComputePlanet(tol.planet, jd);
            const test::RaDec ref =
                tol.planet == 8 ? test::MeeusPluto(jd) : test::ErfaPlanet(tol.planet, jd);
            const double sep = test::SeparationDeg(p.apparent.ra, p.apparent.dec, ref.ra, ref.dec);
            if (sep > worst) {
                worst = sep;
                worstJd = jd;
            }
            worstDistance = std::max(worstDistance, std::fabs(p.distance / ref.distance - 1.0));
            ++checked;
        }
        std::printf("%-8s %d instants: worst %.4f deg (JD %.2f), distance %.2e\n", tol.name,
                    checked, worst, worstJd, worstDistance);
        RecordProperty(std::string(tol.name) + "_worst_deg", std::to_string(worst));
        EXPECT_LT(worst, tol.degrees) << tol.name << " at JD " << worstJd;
        EXPECT_LT(worstDistance, tol.distanceRel) << tol.name;
        EXPECT_GT(checked, 3000);
    }
}

TEST(Planets, PhaseMagnitudeAndDiameterFollowFromTheGeometry) {
    for (int planet = kFirstPlanet; planet <= kLastPlanet; ++planet) {
        for (double jd = kFirst; jd <= kLast; jd += 401.7) {
            const PlanetPosition p = ComputePlanet(planet, jd);
            const double k =
                (1.0 + std::cos(p.geocentricLongitude - p.heliocentricLongitude)) / 2.0;
            EXPECT_NEAR(p.illuminatedFraction, k, 1e-12);
            EXPECT_GE(p.illuminatedFraction, 0.0);
            EXPECT_LE(p.illuminatedFraction, 1.0);
            EXPECT_NEAR(p.diameter * p.distance, p.diameterAt1Au, 1e-9);
            const double v = p.magnitudeAt1Au + 5.0 * std::log10(p.radiusVector * p.distance /
                                                                 std::sqrt(std::max(k, 1e-6)));
            EXPECT_NEAR(p.magnitude, v, 1e-9);
            // Superior planets are never far from full.
            if (planet >= 4) {
                EXPECT_GT(p.illuminatedFraction, 0.97) << planet;
            }
        }
    }
}

// Venus at inferior conjunction, 2004 June 8 (the transit): almost no light, and a
// magnitude that is faint but finite rather than infinite.
TEST(Planets, NewPhaseGivesAFiniteMagnitude) {
    const PlanetPosition venus = ComputePlanet(2, 2453164.85);
    EXPECT_LT(venus.illuminatedFraction, 0.001);
    EXPECT_TRUE(std::isfinite(venus.magnitude));
    EXPECT_GT(venus.diameter, 57.0);
    EXPECT_LT(venus.diameter, 59.0);
}

// The outer planets' equation-of-centre term is divided by the eccentricity: a circular
// orbit must not turn it into an infinity.
TEST(Planets, OuterPerturbationsStayFiniteForACircularOrbit) {
    for (int planet = 4; planet <= 7; ++planet) {
        const PlanetPerturbations circular = OuterPerturbations(planet, 1.2, 0.0);
        EXPECT_TRUE(std::isfinite(circular.meanAnomaly)) << planet;
        EXPECT_EQ(circular.meanAnomaly, circular.meanLongitude) << planet;
        const PlanetPerturbations real = OuterPerturbations(planet, 1.2, 0.05);
        EXPECT_TRUE(std::isfinite(real.meanAnomaly)) << planet;
    }
    EXPECT_EQ(OuterPerturbations(8, 1.2, 0.25).meanAnomaly, 0.0); // Pluto: none
}

TEST(Planets, IndexesOutsideTheTableGiveZeros) {
    for (const int planet : {0, 9, -1}) {
        const PlanetPosition p = ComputePlanet(planet, 2451545.0);
        EXPECT_EQ(p.distance, 0.0);
        EXPECT_EQ(ElementsOfDate(planet, 2451545.0).semiMajorAxis, 0.0);
    }
}

TEST(Planets, ElementRowsMatchThePublishedValuesAt1900) {
    // Mercury's row at T = 0: mean longitude 178.179078 deg, rate 415.2057519 rev/century.
    const OrbitalElements mercury = ElementsOfDate(1, 2415020.0);
    EXPECT_NEAR(mercury.meanLongitude, 178.179078, 1e-9);
    EXPECT_NEAR(mercury.dailyMotion, 415.2057519 * 360.0 / 36525.0 + 3.011e-4 / 36525.0, 1e-12);
    const OrbitalElements pluto = ElementsOfDate(8, 2451545.0);
    EXPECT_NEAR(pluto.meanLongitude, 238.92903833, 1e-9);
    EXPECT_NEAR(pluto.semiMajorAxis, 39.48211675, 1e-9);
}

} // namespace
} // namespace vespario
