// The window on the generated 100,000-record database, on the offscreen platform.
//   bench_window [RECORDS]
// Each figure comes from a child process of its own, so that generating the file and the
// other runs do not count:
//   responsiveness  the window runs with an empty document; from inside its event loop the
//                   file is opened and a selection pass sorted on TransitHrs# starts, while a
//                   1 ms probe timer records the longest gap between its ticks (the longest
//                   time the event loop is blocked), the time until the first row is in the
//                   list, and the time until the file is read, parsed and the pass is done.
//                   The gap is given in wall time and in the thread's CPU time: on a shared
//                   machine the wall time also holds the time other processes had the CPU;
//                   the CPU time is the window's own work between two ticks.
//   memory          peak resident memory (VmHWM) of the window with the database loaded,
//                   of the window without one, and of the core alone (document and object
//                   list driven to completion without Qt), so that what the window costs
//                   beyond the core shows as a fixed amount.
//   edit checks     the shipped sample and the generated database opened in the window with
//                   the edit checks on (every check the profile's "Edit" switches allow, three
//                   prohibited patterns): each first-pass slice the idle work runs is timed
//                   against its deadline, and the time until the pass is done is taken.
//   bench_window [RECORDS] [--edit-checks]   (--edit-checks: only the edit-check runs)

#include "app/cvesparioapp.h"
#include "bench/benchsupport.h"
#include "db/editchecks.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/headlesshost.h"
#include "select/objectlist.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovwid.h"
#include "ui/editfailureswindow.h"
#include "ui/qthost.h"
#include "ui/selectionlistmodel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <ctime>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using namespace vespario;

constexpr double kBlockBudgetMs = 50.0;

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

long long StatusKb(const char *key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t keyLength = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, keyLength, key) == 0 && line.size() > keyLength &&
            line[keyLength] == ':')
            return std::atoll(line.c_str() + keyLength + 1);
    return 0;
}

void WriteProfile(const std::string &folder) {
    std::ofstream out(folder + "/Vespario.ini", std::ios::binary);
    out << gendb::GeneratedProfileText() << "[Settings]\r\nTutorial=0\r\nEurobarSeen=1\r\n";
}

// The prohibited patterns of both edit-check runs: the three of bench_editchecks.
constexpr const char *kProhibSection = "[Prohib]\r\nNumberOf=3\r\nProhib0=teh\r\n"
                                       "Prohib1=faint faint\r\n"
                                       "Prohib2=_??[0-9][0-9][0-9][0-9][0-9]x\r\n";

// The shipped profile with its own "Edit" switches, for the shipped sample.
bool WriteSampleProfile(const std::string &folder) {
    std::ifstream shipped(VESPARIO_SOURCE_DATA_DIR "/Vespario.ini", std::ios::binary);
    if (!shipped)
        return false;
    std::ofstream out(folder + "/Vespario.ini", std::ios::binary);
    out << shipped.rdbuf() << "\r\n[Settings]\r\nTutorial=0\r\nEurobarSeen=1\r\n" << kProhibSection;
    return static_cast<bool>(out);
}

// The generator's profile with every check on and the vocabularies of its codes, but for
// its type "en" and Try value "m", so that failures are the exceptions (as bench_editchecks).
void WriteCheckingProfile(const std::string &folder) {
    std::ofstream out(folder + "/Vespario.ini", std::ios::binary);
    out << gendb::GeneratedProfileText() << "[Settings]\r\nTutorial=0\r\nEurobarSeen=1\r\n"
        << "[ObjectType]\r\nNumberOf=6\r\nType0=eg=Galaxy\r\nType1=oc=Open cluster\r\n"
        << "Type2=gc=Globular\r\nType3=pn=Planetary\r\nType4=dn=Dark nebula\r\n"
        << "Type5=**=Star\r\n[ObjectTry]\r\nNumberOf=2\r\nTry0=y=Yes\r\nTry1=n=No\r\n"
        << "[ObjectSource]\r\nNumberOf=5\r\nSource0=a=A\r\nSource1=b=B\r\nSource2=n=N\r\n"
        << "Source3=s=S\r\nSource4=z=Z\r\n[ObjectCheck]\r\nNumberOf=3\r\nCheck0=N=Nice\r\n"
        << "Check1=3=RC3\r\nCheck2=2=RC2\r\n[Edit]\r\nNumberOf=" << kEditCheckCount << "\r\n";
    for (int k = 0; k < kEditCheckCount; ++k)
        out << "Edit" << k << "=Y" << DefaultEditCheckDescription(k) << "\r\n";
    out << kProhibSection;
}

void SortOnTransit(ObjectList &engine) {
    engine.Sort().AddKey(field::TransitHrs, 0, 0);
    engine.RestartSelection();
}

