#pragma once
// The object list's record indexes in display order. A selection pass inserts each newly
// selected record at its sort position, so inserting in the middle must not cost the length
// of the list: the entries are kept in blocks of at most kBlock, a full block is split in two
// where an entry goes into it, and the start position of every block is kept, so that an
// insertion moves the entries of one block and adds 1 to the later starts (a short loop over
// one small array), and an entry is found by a binary search over the starts.

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <vector>

namespace vespario {

class SelectionList {
public:
    static constexpr size_t kBlock = 1024; // the most entries a block holds

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    int operator[](size_t i) const {
        const size_t b = BlockOf(i);
        return m_blocks[b]->items[i - m_starts[b]];
    }
    int &operator[](size_t i) {
        const size_t b = BlockOf(i);
        return m_blocks[b]->items[i - m_starts[b]];
    }

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
        size_t count = 0;
    };
    // The block that holds position i (for i == size(), the last block).
    size_t BlockOf(size_t i) const {
        return static_cast<size_t>(std::upper_bound(m_starts.begin(), m_starts.end(), i) -
                                   m_starts.begin()) -
               1;
    }
    std::vector<std::unique_ptr<Block>> m_blocks;
    std::vector<size_t> m_starts; // the position of each block's first entry
    size_t m_size = 0;
};

} // namespace vespario
