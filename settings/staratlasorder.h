#pragma once
// The star-atlas order: the seven star-atlas chart fields in the order in which the main
// screen shows them, held as field numbers in "Settings" keys "StarAtlas0" to "StarAtlas6".

#include <array>
#include <string_view>

namespace vespario {

// The known chart fields in their default order: SkyAtlas#, Uranometria#, AstroAtlasB#,
// AstroAtlasC#, EdmundMag5#, EdmundMag6#, MSA#.
inline constexpr std::array<int, 7> kStarAtlasFields = {26, 27, 48, 49, 67, 68, 74};

// Makes order a permutation of kStarAtlasFields: every known number that occurs is struck
// from a spare list in the default order; then, scanning positions 0 to 6, a value that
// repeats an earlier position's value, or that is no chart field at all, is replaced by the
// first number left in the spare list, which is struck in turn.
void RepairStarAtlasOrder(std::array<int, 7> &order);

// The name shown for a chart field ("SkyAtlas#" for 26, ...); empty for another number.
std::string_view StarAtlasName(int field);

} // namespace vespario
