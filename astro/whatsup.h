#pragma once
// The "What's Up" report: the Sun, the planets and the Moon for a place at its current
// instant, the new and full moons around it and the night's twilight.

#include <string>

namespace vespario {

class ObservingPlace;

// WhatsUpReport: the report text, every line ended by "\r\n".
//
// Given:
//   place   the observing place; its current instant (Instant()) is the report's instant
// Returned:
//   "Data for" and "At" header lines, the two column header lines, eleven rows (Sun,
//   Mercury to Pluto, the Moon now and one day later), the new and full moons of the
//   lunations 30 days before, at and 30 days after the date, and the evening end and
//   morning start of civil, nautical and astronomical twilight with the local sidereal
//   time of each.
// Notes:
//   1) A row shows blanks where a value does not apply: eleven for the elongation when
//      the body's longitude is within 0.01 rad of the Sun's, six each for the diameter
//      and magnitude of the Sun and the Moon, twelve for the rise (and its azimuth), six
//      for the transit and twelve for the set when the body does not rise, culminate or
//      set on the row's date, and the heliocentric block for Sun and Moon.
//   2) The rows' rise, transit and set are the events of the local date of the instant
//      (local midnight to local midnight), "Moon Tomorrow" those of the next local date;
//      the transit is the upper culmination (RiseSetForDate).
//   3) A twilight limit the Sun does not cross that night reads "none: the Sun stays
//      above -18 deg all night" (the limit of the line) after the line's label, or "none:
//      the Sun stays below -6 deg all day" in the polar night; when it crosses the limit
//      only one way that night the other end reads "none".
std::string WhatsUpReport(const ObservingPlace &place);

} // namespace vespario
