#include "astro/sun.h"

#include "astro/constants.h"
#include "astro/coordinates.h"
#include "astro/kepler.h"
#include "astro/nutation.h"

#include <cmath>

namespace vespario {

namespace {

// The perturbation arguments of the theory (degrees).
struct SunArguments {
    double a; // Venus
    double b; // Venus
    double c; // Jupiter
    double d; // the Moon
    double h; // long-period term
    double g; // radius vector only
};

SunArguments ArgumentsOf(double t) {
    SunArguments s;
    s.a = TurnsToDegrees(62.55209472, t) + 153.23;
    s.b = TurnsToDegrees(125.1041894, t) + 216.57;
    s.c = TurnsToDegrees(91.56766028, t) + 312.69;
    s.d = TurnsToDegrees(1236.853095, t) - 0.00144 * t * t + 350.74;
    s.h = 231.19 + 20.2 * t;
    s.g = TurnsToDegrees(183.1353208, t) + 353.4;
    return s;
}

} // namespace

SunPosition ComputeSun(double jd) {
    const double t = CenturiesSince1900(jd);
    const double e = 0.01675104 - 0.0000418 * t - 0.000000126 * t * t;
    const double mDeg =
        TurnsToDegrees(99.99736042, t) - (0.00015 + 0.0000033 * t) * t * t + 358.47583;
    const KeplerSolution k = SolveKepler(mDeg * kDegToRad, e);
    const SunArguments s = ArgumentsOf(t);
    const double r = kDegToRad;
    const double correction = TurnsToDegrees(100.0021359, t) - mDeg + 0.0003025 * t * t +
                              279.69668 + 0.00134 * std::cos(s.a * r) +
                              0.00154 * std::cos(s.b * r) + 0.002 * std::cos(s.c * r) +
                              0.00179 * std::sin(s.d * r) + 0.00178 * std::sin(s.h * r);
    SunPosition sun;
    sun.longitude = IntoFullTurn(k.trueAnomaly + correction * kDegToRad);
    sun.radiusVector = 1.0000002 * (1.0 - e * std::cos(k.eccentricAnomaly)) +
                       9.27e-06 * std::sin(s.g * r) + 5.43e-06 * std::sin(s.a * r) +
                       1.575e-05 * std::sin(s.b * r) + 1.627e-05 * std::sin(s.c * r) +
                       3.076e-05 * std::cos(s.d * r);
    sun.meanAnomaly = mDeg * kDegToRad;
    return sun;
}

ApparentPlace SunApparent(double jd) {
    const SunPosition sun = ComputeSun(jd);
    const Nutation n = NutationOfDate(jd);
    ApparentPlace p;
    p.longitude = IntoFullTurn(sun.longitude + (n.longitude - kSunAberrationDeg) * kDegToRad);
    p.latitude = 0.0;
    CompleteApparentPlace(p, jd);
    return p;
}

} // namespace vespario
