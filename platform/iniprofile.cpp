#include "platform/iniprofile.h"

#include "platform/files.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>

namespace vespario::platform {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\r\n\v\f";

// The name of a section header line ("[name]", blanks allowed), or nullopt for other lines.
std::optional<std::string_view> HeaderName(std::string_view line) {
    const std::string_view text = TrimWhiteSpace(line);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const size_t close = text.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimWhiteSpace(text.substr(1, close - 1));
}

bool IsWritableSection(std::string_view name) {
    return name.find_first_of("]\r\n") == std::string_view::npos;
}

bool IsWritableKey(std::string_view key) {
    return !key.empty() && key.front() != '[' && key.front() != ';' &&
           key.find_first_of("=\r\n") == std::string_view::npos;
}

// FNV-1a over the names with ASCII case folded, a zero byte between section and key.
uint32_t NameHash(std::string_view section, std::optional<std::string_view> key = {}) {
    uint32_t hash = 2166136261u;
    auto add = [&hash](char c) {
        hash ^= static_cast<unsigned char>(LowerAscii(c));
        hash *= 16777619u;
    };
    for (char c : section)
        add(c);
    if (key) {
        add('\0');
        for (char c : *key)
            add(c);
    }
    return hash;
}

// Probes an open-addressing table for hash; found(slot) tells whether a slot with that hash
// holds the name sought. Returns the matching slot, or the empty slot where it would go.
template <class Slot, class Found>
size_t Probe(const std::vector<Slot> &slots, uint32_t hash, uint32_t empty, Found found) {
    const size_t mask = slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot &slot = slots[i];
        if (slot.section == empty || (slot.hash == hash && found(slot)))
            return i;
    }
}

// Makes room for one more entry, keeping the table at most half full.
template <class Slot> void Reserve(std::vector<Slot> &slots, size_t count, uint32_t empty) {
    if (2 * (count + 1) <= slots.size())
        return;
    std::vector<Slot> old = std::move(slots);
    slots.assign(std::max<size_t>(16, 2 * old.size()), Slot{});
    const size_t mask = slots.size() - 1;
    for (const Slot &slot : old) {
        if (slot.section == empty)
            continue;
        size_t i = slot.hash & mask;
        while (slots[i].section != empty)
            i = (i + 1) & mask;
        slots[i] = slot;
    }
}

} // namespace

IniProfile::Line IniProfile::ParseLine(std::string text) {
    Line line;
    const std::string_view trimmed = TrimWhiteSpace(text);
    const size_t equals = text.find('=');
    if (!trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '[' &&
        equals != std::string::npos) {
        line.key = std::string(TrimWhiteSpace(std::string_view(text).substr(0, equals)));
        line.valueStart = equals + 1;
    }
    line.text = std::move(text);
    return line;
}

