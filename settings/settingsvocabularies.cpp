#include "settings/settingsvocabularies.h"

#include "astro/numbertext.h"
#include "platform/files.h"
#include "settings/profiletext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace vespario {

namespace {

// In the order of the Vocabulary enumeration.
const std::array<VocabularyInfo, kVocabularyCount> kInfos = {{
    {"HelperApps", "HelperApp", 100, CodeStyle::None, ' ', "x:"},
    {"ObjectType", "Type", 100, CodeStyle::TwoCharacters, '=', ""},
    {"ObjectSource", "Source", 100, CodeStyle::OneCharacter, '=', ""},
    {"ObjectCheck", "Check", 100, CodeStyle::OneCharacter, '=', ""},
    {"ObjectTry", "Try", 100, CodeStyle::OneCharacter, '=', ""},
    {"ObsPlace", "Place", 100, CodeStyle::OneCharacter, '=', ""},
    {"ObsEquip", "Equip", 100, CodeStyle::OneCharacter, '=', ""},
    {"Edit", "Edit", 150, CodeStyle::None, '\0', ""},
    {"Book", "Book", 200, CodeStyle::Abbreviation, ';', ""},
    {"Mag", "Mag", 32, CodeStyle::OneCharacter, ';', ""},
    {"Planetaria", "Planetarium", 32, CodeStyle::None, ',', ""},
}};

constexpr std::string_view kCountKey = "NumberOf";
constexpr std::string_view kLocation = "Location";
constexpr std::string_view kSettings = "Settings";

template <size_t... I> std::array<CodeList, kVocabularyCount> MakeLists(std::index_sequence<I...>) {
    return {CodeList(kInfos[I])...};
}

struct ListingFile {
    const char *name;
    const char *header;
    Vocabulary list;
};

// The places' header ends in a line feed alone, as in the listing files the program has
// always written.
constexpr std::array<ListingFile, 6> kListingFiles = {{
    {"CurType.txt", "Currently-defined Object Type Codes\r\n", Vocabulary::Types},
    {"CurSrc.txt", "Currently-defined Object Source Codes\r\n", Vocabulary::Sources},
    {"CurTry.txt", "Currently-defined Object Try Codes\r\n", Vocabulary::TryValues},
    {"CurCheck.txt", "Currently-defined Object Checkboxes\r\n", Vocabulary::Checkboxes},
    {"CurLoc.txt", "Currently-defined Observing Locations\n", Vocabulary::Places},
    {"CurEquip.txt", "Currently-defined Observing Equipment\r\n", Vocabulary::Equipment},
}};

// A stored count: missingCount when the key is missing or the number negative, and never
// more than the list can hold.
int32_t ReadCount(const platform::IniProfile &profile, const VocabularyInfo &info,
                  int32_t missingCount) {
    const int32_t count = profile.GetInt(info.section, kCountKey, missingCount);
    if (count < 0)
        return missingCount;
    return std::min(count, info.capacity);
}

// A number read in single precision, as the older profiles were; fallback when it is not
// finite in that precision.
double SinglePrecision(std::string_view text, double fallback) {
    const float value = static_cast<float>(ReadDecimal(text));
    return std::isfinite(value) ? static_cast<double>(value) : fallback;
}

// An entry that already carries the fields of a place record is not extended again.
bool HoldsPlaceFields(std::string_view entry) {
    return entry.find_first_of("|\t") != std::string_view::npos;
}

void RemoveLegacyLocationKeys(platform::IniProfile &profile) {
    for (const char *key : {"Latitude", "Longitude", "TimeZone", "UseDaylight"})
        profile.WriteString(kLocation, key, std::nullopt);
    // "ObsTimeIsForDate" is the key that was read; "ObsTimeForDate" is removed as well in
    // case a profile carries that spelling.
    for (const char *key : {"ObsTimeIsUT", "ObsTimeIsForDate", "ObsTimeForDate"})
        profile.WriteString(kSettings, key, std::nullopt);
}

char CodeFromProfile(int value) {
    return value >= -128 && value <= 255 ? static_cast<char>(value) : '\0';
}

} // namespace

