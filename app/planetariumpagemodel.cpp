#include "app/planetariumpagemodel.h"

#include "app/codepagemodel.h"

namespace vespario {

const std::array<ReadyMadePlanetarium, 12> kReadyMadePlanetaria = {{
    {"SkyMap 3.0.1", "SkyMap,,fa ,er,es,et,ed,ee,ef,cN,-cS,e6,bOK"},
    {"theSky 2.0", "TheSky,,tv,b&RA DEC,sr,ss,st,sd,se,sf,b&North,-bSo&uth,bOK"},
    {"MegaStar 3.08", "MegaStar,,ic,er s t,e+d e f,bOK"},
    {"MyStars 2.3.1", "MyStars,,vtq,er:s:t,e+d:e:f,bOK"},
    {"ECU 3.0", "The Earth Centered Universe,,co ,er,eu,e+d,eg,bOK"},
    {"SkyChart 2000 2.5.3",
     "SkyChart 2000,,vc,bCenter on coo&rdinates,b&Equatorial,e,er s t,e+d e f,b&OK"},
    {"SkyMap 3.1.10", "SkyMap,,fa ,er,es,et,ed,ee,ef,e,-s-1,e6,bOK"},
    {"TheSky IV 4.0X", "TheSky,,oM,bE&quatorial,er,es,et,ed,ee,ef,b&North,-bSo&uth,bOK"},
    {"Guide 6.0", "Guide6,,gdr,erhsmt\\s,e+d e's\",bOK"},
    {"Guide 6.0 22 Feb 98", "Guide6,,gdr,erhsmt\\s,e+d e's\",b OK ,"},
    {"SkyChart 2000 2.7", "SkyChart 2000,,vc,b&Equatorial,er s t,e+d e f,b&OK"},
    {"Starry Night Deluxe 2.1",
     "Starry Night - untitled,,eg,p,p,p,p,p,p,p,p,p,p,er,eu,e+d,eg,bCentre"},
}};

void PlanetariumPageModel::Load(const AppSettings &settings) {
    const SettingsVocabularies &v = settings.Vocabularies();
    m_rows = v.Planetaria().Entries();
    Select(v.CurrentPlanetarium());
}

void PlanetariumPageModel::Select(int row) {
    m_selected = row >= 0 && row < static_cast<int>(m_rows.size()) ? row : -1;
    m_fields =
        m_selected >= 0 ? ParseRow(m_rows[static_cast<size_t>(m_selected)]) : PlanetariumFields();
}

PlanetariumFields PlanetariumPageModel::ParseRow(std::string_view row) {
    PlanetariumFields fields;
    const size_t first = row.find(',');
    fields.title = std::string(row.substr(0, first));
    if (first == std::string_view::npos)
        return fields;
    const size_t second = row.find(',', first + 1);
    fields.executable = std::string(row.substr(first + 1, second - (first + 1)));
    if (second != std::string_view::npos)
        fields.keystrokes = std::string(row.substr(second + 1));
    return fields;
}

// Title and executable end at the first and second comma of the row, so they lose theirs.
std::string PlanetariumPageModel::FormatRow(const PlanetariumFields &fields) {
    return CleanFieldText(fields.title, ",") + "," + CleanFieldText(fields.executable, ",") + "," +
           CleanFieldText(fields.keystrokes);
}

void PlanetariumPageModel::SetFields(const PlanetariumFields &fields) {
    if (m_selected < 0)
        return;
    m_fields = fields;
    m_rows[static_cast<size_t>(m_selected)] = FormatRow(fields);
}

bool PlanetariumPageModel::Append(std::string row) {
    const int32_t capacity = InfoOf(Vocabulary::Planetaria).capacity;
    if (static_cast<int32_t>(m_rows.size()) >= capacity) {
        m_host.MessageBox("This list is full: it can hold at most " + std::to_string(capacity) +
                              " entries.",
                          kMessageTitle, platform::Buttons::Ok);
        return false;
    }
    m_rows.push_back(std::move(row));
    Select(static_cast<int>(m_rows.size()) - 1);
    return true;
}

bool PlanetariumPageModel::Insert() {
    return Append("Unknown,none,none");
}

bool PlanetariumPageModel::Assist(int choice) {
    if (choice < 0 || choice >= static_cast<int>(kReadyMadePlanetaria.size()))
        return false;
    return Append(std::string(kReadyMadePlanetaria[static_cast<size_t>(choice)].row));
}

bool PlanetariumPageModel::Delete() {
    if (m_selected < 0)
        return false;
    if (m_host.MessageBox("Are you sure you wish to delete this planetarium program?",
                          kMessageTitle, platform::Buttons::YesNo) != platform::Answer::Yes)
        return false;
    m_rows.erase(m_rows.begin() + m_selected);
    Select(0);
    return true;
}

std::string PlanetariumPageModel::BrowseTitle() const {
    return "Browse for " + m_fields.title + " Planetarium Program";
}

void PlanetariumPageModel::Store(AppSettings &settings) const {
    SettingsVocabularies &v = settings.Vocabularies();
    v.List(Vocabulary::Planetaria).Assign(m_rows);
    v.SetCurrentPlanetarium(m_selected >= 0 ? m_selected : 0);
}

} // namespace vespario
