// What evaluating selection criteria and placing records by a sort order cost per record,
// on the generated 100,000-record database loaded and parsed completely, each beside the
// baseline of the same run: the field getters that the criteria or keys call, alone. The
// difference is the criteria's own work (jump tables, comparisons, pattern search).

#include "benchsupport.h"
#include "platform/headlesshost.h"
#include "select/criteriaedit.h"
#include "select/criterialine.h"
#include "select/queryparse.h"
#include "select/selectioncriteria.h"
#include "select/sortorder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vespario::bench {
namespace {

struct LoadedDoc {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    std::unique_ptr<CVesparioDoc> doc;
};

LoadedDoc &Shared() {
    static const std::unique_ptr<LoadedDoc> shared = [] {
        auto d = std::make_unique<LoadedDoc>();
        ApplyGeneratedProfile(d->profile);
        d->doc = std::make_unique<CVesparioDoc>(d->host, d->profile);
        const BenchDatabase &db = SharedDatabase();
        if (!db.path.empty() && d->doc->ReadDatabaseFile(db.path))
            FinishLoad(*d->doc, true);
        return d;
    }();
    return *shared;
}

bool Ready(benchmark::State &state, CVesparioDoc &doc) {
    if (doc.GetRecordCount() != kBenchRecords) {
        state.SkipWithError("the generated database did not load");
        return false;
    }
    return true;
}

// Records per second; the summary at the end turns the fastest run into ns per record.
void PerRecord(benchmark::State &state, int records) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * records);
}

// The typical request: Magn# less than 12 and the Type text has "eg".
void TypicalLines(SelectionCriteria &c) {
    c.AddLine(field::MagnValue, op::Less, "12");
    c.AddLine(field::Type, op::Has, "eg");
}

// Five conditions with a group and "or"s: (Magn# < 12 or SurfBT# < 13) and Type = "eg" or
// Type = "gc", and NGC# > 0.
void GroupedLines(SelectionCriteria &c) {
    c.AddLine(0, op::Open, "");
    c.AddLine(field::MagnValue, op::Less, "12");
    c.AddLine(0, op::Or, "");
    c.AddLine(field::SurfBT, op::Less, "13");
    c.AddLine(0, op::Close, "");
    c.AddLine(field::Type, op::Equal, "eg");
    c.AddLine(0, op::Or, "");
    c.AddLine(field::Type, op::Equal, "gc");
    c.AddLine(field::Ngc, op::Greater, "0");
}

void Baseline_TypicalGetters(benchmark::State &state) {
    LoadedDoc &d = Shared();
    if (!Ready(state, *d.doc))
        return;
    const int n = d.doc->GetRecordCount();
    for (auto _ : state) {
        for (int r = 0; r < n; ++r) {
            benchmark::DoNotOptimize(d.doc->GetReal(field::MagnValue, r));
            benchmark::DoNotOptimize(d.doc->GetText(field::Type, r));
        }
    }
    PerRecord(state, n);
}

void Evaluate_Typical(benchmark::State &state) {
    LoadedDoc &d = Shared();
    if (!Ready(state, *d.doc))
        return;
    SelectionCriteria criteria(*d.doc);
    TypicalLines(criteria);
    const int n = d.doc->GetRecordCount();
    int selected = 0;
    for (auto _ : state) {
        criteria.StartPass();
        selected = 0;
        for (int r = 0; r < n; ++r)
            selected += criteria.Evaluate(r) ? 1 : 0;
    }
    state.counters["selected"] = selected;
    PerRecord(state, n);
}

void Baseline_GroupedGetters(benchmark::State &state) {
    LoadedDoc &d = Shared();
    if (!Ready(state, *d.doc))
        return;
    const int n = d.doc->GetRecordCount();
    for (auto _ : state) {
        for (int r = 0; r < n; ++r) {
            benchmark::DoNotOptimize(d.doc->GetReal(field::MagnValue, r));
            benchmark::DoNotOptimize(d.doc->GetReal(field::SurfBT, r));
            benchmark::DoNotOptimize(d.doc->GetText(field::Type, r));
            benchmark::DoNotOptimize(d.doc->GetInt(field::Ngc, r));
        }
    }
    PerRecord(state, n);
}

void Evaluate_Grouped(benchmark::State &state) {
    LoadedDoc &d = Shared();
    if (!Ready(state, *d.doc))
        return;
    SelectionCriteria criteria(*d.doc);
    GroupedLines(criteria);
    const int n = d.doc->GetRecordCount();
    int selected = 0;
    for (auto _ : state) {
        criteria.StartPass();
        selected = 0;
        for (int r = 0; r < n; ++r)
            selected += criteria.Evaluate(r) ? 1 : 0;
    }
    state.counters["selected"] = selected;
    PerRecord(state, n);
}

// Sort keys Type (case-insensitive) then Magn# descending. A list of the first n records in
// that order is built once outside the timing; each iteration asks the insert position of
// every one of the 100,000 records in it. Most records are galaxies, so the first key's
// runs of equal values are long.
void SortKeys(SortOrder &order) {
    order.AddKey(field::Type, 0, 0);
    order.AddKey(field::MagnValue, 0, 1);
}

const std::vector<int> &SortedList(CVesparioDoc &doc, int n) {
    static std::map<int, std::vector<int>> lists;
    std::vector<int> &list = lists[n];
    if (list.empty()) {
        SortOrder order(doc);
        SortKeys(order);
        for (int r = 0; r < n; ++r)
            list.insert(list.begin() + order.InsertPosition(list, r), r);
    }
    return list;
}