struct WindowRun {
    explicit WindowRun(const std::string &folder) : app(host), frame(app, host) {
        options.profileFolder = folder;
        options.currentFolder = folder;
    }
    ui::QtHost host;
    CVesparioApp app;
    ui::CVesparioFrm frame;
    StartupOptions options;
};

// The responsiveness run; prints its figures as KEY=VALUE lines.
int RunResponsiveness(const std::string &folder, const std::string &path) {
    int argc = 1;
    char name[] = "bench_window";
    char *argv[] = {name, nullptr};
    QApplication qapp(argc, argv);
    WindowRun run(folder);
    if (run.app.Start(run.options, run.frame) != StartResult::Running)
        return 2;
    run.frame.show();

    QElapsedTimer clock;
    double lastTick = -1, longestGap = 0, openAt = -1, firstRow = -1, done = -1;
    double lastCpu = 0, longestCpu = 0;
    std::vector<double> gaps;
    long ticks = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        const double cpu = ThreadCpuMs();
        if (lastTick >= 0) {
            longestGap = std::max(longestGap, now - lastTick);
            longestCpu = std::max(longestCpu, cpu - lastCpu);
            gaps.push_back(now - lastTick);
        }
        lastTick = now;
        lastCpu = cpu;
        ++ticks;
        if (openAt < 0)
            return;
        ui::CVesparioVwId *list = run.frame.ListView();
        if (firstRow < 0 && list->Model()->rowCount() > 0)
            firstRow = now - openAt;
        const LoadState &load = run.app.Document().Load();
        if (done < 0 && load.allSplit && load.allParsed && !list->Engine()->PassRunning() &&
            !run.frame.IdleRunning()) {
            done = now - openAt;
            qapp.quit();
        }
    });
    double openMs = 0;
    QTimer::singleShot(100, [&] {
        openAt = clock.nsecsElapsed() / 1e6;
        run.frame.OpenDocumentFile(path);
        SortOnTransit(*run.frame.ListView()->Engine());
        openMs = clock.nsecsElapsed() / 1e6 - openAt;
    });
    clock.start();
    probe.start();
    QTimer::singleShot(600000, &qapp, &QApplication::quit);
    QApplication::exec();
    std::sort(gaps.begin(), gaps.end());
    const double p99 = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
    std::printf("open_ms=%.1f\nlongest_cpu_ms=%.1f\ngap_p99_ms=%.1f\n", openMs, longestCpu, p99);
    std::printf("longest_block_ms=%.1f\nfirst_row_ms=%.1f\nwhole_load_ms=%.1f\nprobe_ticks=%ld\n"
                "listed=%zu\n",
                longestGap, firstRow, done, ticks, run.frame.ListView()->Engine()->List().size());
    return done < 0 ? 1 : 0;
}

// Times each edit-check slice of the window's idle work against the deadline it was given.
class TimedChecks : public EditCheckWork {
public:
    explicit TimedChecks(EditCheckWork &inner) : m_inner(inner) {}
    bool Done() const override { return m_inner.Done(); }
    void Slice(uint32_t deadline) override {
        const auto budget = static_cast<int32_t>(deadline - platform::TickCount());
        QElapsedTimer wall;
        wall.start();
        const double cpu = ThreadCpuMs();
        m_inner.Slice(deadline);
        const double took = wall.nsecsElapsed() / 1e6;
        longestCpu = std::max(longestCpu, ThreadCpuMs() - cpu);
        if (took > longest) {
            longest = took;
            deadlineOfLongest = budget;
        }
        overrun = std::max(overrun, took - budget);
        ++slices;
    }
    int FirstPassPosition() const override { return m_inner.FirstPassPosition(); }
    void SetFirstPassPosition(int position) override { m_inner.SetFirstPassPosition(position); }

    double longest = 0, longestCpu = 0, overrun = -1e9;
    int deadlineOfLongest = 0;
    long slices = 0;

private:
    EditCheckWork &m_inner;
};

