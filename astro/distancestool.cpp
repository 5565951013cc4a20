#include "astro/distancestool.h"

#include "astro/numbertext.h"
#include "platform/host.h"

#include <cmath>

namespace vespario {

namespace {

struct UnitInfo {
    const char *label;
    const char *unit;
    double perMetre; // the value shown for one metre; 0 for the velocity fields
};

constexpr UnitInfo kUnits[DistancesTool::kFieldCount] = {
    {"Light Year", "ly", 1.05702256193518e-16},
    {"Parsec", "pc", 3.2407788498994385e-17},
    {"Ast Unit", "AU", 6.684587153547039e-12},
    {"Mile", "mi", 0.0006213711922373339},
    {"Kilometer", "km", 0.001},
    {"Meter", "m", 1.0},
    {"Inch", "in", 39.37007874015748},
    {"Centimeter", "cm", 100.0},
    {"Millimeter", "mm", 1000.0},
    {"Nanometer", "nm", 1e9},
    {"Angstrom", "A", 1e10},
    {"RV", "km/s", 0.0},
    {"Redshift", "", 0.0},
    {"Hubble Parm", "km/s/Mpc", 0.0},
};

constexpr double kRvPerMetreAndHubble = 3.240778849899438e-23;        // km/s per m per (km/s/Mpc)
constexpr double kVelocityPerMetreAndHubble = 3.2407788498994384e-20; // m/s per m per (km/s/Mpc)
constexpr double kLightSpeed = 300000000.0;                           // m/s, as the formula has it
constexpr double kMegaparsec = 1.0 / 3.2407788498994385e-23;          // m

} // namespace

DistancesTool::DistancesTool(platform::Host &host) : m_host(host), m_metres(kMegaparsec) {
    for (int field = 0; field < kFieldCount; ++field)
        m_text[static_cast<size_t>(field)] = FieldText(field);
}

size_t DistancesTool::Index(int field) {
    return field >= 0 && field < kFieldCount ? static_cast<size_t>(field) : 0;
}

const char *DistancesTool::Label(int field) {
    return kUnits[Index(field)].label;
}
const char *DistancesTool::Unit(int field) {
    return kUnits[Index(field)].unit;
}

int DistancesTool::FieldOfUnit(std::string_view unit) {
    if (unit == "z")
        return Redshift;
    for (int field = 0; field < kFieldCount; ++field)
        if (field != Redshift && unit == kUnits[field].unit)
            return field;
    return -1;
}

void DistancesTool::Focus(int field) {
    m_hint = std::string("Format: number[.decimal][e{+/-}exponent] ") + Unit(field);
}

double DistancesTool::Velocity() const {
    return m_metres * m_hubble * kVelocityPerMetreAndHubble;
}

std::string DistancesTool::FieldText(int field) const {
    switch (field) {
    case Rv:
        return FormatGeneral(m_metres * m_hubble * kRvPerMetreAndHubble);
    case Redshift: {
        // Relativistic Doppler shift; no redshift belongs to a velocity of light or more.
        const double v = Velocity();
        if (!(std::fabs(v) < kLightSpeed))
            return "";
        return FormatGeneral(std::sqrt(2.0 * v / (kLightSpeed - v) + 1.0) - 1.0);
    }
    case Hubble:
        return FormatGeneral(m_hubble);
    default:
        return FormatGeneral(m_metres * kUnits[Index(field)].perMetre);
    }
}

// Converts a typed value back to metres (or takes the Hubble parameter); false when the
// value has no distance: a redshift of -1 or less, a Hubble parameter that is not positive.
bool DistancesTool::Take(int field, double value) {
    switch (field) {
    case Rv:
        m_metres = value / (m_hubble * kRvPerMetreAndHubble);
        return true;
    case Redshift: {
        if (!(value > -1.0))
            return false;
        // (1 + z)^2 = (c + v) / (c - v), solved for v.
        const double q = (value + 1.0) * (value + 1.0);
        const double v = kLightSpeed * (q - 1.0) / (q + 1.0);
        m_metres = v / (m_hubble * kVelocityPerMetreAndHubble);
        return true;
    }
    case Hubble:
        if (!(value > 0.0))
            return false;
        m_hubble = value;
        return true;
    default:
        m_metres = value / kUnits[Index(field)].perMetre;
        return true;
    }
}

bool DistancesTool::Edit(int field, std::string_view text) {
    const size_t at = Index(field);
    m_text[at] = std::string(text);
    double value = 0.0;
    const double before = m_metres;
    if (!ReadWholeDecimal(text, value) || !Take(static_cast<int>(at), value) ||
        !std::isfinite(m_metres)) {
        m_metres = before;
        m_host.Beep();
        m_hint =
            std::string("ILLEGAL! Use format: number[.decimal][e{+/-}exponent] ") + Unit(field);
        return false;
    }
    Focus(field);
    for (int other = 0; other < kFieldCount; ++other)
        if (other != static_cast<int>(at))
            m_text[static_cast<size_t>(other)] = FieldText(other);
    return true;
}

} // namespace vespario
