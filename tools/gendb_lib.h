#pragma once
// Synthetic databases for the benchmarks: writes a version-2 database file of any size
// directly in the file layout, with a realistic mix of stored fields, so that loading it
// exercises the same paths as a real observer's file. The texts are generated in the form
// the document holds them once parsed (refs, url, obs and goal entries on lines of their
// own), and written the way the document writes them, so a load and a save give back the
// same bytes. The output depends only on the record count and the seed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vespario::gendb {

struct GenOptions {
    int records = 100000;
    uint64_t seed = 1;
    int recordWidth = 70; // the "File"/"RecordWidth" the writer wraps long fields at
};

// The counters the header carries once the file is complete.
struct GenStats {
    uint32_t records = 0;
    uint32_t fileLength = 0;
    uint32_t observations = 0;
};

// One profile setting the generated observations rely on (their place and equipment codes).
struct ProfileEntry {
    std::string section;
    std::string key;
    std::string value;
};

// Appends the whole file (header with its counters filled in, then every record) to out.
GenStats GenerateDatabase(const GenOptions &options, std::string &out);

// Writes the file to path. On failure returns false and leaves a reason in error.
bool WriteDatabaseFile(const std::string &path, const GenOptions &options, GenStats &stats,
                       std::string &error);

// The place codes "abc" and equipment codes "123" used in the observation headers.
const std::vector<ProfileEntry> &GeneratedProfileEntries();

// The same entries as profile file text (sections, CR LF line ends).
std::string GeneratedProfileText();

// Appends one long field as the file holds it: tag, text with the three special characters
// escaped, wrapped at width columns with continuation lines starting with a blank (the
// text's own line ends kept, each followed by a blank when the next line would not start
// with one), then the terminator ";" and CR LF.
void AppendLongField(std::string &out, std::string_view tag, std::string_view text, int width);

} // namespace vespario::gendb
