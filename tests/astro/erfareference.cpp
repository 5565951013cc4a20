#include "erfareference.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace vespario::test {

namespace {

// Delta T at the start of 1950, 1955, ..., 2020 (s).
constexpr double kDeltaT[] = {29.07, 31.07, 33.15, 35.73, 40.18, 45.48, 50.54, 54.34,
                              56.86, 60.78, 63.83, 64.69, 66.07, 67.64, 69.36};
constexpr int kDeltaTCount = sizeof kDeltaT / sizeof kDeltaT[0];

double YearOf(double jd) {
    return 2000.0 + (jd - 2451544.5) / 365.25;
}

double LightDays(double distanceAu) {
    return distanceAu * ERFA_AULT / ERFA_DAYSEC;
}

// The apparent place of an astrometric geocentric vector p (au) at TT tt.
RaDec Apparent(double p[3], double tt, bool aberration) {
    RaDec out;
    out.distance = eraPm(p);
    double u[3], q[3];
    eraPn(p, &out.distance, u);
    if (aberration) {
        double pvh[2][3], pvb[2][3], v[3];
        eraEpv00(tt, 0.0, pvh, pvb);
        eraSxp(ERFA_AULT / ERFA_DAYSEC, pvb[1], v);
        const double bm1 = std::sqrt(1.0 - eraPm(v) * eraPm(v));
        eraAb(u, v, eraPm(pvh[0]), bm1, q);
    } else {
        eraCp(u, q);
    }
    double rbpn[3][3], r[3];
    eraPnm80(tt, 0.0, rbpn);
    eraRxp(rbpn, q, r);
    eraC2s(r, &out.ra, &out.dec);
    out.ra = eraAnp(out.ra);
    return out;
}

// Geocentric astrometric vector of a body whose heliocentric position at TT is given
// by 'helio', the Earth taken at tt, with light time iterated.
template <typename Helio> RaDec FromHeliocentric(double tt, Helio helio) {
    double pvh[2][3], pvb[2][3];
    eraEpv00(tt, 0.0, pvh, pvb);
    double p[3], body[3];
    double tau = 0.0;
    for (int i = 0; i < 4; ++i) {
        helio(tt - tau, body);
        eraPmp(body, pvh[0], p);
        tau = LightDays(eraPm(p));
    }
    return Apparent(p, tt, true);
}

} // namespace

double DeltaTSeconds(double jdUT) {
    const double index = (YearOf(jdUT) - 1950.0) / 5.0;
    if (index <= 0.0)
        return kDeltaT[0];
    if (index >= kDeltaTCount - 1)
        return kDeltaT[kDeltaTCount - 1] + 0.1 * (index - (kDeltaTCount - 1)) * 5.0;
    const int i = static_cast<int>(index);
    return kDeltaT[i] + (kDeltaT[i + 1] - kDeltaT[i]) * (index - i);
}

static double TT(double jdUT) {
    return jdUT + DeltaTSeconds(jdUT) / ERFA_DAYSEC;
}

RaDec ErfaSun(double jdUT) {
    const double tt = TT(jdUT);
    double pvh[2][3], pvb[2][3], p[3];
    eraEpv00(tt, 0.0, pvh, pvb);
    eraSxp(-1.0, pvh[0], p);
    return Apparent(p, tt, true);
}

RaDec ErfaPlanet(int planet, double jdUT) {
    static constexpr int kErfaIndex[8] = {0, 1, 2, 4, 5, 6, 7, 8};
    const int np = kErfaIndex[planet];
    return FromHeliocentric(TT(jdUT), [np](double t, double out[3]) {
        double pv[2][3];
        eraPlan94(t, 0.0, np, pv);
        eraCp(pv[0], out);
    });
}

