#pragma once
// The settings part of the application object: the profile file, the general settings, the
// dialog positions and the vocabularies, loaded once at start-up and written back at exit.
// CVesparioApp owns one; the document and the windows read and change it through their
// references to it.

#include "platform/iniprofile.h"
#include "platform/registry.h"
#include "settings/generalsettings.h"
#include "settings/profilelocation.h"
#include "settings/settingsvocabularies.h"

#include <string>

namespace vespario {

class AppSettings {
public:
    // Start-up: finds the profile in profileFolder (moving it there from currentFolder when
    // it is only there), reads it and loads everything (Load). The mail defaults come from
    // the registry hive at registryPath. False, with Error(), when the profile exists but
    // cannot be read: everything then has its default and Save will not overwrite the file.
    [[nodiscard]] bool Start(const std::string &profileFolder, const std::string &currentFolder,
                             const std::string &registryPath);

    // Reads the profile file at path and loads everything from it.
    [[nodiscard]] bool Load(const std::string &profilePath, const platform::Registry *registry);

    // Loads from the profile in memory, in the order of start-up: the general settings, the
    // mail defaults from the registry (when given), the legacy dialog positions, then the
    // vocabularies. Afterwards the profile in memory holds every value as loaded, so that
    // what reads it directly (the document) sees the same values; the file is not written.
    void LoadFromProfile(const platform::Registry *registry);

    // Writes every setting and vocabulary into the profile in memory.
    void StoreInProfile();

    // Exit: stores everything, writes the profile file and then the listing files. False,
    // with Error(), when the profile could not be written (the old file stays as it was); a
    // listing file that could not be written is named in ListingError().
    [[nodiscard]] bool Save();

    // The six listing files, in the profile's folder. False, with ListingError() naming each
    // file that could not be written and why, when one was not written.
    [[nodiscard]] bool WriteListingFiles();

    // After the Settings sheet closed with OK: raises the vocabulary-changed flags and
    // rewrites the listing files. False, with ListingError(), as WriteListingFiles.
    [[nodiscard]] bool SettingsSheetClosed();

    std::string ProfileFolder() const;
    const ProfileLocation &Location() const { return m_location; }
    const std::string &Error() const { return m_error; }
    // The listing files the last write left unwritten, one line each; empty when none.
    const std::string &ListingError() const { return m_listingError; }

    platform::IniProfile &Profile() { return m_profile; }
    const platform::IniProfile &Profile() const { return m_profile; }
    GeneralSettings &General() { return m_general; }
    const GeneralSettings &General() const { return m_general; }
    SettingsVocabularies &Vocabularies() { return m_vocabularies; }
    const SettingsVocabularies &Vocabularies() const { return m_vocabularies; }

private:
    platform::IniProfile m_profile;
    GeneralSettings m_general;
    SettingsVocabularies m_vocabularies;
    ProfileLocation m_location;
    std::string m_error;
    std::string m_listingError;
};

} // namespace vespario