void InsertPosition_TwoKeys(benchmark::State &state) {
    LoadedDoc &d = Shared();
    if (!Ready(state, *d.doc))
        return;
    const std::vector<int> &list = SortedList(*d.doc, static_cast<int>(state.range(0)));
    SortOrder order(*d.doc);
    SortKeys(order);
    const int n = d.doc->GetRecordCount();
    for (auto _ : state) {
        for (int r = 0; r < n; ++r)
            benchmark::DoNotOptimize(order.InsertPosition(list, r));
    }
    state.counters["comparisons_per_record"] =
        static_cast<double>(order.Comparisons()) / (static_cast<double>(state.iterations()) * n);
    PerRecord(state, n);
}

BENCHMARK(Baseline_TypicalGetters)->Unit(benchmark::kMillisecond)->UseRealTime();
// What vespario-cli select does with many --where texts before its pass: each parsed and
// added as a line of its own, the lines checked, prepared and tried on one record. Shape 0:
// conditions ("Magn# < 12", "Type has eg" in turn); shape 1: n "(" around one condition and
// n ")". Growth, not the time itself, is the figure: five times the lines should cost about
// five times as much.
void CriteriaLines(benchmark::State &state) {
    CVesparioDoc &doc = *Shared().doc;
    if (!Ready(state, doc))
        return;
    const int n = static_cast<int>(state.range(0));
    const bool nested = state.range(1) != 0;
    std::vector<std::string> texts;
    if (nested) {
        texts.assign(static_cast<size_t>(n), "(");
        texts.emplace_back("Magn# < 12");
        texts.insert(texts.end(), static_cast<size_t>(n), ")");
    } else {
        for (int i = 0; i < n; ++i)
            texts.emplace_back(i % 2 ? "Type has eg" : "Magn# < 12");
    }
    bool selected = false;
    for (auto _ : state) {
        SelectionCriteria criteria(doc);
        for (const std::string &text : texts) {
            CriteriaLine line;
            if (ParseWhereClause(text, doc.Fields(), 5.0, line)) {
                state.SkipWithError("a --where text did not parse");
                return;
            }
            criteria.InsertLine(criteria.LineCount(), std::move(line));
        }
        if (CheckCriteria(criteria.Lines())) {
            state.SkipWithError("the lines did not check");
            return;
        }
        selected = criteria.Evaluate(0);
        benchmark::DoNotOptimize(selected);
    }
    state.counters["lines"] = static_cast<double>(texts.size());
}

BENCHMARK(Evaluate_Typical)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Baseline_GroupedGetters)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Evaluate_Grouped)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CriteriaLines)
    ->ArgsProduct({{2000, 10000}, {0, 1}})
    ->ArgNames({"n", "nested"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(InsertPosition_TwoKeys)
    ->Arg(kBenchRecords / 2)
    ->Arg(kBenchRecords)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Keeps the fastest real time per iteration of each benchmark for the summary.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += "/" + run.run_name.args;
            const double t = run.GetAdjustedRealTime(); // ms per iteration
            auto it = m_best.find(name);
            if (it == m_best.end() || t < it->second)
                m_best[name] = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    const std::map<std::string, double> &Best() const { return m_best; }

private:
    std::map<std::string, double> m_best;
};

void PrintSummary(const RecordingReporter &reporter) {
    const auto &best = reporter.Best();
    const double toNsPerRecord = 1e6 / kBenchRecords;
    std::printf("\nPer record, fastest run of each (ns): measured, its getters alone, "
                "the difference\n");
    const std::pair<const char *, const char *> pairs[] = {
        {"Evaluate_Typical", "Baseline_TypicalGetters"},
        {"Evaluate_Grouped", "Baseline_GroupedGetters"}};
    for (const auto &[name, baseline] : pairs) {
        const auto m = best.find(name);
        const auto b = best.find(baseline);
        if (m == best.end() || b == best.end())
            continue;
        const double measured = m->second * toNsPerRecord;
        const double getters = b->second * toNsPerRecord;
        std::printf("  %-24s %8.1f  %8.1f  %+8.1f  (%.2fx)\n", name, measured, getters,
                    measured - getters, measured / getters);
    }
    for (const char *shape : {"nested:0", "nested:1"}) {
        const auto small = best.find(std::string("CriteriaLines/n:2000/") + shape);
        const auto large = best.find(std::string("CriteriaLines/n:10000/") + shape);
        if (small != best.end() && large != best.end())
            std::printf("  Criteria lines (%s): 2,000 in %.2f ms, 10,000 in %.2f ms: %.2fx for "
                        "five times the lines\n",
                        shape[7] == '1' ? "nested parentheses" : "--where conditions",
                        small->second, large->second, large->second / small->second);
    }
    const auto half = best.find("InsertPosition_TwoKeys/" + std::to_string(kBenchRecords / 2));
    const auto full = best.find("InsertPosition_TwoKeys/" + std::to_string(kBenchRecords));
    if (half != best.end() && full != best.end()) {
        std::printf("  InsertPosition into %d entries %.1f ns, into %d entries %.1f ns per "
                    "record: %.2fx for twice the list\n",
                    kBenchRecords / 2, half->second * toNsPerRecord, kBenchRecords,
                    full->second * toNsPerRecord, full->second / half->second);
    }
}

} // namespace
} // namespace vespario::bench

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    vespario::bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vespario::bench::PrintSummary(reporter);
    benchmark::Shutdown();
    return 0;
}
