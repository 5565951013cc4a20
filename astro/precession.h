#pragma once
// Precession of equatorial positions between two equinoxes, with the sines and cosines of
// the three angles kept for the last pair of epochs: a run over many positions between the
// same epochs pays for them once.

namespace vespario {

class Precession {
public:
    // Apply: precesses a position from one equinox to another.
    //
    // Given:
    //   fromYear, toYear   equinoxes as (Julian) years, e.g. 1950.0 and 2000.0
    //   ra, dec            position at fromYear (rad)
    // Returned:
    //   ra, dec            position at toYear (rad); ra in 0...2 pi
    // Notes:
    //   1) Rigorous method: rotations by -zeta about z, theta about y and -z about z.
    //   2) The declination is taken from the arc tangent of the rotated vector rather than
    //      its arc sine, which keeps it exact near the poles.
    // Reference:
    //   Lieske, J.H., et al. 1977, Astron.Astrophys. 58, 1-16 (the IAU 1976 angles, with
    //   arbitrary starting epoch, equation 6).
    void Apply(double fromYear, double toYear, double &ra, double &dec);

    // The three angles of the last pair, in radians (for checks and the tools).
    double Zeta() const { return m_zeta; }
    double Z() const { return m_z; }
    double Theta() const { return m_theta; }

private:
    void Prepare(double fromYear, double toYear);

    bool m_valid = false;
    double m_from = 0.0;
    double m_to = 0.0;
    double m_zeta = 0.0;
    double m_z = 0.0;
    double m_theta = 0.0;
    double m_sinZeta = 0.0;
    double m_cosZeta = 1.0;
    double m_sinZ = 0.0;
    double m_cosZ = 1.0;
    double m_sinTheta = 0.0;
    double m_cosTheta = 1.0;
};

} // namespace vespario
