#pragma once
// The object list's record indexes in display order. A selection pass inserts each newly
// selected record at its sort position, so inserting in the middle must not cost the length
// of the list: the entries are kept in blocks of fixed size, every block full but the last,
// each a ring, so that an entry is found by its position at once and an insertion moves at
// most one block's entries plus one entry per later block.

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

namespace vespario {

class SelectionList {
public:
    static constexpr size_t kBlock = 1024; // a power of two

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    int operator[](size_t i) const { return m_blocks[i / kBlock]->At(i % kBlock); }
    int &operator[](size_t i) { return m_blocks[i / kBlock]->At(i % kBlock); }

    void push_back(int value) { insert(m_size, value); }
    // Puts value in front of the entry at position at (at == size() appends).
    void insert(size_t at, int value);
    void clear();

    // The entries in order, for tests and reports.
    std::vector<int> ToVector() const;

    // Reading the entries in order: for (int record : list).
    class const_iterator {
    public:
        const_iterator(const SelectionList *list, size_t at) : m_list(list), m_at(at) {}
        int operator*() const { return (*m_list)[m_at]; }
        const_iterator &operator++() {
            ++m_at;
            return *this;
        }
        bool operator!=(const const_iterator &other) const { return m_at != other.m_at; }

    private:
        const SelectionList *m_list;
        size_t m_at;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, m_size}; }

private:
    struct Block {
        std::array<int, kBlock> items{};
        size_t head = 0;
        size_t count = 0;
        int &At(size_t offset) { return items[(head + offset) & (kBlock - 1)]; }
        int At(size_t offset) const { return items[(head + offset) & (kBlock - 1)]; }
    };
    std::vector<std::unique_ptr<Block>> m_blocks;
    size_t m_size = 0;
};

} // namespace vespario
