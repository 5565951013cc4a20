#include "astro/precession.h"

#include "astro/constants.h"

#include <cmath>

namespace vespario {

namespace {

double IntoTurn(double angle) {
    angle = std::fmod(angle, 2.0 * kPi);
    return angle < 0.0 ? angle + 2.0 * kPi : angle;
}

} // namespace

void Precession::Prepare(double fromYear, double toYear) {
    if (m_valid && fromYear == m_from && toYear == m_to)
        return;
    const double T = (fromYear - 2000.0) / 100.0;
    const double t = (toYear - fromYear) / 100.0;
    const double first = (2306.2181 + 1.39656 * T - 0.000139 * T * T) * t;
    m_zeta = (first + (0.30188 - 0.000345 * T) * t * t + 0.017998 * t * t * t) * kArcsecToRad;
    m_z = (first + (1.09468 + 0.000066 * T) * t * t + 0.018203 * t * t * t) * kArcsecToRad;
    m_theta = ((2004.3109 - 0.85330 * T - 0.000217 * T * T) * t - (0.42665 + 0.000217 * T) * t * t -
               0.041833 * t * t * t) *
              kArcsecToRad;
    m_sinZeta = std::sin(m_zeta);
    m_cosZeta = std::cos(m_zeta);
    m_sinZ = std::sin(m_z);
    m_cosZ = std::cos(m_z);
    m_sinTheta = std::sin(m_theta);
    m_cosTheta = std::cos(m_theta);
    m_from = fromYear;
    m_to = toYear;
    m_valid = std::isfinite(m_zeta + m_z + m_theta);
}

void Precession::Apply(double fromYear, double toYear, double &ra, double &dec) {
    Prepare(fromYear, toYear);
    if (!m_valid)
        return;
    // cos/sin of (ra + zeta) from the kept sines and cosines.
    const double cosRa = std::cos(ra), sinRa = std::sin(ra);
    const double cosA = cosRa * m_cosZeta - sinRa * m_sinZeta;
    const double sinA = sinRa * m_cosZeta + cosRa * m_sinZeta;
    const double cosDec = std::cos(dec), sinDec = std::sin(dec);
    const double a = cosDec * sinA;
    const double b = m_cosTheta * cosDec * cosA - m_sinTheta * sinDec;
    const double c = m_sinTheta * cosDec * cosA + m_cosTheta * sinDec;
    // ra' = atan2(a, b) + z, with the sum formed from the kept sines and cosines of z.
    const double x = b * m_cosZ - a * m_sinZ;
    const double y = a * m_cosZ + b * m_sinZ;
    ra = IntoTurn(std::atan2(y, x));
    dec = std::atan2(c, std::hypot(a, b));
}

} // namespace vespario
