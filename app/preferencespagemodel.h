#pragma once
// The Preferences page (general preferences, the record edit checks and the star-atlas
// order). A change of the Greek character set converts the open database's records first
// (ChangeGreekHandling) and only then is stored.

#include "settings/appsettings.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CVesparioDoc;

inline constexpr std::array<std::string_view, 3> kGreekHandlingNames = {
    "DOS character set", "Vespario character set", "ASCII"};

struct PreferenceValues {
    int greekHandling = 1;        // "Handling of Greek Characters"
    bool delAuthorEnabled = true; // the "Del Author's Data" command (inverse of DelAuthor)
    bool tutorial = true;         // "Prompt for Tutorial at Startup"
    int timingFirst = 500;        // "initial" slice, ms
    int timingSecond = 100;       // "remaining" slices, ms
    int recordWidth = 70;         // "File record length"
    bool autoBuild = true;        // "Auto-rebuild Object IDs index whenever an ID is changed"
    std::string searchFavorite;   // "Favorite objects are found by searching RATE for"
    bool keepBackup = true;       // "Keep a database backup when saved"
    bool lowMemory = false;       // "Low Memory Mode"
};

struct EditCheckLine {
    bool checked = false;
    std::string description; // the entry without its first character
};

class PreferencesPageModel {
public:
    void Load(const AppSettings &settings);

    PreferenceValues &Values() { return m_values; }
    const PreferenceValues &Values() const { return m_values; }

    // "Database Edits:": one line per record edit check.
    const std::vector<EditCheckLine> &EditChecks() const { return m_checks; }
    void SetEditCheck(size_t line, bool checked);
    void TurnAllOn() { SetAll(true); }
    void TurnAllOff() { SetAll(false); }

    // "Star Atlas Order on main screen": the seven chart fields in their order, the names
    // shown for them, and the selected position (-1: none).
    const std::array<int, 7> &StarAtlasOrder() const { return m_atlasOrder; }
    std::string_view StarAtlasNameAt(size_t position) const;
    int SelectedAtlas() const { return m_selectedAtlas; }
    void SelectAtlas(int position);
    bool MoveUpEnabled() const { return m_selectedAtlas >= 1 && m_selectedAtlas <= 6; }
    bool MoveDownEnabled() const { return m_selectedAtlas >= 0 && m_selectedAtlas <= 5; }
    // Swap the selected atlas with its neighbour; it stays selected.
    void MoveUp();
    void MoveDown();

    // OK. A new Greek set converts the records of doc (when a database is open) before it is
    // stored; slices below 5 ms become 5 ms and a record length below 1 the default; each
    // edit check's first character becomes "Y" or "N" and the flag string is rebuilt.
    void Store(AppSettings &settings, CVesparioDoc *doc) const;

private:
    void SetAll(bool checked);

    PreferenceValues m_values;
    std::vector<EditCheckLine> m_checks;
    std::array<int, 7> m_atlasOrder{};
    int m_selectedAtlas = -1;
};

} // namespace vespario
