#pragma once
// Kepler's equation for elliptic orbits.

namespace vespario {

struct KeplerSolution {
    double eccentricAnomaly = 0.0; // E (rad), 0...2 pi for a mean anomaly in 0...2 pi
    double trueAnomaly = 0.0;      // nu (rad), 0...2 pi
};

// SolveKepler: eccentric and true anomaly of an elliptic orbit.
//
// Given:
//   meanAnomaly    M (rad), any value; it is first reduced into 0...2 pi
//   eccentricity   e, 0 <= e < 1 (values outside are held at 0 and 0.999999)
// Returned:
//   E from Newton's iteration E <- E - (E - e sin E - M)/(1 - e cos E), started at E = M,
//   until |E - e sin E - M| < 1e-6 (at most 100 steps); nu from E.
// Notes:
//   1) nu = 2 atan2(sqrt(1 + e) sin(E/2), sqrt(1 - e) cos(E/2)): the same angle as
//      2 atan(sqrt((1 + e)/(1 - e)) tan(E/2)) without its jump at E = pi and its change of
//      branch past pi, so that e = 0 gives nu = E = M over the whole turn.
//   2) Newton's step never divides by zero: 1 - e cos E >= 1 - e > 0.
//   3) A non-finite mean anomaly is returned unchanged in both fields.
// Reference:
//   Duffett-Smith, P., "Practical Astronomy with your Calculator", 3rd ed. 1988, section 47.
KeplerSolution SolveKepler(double meanAnomaly, double eccentricity);

} // namespace vespario
