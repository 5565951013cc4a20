// Reference for every coefficient in this file: Duffett-Smith, P., "Astronomy with your
// Personal Computer", 2nd ed., Cambridge University Press 1990, subroutine PLANS (the same
// terms as in Duffett-Smith & Zwart, "Practical Astronomy with your Calculator or
// Spreadsheet", 4th ed. 2011). The Jupiter to Neptune block is that of Meeus,
// "Astronomical Formulae for Calculators", 1979, chapter 23, after the Explanatory
// Supplement to the Astronomical Ephemeris, 1961.

#include "astro/planetperturbations.h"

#include "astro/constants.h"

#include <cmath>

namespace vespario {

namespace {

using std::cos;
using std::sin;

double IntoTurn(double angle) {
    return angle - kTwoPi * std::floor(angle / kTwoPi);
}

// The long-period arguments shared by the outer planets (rad) and the time in units of
// five centuries from 1850 (the theory's nu).
struct OuterArguments {
    double j1, j2, j3, j4, j5, j6, j8;
};

OuterArguments OuterArgumentsOf(double t) {
    OuterArguments a;
    a.j1 = t / 5.0 + 0.1;
    a.j2 = IntoTurn(4.14473 + 52.9691 * t);   // Jupiter's mean anomaly
    a.j3 = IntoTurn(4.641118 + 21.32991 * t); // Saturn's
    a.j4 = IntoTurn(4.250177 + 7.478172 * t); // Uranus's
    a.j5 = 5.0 * a.j3 - 2.0 * a.j2;           // the great inequality
    a.j6 = 2.0 * a.j2 - 6.0 * a.j3 + 3.0 * a.j4;
    a.j8 = IntoTurn(1.46205 + 3.81337 * t); // Neptune's mean anomaly
    return a;
}

// Sines and cosines of Saturn's anomaly (u1..u4), of the great inequality (u5..u7), of
// j6 (u8) and of multiples of the Saturn-Jupiter difference (u9..vh).
struct JupiterSaturnTerms {
    double u1, u2, u3, u4, u5, u6, u7, u8, u9, ua, ub, uc, ud, ue, uf, ug, vh;
};

JupiterSaturnTerms TermsOf(const OuterArguments &a) {
    const double j7 = a.j3 - a.j2;
    JupiterSaturnTerms u;
    u.u1 = sin(a.j3);
    u.u2 = cos(a.j3);
    u.u3 = sin(2.0 * a.j3);
    u.u4 = cos(2.0 * a.j3);
    u.u5 = sin(a.j5);
    u.u6 = cos(a.j5);
    u.u7 = sin(2.0 * a.j5);
    u.u8 = sin(a.j6);
    u.u9 = sin(j7);
    u.ua = cos(j7);
    u.ub = sin(2.0 * j7);
    u.uc = cos(2.0 * j7);
    u.ud = sin(3.0 * j7);
    u.ue = cos(3.0 * j7);
    u.uf = sin(4.0 * j7);
    u.ug = cos(4.0 * j7);
    u.vh = cos(5.0 * j7);
    return u;
}

double MeanAnomalyTerm(double meanLongitude, double vkDeg, double eccentricity) {
    if (eccentricity < 1e-9)
        return meanLongitude;
    return meanLongitude - vkDeg * kDegToRad / eccentricity;
}

PlanetPerturbations Jupiter(const OuterArguments &a, double e) {
    const JupiterSaturnTerms u = TermsOf(a);
    const double j1 = a.j1;
    PlanetPerturbations p;
    double qc = (0.331364 - (0.010281 + 0.004692 * j1) * j1) * u.u5;
    qc += (0.003228 - (0.064436 - 0.002075 * j1) * j1) * u.u6;
    qc -= (0.003083 + (0.000275 - 0.000489 * j1) * j1) * u.u7;
    qc += 0.002472 * u.u8 + 0.013619 * u.u9 + 0.018472 * u.ub;
    qc += 0.006717 * u.ud + 0.002775 * u.uf + 0.006417 * u.ub * u.u1;
    qc += (0.007275 - 0.001253 * j1) * u.u9 * u.u1 + 0.002439 * u.ud * u.u1;
    qc -= (0.035681 + 0.001208 * j1) * u.u9 * u.u2 + 0.003767 * u.uc * u.u1;
    qc -= (0.033839 + 0.001125 * j1) * u.ua * u.u1 + 0.004261 * u.ub * u.u2;
    qc += (0.001161 * j1 - 0.006333) * u.ua * u.u2 + 0.002178 * u.u2;
    qc -= 0.006675 * u.uc * u.u2 + 0.002664 * u.ue * u.u2 + 0.002572 * u.u9 * u.u3;
    qc += -0.003567 * u.ub * u.u3 + 0.002094 * u.ua * u.u4 + 0.003342 * u.uc * u.u4;
    p.meanLongitude = qc * kDegToRad;

    double qd = (3606.0 + (130.0 - 43.0 * j1) * j1) * u.u5 + (1289.0 - 580.0 * j1) * u.u6;
    qd += -6764.0 * u.u9 * u.u1 - 1110.0 * u.ub * u.u1 - 224.0 * u.ud * u.u1 - 204.0 * u.u1;
    qd += (1284.0 + 116.0 * j1) * u.ua * u.u1 + 188.0 * u.uc * u.u1;
    qd += (1460.0 + 130.0 * j1) * u.u9 * u.u2 + 224.0 * u.ub * u.u2 - 817.0 * u.u2;
    qd += 6074.0 * u.u2 * u.ua + 992.0 * u.uc * u.u2 + 508.0 * u.ue * u.u2 + 230.0 * u.ug * u.u2;
    qd += 108.0 * u.vh * u.u2 - (956.0 + 73.0 * j1) * u.u9 * u.u3 + 448.0 * u.ub * u.u3;
    qd += 137.0 * u.ud * u.u3 + (108.0 * j1 - 997.0) * u.ua * u.u3 + 480.0 * u.uc * u.u3;
    qd += 148.0 * u.ue * u.u3 + (99.0 * j1 - 956.0) * u.u9 * u.u4 + 490.0 * u.ub * u.u4;
    qd += 158.0 * u.ud * u.u4 + 179.0 * u.u4 + (1024.0 + 75.0 * j1) * u.ua * u.u4;
    qd += -437.0 * u.uc * u.u4 - 132.0 * u.ue * u.u4;
    p.eccentricity = qd * 1e-7;

    double vk = (0.007192 - 0.003147 * j1) * u.u5 - 0.004344 * u.u1;
    vk += (j1 * (0.000197 * j1 - 0.000675) - 0.020428) * u.u6;
    vk += 0.034036 * u.ua * u.u1 + (0.007269 + 0.000672 * j1) * u.u9 * u.u1;
    vk += 0.005614 * u.uc * u.u1 + 0.002964 * u.ue * u.u1 + 0.037761 * u.u9 * u.u2;
    vk += 0.006158 * u.ub * u.u2 - 0.006603 * u.ua * u.u2 - 0.005356 * u.u9 * u.u3;
    vk += 0.002722 * u.ub * u.u3 + 0.004483 * u.ua * u.u3;
    vk += -0.002642 * u.uc * u.u3 + 0.004403 * u.u9 * u.u4;
    vk += -0.002536 * u.ub * u.u4 + 0.005547 * u.ua * u.u4 - 0.002689 * u.uc * u.u4;
    p.meanAnomaly = MeanAnomalyTerm(p.meanLongitude, vk, e);

    double qf = 205.0 * u.ua - 263.0 * u.u6 + 693.0 * u.uc + 312.0 * u.ue + 147.0 * u.ug +
                299.0 * u.u9 * u.u1;
    qf += 181.0 * u.uc * u.u1 + 204.0 * u.ub * u.u2 + 111.0 * u.ud * u.u2 - 337.0 * u.ua * u.u2;
    qf -= 111.0 * u.uc * u.u2;
    p.semiMajorAxis = qf * 1e-6;
    return p;
}

PlanetPerturbations Saturn(const OuterArguments &a, double e) {
    const JupiterSaturnTerms u = TermsOf(a);
    const double j1 = a.j1;
    const double ui = sin(3.0 * a.j3), uj = cos(3.0 * a.j3);
    const double uk = sin(4.0 * a.j3), ul = cos(4.0 * a.j3);
    const double vi = cos(2.0 * a.j5);
    const double un = sin(5.0 * (a.j3 - a.j2));
    const double j8 = a.j4 - a.j3;
    const double uo = sin(2.0 * j8), up = cos(2.0 * j8);
    const double uq = sin(3.0 * j8), ur = cos(3.0 * j8);
    PlanetPerturbations p;

    double qc = 0.007581 * u.u7 - 0.007986 * u.u8 - 0.148811 * u.u9;
    qc -= (0.814181 - (0.01815 - 0.016714 * j1) * j1) * u.u5;
    qc -= (0.010497 - (0.160906 - 0.0041 * j1) * j1) * u.u6;
    qc += -0.015208 * u.ud - 0.006339 * u.uf - 0.006244 * u.u1;
    qc += -0.0165 * u.ub * u.u1 - 0.040786 * u.ub;
    qc += (0.008931 + 0.002728 * j1) * u.u9 * u.u1 - 0.005775 * u.ud * u.u1;
    qc += (0.081344 + 0.003206 * j1) * u.ua * u.u1 + 0.015019 * u.uc * u.u1;
    qc += (0.085581 + 0.002494 * j1) * u.u9 * u.u2 + 0.014394 * u.uc * u.u2;
    qc += (0.025328 - 0.003117 * j1) * u.ua * u.u2 + 0.006319 * u.ue * u.u2;
    qc += 0.006369 * u.u9 * u.u3 + 0.009156 * u.ub * u.u3 + 0.007525 * uq * u.u3;
    qc += -0.005236 * u.ua * u.u4 - 0.007736 * u.uc * u.u4 - 0.007528 * ur * u.u4;
    p.meanLongitude = qc * kDegToRad;

    double qd = (-7927.0 + (2548.0 + 91.0 * j1) * j1) * u.u5;
    qd += (13381.0 + (1226.0 - 253.0 * j1) * j1) * u.u6 + (248.0 - 121.0 * j1) * u.u7;
    qd += -(305.0 + 91.0 * j1) * vi + 412.0 * u.ub + 12415.0 * u.u1;
    qd += (390.0 - 617.0 * j1) * u.u9 * u.u1 + (165.0 - 204.0 * j1) * u.ub * u.u1;
    qd += 26599.0 * u.ua * u.u1 - 4687.0 * u.uc * u.u1 - 1870.0 * u.ue * u.u1 - 821.0 * u.ug * u.u1;
    qd += -377.0 * u.vh * u.u1 + 497.0 * up * u.u1 + (163.0 - 611.0 * j1) * u.u2;
    qd +=
        -12696.0 * u.u9 * u.u2 - 4200.0 * u.ub * u.u2 - 1503.0 * u.ud * u.u2 - 619.0 * u.uf * u.u2;
    qd += -268.0 * un * u.u2 - (282.0 + 1306.0 * j1) * u.ua * u.u2;
    qd += (-86.0 + 230.0 * j1) * u.uc * u.u2 + 461.0 * uo * u.u2 - 350.0 * u.u3;
    qd += (2211.0 - 286.0 * j1) * u.u9 * u.u3 - 2208.0 * u.ub * u.u3 - 568.0 * u.ud * u.u3;
    qd += -346.0 * u.uf * u.u3 - (2780.0 + 222.0 * j1) * u.ua * u.u3;
    qd += (2022.0 + 263.0 * j1) * u.uc * u.u3 + 248.0 * u.ue * u.u3 + 242.0 * uq * u.u3;
    qd += 467.0 * ur * u.u3 - 490.0 * u.u4 - (2842.0 + 279.0 * j1) * u.u9 * u.u4;
    qd += (128.0 + 226.0 * j1) * u.ub * u.u4 + 224.0 * u.ud * u.u4;
    qd += (-1594.0 + 282.0 * j1) * u.ua * u.u4 + (2162.0 - 207.0 * j1) * u.uc * u.u4;
    qd += 561.0 * u.ue * u.u4 + 343.0 * u.ug * u.u4 + 469.0 * uq * u.u4 - 242.0 * ur * u.u4;
    qd += -205.0 * u.u9 * ui + 262.0 * u.ud * ui + 208.0 * u.ua * uj - 271.0 * u.ue * uj;
    qd += -382.0 * u.ue * uk - 376.0 * u.ud * ul;
    p.eccentricity = qd * 1e-7;

    double vk = (0.077108 + (0.007186 - 0.001533 * j1) * j1) * u.u5;
    vk -= 0.007075 * u.u9;
    vk += (0.045803 - (0.014766 + 0.000536 * j1) * j1) * u.u6;
    vk += -0.072586 * u.u2 - 0.075825 * u.u9 * u.u1 - 0.024839 * u.ub * u.u1;
    vk += -0.008631 * u.ud * u.u1 - 0.150383 * u.ua * u.u2;
    vk += 0.026897 * u.uc * u.u2 + 0.010053 * u.ue * u.u2;
    vk += -(0.013597 + 0.001719 * j1) * u.u9 * u.u3 + 0.011981 * u.ub * u.u4;
    vk -= (0.007742 - 0.001517 * j1) * u.ua * u.u3;
    vk += (0.013586 - 0.001375 * j1) * u.uc * u.u3;
    vk -= (0.013667 - 0.001239 * j1) * u.u9 * u.u4;
    vk += (0.014861 + 0.001136 * j1) * u.ua * u.u4;
    vk -= (0.013064 + 0.001628 * j1) * u.uc * u.u4;
    p.meanAnomaly = MeanAnomalyTerm(p.meanLongitude, vk, e);

    double qf = 572.0 * u.u5 - 1590.0 * u.ub * u.u2 + 2933.0 * u.u6 - 647.0 * u.ud * u.u2;
    qf += 33629.0 * u.ua - 344.0 * u.uf * u.u2 - 3081.0 * u.uc + 2885.0 * u.ua * u.u2;
    qf += -1423.0 * u.ue + (2172.0 + 102.0 * j1) * u.uc * u.u2 - 671.0 * u.ug;
    qf += 296.0 * u.ue * u.u2 - 320.0 * u.vh - 267.0 * u.ub * u.u3 + 1098.0 * u.u1;
    qf += -778.0 * u.ua * u.u3 - 2812.0 * u.u9 * u.u1 + 495.0 * u.uc * u.u3 + 688.0 * u.ub * u.u1;
    qf += 250.0 * u.ue * u.u3 - 393.0 * u.ud * u.u1 - 856.0 * u.u9 * u.u4 - 228.0 * u.uf * u.u1;
    qf += 441.0 * u.ub * u.u4 + 2138.0 * u.ua * u.u1 + 296.0 * u.uc * u.u4 - 999.0 * u.uc * u.u1;
    qf += 211.0 * u.ue * u.u4 - 642.0 * u.ue * u.u1 - 427.0 * u.u9 * ui - 325.0 * u.ug * u.u1;
    qf += 398.0 * u.ud * ui - 890.0 * u.u2 + 344.0 * u.ua * uj + 2206.0 * u.u9 * u.u2;
    qf -= 427.0 * u.ue * uj;
    p.semiMajorAxis = qf * 1e-6;

    double qg = 0.000747 * u.ua * u.u1 + 0.001069 * u.ua * u.u2 + 0.002108 * u.ub * u.u3;
    qg += 0.001261 * u.uc * u.u3 + 0.001236 * u.ub * u.u4 - 0.002075 * u.uc * u.u4;
    p.latitude = qg * kDegToRad;
    return p;
}

PlanetPerturbations Uranus(const OuterArguments &a, double e) {
    const double j1 = a.j1;
    const double j9 = 2.0 * a.j8 - a.j4;
    const double vj = sin(j9), uu = cos(j9), uv = sin(2.0 * j9), uw = cos(2.0 * j9);
    const double ja = a.j4 - a.j2, jb = a.j4 - a.j3, jc = a.j8 - a.j4;
    PlanetPerturbations p;

    double qc = (0.864319 - 0.001583 * j1) * vj;
    qc += (0.082222 - 0.006833 * j1) * uu + 0.036017 * uv;
    qc += -0.003019 * uw + 0.008122 * sin(a.j6);
    p.meanLongitude = qc * kDegToRad;

    double vk = 0.120303 * vj + 0.006197 * uv;
    vk += (0.019472 - 0.000947 * j1) * uu;
    p.meanAnomaly = MeanAnomalyTerm(p.meanLongitude, vk, e);

    p.eccentricity = ((163.0 * j1 - 3349.0) * vj + 20981.0 * uu + 1311.0 * uw) * 1e-7;
    p.semiMajorAxis = -0.003825 * uu;

    double qa = (-0.038581 + (0.002031 - 0.00191 * j1) * j1) * cos(a.j4 + jb);
    qa += (0.010122 - 0.000988 * j1) * sin(a.j4 + jb);
    qa += (0.034964 - (0.001038 - 0.000868 * j1) * j1) * cos(2.0 * a.j4 + jb);
    qa += 0.005594 * sin(a.j4 + 3.0 * jc) - 0.014808 * sin(ja);
    qa += -0.005794 * sin(jb) + 0.002347 * cos(jb);
    qa += 0.009872 * sin(jc) + 0.008803 * sin(2.0 * jc);
    qa -= 0.004308 * sin(3.0 * jc);
    p.longitudeDeg = qa;

    const double ux = sin(jb), uy = cos(jb), uz = sin(a.j4), va = cos(a.j4);
    const double vb = sin(2.0 * a.j4), vc = cos(2.0 * a.j4);
    double qg = (0.000458 * ux - 0.000642 * uy - 0.000517 * cos(4.0 * jc)) * uz;
    qg -= (0.000347 * ux + 0.000853 * uy + 0.000517 * sin(4.0 * jb)) * va;
    qg += 0.000403 * (cos(2.0 * jc) * vb + sin(2.0 * jc) * vc);
    p.latitude = qg * kDegToRad;

    double qb = -25948.0 + 4985.0 * cos(ja) - 1230.0 * va + 3354.0 * uy;
    qb += 904.0 * cos(2.0 * jc) + 894.0 * (cos(jc) - cos(3.0 * jc));
    qb += (5795.0 * va - 1165.0 * uz + 1388.0 * vc) * ux;
    qb += (1351.0 * va + 5702.0 * uz + 1388.0 * vb) * uy;
    p.radius = qb * 1e-6;
    return p;
}

PlanetPerturbations Neptune(const OuterArguments &a, double e) {
    const double j1 = a.j1;
    const double j9 = 2.0 * a.j8 - a.j4;
    const double vj = sin(j9), uu = cos(j9), uv = sin(2.0 * j9), uw = cos(2.0 * j9);
    const double ja = a.j8 - a.j2, jb = a.j8 - a.j3, jc = a.j8 - a.j4;
    PlanetPerturbations p;

    double qc = (0.001089 * j1 - 0.589833) * vj;
    qc += (0.004658 * j1 - 0.056094) * uu - 0.024286 * uv;
    p.meanLongitude = qc * kDegToRad;

    const double vk = 0.024039 * vj - 0.025303 * uu + 0.006206 * uv - 0.005992 * uw;
    p.meanAnomaly = MeanAnomalyTerm(p.meanLongitude, vk, e);

    p.eccentricity = (4389.0 * vj + 1129.0 * uv + 4262.0 * uu + 1089.0 * uw) * 1e-7;
    p.semiMajorAxis = (8189.0 * uu - 817.0 * vj + 781.0 * uw) * 1e-6;

    const double vd = sin(2.0 * jc), ve = cos(2.0 * jc), vf = sin(a.j8), vg = cos(a.j8);
    p.longitudeDeg = -0.009556 * sin(ja) - 0.005178 * sin(jb) + 0.002572 * vd - 0.002972 * ve * vf -
                     0.002833 * vd * vg;
    p.latitude = (0.000336 * ve * vf + 0.000364 * vd * vg) * kDegToRad;
    p.radius =
        (-40596.0 + 4992.0 * cos(ja) + 2744.0 * cos(jb) + 2044.0 * cos(jc) + 1051.0 * ve) * 1e-6;
    return p;
}

} // namespace

PlanetPerturbations MercuryPerturbations(const InnerArguments &m) {
    PlanetPerturbations p;
    p.longitudeDeg = 0.00204 * cos(5.0 * m.venus - 2.0 * m.mercury + 0.21328) +
                     0.00103 * cos(2.0 * m.venus - m.mercury - 2.8046) +
                     0.00091 * cos(2.0 * m.jupiter - m.mercury - 0.64582) +
                     0.00078 * cos(5.0 * m.venus - 3.0 * m.mercury + 0.17692);
    p.radius = 7.525e-06 * cos(2.0 * m.jupiter - m.mercury + 0.925251) +
               6.802e-06 * cos(5.0 * m.venus - 3.0 * m.mercury - 4.53642) +
               5.457e-06 * cos(2.0 * m.venus - 2.0 * m.mercury - 1.24246) +
               3.569e-06 * cos(5.0 * m.venus - m.mercury - 1.35699);
    return p;
}

PlanetPerturbations VenusPerturbations(const InnerArguments &m, double t) {
    PlanetPerturbations p;
    p.meanLongitude = 0.00077 * sin(4.1406 + t * 2.6227) * kDegToRad;
    p.meanAnomaly = p.meanLongitude;
    const double s = m.sun, v = m.venus, j = m.jupiter;
    p.longitudeDeg = 0.00313 * cos(2.0 * s - 2.0 * v - 2.587) +
                     0.00198 * cos(3.0 * s - 3.0 * v + 0.044768) + 0.00136 * cos(s - v - 2.0788) +
                     0.00096 * cos(3.0 * s - 2.0 * v - 2.3721) + 0.00082 * cos(j - v - 3.6318);
    p.radius = 2.2501e-05 * cos(2.0 * s - 2.0 * v - 1.01592) +
               1.9045e-05 * cos(3.0 * s - 3.0 * v + 1.61577) + 6.887e-06 * cos(j - v - 2.06106) +
               5.172e-06 * cos(s - v - 0.508065) + 3.62e-06 * cos(5.0 * s - 4.0 * v - 1.81877) +
               3.283e-06 * cos(4.0 * s - 4.0 * v + 1.10851) +
               3.074e-06 * cos(2.0 * j - 2.0 * v - 0.962846);
    return p;
}

PlanetPerturbations MarsPerturbations(const InnerArguments &m) {
    PlanetPerturbations p;
    const double s = m.sun, ma = m.mars, j = m.jupiter, v = m.venus;
    const double a = 3.0 * j - 8.0 * ma + 4.0 * s;
    p.meanLongitude = -(0.01133 * sin(a) + 0.00933 * cos(a)) * kDegToRad;
    p.meanAnomaly = p.meanLongitude;
    p.longitudeDeg = 0.00705 * cos(j - ma - 0.85448) + 0.00607 * cos(2.0 * j - ma - 3.2873) +
                     0.00445 * cos(2.0 * j - 2.0 * ma - 3.3492) +
                     0.00388 * cos(s - 2.0 * ma + 0.35771) + 0.00238 * cos(s - ma + 0.61256) +
                     0.00204 * cos(2.0 * s - 3.0 * ma + 2.7688) +
                     0.00177 * cos(3.0 * ma - v - 1.0053) +
                     0.00136 * cos(2.0 * s - 4.0 * ma + 2.6894) + 0.00104 * cos(j + 0.30749);
    p.radius =
        5.3227e-05 * cos(j - ma + 0.717864) + 5.0989e-05 * cos(2.0 * j - 2.0 * ma - 1.77997) +
        3.8278e-05 * cos(2.0 * j - ma - 1.71617) + 1.5996e-05 * cos(s - ma - 0.969618) +
        1.4764e-05 * cos(2.0 * s - 3.0 * ma + 1.19768) + 8.966e-06 * cos(j - 2.0 * ma + 0.761225) +
        7.914e-06 * cos(3.0 * j - 2.0 * ma - 2.43887) +
        7.004e-06 * cos(2.0 * j - 3.0 * ma - 1.79573) + 6.62e-06 * cos(s - 2.0 * ma + 1.97575) +
        4.93e-06 * cos(3.0 * j - 3.0 * ma - 1.33069) +
        4.693e-06 * cos(3.0 * s - 5.0 * ma + 3.32665) +
        4.571e-06 * cos(2.0 * s - 4.0 * ma + 4.27086) + 4.409e-06 * cos(3.0 * j - ma - 2.02158);
    return p;
}

PlanetPerturbations OuterPerturbations(int planet, double t, double eccentricity) {
    const OuterArguments a = OuterArgumentsOf(t);
    switch (planet) {
    case 4:
        return Jupiter(a, eccentricity);
    case 5:
        return Saturn(a, eccentricity);
    case 6:
        return Uranus(a, eccentricity);
    case 7:
        return Neptune(a, eccentricity);
    default:
        return {};
    }
}

} // namespace vespario
