#pragma once
// The constellation of a position: a search in a table of boundary rows for the equinox
// 1875.0, the equinox of the IAU boundaries (Delporte 1930), in which every boundary runs
// along a parallel or an hour circle.
//
// Each row holds an RA limit, a Dec limit (both rad, 1875.0) and an abbreviation; the rows
// are in search order, in strips of right ascension, and the first row with
// ra <= RA limit and dec >= Dec limit names the constellation. The last strip's rows have
// an RA limit of 3 pi, above any right ascension, and end with Octans at -90 deg.

#include "astro/precession.h"

#include <array>
#include <string_view>
#include <vector>

namespace vespario {

inline constexpr double kConstellationEquinox = 1875.0; // equinox of the table (years)
inline constexpr int kNoConstellation = -1;             // row "number" of no position

class ConstellationTable {
public:
    // Fills the rows from their RaDec-style texts and the hour index after them.
    ConstellationTable();

    // ConstellationIndex: the boundary row that names the constellation of a position.
    //
    // Given:
    //   ra, dec      J2000 position (rad, on the program's pi); ra in any turn (it is
    //                reduced), dec in -pi/2...+pi/2
    //   precession   the cache of the 2000.0 -> 1875.0 angles (the single-argument form
    //                uses the table's own cache, so it is not for several threads at once)
    // Returned:
    //   row number 0 ... RowCount() - 1, for ConstellationAbbrev; kNoConstellation when ra
    //   or dec is not a finite number
    // Notes:
    //   1) The position is precessed to 1875.0 (Precession::Apply(2000.0, 1875.0)).
    //   2) A declination below the table's -90 deg (the true pole is a hair below the
    //      program's -90 deg, which uses pi = 3.14159265) still ends in Octans.
    int ConstellationIndex(double ra, double dec, Precession &precession) const;
    int ConstellationIndex(double ra, double dec) const;

    // ConstellationIndex1875: the same search for a position already at 1875.0 (rad).
    int ConstellationIndex1875(double ra1875, double dec1875) const;

    // ConstellationAbbrev: the abbreviation of a row ("UMi", "CVn"); empty for any number
    // that is not a row (kNoConstellation included).
    std::string_view ConstellationAbbrev(int index) const;

    // The rows themselves, for the checks and the tools.
    struct Row {
        double raLimit;  // rad, 1875.0, inclusive; 3 pi for the last strip
        double decLimit; // rad, 1875.0, inclusive
        std::string_view abbrev;
    };
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    const Row &RowAt(int index) const { return m_rows[index]; }
    // HourIndex: the first row whose RA limit is at least hour h (0 to 23).
    int HourIndex(int hour) const { return m_hourIndex[hour]; }

private:
    std::vector<Row> m_rows;
    std::array<int, 24> m_hourIndex{};
    mutable Precession m_precession;
};

} // namespace vespario
