#include "app/settingssheetmodel.h"

namespace vespario {

SettingsSheetModel::SettingsSheetModel(AppSettings &settings, platform::Host &host, char placeCode)
    : m_settings(settings), m_host(host),
      m_currentPage(SettingsPageFromProfile(settings.General().curPage)), m_helperApps(host),
      m_checkboxes(CheckboxPageTraits(), host), m_try(TryPageTraits(), host),
      m_types(TypePageTraits(), host), m_sources(host), m_places(host),
      m_equipment(EquipmentPageTraits(), host), m_planetariums(host),
      m_books(BookPageTraits(), host), m_magazines(MagazinePageTraits(), host) {
    m_helperApps.Load(settings);
    for (int page = 0; page < kSettingsPageCount; ++page) {
        if (CodePageModel *codes = CodePage(page))
            codes->Load(settings);
    }
    m_places.SelectCode(placeCode);
    m_preferences.Load(settings);
    m_planetariums.Load(settings);
}

CodePageModel *SettingsSheetModel::CodePage(int page) {
    switch (page) {
    case kCheckboxesPage:
        return &m_checkboxes;
    case kTryPage:
        return &m_try;
    case kTypesPage:
        return &m_types;
    case kSourcesPage:
        return &m_sources;
    case kPlacesPage:
        return &m_places;
    case kEquipmentPage:
        return &m_equipment;
    case kBooksPage:
        return &m_books;
    case kMagazinesPage:
        return &m_magazines;
    default:
        return nullptr;
    }
}

void SettingsSheetModel::SetCurrentPage(int page) {
    if (page < 0 || page >= kSettingsPageCount)
        return;
    m_settings.General().curPage = m_currentPage; // the page left stores its index
    m_currentPage = page;
}

bool SettingsSheetModel::Apply(CVesparioDoc *doc) {
    for (int page = 0; page < kSettingsPageCount; ++page) {
        CodePageModel *codes = CodePage(page);
        if (codes && !codes->CheckCodes()) {
            m_currentPage = page;
            return false;
        }
    }
    m_helperApps.Store(m_settings);
    for (int page = 0; page < kSettingsPageCount; ++page) {
        if (CodePageModel *codes = CodePage(page))
            codes->Store(m_settings);
    }
    m_preferences.Store(m_settings, doc);
    m_planetariums.Store(m_settings);
    m_settings.General().curPage = m_currentPage;
    return true;
}

bool SettingsSheetModel::Ok(CVesparioDoc *doc) {
    if (!Apply(doc))
        return false;
    // The settings are applied either way; a listing file left unwritten is told, not fatal.
    if (!m_settings.SettingsSheetClosed())
        m_host.MessageBox(m_settings.ListingError(), "Vespario", platform::Buttons::Ok);
    return true;
}

void SettingsSheetModel::Cancel() {
    m_settings.General().curPage = m_currentPage;
}

} // namespace vespario
