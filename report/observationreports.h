#pragma once
// The three small reports about the current object and one of its observations: "Transit,
// etc...", "Circumstances..." and "View Session Notes...", and the session notes file beside
// the database. They read the records and the place and equipment vocabularies, so they
// live here above db/ and settings/; the instant itself is astro/observationinstant.

#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CVesparioDoc;
class ObservingPlace;
class SettingsVocabularies;

// TransitInfoText: rise, transit, set and the position now of a J2000 position for place at
// its current instant; name is the object's name.
std::string TransitInfoText(std::string_view radecText, double ra, double dec,
                            std::string_view name, const ObservingPlace &place);

// The observation entries of an obs field: each from its header's date (after the "_") up to
// the next header, without the line end that closes it, found with the document's header
// pattern.
std::vector<std::string> ObservationEntries(CVesparioDoc &doc, std::string_view obs);

// CircumstancesText: the date, place, equipment, sky and, with a time, the Moon and the
// object at the instant of entry. The entry's place is found by its code (an unknown code
// takes the first place).
std::string CircumstancesText(std::string_view name, double ra, double dec, std::string_view entry,
                              const SettingsVocabularies &vocabularies);

// "session.txt" in the folder of the database (the bare name when it has no folder).
std::string SessionNotesPath(const std::string &databasePath);

// The notes of the session of entry's date from the file at path: the header line that
// begins "_yyyymmdd" and the lines after it up to the next header, each ended by CR LF; or
// the message that the file cannot be opened or holds no such session. Empty for an entry
// shorter than eight characters.
std::string SessionNotesText(std::string_view entry, const std::string &path);

// The same, with found false when the notes could not be read (for the report's section).
struct SessionNotes {
    bool opened = false;
    bool found = false;
    std::string text;
};
SessionNotes ReadSessionNotes(std::string_view date, const std::string &path);

// The text editor of the helper applications: the command of the ".txt" entry (the text
// between its first blank and its first comma), "xdg-open" when there is none.
std::string TextEditorCommand(const SettingsVocabularies &vocabularies);

} // namespace vespario
