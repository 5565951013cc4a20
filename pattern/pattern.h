#pragma once
// Vespario's own pattern language: a small regular-expression dialect whose operator characters
// are _ ? * @ + % # | [ ] ~ { } and \. A Pattern compiles its text once into a byte-coded
// program and then searches any number of subjects with it, reporting the leftmost match and,
// at that position, the shortest one.

#include "platform/host.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class Pattern {
public:
    static constexpr int kGroups = 10;

    // Limits of the compiled form; the messages below name what went wrong.
    static constexpr int kInitialProgramBytes = 28;
    static constexpr int kMaxProgramBytes = 16384;
    static constexpr int kMaxOpenGroups = 10;
    static constexpr int kInitialBacktrackPoints = 80;
    static constexpr int kMaxBacktrackPoints = 2000; // a full stack above this abandons

    // Guard against runaway backtracking (nested repetitions, exponential in the subject):
    // one anchored attempt gives up with -2 after this many returns to a backtrack point, and
    // one whole search after the base plus the per-byte allowance times the subject length.
    // A last-resort cap on executed instructions per attempt keeps any attempt finite.
    static constexpr std::int64_t kBacktracksPerAttempt = std::int64_t{1} << 18;
    static constexpr std::int64_t kBacktracksPerSearch = std::int64_t{1} << 22;
    static constexpr std::int64_t kBacktracksPerSubjectByte = 1024;
    static constexpr std::int64_t kStepsPerAttempt = std::int64_t{1} << 28;

    // What Search and MatchAt return besides an offset or a length.
    static constexpr int kNoMatch = -1;
    static constexpr int kAbandoned = -2; // also every search with an invalid pattern
    // What the program tells the user when a search it ran for them was abandoned.
    static constexpr std::string_view kAbandonedMessage =
        "The search was abandoned: the pattern needs too much backtracking.";

    // Instruction codes of the compiled program.
    enum Op : unsigned char {
        kExact = 1,
        kBoundary = 2,
        kJump = 3,
        kOnFailure = 4,
        kFinalize = 5,
        kLoopEnd = 6,
        kDormant = 7,
        kAny = 8,
        kSet = 9,
        kNotSet = 10,
        kGroupStart = 11,
        kGroupEnd = 12,
    };

    Pattern(); // empty text: matches everywhere, length 0
    explicit Pattern(std::string_view text, platform::Host *host = nullptr);

    // Compiles text. An empty text compiles the previously stored text again. On a compile
    // error the message is shown through host (when given) and kept in Error(), and every
    // search answers -2 until a text compiles. Returns success.
    bool SetText(std::string_view text, platform::Host *host = nullptr);

    // Leftmost match at or after start, and the shortest one there. Returns its offset, -1 for
    // none, -2 when the pattern is invalid or the backtracking was abandoned.
    int Search(std::string_view subject, int start = 0);
    int Search(const char *subject, int start = 0); // NUL-terminated
    // Where the leftmost match at or after start begins, as Search finds it, without looking
    // for the shortest match there (which costs Search further runs of the pattern): for
    // callers that need only the offset. The registers describe the first match found.
    int SearchStart(std::string_view subject, int start = 0);

    // Anchored match at position that consumes nothing at or beyond stop. Returns the match
    // length, -1 for no match, -2 for an invalid pattern or abandoned backtracking.
    int MatchAt(const char *subject, int length, int position, int stop);

    bool IsValid() const { return m_valid; }
    const std::string &Error() const { return m_error; }
    const std::string &Text() const { return m_text; }
    bool CaseSensitive() const { return m_caseSensitive; }

    int MatchStart[kGroups];
    int MatchEnd[kGroups];

    // Introspection: c is a character after case folding.
    bool CanStartWith(unsigned char c) const { return m_firstChars[c]; }
    // 0: a match consumes at least one character; 1: may be empty anywhere; 2: only at a
    // field boundary.
    int EmptyMatchFlag() const { return m_emptyFlag; }
    const std::vector<unsigned char> &Program() const { return m_program; }

private:
    struct Point {
        int pc; // -1 for a dormant point
        int d;
    };

    struct Machine {
        Point *stack;
        int capacity;
        int top;
        int pc;
        int d;
    };
    enum Outcome { kNext, kFail, kAbandon };

    Outcome Execute(Machine &m, const unsigned char *s, int length, int stop);
    int Leftmost(std::string_view subject, int start, int &length);
    Outcome LoopJump(Machine &m);
    static bool Backtrack(Machine &m);
    void Prepare(std::string_view text);
    void ComputeFirstChars();
    void MarkNullableLoops();
    bool BodyCanBeEmpty(int body, int loopEnd) const;
    enum PassKind { kConsumed, kEmptyAgain, kEmptyFirst };
    static int EmptyPass(const Point *stack, int top, int loopEnd, int d);
    void AddFirstChars(int pc);
    int Run(const unsigned char *s, int length, int position, int stop);
    bool Grow(Point *&stack, int &capacity, int top);
    bool Boundary(const unsigned char *s, int length, int stop, int &d) const;
    void RewriteLoopEnd(int pc);
    void StoreRegisters(int position, int d);
    int SkipToCandidate(const unsigned char *s, int p, int n) const;
    int Shortest(const unsigned char *s, int n, int p, int length);

    std::string m_text;
    std::string m_error;
    const unsigned char *m_fold;
    bool m_caseSensitive = false;
    bool m_valid = true;
    std::vector<unsigned char> m_program;
    // Per program byte, flags on loop ends. kCheckEmptyPass: the body can match nothing, and
    // a pass that consumed nothing is refused (it would otherwise repeat for ever).
    // kKeepPointAtZero: a finalized loop before a boundary keeps a point at offset 0.
    enum LoopFlag : unsigned char { kCheckEmptyPass = 1, kKeepPointAtZero = 2 };
    std::vector<unsigned char> m_emptyPassCheck;
    std::array<bool, 256> m_firstChars{};
    std::array<bool, 256> m_rawStart{}; // m_firstChars looked up through the fold table
    int m_rawStartCount = 0;
    unsigned char m_rawStartByte = 0; // the only start byte when m_rawStartCount is 1
    int m_emptyFlag = 1;

    std::int64_t m_backtracksLeft = 0; // for the running search
    int m_groupStart[kGroups];
    int m_groupEnd[kGroups];
    Point m_inlineStack[kInitialBacktrackPoints];
    std::vector<Point> m_grownStack; // kept between searches so that growth happens once
};

} // namespace vespario
