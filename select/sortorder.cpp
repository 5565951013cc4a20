#include "select/sortorder.h"

#include "db/cvespariodoc.h"
#include "db/fieldtable.h"
#include "platform/files.h"
#include "select/criterialine.h"
#include "select/smallfile.h"

#include <algorithm>
#include <cmath>

namespace vespario {
namespace {

constexpr const char *kTitle = "Vespario";

unsigned char Fold(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

// Byte order, or byte order after folding A-Z to a-z (the platform's case-insensitive
// comparison folds to lower case, so "_" sorts before letters either way).
int CompareText(std::string_view a, std::string_view b, bool caseSensitive) {
    if (caseSensitive) {
        const int c = a.compare(b);
        return (c > 0) - (c < 0);
    }
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = Fold(static_cast<unsigned char>(a[i]));
        const unsigned char y = Fold(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// By value; a value that is no number (0/0 of an elongation) sorts after all numbers, so
// that the order stays consistent and the search stays within the list.
int CompareReal(double a, double b) {
    const bool aNaN = std::isnan(a);
    const bool bNaN = std::isnan(b);
    if (aNaN || bNaN)
        return aNaN == bNaN ? 0 : aNaN ? 1 : -1;
    return (a > b) - (a < b);
}

bool ReadKey(SmallFileReader &in, int32_t version, SortKey &key) {
    if (!in.ReadInt(key.field))
        return false;
    if (version > 2) {
        if (!in.ReadInt(key.caseSensitive) || !in.ReadInt(key.direction))
            return false;
        key.caseSensitive = key.caseSensitive != 0 ? 1 : 0;
        key.direction = key.direction != 0 ? 1 : 0;
    } else {
        key.caseSensitive = 1;
        key.direction = 0;
    }
    // Version 1 had no slot 33 yet: its later fields move up.
    if (version < 2 && key.field >= 33)
        ++key.field;
    return FieldTable::IsValidField(key.field);
}

} // namespace

std::string FormatSortFile(std::span<const SortKey> keys) {
    std::string out = std::to_string(kSortFileMark) + " " + std::to_string(kSortFileVersion) + " " +
                      std::to_string(keys.size()) + " ";
    for (const SortKey &key : keys) {
        out += std::to_string(key.field) + " " + std::to_string(key.caseSensitive) + " " +
               std::to_string(key.direction) + " ";
    }
    return out;
}

bool ParseSortFile(std::string_view bytes, std::vector<SortKey> &keys) {
    SmallFileReader in(bytes);
    int32_t mark = 0;
    int32_t version = 0;
    int32_t count = 0;
    if (!in.ReadInt(mark) || mark != kSortFileMark || !in.ReadInt(version) || !in.ReadInt(count) ||
        count < 0)
        return false;
    std::vector<SortKey> read;
    for (int32_t i = 0; i < count; ++i) {
        SortKey key;
        if (!ReadKey(in, version, key))
            return false;
        read.push_back(key);
    }
    keys = std::move(read);
    return true;
}

SortOrder::SortOrder(CVesparioDoc &doc) : m_doc(doc) {}

SortOrder::~SortOrder() {
    std::unique_ptr<SortOrder> next = std::move(m_previous);
    while (next)
        next = std::move(next->m_previous);
}

void SortOrder::AddKey(int32_t field, int32_t caseSensitive, int32_t direction) {
    EndPass();
    m_keys.push_back({field, caseSensitive, direction});
}

void SortOrder::InsertKey(int position, SortKey key) {
    EndPass();
    position = std::clamp(position, 0, KeyCount());
    m_keys.insert(m_keys.begin() + position, key);
}

void SortOrder::SetKey(int i, SortKey key) {
    EndPass();
    if (i >= 0 && i < KeyCount())
        m_keys[static_cast<size_t>(i)] = key;
}

void SortOrder::RemoveKey(int i) {
    EndPass();
    if (i >= 0 && i < KeyCount())
        m_keys.erase(m_keys.begin() + i);
}

void SortOrder::CopyFrom(const SortOrder &other) {
    EndPass();
    const std::vector<SortKey> keys = other.m_keys; // safe when other is this
    m_keys.insert(m_keys.end(), keys.begin(), keys.end());
}

bool SortOrder::DependsOnTimeOrPlace() const {
    return std::any_of(m_keys.begin(), m_keys.end(),
                       [](const SortKey &key) { return IsTimeOrPlaceField(key.field); });
}

void SortOrder::StartPass() {
    EndPass();
    m_passRunning = true;
    m_slotOf.assign(static_cast<size_t>(std::max(0, m_doc.GetRecordCount())), -1);
}

void SortOrder::EndPass() {
    m_passRunning = false;
    std::vector<int32_t>().swap(m_slotOf);
    std::vector<Kept>().swap(m_kept);
    std::string().swap(m_keptText);
}

void SortOrder::FollowMoves(int from, const std::vector<int> &newIndex) {
    if (!m_passRunning || from < 0 || newIndex.empty())
        return;
    const size_t begin = static_cast<size_t>(from);
    const size_t count = newIndex.size();
    // Only a move within the range: anything else (a refused gathering) moved nothing.
    std::vector<char> taken(count, 0);
    for (int to : newIndex) {
        const int64_t offset = int64_t{to} - from;
        if (offset < 0 || offset >= static_cast<int64_t>(count) || taken[offset])
            return;
        taken[static_cast<size_t>(offset)] = 1;
    }
    if (m_slotOf.size() < begin + count)
        m_slotOf.resize(begin + count, -1);
    const std::vector<int32_t> slots(m_slotOf.begin() + static_cast<std::ptrdiff_t>(begin),
                                     m_slotOf.begin() + static_cast<std::ptrdiff_t>(begin + count));
    for (size_t k = 0; k < count; ++k)
        m_slotOf[static_cast<size_t>(newIndex[k])] = slots[k];
}

// Stored texts are read in place and cost nothing to get: only computed values are kept.
bool SortOrder::Keeps() const {
    return m_passRunning && m_kind != static_cast<int>(FieldKind::StoredText) &&
           m_kind != static_cast<int>(FieldKind::None);
}

// The record's value of the current key, worked out the first time the pass needs it. The
// search asks for values already kept nearly every time: that way is kept short.
inline const SortOrder::Kept &SortOrder::KeptValue(int record) {
    const size_t r = static_cast<size_t>(record);
    if (r < m_slotOf.size() && m_slotOf[r] >= 0) {
        const Kept &kept = m_kept[static_cast<size_t>(m_slotOf[r]) * m_keys.size() +
                                  static_cast<size_t>(m_keyIndex)];
        if (kept.known)
            return kept;
    }
    return NewValue(record);
}

const SortOrder::Kept &SortOrder::NewValue(int record) {
    const size_t r = static_cast<size_t>(record);
    if (r >= m_slotOf.size())
        m_slotOf.resize(std::max(r + 1, static_cast<size_t>(m_doc.GetRecordCount())), -1);
    const size_t keys = m_keys.size();
    if (m_slotOf[r] < 0) {
        m_slotOf[r] = static_cast<int32_t>(m_kept.size() / keys);
        m_kept.resize(m_kept.size() + keys);
    }
    Kept &kept = m_kept[static_cast<size_t>(m_slotOf[r]) * keys + static_cast<size_t>(m_keyIndex)];
    if (kept.known)
        return kept;
    ++m_valuesComputed;
    kept.known = true;
    switch (static_cast<FieldKind>(m_kind)) {
    case FieldKind::Text: {
        const std::string_view text = m_doc.GetText(m_field, record);
        kept.textAt = static_cast<uint32_t>(m_keptText.size());
        kept.textLength = static_cast<uint32_t>(text.size());
        m_keptText.append(text);
        break;
    }
    case FieldKind::Integer:
        kept.whole = m_doc.GetInt(m_field, record);
        break;
    case FieldKind::Real:
        kept.real = m_doc.GetReal(m_field, record);
        break;
    case FieldKind::StoredText:
    case FieldKind::None:
        break;
    }
    return kept;
}

// The new record's value of the current key, kept while the list entries are compared.
void SortOrder::TakeValue(int record) {
    if (Keeps()) {
        const Kept &kept = KeptValue(record);
        m_text.assign(m_keptText, kept.textAt, kept.textLength);
        m_whole = kept.whole;
        m_real = kept.real;
        return;
    }
    if (m_kind != static_cast<int>(FieldKind::None) &&
        m_kind != static_cast<int>(FieldKind::StoredText))
        ++m_valuesComputed;
    switch (static_cast<FieldKind>(m_kind)) {
    case FieldKind::StoredText:
    case FieldKind::Text:
        // Copied: a computed text lives only until the next getter call.
        m_text.assign(m_doc.GetText(m_field, record));
        break;
    case FieldKind::Integer:
        m_whole = m_doc.GetInt(m_field, record);
        break;
    case FieldKind::Real:
        m_real = m_doc.GetReal(m_field, record);
        break;
    case FieldKind::None:
        break;
    }
}

// How a list entry compares with the new record on the current key: < 0 entry first.
int SortOrder::CompareEntry(int entry) {
    ++m_comparisons;
    if (entry < 0 || entry >= m_doc.GetRecordCount())
        return 0;
    int c = 0;
    if (Keeps()) {
        const Kept &kept = KeptValue(entry);
        switch (static_cast<FieldKind>(m_kind)) {
        case FieldKind::Text:
            c = CompareText(std::string_view(m_keptText).substr(kept.textAt, kept.textLength),
                            m_text, m_caseSensitive != 0);
            break;
        case FieldKind::Integer:
            c = (kept.whole > m_whole) - (kept.whole < m_whole);
            break;
        default:
            c = CompareReal(kept.real, m_real);
            break;
        }
        return m_direction != 0 ? -c : c;
    }
    if (m_kind != static_cast<int>(FieldKind::None) &&
        m_kind != static_cast<int>(FieldKind::StoredText))
        ++m_valuesComputed;
    switch (static_cast<FieldKind>(m_kind)) {
    case FieldKind::StoredText:
    case FieldKind::Text:
        c = CompareText(m_doc.GetText(m_field, entry), m_text, m_caseSensitive != 0);
        break;
    case FieldKind::Integer: {
        const int32_t v = m_doc.GetInt(m_field, entry);
        c = (v > m_whole) - (v < m_whole);
        break;
    }
    case FieldKind::Real:
        c = CompareReal(m_doc.GetReal(m_field, entry), m_real);
        break;
    case FieldKind::None:
        break;
    }
    // A descending key exchanges the operands.
    return m_direction != 0 ? -c : c;
}

// The first entry in [from, to] that does not compare less than the record (to compares
// equal).
int SortOrder::FirstNotBefore(RecordSequence list, int from, int to) {
    while (from < to) {
        const int mid = from + (to - from) / 2;
        if (CompareEntry(list[static_cast<size_t>(mid)]) < 0)
            from = mid + 1;
        else
            to = mid;
    }
    return from;
}

// The first entry in (from, to) that compares greater than the record, or to (from compares
// equal).
int SortOrder::FirstAfter(RecordSequence list, int from, int to) {
    ++from;
    while (from < to) {
        const int mid = from + (to - from) / 2;
        if (CompareEntry(list[static_cast<size_t>(mid)]) <= 0)
            from = mid + 1;
        else
            to = mid;
    }
    return to;
}

int SortOrder::InsertPosition(RecordSequence list, int record) {
    int lo = 0;
    int hi = static_cast<int>(list.size());
    if (hi == 0 || record < 0 || record >= m_doc.GetRecordCount())
        return hi;
    for (const SortKey &key : m_keys) {
        if (lo >= hi)
            break;
        m_keyIndex = static_cast<int>(&key - m_keys.data());
        m_field = key.field;
        m_kind = FieldTable::IsValidField(key.field)
                     ? static_cast<int>(m_doc.Fields().Slot(key.field).kind)
                     : static_cast<int>(FieldKind::None);
        m_caseSensitive = key.caseSensitive;
        m_direction = key.direction;
        TakeValue(record);
        if (&key == &m_keys.back()) {
            // On the last key only the end of the run of equal entries matters, as the record
            // goes behind it: one halving search for the first entry greater than the record
            // gives the same place as finding an equal entry and widening from it.
            int a = lo;
            int b = hi;
            while (a < b) {
                const int mid = a + (b - a) / 2;
                if (CompareEntry(list[static_cast<size_t>(mid)]) <= 0)
                    a = mid + 1;
                else
                    b = mid;
            }
            return a;
        }
        // Binary search for an entry equal to the record on this key.
        int a = lo;
        int b = hi - 1;
        int equal = -1;
        while (a <= b) {
            const int mid = a + (b - a) / 2;
            const int c = CompareEntry(list[static_cast<size_t>(mid)]);
            if (c < 0)
                a = mid + 1;
            else if (c > 0)
                b = mid - 1;
            else {
                equal = mid;
                break;
            }
        }
        if (equal < 0)
            return a; // behind the last entry before the record, before the first after it
        // Widen over the run of equal entries; the next key orders the record within it. The
        // range is in order, so the run is contiguous and its ends are found by halving
        // too: stepping over a long run one entry at a time would make a pass quadratic.
        lo = FirstNotBefore(list, lo, equal);
        hi = FirstAfter(list, equal, hi);
    }
    return hi;
}

void SortOrder::ShowMessage(std::string_view text) const {
    m_doc.Host().MessageBox(text, kTitle, platform::Buttons::Ok);
}

bool SortOrder::ReadFile(const std::string &path) {
    std::string error;
    const std::optional<std::string> bytes = platform::ReadWholeFile(path, &error);
    if (!bytes) {
        ShowMessage(error);
        return false;
    }
    std::vector<SortKey> keys;
    if (!ParseSortFile(*bytes, keys)) {
        ShowMessage(kIllegalSortFile);
        return false;
    }
    EndPass();
    m_keys = std::move(keys);
    return true;
}

bool SortOrder::WriteFile(const std::string &path) const {
    std::string error;
    if (platform::WriteWholeFileAtomic(path, FormatSortFile(m_keys), &error))
        return true;
    ShowMessage(error);
    return false;
}

} // namespace vespario
