#pragma once
// The settings vocabularies: the user's code lists (object types, sources, checkboxes, try
// values, observing places and equipment), the books and magazines of the references, the
// planetarium programs, the helper applications and the record edit checks. Each is a
// CodeList persisted as a numbered list in the profile:
//
//   list            section        entry key      capacity  code          entry
//   types           ObjectType     Type%i         100       2 characters  code=meaning
//   sources         ObjectSource   Source%i       100       1 character   code=meaning
//   checkboxes      ObjectCheck    Check%i        100       1 character   code=meaning
//   try values      ObjectTry      Try%i          100       1 character   code=meaning
//   places          ObsPlace       Place%i        100       1 character   place record
//   equipment       ObsEquip       Equip%i        100       1 character   code=description
//   books           Book           Book%i         200       abbreviation  abbreviation;title
//   magazines       Mag            Mag%i          32        1 character   code;title
//   planetaria      Planetaria     Planetarium%i  32        none          title,exe,keys
//   helper apps     HelperApps     HelperApp%i    100       none          look-for command
//   edit checks     Edit           Edit%i         150       none          Y or N, description
//
// "ObsPlace"/"Default" holds the default place's code as a number, "Planetaria"/"Current"
// the number of the planetarium program in use.

#include "astro/observingplace.h"
#include "platform/iniprofile.h"
#include "settings/codelist.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vespario {

enum class Vocabulary {
    HelperApps,
    Types,
    Sources,
    Checkboxes,
    TryValues,
    Places,
    Equipment,
    EditChecks,
    Books,
    Magazines,
    Planetaria,
};
inline constexpr int kVocabularyCount = 11;

// The lists in the order in which they are loaded: helper applications first of all.
inline constexpr std::array<Vocabulary, kVocabularyCount> kVocabularyLoadOrder = {
    Vocabulary::HelperApps, Vocabulary::Types,     Vocabulary::Sources,   Vocabulary::Checkboxes,
    Vocabulary::TryValues,  Vocabulary::Places,    Vocabulary::Equipment, Vocabulary::EditChecks,
    Vocabulary::Books,      Vocabulary::Magazines, Vocabulary::Planetaria};

const VocabularyInfo &InfoOf(Vocabulary vocabulary);

inline constexpr size_t kEditFlagLength = 150;
inline constexpr std::string_view kXu98Book = "XU98;Explore the Universe, 4th edition, 1998";

class SettingsVocabularies {
public:
    SettingsVocabularies();

    CodeList &List(Vocabulary v) { return m_lists[static_cast<size_t>(v)]; }
    const CodeList &List(Vocabulary v) const { return m_lists[static_cast<size_t>(v)]; }
    const CodeList &Types() const { return List(Vocabulary::Types); }
    const CodeList &Sources() const { return List(Vocabulary::Sources); }
    const CodeList &Checkboxes() const { return List(Vocabulary::Checkboxes); }
    const CodeList &TryValues() const { return List(Vocabulary::TryValues); }
    const CodeList &Places() const { return List(Vocabulary::Places); }
    const CodeList &Equipment() const { return List(Vocabulary::Equipment); }
    const CodeList &Books() const { return List(Vocabulary::Books); }
    const CodeList &Magazines() const { return List(Vocabulary::Magazines); }
    const CodeList &Planetaria() const { return List(Vocabulary::Planetaria); }
    const CodeList &HelperApps() const { return List(Vocabulary::HelperApps); }
    const CodeList &EditChecks() const { return List(Vocabulary::EditChecks); }

    // LoadVocabularies: reads every list from the profile (missing keys take their
    // defaults, a count beyond a list's capacity is cut to it, a negative one reads as
    // missing), migrating an older profile's single "Location" first. The profile is
    // changed only by that migration.
    void LoadVocabularies(platform::IniProfile &profile);
    // SaveVocabularies: writes each count and entry back in the same keys, with
    // "ObsPlace"/"Default" and "Planetaria"/"Current".
    void SaveVocabularies(platform::IniProfile &profile) const;
    // WriteListingFiles: rewrites CurType.txt, CurSrc.txt, CurTry.txt, CurCheck.txt,
    // CurLoc.txt and CurEquip.txt in folder. A file that cannot be written is skipped and
    // named in error (when given), one line each with the reason; returns the number written.
    static constexpr int kListingFileCount = 6;
    [[nodiscard]] int WriteListingFiles(const std::string &folder,
                                        std::string *error = nullptr) const;

    // --- edit checks ---------------------------------------------------------------------
    // The first character of each entry, padded with "N" to at least 150 characters.
    const std::string &EditFlags() const { return m_editFlags; }
    bool IsEditCheckOn(size_t check) const {
        return check < m_editFlags.size() && m_editFlags[check] == 'Y';
    }
    // Rebuilds the flag string after the edit-check list was replaced.
    void RebuildEditFlags();

    // --- places --------------------------------------------------------------------------
    // The default place's code; '\0' only while there is no place.
    char DefaultPlaceCode() const { return m_defaultPlaceCode; }
    // The number of the default place's entry, or -1 when there is no place.
    int32_t DefaultPlaceIndex() const;
    // Makes the place with that code the default (the first place when no place has it)
    // and parses it into the current place record.
    void SetDefaultPlaceCode(char code);
    // The parsed default place that every time- or place-dependent value uses. Its instant
    // survives when the default place is replaced.
    ObservingPlace &CurrentPlace() { return m_currentPlace; }
    const ObservingPlace &CurrentPlace() const { return m_currentPlace; }

    // --- planetaria ----------------------------------------------------------------------
    int32_t CurrentPlanetarium() const { return m_currentPlanetarium; }
    void SetCurrentPlanetarium(int32_t index) { m_currentPlanetarium = index; }

    // --- after the Settings sheet --------------------------------------------------------
    // Raised when the sheet closes; the checkbox view and the record form clear their own
    // flag when they have rebuilt their choice lists.
    void RaiseChangedFlags() { m_checkboxChoicesChanged = m_formChoicesChanged = true; }
    bool TakeCheckboxChoicesChanged() { return std::exchange(m_checkboxChoicesChanged, false); }
    bool TakeFormChoicesChanged() { return std::exchange(m_formChoicesChanged, false); }

private:
    void LoadList(platform::IniProfile &profile, Vocabulary v);
    void LoadPlaces(platform::IniProfile &profile);
    void LoadBooks(platform::IniProfile &profile);
    void LoadMagazines(platform::IniProfile &profile);
    std::vector<std::string> ReadEntries(const platform::IniProfile &profile, Vocabulary v,
                                         int32_t count) const;

    std::array<CodeList, kVocabularyCount> m_lists;
    std::string m_editFlags;
    char m_defaultPlaceCode = '\0';
    ObservingPlace m_currentPlace;
    int32_t m_currentPlanetarium = -1;
    bool m_checkboxChoicesChanged = false;
    bool m_formChoicesChanged = false;
};

// The book list that a profile without a "Book" count starts with (45 entries).
const std::vector<std::string> &DefaultBooks();
// The magazine list that a profile without a "Mag" count starts with (9 entries).
const std::vector<std::string> &DefaultMagazines();

// The place that an older profile's "Location" section and "Settings" keys describe
// (code and name "X"), or nullopt when "Location"/"Latitude" is missing; see
// LoadVocabularies.
std::optional<ObservingPlace> LegacyLocation(const platform::IniProfile &profile);

} // namespace vespario
