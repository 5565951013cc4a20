#include "astro/sidereal.h"

#include "astro/calendar.h"
#include "astro/constants.h"

#include <cmath>

namespace vespario {

namespace {

// The parts of the series that depend only on the year of an instant.
struct YearTerms {
    double j0; // days from 1900 January 0.5 to January 0.0 of the year
    double r;  // hours: the whole-century drift reduced to this year
    double a;  // hours: the constant part of the series
};

YearTerms TermsOfYear(int year) {
    YearTerms terms;
    terms.j0 = JulianDate(year, 1, 0, 0, 0, 0) - kJd1900;
    const double t = terms.j0 / kDaysPerCentury;
    terms.r = (t - (year - 1900) / 100.0) * 2400.0;
    terms.a = 6.6460656 + 0.051262 * t + 0.00002581 * t * t;
    return terms;
}

// The series' own sidereal day: 24 / 24.065709792 of a solar day.
constexpr double kSiderealDayDays = 24.0 / 24.065709792;

// Moves an instant by whole periods (days) to within half a period of near.
double NearestPeriod(double instant, double near, double period) {
    const double periods = std::floor((instant - near) / period + 0.5);
    return std::isfinite(periods) ? instant - periods * period : near;
}

} // namespace

double GreenwichSidereal(double jd) {
    if (!std::isfinite(jd))
        return jd;
    const CalendarParts date = CalendarDate(jd);
    const double q = (date.hour + date.minute / 60.0 + date.second / 3600.0) / 24.0;
    const YearTerms terms = TermsOfYear(date.year);
    const double noonDay = std::floor(jd + 0.5);
    const double n = noonDay - (kJd1900 + 0.5) - terms.j0;
    const double gst = terms.r + terms.a + 24.065709792 * q + 0.0657098 * n;
    return NearestPeriod(noonDay + gst / 24.0 - 0.5, jd, 1.0);
}

double SiderealToUT(double x) {
    if (!std::isfinite(x))
        return x;
    const CalendarParts date = CalendarDate(x);
    const YearTerms terms = TermsOfYear(date.year);
    const double noonDay = std::floor(x + 0.5);
    const double nx = noonDay - (kJd1900 + 0.5);
    double u = TimeOfDayHours(x) - terms.r - terms.a - 0.0657098 * (nx - terms.j0);
    u -= 24.0 * std::floor(u / 24.0);
    // Whole sidereal days, not solar days, keep the sidereal time while moving near x.
    return NearestPeriod(noonDay - 0.5 + u * kSiderealToSolarDays, x, kSiderealDayDays);
}

double TimeOfDayHours(double instant) {
    const double shifted = instant + 0.5;
    const double hours = 24.0 * (shifted - std::floor(shifted));
    return hours >= 24.0 ? 0.0 : hours;
}

} // namespace vespario
