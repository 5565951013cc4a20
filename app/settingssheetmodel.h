#pragma once
// The Settings sheet: its eleven pages in tab order, opened on the page stored in
// "Settings"/"CurPage", with the Places page on the place code the sheet was opened with.
// OK checks every page's codes before it changes anything, so that a refused OK leaves
// every vocabulary as it was and the sheet open on the offending page.

#include "app/codepagemodel.h"
#include "app/helperapppagemodel.h"
#include "app/placepagemodel.h"
#include "app/planetariumpagemodel.h"
#include "app/preferencespagemodel.h"
#include "app/sourcepagemodel.h"

#include <array>
#include <string_view>

namespace vespario {

class CVesparioDoc;

enum SettingsPage {
    kHelperAppsPage,   // CSettingsApps
    kCheckboxesPage,   // CSettingsTags
    kTryPage,          // CSettingsTry
    kTypesPage,        // CSettingsType
    kSourcesPage,      // CSettingsSource
    kPlacesPage,       // CSettingsPlace
    kEquipmentPage,    // CSettingsEquip
    kPreferencesPage,  // CSettingsProp
    kPlanetariumsPage, // CSettingsPlanetaria
    kBooksPage,        // CSettingsBook
    kMagazinesPage,    // CSettingsMag
};

inline constexpr std::array<std::string_view, kSettingsPageCount> kSettingsPageTitles = {
    "Helper Apps", "Checkboxes",  "Try",          "Types", "Sources",  "Places",
    "Equipment",   "Preferences", "Planetariums", "Books", "Magazines"};
inline constexpr std::string_view kSettingsSheetTitle = "Settings";
inline constexpr std::string_view kSettingsDialogSection = "SettingsDlgPos";

class SettingsSheetModel {
public:
    // Opens the sheet on settings (OpenSettings with a place code).
    SettingsSheetModel(AppSettings &settings, platform::Host &host, char placeCode);

    int CurrentPage() const { return m_currentPage; }
    // Showing another page: the page left stores its own index in "CurPage".
    void SetCurrentPage(int page);

    HelperAppPageModel &HelperApps() { return m_helperApps; }
    CodePageModel &Checkboxes() { return m_checkboxes; }
    CodePageModel &TryValues() { return m_try; }
    CodePageModel &Types() { return m_types; }
    SourcePageModel &Sources() { return m_sources; }
    PlacePageModel &Places() { return m_places; }
    CodePageModel &Equipment() { return m_equipment; }
    PreferencesPageModel &Preferences() { return m_preferences; }
    PlanetariumPageModel &Planetariums() { return m_planetariums; }
    CodePageModel &Books() { return m_books; }
    CodePageModel &Magazines() { return m_magazines; }
    // The code page shown at index page, or nullptr for the pages without codes.
    CodePageModel *CodePage(int page);

    // Apply: every page's codes must be unique (the first page that refuses is shown and
    // false returned); then every page replaces its vocabulary and settings. doc, when a
    // database is open, is converted if the Greek set changes.
    bool Apply(CVesparioDoc *doc);
    // OK: Apply, then the sheet closes (the vocabulary-changed flags, the listing files).
    bool Ok(CVesparioDoc *doc);
    // Cancel: nothing changes but "CurPage".
    void Cancel();
    // True after Apply when the default place or its record changed: the main window is to
    // recompute what depends on the time or place.
    bool PlaceChanged() const { return m_places.PlaceChanged(); }

private:
    AppSettings &m_settings;
    platform::Host &m_host;
    int m_currentPage;
    HelperAppPageModel m_helperApps;
    CodePageModel m_checkboxes;
    CodePageModel m_try;
    CodePageModel m_types;
    SourcePageModel m_sources;
    PlacePageModel m_places;
    CodePageModel m_equipment;
    PreferencesPageModel m_preferences;
    PlanetariumPageModel m_planetariums;
    CodePageModel m_books;
    CodePageModel m_magazines;
};

} // namespace vespario
