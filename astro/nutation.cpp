#include "astro/nutation.h"

#include "astro/constants.h"
#include "astro/ephemeris.h"

#include <cmath>

namespace vespario {

namespace {

// The five arguments in radians (two of them doubled, as the series uses them).
struct NutationArguments {
    double twoL;
    double twoLMoon;
    double m;
    double mMoon;
    double node;
};

NutationArguments ArgumentsOf(double t) {
    const double t2 = t * t;
    NutationArguments a;
    a.twoL = 2.0 * (TurnsToDegrees(100.0021358, t) + 0.000303 * t2 + 279.6967) * kDegToRad;
    a.twoLMoon = 2.0 * (TurnsToDegrees(1336.855231, t) - 0.001133 * t2 + 270.4342) * kDegToRad;
    a.m = (TurnsToDegrees(99.99736056, t) - 0.00015 * t2 + 358.4758) * kDegToRad;
    a.mMoon = (TurnsToDegrees(13255523.59, t) + 0.009192 * t2 + 296.1046) * kDegToRad;
    a.node = (259.1833 - TurnsToDegrees(5.372616667, t) + 0.002078 * t2) * kDegToRad;
    return a;
}

double LongitudeArcsec(const NutationArguments &a, double t) {
    using std::sin;
    return -(17.2327 + 0.01737 * t) * sin(a.node) - (1.2729 + 0.00013 * t) * sin(a.twoL) +
           0.2088 * sin(2.0 * a.node) - 0.2037 * sin(a.twoLMoon) +
           (0.1261 - 0.00031 * t) * sin(a.m) + 0.0675 * sin(a.mMoon) -
           (0.0497 - 0.00012 * t) * sin(a.twoL + a.m) + 0.0214 * sin(a.twoL - a.m) +
           0.0124 * sin(a.twoL - a.node) + 0.0114 * sin(a.twoLMoon - a.mMoon) -
           0.0149 * sin(a.twoL - a.twoLMoon + a.mMoon) - 0.0342 * sin(a.twoLMoon - a.node) -
           0.0261 * sin(a.twoLMoon + a.mMoon);
}

double ObliquityArcsec(const NutationArguments &a, double t) {
    using std::cos;
    return (9.21 + 0.00091 * t) * cos(a.node) + (0.5522 - 0.00029 * t) * cos(a.twoL) -
           0.0904 * cos(2.0 * a.node) + 0.0884 * cos(a.twoLMoon) + 0.0216 * cos(a.twoL + a.m) +
           0.0183 * cos(a.twoLMoon - a.node) + 0.0113 * cos(a.twoLMoon + a.mMoon) -
           0.0093 * cos(a.twoL - a.m) - 0.0066 * cos(a.twoL - a.node);
}

} // namespace

Nutation NutationOfDate(double jd) {
    const double t = CenturiesSince1900(jd);
    const NutationArguments a = ArgumentsOf(t);
    Nutation n;
    n.longitude = LongitudeArcsec(a, t) / 3600.0;
    n.obliquity = ObliquityArcsec(a, t) / 3600.0;
    return n;
}

} // namespace vespario
