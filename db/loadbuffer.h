#pragma once
// The prepared load buffer as the reader (databasefile.cpp) leaves it and the record parser
// (recordparse.cpp) reads it. Internal to the document: nothing outside db/ includes this.

#include "db/fieldtable.h"
#include "db/objectrecord.h"
#include "pattern/pattern.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vespario::loadbuffer {

// Every field ends in kFieldEnd, every record in kRecordEnd, and the buffer in kBufferEnd,
// kRecordEnd, kBufferEnd. No other byte below 32 is left in the buffer.
inline constexpr char kFieldEnd = 0;
inline constexpr char kRecordEnd = 1;
inline constexpr char kBufferEnd = 2;

inline constexpr size_t kObsHeaderLength = 10;    // YYYYMMDD, place code, equipment code
inline constexpr size_t kMessageTextLimit = 1000; // the texts shown in messages are cut here

inline bool IsStructureByte(unsigned char c) {
    return c < 32;
}

// The text at p up to the next byte below 32 (a field, record or buffer end).
inline std::string_view FieldAt(const char *p) {
    const char *e = p;
    while (!IsStructureByte(static_cast<unsigned char>(*e)))
        ++e;
    return std::string_view(p, static_cast<size_t>(e - p));
}

inline std::string MessageWithText(std::string_view prefix, std::string_view text) {
    std::string message(prefix);
    message.append(text.substr(0, kMessageTextLimit));
    return message;
}

// The fields whose Greek letters a file holds as words: reading converts the words of these
// only (the ID, Magn, Size, Class and the long fields), so the writer writes the words of
// these only, and the letters of every other field as their codes, which read back as they
// are.
inline bool FileHoldsGreekWords(int n) {
    return n == field::Id || n == field::Magn || n == field::Size || n == field::Class ||
           n >= kFirstLongField;
}

// A long field's text as parsing a record leaves it (its line ends already dropped): the
// line structure of goal, obs, url and refs rebuilt and closed by CR LF; other fields as
// they are. Returns the observation headers found (obs only).
uint32_t FinishLongField(int n, std::string_view text, Pattern &obsHeader, std::string &out);

// Work texts for the fields that parsing rewrites; their room is kept between records.
std::array<std::string, kStoredFieldCount> &ParseScratch();
// Gives back the work texts that a very long field made large.
void ReleaseLargeScratch();

} // namespace vespario::loadbuffer
