// The ID look-ups on the name index of a 100,000-record database, each beside the baseline
// of the same run: a plain std::string::find of the same text in the same index text. The
// look-ups are one substring or pattern search over all IDs at once, so they should stay
// within a small factor of that baseline; a loop over the records would not.
//
// The database is generated in memory and only split (the index is built while splitting);
// its records are not parsed, as when the user types into the ID box right after opening.

#include "db/cvespariodoc.h"
#include "db/nameindex.h"
#include "platform/clock.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "select/idbox.h"
#include "tools/gendb_lib.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

namespace vespario {
namespace {

constexpr int kRecords = 100000;
constexpr uint64_t kSeed = 20240601;

struct IndexedDoc {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    CVesparioDoc doc{host, profile};
    // Texts taken from the generated records, so that they exist whatever the generator does.
    std::string lateId;     // the first designation of a record 90% of the way down
    std::string latePrefix; // that designation less its last character
};

// The first designation of a record's ID.
std::string FirstDesignation(CVesparioDoc &doc, int record) {
    const std::string_view id = doc.Record(record).Field(field::Id);
    const size_t end = id.find('=', 1);
    return std::string(id.substr(1, end == std::string_view::npos ? end : end - 1));
}

IndexedDoc &Shared() {
    static const std::unique_ptr<IndexedDoc> shared = [] {
        auto d = std::make_unique<IndexedDoc>();
        std::string text;
        gendb::GenOptions options;
        options.records = kRecords;
        options.seed = kSeed;
        gendb::GenerateDatabase(options, text);
        std::istringstream in(text);
        d->doc.ReadDatabase(in);
        while (!d->doc.Load().allSplit)
            d->doc.SplitRecordsSlice(platform::TickCount() + 3600000);
        d->lateId = FirstDesignation(d->doc, kRecords * 9 / 10);
        d->latePrefix = d->lateId.substr(0, d->lateId.size() - 1);
        return d;
    }();
    return *shared;
}

bool Ready(benchmark::State &state, IndexedDoc &d) {
    if (d.doc.GetRecordCount() != kRecords) {
        state.SkipWithError("the generated database did not load");
        return false;
    }
    state.counters["index_MB"] = static_cast<double>(d.doc.NameIndex().size()) / 1e6;
    return true;
}

// Baseline: the same index text searched with std::string::find; a missing text scans it all.
void BM_Baseline_StringFind(benchmark::State &state, std::string (*key)(IndexedDoc &)) {
    IndexedDoc &d = Shared();
    if (!Ready(state, d))
        return;
    const std::string k = key(d);
    const std::string &index = d.doc.NameIndex();
    for (auto _ : state)
        benchmark::DoNotOptimize(index.find(k));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * index.size()));
}

void BM_FindExactId(benchmark::State &state, std::string (*text)(IndexedDoc &)) {
    IndexedDoc &d = Shared();
    if (!Ready(state, d))
        return;
    const std::string t = text(d);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindExactId(d.doc, t));
    state.counters["result"] = FindExactId(d.doc, t);
}

void BM_FindPartialId(benchmark::State &state, std::string (*text)(IndexedDoc &)) {
    IndexedDoc &d = Shared();
    if (!Ready(state, d))
        return;
    const std::string t = text(d);
    const bool pattern = state.range(0) != 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(LookUpPartialId(d.doc, t, pattern));
    const IdMatch result = LookUpPartialId(d.doc, t, pattern);
    state.counters["result"] = result.record;
    state.counters["more"] = result.more ? 1 : 0;
}

// The ">" list of the ID box: every record whose ID matches, one pattern search per entry.
void BM_FurtherMatches(benchmark::State &state, std::string (*text)(IndexedDoc &)) {
    IndexedDoc &d = Shared();
    if (!Ready(state, d))
        return;
    const std::string t = text(d);
    for (auto _ : state)
        benchmark::DoNotOptimize(FurtherMatches(d.doc, t));
    state.counters["matches"] = static_cast<double>(FurtherMatches(d.doc, t).size());
}

std::string Capitals(std::string text) {
    for (char &c : text)
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    return text;
}

std::string LateId(IndexedDoc &d) {
    return d.lateId;
}
std::string LateKey(IndexedDoc &d) {
    return "=" + Capitals(d.lateId) + "=";
}
std::string LatePrefix(IndexedDoc &d) {
    return d.latePrefix;
}
std::string LatePrefixKey(IndexedDoc &d) {
    return "=" + Capitals(d.latePrefix);
}
std::string LatePrefixStar(IndexedDoc &d) {
    return d.latePrefix + "*";
}
std::string NgcPrefix(IndexedDoc &) {
    return "n78";
} // NGC 78 and NGC 780..789
std::string NgcPrefixKey(IndexedDoc &) {
    return "=N78";
}
std::string NgcPrefixStar(IndexedDoc &) {
    return "n78*";
}
std::string MissingId(IndexedDoc &) {
    return "n99999";
}
std::string MissingKey(IndexedDoc &) {
    return "=N99999=";
}
std::string LooseText(IndexedDoc &) {
    return "hcky stck";
} // Hockey Stick ...
std::string LooseKey(IndexedDoc &) {
    return "HOCKEY STICK";
}
std::string PatternText(IndexedDoc &d) {
    return d.latePrefix + "[~02-9]";
}
std::string NgcThousandsStar(IndexedDoc &) {
    return "n1*";
} // NGC 1, 10..19, 100..199, 1000..1999 and every other designation holding "N1"
std::string NoMatchText(IndexedDoc &) {
    return "zq 7j";
} // every step, then nothing

// Baselines first: the plain search for the key each look-up starts with.
BENCHMARK_CAPTURE(BM_Baseline_StringFind, late_id, LateKey);
BENCHMARK_CAPTURE(BM_Baseline_StringFind, late_prefix, LatePrefixKey);
BENCHMARK_CAPTURE(BM_Baseline_StringFind, ngc_prefix, NgcPrefixKey);
BENCHMARK_CAPTURE(BM_Baseline_StringFind, missing_id, MissingKey);
BENCHMARK_CAPTURE(BM_Baseline_StringFind, loose_name, LooseKey);
BENCHMARK_CAPTURE(BM_FindExactId, late_id, LateId);
BENCHMARK_CAPTURE(BM_FindExactId, missing_id, MissingId);
BENCHMARK_CAPTURE(BM_FindPartialId, catalogue_prefix, NgcPrefix)->Arg(0);
BENCHMARK_CAPTURE(BM_FindPartialId, late_catalogue_prefix, LatePrefix)->Arg(0);
BENCHMARK_CAPTURE(BM_FindPartialId, prefix_star, NgcPrefixStar)->Arg(0);
BENCHMARK_CAPTURE(BM_FindPartialId, late_prefix_star, LatePrefixStar)->Arg(0);
BENCHMARK_CAPTURE(BM_FindPartialId, loose_text, LooseText)->Arg(0);
BENCHMARK_CAPTURE(BM_FindPartialId, no_match, NoMatchText)->Arg(0);
BENCHMARK_CAPTURE(BM_FindPartialId, pattern_switch_on, PatternText)->Arg(1);
BENCHMARK_CAPTURE(BM_FurtherMatches, catalogue_prefix, NgcPrefix);
BENCHMARK_CAPTURE(BM_FurtherMatches, many_matches, NgcThousandsStar);

} // namespace
} // namespace vespario
