#pragma once
// One settings vocabulary: a numbered list of text entries with a fixed capacity, stored in
// the profile as a section with a "NumberOf" key and keys such as "Type0", "Type1", ..., and,
// for the code lists, the derived code index that tells with one search whether a code is
// defined. No list ever holds more entries than its capacity: what does not fit is refused.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

// How an entry carries its code.
enum class CodeStyle {
    None,          // no code (planetaria, helper applications, edit checks)
    OneCharacter,  // the first character; the code index is the codes concatenated
    TwoCharacters, // the first two characters; the code index is "=" and each code and "="
    Abbreviation,  // the text before the first ";" (books); no code index
};

struct VocabularyInfo {
    std::string_view section;     // the profile section, e.g. "ObjectType"
    std::string_view entryPrefix; // the entry keys are this and the number, e.g. "Type"
    int32_t capacity;
    CodeStyle code;
    char separator;                // between code and meaning in the stored entry
    std::string_view missingEntry; // the text of an entry whose key is missing
};

class CodeList {
public:
    explicit CodeList(const VocabularyInfo &info) : m_info(&info) { RebuildIndex(); }

    const VocabularyInfo &Info() const { return *m_info; }
    int32_t Count() const { return static_cast<int32_t>(m_entries.size()); }
    int32_t Capacity() const { return m_info->capacity; }
    bool IsFull() const { return Count() >= Capacity(); }
    const std::vector<std::string> &Entries() const { return m_entries; }
    // Entry i, or an empty text when i is not an entry's number.
    const std::string &Entry(int32_t i) const;
    // The profile key of entry i ("Type3").
    std::string EntryKey(int32_t i) const;

    // Replaces the whole list. Entries beyond the capacity are dropped; false when any were.
    bool Assign(std::vector<std::string> entries);
    // Appends one entry; false (and nothing changes) when the list is full.
    bool Append(std::string entry);
    // Replaces entry i; false when i is not an entry's number.
    bool SetEntry(int32_t i, std::string entry);
    void Clear();

    // The derived code index (see CodeStyle); empty for lists without one.
    const std::string &CodeIndex() const { return m_codeIndex; }
    // The code of an entry: empty when the entry is too short to carry one or the list has
    // no codes.
    std::string_view CodeOf(int32_t i) const;
    static std::string_view CodeOfEntry(std::string_view entry, CodeStyle style);
    // The number of the first entry whose code is code (compared byte for byte), or -1.
    int32_t Find(std::string_view code) const;
    bool IsDefined(std::string_view code) const { return Find(code) >= 0; }
    // The text after the separator of the entry with that code; empty when there is none.
    std::string_view Meaning(std::string_view code) const;
    std::string_view MeaningOf(int32_t i) const;

private:
    void RebuildIndex();

    const VocabularyInfo *m_info;
    std::vector<std::string> m_entries;
    std::string m_codeIndex;
};

} // namespace vespario
