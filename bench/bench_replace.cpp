// Replace All over every object of the shipped sample (13,960 records) with a pattern that
// matches in the IDs of most of them ("{pgc} @{[0-9]+}", in 9,690 records), searching all 18
// fields of "any listed", as the dialog runs it: each object made current in turn, each
// changed field stored with SetFieldText, the progress and the paint calls through the
// Host. Beside it, in the same run, a Search that finds nothing and walks once round the
// whole list, and a bare loop of the same Pattern::Search calls over the same fields.
// Then the same Replace All pressed in the dialog of the real window (offscreen platform), with
// the paints of the status bar's message counted while it runs.
//
// Budget, printed by its own main: Replace All at most 2 s, in the core and in the window.

#include "app/cvesparioapp.h"
#include "bench/benchsupport.h"
#include "bench/fastestreporter.h"
#include "db/cvespariodoc.h"
#include "platform/files.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "select/objectlist.h"
#include "select/searchwalk.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovwid.h"
#include "ui/qthost.h"
#include "ui/searchdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vespario::bench {
namespace {

constexpr double kReplaceAllBudget = 2.0;        // seconds
constexpr const char *kFind = "{pgc} @{[0-9]+}"; // "PGC 778" in the sample, "pgc1002" generated

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

// --- the window ------------------------------------------------------------------------------

// Counts the paints of one widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

struct WindowFigures {
    std::string name;
    double ms = -1;
    int paints = 0;
    std::string status;
};
std::vector<WindowFigures> g_window;

// Opens the database in the window, lists every object, then presses Search and Replace All
// in the dialog and times Replace All.
// profile: the profile's text, before the settings that keep the window from asking.
WindowFigures ReplaceAllInTheWindow(const std::string &database, size_t records,
                                    const std::string &profile) {
    WindowFigures figures;
    TempFolder folder;
    {
        std::ofstream out(folder.Path() + "/Vespario.ini", std::ios::binary);
        out << profile << "\r\n[Settings]\r\nTutorial=0\r\nEurobarSeen=1\r\n";
    }
    ui::QtHost host;
    CVesparioApp app(host);
    ui::CVesparioFrm frame(app, host);
    StartupOptions options;
    options.profileFolder = folder.Path();
    options.currentFolder = folder.Path();
    options.args.push_back(database);
    if (app.Start(options, frame) != StartResult::Running)
        return figures;
    frame.show();
    ObjectList &engine = *frame.ListView()->Engine();
    QElapsedTimer wait;
    wait.start();
    while ((engine.PassRunning() || frame.IdleRunning() || engine.List().size() < records) &&
           wait.elapsed() < 600000)
        QApplication::processEvents();
    frame.GoTo(engine.List()[0]);
    frame.OpenSearch();
    ui::SearchDialog *dialog = frame.FindReplace();
    dialog->FindBox()->setEditText(QString::fromLatin1(kFind));
    dialog->ReplaceBox()->setEditText(QStringLiteral("PGC \\2"));
    dialog->SearchButton()->click();
    QApplication::processEvents();
    PaintCounter counter;
    frame.StatusPane(0)->installEventFilter(&counter);
    QElapsedTimer clock;
    clock.start();
    dialog->ReplaceAllButton()->click();
    figures.ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    figures.paints = counter.paints;
    figures.status = dialog->StatusLine()->text().toStdString();
    frame.StatusPane(0)->removeEventFilter(&counter);
    // The changes are not saved: the window goes without asking.
    app.Document().SetModified(false);
    frame.close();
    app.Exit();
    return figures;
}

// The sample, and a generated database large enough that Replace All paints its progress.
void WindowRuns() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "bench_replace";
    char *argv[] = {name, nullptr};
    QApplication qapp(argc, argv);
    std::ifstream shipped(platform::DataDir() + "/Vespario.ini", std::ios::binary);
    const std::string shippedProfile((std::istreambuf_iterator<char>(shipped)),
                                     std::istreambuf_iterator<char>());
    g_window.push_back(ReplaceAllInTheWindow(VESPARIO_SAMPLE, 13960, shippedProfile));
    g_window.back().name = "the sample, 13,960";
    const BenchDatabase &generated = SharedDatabase();
    if (generated.path.empty())
        return;
    g_window.push_back(
        ReplaceAllInTheWindow(generated.path, kBenchRecords, gendb::GeneratedProfileText()));
    g_window.back().name = "generated, 100,000";
}

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
    std::printf("\nReplace All pressed in the window's dialog (offscreen platform):\n");
    for (const WindowFigures &run : g_window) {
        if (run.ms < 0) {
            std::printf("  %-20s did not start\n", run.name.c_str());
            continue;
        }
        std::printf("  %-20s %8.1f ms  (\"%s\"; the status bar painted %d times)\n",
                    run.name.c_str(), run.ms, run.status.c_str(), run.paints);
    }
    if (!g_window.empty() && g_window.front().ms >= 0)
        std::printf("  the sample in the window: budget %.1f s: %s\n", kReplaceAllBudget,
                    g_window.front().ms <= kReplaceAllBudget * 1e3 ? "within" : "OVER BUDGET");
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
    vespario::bench::WindowRuns();
    vespario::bench::PrintSummary();
    return 0;
}
