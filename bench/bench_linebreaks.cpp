// One record whose refs, url and obs fields each hold n line breaks, written to memory and
// read back (with the parse that rebuilds the line structure), at 50,000 and 200,000 breaks
// of each kind: four times the breaks may cost at most five times as much (no quadratic
// growth). The test suite checks only that every break comes back.

#include "bench/benchsupport.h"
#include "bench/fastestreporter.h"
#include "platform/headlesshost.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace vespario::bench {
namespace {

constexpr double kGrowthBudget = 5.0;

struct Doc {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    std::unique_ptr<CVesparioDoc> doc;
};

std::unique_ptr<Doc> MakeDoc() {
    auto d = std::make_unique<Doc>();
    d->profile.WriteInt("ObsPlace", "NumberOf", 1);
    d->profile.WriteString("ObsPlace", "Place0", "H Home garden");
    d->profile.WriteInt("ObsEquip", "NumberOf", 1);
    d->profile.WriteString("ObsEquip", "Equip0", "8 8 inch Dobsonian");
    d->doc = std::make_unique<CVesparioDoc>(d->host, d->profile);
    return d;
}

// The file of the one record, as WriteDatabase makes it.
std::string FileWithBreaks(int n) {
    std::string refs, url, obs;
    for (int i = 0; i < n; ++i) {
        refs += "^r";
        url += "{u}";
        obs += "20200101H8 ";
    }
    auto d = MakeDoc();
    d->doc->NewObject();
    d->doc->SetFieldText(field::Id, "=breaks=");
    d->doc->SetFieldText(field::Refs, refs);
    d->doc->SetFieldText(field::Url, url);
    d->doc->SetFieldText(field::Obs, obs);
    d->doc->SetCurrentRecord(-1, false, false);
    std::ostringstream out;
    d->doc->WriteDatabase(out);
    return out.str();
}

std::map<int, double> g_fastest; // breaks -> fastest write and read back (s)

void WriteAndRead(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::string file = FileWithBreaks(n);
    uint32_t observations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto d = MakeDoc();
        std::istringstream in(file);
        state.ResumeTiming();
        d->doc->ReadDatabase(in);
        d->doc->LoadCompletely();
        std::ostringstream out;
        d->doc->WriteDatabase(out);
        observations = d->doc->Load().observationsCounted;
        benchmark::DoNotOptimize(out.str().size());
        state.PauseTiming();
        d.reset();
        state.ResumeTiming();
    }
    if (observations != static_cast<uint32_t>(n))
        state.SkipWithError("the observations did not all come back");
    state.counters["breaks"] = n;
}
BENCHMARK(WriteAndRead)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace vespario::bench

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    vespario::bench::FastestReporter<int> reporter(
        vespario::bench::g_fastest, [](const benchmark::BenchmarkReporter::Run &run) {
            return static_cast<int>(run.counters.at("breaks"));
        });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto &fastest = vespario::bench::g_fastest;
    if (fastest.count(50000) && fastest.count(200000)) {
        const double ratio = fastest[200000] / fastest[50000];
        std::printf("\nRead and write one record with n breaks in each of refs, url, obs:\n");
        std::printf("  n = 50,000   %8.1f ms\n  n = 200,000  %8.1f ms\n", fastest[50000] * 1e3,
                    fastest[200000] * 1e3);
        std::printf("  200k / 50k   %8.2fx   budget %.1fx: %s\n", ratio,
                    vespario::bench::kGrowthBudget,
                    ratio <= vespario::bench::kGrowthBudget ? "within" : "OVER BUDGET");
    }
    return 0;
}