std::string IniProfile::ValueOf(const Line &line) {
    std::string_view value = TrimWhiteSpace(std::string_view(line.text).substr(line.valueStart));
    // One pair of enclosing quotes, single or double, is not part of the value.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

void IniProfile::IndexSection(uint32_t section) {
    Reserve(m_sectionSlots, m_sectionCount, kEmptySlot);
    const std::string &name = m_sections[section].name;
    const uint32_t hash = NameHash(name);
    const size_t at = Probe(m_sectionSlots, hash, kEmptySlot, [&](const Slot &slot) {
        return EqualNoCaseAscii(m_sections[slot.section].name, name);
    });
    if (m_sectionSlots[at].section != kEmptySlot)
        return;
    m_sectionSlots[at] = Slot{hash, section, 0};
    ++m_sectionCount;
}

bool IniProfile::SameKeySlot(const Slot &slot, std::string_view section,
                             std::string_view key) const {
    const Section &s = m_sections[slot.section];
    return EqualNoCaseAscii(s.lines[slot.line].key, key) && EqualNoCaseAscii(s.name, section);
}

void IniProfile::IndexKey(uint32_t section, uint32_t line) {
    Reserve(m_keySlots, m_keyCount, kEmptySlot);
    const std::string &name = m_sections[section].name;
    const std::string &key = m_sections[section].lines[line].key;
    const uint32_t hash = NameHash(name, key);
    const size_t at = Probe(m_keySlots, hash, kEmptySlot,
                            [&](const Slot &slot) { return SameKeySlot(slot, name, key); });
    if (m_keySlots[at].section != kEmptySlot)
        return;
    m_keySlots[at] = Slot{hash, section, line};
    ++m_keyCount;
}

void IniProfile::RebuildIndex() {
    m_sectionSlots.clear();
    m_keySlots.clear();
    m_sectionCount = m_keyCount = 0;
    for (uint32_t s = 0; s < m_sections.size(); ++s) {
        if (!m_sections[s].hasHeader)
            continue;
        IndexSection(s);
        for (uint32_t line = 0; line < m_sections[s].lines.size(); ++line) {
            if (!m_sections[s].lines[line].key.empty())
                IndexKey(s, line);
        }
    }
}

void IniProfile::SetText(std::string_view text) {
    m_sections.clear();
    m_sections.push_back(Section{false, {}, {}, {}});
    m_byteOrderMark = text.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (m_byteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (const auto name = HeaderName(raw)) {
            m_sections.push_back(Section{true, std::string(*name), std::string(raw), {}});
            continue;
        }
        m_sections.back().lines.push_back(ParseLine(std::string(raw)));
    }
    RebuildIndex();
}

std::string IniProfile::Text() const {
    std::string text(m_byteOrderMark ? kByteOrderMark : std::string_view());
    for (const Section &section : m_sections) {
        if (section.hasHeader)
            text.append(section.header).append("\r\n");
        for (const Line &line : section.lines)
            text.append(line.text).append("\r\n");
    }
    return text;
}

void IniProfile::Clear() {
    m_sections.clear();
    m_byteOrderMark = false;
    RebuildIndex();
}

bool IniProfile::Load(const std::string &path) {
    Clear();
    m_path.clear();
    m_error.clear();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found && ec.value() == ENOENT) {
        m_path = path;
        return true;
    }
    const auto size = FileSize(path);
    if (size && *size > kMaxFileBytes) {
        m_error = "cannot read " + path + ": the file is too large for a profile";
        return false;
    }
    const auto data = ReadWholeFile(path, &m_error);
    if (!data)
        return false;
    SetText(*data);
    m_path = path;
    return true;
}

bool IniProfile::WriteTo(const std::string &path) {
    m_error.clear();
    if (path.empty()) {
        m_error = "the profile has no file name";
        return false;
    }
    return WriteWholeFileAtomic(path, Text(), &m_error);
}

bool IniProfile::Save() {
    return WriteTo(m_path);
}

bool IniProfile::SaveAs(const std::string &path) {
    if (!WriteTo(path))
        return false;
    m_path = path;
    return true;
}

const IniProfile::Line *IniProfile::FindKey(std::string_view section, std::string_view key) const {
    section = TrimWhiteSpace(section);
    key = TrimWhiteSpace(key);
    if (key.empty() || m_keySlots.empty())
        return nullptr;
    const size_t at = Probe(m_keySlots, NameHash(section, key), kEmptySlot,
                            [&](const Slot &slot) { return SameKeySlot(slot, section, key); });
    const Slot &slot = m_keySlots[at];
    return slot.section == kEmptySlot ? nullptr : &m_sections[slot.section].lines[slot.line];
}

long IniProfile::FindSection(std::string_view section) const {
    section = TrimWhiteSpace(section);
    if (m_sectionSlots.empty())
        return -1;
    const size_t at = Probe(m_sectionSlots, NameHash(section), kEmptySlot, [&](const Slot &slot) {
        return EqualNoCaseAscii(m_sections[slot.section].name, section);
    });
    const uint32_t found = m_sectionSlots[at].section;
    return found == kEmptySlot ? -1 : static_cast<long>(found);
}

IniProfile::Section *IniProfile::FirstSection(std::string_view section) {
    const long found = FindSection(section);
    return found < 0 ? nullptr : &m_sections[static_cast<size_t>(found)];
}

IniProfile::Section &IniProfile::AddSection(std::string_view section) {
    section = TrimWhiteSpace(section);
    if (m_sections.empty())
        m_sections.push_back(Section{false, {}, {}, {}});
    // A blank line sets the new section apart from what comes before it.
    Section &last = m_sections.back();
    const bool hasContent = last.hasHeader || !last.lines.empty();
    if (hasContent && (last.lines.empty() || !TrimWhiteSpace(last.lines.back().text).empty()))
        last.lines.push_back(Line{});
    Section added{true, std::string(section), "[" + std::string(section) + "]", {}};
    m_sections.push_back(std::move(added));
    IndexSection(static_cast<uint32_t>(m_sections.size() - 1));
    return m_sections.back();
}

