// Coefficients: Meeus, "Astronomical Formulae for Calculators", 1979, chapter 30.

#include "astro/moon.h"

#include "astro/constants.h"
#include "astro/coordinates.h"
#include "astro/nutation.h"
#include "astro/sun.h"

#include <algorithm>
#include <cmath>

namespace vespario {

namespace {

using std::cos;
using std::sin;

constexpr double kEarthRadiusKm = 6378.14;
constexpr double kRefraction = 0.0098902; // 34' (rad)
constexpr double kMoonRadiusInEarthRadii = 0.27249;

// The mean arguments (rad), with the long-period additive terms, and the factor E.
struct LunarArguments {
    double lMoon; // mean longitude L' (degrees: it is added to, not a sine argument)
    double m;     // the Sun's mean anomaly
    double mMoon; // the Moon's mean anomaly M'
    double d;     // mean elongation
    double f;     // argument of latitude
    double node;  // longitude of the node (degrees)
    double e;
    double e2;
    double t; // centuries since 1900
};

LunarArguments ArgumentsOf(double t) {
    const double t2 = t * t, t3 = t2 * t;
    double lMoon =
        270.434164 + TurnsToDegrees(481267.8831 / 360.0, t) - 0.001133 * t2 + 0.0000019 * t3;
    double m = 358.475833 + TurnsToDegrees(35999.0498 / 360.0, t) - 0.000150 * t2 - 0.0000033 * t3;
    double mMoon =
        296.104608 + TurnsToDegrees(477198.8491 / 360.0, t) + 0.009192 * t2 + 0.0000144 * t3;
    double d = 350.737486 + TurnsToDegrees(445267.1142 / 360.0, t) - 0.001436 * t2 + 0.0000019 * t3;
    double f = 11.250889 + TurnsToDegrees(483202.0251 / 360.0, t) - 0.003211 * t2 - 0.0000003 * t3;
    const double node =
        259.183275 - TurnsToDegrees(1934.1420 / 360.0, t) + 0.002078 * t2 + 0.0000022 * t3;

    const double s1 = sin((51.2 + 20.2 * t) * kDegToRad);
    lMoon += 0.000233 * s1;
    m -= 0.001778 * s1;
    mMoon += 0.000817 * s1;
    d += 0.002011 * s1;
    const double venus = 0.003964 * sin((346.560 + 132.870 * t - 0.0091731 * t2) * kDegToRad);
    lMoon += venus;
    mMoon += venus;
    d += venus;
    f += venus;
    const double sNode = sin(node * kDegToRad);
    lMoon += 0.001964 * sNode;
    mMoon += 0.002541 * sNode;
    d += 0.001964 * sNode;
    f -= 0.024691 * sNode + 0.004328 * sin((node + 275.05 - 2.30 * t) * kDegToRad);

    LunarArguments a;
    a.lMoon = lMoon;
    a.m = m * kDegToRad;
    a.mMoon = mMoon * kDegToRad;
    a.d = d * kDegToRad;
    a.f = f * kDegToRad;
    a.node = node;
    a.e = 1.0 - 0.002495 * t - 0.00000752 * t2;
    a.e2 = a.e * a.e;
    a.t = t;
    return a;
}

double LongitudeTermsDeg(const LunarArguments &a) {
    const double m = a.m, mp = a.mMoon, d = a.d, f = a.f, e = a.e, e2 = a.e2;
    double l = 6.288750 * sin(mp) + 1.274018 * sin(2 * d - mp) + 0.658309 * sin(2 * d) +
               0.213616 * sin(2 * mp) - e * 0.185596 * sin(m) - 0.114336 * sin(2 * f) +
               0.058793 * sin(2 * d - 2 * mp) + e * 0.057212 * sin(2 * d - m - mp) +
               0.053320 * sin(2 * d + mp) + e * 0.045874 * sin(2 * d - m) +
               e * 0.041024 * sin(mp - m) - 0.034718 * sin(d) - e * 0.030465 * sin(m + mp);
    l += 0.015326 * sin(2 * d - 2 * f) - 0.012528 * sin(2 * f + mp) - 0.010980 * sin(2 * f - mp) +
         0.010674 * sin(4 * d - mp) + 0.010034 * sin(3 * mp) + 0.008548 * sin(4 * d - 2 * mp) -
         e * 0.007910 * sin(m - mp + 2 * d) - e * 0.006783 * sin(2 * d + m) +
         0.005162 * sin(mp - d) + e * 0.005000 * sin(m + d) + e * 0.004049 * sin(mp - m + 2 * d) +
         0.003996 * sin(2 * mp + 2 * d) + 0.003862 * sin(4 * d) + 0.003665 * sin(2 * d - 3 * mp) +
         e * 0.002695 * sin(2 * mp - m) + 0.002602 * sin(mp - 2 * f - 2 * d) +
         e * 0.002396 * sin(2 * d - m - 2 * mp) - 0.002349 * sin(mp + d);
    l += e2 * 0.002249 * sin(2 * d - 2 * m) - e * 0.002125 * sin(2 * mp + m) -
         e2 * 0.002079 * sin(2 * m) + e2 * 0.002059 * sin(2 * d - mp - 2 * m) -
         0.001773 * sin(mp + 2 * d - 2 * f) - 0.001595 * sin(2 * f + 2 * d) +
         e * 0.001220 * sin(4 * d - m - mp) - 0.001110 * sin(2 * mp + 2 * f) +
         0.000892 * sin(mp - 3 * d) - e * 0.000811 * sin(m + mp + 2 * d) +
         e * 0.000761 * sin(4 * d - m - 2 * mp) + e2 * 0.000717 * sin(mp - 2 * m) +
         e2 * 0.000704 * sin(mp - 2 * m - 2 * d) + e * 0.000693 * sin(m - 2 * mp + 2 * d) +
         e * 0.000598 * sin(2 * d - m - 2 * f) + 0.000550 * sin(mp + 4 * d) +
         0.000538 * sin(4 * mp) + e * 0.000521 * sin(4 * d - m) + 0.000486 * sin(2 * mp - d);
    return l;
}

double LatitudeTermsDeg(const LunarArguments &a) {
    const double m = a.m, mp = a.mMoon, d = a.d, f = a.f, e = a.e, e2 = a.e2;
    double b = 5.128189 * sin(f) + 0.280606 * sin(mp + f) + 0.277693 * sin(mp - f) +
               0.173238 * sin(2 * d - f) + 0.055413 * sin(2 * d + f - mp) +
               0.046272 * sin(2 * d - f - mp) + 0.032573 * sin(2 * d + f) +
               0.017198 * sin(2 * mp + f) + 0.009267 * sin(2 * d + mp - f) +
               0.008823 * sin(2 * mp - f) + e * 0.008247 * sin(2 * d - m - f) +
               0.004323 * sin(2 * d - f - 2 * mp) + 0.004200 * sin(2 * d + f + mp) +
               e * 0.003372 * sin(f - m - 2 * d) + e * 0.002472 * sin(2 * d + f - m - mp);
    b += e * 0.002222 * sin(2 * d + f - m) + e * 0.002072 * sin(2 * d - f - m - mp) +
         e * 0.001877 * sin(f - m + mp) + 0.001828 * sin(4 * d - f - mp) -
         e * 0.001803 * sin(f + m) - 0.001750 * sin(3 * f) + e * 0.001570 * sin(mp - m - f) -
         0.001487 * sin(f + d) - e * 0.001481 * sin(f + m + mp) + e * 0.001417 * sin(f - m - mp) +
         e * 0.001350 * sin(f - m) + 0.001330 * sin(f - d) + 0.001106 * sin(f + 3 * mp) +
         0.001020 * sin(4 * d - f) + 0.000833 * sin(f + 4 * d - mp);
    b += 0.000781 * sin(mp - 3 * f) + 0.000670 * sin(f + 4 * d - 2 * mp) +
         0.000606 * sin(2 * d - 3 * f) + 0.000597 * sin(2 * d + 2 * mp - f) +
         e * 0.000492 * sin(2 * d + mp - m - f) + 0.000450 * sin(2 * mp - f - 2 * d) +
         0.000439 * sin(3 * mp - f) + 0.000423 * sin(f + 2 * d + 2 * mp) +
         0.000422 * sin(2 * d - f - 3 * mp) - e * 0.000367 * sin(m + f + 2 * d - mp) -
         e * 0.000353 * sin(m + f + 2 * d) + 0.000331 * sin(f + 4 * d) +
         e * 0.000317 * sin(2 * d + f - m + mp) + e2 * 0.000306 * sin(2 * d - 2 * m - f) -
         0.000283 * sin(mp + 3 * f);
    const double w1 = 0.0004664 * cos(a.node * kDegToRad);
    const double w2 = 0.0000754 * cos((a.node + 275.05 - 2.30 * a.t) * kDegToRad);
    return b * (1.0 - w1 - w2);
}

double ParallaxDeg(const LunarArguments &a) {
    const double m = a.m, mp = a.mMoon, d = a.d, f = a.f, e = a.e, e2 = a.e2;
    double p = 0.950724 + 0.051818 * cos(mp) + 0.009531 * cos(2 * d - mp) + 0.007843 * cos(2 * d) +
               0.002824 * cos(2 * mp) + 0.000857 * cos(2 * d + mp) + e * 0.000533 * cos(2 * d - m) +
               e * 0.000401 * cos(2 * d - m - mp) + e * 0.000320 * cos(mp - m) - 0.000271 * cos(d) -
               e * 0.000264 * cos(m + mp) - 0.000198 * cos(2 * f - mp) + 0.000173 * cos(3 * mp) +
               0.000167 * cos(4 * d - mp) - e * 0.000111 * cos(m);
    p += 0.000103 * cos(4 * d - 2 * mp) - 0.000084 * cos(2 * mp - 2 * d) -
         e * 0.000083 * cos(2 * d + m) + 0.000079 * cos(2 * d + 2 * mp) + 0.000072 * cos(4 * d) +
         e * 0.000064 * cos(2 * d - m + mp) - e * 0.000063 * cos(2 * d + m - mp) +
         e * 0.000041 * cos(m + d) + e * 0.000035 * cos(2 * mp - m) -
         0.000033 * cos(3 * mp - 2 * d) - 0.000030 * cos(mp + d) - 0.000029 * cos(2 * f - 2 * d) -
         e * 0.000029 * cos(2 * mp + m) + e2 * 0.000026 * cos(2 * d - 2 * m) -
         0.000023 * cos(2 * f - 2 * d + mp) + e * 0.000019 * cos(4 * d - m - mp);
    return p;
}

double PhaseFraction(const MoonPosition &moon, double sunLongitude) {
    const double cosD = cos(moon.apparent.longitude - sunLongitude) * cos(moon.latitude);
    const double d = std::acos(std::clamp(cosD, -1.0, 1.0));
    const double i = kPi - d -
                     0.1468 * sin(d) * (1.0 - 0.0549 * sin(moon.meanAnomaly)) /
                         (1.0 - 0.0167 * sin(moon.sunMeanAnomaly)) * kDegToRad;
    return (1.0 + cos(i)) / 2.0;
}

} // namespace

MoonPosition ComputeMoon(double jd) {
    MoonPosition moon;
    if (!std::isfinite(jd))
        return moon;
    const double t = CenturiesSince1900(jd);
    const LunarArguments a = ArgumentsOf(t);
    moon.longitude = IntoFullTurn((a.lMoon + LongitudeTermsDeg(a)) * kDegToRad);
    moon.latitude = LatitudeTermsDeg(a) * kDegToRad;
    moon.horizontalParallax = ParallaxDeg(a) * kDegToRad;
    moon.distance = kEarthRadiusKm / sin(moon.horizontalParallax);
    moon.meanAnomaly = a.mMoon;
    moon.sunMeanAnomaly = a.m;
    const Nutation n = NutationOfDate(jd);
    moon.apparent.longitude = IntoFullTurn(moon.longitude + n.longitude * kDegToRad);
    moon.apparent.latitude = moon.latitude;
    CompleteApparentPlace(moon.apparent, jd);
    moon.illuminatedFraction = PhaseFraction(moon, SunApparent(jd).longitude);
    return moon;
}

double MoonRiseSetShift(double horizontalParallax) {
    return kRefraction + kMoonRadiusInEarthRadii * sin(horizontalParallax) - horizontalParallax;
}

} // namespace vespario
