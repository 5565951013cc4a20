// The evaluation order of criteria lines, checked against a plain recursive evaluator of the
// same expression on every list of up to eight lines, with every combination of condition
// values: the result and the conditions tried, in order, must agree.

#include "select/criterialine.h"
#include "select/evaluationorder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vespario {
namespace {

constexpr int32_t C = op::Equal; // any condition
constexpr int32_t OR = op::Or;
constexpr int32_t L = op::Open;
constexpr int32_t R = op::Close;

// A recursive-descent reading of the lines, written straight from the grammar: the list is
// items joined by AND, an item is a condition or a group, "or" joins neighbouring items and
// binds tighter. Short-circuit as C++ && and || do. Lines that do not fit are read as the
// evaluation order documents: a stray ")" is dropped, an "or" with no item on one side is
// ignored, an open "(" runs to the end, "( )" is true.
class Reference {
public:
    Reference(const std::vector<int32_t> &ops, std::function<bool(int)> holds)
        : m_holds(std::move(holds)) {
        int depth = 0;
        for (int i = 0; i < static_cast<int>(ops.size()); ++i) {
            if (ops[i] == R && depth == 0)
                continue;
            depth += ops[i] == L ? 1 : ops[i] == R ? -1 : 0;
            m_ops.push_back(ops[i]);
            m_index.push_back(i);
        }
    }

    bool Evaluate() { return List(true); }
    const std::vector<int> &Tried() const { return m_tried; }

private:
    bool AtEnd() const { return m_pos >= m_ops.size(); }
    bool AtItem() const { return !AtEnd() && (m_ops[m_pos] == L || !IsStructural(m_ops[m_pos])); }

    bool List(bool live) {
        bool result = true;
        while (!AtEnd() && m_ops[m_pos] != R) {
            if (m_ops[m_pos] == OR) {
                ++m_pos;
                continue;
            }
            const bool term = Term(live && result);
            result = result && term;
        }
        return result;
    }

    bool Term(bool live) {
        bool result = Item(live);
        while (!AtEnd() && m_ops[m_pos] == OR) {
            ++m_pos;
            if (AtItem()) {
                const bool alternative = Item(live && !result);
                result = result || alternative;
            }
        }
        return result;
    }

    bool Item(bool live) {
        if (m_ops[m_pos] == L) {
            ++m_pos;
            const bool result = List(live);
            if (!AtEnd() && m_ops[m_pos] == R)
                ++m_pos;
            return result;
        }
        const int line = m_index[m_pos++];
        if (!live)
            return false;
        m_tried.push_back(line);
        return m_holds(line);
    }