std::string IniProfile::GetString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
    const Line *line = FindKey(section, key);
    return line ? ValueOf(*line) : std::string(defaultValue);
}

int IniProfile::GetInt(std::string_view section, std::string_view key, int defaultValue) const {
    const Line *line = FindKey(section, key);
    if (!line)
        return defaultValue;
    const std::string value = ValueOf(*line);
    if (value.empty())
        return defaultValue;
    size_t i = value.find_first_not_of(kBlanks);
    const bool negative = i != std::string::npos && value[i] == '-';
    if (i != std::string::npos && (value[i] == '-' || value[i] == '+'))
        ++i;
    // Saturates: a wrapped number could turn a huge count into 0 or a negative one.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int>::max()} + 1;
    int64_t number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
        number = std::min<int64_t>(number * 10 + (value[i] - '0'), kLimit);
    if (negative)
        return static_cast<int>(-number);
    return static_cast<int>(std::min<int64_t>(number, std::numeric_limits<int>::max()));
}

void IniProfile::DeleteKey(std::string_view section, std::string_view key) {
    if (!FindKey(section, key))
        return; // the common case when saving: nothing to remove, nothing to re-index
    section = TrimWhiteSpace(section);
    key = TrimWhiteSpace(key);
    for (Section &s : m_sections) {
        if (!s.hasHeader || !EqualNoCaseAscii(s.name, section))
            continue;
        std::erase_if(s.lines, [key](const Line &line) {
            return !line.key.empty() && EqualNoCaseAscii(line.key, key);
        });
    }
    RebuildIndex(); // the lines behind the removed ones moved up
}

void IniProfile::WriteString(std::string_view section, std::string_view key,
                             std::optional<std::string_view> value) {
    if (!IsWritableSection(TrimWhiteSpace(section)) || !IsWritableKey(TrimWhiteSpace(key)))
        return;
    if (!value) {
        DeleteKey(section, key);
        return;
    }
    const std::string_view text = value->substr(0, value->find_first_of("\r\n"));
    if (Line *line = const_cast<Line *>(FindKey(section, key))) {
        line->text = line->text.substr(0, line->valueStart) + std::string(text);
        return;
    }
    Section *target = FirstSection(section);
    if (!target)
        target = &AddSection(section);
    auto lastKey = std::find_if(target->lines.rbegin(), target->lines.rend(),
                                [](const Line &line) { return !line.key.empty(); });
    const auto at = lastKey.base(); // just after the last key line, or the section's start
    // Only lines without a key follow it, so the positions in the index stay right.
    const auto line = static_cast<uint32_t>(at - target->lines.begin());
    target->lines.insert(at, ParseLine(std::string(TrimWhiteSpace(key)) + "=" + std::string(text)));
    IndexKey(static_cast<uint32_t>(target - m_sections.data()), line);
}

void IniProfile::WriteInt(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniProfile::DeleteSection(std::string_view section) {
    if (FindSection(section) < 0)
        return;
    section = TrimWhiteSpace(section);
    std::erase_if(m_sections, [section](const Section &s) {
        return s.hasHeader && EqualNoCaseAscii(s.name, section);
    });
    RebuildIndex();
}

bool IniProfile::HasSection(std::string_view section) const {
    return FindSection(section) >= 0;
}

bool IniProfile::HasKey(std::string_view section, std::string_view key) const {
    return FindKey(section, key) != nullptr;
}

// Each name is taken where the index points: at its first appearance.
std::vector<std::string> IniProfile::Sections() const {
    std::vector<std::string> names;
    for (size_t s = 0; s < m_sections.size(); ++s) {
        if (m_sections[s].hasHeader && FindSection(m_sections[s].name) == static_cast<long>(s))
            names.push_back(m_sections[s].name);
    }
    return names;
}

std::vector<std::string> IniProfile::Keys(std::string_view section) const {
    section = TrimWhiteSpace(section);
    std::vector<std::string> keys;
    for (const Section &s : m_sections) {
        if (!s.hasHeader || !EqualNoCaseAscii(s.name, section))
            continue;
        for (const Line &line : s.lines) {
            if (!line.key.empty() && FindKey(section, line.key) == &line)
                keys.push_back(line.key);
        }
    }
    return keys;
}

std::string IniProfile::DefaultProfilePath() {
    return ProfileDir() + "/Vespario.ini";
}

bool IniProfile::CreateFolderFor(const std::string &path) {
    const std::string folder = FolderOf(path);
    return folder.empty() || CreateFolders(folder);
}

} // namespace vespario::platform
