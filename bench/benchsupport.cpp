#include "bench/benchsupport.h"

#include "platform/clock.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include <unistd.h>

namespace vespario::bench {

TempFolder::TempFolder() {
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vespario-bench-XXXXXX";
    if (mkdtemp(pattern.data()))
        m_path = pattern;
}

TempFolder::~TempFolder() {
    if (m_path.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

BenchDatabase MakeDatabase(const std::string &folder, const std::string &name, int records) {
    BenchDatabase db;
    db.folder = folder;
    gendb::GenOptions options;
    options.records = records;
    options.seed = kBenchSeed;
    const std::string path = folder + "/" + name;
    if (gendb::WriteDatabaseFile(path, options, db.stats, db.error))
        db.path = path;
    return db;
}

const BenchDatabase &SharedDatabase() {
    // The folder outlives every benchmark and goes at exit.
    static TempFolder folder;
    static const BenchDatabase db = [] {
        if (!folder.Ok()) {
            BenchDatabase failed;
            failed.error = "cannot create a temporary folder";
            return failed;
        }
        return MakeDatabase(folder.Path(), "bench100k.obs", kBenchRecords);
    }();
    return db;
}

void ApplyGeneratedProfile(platform::IniProfile &profile) {
    for (const gendb::ProfileEntry &e : gendb::GeneratedProfileEntries())
        profile.WriteString(e.section, e.key, e.value);
}

uint32_t FarDeadline() {
    return platform::TickCount() + 3600u * 1000u;
}

void FinishLoad(CVesparioDoc &doc, bool parse) {
    // The slices return when their work is done; the loops only guard against a deadline
    // that is read differently, and stop when a slice makes no progress at all.
    int before = -1;
    while (!doc.Load().allSplit && doc.Load().recordsSplit != before) {
        before = doc.Load().recordsSplit;
        doc.SplitRecordsSlice(FarDeadline());
    }
    before = -1;
    while (parse && !doc.Load().allParsed && doc.Load().recordsParsed != before) {
        before = doc.Load().recordsParsed;
        doc.ParseRecordsSlice(FarDeadline());
    }
}

} // namespace vespario::bench
