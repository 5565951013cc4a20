// Loading and saving a 100,000-record database, each figure set against a baseline measured
// in the same run: reading the same file with one request and counting its records with a
// plain memchr loop. The machines are noisy, so only the ratios are compared between runs.
//
// At the end the memory figure is taken by bench_memory (beside this program) in a child
// process of its own, so that this process's buffers do not count.

#include "bench/benchsupport.h"
#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace vespario::bench {
namespace {

constexpr double kSplitBudget = 4.0; // read, prepare and split with the name index
constexpr double kWriteBudget = 6.0; // WriteDatabase into memory
constexpr double kSaveBudget = 10.0; // SaveDatabase with its synced temporary file

// A document with its own host and profile, as the program has one per open file.
struct LoadedDoc {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    std::unique_ptr<CVesparioDoc> doc;

    LoadedDoc() {
        ApplyGeneratedProfile(profile);
        doc = std::make_unique<CVesparioDoc>(host, profile);
    }
};

// Records and observations the reader found must be what the generator wrote, and a
// generated file must load without a single message.
bool CheckLoad(benchmark::State &state, LoadedDoc &d, bool parsed) {
    const BenchDatabase &db = SharedDatabase();
    if (!d.host.Messages().empty()) {
        state.SkipWithError(("message while loading: " + d.host.Messages().front()).c_str());
        return false;
    }
    if (d.doc->GetRecordCount() != static_cast<int>(db.stats.records)) {
        state.SkipWithError("record count differs from the generated file");
        return false;
    }
    if (parsed && d.doc->Load().observationsCounted != db.stats.observations) {
        state.SkipWithError("observation count differs from the generated file");
        return false;
    }
    return true;
}

bool HaveDatabase(benchmark::State &state) {
    const BenchDatabase &db = SharedDatabase();
    if (db.path.empty())
        state.SkipWithError(("cannot generate the database: " + db.error).c_str());
    return !db.path.empty();
}

void SetFileCounters(benchmark::State &state) {
    const BenchDatabase &db = SharedDatabase();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(db.stats.fileLength));
    state.counters["records"] = db.stats.records;
}

// (a) The baseline: the whole file in one read into one block, records counted by memchr.
size_t CountRecordsWithMemchr(const std::string &path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const auto length = static_cast<size_t>(in.tellg());
    in.seekg(0);
    std::unique_ptr<char[]> buffer(new char[length + 2]);
    in.read(buffer.get(), static_cast<std::streamsize>(length));
    const char *p = buffer.get();
    const char *end = p + in.gcount();
    size_t records = 0;
    while (p < end) {
        const void *found = std::memchr(p, '\n', static_cast<size_t>(end - p));
        if (!found)
            break;
        p = static_cast<const char *>(found) + 1;
        if (p < end && *p == '_')
            ++records;
    }
    return records;
}

void Baseline_MemchrCount(benchmark::State &state) {
    if (!HaveDatabase(state))
        return;
    size_t records = 0;
    for (auto _ : state) {
        records = CountRecordsWithMemchr(SharedDatabase().path);
        benchmark::DoNotOptimize(records);
    }
    if (records != SharedDatabase().stats.records)
        state.SkipWithError("memchr count differs from the generated file");
    SetFileCounters(state);
}

// (b) ReadDatabase and SplitRecordsSlice until all are split, building the name index.
void ReadAndSplit(benchmark::State &state) {
    if (!HaveDatabase(state))
        return;
    std::unique_ptr<LoadedDoc> d;
    for (auto _ : state) {
        state.PauseTiming();
        d.reset();
        d = std::make_unique<LoadedDoc>();
        state.ResumeTiming();
        d->doc->ReadDatabaseFile(SharedDatabase().path);
        FinishLoad(*d->doc, false);
    }
    if (CheckLoad(state, *d, false))
        state.counters["index_bytes"] = double(d->doc->NameIndex().size());
    SetFileCounters(state);
}

// (c) Parsing every record of a split file.
void ParseAll(benchmark::State &state) {
    if (!HaveDatabase(state))
        return;
    std::unique_ptr<LoadedDoc> d;
    for (auto _ : state) {
        state.PauseTiming();
        d.reset();
        d = std::make_unique<LoadedDoc>();
        d->doc->ReadDatabaseFile(SharedDatabase().path);
        FinishLoad(*d->doc, false);
        state.ResumeTiming();
        FinishLoad(*d->doc, true);
    }
    CheckLoad(state, *d, true);
    SetFileCounters(state);
}

// Reading, splitting and parsing together: what opening a file costs until it is complete.
void LoadComplete(benchmark::State &state) {
    if (!HaveDatabase(state))
        return;
    std::unique_ptr<LoadedDoc> d;
    for (auto _ : state) {
        state.PauseTiming();
        d.reset();
        d = std::make_unique<LoadedDoc>();
        state.ResumeTiming();
        d->doc->ReadDatabaseFile(SharedDatabase().path);
        FinishLoad(*d->doc, true);
    }
    CheckLoad(state, *d, true);
    SetFileCounters(state);
}

// One fully loaded document for the writers; made outside their timing.
LoadedDoc *SharedLoadedDoc() {
    static std::unique_ptr<LoadedDoc> d;
    if (!d) {
        d = std::make_unique<LoadedDoc>();
        d->doc->ReadDatabaseFile(SharedDatabase().path);
        FinishLoad(*d->doc, true);
    }
    return d.get();
}

std::string g_roundTripContext; // the two texts around the first difference

