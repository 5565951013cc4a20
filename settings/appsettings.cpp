#include "settings/appsettings.h"

#include "platform/files.h"
#include "settings/dialogpositions.h"

namespace vespario {

bool AppSettings::Start(const std::string &profileFolder, const std::string &currentFolder,
                        const std::string &registryPath) {
    m_location = LocateProfile(profileFolder, currentFolder);
    platform::Registry registry;
    registry.Load(registryPath); // an unreadable hive is an empty one: no mail defaults
    const bool loaded = Load(m_location.path, &registry);
    if (loaded && !m_location.error.empty())
        m_error = m_location.error;
    return loaded;
}

bool AppSettings::Load(const std::string &profilePath, const platform::Registry *registry) {
    m_error.clear();
    const bool read = m_profile.Load(profilePath);
    if (!read)
        m_error = m_profile.Error();
    LoadFromProfile(registry);
    return read;
}

void AppSettings::LoadFromProfile(const platform::Registry *registry) {
    m_general = GeneralSettings();
    LoadGeneralSettings(m_profile, m_general);
    if (registry)
        LookUpMailDefaults(*registry, m_general);
    MigrateLegacyDialogPositions(m_profile);
    m_vocabularies.LoadVocabularies(m_profile);
    StoreInProfile();
}

void AppSettings::StoreInProfile() {
    SaveGeneralSettings(m_general, m_profile);
    m_vocabularies.SaveVocabularies(m_profile);
}

bool AppSettings::Save() {
    StoreInProfile();
    if (!m_profile.Path().empty())
        platform::IniProfile::CreateFolderFor(m_profile.Path());
    const bool saved = m_profile.Save();
    m_error = saved ? std::string() : m_profile.Error();
    // The profile's result is what Save answers; a listing file left unwritten is kept in
    // ListingError for the caller to show.
    (void)WriteListingFiles();
    return saved;
}

std::string AppSettings::ProfileFolder() const {
    return platform::FolderOf(m_profile.Path());
}

bool AppSettings::WriteListingFiles() {
    m_listingError.clear();
    if (m_profile.Path().empty())
        return true; // no profile file, so no folder beside it: nothing to write
    const std::string folder = ProfileFolder();
    return m_vocabularies.WriteListingFiles(folder.empty() ? "." : folder, &m_listingError) ==
           SettingsVocabularies::kListingFileCount;
}

bool AppSettings::SettingsSheetClosed() {
    m_vocabularies.RaiseChangedFlags();
    return WriteListingFiles();
}

} // namespace vespario
