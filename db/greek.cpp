#include "db/greek.h"

#include <array>

namespace vespario {
namespace {

constexpr GreekLetter kLetters[] = {
    {"ALPHA", 224, 225},   {"BETA", 225, 226},   {"GAMMA", 231, 227},  {"DELTA", 235, 228},
    {"EPSILON", 238, 229}, {"ZETA", -1, 230},    {"ETA", -1, 231},     {"THETA", 233, 232},
    {"IOTA", -1, 233},     {"KAPPA", -1, 234},   {"LAMBDA", -1, 235},  {"MU", 230, 236},
    {"NU", -1, 237},       {"XHI", -1, 238},     {"OMICRON", -1, 239}, {"PI", 227, 240},
    {"RHO", -1, 241},      {"SIGMA", 229, 243},  {"TAU", -1, 244},     {"UPSILON", -1, 245},
    {"PHI", 237, 246},     {"CHI", -1, 247},     {"PSI", -1, 248},     {"OMEGA", -1, 249},
    {"DEG", 248, 176},     {"STRUVE", 228, 211},
};

constexpr size_t kLongestRun = 13; // OSTRUVESTRUVE

bool IsConvertingSet(int greekSet) {
    return greekSet == kGreekDos || greekSet == kGreekOwn;
}

int CodeIn(const GreekLetter &letter, int greekSet) {
    return greekSet == kGreekDos ? letter.set0 : letter.set1;
}

// For each byte of a set, the word it stands for (empty when none).
using WordMap = std::array<std::string_view, 256>;

const WordMap &WordsOf(int greekSet) {
    static const std::array<WordMap, 2> maps = [] {
        std::array<WordMap, 2> made{};
        for (int set = 0; set < 2; ++set) {
            for (const GreekLetter &letter : kLetters) {
                const int code = CodeIn(letter, set);
                if (code >= 0)
                    made[static_cast<size_t>(set)][static_cast<size_t>(code)] = letter.word;
            }
        }
        return made;
    }();
    return maps[static_cast<size_t>(greekSet)];
}

// What a whole run of capitals becomes in the set; empty when it stays as it is.
std::string RunReplacement(std::string_view run, int greekSet) {
    if (run.size() < 2 || run.size() > kLongestRun)
        return {};
    const char struve = static_cast<char>(GreekCode("STRUVE", greekSet));
    if (run == "STRUVEI")
        return {struve, 'I'};
    if (run == "STRUVEII")
        return {struve, 'I', 'I'};
    if (run == "OSTRUVE")
        return {'O', struve};
    if (run == "OSTRUVESTRUVE")
        return {'O', struve, struve};
    const int code = GreekCode(run, greekSet);
    if (code < 0)
        return {};
    return std::string(1, static_cast<char>(code));
}

bool IsCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

} // namespace

std::span<const GreekLetter> GreekLetters() {
    return kLetters;
}

int GreekCode(std::string_view word, int greekSet) {
    if (!IsConvertingSet(greekSet))
        return -1;
    for (const GreekLetter &letter : kLetters) {
        if (letter.word == word)
            return CodeIn(letter, greekSet);
    }
    return -1;
}

void GreekToWords(std::string &text, int greekSet) {
    if (!IsConvertingSet(greekSet))
        return;
    const WordMap &words = WordsOf(greekSet);
    size_t first = 0;
    while (first < text.size() && words[static_cast<unsigned char>(text[first])].empty())
        ++first;
    if (first == text.size())
        return;
    std::string out(text, 0, first);
    AppendGreekAsWords(out, std::string_view(text).substr(first), greekSet);
    text = std::move(out);
}

void WordsToGreek(std::string &text, int greekSet) {
    if (!IsConvertingSet(greekSet))
        return;
    std::string out;
    size_t copied = 0; // text before this offset is already in out
    size_t i = 0;
    while (i < text.size()) {
        if (!IsCapital(text[i])) {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < text.size() && IsCapital(text[i]))
            ++i;
        const std::string replacement =
            RunReplacement(std::string_view(text).substr(start, i - start), greekSet);
        if (replacement.empty())
            continue;
        out.append(text, copied, start - copied);
        out += replacement;
        copied = i;
    }
    if (copied == 0)
        return;
    out.append(text, copied, std::string::npos);
    text = std::move(out);
}

void AppendGreekAsWords(std::string &out, std::string_view text, int greekSet) {
    if (!IsConvertingSet(greekSet)) {
        out.append(text);
        return;
    }
    const WordMap &words = WordsOf(greekSet);
    for (char c : text) {
        const std::string_view word = words[static_cast<unsigned char>(c)];
        if (word.empty())
            out += c;
        else
            out.append(word);
    }
}

} // namespace vespario
