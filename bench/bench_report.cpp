// A report of every object of the shipped sample database (13,960 objects) in each of the
// five kinds, against the time of saving the same database durably to a file in the same
// run. The RTF report has all three extra sections and the session notes file is beside
// the database. Only the ratios are compared between runs.

#include "astro/observingplace.h"
#include "bench/fastestreporter.h"
#include "db/astropositions.h"
#include "db/cvespariodoc.h"
#include "platform/files.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "report/reportwriter.h"
#include "settings/settingsvocabularies.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vespario::bench {

constexpr double kReportBudget = 10.0; // "within a few seconds": a few saves' time

namespace {

struct Sample {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    ObservingPlace place;
    AstroPositionServices astro{place};
    SettingsVocabularies vocabularies;
    std::unique_ptr<CVesparioDoc> doc;
    std::vector<int> all;
    std::string folder;

    Sample() {
        const std::string data = VESPARIO_SOURCE_DATA_DIR;
        if (!profile.Load(data + "/Vespario.ini"))
            std::fprintf(stderr, "cannot read %s/Vespario.ini\n", data.c_str());
        vocabularies.LoadVocabularies(profile);
        doc = std::make_unique<CVesparioDoc>(host, profile, &astro, &vocabularies);
        if (!doc->ReadDatabaseFile(data + "/sample.obs"))
            std::fprintf(stderr, "cannot read %s/sample.obs\n", data.c_str());
        doc->LoadCompletely();
        for (int r = 0; r < doc->GetRecordCount(); ++r)
            all.push_back(r);
        folder = (std::filesystem::temp_directory_path() /
                  ("vespario_bench_report_" + std::to_string(::getpid())))
                     .string();
        std::filesystem::create_directories(folder);
        if (!platform::WriteWholeFileAtomic(folder + "/session.txt",
                                            "_20190105 clear and dark\r\n"))
            std::fprintf(stderr, "cannot write the session notes\n");
    }
    ~Sample() { std::filesystem::remove_all(folder); }
};

Sample &Shared() {
    static Sample sample;
    return sample;
}

void BM_SaveDatabase(benchmark::State &state) {
    Sample &s = Shared();
    for (auto _ : state)
        if (!s.doc->SaveDatabase(s.folder + "/saved.obs"))
            state.SkipWithError(s.doc->SaveError().c_str());
    state.counters["objects"] = static_cast<double>(s.all.size());
}

void BM_Report(benchmark::State &state) {
    Sample &s = Shared();
    const auto kind = static_cast<ReportKind>(state.range(0));
    ReportLayout layout = DefaultLayout(kind, kUnitInches);
    layout.options.sessionNotes = 1;
    PrepareLayoutForKind(kind, layout);
    ReportSources sources(*s.doc, s.host, &s.vocabularies);
    sources.databasePath = s.folder + "/sample.obs";
    const std::string path = s.folder + "/report" + std::to_string(state.range(0));
    for (auto _ : state) {
        std::string error;
        if (!WriteReport(kind, layout, s.all, path, sources, &error))
            state.SkipWithError(error.c_str());
    }
    state.SetLabel(std::string(InfoOf(kind).name));
}

BENCHMARK(BM_SaveDatabase)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Report)->DenseRange(0, kReportKindCount - 1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vespario::bench

int main(int argc, char **argv) {
    using namespace vespario;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::map<std::string, double> fastest;
    bench::FastestReporter<std::string> reporter(
        fastest, [](const benchmark::BenchmarkReporter::Run &run) { return run.report_label; });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto save = fastest.find("");
    if (save != fastest.end() && save->second > 0.0) {
        std::printf("\nSaving the sample database (%zu objects): %.1f ms\n",
                    bench::Shared().all.size(), save->second * 1e3);
        for (int k = 0; k < kReportKindCount; ++k) {
            const std::string name(InfoOf(static_cast<ReportKind>(k)).name);
            const auto it = fastest.find(name);
            if (it == fastest.end())
                continue;
            const double ratio = it->second / save->second;
            std::printf("report %-6s %8.1f ms  %5.2fx the save  (budget %.0fx) %s\n", name.c_str(),
                        it->second * 1e3, ratio, bench::kReportBudget,
                        ratio <= bench::kReportBudget ? "ok" : "OVER");
        }
    }
    benchmark::Shutdown();
    return 0;
}
