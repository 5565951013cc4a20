#include "app/helperapppagemodel.h"

#include "app/codepagemodel.h"

namespace vespario {

namespace {

// The next comma-separated field of text, which loses it and its comma.
std::string NextField(std::string_view &text) {
    const size_t comma = text.find(',');
    const std::string field(text.substr(0, comma));
    text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    return field;
}

} // namespace

void HelperAppPageModel::Load(const AppSettings &settings) {
    m_rows.clear();
    for (std::string entry : settings.Vocabularies().HelperApps().Entries()) {
        const size_t blank = entry.find(' ');
        if (blank != std::string::npos)
            entry[blank] = '\t';
        m_rows.push_back(std::move(entry));
    }
    Select(-1);
}

void HelperAppPageModel::Select(int row) {
    m_selected = row >= 0 && row < static_cast<int>(m_rows.size()) ? row : -1;
    m_fields =
        m_selected >= 0 ? ParseRow(m_rows[static_cast<size_t>(m_selected)]) : HelperAppFields();
}

HelperAppFields HelperAppPageModel::ParseRow(std::string_view row) {
    HelperAppFields fields;
    const size_t tab = row.find('\t');
    fields.lookFor = std::string(row.substr(0, tab));
    if (tab == std::string_view::npos)
        return fields;
    std::string_view rest = row.substr(tab + 1);
    fields.command = NextField(rest);
    fields.useDde = NextField(rest) == "DDE";
    fields.ddeApplication = NextField(rest);
    fields.ddeTopic = NextField(rest);
    fields.ddeMethod = NextField(rest) == "1" ? 1 : 0;
    fields.ddeMessage = std::string(rest); // the message may hold commas of its own
    return fields;
}

// Texts must not end their field early: the look-for text ends at its first blank (the
// profile separates it from the command with one), and the fields before the message lose
// their commas.
std::string HelperAppPageModel::FormatRow(const HelperAppFields &f) {
    const std::string lookFor = CleanFieldText(f.lookFor);
    std::string row = lookFor.substr(0, lookFor.find(' ')) + "\t";
    row += CleanFieldText(f.command, ",") + "," + (f.useDde ? "DDE" : "NoDDE") + ",";
    row += CleanFieldText(f.ddeApplication, ",") + "," + CleanFieldText(f.ddeTopic, ",") + ",";
    row += std::to_string(f.ddeMethod == 1 ? 1 : 0) + "," + CleanFieldText(f.ddeMessage);
    return row;
}

void HelperAppPageModel::SetFields(const HelperAppFields &fields) {
    if (m_selected < 0)
        return;
    m_fields = fields;
    m_rows[static_cast<size_t>(m_selected)] = FormatRow(m_fields);
}

bool HelperAppPageModel::Insert() {
    const int32_t capacity = InfoOf(Vocabulary::HelperApps).capacity;
    if (static_cast<int32_t>(m_rows.size()) >= capacity) {
        m_host.MessageBox("This list is full: it can hold at most " + std::to_string(capacity) +
                              " entries.",
                          kMessageTitle, platform::Buttons::Ok);
        return false;
    }
    const int at = m_selected >= 0 ? m_selected : static_cast<int>(m_rows.size());
    m_rows.insert(m_rows.begin() + at, std::string(kNewHelperAppRow));
    Select(at);
    return true;
}

bool HelperAppPageModel::Delete() {
    if (m_selected < 0)
        return false;
    m_rows.erase(m_rows.begin() + m_selected);
    Select(-1);
    return true;
}

void HelperAppPageModel::Assist(int browser) {
    if (m_selected < 0)
        return;
    HelperAppFields fields = m_fields;
    fields.useDde = true;
    fields.ddeApplication = browser == 1 ? "IExplore" : "Netscape";
    fields.ddeTopic = "WWW_OpenURL";
    fields.ddeMethod = 0;
    fields.ddeMessage = "%s,,0xffffffff,,%s,,";
    SetFields(fields);
}

std::string HelperAppPageModel::BrowseTitle() const {
    return "Program to handle " + m_fields.lookFor + " files";
}

void HelperAppPageModel::Store(AppSettings &settings) const {
    std::vector<std::string> entries;
    for (std::string row : m_rows) {
        const size_t tab = row.find('\t');
        if (tab != std::string::npos)
            row[tab] = ' ';
        entries.push_back(std::move(row));
    }
    settings.Vocabularies().List(Vocabulary::HelperApps).Assign(std::move(entries));
}

} // namespace vespario