// The edit checks' first pass in the window's idle work; prints KEY=VALUE lines.
int RunEditChecks(const std::string &folder, const std::string &path) {
    int argc = 1;
    char name[] = "bench_window";
    char *argv[] = {name, nullptr};
    QApplication qapp(argc, argv);
    WindowRun run(folder);
    if (run.app.Start(run.options, run.frame) != StartResult::Running)
        return 2;
    run.frame.show();

    std::unique_ptr<TimedChecks> timed;
    QElapsedTimer clock;
    double openAt = -1, checksAt = -1, done = -1, lastTick = -1, longestGap = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        if (timed && timed->slices > 0) {
            if (checksAt < 0)
                checksAt = now;
            else
                longestGap = std::max(longestGap, now - lastTick);
        }
        lastTick = now;
        if (!timed)
            return;
        const LoadState &load = run.app.Document().Load();
        if (done < 0 && load.allSplit && load.allParsed &&
            !run.frame.ListView()->Engine()->PassRunning() && run.frame.Checks()->Done()) {
            done = now - openAt;
            qapp.quit();
        }
    });
    QTimer::singleShot(100, [&] {
        openAt = clock.nsecsElapsed() / 1e6;
        if (!run.frame.OpenDocumentFile(path))
            return;
        ObjectList &engine = *run.frame.ListView()->Engine();
        timed = std::make_unique<TimedChecks>(*engine.EditCheckJob());
        engine.SetEditChecks(timed.get());
    });
    clock.start();
    probe.start();
    QTimer::singleShot(600000, &qapp, &QApplication::quit);
    QApplication::exec();
    if (!timed)
        return 2;
    std::printf("records=%d\nfailures=%zu\nlisted_failures=%d\nslices=%ld\n",
                run.app.Document().GetRecordCount(), run.frame.Checks()->Failures().size(),
                run.frame.EditFailures() ? run.frame.EditFailures()->List()->count() : 0,
                timed->slices);
    std::printf("longest_slice_ms=%.2f\nlongest_slice_cpu_ms=%.2f\nslice_deadline_ms=%d\n"
                "overrun_ms=%.2f\n",
                timed->longest, timed->longestCpu, timed->deadlineOfLongest, timed->overrun);
    std::printf("checks_block_ms=%.2f\nchecks_ms=%.1f\nwhole_ms=%.1f\n", longestGap,
                done - (checksAt - openAt), done);
    return done < 0 ? 1 : 0;
}

// The window's peak memory with the database completely loaded (path empty: none).
int RunWindowMemory(const std::string &folder, const std::string &path) {
    int argc = 1;
    char name[] = "bench_window";
    char *argv[] = {name, nullptr};
    QApplication qapp(argc, argv);
    WindowRun run(folder);
    if (!path.empty())
        run.options.args.push_back(path);
    if (run.app.Start(run.options, run.frame) != StartResult::Running)
        return 2;
    run.frame.show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const LoadState &load = run.app.Document().Load();
        if (load.allSplit && load.allParsed && !run.frame.IdleRunning())
            qapp.quit();
    });
    poll.start(20);
    QApplication::exec();
    std::printf("peak_kb=%lld\n", StatusKb("VmHWM"));
    return 0;
}

// A host that keeps nothing: the core's memory without a record of what it showed.
class QuietHost : public platform::Host {
public:
    platform::Answer MessageBox(std::string_view, std::string_view, platform::Buttons) override {
        return platform::Answer::Ok;
    }
    platform::Answer Confirm(std::string_view, bool &) override { return platform::Answer::Yes; }
    void Beep() override {}
    void SetStatusText(int, std::string_view) override {}
    void Progress(std::string_view, int) override {}
    void EndProgress() override {}
};

// The core alone: the document and the object list with the same sort, without Qt.
int RunCoreMemory(const std::string &path) {
    QuietHost host;
    platform::IniProfile profile;
    bench::ApplyGeneratedProfile(profile);
    CVesparioDoc doc(host, profile);
    if (!path.empty() && !doc.ReadDatabaseFile(path))
        return 2;
    ObjectList engine(doc);
    SortOnTransit(engine);
    engine.RunToCompletion();
    std::printf("peak_kb=%lld\n", StatusKb("VmHWM"));
    return 0;
}

// Runs this program with args and returns its KEY=VALUE lines.
std::vector<std::pair<std::string, double>> Child(const char *self, std::vector<std::string> args) {
    std::vector<std::pair<std::string, double>> values;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return values;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<char *> argv = {const_cast<char *>(self)};
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    if (spawned == 0)
        waitpid(pid, nullptr, 0);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        if (const size_t eq = line.find('='); eq != std::string::npos)
            values.emplace_back(line.substr(0, eq), std::atof(line.c_str() + eq + 1));
        at = end + 1;
    }
    return values;
}

double Value(const std::vector<std::pair<std::string, double>> &values, const char *key) {
    for (const auto &[name, value] : values)
        if (name == key)
            return value;
    return -1;
}