const VocabularyInfo &InfoOf(Vocabulary vocabulary) {
    return kInfos[static_cast<size_t>(vocabulary)];
}

SettingsVocabularies::SettingsVocabularies()
    : m_lists(MakeLists(std::make_index_sequence<kVocabularyCount>())) {
    RebuildEditFlags();
}

std::vector<std::string> SettingsVocabularies::ReadEntries(const platform::IniProfile &profile,
                                                           Vocabulary v, int32_t count) const {
    const CodeList &list = List(v);
    std::vector<std::string> entries;
    entries.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        entries.push_back(ReadProfileText(profile, list.Info().section, list.EntryKey(i),
                                          list.Info().missingEntry));
    return entries;
}

void SettingsVocabularies::LoadList(platform::IniProfile &profile, Vocabulary v) {
    const int32_t count = ReadCount(profile, InfoOf(v), 0);
    List(v).Assign(ReadEntries(profile, v, count));
}

std::optional<ObservingPlace> LegacyLocation(const platform::IniProfile &profile) {
    const std::string latitude = ReadProfileText(profile, kLocation, "Latitude", "x");
    if (latitude == "x")
        return std::nullopt;
    ObservingPlace place;
    place.Parse("X=X"); // code and name; every field is set below
    const double lat = SinglePrecision(latitude, 0.0);
    const double lon = SinglePrecision(
        ReadProfileText(profile, kLocation, "Longitude", "-83.036944444"), -83.036944444);
    place.SetLatitude(std::fabs(lat), lat < 0.0);
    place.SetLongitude(std::fabs(lon), lon < 0.0);
    place.SetZoneOffset(
        SinglePrecision(ReadProfileText(profile, kLocation, "TimeZone", "-5"), -5.0));
    place.SetUseDaylight(profile.GetInt(kLocation, "UseDaylight", 1) != 0);
    place.SetObservationTimeIsUT(profile.GetInt(kSettings, "ObsTimeIsUT", 0) != 0);
    place.SetObservationTimeIsForDate(profile.GetInt(kSettings, "ObsTimeIsForDate", 0) != 0);
    place.SetDaylightRules(3, 0, 9, 5); // first Sunday of April to last Sunday of October
    place.SetZoneNames("EST", "EDT");
    return place;
}

// An older profile kept one location in "Location" and the places' codes and names alone;
// its fields are appended to every place (written back at once) and the old keys removed,
// so that a second start finds nothing left to migrate. A profile without any place gets
// the location itself as its one place, so that it is not lost.
void SettingsVocabularies::LoadPlaces(platform::IniProfile &profile) {
    const VocabularyInfo &info = InfoOf(Vocabulary::Places);
    const std::optional<ObservingPlace> legacy = LegacyLocation(profile);
    const int32_t count = ReadCount(profile, info, 0);
    std::vector<std::string> entries = ReadEntries(profile, Vocabulary::Places, count);
    if (legacy) {
        const std::string record = legacy->Format('|');
        const std::string fields = record.substr(3); // after "X=X"
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].empty() || HoldsPlaceFields(entries[i]))
                continue;
            entries[i] += fields;
            profile.WriteString(info.section,
                                List(Vocabulary::Places).EntryKey(static_cast<int32_t>(i)),
                                entries[i]);
        }
        if (entries.empty()) {
            entries.push_back(record);
            profile.WriteInt(info.section, kCountKey, 1);
            profile.WriteString(info.section, List(Vocabulary::Places).EntryKey(0), record);
        }
        RemoveLegacyLocationKeys(profile);
    }
    List(Vocabulary::Places).Assign(std::move(entries));
    SetDefaultPlaceCode(CodeFromProfile(profile.GetInt(info.section, "Default", 0)));
}

