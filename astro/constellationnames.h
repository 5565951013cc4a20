#pragma once
// The 88 IAU constellations, abbreviation and full name, in alphabetical order of the full
// name. The records name a constellation by its three-letter abbreviation (the boundary
// table's, capitalised as "UMi", "CVn"); the full name is found from it in the name list,
// one text of items "*And*Andromeda*", "*Ant*Antlia*" ... "*Vul*Vulpecula*" joined together.
// Names are in plain letters ("Bootes"), and Serpens appears once.

#include <string_view>

namespace vespario {

inline constexpr int kConstellationCount = 88;

// What the full-name look-up gives for an abbreviation that is not in the list.
inline constexpr std::string_view kUnknownConstellationName = "oops, unknown bug";

// ConstellationNameList: the joined name list, "*And*Andromeda**Ant*Antlia*...*Vulpecula*".
std::string_view ConstellationNameList();

// ConstellationAbbrevAt, ConstellationNameAt: abbreviation ("And") and full name
// ("Andromeda") of entry index 0 to 87 of the list; empty for any other index.
std::string_view ConstellationAbbrevAt(int index);
std::string_view ConstellationNameAt(int index);

// FindConstellationName: the list entry (0 to 87) whose abbreviation is abbrev (exact,
// case-sensitive); -1 when there is none.
int FindConstellationName(std::string_view abbrev);

// ConstellationFullName: the text after "*", abbrev, "*" in the name list up to the next
// "*"; kUnknownConstellationName when abbrev is not an abbreviation of the list (an empty
// abbrev too, which the joined text would otherwise match at the first "**").
std::string_view ConstellationFullName(std::string_view abbrev);

} // namespace vespario
