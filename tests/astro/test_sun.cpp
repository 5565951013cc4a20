// Nutation, Kepler's equation and the Sun against ERFA (eraNut80, eraEpv00): the apparent
// place over 1950-2050 and the rise and set times that ERFA's positions give for the same
// horizon.

#include "astro/bodyriseset.h"
#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/kepler.h"
#include "astro/nutation.h"
#include "astro/observingplace.h"
#include "astro/sun.h"

#include "erfareference.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vespario {
namespace {

constexpr double kFirst = 2433282.5; // 1950 January 1
constexpr double kLast = 2469807.5;  // 2050 January 1

// --- Kepler's equation -------------------------------------------------------------------

TEST(Kepler, CircularOrbitGivesTheMeanAnomalyOverTheWholeTurn) {
    for (double m = 0.0; m < kTwoPi; m += 0.05) {
        const KeplerSolution s = SolveKepler(m, 0.0);
        EXPECT_DOUBLE_EQ(s.eccentricAnomaly, m);
        EXPECT_NEAR(s.trueAnomaly, m, 1e-12) << m;
    }
}

TEST(Kepler, SolvesTheEquationForEveryEccentricity) {
    const double eccentricities[] = {0.0167, 0.0934, 0.2056, 0.2488, 0.6, 0.95};
    for (const double e : eccentricities) {
        for (double m = -7.0; m < 14.0; m += 0.37) {
            const KeplerSolution s = SolveKepler(m, e);
            const double reduced = m - kTwoPi * std::floor(m * 0.15915494327375637);
            EXPECT_LT(std::fabs(s.eccentricAnomaly - e * std::sin(s.eccentricAnomaly) - reduced),
                      1e-6)
                << "e " << e << " M " << m;
            // True anomaly from the eccentric anomaly by the half-angle relation.
            const double nu = s.trueAnomaly;
            EXPECT_NEAR(std::tan(nu / 2.0),
                        std::sqrt((1 + e) / (1 - e)) * std::tan(s.eccentricAnomaly / 2.0),
                        1e-6 * (1.0 + std::fabs(std::tan(nu / 2.0))))
                << "e " << e << " M " << m;
            EXPECT_GE(nu, -1e-9);
            EXPECT_LE(nu, 2.0 * M_PI + 1e-9);
        }
    }
}

TEST(Kepler, AtHalfATurnAndOutOfRangeInput) {
    // E = pi: the tangent form would divide by cos(pi/2) = 0.
    EXPECT_NEAR(SolveKepler(kPi, 0.2).trueAnomaly, kPi, 1e-8);
    // Eccentricities outside 0...1 are held inside, never NaN.
    EXPECT_TRUE(std::isfinite(SolveKepler(1.0, 1.5).trueAnomaly));
    EXPECT_NEAR(SolveKepler(1.0, -0.3).trueAnomaly, 1.0, 1e-12);
    EXPECT_TRUE(std::isnan(SolveKepler(std::nan(""), 0.1).trueAnomaly));
}

// --- Nutation ----------------------------------------------------------------------------

TEST(Nutation, WithinASecondOfArcOfIau1980) {
    double worstPsi = 0.0, worstEps = 0.0;
    for (double jd = kFirst; jd <= kLast; jd += 3.7) {
        const Nutation n = NutationOfDate(jd);
        double dpsi = 0.0, deps = 0.0;
        eraNut80(jd, 0.0, &dpsi, &deps);
        worstPsi = std::max(worstPsi, std::fabs(n.longitude * 3600.0 - dpsi * ERFA_DR2AS));
        worstEps = std::max(worstEps, std::fabs(n.obliquity * 3600.0 - deps * ERFA_DR2AS));
    }
    RecordProperty("worst_dpsi_arcsec", std::to_string(worstPsi));
    RecordProperty("worst_deps_arcsec", std::to_string(worstEps));
    EXPECT_LT(worstPsi, 1.0);
    EXPECT_LT(worstEps, 0.5);
}

// --- The Sun -----------------------------------------------------------------------------

TEST(Sun, ApparentPlaceWithinAHundredthOfADegreeOfErfa) {
    double worst = 0.0, worstRadius = 0.0, worstLongitude = 0.0;
    int checked = 0;
    for (double jd = kFirst; jd <= kLast; jd += 9.123) {
        const ApparentPlace sun = SunApparent(jd);
        const test::RaDec ref = test::ErfaSun(jd);
        const double sep = test::SeparationDeg(sun.ra, sun.dec, ref.ra, ref.dec);
        worst = std::max(worst, sep);
        double dl =
            std::remainder(sun.longitude - test::EclipticLongitudeOfDate(ref, jd), 2.0 * M_PI);
        worstLongitude = std::max(worstLongitude, std::fabs(dl) * ERFA_DR2D);
        worstRadius = std::max(worstRadius, std::fabs(ComputeSun(jd).radiusVector - ref.distance));
        ++checked;
    }
    RecordProperty("worst_deg", std::to_string(worst));
    RecordProperty("worst_longitude_deg", std::to_string(worstLongitude));
    RecordProperty("worst_radius_au", std::to_string(worstRadius));
    std::printf("Sun: %d instants, worst %.5f deg, longitude %.5f deg, radius %.2e au\n", checked,
                worst, worstLongitude, worstRadius);
    EXPECT_GT(checked, 3000);
    EXPECT_LT(worst, 0.01);
    EXPECT_LT(worstLongitude, 0.01);
    EXPECT_LT(worstRadius, 2e-5);
}

// --- Rise and set --------------------------------------------------------------------------

// Altitude (rad) of ERFA's Sun at a UT instant, on the apparent sidereal time.
double ErfaSunAltitude(double ut, double longitudeDeg, double latitudeDeg) {
    const test::RaDec sun = test::ErfaSun(ut);
    const double h = eraGst94(ut, 0.0) + longitudeDeg * ERFA_DD2R - sun.ra;
    const double phi = latitudeDeg * ERFA_DD2R;
    return std::asin(std::sin(sun.dec) * std::sin(phi) +
                     std::cos(sun.dec) * std::cos(phi) * std::cos(h));
}

// The instant near guess at which ERFA's Sun crosses the altitude of the 0.836 deg shift,
// by the secant method; NaN when it does not settle within an hour of the guess.
double ErfaCrossing(double guess, double lon, double lat) {
    auto f = [&](double t) { return ErfaSunAltitude(t, lon, lat) + kSunRiseSetShift; };
    double a = guess - 0.002, b = guess + 0.002;
    double fa = f(a), fb = f(b);
    for (int i = 0; i < 8 && std::fabs(b - a) > 1e-8 && fb != fa; ++i) {
        const double c = b - fb * (b - a) / (fb - fa);
        a = b;
        fa = fb;
        b = c;
        fb = f(b);
    }
    return std::fabs(b - guess) < 1.0 / 24.0 && std::fabs(fb) < 1e-6
               ? b
               : std::numeric_limits<double>::quiet_NaN();
}

TEST(SunRiseSet, WithinTwoMinutesOfErfaForTheSameHorizon) {
    struct Site {
        double lon, lat;
    };
    const Site sites[] = {{-71.1, 42.4},  {0.0, 51.5},  {151.2, -33.9}, {-58.4, -34.6},
                          {139.7, 35.7},  {18.1, 59.3}, {-149.9, 61.2}, {36.8, -1.3},
                          {-68.1, -54.8}, {24.9, 60.2}};
    double worst = 0.0;
    int checked = 0;
    for (const Site &site : sites) {
        ObservingPlace place;
        place.SetLongitude(site.lon);
        place.SetLatitude(site.lat);
        for (double jd = kFirst + 0.3; jd <= kLast; jd += 211.37) {
            const DayRiseSet r = SunRiseSetForDate(place, jd);
            for (const bool rising : {true, false}) {
                if (!(rising ? r.rises : r.sets))
                    continue;
                const double ours = rising ? r.rise : r.set;
                const double ref = ErfaCrossing(ours, site.lon, site.lat);
                ASSERT_FALSE(std::isnan(ref)) << site.lat << " " << jd << " " << rising;
                const double minutes = std::fabs(ours - ref) * 1440.0;
                worst = std::max(worst, minutes);
                EXPECT_LT(minutes, 2.0) << site.lon << " " << site.lat << " jd " << jd;
                ++checked;
            }
        }
    }
    std::printf("Sun rise/set: %d events, worst %.3f min\n", checked, worst);
    RecordProperty("worst_minutes", std::to_string(worst));
    EXPECT_GT(checked, 3000);
}

TEST(SunRiseSet, MidnightSunAndPolarNightHaveNone) {
    ObservingPlace tromso;
    tromso.SetLongitude(18.96);
    tromso.SetLatitude(69.65);
    auto none = [](const DayRiseSet &r) { return !r.rises && !r.sets; };
    EXPECT_TRUE(none(SunRiseSetForDate(tromso, JulianDate(2024, 6, 21, 12))));
    EXPECT_TRUE(none(SunRiseSetForDate(tromso, JulianDate(2024, 12, 21, 12))));
    const DayRiseSet march = SunRiseSetForDate(tromso, JulianDate(2024, 3, 21, 12));
    EXPECT_TRUE(march.rises && march.sets);
    ObservingPlace pole;
    pole.SetLatitude(90.0);
    EXPECT_TRUE(none(SunRiseSetForDate(pole, JulianDate(2024, 3, 21, 12))));
}

} // namespace
} // namespace vespario
