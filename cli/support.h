#pragma once
// What every vespario-cli command shares: the options that may stand anywhere on the line,
// the profile, the database and the default place at its instant.

#include "astro/observingplace.h"
#include "db/cvespariodoc.h"
#include "platform/iniprofile.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace vespario::cli {

struct Options {
    std::string profilePath; // --profile FILE
    std::string placeRecord; // --place RECORD: a place record string, "|" separated
    bool placeGiven = false;
    std::string atText;             // --at "yyyy/mm/dd hh:mm:ss": the UT instant
    bool precise = false;           // --precise: real values with "%.10g"
    std::vector<std::string> words; // the command and its operands, options removed
};

// Takes the common options out of args; false (with a message) when one lacks its value.
bool ParseOptions(const std::vector<std::string> &args, Options &options, std::ostream &err);

// The user's profile, or the one a new installation starts with when there is none yet.
bool LoadProfile(const Options &options, platform::IniProfile &profile, std::ostream &err);

// Reads a database completely, slice after slice. False when the file cannot be opened.
bool LoadDatabase(CVesparioDoc &doc, const std::string &path, std::ostream &err);

// The default place: --place, else the profile's default place; at --at, else now. False
// (with a message) when --at is not a date-time.
bool PreparePlace(const Options &options, platform::IniProfile &profile, ObservingPlace &place,
                  std::ostream &err);
// LoadProfile, then PreparePlace: what every command that computes positions starts with.
bool LoadProfileAndPlace(const Options &options, platform::IniProfile &profile,
                         ObservingPlace &place, std::ostream &err);

// The tag of a field as a user writes it: " info: " is info.
std::string_view BareTag(std::string_view tag);
// A text on one line: every CR LF, CR or LF becomes the four characters \r\n.
std::string OneLine(std::string_view text);
// A field's value as vespario-cli prints it: texts on one line, whole numbers with "%i",
// real numbers with "%g" (precise: "%.10g").
std::string ValueText(CVesparioDoc &doc, int fieldNo, int record, bool precise);

} // namespace vespario::cli