// Where a saved text first differs from the generated file; -1 when they are the same.
long long FirstDifference(const std::string &written) {
    std::ifstream in(SharedDatabase().path, std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t n = std::min(file.size(), written.size());
    const auto diff = std::mismatch(file.begin(), file.begin() + long(n), written.begin());
    const size_t at = static_cast<size_t>(diff.first - file.begin());
    const size_t from = at > 40 ? at - 40 : 0;
    g_roundTripContext = "    file:    [" + file.substr(from, 80) + "]\n    written: [" +
                         written.substr(from, 80) + "]\n";
    return at == n && file.size() == written.size() ? -1 : static_cast<long long>(at);
}

long long g_roundTripDifference = -2; // -2: not checked

// (d) WriteDatabase into memory. The generator writes the texts as the document holds them,
// so loading and writing back must give the generated file byte for byte.
void WriteToMemory(benchmark::State &state) {
    if (!HaveDatabase(state))
        return;
    LoadedDoc *d = SharedLoadedDoc();
    std::string written;
    for (auto _ : state) {
        std::ostringstream out;
        if (!d->doc->WriteDatabase(out)) {
            state.SkipWithError("WriteDatabase failed");
            break;
        }
        written = std::move(out).str(); // the text itself, not a copy of it
        benchmark::DoNotOptimize(written.data());
    }
    g_roundTripDifference = FirstDifference(written);
    state.counters["identical_to_file"] = g_roundTripDifference == -1 ? 1 : 0;
    SetFileCounters(state);
}

// (d) SaveDatabase: the temporary file written in blocks and synced, the backup by a link,
// the rename and the synced folder.
void SaveToFile(benchmark::State &state) {
    if (!HaveDatabase(state))
        return;
    LoadedDoc *d = SharedLoadedDoc();
    const std::string target = SharedDatabase().folder + "/saved.obs";
    for (auto _ : state) {
        if (!d->doc->SaveDatabase(target)) {
            state.SkipWithError("SaveDatabase failed");
            break;
        }
    }
    SetFileCounters(state);
}

BENCHMARK(Baseline_MemchrCount)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadAndSplit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ParseAll)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoadComplete)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteToMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps the fastest time per iteration of each benchmark for the ratios at the end; when
// only aggregates are reported (--benchmark_report_aggregates_only), their medians.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const std::string name = run.run_name.function_name;
            const double t = run.GetAdjustedRealTime();
            if (run.run_type == Run::RT_Iteration)
                KeepFastest(m_best, name, t);
            else if (run.aggregate_name == "median")
                m_median[name] = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Times() const {
        std::map<std::string, double> times = m_median;
        for (const auto &[name, t] : m_best)
            times[name] = t;
        return times;
    }

private:
    static void KeepFastest(std::map<std::string, double> &map, const std::string &name, double t) {
        auto it = map.find(name);
        if (it == map.end() || t < it->second)
            map[name] = t;
    }
    std::map<std::string, double> m_best;
    std::map<std::string, double> m_median;
};

void PrintRatios(const RecordingReporter &reporter) {
    const std::map<std::string, double> best = reporter.Times();
    const auto base = best.find("Baseline_MemchrCount");
    if (base == best.end() || base->second <= 0) {
        std::printf("\nno baseline time: ratios not computed\n");
        return;
    }
    std::printf("\nRatios to the memchr baseline (%.2f ms), fastest run of each:\n", base->second);
    const char *names[] = {"ReadAndSplit", "ParseAll", "LoadComplete", "WriteToMemory",
                           "SaveToFile"};
    for (const char *name : names) {
        const auto it = best.find(name);
        if (it == best.end())
            continue;
        const double ratio = it->second / base->second;
        std::printf("  %-14s %8.2f ms  %6.2fx", name, it->second, ratio);
        const double budget = std::strcmp(name, "ReadAndSplit") == 0    ? kSplitBudget
                              : std::strcmp(name, "WriteToMemory") == 0 ? kWriteBudget
                              : std::strcmp(name, "SaveToFile") == 0    ? kSaveBudget
                                                                        : 0.0;
        if (budget > 0)
            std::printf("   budget %.1fx: %s", budget, ratio <= budget ? "within" : "OVER BUDGET");
        std::printf("\n");
    }
    if (g_roundTripDifference == -1)
        std::printf("  load + WriteDatabase gives the generated file byte for byte\n");
    else if (g_roundTripDifference >= 0)
        std::printf("  load + WriteDatabase differs from the generated file at byte %lld:\n%s",
                    g_roundTripDifference, g_roundTripContext.c_str());
}

// The memory figure, from bench_memory beside this program, in a process of its own.
void RunMemoryChild() {
    char self[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return;
    std::string tool(self, static_cast<size_t>(n));
    tool = tool.substr(0, tool.rfind('/') + 1) + "bench_memory";
    if (access(tool.c_str(), X_OK) != 0 || SharedDatabase().path.empty()) {
        std::printf("\n(bench_memory not found beside this program: memory not measured)\n");
        return;
    }
    std::printf("\nMemory (bench_memory in a child process):\n");
    std::fflush(stdout);
    std::string file = SharedDatabase().path;
    char *argv[] = {tool.data(), file.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv, environ) != 0)
        return;
    int status = 0;
    waitpid(pid, &status, 0);
}

bool WantsMemory(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no_memory") == 0)
            return false;
    }
    return true;
}

} // namespace
} // namespace vespario::bench

int main(int argc, char **argv) {
    const bool memory = vespario::bench::WantsMemory(argc, argv);
    std::vector<char *> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no_memory") != 0)
            args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    vespario::bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vespario::bench::PrintRatios(reporter);
    if (memory)
        vespario::bench::RunMemoryChild();
    benchmark::Shutdown();
    return 0;
}
