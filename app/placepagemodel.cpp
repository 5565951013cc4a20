#include "app/placepagemodel.h"

#include "astro/observingplace.h"

#include <cmath>

namespace vespario {

namespace {

// Each row is parsed on its own, so that a short record never takes the daylight rules of
// the row before.
ObservingPlace ParsePlace(std::string_view record) {
    ObservingPlace place;
    place.Parse(record);
    return place;
}

// Characters that would end a field of the record inside a text field.
constexpr std::string_view kRecordSeparators = "|";

} // namespace

CodePageTraits PlacePageTraits() {
    return {
        .vocabulary = Vocabulary::Places,
        .newRow = "",
        .deleteQuestion = "Are you sure you wish to delete this place,\nand have you ensured it is "
                          "not used by any observation ?",
        .duplicateMessage = "Unique codes must be used for all Places. %s is a duplicate.",
    };
}

PlacePageModel::PlacePageModel(platform::Host &host) : CodePageModel(PlacePageTraits(), host) {}

void PlacePageModel::Load(const AppSettings &settings) {
    CodePageModel::Load(settings);
    m_newRow = settings.Vocabularies().CurrentPlace().Format('\t');
    m_defaultRow = settings.Vocabularies().DefaultPlaceIndex();
    m_placeChanged = false;
    Select(m_defaultRow);
}

bool PlacePageModel::SelectCode(char code) {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (!m_rows[i].text.empty() && m_rows[i].text.front() == code) {
            Select(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

std::string PlacePageModel::RowFromEntry(const std::string &entry, const AppSettings &) const {
    return entry.empty() ? entry : ParsePlace(entry).Format('\t');
}

std::string PlacePageModel::EntryFromRow(const std::string &row) const {
    return row.empty() ? row : ParsePlace(row).Format('|');
}

void PlacePageModel::FillEditBoxes(const std::string &row) {
    const ObservingPlace place = ParsePlace(row);
    m_codeText = place.Code() == '\0' ? std::string() : std::string(1, place.Code());
    m_meaningText = place.Name();
    m_fields.latitude = std::fabs(place.Latitude());
    m_fields.south = place.IsSouth();
    m_fields.longitude = std::fabs(place.Longitude());
    m_fields.west = place.IsWest();
    m_fields.zoneOffset = place.ZoneOffset();
    m_fields.useDaylight = place.UsesDaylight();
    m_fields.startWeek = place.StartWeek();
    m_fields.startMonth = place.StartMonth();
    m_fields.endWeek = place.EndWeek();
    m_fields.endMonth = place.EndMonth();
    m_fields.standardZone = place.StandardZoneName();
    m_fields.daylightZone = place.DaylightZoneName();
    m_fields.observationTimeIsUT = place.ObservationTimeIsUT();
    m_fields.observationTimeIsForDate = place.ObservationTimeIsForDate();
}

std::string PlacePageModel::RowFromEditBoxes() const {
    ObservingPlace place;
    place.Parse(StoredCode() + "=" + CleanFieldText(StoredMeaning(), kRecordSeparators));
    // A set box negates the absolute value; a value typed negative is kept as typed.
    place.SetLatitude(m_fields.south ? -std::fabs(m_fields.latitude) : m_fields.latitude);
    place.SetLongitude(m_fields.west ? -std::fabs(m_fields.longitude) : m_fields.longitude);
    place.SetZoneOffset(m_fields.zoneOffset);
    place.SetUseDaylight(m_fields.useDaylight);
    place.SetDaylightRules(m_fields.startMonth, m_fields.startWeek, m_fields.endMonth,
                           m_fields.endWeek);
    place.SetZoneNames(CleanFieldText(m_fields.standardZone, kRecordSeparators),
                       CleanFieldText(m_fields.daylightZone, kRecordSeparators));
    place.SetObservationTimeIsUT(m_fields.observationTimeIsUT);
    place.SetObservationTimeIsForDate(m_fields.observationTimeIsForDate);
    return place.Format('\t');
}

void PlacePageModel::SetFields(const PlaceFields &fields) {
    if (!MeaningEnabled())
        return;
    m_fields = fields;
    RewriteSelected();
    FillEditBoxes(m_rows[static_cast<size_t>(m_selected)].text); // shows what was stored
}

void PlacePageModel::SetIsUsed(bool used) {
    if (used && m_selected >= 0)
        m_defaultRow = m_selected;
}

bool PlacePageModel::ConfirmDelete() {
    if (m_rows.size() <= 1) {
        m_host.MessageBox("You must keep at least one place so Vespario can make calculations.",
                          kMessageTitle, platform::Buttons::Ok);
        return false;
    }
    return CodePageModel::ConfirmDelete();
}

// The first remaining place becomes the default when the default was deleted.
void PlacePageModel::AfterDelete(int row) {
    if (row == m_defaultRow)
        m_defaultRow = 0;
    else if (row < m_defaultRow)
        --m_defaultRow;
    Select(0);
}

void PlacePageModel::AfterInsert(int row) {
    if (m_defaultRow < 0)
        m_defaultRow = row;
    else if (row <= m_defaultRow)
        ++m_defaultRow;
}

// The default place counts as changed when its code changed, and also when it kept its
// code but its record was edited: the values computed from the old record would be wrong.
void PlacePageModel::Store(AppSettings &settings) {
    SettingsVocabularies &v = settings.Vocabularies();
    const char oldCode = v.DefaultPlaceCode();
    const std::string oldRecord = v.Places().Entry(v.DefaultPlaceIndex());
    CodePageModel::Store(settings);
    const std::string row = m_defaultRow >= 0 && m_defaultRow < static_cast<int>(m_rows.size())
                                ? m_rows[static_cast<size_t>(m_defaultRow)].text
                                : std::string();
    const char code = row.empty() ? '\0' : row.front();
    const std::string newRecord = row.empty() ? std::string() : EntryFromRow(row);
    m_placeChanged = code != oldCode || newRecord != oldRecord;
    if (m_placeChanged)
        v.SetDefaultPlaceCode(code);
}

} // namespace vespario
