#include "select/selectionlist.h"

namespace vespario {

static_assert((SelectionList::kBlock & (SelectionList::kBlock - 1)) == 0, "rings wrap by masking");

void SelectionList::insert(size_t at, int value) {
    if (at > m_size)
        at = m_size;
    if (m_size == m_blocks.size() * kBlock)
        m_blocks.push_back(std::make_unique<Block>());
    const size_t target = at / kBlock;
    // Every block from the target on hands its last entry to the front of the next one.
    for (size_t k = m_size / kBlock; k > target; --k) {
        Block &before = *m_blocks[k - 1];
        Block &after = *m_blocks[k];
        const int moved = before.At(before.count - 1);
        --before.count;
        after.head = (after.head - 1) & (kBlock - 1);
        after.items[after.head] = moved;
        ++after.count;
    }
    Block &block = *m_blocks[target];
    const size_t offset = at % kBlock;
    if (offset < block.count - offset) {
        // Nearer the front: the entries before it move one place towards the front.
        block.head = (block.head - 1) & (kBlock - 1);
        for (size_t j = 0; j < offset; ++j)
            block.At(j) = block.At(j + 1);
    } else {
        for (size_t j = block.count; j > offset; --j)
            block.At(j) = block.At(j - 1);
    }
    block.At(offset) = value;
    ++block.count;
    ++m_size;
}

void SelectionList::clear() {
    m_blocks.clear();
    m_size = 0;
}

std::vector<int> SelectionList::ToVector() const {
    std::vector<int> entries;
    entries.reserve(m_size);
    for (size_t i = 0; i < m_size; ++i)
        entries.push_back((*this)[i]);
    return entries;
}

} // namespace vespario