    std::function<bool(int)> m_holds;
    std::vector<int32_t> m_ops;
    std::vector<int> m_index;
    size_t m_pos = 0;
    std::vector<int> m_tried;
};

std::string Show(const std::vector<int32_t> &ops) {
    std::string text;
    for (int32_t o : ops)
        text += o == OR ? "or " : o == L ? "( " : o == R ? ") " : "C ";
    return text;
}

// The conditions of the lines in order; values[k] is the value of the k-th condition.
struct Outcome {
    bool result;
    std::vector<int> tried;
};

Outcome RunOrder(const EvaluationOrder &order, const std::vector<int32_t> &ops, unsigned values) {
    Outcome run;
    run.result = order.Run([&](int line) {
        EXPECT_GE(line, 0);
        EXPECT_LT(line, static_cast<int>(ops.size()));
        EXPECT_FALSE(IsStructural(ops[static_cast<size_t>(line)])) << "jumped to a non-condition";
        run.tried.push_back(line);
        int k = 0;
        for (int i = 0; i < line; ++i)
            k += IsStructural(ops[static_cast<size_t>(i)]) ? 0 : 1;
        return ((values >> k) & 1u) != 0;
    });
    return run;
}

Outcome RunReference(const std::vector<int32_t> &ops, unsigned values) {
    Reference reference(ops, [&](int line) {
        int k = 0;
        for (int i = 0; i < line; ++i)
            k += IsStructural(ops[static_cast<size_t>(i)]) ? 0 : 1;
        return ((values >> k) & 1u) != 0;
    });
    Outcome run;
    run.result = reference.Evaluate();
    run.tried = reference.Tried();
    return run;
}

TEST(EvaluationOrder, NamedListsAgainstBooleanFormulas) {
    struct Row {
        std::vector<int32_t> ops;
        std::function<bool(bool, bool, bool)> formula;
    };
    const Row rows[] = {
        {{C, C, OR, C}, [](bool x, bool y, bool z) { return x && (y || z); }},
        {{L, C, C, R, OR, C}, [](bool x, bool y, bool z) { return (x && y) || z; }},
        {{C, OR, C, OR, C}, [](bool x, bool y, bool z) { return x || y || z; }},
        {{C, C, C}, [](bool x, bool y, bool z) { return x && y && z; }},
        {{C, OR, C, C}, [](bool x, bool y, bool z) { return (x || y) && z; }},
        {{C, OR, L, C, C, R}, [](bool x, bool y, bool z) { return x || (y && z); }},
        {{L, C, OR, C, R, C}, [](bool x, bool y, bool z) { return (x || y) && z; }},
        {{C, L, C, OR, C, R}, [](bool x, bool y, bool z) { return x && (y || z); }},
        {{L, L, C, R, OR, L, C, R, R, OR, C}, [](bool x, bool y, bool z) { return x || y || z; }},
        {{L, C, C, R, OR, L, C, R}, [](bool x, bool y, bool z) { return (x && y) || z; }},
    };
    for (const Row &row : rows) {
        EvaluationOrder order;
        order.Build(row.ops);
        for (unsigned v = 0; v < 8; ++v) {
            const bool x = v & 1, y = v & 2, z = v & 4;
            EXPECT_EQ(RunOrder(order, row.ops, v).result, row.formula(x, y, z))
                << Show(row.ops) << " x=" << x << " y=" << y << " z=" << z;
        }
    }
}

TEST(EvaluationOrder, EveryListOfUpToEightLinesAgreesWithTheReference) {
    const int32_t alphabet[] = {C, OR, L, R};
    int lists = 0;
    for (int length = 0; length <= 8; ++length) {
        int total = 1;
        for (int i = 0; i < length; ++i)
            total *= 4;
        for (int code = 0; code < total; ++code) {
            std::vector<int32_t> ops;
            int conditions = 0;
            for (int i = 0, c = code; i < length; ++i, c /= 4) {
                ops.push_back(alphabet[c % 4]);
                conditions += alphabet[c % 4] == C ? 1 : 0;
            }
            if (conditions > 4)
                continue;
            ++lists;
            EvaluationOrder order;
            order.Build(ops);
            for (unsigned v = 0; v < (1u << conditions); ++v) {
                const Outcome got = RunOrder(order, ops, v);
                const Outcome want = RunReference(ops, v);
                ASSERT_EQ(got.result, want.result) << Show(ops) << " values " << v;
                ASSERT_EQ(got.tried, want.tried) << Show(ops) << " values " << v;
            }
        }
    }
    EXPECT_GT(lists, 50000);
}

TEST(EvaluationOrder, ShortCircuitStopsAtTheDecidingCondition) {
    // X, Y, or, Z with X false: nothing after X is tried.
    const std::vector<int32_t> ops = {C, C, OR, C};
    EvaluationOrder order;
    order.Build(ops);
    EXPECT_EQ(RunOrder(order, ops, 0b110).tried, (std::vector<int>{0}));
    // X true, Y true: Z is skipped; X true, Y false: Z decides.
    EXPECT_EQ(RunOrder(order, ops, 0b011).tried, (std::vector<int>{0, 1}));
    EXPECT_EQ(RunOrder(order, ops, 0b101).tried, (std::vector<int>{0, 1, 3}));
}

TEST(EvaluationOrder, TablesHoldOneEntryPerLine) {
    const std::vector<int32_t> ops = {L, C, C, R, OR, C};
    EvaluationOrder order;
    order.Build(ops);
    ASSERT_EQ(order.SuccessJumps().size(), ops.size());
    ASSERT_EQ(order.FailureJumps().size(), ops.size());
    EXPECT_EQ(order.Entry(), 1);
    // X: on to Y, or fail over to Z; Y: the group is true, which decides; Z: decides.
    EXPECT_EQ(order.SuccessJumps()[1], 2);
    EXPECT_EQ(order.FailureJumps()[1], 5);
    EXPECT_EQ(order.SuccessJumps()[2], EvaluationOrder::kTrue);
    EXPECT_EQ(order.FailureJumps()[2], 5);
    EXPECT_EQ(order.SuccessJumps()[5], EvaluationOrder::kTrue);
    EXPECT_EQ(order.FailureJumps()[5], EvaluationOrder::kFalse);
    for (int structural : {0, 3, 4})
        EXPECT_EQ(order.SuccessJumps()[structural], EvaluationOrder::kNotCondition);
}

TEST(EvaluationOrder, EmptyAndConditionFreeListsAreTrue) {
    for (const std::vector<int32_t> &ops :
         std::vector<std::vector<int32_t>>{{}, {OR}, {L, R}, {L}, {R}, {L, OR, R, OR}}) {
        EvaluationOrder order;
        order.Build(ops);
        EXPECT_EQ(order.Entry(), EvaluationOrder::kTrue) << Show(ops);
        EXPECT_TRUE(order.Run([](int) { return false; })) << Show(ops);
    }
}

TEST(EvaluationOrder, DeepNestingNeitherRecursesNorLoops) {
    // Built from a file, the lines can nest far deeper than any stack would allow.
    constexpr int kDepth = 200000;
    std::vector<int32_t> ops(kDepth, L);
    ops.push_back(C);
    ops.push_back(OR);
    ops.push_back(C);
    ops.insert(ops.end(), kDepth, R);
    EvaluationOrder order;
    order.Build(ops);
    int tried = 0;
    EXPECT_TRUE(order.Run([&](int) { return ++tried == 2; }));
    EXPECT_EQ(tried, 2);
}

} // namespace
} // namespace vespario
