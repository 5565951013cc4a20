#pragma once
// The selection criteria file ".sel": one line of text, "101 3273 ", the number of lines and
// a blank, then per line its field, operator, radius and from-this-object flag as decimal
// numbers each followed by a blank, the value and the description each ended by 0xFF.

#include "select/criterialine.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

inline constexpr int32_t kCriteriaFileVersion = 101;
inline constexpr int32_t kCriteriaFileMark = 3273;
// Files before this version have no header and begin with their line count; files before
// kCriteriaFileVersion number the fields from 33 on one lower.
inline constexpr int32_t kFirstCriteriaHeaderVersion = 99;
inline constexpr std::string_view kCriteriaExtension = ".sel";
inline constexpr std::string_view kIllegalCriteriaFile = "Illegal selection criteria file";

std::string FormatCriteriaFile(std::span<const CriteriaLine> lines);

// Reads the bytes of a criteria file of any version into lines. False, with lines untouched,
// for a wrong mark and for a damaged file: one cut short, with a count that is negative or
// larger than the lines it holds, a number that is not one, a text without its 0xFF, a field
// number that names no field or an operator outside 0..11.
bool ParseCriteriaFile(std::string_view bytes, std::vector<CriteriaLine> &lines);

} // namespace vespario
