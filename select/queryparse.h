#pragma once
// Criteria lines and sort keys written as short texts, for the command line:
//   --where "FIELD OP VALUE"   e.g. "Magn# < 12", "Type has eg", "RaDec is near 0042+41,2",
//                              or a lone "or", "(" or ")"
//   --sort FIELD[:desc][:case] e.g. "Con", "Magn#:desc", "ID:case"
// FIELD is a field table tag ("Magn#", "TransitHrs#") or a long stored field's bare word
// ("info", "obs", "refs"); OP is one of the operator labels "=", "not =", "<", ">", "<=",
// ">=", "has", "hasn't", "is near".

#include "select/criterialine.h"
#include "select/sortorder.h"

#include <optional>
#include <string>
#include <string_view>

namespace vespario {

class FieldTable;

// Fills line from text and returns nullopt; or returns the error message and leaves line as
// it was. An "is near" value may end in "," and a distance in degrees; without one the line
// takes defaultRadius.
[[nodiscard]] std::optional<std::string> ParseWhereClause(std::string_view text,
                                                          const FieldTable &fields,
                                                          double defaultRadius, CriteriaLine &line);

// Fills key from text (ascending and case-insensitive unless ":desc" or ":case" follow; also
// ":asc" and ":nocase"); returns the error message, nullopt on success.
[[nodiscard]] std::optional<std::string> ParseSortKey(std::string_view text,
                                                      const FieldTable &fields, SortKey &key);

} // namespace vespario
