#pragma once
// vespario-cli convert: the Coordinates, Times and Distances tools on one value.

#include "cli/support.h"

#include <iosfwd>

namespace vespario::cli {

// words: "convert" and one of
//   radec TEXT          a RaDec text into the Coordinates tool; --epoch1 YEAR and
//                       --epoch2 YEAR set its two epochs first (TEXT is for epoch 1,
//                       "RaDec 2" shows it precessed to epoch 2; 2000.0 unless given)
//   time TEXT           a UT date-time (or a Julian Date, or "now") into the Times tool
//   dist VALUE UNIT     a value in a unit of the Distances tool (ly pc AU mi km m in cm mm
//                       nm A km/s, z for a redshift, km/s/Mpc for the Hubble parameter)
// Prints "LABEL<TAB>TEXT" for every field of the tool and returns 0; a text the tool
// refuses prints its ILLEGAL hint and returns 2, as does a wrong line.
int RunConvert(const Options &options, std::ostream &out, std::ostream &err);

} // namespace vespario::cli
