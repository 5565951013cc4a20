// Throughput of Pattern::Search over a synthetic name index, next to std::regex and PCRE2 on
// equivalent expressions. Each benchmark walks the whole text match by match, as a search
// over all records does, and reports bytes per second.

#include "pattern/pattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <regex>
#include <string>

namespace {

// About 100,000 records shaped like the name index: "=M31=N224=ANDROMEDA GALAXY=|0001|".
const std::string &IndexText() {
    static const std::string text = [] {
        static const char *const kWords[] = {"ANDROMEDA", "GALAXY", "CLUSTER", "NEBULA",
                                             "RING",      "CRAB",   "OWL",     "WHIRLPOOL"};
        std::mt19937 rng(7);
        std::string out;
        char buf[96];
        for (int i = 0; i < 100000; ++i) {
            const int ngc = 1 + static_cast<int>(rng() % 7840);
            const char *w1 = kWords[rng() % 8];
            const char *w2 = kWords[rng() % 8];
            if (i % 90 == 0)
                std::snprintf(buf, sizeof buf, "=M%d=N%d=%s %s=|%04d|\n", 1 + i / 90, ngc, w1, w2,
                              i % 10000);
            else
                std::snprintf(buf, sizeof buf, "=N%d=%s %s=|%04d|\n", ngc, w1, w2, i % 10000);
            out += buf;
        }
        return out;
    }();
    return text;
}

struct Case {
    const char *vespario;
    const char *regex; // ECMAScript and PCRE2 form of the same expression
};

const Case kCases[] = {
    {"N224", "N224"},
    {"=N22*=", "=N22[^\\r\\n]*?="},
    {"=M[0-9]+=", "=M[0-9]+?="},
    {"NEBULA|CRAB", "NEBULA|CRAB"},
};

void BM_Pattern(benchmark::State &state) {
    const Case &c = kCases[state.range(0)];
    const std::string &text = IndexText();
    vespario::Pattern p(c.vespario);
    long matches = 0;
    for (auto _ : state) {
        int at = 0;
        while ((at = p.Search(text, at)) >= 0) {
            ++matches;
            at = std::max(p.MatchEnd[0], at + 1);
        }
    }
    benchmark::DoNotOptimize(matches);
    state.SetLabel(c.vespario);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void BM_StdRegex(benchmark::State &state) {
    const Case &c = kCases[state.range(0)];
    const std::string &text = IndexText();
    const std::regex re(c.regex, std::regex::ECMAScript | std::regex::icase);
    long matches = 0;
    for (auto _ : state) {
        for (auto it = std::sregex_iterator(text.begin(), text.end(), re);
             it != std::sregex_iterator(); ++it)
            ++matches;
    }
    benchmark::DoNotOptimize(matches);
    state.SetLabel(c.regex);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void BM_Pcre2(benchmark::State &state) {
    const Case &c = kCases[state.range(0)];
    const std::string &text = IndexText();
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code *re = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(c.regex), PCRE2_ZERO_TERMINATED,
                                   PCRE2_CASELESS, &error, &offset, nullptr);
    pcre2_jit_compile(re, PCRE2_JIT_COMPLETE);
    pcre2_match_data *md = pcre2_match_data_create_from_pattern(re, nullptr);
    const auto *subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    long matches = 0;
    for (auto _ : state) {
        PCRE2_SIZE at = 0;
        while (pcre2_match(re, subject, text.size(), at, 0, md, nullptr) >= 0) {
            ++matches;
            const PCRE2_SIZE *ov = pcre2_get_ovector_pointer(md);
            at = std::max(ov[1], ov[0] + 1);
        }
    }
    benchmark::DoNotOptimize(matches);
    pcre2_match_data_free(md);
    pcre2_code_free(re);
    state.SetLabel(c.regex);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

} // namespace

BENCHMARK(BM_Pattern)->DenseRange(0, 3);
BENCHMARK(BM_StdRegex)->DenseRange(0, 3);
BENCHMARK(BM_Pcre2)->DenseRange(0, 3);
