// Peak resident memory of a loaded and fully parsed database, and of saving it, against its
// file size.
//   bench_memory FILE          loads FILE completely, saves it into a temporary folder, and
//                              prints the figures
//   bench_memory [--records N] generates a database of N records (default 100,000) with the
//                              generator of tools/, then measures it in a child process, so
//                              that generating it does not count
// The peak is the kernel's high-water mark (VmHWM of /proc/self/status) for the whole
// process; the figure at start-up is printed beside it. Before the save the mark is set back
// to the present resident size (clear_refs), so that the save's own peak shows apart.

#include "bench/benchsupport.h"
#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr double kMemoryBudget = 3.0;

// A "Vm...:  1234 kB" line of /proc/self/status in bytes, or 0.
long long StatusBytes(const char *key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t keyLength = std::strlen(key);
    while (std::getline(in, line)) {
        if (line.compare(0, keyLength, key) == 0 && line.size() > keyLength &&
            line[keyLength] == ':')
            return std::atoll(line.c_str() + keyLength + 1) * 1024;
    }
    return 0;
}

// Sets the high-water mark back to the present resident size; false where the kernel
// does not offer it.
bool ResetPeak() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

double Mb(long long bytes) {
    return double(bytes) / (1024.0 * 1024.0);
}

int Measure(const char *path) {
    struct stat st {};
    if (stat(path, &st) != 0 || st.st_size <= 0) {
        std::fprintf(stderr, "bench_memory: cannot read %s\n", path);
        return 2;
    }
    const long long startPeak = StatusBytes("VmHWM");
    vespario::platform::HeadlessHost host;
    vespario::platform::IniProfile profile;
    vespario::bench::ApplyGeneratedProfile(profile);
    vespario::CVesparioDoc doc(host, profile);
    if (!doc.ReadDatabaseFile(path)) {
        std::fprintf(stderr, "bench_memory: cannot open %s\n", path);
        return 2;
    }
    vespario::bench::FinishLoad(doc, true);
    const long long peak = StatusBytes("VmHWM");
    const long long resident = StatusBytes("VmRSS");
    const double size = double(st.st_size);
    const double ratio = double(peak) / size;
    std::printf("  file            %s\n", path);
    std::printf("  file size       %.1f MB (%lld bytes), %d records, %u observations\n",
                Mb(st.st_size), static_cast<long long>(st.st_size), doc.GetRecordCount(),
                doc.Load().observationsCounted);
    std::printf("  load: peak resident   %.1f MB (VmHWM; %.1f MB at start-up, %.1f MB after)\n",
                Mb(peak), Mb(startPeak), Mb(resident));
    std::printf("  load: peak / file     %.2fx   budget %.1fx: %s\n", ratio, kMemoryBudget,
                ratio <= kMemoryBudget ? "within" : "OVER BUDGET");
    std::printf("  load: (peak - start-up) / file  %.2fx\n", double(peak - startPeak) / size);

    vespario::bench::TempFolder folder;
    const bool reset = ResetPeak();
    const long long beforeSave = StatusBytes("VmRSS");
    const auto start = std::chrono::steady_clock::now();
    const bool saved = folder.Ok() && doc.SaveDatabase(folder.Path() + "/saved.obs");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long long savePeak = StatusBytes("VmHWM");
    const double saveRatio = double(std::max(peak, savePeak)) / size;
    if (!saved)
        std::printf("  save: FAILED %s\n", folder.Ok() ? "" : "(no temporary folder)");
    std::printf("  save: %.2f s; peak resident %.1f MB (%s), %.1f MB above the loaded database\n",
                seconds, Mb(savePeak), reset ? "its own" : "of the process",
                Mb(savePeak - beforeSave));
    std::printf("  save: process peak / file  %.2fx   budget %.1fx: %s\n", saveRatio, kMemoryBudget,
                saveRatio <= kMemoryBudget ? "within" : "OVER BUDGET");
    for (const std::string &message : host.Messages())
        std::printf("  message: %s\n", message.c_str());
    return ratio <= kMemoryBudget && saved && saveRatio <= kMemoryBudget ? 0 : 1;
}

int GenerateAndMeasure(int records) {
    vespario::bench::TempFolder folder;
    if (!folder.Ok()) {
        std::fprintf(stderr, "bench_memory: cannot create a temporary folder\n");
        return 2;
    }
    const vespario::bench::BenchDatabase db = vespario::bench::MakeDatabase(
        folder.Path(), "bench" + std::to_string(records) + ".obs", records);
    if (db.path.empty()) {
        std::fprintf(stderr, "bench_memory: %s\n", db.error.c_str());
        return 2;
    }
    std::string self = "/proc/self/exe";
    std::string file = db.path;
    char *argv[] = {self.data(), file.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, environ) != 0) {
        std::fprintf(stderr, "bench_memory: cannot start the measuring process\n");
        return 2;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 2 && std::strcmp(argv[1], "--records") != 0)
        return Measure(argv[1]);
    if (argc == 1)
        return GenerateAndMeasure(vespario::bench::kBenchRecords);
    if (argc == 3 && std::strcmp(argv[1], "--records") == 0 && std::atoi(argv[2]) > 0)
        return GenerateAndMeasure(std::atoi(argv[2]));
    std::fprintf(stderr, "usage: bench_memory [FILE | --records N]\n");
    return 2;
}
