// libFuzzer target for the pattern language: the input is a pattern text and a subject
// separated by the first NUL byte (the subject may hold further NULs). Compiles, searches,
// matches anchored at a few positions and stops, and checks that every answer stays in range.

#include "pattern/pattern.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckRegisters(const vespario::Pattern &p, int length) {
    Check(0 <= p.MatchStart[0] && p.MatchStart[0] <= p.MatchEnd[0] && p.MatchEnd[0] <= length);
    for (int g = 1; g < vespario::Pattern::kGroups; ++g) {
        if (p.MatchStart[g] == -1) {
            Check(p.MatchEnd[g] == -1);
            continue;
        }
        Check(0 <= p.MatchStart[g] && p.MatchStart[g] <= p.MatchEnd[g]);
        Check(p.MatchEnd[g] <= length);
    }
}

void CheckSearch(vespario::Pattern &p, std::string_view subject, int start) {
    const int n = static_cast<int>(subject.size());
    const int r = p.Search(subject, start);
    Check(r >= -2 && r <= n);
    if (r < 0)
        return;
    Check(r >= start && p.MatchStart[0] == r);
    CheckRegisters(p, n);
    // The match found must still match anchored, and nothing shorter may.
    const int length = p.MatchEnd[0] - r;
    const int again = p.MatchAt(subject.data(), n, r, p.MatchEnd[0]);
    Check(again == length || again == -2);
    if (length > 0) {
        const int shorter = p.MatchAt(subject.data(), n, r, r + length - 1);
        Check(shorter == -1 || shorter == -2);
    }
}

void CheckMatchAt(vespario::Pattern &p, std::string_view subject, int position, int stop) {
    const int n = static_cast<int>(subject.size());
    const int r = p.MatchAt(subject.data(), n, position, stop);
    Check(r >= -2 && r <= n - position);
    if (r < 0)
        return;
    Check(p.MatchStart[0] == position && p.MatchEnd[0] == position + r);
    Check(stop < position ? r == 0 : position + r <= stop);
    CheckRegisters(p, n);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view text = input.substr(0, split);
    const std::string_view subject =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

    vespario::Pattern p(text);
    Check(p.IsValid() == p.Error().empty());
    const int n = static_cast<int>(subject.size());
    CheckSearch(p, subject, 0);
    CheckSearch(p, subject, n / 2);
    for (int position : {0, n / 3, n}) {
        CheckMatchAt(p, subject, position, n);
        CheckMatchAt(p, subject, position, position + 1);
        CheckMatchAt(p, subject, position, n / 2);
    }
    // Recompiling the stored text must give the same answer.
    const int first = p.Search(subject);
    const int firstEnd = p.MatchEnd[0];
    p.SetText({});
    const int second = p.Search(subject);
    Check(first == second);
    Check(first < 0 || p.MatchEnd[0] == firstEnd);
    return 0;
}
