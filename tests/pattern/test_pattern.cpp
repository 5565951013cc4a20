#include "pattern/pattern.h"
#include "platform/headlesshost.h"

#include "referencematcher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vespario {
namespace {

// ---- Search: leftmost, then shortest ---------------------------------------------------

struct SearchRow {
    const char *pattern;
    std::string subject;
    int offset; // expected result of Search
    int length; // expected MatchEnd[0] - MatchStart[0] when offset >= 0
};

class SearchTable : public ::testing::TestWithParam<SearchRow> {};

TEST_P(SearchTable, FindsLeftmostShortest) {
    const SearchRow &row = GetParam();
    Pattern p(row.pattern);
    ASSERT_TRUE(p.IsValid()) << p.Error();
    // Where the match starts does not depend on looking for the shortest one.
    EXPECT_EQ(p.SearchStart(row.subject), row.offset) << row.pattern << " in " << row.subject;
    EXPECT_EQ(p.Search(row.subject), row.offset) << row.pattern << " in " << row.subject;
    if (row.offset >= 0) {
        EXPECT_EQ(p.MatchStart[0], row.offset);
        EXPECT_EQ(p.MatchEnd[0] - p.MatchStart[0], row.length);
    }
}

const SearchRow kSearchRows[] = {
    {"ngc", "NGC 224", 0, 3},
    {"_ngc", "NGC 224", -1, 0},
    {"_NGC", "xNGC 224", 1, 3},
    {"m3?", "M31", 0, 3},
    {"m3?", "M33", 0, 3},
    {"m3?", "M3\r\n", -1, 0},
    {"m3?", "M3\n", -1, 0},
    {"m3@1", "M1", 0, 2},
    {"m3@1", "M31", 0, 3},
    {"m3@1", "M331", 0, 4},
    {"{ab}+", "ababx", 0, 2},
    {"a*b", "xaxbxb", 1, 3},
    {"x|y|z", "--z", 2, 1},
    {"x|y|z", "-y-", 1, 1},
    {"x|y|z", "x", 0, 1},
    {"{NGC}|{IC} 1", "IC 1", 0, 4},
    {"{NGC}|{IC} 1", "NGC", 0, 3},
    {"{NGC}|{IC} 1", "IC 2", -1, 0},
    {"%M 31%", "M 31", 0, 4},
    {"%M 31%", "X\r\nM 31\r\nY", 1, 8},
    {"%M 31%", "X\r\nM 31", 1, 6},
    {"%M 31%", "M 310", -1, 0},
    {"[a-c]", "xxb", 2, 1},
    {"[c-a]", "xxb", 2, 1},
    {"[]", "abc", -1, 0},
    {"[~]", "\r", 0, 1},
    {"[~]", "\n", 0, 1},
    {"[~]", "", -1, 0},
    {"[~a]", "aab", 2, 1},
    {"[~%]", "\r\nz", 2, 1},
    {"[%]", "ab\n", 2, 1},
    {"#", "observed 20011231 at home", 9, 8},
    {"#", "observed 18991231", -1, 0},
    {"#", "21000101", -1, 0},
    {"\\#", "a#b", 1, 1},
    {"@ab", "xab", 1, 2},
    {"+ab", "xab", 1, 2},
    {"{@a}", "xa", 1, 1},
    {"x|+y", "y", 0, 1},
    {"abc\\", "xabc\\", 1, 4},
    {"\\*", "a*", 1, 1},
    {"a\\@", "a@", 0, 2},
    {"", "anything", 0, 0},
    {"", "", 0, 0},
    {"?", "", -1, 0},
    {"*", "", 0, 0},
    {"*", "abc", 0, 0},
    {"a*", "xxab", 2, 1},
    {"a+", "baaa", 1, 1},
    {"ab@", "xabbb", 1, 1},
    {"ab+c", "abbbc", 0, 5},
    {"{ab}@c", "ababc", 0, 5},
    {"{a|ab}c", "abc", 0, 3},
    {"{ab|a}@b", "abab", 0, 2},
    {"%", "ab", 0, 0},
    {"a%", "a\r\nb", 0, 3},
    {"%b", "a\r\nb", 1, 3},
    {"%%", "\r\n\r\n", 0, 0},
    {"a.c", "abc a.c", 4, 3},
    {"(^$-)", "x(^$-)", 1, 5},
    {"[\\]]", "a]", 1, 1},
    {"[a\\-c]", "b-", 1, 1},
    {"[a-]", "x-", 1, 1},
    {"[-a]", "x-", 1, 1},
    {"\xE9t\xE9", "caf\xE9t\xE9", 3, 3},
    {"[\x80-\xFF]", "ab\xC4", 2, 1},
    {"[~\x01-\x7F]", "ab\xC4", 2, 1},
    {"?", std::string("\0x", 2), 0, 1},
    // A loop that drops its points before a boundary must still allow the empty match that
    // the boundary gives at offset 0.
    {"c@%", "ca", 0, 0},
    {"*b@c@+%", "ca", 0, 0},
    {"xc@%", "axcc", 1, 3},
};

INSTANTIATE_TEST_SUITE_P(Pattern, SearchTable, ::testing::ValuesIn(kSearchRows));

TEST(PatternSearch, StartOffsetAndRepeatedSearch) {
    Pattern p("=m*=");
    const std::string subject = "=M31=N224=|=M33=";
    EXPECT_EQ(p.Search(subject, 0), 0);
    EXPECT_EQ(p.MatchEnd[0], 5);
    EXPECT_EQ(p.Search(subject, 1), 11);
    EXPECT_EQ(p.MatchEnd[0], 16);
    EXPECT_EQ(p.Search(subject, 12), -1);
    EXPECT_EQ(p.Search(subject, 99), -1);
    EXPECT_EQ(p.Search(subject, -5), 0);
}

TEST(PatternSearch, NulTerminatedOverloadStopsAtNul) {
    Pattern p("b");
    const char text[] = "a\0b";
    EXPECT_EQ(p.Search(text), -1);
    EXPECT_EQ(p.Search(std::string_view(text, 3)), 2);
    EXPECT_EQ(p.Search(static_cast<const char *>(nullptr)), -1);
}

TEST(PatternSearch, EmptyPatternMatchesEverySubjectAtStart) {
    Pattern p;
    for (const char *s : {"", "x", "NGC 224"}) {
        EXPECT_EQ(p.Search(s), 0);
        EXPECT_EQ(p.MatchStart[0], 0);
        EXPECT_EQ(p.MatchEnd[0], 0);
    }
    EXPECT_EQ(p.Search("abc", 2), 2);
    Pattern q("");
    EXPECT_EQ(q.Search("abc"), 0);
    EXPECT_EQ(q.MatchEnd[0], 0);
}

// ---- MatchAt -----------------------------------------------------------------------------

TEST(PatternMatchAt, GreedyWhereSearchIsShortest) {
    Pattern p("{ab}+");
    const char *s = "ababx";
    EXPECT_EQ(p.MatchAt(s, 5, 0, 5), 4);
    EXPECT_EQ(p.MatchEnd[0], 4);
    // Group registers keep what was written last, also by the failed third pass that began
    // at 4; they are never reported inverted.
    EXPECT_EQ(p.MatchEnd[1], 4);
    EXPECT_EQ(p.MatchStart[1], 4);
    EXPECT_EQ(p.Search(s), 0);
    EXPECT_EQ(p.MatchEnd[0], 2);
}

TEST(PatternMatchAt, ConsumesNothingAtOrBeyondStop) {
    Pattern p("abc");
    EXPECT_EQ(p.MatchAt("abcd", 4, 0, 3), 3);
    EXPECT_EQ(p.MatchAt("abcd", 4, 0, 2), -1);
    Pattern loop("a@");
    EXPECT_EQ(loop.MatchAt("aaaa", 4, 0, 4), 4);
    EXPECT_EQ(loop.MatchAt("aaaa", 4, 0, 2), 2);
    EXPECT_EQ(loop.MatchAt("aaaa", 4, 1, 0), 0); // stop below position: only the empty match
    Pattern set("[a]");
    EXPECT_EQ(set.MatchAt("a", 1, 0, 0), -1);
}

TEST(PatternMatchAt, BoundaryRespectsStopAndTrueEnd) {
    Pattern p("x%");
    const char *s = "x\r\ny";
    EXPECT_EQ(p.MatchAt(s, 4, 0, 4), 3);
    EXPECT_EQ(p.MatchAt(s, 4, 0, 2), -1);    // the CR LF would reach the stop
    EXPECT_EQ(p.MatchAt("x", 1, 0, 1), 1);   // true end of the subject
    EXPECT_EQ(p.MatchAt("xy", 2, 0, 1), -1); // the stop is not the end of the subject
    Pattern lf("%y");
    EXPECT_EQ(lf.MatchAt(s, 4, 2, 4), 2);       // the LF of a CR LF
    EXPECT_EQ(lf.MatchAt("y", 1, 0, 1), 1);     // offset 0 is a boundary
    EXPECT_EQ(lf.MatchAt("\ny", 2, 0, 2), -1);  // that consumes nothing, not even an LF
    EXPECT_EQ(lf.MatchAt("a\ny", 3, 1, 3), -1); // and a lone LF is no boundary
}

TEST(PatternMatchAt, BadArgumentsAreNoMatch) {
    Pattern p("a");
    EXPECT_EQ(p.MatchAt("a", 1, 2, 1), -1);
    EXPECT_EQ(p.MatchAt("a", 1, -1, 1), -1);
    EXPECT_EQ(p.MatchAt("a", -3, 0, 1), -1);
    EXPECT_EQ(p.MatchAt(nullptr, 5, 0, 5), -1);
    EXPECT_EQ(p.MatchAt("a", 1, 0, 99), 1);
}

// ---- Groups ------------------------------------------------------------------------------

TEST(PatternGroups, RecordBoundsOrMinusOne) {
    Pattern p("{NGC}|{IC} 1");
    ASSERT_EQ(p.Search("see IC 1"), 4);
    EXPECT_EQ(p.MatchStart[1], -1);
    EXPECT_EQ(p.MatchEnd[1], -1);
    EXPECT_EQ(p.MatchStart[2], 4);
    EXPECT_EQ(p.MatchEnd[2], 6);
    for (int g = 3; g < Pattern::kGroups; ++g)
        EXPECT_EQ(p.MatchStart[g], -1);
}

TEST(PatternGroups, OnlyNineRecorded) {
    std::string text;
    for (char c = 'a'; c <= 'k'; ++c) // eleven groups in a row
        text += std::string("{") + c + "}";
    Pattern p(text);
    ASSERT_TRUE(p.IsValid());
    ASSERT_EQ(p.Search("xabcdefghijk"), 1);
    for (int g = 1; g < Pattern::kGroups; ++g) {
        EXPECT_EQ(p.MatchStart[g], g);
        EXPECT_EQ(p.MatchEnd[g], g + 1);
    }
    EXPECT_EQ(p.MatchEnd[0], 12);
}

TEST(PatternGroups, LaterGroupsStillGroupAndRepeat) {
    // Groups 10 and up emit no markers; literals on either side must stay apart from them.
    std::string text;
    for (int i = 0; i < 9; ++i)
        text += "{}";
    Pattern p(text + "a{b}@c");
    ASSERT_TRUE(p.IsValid());
    EXPECT_EQ(p.Search("xac"), 1);
    EXPECT_EQ(p.Search("xabbbc"), 1);
    EXPECT_EQ(p.MatchEnd[0], 6);
    Pattern alt(text + "a{b|c}d");
    EXPECT_EQ(alt.Search("acd"), 0);
    EXPECT_EQ(alt.Search("abd"), 0);
    EXPECT_EQ(alt.Search("ad"), -1);
    Pattern after(text + "{a|c}b");
    EXPECT_EQ(after.Search("cb"), 0);
    EXPECT_EQ(after.Search("ab"), 0);
}

TEST(PatternGroups, RegistersNeverInverted) {
    Pattern p("{a|a?}@c");
    const std::string s = "aaaaxc aaac";
    ASSERT_GE(p.Search(s), 0);
    EXPECT_LE(p.MatchStart[1], p.MatchEnd[1]);
}

// ---- Compile errors and limits -----------------------------------------------------------

struct ErrorRow {
    std::string pattern;
    const char *message;
};

class ErrorTable : public ::testing::TestWithParam<ErrorRow> {};

TEST_P(ErrorTable, FailsWithMessageShownOnce) {
    const ErrorRow &row = GetParam();
    platform::HeadlessHost host;
    Pattern p(row.pattern, &host);
    EXPECT_FALSE(p.IsValid());
    EXPECT_EQ(p.Error(), row.message);
    ASSERT_EQ(host.Events().size(), 1u);
    EXPECT_EQ(host.Events()[0].kind, platform::HostEventKind::MessageBox);
    EXPECT_EQ(host.Events()[0].text, row.message);
    EXPECT_EQ(host.Events()[0].title, "Vespario");
    EXPECT_EQ(host.Events()[0].buttons, platform::Buttons::Ok);
    EXPECT_EQ(p.Search("anything {a} [abc"), -2);
    EXPECT_EQ(p.MatchAt("x", 1, 0, 1), -2);
    EXPECT_TRUE(p.Program().empty());
}

std::string Nested(int depth) {
    return std::string(depth, '{') + "a" + std::string(depth, '}');
}

const ErrorRow kErrorRows[] = {
    {"{a", "Unmatched {"},
    {"a}", "Unmatched }"},
    {"{a}}", "Unmatched }"},
    {"{a|b", "Unmatched {"},
    {"[abc", "Premature end of regular expression"},
    {"[", "Premature end of regular expression"},
    {"[~", "Premature end of regular expression"},
    {"[a\\", "Premature end of regular expression"},
    {"[a-", "Premature end of regular expression"},
    {"[a-\\", "Premature end of regular expression"},
    {"x#[", "Premature end of regular expression"},
    {Nested(11), "Nesting too deep"},
    {std::string(16376, '?'), "Regular expression too big"},
    {std::string(700, '#'), "Regular expression too big"},
};

INSTANTIATE_TEST_SUITE_P(Pattern, ErrorTable, ::testing::ValuesIn(kErrorRows));

TEST(PatternLimits, TenNestedGroupsCompile) {
    Pattern p(Nested(10));
    ASSERT_TRUE(p.IsValid()) << p.Error();
    EXPECT_EQ(p.Search("xa"), 1);
    EXPECT_EQ(p.MatchStart[9], 1);
    EXPECT_EQ(p.MatchEnd[9], 2);
}

TEST(PatternLimits, TenOpenAtOnceButManyInSequence) {
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "{{{{{{{{{{x}}}}}}}}}}";
    EXPECT_TRUE(Pattern(text).IsValid());
}

TEST(PatternLimits, ProgramSizeLimitIsExact) {
    Pattern p(std::string(16375, '?')); // the last character still finds ten bytes free
    ASSERT_TRUE(p.IsValid()) << p.Error();
    EXPECT_EQ(p.Program().size(), 16375u);
    EXPECT_EQ(p.Search(std::string(16375, 'z')), 0);
    EXPECT_EQ(p.Search(std::string(16374, 'z')), -1);
}

TEST(PatternLimits, ExactInstructionsHoldAtMost127) {
    Pattern p(std::string(300, 'a'));
    const auto &prog = p.Program();
    ASSERT_EQ(prog.size(), 2u + 127 + 2 + 127 + 2 + 46);
    EXPECT_EQ(prog[1], 127);
    EXPECT_EQ(prog[129], Pattern::kExact);
    EXPECT_EQ(prog[258 + 1], 46);
    EXPECT_EQ(p.Search(std::string(301, 'A')), 0);
    EXPECT_EQ(p.MatchEnd[0], 300);
}

// The plain jump keeps one backtrack point per pass of "*" here (the loop is followed by a
// "b" that "?" could consume), so the length of the run decides overflow.
std::string RunOf(int k) {
    return "a" + std::string(k, 'c') + "b";
}

TEST(PatternLimits, BacktrackStackAbandonsAbove2000Points) {
    Pattern p("a*b");
    // k characters after the a: k + 2 points at most; the stack stops growing at 2560.
    EXPECT_EQ(p.Search(RunOf(2558)), 0);
    EXPECT_EQ(p.MatchEnd[0], 2560);
    EXPECT_EQ(p.Search(RunOf(2559)), -2);
    const std::string s = RunOf(2559);
    EXPECT_EQ(p.MatchAt(s.c_str(), static_cast<int>(s.size()), 0, static_cast<int>(s.size())), -2);
    EXPECT_EQ(p.Search(RunOf(10)), 0); // the grown stack is reused, not broken
    EXPECT_EQ(p.MatchEnd[0], 12);
}

TEST(PatternLimits, FinalizedLoopNeedsNoStack) {
    Pattern p("a@b"); // nothing an a-run gives back can start the b
    EXPECT_EQ(p.Search(std::string(50000, 'a') + "b"), 0);
    EXPECT_EQ(p.MatchEnd[0], 50001);
}

// Loops whose body can match nothing would repeat an empty pass for ever (or until the
// stack overflows); such a pass is refused instead.
const SearchRow kEmptyBodyRows[] = {
    {"{a@}@", "b", 0, 0},    {"{a@}@x", "bx", 1, 1},    {"{a@}@x", "aax", 0, 3},
    {"{a@}+", "b", 0, 0},    {"{a@}+b", "aab", 0, 3},   {"{%}@x", "\r\nx", 1, 2},
    {"{a|}@b", "aab", 0, 3}, {"{{a@}@}@c", "ac", 0, 2}, {"{a@b@}@c", "abbac", 0, 5},
    {"{a@}@", "", 0, 0},     {"{}+", "x", 0, 0},        {"{a@|b}+c", "bac", 0, 3},
};

INSTANTIATE_TEST_SUITE_P(EmptyBodies, SearchTable, ::testing::ValuesIn(kEmptyBodyRows));

TEST(PatternLimits, RunawayBacktrackingIsAbandoned) {
    // Nested repetition over a run that never matches: exponential work, abandoned with -2.
    Pattern p("{?@}@x");
    EXPECT_EQ(p.Search(std::string(40, 'a')), -2);
    EXPECT_EQ(p.Search("aax"), 0); // the same pattern still works on tame input
    EXPECT_EQ(p.MatchEnd[0], 3);
}

// ---- Text preparation --------------------------------------------------------------------

TEST(PatternText, UnderscoreAndDateExpansion) {
    Pattern p("_Abc");
    EXPECT_TRUE(p.CaseSensitive());
    EXPECT_EQ(p.Text(), "Abc");
    Pattern q("abc");
    EXPECT_FALSE(q.CaseSensitive());
    EXPECT_EQ(Pattern("x#").Text(), "x[12][90][0-9][0-9][01][0-9][0-3][0-9]");
    EXPECT_EQ(Pattern("\\#").Text(), "\\#");
    EXPECT_EQ(Pattern("__").Text(), "_");
    EXPECT_EQ(Pattern("__").Search("a_"), 1); // a second _ is an ordinary character
}

TEST(PatternText, EmptyTextRecompilesPrevious) {
    platform::HeadlessHost host;
    Pattern p("_Ngc");
    ASSERT_TRUE(p.SetText("", &host));
    EXPECT_EQ(p.Text(), "Ngc");
    EXPECT_TRUE(p.CaseSensitive());
    EXPECT_EQ(p.Search("NGC Ngc"), 4);
    EXPECT_TRUE(host.Events().empty());

    ASSERT_FALSE(p.SetText("{", &host));
    EXPECT_EQ(p.Search("{"), -2);
    EXPECT_FALSE(p.SetText("", &host)); // the failing text is compiled again
    EXPECT_EQ(host.Events().size(), 2u);
    ASSERT_TRUE(p.SetText("m31", &host));
    EXPECT_TRUE(p.Error().empty());
    EXPECT_EQ(p.Search("xm31"), 1);
}

TEST(PatternText, NoHostNoMessageBox) {
    Pattern p("}");
    EXPECT_FALSE(p.IsValid());
    EXPECT_EQ(p.Error(), "Unmatched }");
}

// ---- Compiled program --------------------------------------------------------------------

struct ProgramRow {
    const char *pattern;
    std::vector<unsigned char> bytes;
};

class ProgramTable : public ::testing::TestWithParam<ProgramRow> {};

TEST_P(ProgramTable, CompilesToBytes) {
    Pattern p(GetParam().pattern);
    ASSERT_TRUE(p.IsValid()) << p.Error();
    EXPECT_EQ(p.Program(), GetParam().bytes) << GetParam().pattern;
}

const ProgramRow kProgramRows[] = {
    {"", {}},
    {"ab", {1, 2, 'A', 'B'}},
    {"_ab", {1, 2, 'a', 'b'}},
    {"ab@", {1, 1, 'A', 4, 6, 0, 1, 1, 'B', 6, 0xF7, 0xFF}},
    {"a+", {7, 3, 0, 4, 6, 0, 1, 1, 'A', 6, 0xF7, 0xFF}},
    {"*", {4, 4, 0, 8, 6, 0xF9, 0xFF}},
    {"?+@", {4, 4, 0, 8, 6, 0xF9, 0xFF}},
    {"a|b", {4, 6, 0, 1, 1, 'A', 3, 3, 0, 1, 1, 'B'}},
    {"a|b|c", {4, 6, 0, 1, 1, 'A', 3, 6, 0, 4, 6, 0, 1, 1, 'B', 3, 3, 0, 1, 1, 'C'}},
    {"{a}", {11, 1, 1, 1, 'A', 12, 1}},
    {"{a}@", {4, 10, 0, 11, 1, 1, 1, 'A', 12, 1, 6, 0xF3, 0xFF}},
    {"%?", {2, 8}},
    {"[a-c]", {9, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0x0E}},
    {"[%]", {9, 2, 0, 0x24}},
    {"[]", {9, 0}},
    {"[~]", {10, 0}},
    {"\\", {1, 1, '\\'}},
    {"\\{\\}", {1, 2, '{', '}'}},
    {"@+a", {1, 1, 'A'}},
    {"{+a}", {11, 1, 1, 1, 'A', 12, 1}},
    {"a%@", {4, 7, 0, 1, 1, 'A', 2, 6, 0xF6, 0xFF}},
};

INSTANTIATE_TEST_SUITE_P(Pattern, ProgramTable, ::testing::ValuesIn(kProgramRows));

struct LoopRow {
    const char *pattern;
    const char *subject;
    unsigned char rewritten; // opcode of the first loop end after a search
};

class LoopEndTable : public ::testing::TestWithParam<LoopRow> {};

// Walks the program instruction by instruction to the first loop end.
int FirstLoopEnd(const std::vector<unsigned char> &prog) {
    std::size_t i = 0;
    while (i < prog.size()) {
        const unsigned char op = prog[i];
        if (op == Pattern::kLoopEnd)
            return static_cast<int>(i);
        if (op == Pattern::kExact || op == Pattern::kSet || op == Pattern::kNotSet)
            i += 2 + prog[i + 1];
        else if (op == Pattern::kGroupStart || op == Pattern::kGroupEnd)
            i += 2;
        else if (op == Pattern::kBoundary || op == Pattern::kAny)
            i += 1;
        else
            i += 3;
    }
    return -1;
}

TEST_P(LoopEndTable, RewritesOnFirstRun) {
    Pattern p(GetParam().pattern);
    const int at = FirstLoopEnd(p.Program());
    ASSERT_GE(at, 0);
    p.Search(GetParam().subject);
    EXPECT_EQ(p.Program()[at], GetParam().rewritten) << GetParam().pattern;
    EXPECT_EQ(FirstLoopEnd(p.Program()), -1);
}

const LoopRow kLoopRows[] = {
    {"a@", "aa", Pattern::kFinalize},      {"a@b", "aab", Pattern::kFinalize},
    {"a@a", "aaa", Pattern::kJump},        {"[ab]@b", "ab", Pattern::kJump},
    {"[ab]@c", "abc", Pattern::kFinalize}, {"[~c]@c", "abc", Pattern::kFinalize},
    {"[~b]@c", "ac", Pattern::kJump},      {"a@%", "aa", Pattern::kFinalize},
    {"[%]@%", "\r\n", Pattern::kJump},     {"{a}@b", "ab", Pattern::kJump},
    {"a@{b}", "ab", Pattern::kFinalize},   {"a@?", "ab", Pattern::kJump},
    {"a+b", "aab", Pattern::kFinalize},    {"a@{a}", "aa", Pattern::kJump},
};

INSTANTIATE_TEST_SUITE_P(Pattern, LoopEndTable, ::testing::ValuesIn(kLoopRows));

TEST(PatternProgram, RewriteHoldsForLaterSearches) {
    Pattern p("x@y");
    EXPECT_EQ(p.Search("xxy"), 0);
    EXPECT_EQ(p.MatchEnd[0], 3);
    EXPECT_EQ(p.Search("y"), 0);
    EXPECT_EQ(p.Search("xx"), -1);
    EXPECT_EQ(p.Search("axxxy"), 1);
    EXPECT_EQ(p.MatchEnd[0], 5);
}

// ---- First-character map and empty-match flag ----------------------------------------------

TEST(PatternFirstChars, MapAndFlag) {
    Pattern ngc("ngc");
    EXPECT_TRUE(ngc.CanStartWith('N'));
    EXPECT_FALSE(ngc.CanStartWith('n')); // the map holds folded characters
    EXPECT_FALSE(ngc.CanStartWith('G'));
    EXPECT_EQ(ngc.EmptyMatchFlag(), 0);
    EXPECT_TRUE(Pattern("_ngc").CanStartWith('n'));

    Pattern alt("x|[0-2]");
    EXPECT_TRUE(alt.CanStartWith('X'));
    EXPECT_TRUE(alt.CanStartWith('1'));
    EXPECT_FALSE(alt.CanStartWith('3'));
    EXPECT_EQ(alt.EmptyMatchFlag(), 0);

    Pattern any("?");
    EXPECT_TRUE(any.CanStartWith('a'));
    EXPECT_FALSE(any.CanStartWith('\r'));
    EXPECT_FALSE(any.CanStartWith('\n'));

    Pattern neg("[~a]");
    EXPECT_FALSE(neg.CanStartWith('A'));
    EXPECT_TRUE(neg.CanStartWith('\n'));
    EXPECT_TRUE(neg.CanStartWith(0xFF));

    EXPECT_EQ(Pattern("%x").EmptyMatchFlag(), 1);
    EXPECT_EQ(Pattern("{%}x").EmptyMatchFlag(), 2);
    EXPECT_TRUE(Pattern("{%}x").CanStartWith('\r'));
    EXPECT_TRUE(Pattern("{%}x").CanStartWith('X'));
    EXPECT_EQ(Pattern("x@").EmptyMatchFlag(), 1);
    EXPECT_EQ(Pattern("a+").EmptyMatchFlag(), 1);
    EXPECT_EQ(Pattern("").EmptyMatchFlag(), 1);
    EXPECT_EQ(Pattern("x@y").EmptyMatchFlag(), 0);
    EXPECT_TRUE(Pattern("x@y").CanStartWith('Y'));
}

TEST(PatternFirstChars, FlagTwoStillFindsBoundaryMatches) {
    Pattern p("{%}x");
    EXPECT_EQ(p.Search("x"), 0);
    EXPECT_EQ(p.Search("ax"), -1);
    EXPECT_EQ(p.Search("a\r\nx"), 1);
    EXPECT_EQ(p.MatchEnd[0], 4);
    Pattern end("{%}");
    EXPECT_EQ(end.EmptyMatchFlag(), 1);
    EXPECT_EQ(end.Search("ab"), 0);
    EXPECT_EQ(end.Search("ab", 1), 2);
}

// ---- Cross-check against the reference matcher on generated inputs -------------------------

std::string RandomPattern(std::mt19937 &rng) {
    static const char *const kTokens[] = {"a", "b",    "a",    "b",   "c", "?", "*", "@",   "+",
                                          "%", "[ab]", "[~a]", "[%]", "{", "}", "|", "\\@", "ab"};
    std::uniform_int_distribution<int> count(1, 7);
    std::uniform_int_distribution<int> pick(0, std::size(kTokens) - 1);
    std::string text;
    for (int n = count(rng); n > 0; --n)
        text += kTokens[pick(rng)];
    return text;
}

std::string RandomSubject(std::mt19937 &rng) {
    static const char kChars[] = {'a', 'b', 'A', 'c', '\r', '\n', 'a', 'b'};
    std::uniform_int_distribution<int> count(0, 9);
    std::uniform_int_distribution<int> pick(0, std::size(kChars) - 1);
    std::string text;
    for (int n = count(rng); n > 0; --n)
        text += kChars[pick(rng)];
    return text;
}

void CrossCheck(const std::string &text, const std::string &subject, int &compared) {
    Pattern p(text);
    test::ReferenceMatcher ref(text);
    ASSERT_EQ(p.IsValid(), ref.Valid()) << text;
    if (!p.IsValid()) {
        EXPECT_EQ(p.Error(), ref.Error()) << text;
        return;
    }
    const int got = p.Search(subject);
    if (got == -2)
        return;
    ++compared;
    const auto want = ref.Search(subject);
    ASSERT_EQ(got, want.offset) << "pattern " << text << " subject "
                                << testing::PrintToString(subject);
    if (got >= 0) {
        ASSERT_EQ(p.MatchEnd[0], want.end) << text << " / " << testing::PrintToString(subject);
    }
    const int n = static_cast<int>(subject.size());
    for (int position : {0, n / 2}) {
        for (int stop = position; stop <= n; ++stop) {
            const int r = p.MatchAt(subject.c_str(), n, position, stop);
            if (r == -2)
                continue;
            const std::set<int> ends = ref.Ends(subject, position, stop);
            ASSERT_EQ(r >= 0, !ends.empty()) << text << " at " << position << " stop " << stop;
            if (r >= 0) {
                ASSERT_TRUE(ends.count(position + r)) << text << " stop " << stop;
            }
        }
    }
    const auto later = ref.Search(subject, n / 2);
    const int gotLater = p.Search(subject, n / 2);
    if (gotLater != -2) {
        ASSERT_EQ(gotLater, later.offset) << text << " from " << n / 2;
    }
}

TEST(PatternReference, AgreesOnGeneratedInputs) {
    std::mt19937 rng(20240601);
    int compared = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string text = RandomPattern(rng);
        const std::string subject = RandomSubject(rng);
        CrossCheck(text, subject, compared);
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(compared, 10000); // the check must not be vacuous
}

} // namespace
} // namespace vespario
