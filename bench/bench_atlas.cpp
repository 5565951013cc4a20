// The constellation and the seven atlas charts of every object of the OpenNGC catalogue
// (data/openngc.csv, 13,960 objects): what the record getters pay per object the first
// time a list is sorted or selected by them. The baseline of the same run is the
// precession to 1875.0 alone, which every constellation look-up starts with.
//
// Each figure is the time of one pass over the whole catalogue; the per-object cost is the
// counter "per_object" (seconds per object, shown with its SI prefix: "u" is microseconds).

#include "astro/atlascharts.h"
#include "astro/constellationtable.h"
#include "astro/precession.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace vespario {
namespace {

struct Position {
    double ra;
    double dec;
};

// The J2000 positions of the catalogue, in radians on the program's pi, as a parsed RaDec
// of the sample database holds them.
const std::vector<Position> &Catalogue() {
    static const std::vector<Position> positions = [] {
        std::vector<Position> read;
        std::ifstream in(std::string(VESPARIO_SOURCE_DATA_DIR) + "/openngc.csv");
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) {
            const std::size_t a = line.find(','), b = line.find(',', a + 1);
            const std::size_t c = line.find(',', b + 1);
            if (c == std::string::npos)
                continue;
            read.push_back({std::strtod(line.c_str() + b + 1, nullptr) * 0.017453292500000002,
                            std::strtod(line.c_str() + c + 1, nullptr) * 0.017453292500000002});
        }
        return read;
    }();
    return positions;
}

void PerObject(benchmark::State &state, std::size_t objects) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * objects));
    state.counters["per_object"] = benchmark::Counter(
        static_cast<double>(objects),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Baseline_PrecessTo1875(benchmark::State &state) {
    const std::vector<Position> &positions = Catalogue();
    Precession precession;
    for (auto _ : state) {
        double sum = 0.0;
        for (const Position &p : positions) {
            double ra = p.ra, dec = p.dec;
            precession.Apply(2000.0, 1875.0, ra, dec);
            sum += ra + dec;
        }
        benchmark::DoNotOptimize(sum);
    }
    PerObject(state, positions.size());
}
BENCHMARK(Baseline_PrecessTo1875)->Unit(benchmark::kMillisecond);

void Constellation(benchmark::State &state) {
    const std::vector<Position> &positions = Catalogue();
    const ConstellationTable table;
    Precession precession;
    for (auto _ : state) {
        long sum = 0;
        for (const Position &p : positions)
            sum += table.ConstellationIndex(p.ra, p.dec, precession);
        benchmark::DoNotOptimize(sum);
    }
    PerObject(state, positions.size());
}
BENCHMARK(Constellation)->Unit(benchmark::kMillisecond);

void SevenCharts(benchmark::State &state) {
    const std::vector<Position> &positions = Catalogue();
    for (auto _ : state) {
        long sum = 0;
        for (const Position &p : positions) {
            sum += SkyAtlasChart(p.ra, p.dec) + UranometriaChart(p.ra, p.dec) +
                   AstroAtlasBChart(p.ra, p.dec) + AstroAtlasCChart(p.ra, p.dec) +
                   EdmundMag5Chart(p.ra, p.dec) + EdmundMag6Chart(p.ra, p.dec) +
                   MsaChart(p.ra, p.dec);
        }
        benchmark::DoNotOptimize(sum);
    }
    PerObject(state, positions.size());
}
BENCHMARK(SevenCharts)->Unit(benchmark::kMillisecond);

// What a record costs for Con and all seven chart fields, with the chart centres that the
// hours-past-noon fields read.
void ConstellationAndSevenCharts(benchmark::State &state) {
    const std::vector<Position> &positions = Catalogue();
    const ConstellationTable table;
    Precession precession;
    for (auto _ : state) {
        double sum = 0.0;
        for (const Position &p : positions) {
            sum +=
                table.ConstellationAbbrev(table.ConstellationIndex(p.ra, p.dec, precession)).size();
            for (int atlas = 0; atlas < kStarAtlasCount; ++atlas) {
                const StarAtlas which = static_cast<StarAtlas>(atlas);
                sum += ChartCentreHours(which, AtlasChart(which, p.ra, p.dec));
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    PerObject(state, positions.size());
}
BENCHMARK(ConstellationAndSevenCharts)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vespario

BENCHMARK_MAIN();
