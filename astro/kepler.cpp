#include "astro/kepler.h"

#include "astro/constants.h"

#include <algorithm>
#include <cmath>

namespace vespario {

namespace {

constexpr double kInverseTwoPi = 0.15915494327375637; // 1 / (2 pi), on the full pi
constexpr double kTolerance = 1e-06;                  // rad
constexpr int kMaxSteps = 100;
constexpr double kMaxEccentricity = 0.999999;

} // namespace

KeplerSolution SolveKepler(double meanAnomaly, double eccentricity) {
    KeplerSolution s;
    if (!std::isfinite(meanAnomaly)) {
        s.eccentricAnomaly = s.trueAnomaly = meanAnomaly;
        return s;
    }
    const double e =
        std::isfinite(eccentricity) ? std::clamp(eccentricity, 0.0, kMaxEccentricity) : 0.0;
    const double m = meanAnomaly - kTwoPi * std::floor(meanAnomaly * kInverseTwoPi);
    double big = m;
    for (int step = 0; step < kMaxSteps; ++step) {
        const double residual = big - e * std::sin(big) - m;
        if (std::fabs(residual) < kTolerance)
            break;
        big -= residual / (1.0 - e * std::cos(big));
    }
    s.eccentricAnomaly = big;
    const double nu = 2.0 * std::atan2(std::sqrt(1.0 + e) * std::sin(big / 2.0),
                                       std::sqrt(1.0 - e) * std::cos(big / 2.0));
    s.trueAnomaly = nu;
    return s;
}

} // namespace vespario
