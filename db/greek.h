#pragma once
// Greek letters and the degree sign: held in memory as characters of the chosen Greek set,
// written to files as upper-case words such as ALPHA.
//
// Sets ("GreekHandling"/"Internal"): 0 = the DOS character set, 1 = the program's own set
// (the Greek letters of the Windows Greek code page), 2 = plain ASCII, where every letter is
// its word. Any other number is treated like 2: the text is left alone.

#include <span>
#include <string>
#include <string_view>

namespace vespario {

inline constexpr int kGreekDos = 0;
inline constexpr int kGreekOwn = 1;
inline constexpr int kGreekPlain = 2;

// One row of the letter table: the word and its code in sets 0 and 1 (-1: none).
struct GreekLetter {
    std::string_view word;
    int set0;
    int set1;
};

// The table rows, ALPHA to OMEGA, then DEG and STRUVE.
std::span<const GreekLetter> GreekLetters();

// The code of word in set 0 or 1, or -1 when the set has no character for it (or the word is
// not in the table, or the set is 2).
int GreekCode(std::string_view word, int greekSet);

// Replaces every character of the set's table by its word, in place. Set 2 leaves the text.
void GreekToWords(std::string &text, int greekSet);

// Replaces every whole run of capitals that is a word of the set's table (or one of the
// Struve compounds STRUVEI, STRUVEII, OSTRUVE, OSTRUVESTRUVE) by its character, in place.
// ALPHA converts, ALPHAC and AALPHA do not. Set 2 leaves the text.
void WordsToGreek(std::string &text, int greekSet);

// The same, from text into out: true when a run converted, false (out untouched) when the
// text stays as it is, so that a reader copies only the texts that change.
bool ConvertWordsToGreek(std::string_view text, int greekSet, std::string &out);

// The entry points of the database reader and writer.
inline void GreekWordsToChars(std::string &text, int greekSet) {
    WordsToGreek(text, greekSet);
}

// Appends text to out as the file holds it: each character of the set's table as its word
// wherever the reader's whole-run rule turns the word back into that character, and as its
// own code where it would not (a letter next to another or next to a capital letter, as in
// ALPHABETA or ALPHAC). The reader then gives back the same bytes, provided that no run of
// capitals of the text is itself a word (WordsToGreek leaves the text as it is); a capital
// run that spells a word is, in a file, that letter. Set 2 leaves the text.
void AppendGreekAsWords(std::string &out, std::string_view text, int greekSet);

} // namespace vespario
