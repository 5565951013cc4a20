#pragma once
// Record bytes as the user sees them and back. Records stay byte strings in the Greek set
// of the document; each set has one table of 256 characters, so that decoding and encoding
// again gives back the same bytes:
//   set 0: the DOS code page, its Greek-table bytes shown as the letters they stand for;
//   set 1: Windows-1252, the Greek-table bytes and the degree sign as in the Greek code page;
//   set 2: Windows-1252 (Greek letters are written as their words).
// A typed Greek letter that the set has no byte for becomes its word (ZETA), as the file
// would hold it; any other character the set cannot hold becomes "?".

#include <QString>

#include <string>
#include <string_view>

namespace vespario::ui {

QString DecodeRecordText(std::string_view bytes, int greekSet);
std::string EncodeRecordText(const QString &text, int greekSet);

// Long fields break lines with CR LF; the text views show plain line feeds.
QString DecodeLongText(std::string_view bytes, int greekSet);
std::string EncodeLongText(const QString &text, int greekSet);

// The letter of a Greek-table word (ALPHA, ..., DEG, STRUVE) as shown on its tool button.
QString GreekLetterGlyph(std::string_view word);
// What the button inserts in a set: the letter when the set has a byte for it, else the
// word.
QString GreekLetterInsertText(std::string_view word, int greekSet);

} // namespace vespario::ui
