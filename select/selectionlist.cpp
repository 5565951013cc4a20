#include "select/selectionlist.h"

#include <algorithm>
#include <memory>

namespace vespario {

void SelectionList::insert(size_t at, int value) {
    if (at > m_size)
        at = m_size;
    if (m_blocks.empty()) {
        m_blocks.push_back(std::make_unique<Block>());
        m_starts.push_back(0);
    }
    size_t b = BlockOf(at);
    if (m_blocks[b]->count == kBlock) {
        if (at == m_size) {
            // Appending: a new block behind the full one, which stays full.
            m_blocks.push_back(std::make_unique<Block>());
            m_starts.push_back(m_size);
            ++b;
        } else {
            // The upper half of the full block moves to a new block behind it.
            constexpr size_t kHalf = kBlock / 2;
            Block &full = *m_blocks[b];
            auto upper = std::make_unique<Block>();
            std::copy(full.items.begin() + kHalf, full.items.end(), upper->items.begin());
            upper->count = kBlock - kHalf;
            full.count = kHalf;
            m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(b + 1),
                            std::move(upper));
            m_starts.insert(m_starts.begin() + static_cast<std::ptrdiff_t>(b + 1),
                            m_starts[b] + kHalf);
            if (at - m_starts[b] > kHalf)
                ++b;
        }
    }
    Block &block = *m_blocks[b];
    const size_t offset = at - m_starts[b];
    std::copy_backward(block.items.begin() + static_cast<std::ptrdiff_t>(offset),
                       block.items.begin() + static_cast<std::ptrdiff_t>(block.count),
                       block.items.begin() + static_cast<std::ptrdiff_t>(block.count + 1));
    block.items[offset] = value;
    ++block.count;
    for (size_t k = b + 1; k < m_starts.size(); ++k)
        ++m_starts[k];
    ++m_size;
}

void SelectionList::clear() {
    m_blocks.clear();
    m_starts.clear();
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
