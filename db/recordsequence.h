#pragma once

#include <cstddef>

namespace vespario {

// Any list of record indexes read by position (the object list's SelectionList, a vector), for the
// code that searches an ordered list without caring how it is stored.
class RecordSequence {
public:
    RecordSequence() = default;
    template <class List>
    RecordSequence(const List &list) // NOLINT: converts like a span
        : m_list(&list), m_size(list.size()), m_at([](const void *l, size_t i) {
              return static_cast<int>((*static_cast<const List *>(l))[i]);
          }) {}

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    int operator[](size_t i) const { return m_at(m_list, i); }

private:
    const void *m_list = nullptr;
    size_t m_size = 0;
    int (*m_at)(const void *, size_t) = nullptr;
};

} // namespace vespario
