// The object list's block list of record indexes.

#include "select/selectionlist.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vespario {
namespace {

// The list against a plain vector, through inserts at the front, the back, block edges and
// random places, over several blocks.
TEST(SelectionListBlocks, InsertsKeepTheOrderOfAPlainVector) {
    SelectionList list;
    std::vector<int> reference;
    uint32_t state = 12345;
    const auto next = [&state] { return state = state * 1103515245u + 12345u; };
    for (int i = 0; i < 5000; ++i) {
        size_t at = 0;
        switch (i % 5) {
        case 0:
            at = reference.size();
            break;
        case 1:
            at = 0;
            break;
        case 2:
            at = reference.size() - (reference.size() % SelectionList::kBlock);
            break;
        default:
            at = reference.empty() ? 0 : (next() >> 8) % (reference.size() + 1);
            break;
        }
        list.insert(at, i);
        reference.insert(reference.begin() + static_cast<long>(at), i);
        ASSERT_EQ(list.size(), reference.size());
    }
    EXPECT_EQ(list.ToVector(), reference);
    for (size_t k = 0; k < reference.size(); k += 97) {
        list[k] = -list[k];
        reference[k] = -reference[k];
    }
    EXPECT_EQ(list.ToVector(), reference);
    list.insert(999999, 7); // past the end: appended
    EXPECT_EQ(list[list.size() - 1], 7);
    list.clear();
    EXPECT_TRUE(list.empty());
    list.push_back(3);
    EXPECT_EQ(list.ToVector(), std::vector<int>{3});
}

} // namespace
} // namespace vespario
