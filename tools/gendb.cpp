// vespario-gendb: writes a synthetic database for benchmarks and load tests.
//   vespario-gendb N OUT.obs [--seed S] [--profile OUT.ini]
// The profile file, when asked for, holds the place and equipment codes that the generated
// observation headers use, so that a loaded file counts its observations.

#include "tools/gendb_lib.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: vespario-gendb N OUT.obs [--seed S] [--profile OUT.ini]\n");
    return 2;
}

bool ParseCount(const char *text, long long lo, long long hi, long long &value) {
    char *end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value >= lo && value <= hi;
}

bool WriteProfile(const std::string &path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string text = vespario::gendb::GeneratedProfileText();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3)
        return Usage();
    vespario::gendb::GenOptions options;
    long long value = 0;
    // About 216 bytes a record: keeps the file well below the 2 GB the reader accepts.
    if (!ParseCount(argv[1], 0, 5000000, value))
        return Usage();
    options.records = static_cast<int>(value);
    std::string profilePath;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc &&
            ParseCount(argv[i + 1], 0, (1ll << 62), value)) {
            options.seed = static_cast<uint64_t>(value);
            ++i;
        } else if (std::strcmp(argv[i], "--profile") == 0 && i + 1 < argc) {
            profilePath = argv[++i];
        } else {
            return Usage();
        }
    }
    vespario::gendb::GenStats stats;
    std::string error;
    if (!vespario::gendb::WriteDatabaseFile(argv[2], options, stats, error)) {
        std::fprintf(stderr, "vespario-gendb: %s\n", error.c_str());
        return 1;
    }
    if (!profilePath.empty() && !WriteProfile(profilePath)) {
        std::fprintf(stderr, "vespario-gendb: cannot write %s\n", profilePath.c_str());
        return 1;
    }
    std::printf("%u records, %u bytes, %u observations\n", stats.records, stats.fileLength,
                stats.observations);
    return 0;
}
