// Peak resident memory of a loaded and fully parsed database, against its file size.
//   bench_memory FILE   loads FILE completely and prints the figures
//   bench_memory        generates the 100,000-record benchmark file, then measures it in a
//                       child process, so that generating it does not count
// The peak is the kernel's high-water mark (VmHWM of /proc/self/status) for the whole
// process; the figure at start-up is printed beside it.

#include "bench/benchsupport.h"
#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"

#include <climits>
#include <cstdio>
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
    std::printf("  peak resident   %.1f MB (VmHWM; %.1f MB at start-up, %.1f MB now)\n", Mb(peak),
                Mb(startPeak), Mb(resident));
    std::printf("  peak / file     %.2fx   budget %.1fx: %s\n", ratio, kMemoryBudget,
                ratio <= kMemoryBudget ? "within" : "OVER BUDGET");
    std::printf("  (peak - start-up) / file  %.2fx\n", double(peak - startPeak) / size);
    for (const std::string &message : host.Messages())
        std::printf("  message: %s\n", message.c_str());
    return ratio <= kMemoryBudget ? 0 : 1;
}

int GenerateAndMeasure() {
    vespario::bench::TempFolder folder;
    if (!folder.Ok()) {
        std::fprintf(stderr, "bench_memory: cannot create a temporary folder\n");
        return 2;
    }
    const vespario::bench::BenchDatabase db = vespario::bench::MakeDatabase(
        folder.Path(), "bench100k.obs", vespario::bench::kBenchRecords);
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
    if (argc == 2)
        return Measure(argv[1]);
    if (argc == 1)
        return GenerateAndMeasure();
    std::fprintf(stderr, "usage: bench_memory [FILE]\n");
    return 2;
}
