// Replace All over every object of the shipped sample (13,960 records) with a pattern that
// matches in the IDs of most of them ("{pgc} {[0-9]+}", in 9,690 records), searching all 18
// fields of "any listed", as the dialog runs it: each object made current in turn, each
// changed field stored with SetFieldText, the progress and the paint calls through the
// Host. Beside it, in the same run, a Search that finds nothing and walks once round the
// whole list, and a bare loop of the same Pattern::Search calls over the same fields.
//
// Budget, printed by its own main: Replace All at most 2 s.

#include "bench/fastestreporter.h"
#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "select/objectlist.h"
#include "select/searchwalk.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace vespario::bench {
namespace {

constexpr double kReplaceAllBudget = 2.0; // seconds
constexpr const char *kFind = "{pgc} {[0-9]+}";

struct Sample {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    std::unique_ptr<CVesparioDoc> doc;
    std::unique_ptr<ObjectList> list;
    bool ok = false;
};

// The sample read and parsed once, every object listed (outside the timing).
Sample &Loaded() {
    static Sample sample;
    if (!sample.doc) {
        sample.doc = std::make_unique<CVesparioDoc>(sample.host, sample.profile);
        sample.ok = sample.doc->ReadDatabaseFile(VESPARIO_SAMPLE);
        sample.doc->LoadCompletely();
        sample.list = std::make_unique<ObjectList>(*sample.doc);
        sample.list->RunToCompletion();
        sample.list->GoTo(0, -1);
        sample.ok = sample.ok && sample.list->List().size() == 13960;
    }
    return sample;
}

std::map<int, double> g_fastest; // benchmark number -> fastest run, seconds
int g_replaced = 0;
long g_pumps = 0;

void ReplaceAll(benchmark::State &state) {
    Sample &s = Loaded();
    if (!s.ok) {
        state.SkipWithError("data/sample.obs did not load as 13,960 listed objects");
        return;
    }
    SearchWalk walk(*s.doc, *s.list);
    int replaced = 0;
    bool upper = false;
    const long pumpsBefore = s.host.PumpCount();
    for (auto _ : state) {
        // Each run changes the texts back and forth, so that every match is really stored.
        upper = !upper;
        walk.ReplaceAll(kFind, upper ? "PGC \\2" : "pgc \\2");
        replaced = walk.ReplacedCount();
    }
    g_replaced = replaced;
    g_pumps = (s.host.PumpCount() - pumpsBefore) / static_cast<long>(state.iterations());
    state.counters["which"] = 0;
    state.counters["replaced"] = replaced;
}
BENCHMARK(ReplaceAll)->Unit(benchmark::kMillisecond)->UseRealTime();

void SearchNotFound(benchmark::State &state) {
    Sample &s = Loaded();
    if (!s.ok) {
        state.SkipWithError("data/sample.obs did not load");
        return;
    }
    SearchWalk walk(*s.doc, *s.list);
    for (auto _ : state)
        benchmark::DoNotOptimize(walk.Search("no such text", {}));
    state.counters["which"] = 1;
}
BENCHMARK(SearchNotFound)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bare searches the walk makes: every searched field of every listed record.
void BareSearches(benchmark::State &state) {
    Sample &s = Loaded();
    if (!s.ok) {
        state.SkipWithError("data/sample.obs did not load");
        return;
    }
    Pattern pattern(kFind);
    int matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (const int record : s.list->List())
            for (size_t f = 1; f < kLookIn.size(); ++f)
                matches += pattern.Search(s.doc->Record(record).Field(kLookIn[f].fieldNo)) >= 0;
    }
    state.counters["which"] = 2;
    state.counters["matching_fields"] = matches;
}
BENCHMARK(BareSearches)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintSummary() {
    if (!g_fastest.count(0))
        return;
    const double replaceAll = g_fastest.at(0);
    std::printf("\nReplace All \"%s\" over the 13,960 objects of data/sample.obs:\n", kFind);
    std::printf("  Replace All        %8.1f ms  (%d replaced, %ld paint calls a run)  "
                "budget %.1f s: %s\n",
                replaceAll * 1e3, g_replaced, g_pumps, kReplaceAllBudget,
                replaceAll <= kReplaceAllBudget ? "within" : "OVER BUDGET");
    if (g_fastest.count(1))
        std::printf("  Search, not found  %8.1f ms  (once round the list)\n",
                    g_fastest.at(1) * 1e3);
    if (g_fastest.count(2))
        std::printf("  bare searches      %8.1f ms  (Replace All / bare: %.2fx)\n",
                    g_fastest.at(2) * 1e3, replaceAll / g_fastest.at(2));
}

} // namespace
} // namespace vespario::bench

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    vespario::bench::FastestReporter<int> reporter(
        vespario::bench::g_fastest, [](const benchmark::BenchmarkReporter::Run &run) {
            return static_cast<int>(run.counters.at("which"));
        });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    vespario::bench::PrintSummary();
    return 0;
}
