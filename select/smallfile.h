#pragma once
// Reading and writing the program's small single-line files (criteria ".sel", sort orders
// ".srt"): decimal numbers separated by white space and texts ended by the byte 0xFF. The
// reader works on the bytes in memory and answers false at the first thing that does not
// fit, so that a damaged file is refused instead of read as garbage.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vespario {

inline constexpr char kTextEnd = '\xFF';         // ends each text in the file
inline constexpr size_t kMaxFileTextBytes = 499; // a text keeps at most this many bytes

class SmallFileReader {
public:
    explicit SmallFileReader(std::string_view bytes) : m_bytes(bytes) {}

    // A decimal whole number after white space: an optional sign and at least one digit,
    // within the 32-bit range.
    bool ReadInt(int32_t &value);
    // A decimal real number after white space, in the form "%g" writes (C locale).
    bool ReadReal(double &value);
    // The text up to the next 0xFF byte (which is consumed), keeping at most
    // kMaxFileTextBytes bytes of it and trimmed of white space at both ends. False when no
    // 0xFF follows.
    bool ReadText(std::string &text);

    size_t Position() const { return m_pos; }

private:
    void SkipWhiteSpace();

    std::string_view m_bytes;
    size_t m_pos = 0;
};

// Six significant digits, as "%g" prints in the C locale whatever locale is set.
std::string FormatReal(double value);

// A text as the file can hold it: a 0xFF byte inside it would end it early, so each becomes
// "?" (in a pattern "?" still matches that character).
std::string FileSafeText(std::string_view text);

// path with ext (".sel") appended unless it already ends in it (ignoring case).
std::string WithExtension(const std::string &path, std::string_view ext);

} // namespace vespario
