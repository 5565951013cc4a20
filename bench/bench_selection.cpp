// A selection pass over generated databases of 100,000 and 200,000 records: a numeric
// condition, a "has" condition and one computed sort key (TransitHrs#), run through the
// object list engine as the idle work runs it. The pass must not grow quadratically: the
// larger database may cost at most 2.5 times the smaller. Its own main prints the ratio.

#include "bench/benchsupport.h"
#include "db/astropositions.h"
#include "platform/headlesshost.h"
#include "select/objectlist.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

namespace vespario::bench {
namespace {

constexpr double kGrowthBudget = 2.5;

struct Loaded {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    ObservingPlace place;
    std::unique_ptr<AstroPositionServices> astro;
    std::unique_ptr<CVesparioDoc> doc;
};

// One database per size, generated, read and parsed once (outside the timing).
Loaded &Database(int records) {
    static TempFolder folder;
    static std::map<int, std::unique_ptr<Loaded>> loaded;
    auto &slot = loaded[records];
    if (!slot) {
        slot = std::make_unique<Loaded>();
        const BenchDatabase db =
            MakeDatabase(folder.Path(), "sel" + std::to_string(records) + ".obs", records);
        ApplyGeneratedProfile(slot->profile);
        slot->place.Parse("h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT");
        slot->place.SetInstant(2461382.5);
        slot->astro = std::make_unique<AstroPositionServices>(slot->place);
        slot->doc = std::make_unique<CVesparioDoc>(slot->host, slot->profile, slot->astro.get());
        slot->doc->ReadDatabaseFile(db.path);
        FinishLoad(*slot->doc, true);
    }
    return *slot;
}

std::map<int, double> g_fastest; // records -> fastest pass (s)

void SelectionPass(benchmark::State &state) {
    const int records = static_cast<int>(state.range(0));
    Loaded &d = Database(records);
    size_t selected = 0;
    int64_t comparisons = 0;
    for (auto _ : state) {
        ObjectList list(*d.doc);
        list.Criteria().AddLine(field::MagnValue, op::Less, "13");
        list.Criteria().AddLine(field::Id, op::Has, "pgc");
        list.Sort().AddKey(field::TransitHrs, 0, 0);
        list.RestartSelection();
        list.RunToCompletion();
        selected = list.List().size();
        comparisons = list.Sort().Comparisons();
        benchmark::DoNotOptimize(selected);
    }
    state.counters["records"] = records;
    state.counters["selected"] = static_cast<double>(selected);
    state.counters["comparisons_per_selected"] =
        static_cast<double>(comparisons) / static_cast<double>(selected);
    state.counters["per_record_us"] =
        benchmark::Counter(static_cast<double>(records) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(SelectionPass)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

class Fastest : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const int records = static_cast<int>(run.counters.at("records"));
            const double seconds = run.GetAdjustedRealTime() / 1e3; // reported in ms
            auto [it, inserted] = g_fastest.emplace(records, seconds);
            if (!inserted && seconds < it->second)
                it->second = seconds;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace
} // namespace vespario::bench

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    vespario::bench::Fastest reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto &fastest = vespario::bench::g_fastest;
    if (fastest.count(100000) && fastest.count(200000)) {
        const double small = fastest[100000];
        const double large = fastest[200000];
        const double ratio = large / small;
        std::printf("\nSelection pass, fastest run of each:\n");
        std::printf("  100,000 records  %8.1f ms  %.2f us per record\n", small * 1e3,
                    small * 1e6 / 100000);
        std::printf("  200,000 records  %8.1f ms  %.2f us per record\n", large * 1e3,
                    large * 1e6 / 200000);
        std::printf("  200k / 100k      %8.2fx   budget %.1fx: %s\n", ratio,
                    vespario::bench::kGrowthBudget,
                    ratio <= vespario::bench::kGrowthBudget ? "within" : "OVER BUDGET");
    }
    return 0;
}
