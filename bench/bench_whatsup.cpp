// The What's Up report, built from scratch each time its window opens: it should cost a
// few milliseconds. Beside the whole report, its parts: one Sun, planet and Moon position,
// the rise, transit and set of one body on a local date (each refined from the body's own
// positions, the largest part of the report), the twilight of one night and the night chart.

#include "astro/bodyriseset.h"
#include "astro/datetimetext.h"
#include "astro/moon.h"
#include "astro/nightchart.h"
#include "astro/observingplace.h"
#include "astro/planets.h"
#include "astro/sun.h"
#include "astro/twilight.h"
#include "astro/whatsup.h"

#include <benchmark/benchmark.h>

namespace vespario {
namespace {

ObservingPlace Place(const char *record, const char *utc) {
    ObservingPlace place;
    place.Parse(record);
    place.SetInstant(ParseDateTime(utc));
    return place;
}

const ObservingPlace kBoston =
    Place("h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT", "2024/03/15 02:00:00");
// 60 deg north at midsummer: civil twilight lasts all night, every limit is searched to
// the sunrise.
const ObservingPlace kNorth =
    Place("n=North|10.7|60.0|1|1|2|5|9|5|0|0|CET|CEST", "2024/06/21 20:00:00");

void BM_WhatsUpReport(benchmark::State &state, const ObservingPlace *place) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = WhatsUpReport(*place);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["report_bytes"] = static_cast<double>(bytes);
}
BENCHMARK_CAPTURE(BM_WhatsUpReport, Boston_March, &kBoston)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WhatsUpReport, North60_Midsummer, &kNorth)->Unit(benchmark::kMillisecond);

void BM_SunApparent(benchmark::State &state) {
    double jd = 2460384.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SunApparent(jd));
        jd += 0.001;
    }
}
BENCHMARK(BM_SunApparent);

void BM_ComputePlanet(benchmark::State &state) {
    const int planet = static_cast<int>(state.range(0));
    double jd = 2460384.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputePlanet(planet, jd));
        jd += 0.001;
    }
}
BENCHMARK(BM_ComputePlanet)->Arg(1)->Arg(5)->Arg(8);

void BM_ComputeMoon(benchmark::State &state) {
    double jd = 2460384.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeMoon(jd));
        jd += 0.001;
    }
}
BENCHMARK(BM_ComputeMoon);

void BM_MoonRiseSetForDate(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(MoonRiseSetForDate(kBoston, kBoston.LocalDate(kBoston.Instant())));
}
BENCHMARK(BM_MoonRiseSetForDate);

void BM_TwilightOfNight(benchmark::State &state, const ObservingPlace *place) {
    for (auto _ : state)
        benchmark::DoNotOptimize(TwilightOfNight(*place, place->Instant()));
}
BENCHMARK_CAPTURE(BM_TwilightOfNight, Boston_March, &kBoston)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TwilightOfNight, North60_Midsummer, &kNorth)->Unit(benchmark::kMicrosecond);

// The night chart under the report, computed again for each new current object: the
// twilight, the Moon's curve and one object's curve with their transits.
void BM_NightChart(benchmark::State &state, const ObservingPlace *place) {
    double ra = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeNightChart(*place, true, ra, 0.5));
        ra = ra > 6.0 ? 0.0 : ra + 0.01;
    }
}
BENCHMARK_CAPTURE(BM_NightChart, Boston_March, &kBoston)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NightChart, North60_Midsummer, &kNorth)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vespario
