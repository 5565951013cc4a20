#include "db/greek.h"

#include <array>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

bool IsCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

// The offset of the first capital letter at or after i, or n. Every text read from a file
// is scanned for capitals, and most of its bytes are none: sixteen at a time where SSE2 is.
size_t NextCapital(std::string_view text, size_t i) {
    const size_t n = text.size();
#if defined(__SSE2__)
    // Signed compares: bytes above 127 are negative and so never in 'A'..'Z'.
    const __m128i beforeA = _mm_set1_epi8('A' - 1);
    const __m128i afterZ = _mm_set1_epi8('Z' + 1);
    for (; i + 16 <= n; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text.data() + i));
        const __m128i capital =
            _mm_and_si128(_mm_cmpgt_epi8(x, beforeA), _mm_cmplt_epi8(x, afterZ));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(capital));
        if (mask != 0)
            return i + static_cast<size_t>(__builtin_ctz(mask));
    }
#endif
    while (i < n && !IsCapital(text[i]))
        ++i;
    return i;
}

// The words of the table by length, for the look-up of a run of capitals: a run is looked
// up for every capital letter group of every text read, most of them catalogue names.
struct WordsByLength {
    static constexpr size_t kLongestWord = 7;              // EPSILON, OMICRON, UPSILON
    std::array<uint32_t, kLongestWord + 1> firstLetters{}; // bit c - 'A' for each first letter
};

const WordsByLength &Lengths() {
    static const WordsByLength lengths = [] {
        WordsByLength made;
        for (const GreekLetter &letter : kLetters)
            made.firstLetters[letter.word.size()] |= 1u << (letter.word.front() - 'A');
        return made;
    }();
    return lengths;
}

// What a whole run of capitals becomes in the set: its one to three characters, or none
// when it stays as it is.
struct Replacement {
    std::array<char, 3> chars{};
    size_t length = 0;
    std::string_view View() const { return std::string_view(chars.data(), length); }
};

Replacement RunReplacement(std::string_view run, int greekSet) {
    Replacement r;
    if (run.size() < 2 || run.size() > kLongestRun)
        return r;
    if (run.size() <= WordsByLength::kLongestWord &&
        (Lengths().firstLetters[run.size()] & (1u << (run.front() - 'A'))) != 0) {
        const int code = GreekCode(run, greekSet);
        if (code >= 0) {
            r.chars[0] = static_cast<char>(code);
            r.length = 1;
            return r;
        }
    }
    if (run.size() < 7 || (run.front() != 'S' && run.front() != 'O'))
        return r;
    const char struve = static_cast<char>(GreekCode("STRUVE", greekSet));
    if (run == "STRUVEI")
        r = {{struve, 'I'}, 2};
    else if (run == "STRUVEII")
        r = {{struve, 'I', 'I'}, 3};
    else if (run == "OSTRUVE")
        r = {{'O', struve}, 2};
    else if (run == "OSTRUVESTRUVE")
        r = {{'O', struve, struve}, 3};
    return r;
}

// Every character of the set's table as its word.
void AppendAllWords(std::string &out, std::string_view text, const WordMap &words) {
    for (char c : text) {
        const std::string_view word = words[static_cast<unsigned char>(c)];
        if (word.empty())
            out += c;
        else
            out.append(word);
    }
}

// A run of capitals and letters of the set, bounded by other characters, as the writer puts
// it: the letters as words where the reader's whole-run rule gives the same text back. When
// the words together do not read back (ALPHABETA, ALPHAC, a run that a capital letter
// continues), each letter that the run goes on after keeps its own code, which reads back
// as itself; only the last one may still be a word, standing alone behind a code.
void AppendRunForFile(std::string &out, std::string_view run, const WordMap &words, int greekSet) {
    std::string asWords;
    AppendAllWords(asWords, run, words);
    if (RunReplacement(asWords, greekSet).View() == run) {
        out += asWords;
        return;
    }
    for (size_t i = 0; i < run.size(); ++i) {
        const std::string_view word = words[static_cast<unsigned char>(run[i])];
        // Only a capital letter before it is written as a capital: the codes stay codes.
        const bool afterCapital = i > 0 && IsCapital(run[i - 1]);
        if (!word.empty() && i + 1 == run.size() && !afterCapital)
            out.append(word);
        else
            out += run[i];
    }
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
    AppendAllWords(out, std::string_view(text).substr(first), words);
    text = std::move(out);
}

bool ConvertWordsToGreek(std::string_view text, int greekSet, std::string &out) {
    if (!IsConvertingSet(greekSet))
        return false;
    bool converted = false;
    size_t copied = 0; // text before this offset is already in out
    size_t i = 0;
    const size_t n = text.size();
    while ((i = NextCapital(text, i)) < n) {
        const size_t start = i;
        while (i < n && IsCapital(text[i]))
            ++i;
        const Replacement replacement = RunReplacement(text.substr(start, i - start), greekSet);
        if (replacement.length == 0)
            continue;
        if (!converted) {
            out.clear();
            out.reserve(n);
            converted = true;
        }
        out.append(text.substr(copied, start - copied));
        out.append(replacement.View());
        copied = i;
    }
    if (converted)
        out.append(text.substr(copied));
    return converted;
}

void WordsToGreek(std::string &text, int greekSet) {
    std::string out;
    if (ConvertWordsToGreek(text, greekSet, out))
        text = std::move(out);
}

void AppendGreekAsWords(std::string &out, std::string_view text, int greekSet) {
    if (!IsConvertingSet(greekSet)) {
        out.append(text);
        return;
    }
    const WordMap &words = WordsOf(greekSet);
    const auto inRun = [&](char c) {
        return IsCapital(c) || !words[static_cast<unsigned char>(c)].empty();
    };
    size_t i = 0;
    while (i < text.size()) {
        if (!inRun(text[i])) {
            out += text[i++];
            continue;
        }
        const size_t start = i;
        bool letters = false;
        for (; i < text.size() && inRun(text[i]); ++i)
            letters = letters || !IsCapital(text[i]);
        const std::string_view run = text.substr(start, i - start);
        if (letters)
            AppendRunForFile(out, run, words, greekSet);
        else
            out.append(run);
    }
}

} // namespace vespario
