// A selection pass over generated databases of 100,000, 200,000 and 1,000,000 records: a
// numeric condition, a "has" condition and one computed sort key (TransitHrs#), run through
// the object list engine as the idle work runs it, and the same pass without the sort.
// Beside it, in the same run, SQLite's in-memory SELECT ... WHERE ... ORDER BY on a table
// of the same 100,000 records (a baseline only: SQLite is never part of the program).
//
// Budgets, printed by its own main: the larger database may cost at most 2.5 times the
// smaller (no quadratic growth); the pass with the computed key at most 3 times SQLite's
// query that computes the same key with a registered function; the pass over 1,000,000
// records at most 1.5 s.

#include "bench/benchsupport.h"
#include "bench/fastestreporter.h"
#include "db/astropositions.h"
#include "platform/headlesshost.h"
#include "select/objectlist.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace vespario::bench {
namespace {

constexpr double kGrowthBudget = 2.5;
constexpr double kSqliteBudget = 3.0;
constexpr double kMillionBudget = 1.5; // seconds
constexpr int kSqliteRecords = 100000;

struct Loaded {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    ObservingPlace place;
    std::unique_ptr<AstroPositionServices> astro;
    std::unique_ptr<CVesparioDoc> doc;
};

// One database per size, generated, read and parsed once (outside the timing).
Loaded &Database(int records) {
    static TempFolder folder;
    static std::map<int, std::unique_ptr<Loaded>> loaded;
    auto &slot = loaded[records];
    if (!slot) {
        slot = std::make_unique<Loaded>();
        const BenchDatabase db =
            MakeDatabase(folder.Path(), "sel" + std::to_string(records) + ".obs", records);
        ApplyGeneratedProfile(slot->profile);
        slot->place.Parse("h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT");
        slot->place.SetInstant(2461382.5);
        slot->astro = std::make_unique<AstroPositionServices>(slot->place);
        slot->doc = std::make_unique<CVesparioDoc>(slot->host, slot->profile, slot->astro.get());
        slot->doc->ReadDatabaseFile(db.path);
        FinishLoad(*slot->doc, true);
        // The file is read: its space in the temporary folder is not needed any more.
        std::remove(db.path.c_str());
    }
    return *slot;
}

// (records, sorted) -> fastest run, seconds; SQLite's under records -1 and -2.
std::map<std::pair<int, int>, double> g_fastest;
size_t g_passSelected = 0;
size_t g_sqliteSelected[2] = {0, 0};

void SelectionPass(benchmark::State &state) {
    const int records = static_cast<int>(state.range(0));
    const bool sorted = state.range(1) != 0;
    Loaded &d = Database(records);
    size_t selected = 0;
    int64_t comparisons = 0;
    int64_t computed = 0;
    for (auto _ : state) {
        ObjectList list(*d.doc);
        list.Criteria().AddLine(field::MagnValue, op::Less, "13");
        list.Criteria().AddLine(field::Id, op::Has, "pgc");
        if (sorted)
            list.Sort().AddKey(field::TransitHrs, 0, 0);
        list.RestartSelection();
        list.RunToCompletion();
        selected = list.List().size();
        comparisons = list.Sort().Comparisons();
        computed = list.Sort().ValuesComputed();
        benchmark::DoNotOptimize(selected);
    }
    if (records == kSqliteRecords && sorted)
        g_passSelected = selected;
    state.counters["records"] = records;
    state.counters["sorted"] = sorted ? 1 : 0;
    state.counters["selected"] = static_cast<double>(selected);
    state.counters["comparisons_per_selected"] =
        static_cast<double>(comparisons) / static_cast<double>(selected);
    state.counters["keys_per_selected"] =
        static_cast<double>(computed) / static_cast<double>(selected);
}
BENCHMARK(SelectionPass)
    ->ArgsProduct({{100000, 200000, 1000000}, {0, 1}})
    ->ArgNames({"records", "sorted"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// --- SQLite ------------------------------------------------------------------------------

// The same 100,000 records as a table of the fields the query reads: the record's index,
// its ID, its Magn# and its TransitHrs# (worked out once, when the table is filled).
struct SqliteTable {
    sqlite3 *db = nullptr;
    CVesparioDoc *doc = nullptr;
    ~SqliteTable() { sqlite3_close(db); }
};

// transit_hrs(rec): TransitHrs# of record rec, by the document's own getter, so that SQLite
// works out the same key with the same code as the pass.
void TransitHrsFunction(sqlite3_context *context, int, sqlite3_value **argv) {
    auto *doc = static_cast<CVesparioDoc *>(sqlite3_user_data(context));
    const int record = sqlite3_value_int(argv[0]);
    sqlite3_result_double(context, doc->GetReal(field::TransitHrs, record));
}

SqliteTable &Table() {
    static SqliteTable table;
    if (table.db)
        return table;
    CVesparioDoc &doc = *Database(kSqliteRecords).doc;
    table.doc = &doc;
    sqlite3_open(":memory:", &table.db);
    sqlite3_exec(table.db,
                 "CREATE TABLE objects (rec INTEGER, id TEXT, magn REAL, transit REAL);"
                 "BEGIN;",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(table.db, "INSERT INTO objects VALUES (?, ?, ?, ?)", -1, &insert, nullptr);
    for (int r = 0; r < doc.GetRecordCount(); ++r) {
        const std::string id(doc.GetText(field::Id, r));
        sqlite3_bind_int(insert, 1, r);
        sqlite3_bind_text(insert, 2, id.data(), static_cast<int>(id.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 3, doc.GetReal(field::MagnValue, r));
        sqlite3_bind_double(insert, 4, doc.GetReal(field::TransitHrs, r));
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(table.db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_create_function(table.db, "transit_hrs", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, &doc,
                            TransitHrsFunction, nullptr, nullptr);
    return table;
}

// LIKE is case-insensitive for ASCII letters, as the pattern "pgc" is.
constexpr const char *kQueries[2] = {
    "SELECT rec FROM objects WHERE magn < 13 AND id LIKE '%pgc%' ORDER BY transit_hrs(rec)",
    "SELECT rec FROM objects WHERE magn < 13 AND id LIKE '%pgc%' ORDER BY transit",
};

void SqliteQuery(benchmark::State &state) {
    const int which = static_cast<int>(state.range(0));
    SqliteTable &table = Table();
    size_t rows = 0;
    for (auto _ : state) {
        sqlite3_stmt *query = nullptr;
        sqlite3_prepare_v2(table.db, kQueries[which], -1, &query, nullptr);
        rows = 0;
        while (sqlite3_step(query) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int(query, 0));
            ++rows;
        }
        sqlite3_finalize(query);
    }
    g_sqliteSelected[which] = rows;
    state.counters["records"] = -1 - which;
    state.counters["sorted"] = 1;
    state.counters["selected"] = static_cast<double>(rows);
}
BENCHMARK(SqliteQuery)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("precomputed")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void PrintSummary() {
    const auto has = [](int records, int sorted) { return g_fastest.count({records, sorted}); };
    const auto at = [](int records, int sorted) { return g_fastest.at({records, sorted}); };
    std::printf("\nSelection pass (Magn# < 13, ID has pgc), fastest run of each:\n");
    for (int records : {100000, 200000, 1000000}) {
        for (int sorted : {0, 1}) {
            if (!has(records, sorted))
                continue;
            std::printf("  %7d records %-22s %8.1f ms  %.2f us per record\n", records,
                        sorted ? "sorted by TransitHrs#" : "unsorted", at(records, sorted) * 1e3,
                        at(records, sorted) * 1e6 / records);
        }
    }
    if (has(100000, 1) && has(200000, 1)) {
        const double ratio = at(200000, 1) / at(100000, 1);
        std::printf("  200k / 100k, sorted         %8.2fx   budget %.1fx: %s\n", ratio,
                    kGrowthBudget, ratio <= kGrowthBudget ? "within" : "OVER BUDGET");
    }
    if (has(1000000, 1))
        std::printf("  1,000,000 records, sorted   %8.2f s    budget %.1f s: %s\n", at(1000000, 1),
                    kMillionBudget, at(1000000, 1) <= kMillionBudget ? "within" : "OVER BUDGET");
    if (has(100000, 1) && has(-1, 1)) {
        const double ratio = at(100000, 1) / at(-1, 1);
        std::printf("\nSQLite in memory, the same 100,000 records and conditions:\n");
        std::printf("  ORDER BY transit_hrs(rec)    %8.1f ms  (%zu rows; the pass: %zu)\n",
                    at(-1, 1) * 1e3, g_sqliteSelected[0], g_passSelected);
        if (has(-2, 1))
            std::printf("  ORDER BY transit (a column)  %8.1f ms  (%zu rows)\n", at(-2, 1) * 1e3,
                        g_sqliteSelected[1]);
        std::printf("  pass / SQLite (function)     %8.2fx   budget %.1fx: %s\n", ratio,
                    kSqliteBudget, ratio <= kSqliteBudget ? "within" : "OVER BUDGET");
    }
}

} // namespace
} // namespace vespario::bench

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    vespario::bench::FastestReporter<std::pair<int, int>> reporter(
        vespario::bench::g_fastest, [](const benchmark::BenchmarkReporter::Run &run) {
            return std::pair<int, int>{static_cast<int>(run.counters.at("records")),
                                       static_cast<int>(run.counters.at("sorted"))};
        });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    vespario::bench::PrintSummary();
    return 0;
}
