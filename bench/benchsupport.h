#pragma once
// What the database benchmarks share: the generated 100,000-record file in a temporary
// folder, the profile that goes with it, and a full load driven slice by slice the way the
// idle work drives it.

#include "db/cvespariodoc.h"
#include "platform/iniprofile.h"
#include "tools/gendb_lib.h"

#include <cstdint>
#include <string>

namespace vespario::bench {

inline constexpr int kBenchRecords = 100000;
inline constexpr uint64_t kBenchSeed = 20240601;

// A fresh folder under $TMPDIR (or /tmp), removed with its contents when destroyed.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    const std::string &Path() const { return m_path; }
    bool Ok() const { return !m_path.empty(); }

private:
    std::string m_path;
};

struct BenchDatabase {
    std::string path; // empty when it could not be made
    std::string folder;
    gendb::GenStats stats;
    std::string error;
};

// Generates the benchmark file once per process, in a temporary folder removed at exit.
const BenchDatabase &SharedDatabase();

// Generates a database of the given size into folder/name.
BenchDatabase MakeDatabase(const std::string &folder, const std::string &name, int records);

// Puts the place and equipment codes of the generated observations into the profile.
void ApplyGeneratedProfile(platform::IniProfile &profile);

// A tick-count deadline an hour away: a slice given it runs until its work is done.
uint32_t FarDeadline();

// Splits until every record is split, then (when parse is set) parses until all are parsed.
void FinishLoad(CVesparioDoc &doc, bool parse);

} // namespace vespario::bench
