#pragma once
// Altitude and azimuth, and rising and setting, for an observer at a latitude.

namespace vespario {

// HorizonCoordinates: azimuth and altitude of a position from its hour angle.
//
// Given:
//   hourAngle   local hour angle (rad), west positive
//   dec         declination (rad)
//   latitude    observer's latitude (rad), north positive
// Returned:
//   azimuth     0...2 pi (rad), from north through east
//   altitude    -pi/2...pi/2 (rad)
// Notes:
//   At the zenith and at the poles the azimuth is undefined; the denominator is then held
//   at 1e-20 and the arc cosine's argument is kept within -1...1.
// Reference:
//   Duffett-Smith, "Practical Astronomy with your Calculator", 3rd ed. 1988, section 25.
void HorizonCoordinates(double hourAngle, double dec, double latitude, double &azimuth,
                        double &altitude);

// EquatorialFromHorizon: the inverse of HorizonCoordinates, the same spherical triangle
// solved for the hour angle (0...2 pi, west positive) and the declination.
void EquatorialFromHorizon(double azimuth, double altitude, double latitude, double &hourAngle,
                           double &dec);

struct RiseSetTimes {
    double riseSidereal = 0.0; // local sidereal time of rising, 0...24 (hours)
    double setSidereal = 0.0;  // local sidereal time of setting, 0...24 (hours)
    double riseAzimuth = 0.0;  // 0...2 pi (rad)
    double setAzimuth = 0.0;   // 0...2 pi (rad)
};

// RiseSetSidereal: local sidereal times and azimuths of rising and setting.
//
// Given:
//   ra, dec     position (rad)
//   latitude    observer's latitude (rad)
//   shift       vertical shift (rad): refraction, semi-diameter or parallax; 0 for the
//               geometric horizon
// Returned:
//   false when there is no result: at the poles (|cos dec cos latitude| < 1e-10) or when
//   the position never rises or never sets; else true and times
// Reference:
//   Duffett-Smith (above), sections 33 and 35 (the vertical shift correction).
bool RiseSetSidereal(double ra, double dec, double latitude, double shift, RiseSetTimes &times);

} // namespace vespario
