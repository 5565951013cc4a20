#pragma once
// What every vespario-cli command shares: the options that may stand anywhere on the line,
// the start (the profile, the default place at its instant, the document and its database),
// and the printing of values and messages. Results go to the output stream, messages and
// errors to the error stream.

#include "astro/observingplace.h"
#include "db/astropositions.h"
#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vespario::cli {

struct Options {
    std::string profilePath; // --profile FILE
    std::string placeRecord; // --place RECORD: a place record string, "|" separated
    bool placeGiven = false;
    std::string atText; // --at "yyyy/mm/dd hh:mm:ss": the UT instant
    bool atGiven = false;
    bool precise = false;           // --precise: real values with "%.10g"
    std::vector<std::string> words; // the command and its operands, options removed
};

// Takes the common options out of args; false (with a message) when one lacks its value.
[[nodiscard]] bool ParseOptions(const std::vector<std::string> &args, Options &options,
                                std::ostream &err);

// The profile file to read: the given one, else the user's, else the one a new installation
// starts with while the user has none.
std::string ProfileToRead(const std::string &given);

// Loads the profile of ProfileToRead. False (with a message) when it cannot be read.
[[nodiscard]] bool LoadProfile(const Options &options, platform::IniProfile &profile,
                               std::ostream &err);

// What is wrong with a place record given on the command line, naming the field; nullopt
// when it may be used. A record that stops early keeps the defaults of its missing fields.
std::optional<std::string> CheckPlaceRecord(std::string_view record);

// The default place: --place, else the profile's default place; at --at, else now. False
// (with a message) when the place record or the instant is wrong.
[[nodiscard]] bool PreparePlace(const Options &options, platform::IniProfile &profile,
                                ObservingPlace &place, std::ostream &err);
// LoadProfile, then PreparePlace: what every command that computes positions starts with.
[[nodiscard]] bool LoadProfileAndPlace(const Options &options, platform::IniProfile &profile,
                                       ObservingPlace &place, std::ostream &err);

// The start of every command that works on a database: the profile, the default place (for
// commands whose fields need positions), the headless host and the document; then its file.
class Session {
public:
    enum class Positions { None, DefaultPlace };

    // False (with the message on err) when the profile, --place or --at is wrong.
    [[nodiscard]] bool Start(const Options &options, Positions positions, std::ostream &err);
    // Reads the database; completely: splits and parses every record now (otherwise the
    // caller's passes do). False (with the message) when the file cannot be opened.
    [[nodiscard]] bool Load(const std::string &path, bool completely, std::ostream &err);
    // Writes the messages the document showed since the last call to err, one per line.
    void ReportMessages(std::ostream &err);

    CVesparioDoc &Doc() { return *m_doc; }
    platform::IniProfile &Profile() { return m_profile; }
    platform::HeadlessHost &Host() { return m_host; }

private:
    platform::IniProfile m_profile;
    platform::HeadlessHost m_host;
    ObservingPlace m_place;
    std::unique_ptr<AstroPositionServices> m_astro;
    std::unique_ptr<CVesparioDoc> m_doc;
    size_t m_reported = 0;
};

// A text on one line: every CR LF, CR or LF becomes the four characters \r\n.
std::string OneLine(std::string_view text);
// A field's value as vespario-cli prints it: texts on one line, whole numbers with "%i",
// real numbers with "%g" (precise: "%.10g").
std::string ValueText(CVesparioDoc &doc, int fieldNo, int record, bool precise);

} // namespace vespario::cli