// The edit-check runs on the shipped sample and on the generated file; false if one failed.
bool RunEditCheckRuns(const char *self, const std::string &folder, const std::string &generated) {
    const std::string sampleFolder = folder + "/sample", checkFolder = folder + "/checks";
    if (!platform::CreateFolders(sampleFolder) || !platform::CreateFolders(checkFolder) ||
        !WriteSampleProfile(sampleFolder))
        return false;
    WriteCheckingProfile(checkFolder);
    bool ok = true;
    const std::pair<std::string, std::string> runs[] = {
        {sampleFolder, VESPARIO_SOURCE_DATA_DIR "/sample.obs"}, {checkFolder, generated}};
    for (const auto &[profileFolder, path] : runs) {
        const auto v = Child(self, {"--checks", profileFolder, path});
        const double longest = Value(v, "longest_slice_ms");
        ok = ok && longest >= 0;
        std::printf("  edit checks, %.0f records: %.0f failures (%.0f listed) in %.0f slices\n",
                    Value(v, "records"), Value(v, "failures"), Value(v, "listed_failures"),
                    Value(v, "slices"));
        std::printf("    longest slice %.2f ms of wall time, %.2f ms of CPU time (deadline %.0f "
                    "ms; most past a deadline %.2f ms)\n",
                    longest, Value(v, "longest_slice_cpu_ms"), Value(v, "slice_deadline_ms"),
                    Value(v, "overrun_ms"));
        std::printf("    longest event-loop block while checking %.2f ms; checks %.1f ms, open to "
                    "the pass done %.1f ms\n",
                    Value(v, "checks_block_ms"), Value(v, "checks_ms"), Value(v, "whole_ms"));
    }
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc >= 4 && std::strcmp(argv[1], "--responsive") == 0)
        return RunResponsiveness(argv[2], argv[3]);
    if (argc >= 3 && std::strcmp(argv[1], "--window") == 0)
        return RunWindowMemory(argv[2], argc >= 4 ? argv[3] : "");
    if (argc >= 2 && std::strcmp(argv[1], "--core") == 0)
        return RunCoreMemory(argc >= 3 ? argv[2] : "");
    if (argc >= 4 && std::strcmp(argv[1], "--checks") == 0)
        return RunEditChecks(argv[2], argv[3]);

    bool onlyChecks = false;
    int records = bench::kBenchRecords;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--edit-checks") == 0)
            onlyChecks = true;
        else
            records = std::atoi(argv[i]);
    }
    bench::TempFolder folder;
    const bench::BenchDatabase db = bench::MakeDatabase(folder.Path(), "bench.obs", records);
    if (db.path.empty()) {
        std::fprintf(stderr, "bench_window: %s\n", db.error.c_str());
        return 2;
    }
    WriteProfile(folder.Path());
    std::printf("bench_window: %d records, %.1f MB file\n", records,
                db.stats.fileLength / (1024.0 * 1024.0));
    if (onlyChecks)
        return RunEditCheckRuns(argv[0], folder.Path(), db.path) ? 0 : 1;
    const auto responsive = Child(argv[0], {"--responsive", folder.Path(), db.path});
    const double block = Value(responsive, "longest_block_ms");
    const double first = Value(responsive, "first_row_ms");
    const double whole = Value(responsive, "whole_load_ms");
    const double cpuBlock = Value(responsive, "longest_cpu_ms");
    std::printf("  longest event-loop block  %.1f ms of CPU time (budget %.0f ms: %s)\n", cpuBlock,
                kBlockBudgetMs, cpuBlock >= 0 && cpuBlock <= kBlockBudgetMs ? "within" : "OVER");
    std::printf("                            %.1f ms of wall time (99%% of the gaps below %.1f "
                "ms)\n",
                block, Value(responsive, "gap_p99_ms"));
    std::printf("  opening the file, one block %.1f ms of wall time (reading it into memory)\n",
                Value(responsive, "open_ms"));
    std::printf("  first row listed after    %.1f ms\n", first);
    std::printf("  whole load and sorted pass %.1f ms (first row at %.1f%% of it; %.0f rows)\n",
                whole, whole > 0 ? 100.0 * first / whole : 0.0, Value(responsive, "listed"));
    const double window = Value(Child(argv[0], {"--window", folder.Path(), db.path}), "peak_kb");
    const double empty = Value(Child(argv[0], {"--window", folder.Path()}), "peak_kb");
    const double core = Value(Child(argv[0], {"--core", db.path}), "peak_kb");
    const double coreEmpty = Value(Child(argv[0], {"--core"}), "peak_kb");
    std::printf("  peak memory, window with the database   %.1f MB\n", window / 1024);
    std::printf("  peak memory, window without a database  %.1f MB\n", empty / 1024);
    std::printf("  peak memory, core with the database     %.1f MB (%.2fx the file)\n", core / 1024,
                core * 1024 / db.stats.fileLength);
    std::printf("  the database costs the window %.1f MB, the core %.1f MB: %.1f MB more\n",
                (window - empty) / 1024, (core - coreEmpty) / 1024,
                ((window - empty) - (core - coreEmpty)) / 1024);
    const bool checked = RunEditCheckRuns(argv[0], folder.Path(), db.path);
    return block >= 0 && checked ? 0 : 1;
}
