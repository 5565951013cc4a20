#pragma once
// The sample database: the OpenNGC catalogue (data/openngc.csv) turned into a Vespario
// database, so that a new user opens a real sky.

#include <string>
#include <vector>

namespace vespario::sample {

// One catalogue row, its columns as the CSV file holds them.
struct CatalogueRow {
    std::string name, type, raDeg, decDeg, mag, majAxis, minAxis, posAngle, otherNames, catalogId;
};

// Splits one CSV line into its fields (quoted fields may hold commas and doubled quotes).
std::vector<std::string> SplitCsvLine(const std::string &line);

// The type code of the shipped type vocabulary for an OpenNGC type name; "un" (unknown
// object) for "Other" and any type not listed.
const char *TypeCode(const std::string &openNgcType);

// The record of one row: Try, RaDec, Type, ID, Magn, Size, Src and info, in the file's form.
struct SampleRecord {
    std::string raDec, type, id, magn, size, info;
};
// false (with error set) when the row's position is not a number.
bool MakeRecord(const CatalogueRow &row, SampleRecord &record, std::string &error);

// Reads the catalogue at csvPath and writes the database to outPath. On failure returns
// false and sets error; outPath is then left as it was.
bool WriteSampleDatabase(const std::string &csvPath, const std::string &outPath, std::string &error,
                         int *records = nullptr);

} // namespace vespario::sample
