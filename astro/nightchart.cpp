#include "astro/nightchart.h"

#include "astro/bodyriseset.h"
#include "astro/constants.h"
#include "astro/moon.h"
#include "astro/observingplace.h"

#include <algorithm>
#include <cmath>

namespace vespario {

namespace {

constexpr double kStepDays = kNightChartStepMinutes / 1440.0;

double AltitudeDegrees(const ObservingPlace &place, double jd, double ra, double dec) {
    double azimuth = 0.0, altitude = 0.0;
    place.Horizon(place.HourAngle(jd, ra), dec, azimuth, altitude);
    return altitude * kRadToDeg;
}

// The Moon's altitude seen from the surface: the parallax in altitude, asin(sin p cos h),
// lowers it by up to a degree.
double MoonAltitudeDegrees(const ObservingPlace &place, double jd) {
    const MoonPosition moon = ComputeMoon(jd);
    const double h = AltitudeDegrees(place, jd, moon.apparent.ra, moon.apparent.dec) * kDegToRad;
    const double parallax = std::asin(std::sin(moon.horizontalParallax) * std::cos(h));
    return (h - parallax) * kRadToDeg;
}

template <typename AltitudeAt>
AltitudeCurve Curve(const ObservingPlace &place, const BodyPlaceAt &body, double start, double end,
                    const AltitudeAt &altitudeAt) {
    AltitudeCurve curve;
    for (const HorizonEvent &e : HorizonEvents(place, body, start, end)) {
        if (e.kind == HorizonEventKind::UpperCulmination) {
            curve.transits = true;
            curve.transit = e.jd;
            curve.transitAltitude = altitudeAt(e.jd);
            break;
        }
    }
    const int steps = static_cast<int>(std::ceil((end - start) / kStepDays - 1e-9));
    for (int i = 0; i <= steps; ++i) {
        const double jd = std::min(start + i * kStepDays, end);
        if (curve.transits && curve.transit < jd &&
            (curve.samples.empty() || curve.samples.back().jd < curve.transit))
            curve.samples.push_back({curve.transit, curve.transitAltitude});
        curve.samples.push_back({jd, altitudeAt(jd)});
    }
    return curve;
}

DarkSpan SpanOf(const TwilightTimes &t, double start, double end) {
    DarkSpan span;
    if (!t.hasEvening && !t.hasMorning && t.staysAbove)
        return span;
    span.from = t.hasEvening ? std::clamp(t.evening, start, end) : start;
    span.to = t.hasMorning ? std::clamp(t.morning, start, end) : end;
    span.present = span.to > span.from;
    return span;
}

std::vector<HourTick> Hours(const ObservingPlace &place, double start, double end) {
    std::vector<HourTick> ticks;
    const double offset = (place.ZoneOffset() + place.DaylightOffset(start)) / 24.0;
    // Julian Dates begin at noon, so whole local hours are whole 24ths of the local JD.
    double jd = std::ceil((start + offset) * 24.0 - 1e-6) / 24.0 - offset;
    for (; jd <= end + 1e-9; jd += 1.0 / 24.0)
        ticks.push_back({jd, place.LocalTimeText(jd, false).substr(11, 2)});
    return ticks;
}

} // namespace

NightChart ComputeNightChart(const ObservingPlace &place, bool hasObject, double ra, double dec) {
    NightChart chart;
    const double jd = place.Instant();
    if (!std::isfinite(jd))
        return chart;
    chart.twilight = TwilightOfNight(place, jd);
    if (chart.twilight.sunSetsAndRises) {
        chart.start = chart.twilight.sunset;
        chart.end = chart.twilight.sunrise;
    } else {
        const double noon = OpeningNoon(place, jd);
        chart.start = noon + 0.25;
        chart.end = noon + 0.75;
    }
    for (int k = 0; k < 3; ++k)
        chart.dark[k] = SpanOf(chart.twilight.kinds[k], chart.start, chart.end);

    chart.hasObject = hasObject && std::isfinite(ra) && std::isfinite(dec);
    if (chart.hasObject) {
        const BodyPlaceAt fixed = [ra, dec](double) { return BodyPlace{ra, dec, 0.0}; };
        chart.object = Curve(place, fixed, chart.start, chart.end,
                             [&](double t) { return AltitudeDegrees(place, t, ra, dec); });
    }
    const BodyPlaceAt moon = [](double t) {
        const MoonPosition m = ComputeMoon(t);
        return BodyPlace{m.apparent.ra, m.apparent.dec, 0.0};
    };
    chart.moon = Curve(place, moon, chart.start, chart.end,
                       [&](double t) { return MoonAltitudeDegrees(place, t); });
    chart.moonIlluminated = ComputeMoon(0.5 * (chart.start + chart.end)).illuminatedFraction;

    chart.showsNow = jd >= chart.start && jd <= chart.end;
    chart.now = jd;
    chart.hours = Hours(place, chart.start, chart.end);
    return chart;
}

} // namespace vespario
