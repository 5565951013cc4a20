#include "db/objectrecord.h"

#include <algorithm>
#include <limits>

namespace vespario {

void ObjectRecord::StoreEnds(const std::array<uint32_t, kStoredFieldCount> &ends) {
    if (ends.back() > std::numeric_limits<uint16_t>::max()) {
        if (!m_wideEnds)
            m_wideEnds = std::make_unique<uint32_t[]>(kStoredFieldCount);
        std::copy(ends.begin(), ends.end(), m_wideEnds.get());
        return;
    }
    m_wideEnds.reset();
    for (int i = 0; i < kStoredFieldCount; ++i)
        m_ends[i] = static_cast<uint16_t>(ends[i]);
}

void ObjectRecord::SetField(int n, std::string_view text) {
    std::array<uint32_t, kStoredFieldCount> ends;
    if (m_text.empty()) {
        // A new record (the ID while a file is split): no fields to move.
        m_text.assign(text);
        for (int i = 0; i < kStoredFieldCount; ++i)
            ends[i] = i < n ? 0 : static_cast<uint32_t>(text.size());
        StoreEnds(ends);
        return;
    }
    for (int i = 0; i < kStoredFieldCount; ++i)
        ends[i] = End(i);
    const uint32_t begin = n == 0 ? 0 : ends[n - 1];
    const uint32_t oldLength = ends[n] - begin;
    m_text.replace(begin, oldLength, text);
    const int64_t delta = static_cast<int64_t>(text.size()) - oldLength;
    for (int i = n; i < kStoredFieldCount; ++i)
        ends[i] = static_cast<uint32_t>(ends[i] + delta);
    StoreEnds(ends);
}

void ObjectRecord::SetAllFields(const std::array<std::string_view, kStoredFieldCount> &fields) {
    size_t total = 0;
    for (std::string_view f : fields)
        total += f.size();
    std::string text;
    text.reserve(total);
    std::array<uint32_t, kStoredFieldCount> ends;
    for (int i = 0; i < kStoredFieldCount; ++i) {
        text.append(fields[i]);
        ends[i] = static_cast<uint32_t>(text.size());
    }
    m_text = std::move(text);
    StoreEnds(ends);
}

void ObjectRecord::ClearFields() {
    m_text.clear();
    m_text.shrink_to_fit();
    m_ends.fill(0);
    m_wideEnds.reset();
}

} // namespace vespario
