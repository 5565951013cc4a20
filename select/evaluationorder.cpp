#include "select/evaluationorder.h"

#include "select/criterialine.h"

#include <cassert>

namespace vespario {
namespace {

// The state of one group level while the lines are read from right to left. Every target
// lies to the right of the line that jumps to it, so reading backwards knows them all.
struct Level {
    int whenTrue;             // where the group goes when it is true
    int whenFalse;            // ... and when it is false
    int termTrue;             // where the OR term being read goes when it is true
    int rightStart;           // where evaluation starts for the rest of the group right of here
    bool rightIsItem = false; // rightStart is an item of this group (not the group's end)
    bool joinedByOr = false;  // an "or" joins the next item read to the one at rightStart
};

Level OpenLevel(int whenTrue, int whenFalse) {
    return {whenTrue, whenFalse, whenTrue, whenTrue, false, false};
}

// The targets of an item (a condition or a whole group) read at level l.
void ItemTargets(Level &l, int &whenTrue, int &whenFalse) {
    if (l.joinedByOr) {
        // An alternative before another: failing tries the next alternative.
        whenTrue = l.termTrue;
        whenFalse = l.rightStart;
        return;
    }
    // The last alternative of its term: the term goes on with what follows it, and when it
    // fails the whole group fails.
    l.termTrue = l.rightStart;
    whenTrue = l.termTrue;
    whenFalse = l.whenFalse;
}

void ItemRead(Level &l, int start) {
    l.rightStart = start;
    l.rightIsItem = true;
    l.joinedByOr = false;
}

// Which ")" lines close nothing, and how many "(" stay open at the end.
int MarkStrayCloses(std::span<const int32_t> ops, std::vector<bool> &stray) {
    stray.assign(ops.size(), false);
    int depth = 0;
    for (size_t i = 0; i < ops.size(); ++i) {
        if (ops[i] == op::Open) {
            ++depth;
        } else if (ops[i] == op::Close) {
            if (depth == 0)
                stray[i] = true;
            else
                --depth;
        }
    }
    return depth;
}

} // namespace

void EvaluationOrder::Build(std::span<const int32_t> ops) {
    const int n = static_cast<int>(ops.size());
    m_success.assign(ops.size(), kNotCondition);
    m_failure.assign(ops.size(), kNotCondition);
    std::vector<bool> stray;
    const int unclosed = MarkStrayCloses(ops, stray);

    std::vector<Level> levels;
    levels.push_back(OpenLevel(kTrue, kFalse));
    // A "(" never closed ends with the list: as if its ")" stood after the last line.
    const auto openGroup = [&levels] {
        int whenTrue = 0;
        int whenFalse = 0;
        ItemTargets(levels.back(), whenTrue, whenFalse);
        levels.push_back(OpenLevel(whenTrue, whenFalse));
    };
    for (int k = 0; k < unclosed; ++k)
        openGroup();

    for (int i = n - 1; i >= 0; --i) {
        const int32_t code = ops[static_cast<size_t>(i)];
        Level &l = levels.back();
        if (code == op::Or) {
            if (l.rightIsItem)
                l.joinedByOr = true;
        } else if (code == op::Close) {
            if (!stray[static_cast<size_t>(i)])
                openGroup();
        } else if (code == op::Open) {
            assert(levels.size() > 1);
            const int start = l.rightStart; // the group's own end when it is empty
            levels.pop_back();
            ItemRead(levels.back(), start);
        } else {
            ItemTargets(l, m_success[static_cast<size_t>(i)], m_failure[static_cast<size_t>(i)]);
            ItemRead(l, i);
        }
    }
    assert(levels.size() == 1);
    m_entry = levels.back().rightStart;
}

} // namespace vespario
