#include "app/sourcepagemodel.h"

namespace vespario {

CodePageTraits SourcePageTraits() {
    return {
        .vocabulary = Vocabulary::Sources,
        .newRow = "X\tundefined\t\t\t\t\t\t\t\t\t\t\t\t0",
        .deleteQuestion = "Are you sure you wish to delete this source, and have you ensured it is "
                          "not used by any object ?",
        .duplicateMessage = "Unique codes must be used for all Sources. %s is a duplicate.",
    };
}

SourcePageModel::SourcePageModel(platform::Host &host) : CodePageModel(SourcePageTraits(), host) {}

std::string SourcePageModel::FormatRow(std::string_view code, std::string_view meaning, bool flag) {
    return std::string(code) + "\t" + std::string(meaning) + std::string(12, '\t') +
           (flag ? "1" : "0");
}

std::string SourcePageModel::RowFromEntry(const std::string &entry,
                                          const AppSettings &settings) const {
    const std::string code = entry.substr(0, 1);
    const size_t meaningStart = entry.size() > 1 && entry[1] == '=' ? 2 : 1;
    const std::string meaning =
        entry.size() > meaningStart ? CleanFieldText(entry.substr(meaningStart)) : std::string();
    const bool flag = !code.empty() && settings.General().posnSrc.find(code) != std::string::npos;
    return FormatRow(code, meaning, flag);
}

// The separator is restored first and the row then cut at its first tab, the one in front
// of the flag's columns; cut the other way round, the meaning would be lost.
std::string SourcePageModel::EntryFromRow(const std::string &row) const {
    std::string entry = row;
    if (entry.size() > 1 && entry[1] == '\t')
        entry[1] = '=';
    const size_t tab = entry.find('\t');
    if (tab != std::string::npos)
        entry.resize(tab);
    return entry;
}

void SourcePageModel::FillEditBoxes(const std::string &row) {
    m_codeText = row.substr(0, 1);
    const std::string rest = row.size() > 2 ? row.substr(2) : std::string();
    m_meaningText = rest.substr(0, rest.find('\t'));
    m_requiresPosition = !row.empty() && row.back() > '0';
}

void SourcePageModel::ClearEditBoxes() {
    CodePageModel::ClearEditBoxes();
    m_requiresPosition = false;
}

std::string SourcePageModel::RowFromEditBoxes() const {
    return FormatRow(StoredCode(), StoredMeaning(), m_requiresPosition);
}

void SourcePageModel::SetRequiresPosition(bool required) {
    if (m_selected < 0)
        return;
    m_requiresPosition = required;
    RewriteSelected();
}

bool SourcePageModel::CanDelete(int row) const {
    return CodeOfRow(m_rows[static_cast<size_t>(row)].text) != "z";
}

void SourcePageModel::Store(AppSettings &settings) {
    CodePageModel::Store(settings);
    std::string posnSrc;
    for (const PageRow &row : m_rows) {
        if (!row.text.empty() && row.text.back() != '0')
            posnSrc += row.text.substr(0, 1);
    }
    settings.General().posnSrc = posnSrc;
}

} // namespace vespario
