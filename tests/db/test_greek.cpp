// Greek letters: the table of both character sets, the whole-run rule, the Struve compounds,
// the plain set and the writer's word form.

#include "db/greek.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vespario {
namespace {

std::string Chr(int code) {
    return std::string(1, static_cast<char>(code));
}

std::string ToGreek(std::string text, int set) {
    WordsToGreek(text, set);
    return text;
}

std::string ToWords(std::string text, int set) {
    GreekToWords(text, set);
    return text;
}

struct Row {
    std::string_view word;
    int set0;
    int set1;
};

// The letters and codes as the character-set table lists them.
constexpr Row kTable[] = {
    {"ALPHA", 224, 225},   {"BETA", 225, 226},   {"GAMMA", 231, 227},  {"DELTA", 235, 228},
    {"EPSILON", 238, 229}, {"ZETA", -1, 230},    {"ETA", -1, 231},     {"THETA", 233, 232},
    {"IOTA", -1, 233},     {"KAPPA", -1, 234},   {"LAMBDA", -1, 235},  {"MU", 230, 236},
    {"NU", -1, 237},       {"XHI", -1, 238},     {"OMICRON", -1, 239}, {"PI", 227, 240},
    {"RHO", -1, 241},      {"SIGMA", 229, 243},  {"TAU", -1, 244},     {"UPSILON", -1, 245},
    {"PHI", 237, 246},     {"CHI", -1, 247},     {"PSI", -1, 248},     {"OMEGA", -1, 249},
    {"DEG", 248, 176},     {"STRUVE", 228, 211},
};

TEST(GreekTable, EveryRowConvertsBothWaysInItsSets) {
    ASSERT_EQ(GreekLetters().size(), std::size(kTable));
    for (const Row &row : kTable) {
        SCOPED_TRACE(std::string(row.word));
        const std::string word(row.word);
        EXPECT_EQ(GreekCode(word, 0), row.set0);
        EXPECT_EQ(GreekCode(word, 1), row.set1);
        EXPECT_EQ(ToGreek(word, 1), Chr(row.set1));
        EXPECT_EQ(ToWords(Chr(row.set1), 1), word);
        if (row.set0 < 0) {
            EXPECT_EQ(ToGreek(word, 0), word); // set 0 has no character: the word stays
            continue;
        }
        EXPECT_EQ(ToGreek(word, 0), Chr(row.set0));
        EXPECT_EQ(ToWords(Chr(row.set0), 0), word);
    }
}

TEST(GreekTable, EachSetReadsOnlyItsOwnCodes) {
    // 226 is beta in set 1 but nothing in set 0; 224 is alpha in set 0 but nothing in set 1.
    EXPECT_EQ(ToWords(Chr(226), 0), Chr(226));
    EXPECT_EQ(ToWords(Chr(224), 1), Chr(224));
    EXPECT_EQ(ToWords(Chr(225), 0), "BETA");
    EXPECT_EQ(ToWords(Chr(225), 1), "ALPHA");
}

TEST(GreekTable, PlainAndUnknownSetsLeaveTextAlone) {
    const std::string words = "ALPHA CEN STRUVE 2816 12DEG";
    const std::string chars = Chr(225) + " Cen " + Chr(211) + Chr(176) + Chr(224);
    for (int set : {2, 3, -1, 100}) {
        EXPECT_EQ(ToGreek(words, set), words) << set;
        EXPECT_EQ(ToWords(chars, set), chars) << set;
        std::string out = "x";
        AppendGreekAsWords(out, chars, set);
        EXPECT_EQ(out, "x" + chars) << set;
        EXPECT_EQ(GreekCode("ALPHA", set), -1) << set;
    }
}

struct RunCase {
    const char *text;
    const char *set1; // the text after WordsToGreek with set 1, codes written as \x
};

TEST(GreekWholeRun, OnlyWholeRunsOfCapitalsConvert) {
    const RunCase cases[] = {
        {"ALPHA CEN", "\xE1 CEN"},
        {"ALPHACEN", "ALPHACEN"},
        {"AALPHA", "AALPHA"},
        {"ALPHAC", "ALPHAC"},
        {"alpha Cen", "alpha Cen"},
        {"ALPHA", "\xE1"},
        {"ALPHA1 Cen", "\xE1"
                       "1 Cen"},
        {"xALPHAy", "x\xE1y"},
        {"=ALPHA CEN=BETA-CRU=", "=\xE1 CEN=\xE2-CRU="},
        {"12DEG 30'", "12\xB0 30'"},
        {"PI PIPI PI", "\xF0 PIPI \xF0"},
        {"XI", "XI"}, // only the insert command knows XI; the tables use XHI
        {"XHI", "\xEE"},
        {"A", "A"},
        {"", ""},
    };
    for (const RunCase &c : cases)
        EXPECT_EQ(ToGreek(c.text, 1), c.set1) << c.text;
}

TEST(GreekWholeRun, StruveCompoundsInBothSets) {
    for (int set : {0, 1}) {
        SCOPED_TRACE(set);
        const std::string s = Chr(GreekCode("STRUVE", set));
        EXPECT_EQ(ToGreek("STRUVE 2816", set), s + " 2816");
        EXPECT_EQ(ToGreek("STRUVEI 24", set), s + "I 24");
        EXPECT_EQ(ToGreek("STRUVEII 24", set), s + "II 24");
        EXPECT_EQ(ToGreek("OSTRUVE 535", set), "O" + s + " 535");
        EXPECT_EQ(ToGreek("OSTRUVESTRUVE 7", set), "O" + s + s + " 7");
        EXPECT_EQ(ToGreek("STRUVEIII 1", set), "STRUVEIII 1");
        EXPECT_EQ(ToGreek("OSTRUVEI 1", set), "OSTRUVEI 1");
        // What the writer makes of the compounds comes back unchanged.
        for (const std::string &text : {s + "I 24", s + "II 24", "O" + s + " 5", "O" + s + s}) {
            std::string words;
            AppendGreekAsWords(words, text, set);
            EXPECT_EQ(ToGreek(words, set), text);
        }
    }
}

TEST(GreekWholeRun, SetZeroConvertsOnlyItsTwelveWords) {
    int converted = 0;
    for (const Row &row : kTable) {
        const std::string word(row.word);
        converted += ToGreek(word, 0) != word ? 1 : 0;
    }
    // MU, PI, DEG, PHI, BETA, ALPHA, GAMMA, DELTA, THETA, SIGMA, STRUVE and EPSILON.
    EXPECT_EQ(converted, 12);
}

TEST(GreekWords, EveryCharacterOfTheSetBecomesItsWord) {
    const std::string set1 = "=" + Chr(225) + " Cen=" + Chr(211) + "2816=" + Chr(176) + Chr(249);
    EXPECT_EQ(ToWords(set1, 1), "=ALPHA Cen=STRUVE2816=DEGOMEGA");
    std::string out = "prefix ";
    AppendGreekAsWords(out, set1, 1);
    EXPECT_EQ(out, "prefix =ALPHA Cen=STRUVE2816=DEGOMEGA");
    // Bytes above 127 that the set does not know pass through.
    const std::string other = "\x80\xA0\xFF";
    EXPECT_EQ(ToWords(other, 0), other);
    EXPECT_EQ(ToWords(other, 1), other);
}

TEST(GreekWords, SeparatedLettersSurviveTheRoundTrip) {
    for (int set : {0, 1}) {
        for (const Row &row : kTable) {
            const int code = set == 0 ? row.set0 : row.set1;
            if (code < 0)
                continue;
            const std::string text = "x " + Chr(code) + " Cen, " + Chr(code) + "2 and " + Chr(code);
            std::string words;
            AppendGreekAsWords(words, text, set);
            EXPECT_EQ(ToGreek(words, set), text) << set << " " << row.word;
        }
    }
}

TEST(GreekWords, LongAndHighByteTextsDoNotBreak) {
    const std::string capitals(10000, 'A');
    EXPECT_EQ(ToGreek(capitals, 1), capitals);
    for (int set : {0, 1}) {
        std::string high; // every byte above 127, each on its own between blanks
        for (int c = 128; c < 256; ++c)
            high += static_cast<char>(c) + std::string(" ");
        const std::string words = ToWords(high, set);
        // 224 is alpha in set 0 and no letter in set 1.
        EXPECT_EQ(words.find('\xE0') == std::string::npos, set == 0);
        EXPECT_EQ(ToGreek(words, set), high) << set;
    }
}

} // namespace
} // namespace vespario
