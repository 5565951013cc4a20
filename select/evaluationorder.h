#pragma once
// The order in which the condition lines of a set of criteria are tried, worked out once per
// pass from the operator codes into two jump tables, so that evaluating a record is a walk
// from condition to condition that stops as soon as the result is decided.
//
// The lines read as an expression: a run of items is joined by AND, an "or" joins the item
// before it with the item after it and binds tighter than AND, and an item is a condition
// or a group "(" ... ")". So X, Y, or, Z is X and (Y or Z); (, X, Y, ), or, Z is
// (X and Y) or Z. Lists that are not well formed are read as follows: an "or" with no item
// before or after it in its group is ignored, a ")" that closes nothing is ignored, a "("
// that is never closed runs to the end of the list, and an empty group "( )" is true (like
// an empty list).

#include <cstdint>
#include <span>
#include <vector>

namespace vespario {

class EvaluationOrder {
public:
    // Jump targets besides line indexes.
    static constexpr int kTrue = -1;         // the record is selected
    static constexpr int kFalse = -2;        // the record is not selected
    static constexpr int kNotCondition = -3; // table entry of an "or" or parenthesis line

    // Works out the tables for lines with the given operator codes (9 "or", 10 "(", 11 ")",
    // anything else a condition).
    void Build(std::span<const int32_t> operators);

    // Where evaluation starts: the first condition to try, or kTrue when there is none.
    int Entry() const { return m_entry; }
    // Per line: where to go when the line's condition holds, and when it does not.
    const std::vector<int> &SuccessJumps() const { return m_success; }
    const std::vector<int> &FailureJumps() const { return m_failure; }

    // Walks the tables; holds(line) tells whether the condition of that line holds.
    template <class Holds> bool Run(Holds &&holds) const {
        int at = m_entry;
        while (at >= 0)
            at =
                holds(at) ? m_success[static_cast<size_t>(at)] : m_failure[static_cast<size_t>(at)];
        return at == kTrue;
    }

private:
    std::vector<int> m_success;
    std::vector<int> m_failure;
    int m_entry = kTrue;
};

} // namespace vespario
