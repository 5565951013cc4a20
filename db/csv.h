#pragma once
// Comma-separated values as the import reads them: one record per line, "," as the field
// delimiter, an escaped delimiter for a comma inside a value.

#include <string>
#include <string_view>

namespace vespario {

struct CsvText {
    std::string text;          // the records, every line ended by a field delimiter
    int unclosedQuoteLine = 0; // the line whose quoted field never closes (counted from 1), or 0
};

// ConvertCsv: outside quotes a comma ends a field and a line end is written as "," and the
// line end, so that every line ends with a field delimiter; a double quote at the start of a
// field opens a quoted field. Inside quotes a comma is written as "\," (the escaped
// delimiter), two double quotes are one, a single double quote closes the field, and a line
// end becomes a blank so that a record stays on one line. A quoted field that never closes
// takes nothing with it: its line and the rest of the text are dropped and its line is named.
CsvText ConvertCsv(std::string_view csv);

} // namespace vespario
