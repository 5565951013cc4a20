#pragma once
// A sort order: the keys that place each newly selected record in the ordered selection
// list, its file ".srt", and the link to the sort order remembered before it.

#include "db/recordsequence.h"
#include "select/selectionlist.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CVesparioDoc;

struct SortKey {
    int32_t field = 0;
    int32_t caseSensitive = 0; // 1: text compared case-sensitively; used by text fields only
    int32_t direction = 0;     // 0 ascending, 1 descending
    bool operator==(const SortKey &) const = default;
};

inline constexpr int32_t kSortFileMark = 3275;
inline constexpr int32_t kSortFileVersion = 3;
inline constexpr std::string_view kSortExtension = ".srt";
inline constexpr std::string_view kIllegalSortFile = "Illegal sort order file";

// "3275 3 ", the key count and a blank, then field, case flag and direction of each key,
// each followed by a blank.
std::string FormatSortFile(std::span<const SortKey> keys);
// Reads a sort order file of any version. False, with keys untouched, for a wrong mark and
// for a damaged file (cut short, a negative or too large count, a number that is not one, a
// field number that names no field).
bool ParseSortFile(std::string_view bytes, std::vector<SortKey> &keys);

class SortOrder {
public:
    explicit SortOrder(CVesparioDoc &doc);
    ~SortOrder();
    SortOrder(const SortOrder &) = delete;
    SortOrder &operator=(const SortOrder &) = delete;

    CVesparioDoc &Document() { return m_doc; }
    const std::string &Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }

    // The stack of remembered sort orders: each owns the one remembered before it.
    SortOrder *Previous() { return m_previous.get(); }
    void SetPrevious(std::unique_ptr<SortOrder> previous) { m_previous = std::move(previous); }
    std::unique_ptr<SortOrder> TakePrevious() { return std::move(m_previous); }

    int KeyCount() const { return static_cast<int>(m_keys.size()); }
    const std::vector<SortKey> &Keys() const { return m_keys; }
    const SortKey &Key(int i) const { return m_keys[static_cast<size_t>(i)]; }
    void AddKey(int32_t field, int32_t caseSensitive, int32_t direction);
    void InsertKey(int position, SortKey key); // position clamped to 0..KeyCount()
    void SetKey(int i, SortKey key);
    void RemoveKey(int i);
    void SetKeys(std::vector<SortKey> keys) {
        EndPass();
        m_keys = std::move(keys);
    }
    void Clear() {
        EndPass();
        m_keys.clear();
    }
    void CopyFrom(const SortOrder &other); // appends the other's keys

    // Where in list (record indexes already in this order) record r goes: behind every
    // entry that ties with it on all keys. 0 for an empty list.
    int InsertPosition(RecordSequence list, int record);
    // Entries compared so far by InsertPosition, all calls together.
    int64_t Comparisons() const { return m_comparisons; }

    // A selection pass keeps each record's value of each key from the first time it is
    // needed until EndPass: a computed key (a rise and set, a distance) is worked out once
    // per record, not at every comparison. Records that move within the document while the
    // pass runs must be reported (FollowMoves, as CVesparioDoc::GatherFront reports them)
    // so that the kept values stay with their records. A change of the keys ends the pass.
    void StartPass();
    void EndPass();
    void FollowMoves(int from, const std::vector<int> &newIndex);
    // Key values worked out by InsertPosition so far (getter calls), all calls together.
    int64_t ValuesComputed() const { return m_valuesComputed; }
    // True when a key is a field that follows the time or the observing place.
    bool DependsOnTimeOrPlace() const;

    // Reads a file; on a wrong mark or a damaged file shows "Illegal sort order file" and
    // keeps the keys.
    [[nodiscard]] bool ReadFile(const std::string &path);
    [[nodiscard]] bool WriteFile(const std::string &path) const;

private:
    // One record's value of one key, kept for the pass; a text lives in m_keptText.
    struct Kept {
        double real = 0.0;
        int32_t whole = 0;
        uint32_t textAt = 0;
        uint32_t textLength = 0;
        bool known = false;
    };
    bool Keeps() const;
    const Kept &KeptValue(int record);
    const Kept &NewValue(int record);
    void TakeValue(int record);
    int CompareEntry(int entry);
    int FirstNotBefore(RecordSequence list, int from, int to);
    int FirstAfter(RecordSequence list, int from, int to);
    void ShowMessage(std::string_view text) const;

    CVesparioDoc &m_doc;
    std::string m_name;
    std::unique_ptr<SortOrder> m_previous;
    std::vector<SortKey> m_keys;

    // Working state of InsertPosition: the key being applied and the new record's value.
    int32_t m_field = 0;
    int m_kind = -1;
    int32_t m_caseSensitive = 0;
    int32_t m_direction = 0;
    std::string m_text;
    int32_t m_whole = 0;
    double m_real = 0.0;
    int64_t m_comparisons = 0;
    int64_t m_valuesComputed = 0;
    int m_keyIndex = 0;

    // The pass's kept values: m_slotOf maps a record index to its first entry of m_kept
    // (KeyCount() entries per record), or -1.
    bool m_passRunning = false;
    std::vector<int32_t> m_slotOf;
    std::vector<Kept> m_kept;
    std::string m_keptText;
};

} // namespace vespario
