#include "astro/coordinatestool.h"

#include "astro/angletext.h"
#include "astro/atlascharts.h"
#include "astro/constants.h"
#include "astro/coordinates.h"
#include "astro/horizon.h"
#include "astro/numbertext.h"
#include "astro/observingplace.h"
#include "astro/radectext.h"
#include "platform/host.h"
#include "platform/text.h"

#include <cmath>

namespace vespario {

namespace {

struct FieldInfo {
    const char *label;
    const char *format;
};

constexpr const char *kRaDecFormat = "hh[mm[ss[.t]]]{+/-}dd[mm[ss]]";
constexpr const char *kDmsFormat = "###d[ ###'[ ###\"]],{+/-}###d[ ###'[ ###\"]]";
constexpr const char *kLonLatFormat = "degrees[.dec]{+/-}degrees[.dec]";
constexpr const char *kEpochFormat = "year[.decimal]";

constexpr FieldInfo kFields[CoordinatesTool::kFieldCount] = {
    {"Epoch 1", kEpochFormat},
    {"RaDec", kRaDecFormat},
    {"Degrees", "degrees[.dec],{+/-}degrees[.dec]"},
    {"Degrees, minutes, seconds", kDmsFormat},
    {"Radians", "radians[.dec],{+/-}radians[.dec]"},
    {"Hours", "hours[.dec],{+/-}degrees[.dec]"},
    {"Ecliptic", kLonLatFormat},
    {"Ecliptic d/m/s", kDmsFormat},
    {"Galactic", kLonLatFormat},
    {"Galactic d/m/s", kDmsFormat},
    {"Supergalactic", kLonLatFormat},
    {"Supergalactic d/m/s", kDmsFormat},
    {"Azimuth Alt", kDmsFormat},
    {"Epoch 2", kEpochFormat},
    {"RaDec (epoch 2)", kRaDecFormat},
};

// Equinoxes far outside the range of the precession series make no sense to type.
constexpr double kMaxEpochDistance = 10000.0;

bool ParseEpoch(std::string_view text, double &year) {
    double value = 0.0;
    if (!ReadWholeDecimal(text, value) || std::fabs(value - 2000.0) > kMaxEpochDistance)
        return false;
    year = value;
    return true;
}

// A declination (or latitude) beyond the poles is a typing error, not a position.
bool IsLatitude(double angle) {
    return std::isfinite(angle) && std::fabs(angle) <= kPi / 2.0 + 1e-9;
}

} // namespace

CoordinatesTool::CoordinatesTool(platform::Host &host, const ObservingPlace &place)
    : m_host(host), m_place(place) {
    RewriteAllBut(-1);
}

size_t CoordinatesTool::Index(int field) {
    return field >= 0 && field < kFieldCount ? static_cast<size_t>(field) : 0;
}

const char *CoordinatesTool::Label(int field) {
    return kFields[Index(field)].label;
}
const char *CoordinatesTool::FormatOf(int field) {
    return kFields[Index(field)].format;
}

void CoordinatesTool::Focus(int field) {
    m_hint = std::string("Format: ") + FormatOf(field);
}

bool CoordinatesTool::Edit(int field, std::string_view text) {
    const size_t at = Index(field);
    m_text[at] = std::string(text);
    if (!ParseInto(static_cast<int>(at), text)) {
        m_host.Beep();
        m_hint = std::string("ILLEGAL! Use format: ") + FormatOf(field);
        return false;
    }
    Focus(field);
    RewriteAllBut(static_cast<int>(at));
    return true;
}

void CoordinatesTool::SetJ2000Position(double ra, double dec) {
    m_precession.Apply(2000.0, m_epoch1, ra, dec);
    m_ra = ra;
    m_dec = dec;
    RewriteAllBut(-1);
}

void CoordinatesTool::Refresh() {
    RewriteAllBut(-1);
}

void CoordinatesTool::J2000Position(double &ra, double &dec) {
    ra = m_ra;
    dec = m_dec;
    m_precession.Apply(m_epoch1, 2000.0, ra, dec);
}

std::string CoordinatesTool::StatusLine() {
    double ra = 0.0;
    double dec = 0.0;
    J2000Position(ra, dec);
    const int row = m_constellations.ConstellationIndex(ra, dec, m_precession);
    return "Con " + std::string(m_constellations.ConstellationAbbrev(row)) + "  S" +
           std::to_string(SkyAtlasChart(ra, dec)) + "  U" +
           std::to_string(UranometriaChart(ra, dec));
}

std::string CoordinatesTool::PlaceLabel() const {
    return m_place.Name() + " at " + m_place.LocalTimeText(m_place.Instant(), true);
}

// Turns the text of one field into the position for epoch 1; false leaves it untouched.
bool CoordinatesTool::ParseInto(int field, std::string_view text) {
    double a = 0.0;
    double b = 0.0;
    bool ok = false;
    switch (field) {
    case Epoch1:
        return ParseEpoch(text, m_epoch1);
    case Epoch2:
        return ParseEpoch(text, m_epoch2);
    case RaDec1:
    case RaDec2:
        ok = ParseRaDec(TrimBlanks(text), a, b);
        if (ok && field == RaDec2)
            m_precession.Apply(m_epoch2, m_epoch1, a, b);
        break;
    case Degrees:
        ok = ParseDegreesPair(text, a, b);
        break;
    case DegMinSec:
        ok = ParseDmsPair(text, a, b);
        break;
    case Radians:
        ok = ParseRadiansPair(text, a, b);
        break;
    case Hours:
        ok = ParseHoursPair(text, a, b);
        break;
    case Ecliptic:
    case EclipticDms:
        ok = field == Ecliptic ? ParseDegreesPair(text, a, b) : ParseDmsPair(text, a, b);
        if (ok && IsLatitude(b))
            EclipticToEquatorial(a, b, m_epoch1, a, b);
        break;
    case Galactic:
    case GalacticDms:
    case Supergalactic:
    case SupergalacticDms:
        ok = field == Galactic || field == Supergalactic ? ParseDegreesPair(text, a, b)
                                                         : ParseDmsPair(text, a, b);
        if (!ok || !IsLatitude(b))
            break;
        if (field == Supergalactic || field == SupergalacticDms)
            SupergalacticToGalactic(a, b, a, b);
        GalacticToEquatorial(a, b, m_epoch1, m_precession, a, b);
        break;
    case AzimuthAlt: {
        ok = ParseDmsPair(text, a, b);
        if (!ok || !IsLatitude(b))
            break;
        double hourAngle = 0.0;
        double dec = 0.0;
        EquatorialFromHorizon(a, b, m_place.Latitude() * kDegToRad, hourAngle, dec);
        // The hour angle of right ascension 0 is the local sidereal time.
        a = IntoFullTurn(m_place.HourAngle(m_place.Instant(), 0.0) - hourAngle);
        b = dec;
        break;
    }
    default:
        return false;
    }
    if (!ok || !std::isfinite(a) || !IsLatitude(b))
        return false;
    m_ra = IntoFullTurn(a);
    m_dec = b;
    return true;
}

std::string CoordinatesTool::FieldText(int field) {
    double a = 0.0;
    double b = 0.0;
    switch (field) {
    case Epoch1:
        return FormatFixed(m_epoch1, 1);
    case Epoch2:
        return FormatFixed(m_epoch2, 1);
    case RaDec1:
        return FormatRaDec(m_ra, m_dec, {3, 3});
    case RaDec2:
        a = m_ra;
        b = m_dec;
        m_precession.Apply(m_epoch1, m_epoch2, a, b);
        return FormatRaDec(a, b, {3, 3});
    case Degrees:
        return FormatDegreesPair(m_ra, m_dec);
    case DegMinSec:
        return FormatDmsPair(m_ra, m_dec);
    case Radians:
        return FormatRadiansPair(m_ra, m_dec);
    case Hours:
        return FormatHoursPair(m_ra, m_dec);
    case Ecliptic:
    case EclipticDms:
        EquatorialToEcliptic(m_ra, m_dec, m_epoch1, a, b);
        return field == Ecliptic ? FormatDegreesPair(a, b) : FormatDmsPair(a, b);
    case Galactic:
    case GalacticDms:
        EquatorialToGalactic(m_ra, m_dec, m_epoch1, m_precession, a, b);
        return field == Galactic ? FormatDegreesPair(a, b) : FormatDmsPair(a, b);
    case Supergalactic:
    case SupergalacticDms:
        EquatorialToGalactic(m_ra, m_dec, m_epoch1, m_precession, a, b);
        GalacticToSupergalactic(a, b, a, b);
        return field == Supergalactic ? FormatDegreesPair(a, b) : FormatDmsPair(a, b);
    case AzimuthAlt:
        m_place.AzimuthAltitude(m_ra, m_dec, a, b);
        return FormatDmsPair(a, b);
    default:
        return {};
    }
}

void CoordinatesTool::RewriteAllBut(int keep) {
    for (int field = 0; field < kFieldCount; ++field)
        if (field != keep)
            m_text[static_cast<size_t>(field)] = FieldText(field);
}

} // namespace vespario
