// Precession against ERFA's IAU 1976 routines (eraPrec76 for the angles between any two
// epochs, eraPmat76 for the matrix from J2000).

#include "astro/precession.h"

#include "astro/constants.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace vespario {
namespace {

constexpr double kTrueArcsec = ERFA_DAS2R; // ERFA's own arcsecond, on the full pi

void ErfaPrecess(double from, double to, double &ra, double &dec) {
    double a0 = 0.0, a1 = 0.0, b0 = 0.0, b1 = 0.0, zeta = 0.0, z = 0.0, theta = 0.0;
    eraEpj2jd(from, &a0, &a1);
    eraEpj2jd(to, &b0, &b1);
    eraPrec76(a0, a1, b0, b1, &zeta, &z, &theta);
    double r[3][3], p[3], q[3];
    eraIr(r);
    eraRz(-zeta, r);
    eraRy(theta, r);
    eraRz(-z, r);
    eraS2c(ra, dec, p);
    eraRxp(r, p, q);
    eraC2s(q, &ra, &dec);
}

// Angular distance in arcseconds.
double ArcsecBetween(double ra1, double dec1, double ra2, double dec2) {
    return eraSeps(ra1, dec1, ra2, dec2) / kTrueArcsec;
}

struct EpochPair {
    double from;
    double to;
};

class PrecessionVsErfa : public ::testing::TestWithParam<EpochPair> {};

TEST_P(PrecessionVsErfa, AnglesAgreeWithPrec76) {
    const EpochPair &pair = GetParam();
    double a0 = 0.0, a1 = 0.0, b0 = 0.0, b1 = 0.0, zeta = 0.0, z = 0.0, theta = 0.0;
    eraEpj2jd(pair.from, &a0, &a1);
    eraEpj2jd(pair.to, &b0, &b1);
    eraPrec76(a0, a1, b0, b1, &zeta, &z, &theta);
    Precession precession;
    double ra = 0.0, dec = 0.0;
    precession.Apply(pair.from, pair.to, ra, dec);
    // Both use the same polynomial; the program's arcsecond differs from ERFA's by 1e-9.
    EXPECT_NEAR(precession.Zeta() / kArcsecToRad, zeta / kTrueArcsec, 1e-4);
    EXPECT_NEAR(precession.Z() / kArcsecToRad, z / kTrueArcsec, 1e-4);
    EXPECT_NEAR(precession.Theta() / kArcsecToRad, theta / kTrueArcsec, 1e-4);
}

TEST_P(PrecessionVsErfa, PositionsWithinAHundredthOfAnArcsecond) {
    const EpochPair &pair = GetParam();
    Precession precession;
    double worst = 0.0;
    for (double ra0 = 0.05; ra0 < 2.0 * kPi; ra0 += 0.37) {
        for (double dec0 = -1.55; dec0 < 1.56; dec0 += 0.31) {
            double ra = ra0, dec = dec0, raE = ra0, decE = dec0;
            precession.Apply(pair.from, pair.to, ra, dec);
            ErfaPrecess(pair.from, pair.to, raE, decE);
            ASSERT_GE(ra, 0.0);
            ASSERT_LT(ra, 2.0 * kPi);
            worst = std::max(worst, ArcsecBetween(ra, dec, raE, decE));
        }
    }
    EXPECT_LT(worst, 0.01) << pair.from << " -> " << pair.to;
}

INSTANTIATE_TEST_SUITE_P(Epochs, PrecessionVsErfa,
                         ::testing::Values(EpochPair{1950, 2000}, EpochPair{2000, 1950},
                                           EpochPair{2000, 1900}, EpochPair{2000, 2100},
                                           EpochPair{1900, 2100}, EpochPair{2100, 1900},
                                           EpochPair{1975.5, 2025.25}, EpochPair{2000, 2000}));

TEST(Precession, MatchesPmat76FromJ2000EveryDecade) {
    Precession precession;
    for (double year = 1900; year <= 2100; year += 10) {
        double d0 = 0.0, d1 = 0.0, rmat[3][3], p[3], q[3];
        eraEpj2jd(year, &d0, &d1);
        eraPmat76(d0, d1, rmat);
        const double ra0 = 5.1, dec0 = 0.7;
        eraS2c(ra0, dec0, p);
        eraRxp(rmat, p, q);
        double raE = 0.0, decE = 0.0, ra = ra0, dec = dec0;
        eraC2s(q, &raE, &decE);
        precession.Apply(2000.0, year, ra, dec);
        EXPECT_LT(ArcsecBetween(ra, dec, raE, decE), 0.01) << year;
    }
}

TEST(Precession, CacheFollowsTheEpochPair) {
    Precession precession;
    double ra = 1.0, dec = 0.5;
    precession.Apply(1950, 2000, ra, dec);
    const double zeta1950 = precession.Zeta();
    precession.Apply(2000, 2050, ra, dec);
    EXPECT_NE(precession.Zeta(), zeta1950); // a new pair recomputes
    precession.Apply(2050, 2000, ra, dec);
    precession.Apply(2000, 1950, ra, dec);
    EXPECT_NEAR(ra, 1.0, 1e-9); // and the way back lands where it started
    EXPECT_NEAR(dec, 0.5, 1e-9);
}

TEST(Precession, NearThePoleTheDeclinationStaysExact) {
    Precession precession;
    double ra = 0.0, dec = kPi / 2.0 - 1e-9, raE = ra, decE = dec;
    precession.Apply(2000, 2100, ra, dec);
    ErfaPrecess(2000, 2100, raE, decE);
    EXPECT_LT(ArcsecBetween(ra, dec, raE, decE), 0.01);
}

} // namespace
} // namespace vespario
