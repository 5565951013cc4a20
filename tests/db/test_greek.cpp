// Greek letters: the table of both character sets against the code pages they come from,
// the whole-run rule, the Struve compounds, the plain set, the writer's word form, and the
// round trip through a saved file as a property of random texts in each set.

#include "db/cvespariodoc.h"
#include "db/greek.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// The Unicode names of the bytes 128 to 255 of code pages 437 (set 0) and 1253 (set 1), as
// Python's codecs decode them (tools/make_greek_reference.py).
using CodePage = std::map<std::string, int>; // Unicode name -> byte

std::map<std::string, CodePage> ReadCodePages() {
    std::map<std::string, CodePage> pages;
    std::ifstream in(VESPARIO_TEST_DATA_DIR "/greek_codepages.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string page;
        int byte = 0;
        std::string name;
        fields >> page >> byte;
        std::getline(fields >> std::ws, name);
        pages[page].emplace(name, byte);
    }
    return pages;
}

// The Unicode letter that each word of the table stands for.
std::string LetterName(std::string_view word) {
    if (word == "DEG")
        return "DEGREE SIGN";
    if (word == "STRUVE")
        return "GREEK CAPITAL LETTER SIGMA"; // the Struve sign
    if (word == "XHI")
        return "GREEK SMALL LETTER XI";
    if (word == "LAMBDA")
        return "GREEK SMALL LETTER LAMDA"; // Unicode's spelling
    return "GREEK SMALL LETTER " + std::string(word);
}

int ByteNamed(const CodePage &page, const std::string &name) {
    const auto it = page.find(name);
    return it == page.end() ? -1 : it->second;
}

TEST(GreekTable, SetOneIsTheGreekLettersOfTheWindowsGreekCodePage) {
    const auto pages = ReadCodePages();
    ASSERT_EQ(pages.count("cp1253"), 1u) << "reference table missing";
    const CodePage &cp1253 = pages.at("cp1253");
    for (const GreekLetter &letter : GreekLetters()) {
        SCOPED_TRACE(std::string(letter.word));
        const int code = ByteNamed(cp1253, LetterName(letter.word));
        ASSERT_GE(code, 0);
        EXPECT_EQ(letter.set1, code);
        const std::string word(letter.word);
        EXPECT_EQ(GreekCode(word, 1), code);
        EXPECT_EQ(ToGreek(word, 1), Chr(code));
        EXPECT_EQ(ToWords(Chr(code), 1), word);
    }
    // And every plain small letter of the code page has its row (final sigma and the
    // letters with accents are not in the table).
    int plainLetters = 0;
    for (const auto &[name, code] : cp1253) {
        if (name.rfind("GREEK SMALL LETTER ", 0) == 0 && name.find("FINAL") == std::string::npos &&
            name.find(" WITH ") == std::string::npos) {
            ++plainLetters;
            EXPECT_FALSE(ToWords(Chr(code), 1) == Chr(code)) << name;
        }
    }
    EXPECT_EQ(plainLetters, 24);
}

