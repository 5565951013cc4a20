// Importing N records into an N-record database, half of them matching an object (a new
// magnitude and a new sentence of info each) and half new objects, for N = 100,000 and
// 200,000: as a database file (";Vespario=") and as a described text (Type, ID, Magn, info).
// The baseline is loading the import file itself as a database, in the same run. An import
// must not grow quadratically: 200,000 into 200,000 costs at most 2.5 times 100,000 into
// 100,000.

#include "bench/benchsupport.h"
#include "db/import.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace vespario::bench {
namespace {

constexpr double kGrowthBudget = 2.5;

struct Doc {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    std::unique_ptr<CVesparioDoc> doc;

    explicit Doc(const std::string &text) {
        ApplyGeneratedProfile(profile);
        doc = std::make_unique<CVesparioDoc>(host, profile);
        std::istringstream in(text);
        doc->ReadDatabase(in);
        FinishLoad(*doc, true);
    }
};

// The target database, the import file in the database format and as a described text.
struct ImportData_ {
    std::string target;
    std::string database;
    std::string described;
};

const ImportData_ &DataFor(int records) {
    static std::map<int, ImportData_> cache;
    auto [it, made] = cache.try_emplace(records);
    if (!made)
        return it->second;
    ImportData_ &data = it->second;
    gendb::GenOptions options;
    options.records = records;
    options.seed = kBenchSeed;
    gendb::GenerateDatabase(options, data.target);
    Doc source(data.target);
    CVesparioDoc &doc = *source.doc;
    data.described = "Type;ID;Magn;info;\r\n";
    for (int i = 0; i < records; ++i) {
        doc.SetCurrentRecord(i, false, false);
        if (i % 2)
            doc.SetFieldText(field::Id, "=ximport " + std::to_string(i) + "=");
        doc.SetFieldText(field::Magn, "1." + std::to_string(i % 10));
        doc.SetFieldText(field::Info, std::string(doc.Record(i).Field(field::Info)) +
                                          " Imported note " + std::to_string(i) + ".");
        const ObjectRecord &r = doc.Record(i);
        data.described += std::string(r.Field(field::Type)) + ";" +
                          std::string(r.Field(field::Id)) + ";" +
                          std::string(r.Field(field::Magn)) + ";";
        for (char c : r.Field(field::Info)) {
            if (c == ';')
                data.described += '\\';
            if (static_cast<unsigned char>(c) >= 32)
                data.described += c;
        }
        data.described += ";\r\n";
    }
    doc.SetCurrentRecord(-1, false, false);
    std::ostringstream out;
    doc.WriteDatabase(out);
    data.database = out.str();
    return data;
}

void BM_LoadImportFile(benchmark::State &state) {
    const ImportData_ &data = DataFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Doc loaded(data.database);
        benchmark::DoNotOptimize(loaded.doc->GetRecordCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.database.size()));
}

void RunImport(benchmark::State &state, bool described) {
    const int records = static_cast<int>(state.range(0));
    const ImportData_ &data = DataFor(records);
    ImportText text;
    text.text = described ? data.described : data.database;
    ImportDescription d;
    std::string error;
    if (!PresetDescription(text, d, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    if (described) {
        d.fields = {field::Type, field::Id, field::Magn, field::Info};
        d.delimiterChar = ';';
        d.skipLines = 1;
        d.addNew = true;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<Doc>(data.target);
        state.ResumeTiming();
        const ImportSummary s = ImportData(*target->doc, text, d, false);
        state.PauseTiming();
        if (s.matched != records / 2 || s.added != records - records / 2) {
            state.SkipWithError("the import did not match half and add half");
            return;
        }
        target.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.text.size()));
}

void BM_ImportDatabaseFile(benchmark::State &state) {
    RunImport(state, false);
}
void BM_ImportDescribed(benchmark::State &state) {
    RunImport(state, true);
}

BENCHMARK(BM_LoadImportFile)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_ImportDatabaseFile)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_ImportDescribed)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The fastest real and CPU time of an iteration of each benchmark, in seconds. The machine
// is shared: the CPU time is the steadier of the two.
struct Fastest {
    double real = 0;
    double cpu = 0;
};

class Reporter : public benchmark::ConsoleReporter {
public:
    explicit Reporter(std::map<std::string, Fastest> &fastest) : m_fastest(fastest) {}
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const std::string name = run.benchmark_name();
            Fastest &f = m_fastest[name.substr(0, name.find("/iterations"))];
            const double real = run.GetAdjustedRealTime() / 1e3;
            const double cpu = run.GetAdjustedCPUTime() / 1e3;
            f.real = f.real == 0 ? real : std::min(f.real, real);
            f.cpu = f.cpu == 0 ? cpu : std::min(f.cpu, cpu);
        }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    std::map<std::string, Fastest> &m_fastest;
};

void PrintRatios(const std::map<std::string, Fastest> &fastest) {
    auto time = [&](const std::string &name) {
        const auto it = fastest.find(name);
        return it == fastest.end() ? Fastest{} : it->second;
    };
    std::printf("\nFastest run of each (real / CPU), against loading the import file as a "
                "database:\n");
    for (const char *kind : {"BM_ImportDatabaseFile", "BM_ImportDescribed"}) {
        for (int n : {100000, 200000}) {
            const Fastest base = time("BM_LoadImportFile/" + std::to_string(n));
            const Fastest t = time(std::string(kind) + "/" + std::to_string(n));
            if (base.real > 0 && t.real > 0)
                std::printf("  %-22s %6d  %7.1f / %7.1f ms  %5.2fx / %5.2fx the load\n", kind, n,
                            t.real * 1e3, t.cpu * 1e3, t.real / base.real, t.cpu / base.cpu);
        }
        const Fastest small = time(std::string(kind) + "/100000");
        const Fastest large = time(std::string(kind) + "/200000");
        if (small.real > 0 && large.real > 0) {
            const double real = large.real / small.real;
            const double cpu = large.cpu / small.cpu;
            std::printf("  %-22s 200,000 / 100,000: %.2fx / %.2fx   budget %.1fx (CPU): %s\n", kind,
                        real, cpu, kGrowthBudget, cpu <= kGrowthBudget ? "within" : "OVER BUDGET");
        }
    }
}

} // namespace
} // namespace vespario::bench

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::map<std::string, vespario::bench::Fastest> fastest;
    vespario::bench::Reporter reporter(fastest);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vespario::bench::PrintRatios(fastest);
    benchmark::Shutdown();
    return 0;
}
