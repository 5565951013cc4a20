#include "astro/radectext.h"

#include "astro/angletext.h"
#include "astro/constants.h"
#include "astro/coordinates.h"
#include "astro/numbertext.h"
#include "astro/precession.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vespario {

namespace {

constexpr double kTenthsPerDay = 864000.0; // tenths of a second of time in 24 hours

bool DigitsAt(std::string_view text, std::size_t from, std::size_t to) {
    if (text.size() < to)
        return false;
    for (std::size_t i = from; i < to; ++i) {
        if (!IsDigit(text[i]))
            return false;
    }
    return true;
}

double TwoDigits(std::string_view text, std::size_t pos) {
    return (text[pos] - '0') * 10.0 + (text[pos + 1] - '0');
}

// Right ascension digits: value in units of pi (hours / 12).
bool ParseRaPart(std::string_view text, double &value, int &code) {
    if (!DigitsAt(text, 0, 4))
        return false;
    const double hh = TwoDigits(text, 0);
    if (text.size() == 4) {
        code = 0;
        value = hh / 12.0 + TwoDigits(text, 2) / 720.0;
    } else if (text[4] == '.') {
        code = 1;
        value = hh / 12.0 + ReadDecimal(text.substr(2)) / 720.0;
    } else {
        code = (text.size() > 7 && text[6] == '.') ? 3 : 2;
        value = hh / 12.0 + TwoDigits(text, 2) / 720.0 + ReadDecimal(text.substr(4)) / 43200.0;
    }
    return true;
}

// Declination digits without the sign: value in radians.
bool ParseDecPart(std::string_view text, double &value, int &code) {
    if (!DigitsAt(text, 0, 2))
        return false;
    if (text.size() == 2 || text[2] == '.') {
        code = 0;
        value = ReadDecimal(text) * kDegToRad;
        return true;
    }
    if (!DigitsAt(text, 2, 4))
        return false;
    const double dd = TwoDigits(text, 0);
    if (text.size() == 4 || text[4] == '.') {
        code = text.size() == 4 ? 1 : 2;
        value = (dd / 180.0 + ReadDecimal(text.substr(2)) / 10800.0) * kPi;
        return true;
    }
    if (!DigitsAt(text, 4, 6) || (text.size() > 6 && text[6] != '.'))
        return false;
    code = 3;
    value =
        (dd / 180.0 + TwoDigits(text, 2) / 10800.0 + ReadDecimal(text.substr(4)) / 648000.0) * kPi;
    return true;
}

struct RaParts {
    int hours;
    int minutes;
    int tenths; // tenths of a second
};

RaParts SplitRa(double ra) {
    double n = ra * kRadToTenthsOfTimeSecond + 0.5;
    if (!std::isfinite(n))
        n = 0.0;
    n = std::floor(std::fmod(n, kTenthsPerDay));
    if (n < 0.0)
        n += kTenthsPerDay;
    const long tenths = static_cast<long>(n);
    return {static_cast<int>((tenths / 36000) % 24), static_cast<int>((tenths % 36000) / 600),
            static_cast<int>(tenths % 600)};
}

std::string FormatRaPart(RaParts p, int code) {
    char buffer[32];
    if (code == 0) {
        p.minutes += p.tenths > 299 ? 1 : 0;
        p.hours = (p.hours + p.minutes / 60) % 24;
        std::snprintf(buffer, sizeof buffer, "%02i%02i", p.hours, p.minutes % 60);
        return buffer;
    }
    if (code == 1) {
        double minutes = p.minutes + p.tenths / 600.0;
        if (minutes >= 59.95) {
            minutes = 0.0;
            p.hours = (p.hours + 1) % 24;
        }
        std::snprintf(buffer, sizeof buffer, "%02i", p.hours);
        return buffer + FormatFixed(minutes, 1, 4, true);
    }
    if (code == 2) {
        int seconds = (p.tenths + 5) / 10;
        p.minutes += seconds / 60;
        p.hours = (p.hours + p.minutes / 60) % 24;
        std::snprintf(buffer, sizeof buffer, "%02i%02i%02i", p.hours, p.minutes % 60, seconds % 60);
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%02i%02i", p.hours, p.minutes);
    return buffer + FormatFixed(p.tenths / 10.0, 1, 4, true);
}

std::string FormatDecPart(double dec, int code) {
    double n = std::fabs(dec) * kRadToArcsec + 0.5;
    if (!std::isfinite(n))
        n = 0.0;
    const long arcsec = static_cast<long>(std::min(n, 1e9));
    const char sign = dec >= 0.0 || std::isnan(dec) ? '+' : '-';
    int degrees = static_cast<int>(arcsec / 3600);
    int minutes = static_cast<int>((arcsec % 3600) / 60);
    const int seconds = static_cast<int>(arcsec % 60);
    char buffer[48];
    if (code == 0) {
        const int tenths = (minutes + 3) / 6; // seconds never reach a whole minute
        std::snprintf(buffer, sizeof buffer, "%c%02i.%01i", sign, degrees + tenths / 10,
                      tenths % 10);
    } else if (code == 1) {
        minutes += seconds > 30 ? 1 : 0;
        std::snprintf(buffer, sizeof buffer, "%c%02i%02i", sign, degrees + minutes / 60,
                      minutes % 60);
    } else if (code == 2) {
        const int tenths = (seconds + 3) / 6;
        minutes += tenths / 10;
        std::snprintf(buffer, sizeof buffer, "%c%02i%02i.%01i", sign, degrees + minutes / 60,
                      minutes % 60, tenths % 10);
    } else {
        std::snprintf(buffer, sizeof buffer, "%c%02i%02i%02i", sign, degrees, minutes, seconds);
    }
    return buffer;
}

int ValidCode(int code) {
    return code >= 0 && code <= 3 ? code : 3;
}

} // namespace

bool ParseRaDec(std::string_view text, double &ra, double &dec, RaDecPrecision &precision) {
    ra = dec = 0.0;
    const std::size_t signPos = text.find_first_of("+-");
    if (text.find(' ') != std::string_view::npos || signPos == std::string_view::npos)
        return false;
    double raValue = 0.0, decValue = 0.0;
    RaDecPrecision codes;
    if (!ParseRaPart(text.substr(0, signPos), raValue, codes.ra) ||
        !ParseDecPart(text.substr(signPos + 1), decValue, codes.dec))
        return false;
    ra = raValue * kPi;
    dec = text[signPos] == '-' ? -decValue : decValue;
    precision = codes;
    return true;
}

bool ParseRaDec(std::string_view text, double &ra, double &dec) {
    RaDecPrecision precision;
    return ParseRaDec(text, ra, dec, precision);
}

std::string FormatRaDec(double ra, double dec, RaDecPrecision precision) {
    return FormatRaPart(SplitRa(ra), ValidCode(precision.ra)) +
           FormatDecPart(dec, ValidCode(precision.dec));
}

bool NormaliseRaDecEntry(std::string_view text, std::string &normalised, Precession &precession) {
    if (text.size() <= 5)
        return false;
    double ra = 0.0, dec = 0.0;
    if (text.substr(0, 5) == "glgb,") {
        double l = 0.0, b = 0.0;
        if (!ParseDegreesPair(text.substr(5), l, b))
            return false;
        GalacticToEquatorial(l, b, 2000.0, precession, ra, dec);
        normalised = FormatRaDec(ra, dec, {1, 1});
        return true;
    }
    RaDecPrecision precision;
    if (text[4] != ',' || !DigitsAt(text, 0, 4) || !ParseRaDec(text.substr(5), ra, dec, precision))
        return false;
    const int year = static_cast<int>(TwoDigits(text, 0) * 100 + TwoDigits(text, 2));
    precession.Apply(year, 2000.0, ra, dec);
    normalised = FormatRaDec(ra, dec, precision);
    return true;
}

bool NormaliseRaDecEntry(std::string_view text, std::string &normalised) {
    Precession precession;
    return NormaliseRaDecEntry(text, normalised, precession);
}

int SeparationArcmin(double ra1, double dec1, double ra2, double dec2) {
    const double cosine =
        std::sin(dec1) * std::sin(dec2) + std::cos(dec1) * std::cos(dec2) * std::cos(ra1 - ra2);
    const double arcmin = std::acos(std::clamp(cosine, -1.0, 1.0)) * kRadToArcmin;
    return std::isfinite(arcmin) ? static_cast<int>(arcmin) : kNoSeparation;
}

int SeparationArcmin(std::string_view radec1, std::string_view radec2) {
    double ra1 = 0.0, dec1 = 0.0, ra2 = 0.0, dec2 = 0.0;
    if (!ParseRaDec(radec1, ra1, dec1) || !ParseRaDec(radec2, ra2, dec2))
        return kNoSeparation;
    return SeparationArcmin(ra1, dec1, ra2, dec2);
}

} // namespace vespario