void SettingsVocabularies::LoadBooks(platform::IniProfile &profile) {
    const int32_t count = ReadCount(profile, InfoOf(Vocabulary::Books), -1);
    CodeList &books = List(Vocabulary::Books);
    books.Assign(count < 0 ? DefaultBooks() : ReadEntries(profile, Vocabulary::Books, count));
    const bool hasXu98 =
        std::any_of(books.Entries().begin(), books.Entries().end(),
                    [](const std::string &entry) { return entry.compare(0, 4, "XU98") == 0; });
    if (!hasXu98)
        books.Append(std::string(kXu98Book)); // refused when the list is full
}

void SettingsVocabularies::LoadMagazines(platform::IniProfile &profile) {
    const int32_t count = ReadCount(profile, InfoOf(Vocabulary::Magazines), -1);
    List(Vocabulary::Magazines)
        .Assign(count < 0 ? DefaultMagazines()
                          : ReadEntries(profile, Vocabulary::Magazines, count));
}

void SettingsVocabularies::LoadVocabularies(platform::IniProfile &profile) {
    for (Vocabulary v : kVocabularyLoadOrder) {
        switch (v) {
        case Vocabulary::Places:
            LoadPlaces(profile);
            break;
        case Vocabulary::Books:
            LoadBooks(profile);
            break;
        case Vocabulary::Magazines:
            LoadMagazines(profile);
            break;
        default:
            LoadList(profile, v);
            break;
        }
    }
    RebuildEditFlags();
    m_currentPlanetarium = profile.GetInt(InfoOf(Vocabulary::Planetaria).section, "Current", -1);
}

void SettingsVocabularies::SaveVocabularies(platform::IniProfile &profile) const {
    for (Vocabulary v : kVocabularyLoadOrder) {
        const CodeList &list = List(v);
        const std::string_view section = list.Info().section;
        profile.WriteInt(section, kCountKey, list.Count());
        for (int32_t i = 0; i < list.Count(); ++i)
            profile.WriteString(section, list.EntryKey(i), list.Entry(i));
        if (v == Vocabulary::Places)
            profile.WriteInt(section, "Default", static_cast<unsigned char>(m_defaultPlaceCode));
        if (v == Vocabulary::Planetaria)
            profile.WriteInt(section, "Current", m_currentPlanetarium);
    }
}

int SettingsVocabularies::WriteListingFiles(const std::string &folder, std::string *error) const {
    int written = 0;
    for (const ListingFile &file : kListingFiles) {
        std::string text = file.header;
        for (const std::string &entry : List(file.list).Entries())
            text.append(" ").append(entry).append("\r\n");
        std::string reason;
        const std::string path = folder + "/" + file.name;
        if (platform::WriteWholeFileAtomic(path, text, &reason))
            ++written;
        else if (error != nullptr)
            error->append(error->empty() ? "" : "\n").append(reason.empty() ? path : reason);
    }
    return written;
}

void SettingsVocabularies::RebuildEditFlags() {
    m_editFlags.clear();
    for (const std::string &entry : EditChecks().Entries())
        m_editFlags += entry.empty() ? 'N' : entry.front();
    if (m_editFlags.size() < kEditFlagLength)
        m_editFlags.resize(kEditFlagLength, 'N');
}

int32_t SettingsVocabularies::DefaultPlaceIndex() const {
    if (Places().Count() == 0)
        return -1;
    const int32_t found = Places().Find(std::string_view(&m_defaultPlaceCode, 1));
    return found >= 0 ? found : 0;
}

void SettingsVocabularies::SetDefaultPlaceCode(char code) {
    const CodeList &places = Places();
    int32_t index = code == '\0' ? -1 : places.Find(std::string_view(&code, 1));
    for (int32_t i = 0; index < 0 && i < places.Count(); ++i) {
        if (!places.CodeOf(i).empty())
            index = i;
    }
    if (index < 0 && places.Count() > 0)
        index = 0;
    // The code kept is the one of the place in use, so that what is saved is what was used.
    const std::string_view used = places.CodeOf(index);
    m_defaultPlaceCode = used.empty() ? '\0' : used.front();
    if (index >= 0)
        m_currentPlace.Parse(places.Entry(index));
}

} // namespace vespario
