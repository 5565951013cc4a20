#pragma once
// The Places page: a code page whose rows are place records in list form (the separator
// after the name a tab). Besides code and name (the code page's two boxes) it edits the
// record's other fields, and "Is Used" makes the selected place the default place. At
// least one place is always kept.

#include "app/codepagemodel.h"

#include <array>

namespace vespario {

// The fields of the selected place beside its code and name, as the page shows them:
// latitude and longitude as absolute values with their South and West boxes.
struct PlaceFields {
    double latitude = 0.0;
    bool south = false;
    double longitude = 0.0;
    bool west = false;
    double zoneOffset = 0.0; // "Local Time = UT plus" ... "hours"
    bool useDaylight = false;
    int startWeek = 0;  // 0 "First" ... 5 "Last"
    int startMonth = 3; // 0 "January" ... 11 "December"
    int endWeek = 5;
    int endMonth = 9;
    std::string standardZone = "EST";
    std::string daylightZone = "EDT";
    bool observationTimeIsUT = false;      // "Local Time" or "UT"
    bool observationTimeIsForDate = false; // "Evening's date is used all night" or
                                           // "Date is changed at midnight"
};

inline constexpr std::array<std::string_view, 6> kDaylightWeekNames = {"First",  "Second", "Third",
                                                                       "Fourth", "Fifth",  "Last"};
inline constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

class PlacePageModel : public CodePageModel {
public:
    explicit PlacePageModel(platform::Host &host);

    // Opens on the places and selects the default place.
    void Load(const AppSettings &settings) override;
    // Selects the place with that code (the sheet is opened with one); false when none has.
    bool SelectCode(char code);

    const PlaceFields &Fields() const { return m_fields; }
    // The fields reaching the page; while a row is selected they rewrite it. A latitude or
    // longitude typed negative stays negative whatever its box says.
    void SetFields(const PlaceFields &fields);

    // "Is Used": whether the selected place is the default place; checking it makes it so.
    // The default place cannot be unchecked: one place is always the default.
    bool IsUsed() const { return m_selected >= 0 && m_selected == m_defaultRow; }
    void SetIsUsed(bool used);
    int DefaultRow() const { return m_defaultRow; }

    // OK: the rows, re-formatted with "|", replace the places; the default place's code is
    // stored. PlaceChanged() then tells whether the default place is another one or its
    // record changed: the current place record was replaced and the main window is to
    // recompute what depends on the place.
    void Store(AppSettings &settings) override;
    bool PlaceChanged() const { return m_placeChanged; }

protected:
    std::string RowFromEntry(const std::string &entry, const AppSettings &settings) const override;
    std::string EntryFromRow(const std::string &row) const override;
    void FillEditBoxes(const std::string &row) override;
    std::string RowFromEditBoxes() const override;
    std::string NewRow() const override { return m_newRow; }
    bool ConfirmDelete() override;
    void AfterDelete(int row) override;
    void AfterInsert(int row) override;

private:
    int m_defaultRow = -1;
    PlaceFields m_fields;
    std::string m_newRow;
    bool m_placeChanged = false;
};

CodePageTraits PlacePageTraits();

} // namespace vespario
