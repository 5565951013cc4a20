#include "db/objectrecord.h"

namespace vespario {

void ObjectRecord::SetField(int n, std::string_view text) {
    const uint32_t begin = n == 0 ? 0 : m_ends[n - 1];
    const uint32_t oldLength = m_ends[n] - begin;
    m_text.replace(begin, oldLength, text);
    const int64_t delta = static_cast<int64_t>(text.size()) - oldLength;
    for (int i = n; i < kStoredFieldCount; ++i)
        m_ends[i] = static_cast<uint32_t>(m_ends[i] + delta);
}

void ObjectRecord::SetAllFields(const std::array<std::string_view, kStoredFieldCount>& fields) {
    size_t total = 0;
    for (std::string_view f : fields)
        total += f.size();
    std::string text;
    text.reserve(total);
    for (int i = 0; i < kStoredFieldCount; ++i) {
        text.append(fields[i]);
        m_ends[i] = static_cast<uint32_t>(text.size());
    }
    m_text = std::move(text);
}

void ObjectRecord::ClearFields() {
    m_text.clear();
    m_text.shrink_to_fit();
    m_ends.fill(0);
}

} // namespace vespario
