#pragma once
// A console reporter that also keeps, for each key its runs' counters give, the fastest real
// time of an iteration run in seconds, so that a benchmark can print its ratios and budgets
// after the runs. The benchmarks report in milliseconds.

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <vector>

namespace vespario::bench {

template <class Key> class FastestReporter : public benchmark::ConsoleReporter {
public:
    using KeyOf = std::function<Key(const Run &)>;
    FastestReporter(std::map<Key, double> &fastest, KeyOf keyOf)
        : m_fastest(fastest), m_keyOf(std::move(keyOf)) {}

    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const double seconds = run.GetAdjustedRealTime() / 1e3;
            auto [it, inserted] = m_fastest.emplace(m_keyOf(run), seconds);
            if (!inserted && seconds < it->second)
                it->second = seconds;
        }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    std::map<Key, double> &m_fastest;
    KeyOf m_keyOf;
};

} // namespace vespario::bench
