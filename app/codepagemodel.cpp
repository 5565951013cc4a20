#include "app/codepagemodel.h"

#include <algorithm>

namespace vespario {

namespace {

std::string FormatWithText(std::string_view format, std::string_view text) {
    std::string message(format);
    const size_t at = message.find("%s");
    if (at != std::string::npos)
        message.replace(at, 2, text);
    return message;
}

} // namespace

std::string CleanFieldText(std::string_view text, std::string_view alsoRemove) {
    std::string clean(text);
    for (char &c : clean) {
        if (c == '\t' || c == '\r' || c == '\n' || alsoRemove.find(c) != std::string_view::npos)
            c = ' ';
    }
    return clean;
}

CodePageModel::CodePageModel(const CodePageTraits &traits, platform::Host &host)
    : m_host(host), m_traits(traits) {}

void CodePageModel::Load(const AppSettings &settings) {
    m_rows.clear();
    for (const std::string &entry : settings.Vocabularies().List(m_traits.vocabulary).Entries())
        m_rows.push_back(PageRow{RowFromEntry(entry, settings), true});
    Select(-1);
}

std::string CodePageModel::RowFromEntry(const std::string &entry, const AppSettings &) const {
    const size_t width = static_cast<size_t>(m_traits.codeWidth);
    std::string row = entry;
    if (width > 0 && row.size() > width && row[width] == m_traits.storedSeparator)
        row[width] = m_traits.rowSeparator;
    return row;
}

std::string CodePageModel::EntryFromRow(const std::string &row) const {
    const size_t width = static_cast<size_t>(m_traits.codeWidth);
    std::string entry = row;
    if (width > 0 && entry.size() > width && entry[width] == m_traits.rowSeparator)
        entry[width] = m_traits.storedSeparator;
    return entry;
}

void CodePageModel::Select(int row) {
    m_selected = row >= 0 && row < static_cast<int>(m_rows.size()) ? row : -1;
    ClearEditBoxes();
    if (m_selected >= 0)
        FillEditBoxes(m_rows[static_cast<size_t>(m_selected)].text);
}

void CodePageModel::ClearEditBoxes() {
    m_codeText.clear();
    m_meaningText.clear();
}

void CodePageModel::FillEditBoxes(const std::string &row) {
    if (m_traits.codeWidth == 0) {
        const size_t semicolon = row.find(';');
        m_codeText = row.substr(0, semicolon);
        m_meaningText = semicolon == std::string::npos ? std::string() : row.substr(semicolon + 1);
        return;
    }
    const size_t width = static_cast<size_t>(m_traits.codeWidth);
    m_codeText = row.substr(0, width);
    m_meaningText = row.size() > width + 1 ? row.substr(width + 1) : std::string();
}

std::string CodePageModel::StoredCode() const {
    if (m_traits.codeWidth == 0) {
        std::string code = CleanFieldText(m_codeText);
        std::erase(code, ';'); // the abbreviation ends at the first ";" of the entry
        return code.empty() ? "X" : code;
    }
    std::string code = CleanFieldText(m_codeText);
    code.resize(static_cast<size_t>(m_traits.codeWidth), 'X');
    return code;
}

std::string CodePageModel::StoredMeaning() const {
    const std::string meaning = CleanFieldText(m_meaningText);
    return meaning.empty() ? std::string(m_traits.emptyMeaning) : meaning;
}

std::string CodePageModel::RowFromEditBoxes() const {
    return StoredCode() + m_traits.rowSeparator + StoredMeaning();
}

void CodePageModel::RewriteSelected() {
    if (m_selected >= 0)
        m_rows[static_cast<size_t>(m_selected)].text = RowFromEditBoxes();
}

void CodePageModel::SetCodeText(std::string_view text) {
    if (!CodeEnabled())
        return;
    if (m_traits.codeBoxLimit > 0)
        text = text.substr(0, m_traits.codeBoxLimit);
    m_codeText = text;
    RewriteSelected();
}

void CodePageModel::SetMeaningText(std::string_view text) {
    if (!MeaningEnabled())
        return;
    m_meaningText = text;
    RewriteSelected();
}

bool CodePageModel::CanDelete(int) const {
    return true;
}

bool CodePageModel::DeleteEnabled() const {
    return m_selected >= 0 && CanDelete(m_selected);
}

bool CodePageModel::CodeEnabled() const {
    if (m_selected < 0)
        return false;
    return !(m_traits.lockLoadedCodes && m_rows[static_cast<size_t>(m_selected)].loaded);
}

bool CodePageModel::RefuseWhenFull() {
    const int32_t capacity = InfoOf(m_traits.vocabulary).capacity;
    if (static_cast<int32_t>(m_rows.size()) < capacity)
        return false;
    m_host.MessageBox("This list is full: it can hold at most " + std::to_string(capacity) +
                          " entries.",
                      kMessageTitle, platform::Buttons::Ok);
    return true;
}

bool CodePageModel::Insert() {
    if (RefuseWhenFull())
        return false;
    const int at = m_selected >= 0 ? m_selected : static_cast<int>(m_rows.size());
    m_rows.insert(m_rows.begin() + at, PageRow{NewRow(), false});
    AfterInsert(at);
    Select(at);
    return true;
}

bool CodePageModel::ConfirmDelete() {
    return m_host.MessageBox(m_traits.deleteQuestion, kMessageTitle, platform::Buttons::YesNo) ==
           platform::Answer::Yes;
}

bool CodePageModel::Delete() {
    if (!DeleteEnabled() || !ConfirmDelete())
        return false;
    const int row = m_selected;
    m_rows.erase(m_rows.begin() + row);
    AfterDelete(row);
    return true;
}

void CodePageModel::AfterDelete(int) {
    Select(-1);
}

// A row too short for a code (its separator where the code should be) carries none.
std::string CodePageModel::CodeOfRow(std::string_view row) const {
    if (m_traits.codeWidth > 0) {
        const std::string_view code = row.substr(0, static_cast<size_t>(m_traits.codeWidth));
        if (code.find(m_traits.rowSeparator) != std::string_view::npos)
            return {};
        return std::string(code);
    }
    const size_t semicolon = row.find(';');
    if (semicolon == std::string_view::npos || semicolon == 0)
        return {};
    return std::string(row.substr(0, semicolon));
}

bool CodePageModel::CheckCodes() {
    std::vector<std::string> seen;
    for (const PageRow &row : m_rows) {
        std::string code = CodeOfRow(row.text);
        if (code.empty())
            continue;
        if (std::find(seen.begin(), seen.end(), code) != seen.end()) {
            m_host.MessageBox(FormatWithText(m_traits.duplicateMessage, code), kMessageTitle,
                              platform::Buttons::Ok);
            return false;
        }
        seen.push_back(std::move(code));
    }
    return true;
}

void CodePageModel::Store(AppSettings &settings) {
    std::vector<std::string> entries;
    entries.reserve(m_rows.size());
    for (const PageRow &row : m_rows)
        entries.push_back(EntryFromRow(row.text));
    settings.Vocabularies().List(m_traits.vocabulary).Assign(std::move(entries));
}

// --- the pages that need nothing more --------------------------------------------------------

CodePageTraits TypePageTraits() {
    return {
        .vocabulary = Vocabulary::Types,
        .codeWidth = 2,
        .codeBoxLimit = 2,
        .newRow = "XX\tundefined",
        .deleteQuestion =
            "Are you sure you wish to delete this type,\nand have you ensured it is not "
            "used by any objects ?",
        .duplicateMessage = "Unique codes must be used for all Types. %s is a duplicate.",
    };
}

CodePageTraits CheckboxPageTraits() {
    return {
        .vocabulary = Vocabulary::Checkboxes,
        .newRow = "X\tundefined",
        .deleteQuestion =
            "Are you sure you wish to delete this checkbox,\nand have you ensured it is "
            "not checked in any object ?",
        .duplicateMessage = "Unique codes must be used for all Checkboxes. %s is a duplicate.",
    };
}

CodePageTraits TryPageTraits() {
    return {
        .vocabulary = Vocabulary::TryValues,
        .newRow = "X\tundefined",
        .deleteQuestion =
            "Are you sure you wish to delete this try value,\nand have you ensured it "
            "is not used in any objects ?",
        .duplicateMessage = "Unique codes must be used for all Try entries. %s is a duplicate.",
    };
}

// The equipment box takes any number of characters; the code is cut to one all the same.
CodePageTraits EquipmentPageTraits() {
    return {
        .vocabulary = Vocabulary::Equipment,
        .codeBoxLimit = 0,
        .newRow = "X\tundefined",
        .deleteQuestion =
            "Are you sure you wish to delete this equipment code,\nand have you ensured "
            "it is not used by any observation ?",
        .duplicateMessage = "Unique codes must be used for all Equipment. %s is a duplicate.",
    };
}

CodePageTraits BookPageTraits() {
    return {
        .vocabulary = Vocabulary::Books,
        .codeWidth = 0,
        .codeBoxLimit = 0,
        .rowSeparator = ';',
        .storedSeparator = ';',
        .emptyMeaning = "NewBook",
        .lockLoadedCodes = false,
        .newRow = "X;NewBook",
        .deleteQuestion = "Are you sure you wish to delete this Book ?",
        .duplicateMessage = "Unique codes must be used for all Books. %s is a duplicate.",
    };
}

CodePageTraits MagazinePageTraits() {
    return {
        .vocabulary = Vocabulary::Magazines,
        .storedSeparator = ';',
        .emptyMeaning = "NewMag",
        .lockLoadedCodes = false,
        .newRow = "X\tNewMag",
        .deleteQuestion = "Are you sure you wish to delete this Magazine ?",
        .duplicateMessage = "Unique codes must be used for all Magazines. %s is a duplicate.",
    };
}

} // namespace vespario