TEST(GreekTable, SetZeroIsTheGreekOfTheDosCodePage) {
    const auto pages = ReadCodePages();
    ASSERT_EQ(pages.count("cp437"), 1u) << "reference table missing";
    const CodePage &cp437 = pages.at("cp437");
    // Code page 437 has only some Greek letters, a few of them as capitals or as the signs
    // that stand for them (its beta is the sharp s, its mu the micro sign). The table's gamma
    // is 231, which the code page names tau: the table's own choice, kept as the table has it.
    const std::map<std::string_view, std::string> standIns = {
        {"BETA", "LATIN SMALL LETTER SHARP S"},
        {"MU", "MICRO SIGN"},
        {"THETA", "GREEK CAPITAL LETTER THETA"},
        {"GAMMA", "GREEK SMALL LETTER TAU"},
    };
    int letters = 0;
    for (const GreekLetter &letter : GreekLetters()) {
        SCOPED_TRACE(std::string(letter.word));
        const std::string word(letter.word);
        EXPECT_EQ(GreekCode(word, 0), letter.set0);
        if (letter.set0 < 0) {
            EXPECT_EQ(ToGreek(word, 0), word); // set 0 has no character: the word stays
            continue;
        }
        ++letters;
        const auto standIn = standIns.find(letter.word);
        const std::string name = standIn != standIns.end() ? standIn->second : LetterName(word);
        EXPECT_EQ(letter.set0, ByteNamed(cp437, name)) << name;
        EXPECT_EQ(ToGreek(word, 0), Chr(letter.set0));
        EXPECT_EQ(ToWords(Chr(letter.set0), 0), word);
    }
    // MU, PI, DEG, PHI, BETA, ALPHA, GAMMA, DELTA, THETA, SIGMA, STRUVE and EPSILON.
    EXPECT_EQ(letters, 12);
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

TEST(GreekWords, EveryCharacterOfTheSetBecomesItsWord) {
    const std::string set1 = "=" + Chr(225) + " Cen=" + Chr(211) + "2816=" + Chr(176) + Chr(249);
    EXPECT_EQ(ToWords(set1, 1), "=ALPHA Cen=STRUVE2816=DEGOMEGA");
    // The writer's form: DEGOMEGA would read back as itself, so the degree sign keeps its
    // code and the omega, standing alone behind it, is its word.
    std::string out = "prefix ";
    AppendGreekAsWords(out, set1, 1);
    EXPECT_EQ(out, "prefix =ALPHA Cen=STRUVE2816=\xB0OMEGA");
    // Bytes above 127 that the set does not know pass through.
    const std::string other = "\x80\xA0\xFF";
    EXPECT_EQ(ToWords(other, 0), other);
    EXPECT_EQ(ToWords(other, 1), other);
}

TEST(GreekWords, SeparatedLettersSurviveTheRoundTrip) {
    for (int set : {0, 1}) {
        for (const GreekLetter &row : GreekLetters()) {
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

// Random texts weighted towards what the word form can break: letters of the set side by
// side, capitals before and after them (I and O make the Struve compounds), blanks and other
// bytes; every byte of 0 to 255 where anyBytes is set, printable ones and bytes above 127
// otherwise.
std::string RandomText(std::mt19937 &random, int set, bool anyBytes) {
    std::vector<char> letters;
    for (const GreekLetter &letter : GreekLetters()) {
        const int code = set == kGreekDos ? letter.set0 : letter.set1;
        if (code >= 0)
            letters.push_back(static_cast<char>(code));
    }
    const std::string capitals = "AAEHILMOSTUVIIOO";
    std::string text;
    const int length = static_cast<int>(random() % 24) + 1;
    for (int i = 0; i < length; ++i) {
        const unsigned pick = random() % 10;
        if (pick < 4)
            text += letters[random() % letters.size()];
        else if (pick < 7)
            text += pick == 6 ? static_cast<char>('A' + random() % 26) : capitals[random() % 16];
        else if (pick == 7 && (text.empty() || text.back() != ' '))
            text += ' ';
        else if (anyBytes)
            text += static_cast<char>(random() % 256);
        else
            text += static_cast<char>(random() % 2 ? 33 + random() % 94 : 128 + random() % 128);
    }
    return text;
}

// A text that reading leaves as it is: no run of its capitals is itself a word. Any other
// text holds a letter only in the form that reading turns into the character.
bool StableUnderReading(const std::string &text, int set) {
    std::string unused;
    return !ConvertWordsToGreek(text, set, unused);
}

TEST(GreekProperty, RandomBytesComeBackFromTheWordForm) {
    std::mt19937 random(20261209);
    for (int set : {kGreekDos, kGreekOwn, kGreekPlain}) {
        int tried = 0;
        for (int i = 0; i < 20000; ++i) {
            const std::string text = RandomText(random, set == kGreekPlain ? 1 : set, true);
            if (!StableUnderReading(text, set))
                continue;
            ++tried;
            std::string file;
            AppendGreekAsWords(file, text, set);
            ASSERT_EQ(ToGreek(file, set), text) << set << ": " << file;
        }
        EXPECT_GT(tried, 10000) << set;
    }
}

// Each field that a file holds survives a save and a load byte for byte, in each set: those
// that reading converts (the ID, Magn, Size, Class and every long field) and those it reads
// as they are (Type and the other short fields).
TEST(GreekProperty, RandomFieldsSurviveASaveAndALoadInEachSet) {
    std::mt19937 random(1253);
    for (int set : {kGreekDos, kGreekOwn, kGreekPlain}) {
        SCOPED_TRACE(set);
        platform::HeadlessHost host;
        platform::IniProfile profile;
        profile.WriteInt("GreekHandling", "Internal", set);
        CVesparioDoc doc(host, profile);
        const auto text = [&](bool converted) {
            for (;;) {
                std::string t = RandomText(random, set == kGreekPlain ? 1 : set, false);
                while (!t.empty() && t.back() == ' ')
                    t.pop_back();
                while (!t.empty() && t.front() == ' ')
                    t.erase(0, 1);
                if (!t.empty() && (!converted || StableUnderReading(t, set)))
                    return t;
            }
        };
        std::vector<std::array<std::string, 3>> written;
        for (int i = 0; i < 400; ++i) {
            written.push_back({text(true), text(false), text(true)});
            doc.NewObject();
            doc.SetFieldText(field::Id, "=r" + std::to_string(i) + "=");
            doc.SetFieldText(field::Magn, written.back()[0]);
            doc.SetFieldText(field::Type, written.back()[1]);
            doc.SetFieldText(field::Info, written.back()[2]);
        }
        doc.SetCurrentRecord(-1, false, false);
        std::ostringstream out;
        ASSERT_TRUE(doc.WriteDatabase(out));
        std::istringstream in(out.str());
        doc.ReadDatabase(in);
        doc.LoadCompletely();
        ASSERT_EQ(doc.GetRecordCount(), 400);
        EXPECT_TRUE(host.Messages().empty());
        for (int i = 0; i < 400; ++i) {
            const ObjectRecord &r = doc.Record(i);
            EXPECT_EQ(r.Field(field::Magn), written[i][0]) << i;
            EXPECT_EQ(r.Field(field::Type), written[i][1]) << i;
            EXPECT_EQ(r.Field(field::Info), written[i][2]) << i;
        }
    }
}

} // namespace
} // namespace vespario