void MeeusPlutoHeliocentric(double jdTT, double &l, double &b, double &r) {
    struct Term {
        int j, s, p;
        double lonA, lonB, latA, latB, radA, radB;
    };
    static constexpr Term kTerms[] = {
        {0, 0, 1, -19799805, 19850055, -5452852, -14974862, 66865439, 68951812},
        {0, 0, 2, 897144, -4954829, 3527812, 1672790, -11827535, -332538},
        {0, 0, 3, 611149, 1211027, -1050748, 327647, 1593179, -1438890},
        {0, 0, 4, -341243, -189585, 178690, -292153, -18444, 483220},
        {0, 0, 5, 129287, -34992, 18650, 100340, -65977, -85431},
        {0, 0, 6, -38164, 30893, -30697, -25823, 31174, -6032},
        {0, 1, -1, 20442, -9987, 4878, 11248, -5794, 22161},
        {0, 1, 0, -4063, -5071, 226, -64, 4601, 4032},
        {0, 1, 1, -6016, -3336, 2030, -836, -1729, 234},
        {0, 1, 2, -3956, 3039, 69, -604, -415, 702},
        {0, 1, 3, -667, 3572, -247, -567, 239, 723},
        {0, 2, -2, 1276, 501, -57, 1, 67, -67},
        {0, 2, -1, 1152, -917, -122, 175, 1034, -451},
        {0, 2, 0, 630, -1277, -49, -164, -129, 504},
        {1, -1, 0, 2571, -459, -197, 199, 480, -231},
        {1, -1, 1, 899, -1449, -25, 217, 2, -441},
        {1, 0, -3, -1016, 1043, 589, -248, -3359, 265},
        {1, 0, -2, -2343, -1012, -269, 711, 7856, -7832},
        {1, 0, -1, 7042, 788, 185, 193, 36, 45763},
        {1, 0, 0, 1199, -338, 315, 807, 8663, 8547},
        {1, 0, 1, 418, -67, -130, -43, -809, -769},
        {1, 0, 2, 120, -274, 5, 3, 263, -144},
        {1, 0, 3, -60, -159, 2, 17, -126, 32},
        {1, 0, 4, -82, -29, 2, 5, -35, -16},
        {1, 1, -3, -36, -29, 2, 3, -19, -4},
        {1, 1, -2, -40, 7, 3, 1, -15, 8},
        {1, 1, -1, -14, 22, 2, -1, -4, 12},
        {1, 1, 0, 4, 13, 1, -1, 5, 6},
        {1, 1, 1, 5, 2, 0, -1, 3, 1},
        {1, 1, 3, -1, 0, 0, 0, 6, -2},
        {2, 0, -6, 2, 0, 0, -2, 2, 2},
        {2, 0, -5, -4, 5, 2, 2, -2, -2},
        {2, 0, -4, 4, -7, -7, 0, 14, 13},
        {2, 0, -3, 14, 24, 10, -8, -63, 13},
        {2, 0, -2, -49, -34, -3, 20, 136, -236},
        {2, 0, -1, 163, -48, 6, 5, 273, 1065},
        {2, 0, 0, 9, -24, 14, 17, 251, 149},
        {2, 0, 1, -4, 1, -2, 0, -25, -9},
        {2, 0, 2, -3, 1, 0, 0, 9, -2},
        {2, 0, 3, 1, 3, 0, 0, -8, 7},
        {3, 0, -2, -3, -1, 0, 1, 2, -10},
        {3, 0, -1, 5, -3, 0, 0, 19, 35},
        {3, 0, 0, 0, 0, 1, 0, 10, 2},
    };
    const double t = (jdTT - 2451545.0) / 36525.0;
    const double jup = 34.35 + 3034.9057 * t;
    const double sat = 50.08 + 1222.1138 * t;
    const double plu = 238.96 + 144.9600 * t;
    double sumL = 0.0, sumB = 0.0, sumR = 0.0;
    for (const Term &k : kTerms) {
        const double a = (k.j * jup + k.s * sat + k.p * plu) * ERFA_DD2R;
        sumL += k.lonA * std::sin(a) + k.lonB * std::cos(a);
        sumB += k.latA * std::sin(a) + k.latB * std::cos(a);
        sumR += k.radA * std::sin(a) + k.radB * std::cos(a);
    }
    l = 238.958116 + 144.96 * t + sumL * 1e-6;
    b = -3.908239 + sumB * 1e-6;
    r = 40.7241346 + sumR * 1e-7;
}

RaDec MeeusPluto(double jdUT) {
    return FromHeliocentric(TT(jdUT), [](double t, double out[3]) {
        double l = 0.0, b = 0.0, r = 0.0;
        MeeusPlutoHeliocentric(t, l, b, r);
        double ecliptic[3];
        eraS2p(l * ERFA_DD2R, b * ERFA_DD2R, r, ecliptic);
        // FK5 J2000 ecliptic to equator: the obliquity 23.4392911 deg of the series.
        double rot[3][3];
        eraIr(rot);
        eraRx(-23.4392911 * ERFA_DD2R, rot);
        eraRxp(rot, ecliptic, out);
    });
}

RaDec ErfaMoon(double jdUT) {
    const double tt = TT(jdUT);
    double pv[2][3];
    eraMoon98(tt, 0.0, pv);
    RaDec out = Apparent(pv[0], tt, false);
    out.distance *= ERFA_DAU / 1000.0;
    return out;
}

double EclipticLongitudeOfDate(const RaDec &place, double jdUT) {
    const double tt = TT(jdUT);
    double dpsi = 0.0, deps = 0.0;
    eraNut80(tt, 0.0, &dpsi, &deps);
    const double eps = eraObl80(tt, 0.0) + deps;
    double p[3], q[3], rot[3][3];
    eraS2c(place.ra, place.dec, p);
    eraIr(rot);
    eraRx(eps, rot);
    eraRxp(rot, p, q);
    double lon = 0.0, lat = 0.0;
    eraC2s(q, &lon, &lat);
    return eraAnp(lon);
}

double SeparationDeg(double ra1, double dec1, double ra2, double dec2) {
    return eraSeps(ra1, dec1, ra2, dec2) * ERFA_DR2D;
}

} // namespace vespario::test
