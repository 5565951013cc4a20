#include "settings/codelist.h"

namespace vespario {

namespace {

const std::string kNoEntry;

} // namespace

const std::string &CodeList::Entry(int32_t i) const {
    if (i < 0 || i >= Count())
        return kNoEntry;
    return m_entries[static_cast<size_t>(i)];
}

std::string CodeList::EntryKey(int32_t i) const {
    return std::string(m_info->entryPrefix) + std::to_string(i);
}

bool CodeList::Assign(std::vector<std::string> entries) {
    const bool fits = entries.size() <= static_cast<size_t>(Capacity());
    if (!fits)
        entries.resize(static_cast<size_t>(Capacity()));
    m_entries = std::move(entries);
    RebuildIndex();
    return fits;
}

bool CodeList::Append(std::string entry) {
    if (IsFull())
        return false;
    m_entries.push_back(std::move(entry));
    RebuildIndex();
    return true;
}

bool CodeList::SetEntry(int32_t i, std::string entry) {
    if (i < 0 || i >= Count())
        return false;
    m_entries[static_cast<size_t>(i)] = std::move(entry);
    RebuildIndex();
    return true;
}

void CodeList::Clear() {
    m_entries.clear();
    RebuildIndex();
}

std::string_view CodeList::CodeOfEntry(std::string_view entry, CodeStyle style) {
    switch (style) {
    case CodeStyle::OneCharacter:
        return entry.substr(0, 1);
    case CodeStyle::TwoCharacters:
        return entry.size() >= 2 ? entry.substr(0, 2) : std::string_view();
    case CodeStyle::Abbreviation: {
        const size_t semicolon = entry.find(';');
        return semicolon == std::string_view::npos ? std::string_view()
                                                   : entry.substr(0, semicolon);
    }
    case CodeStyle::None:
        break;
    }
    return {};
}

std::string_view CodeList::CodeOf(int32_t i) const {
    return CodeOfEntry(Entry(i), m_info->code);
}

// An entry too short to carry a whole code adds nothing, so that the index holds only
// codes that a look-up can find.
void CodeList::RebuildIndex() {
    m_codeIndex.clear();
    if (m_info->code == CodeStyle::TwoCharacters)
        m_codeIndex = "=";
    if (m_info->code != CodeStyle::OneCharacter && m_info->code != CodeStyle::TwoCharacters)
        return;
    for (const std::string &entry : m_entries) {
        const std::string_view code = CodeOfEntry(entry, m_info->code);
        if (code.empty())
            continue;
        m_codeIndex += code;
        if (m_info->code == CodeStyle::TwoCharacters)
            m_codeIndex += '=';
    }
}

// Walks the entries rather than searching the index text: a code that itself holds "="
// could otherwise be found across the boundary of two codes.
int32_t CodeList::Find(std::string_view code) const {
    if (code.empty() || m_info->code == CodeStyle::None)
        return -1;
    for (int32_t i = 0; i < Count(); ++i) {
        if (CodeOf(i) == code)
            return i;
    }
    return -1;
}

std::string_view CodeList::MeaningOf(int32_t i) const {
    const std::string_view entry = Entry(i);
    size_t start = 0;
    switch (m_info->code) {
    case CodeStyle::OneCharacter:
        start = 2;
        break;
    case CodeStyle::TwoCharacters:
        start = 3;
        break;
    case CodeStyle::Abbreviation:
        start = entry.find(';');
        start = start == std::string_view::npos ? entry.size() : start + 1;
        break;
    case CodeStyle::None:
        break;
    }
    return start < entry.size() ? entry.substr(start) : std::string_view();
}

std::string_view CodeList::Meaning(std::string_view code) const {
    const int32_t i = Find(code);
    return i < 0 ? std::string_view() : MeaningOf(i);
}

} // namespace vespario
