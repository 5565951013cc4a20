// The edit checks' first pass over the generated 100,000-record database, against the parse
// of the same records measured in the same run. The pass runs every check (all 23 switched
// on, three prohibited patterns) in slices of the window's 100 ms deadline, as the idle work
// drives it, and reports the longest slice beside the times.

#include "bench/benchsupport.h"
#include "bench/fastestreporter.h"
#include "db/cvespariodoc.h"
#include "db/editchecks.h"
#include "platform/clock.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "settings/settingsvocabularies.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace vespario::bench {
namespace {

constexpr uint32_t kSliceMs = 100; // "Timing"/"Second"

// The codes the generator writes, so that failures are the exceptions they are in a real
// file: its type "en" and the Try value "m" are left out on purpose.
void AddVocabularies(platform::IniProfile &profile) {
    const char *const types[] = {"eg=Galaxy",    "oc=Open cluster", "gc=Globular",
                                 "pn=Planetary", "dn=Dark nebula",  "**=Star"};
    profile.WriteInt("ObjectType", "NumberOf", 6);
    for (int i = 0; i < 6; ++i)
        profile.WriteString("ObjectType", "Type" + std::to_string(i), types[i]);
    profile.WriteString("ObjectTry", "NumberOf", "2");
    profile.WriteString("ObjectTry", "Try0", "y=Yes");
    profile.WriteString("ObjectTry", "Try1", "n=No");
    const char *const sources[] = {"a=A", "b=B", "n=N", "s=S", "z=Z"};
    profile.WriteInt("ObjectSource", "NumberOf", 5);
    for (int i = 0; i < 5; ++i)
        profile.WriteString("ObjectSource", "Source" + std::to_string(i), sources[i]);
    profile.WriteString("ObjectCheck", "NumberOf", "3");
    profile.WriteString("ObjectCheck", "Check0", "N=Nice");
    profile.WriteString("ObjectCheck", "Check1", "3=RC3");
    profile.WriteString("ObjectCheck", "Check2", "2=RC2");
    profile.WriteInt("Edit", "NumberOf", kEditCheckCount);
    for (int k = 0; k < kEditCheckCount; ++k)
        profile.WriteString("Edit", "Edit" + std::to_string(k),
                            "Y" + std::string(DefaultEditCheckDescription(k)));
    profile.WriteInt("Prohib", "NumberOf", 3);
    profile.WriteString("Prohib", "Prohib0", "teh");
    profile.WriteString("Prohib", "Prohib1", "faint faint");
    profile.WriteString("Prohib", "Prohib2", "_??[0-9][0-9][0-9][0-9][0-9]x");
}

struct Loaded {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    SettingsVocabularies vocabularies;
    std::unique_ptr<CVesparioDoc> doc;

    explicit Loaded(bool parse) {
        ApplyGeneratedProfile(profile);
        AddVocabularies(profile);
        vocabularies.LoadVocabularies(profile);
        doc = std::make_unique<CVesparioDoc>(host, profile, nullptr, &vocabularies);
        doc->ReadDatabaseFile(SharedDatabase().path);
        FinishLoad(*doc, parse);
    }
};

bool HaveDatabase(benchmark::State &state) {
    if (SharedDatabase().path.empty())
        state.SkipWithError(("cannot generate the database: " + SharedDatabase().error).c_str());
    return !SharedDatabase().path.empty();
}

// The baseline: parsing every record of a split file.
void ParseAll(benchmark::State &state) {
    if (!HaveDatabase(state))
        return;
    std::unique_ptr<Loaded> d;
    for (auto _ : state) {
        state.PauseTiming();
        d.reset();
        d = std::make_unique<Loaded>(false);
        state.ResumeTiming();
        FinishLoad(*d->doc, true);
    }
    state.counters["records"] = d->doc->GetRecordCount();
}

// The first pass over the parsed records, slice by slice.
void EditCheckFirstPass(benchmark::State &state) {
    if (!HaveDatabase(state))
        return;
    std::unique_ptr<Loaded> d;
    std::unique_ptr<EditChecks> checks;
    double longestMs = 0;
    int slices = 0;
    for (auto _ : state) {
        state.PauseTiming();
        checks.reset();
        d.reset();
        d = std::make_unique<Loaded>(true);
        checks = std::make_unique<EditChecks>(*d->doc, d->vocabularies);
        slices = 0;
        state.ResumeTiming();
        while (!d->doc->EditCheckPassDone()) {
            const auto start = std::chrono::steady_clock::now();
            checks->EditCheckSlice(platform::TickCount() + kSliceMs);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            longestMs = std::max(longestMs, took.count());
            ++slices;
        }
    }
    state.counters["records"] = d->doc->GetRecordCount();
    state.counters["failures"] = static_cast<double>(checks->Failures().size());
    state.counters["slices"] = slices;
    state.counters["longest_slice_ms"] = longestMs;
}

BENCHMARK(ParseAll)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(EditCheckFirstPass)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace vespario::bench

int main(int argc, char **argv) {
    using namespace vespario::bench;
    benchmark::Initialize(&argc, argv);
    std::map<std::string, double> fastest;
    FastestReporter<std::string> reporter(
        fastest,
        [](const benchmark::BenchmarkReporter::Run &run) { return run.run_name.function_name; });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto parse = fastest.find("ParseAll");
    const auto pass = fastest.find("EditCheckFirstPass");
    if (parse != fastest.end() && pass != fastest.end() && parse->second > 0)
        std::printf("\nFirst pass %.1f ms, parse %.1f ms: %.2fx the parse of the same records\n",
                    pass->second * 1e3, parse->second * 1e3, pass->second / parse->second);
    return 0;
}
