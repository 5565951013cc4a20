#include "pattern/pattern.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace vespario {

namespace {

constexpr unsigned char kCr = '\r';
constexpr unsigned char kLf = '\n';

// The eight-position date YYYYMMDD from 1900 to 2099 that "#" stands for.
constexpr std::string_view kDatePattern = "[12][90][0-9][0-9][01][0-9][0-3][0-9]";

struct FoldTables {
    unsigned char identity[256];
    unsigned char upper[256];
    constexpr FoldTables() : identity(), upper() {
        for (int c = 0; c < 256; ++c) {
            identity[c] = static_cast<unsigned char>(c);
            upper[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
    }
};
constexpr FoldTables kFold;

int Read16(const unsigned char *p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

void Write16(unsigned char *p, int value) {
    p[0] = static_cast<unsigned char>(value & 0xFF);
    p[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

// Target of the jump instruction at pc: displacements count from the byte after them.
int JumpTarget(const unsigned char *prog, int pc) {
    return pc + 3 + Read16(prog + pc + 1);
}

int InstructionLength(const unsigned char *prog, int pc) {
    switch (prog[pc]) {
    case Pattern::kExact:
        return 2 + prog[pc + 1];
    case Pattern::kSet:
    case Pattern::kNotSet:
        return 2 + prog[pc + 1];
    case Pattern::kGroupStart:
    case Pattern::kGroupEnd:
        return 2;
    case Pattern::kBoundary:
    case Pattern::kAny:
        return 1;
    default:
        return 3;
    }
}

// Whether the set instruction at p (opcode kSet or kNotSet) consumes the folded character c.
bool SetAccepts(const unsigned char *p, unsigned c) {
    const unsigned length = p[1];
    const bool listed = c < 8 * length && ((p[2 + c / 8] >> (c % 8)) & 1);
    return p[0] == Pattern::kSet ? listed : !listed;
}

// Executes a consuming instruction (exact, any, set, negated set) at pc; false when it fails.
inline bool Consume(const unsigned char *prog, int &pc, const unsigned char *s, int &d, int stop,
                    const unsigned char *fold) {
    const unsigned char op = prog[pc];
    if (op == Pattern::kExact) {
        const int n = prog[pc + 1];
        if (stop - d < n)
            return false;
        const unsigned char *literal = prog + pc + 2;
        for (int i = 0; i < n; ++i) {
            if (fold[s[d + i]] != literal[i])
                return false;
        }
        d += n;
        pc += 2 + n;
        return true;
    }
    if (d >= stop)
        return false;
    if (op == Pattern::kAny) {
        if (s[d] == kCr || s[d] == kLf)
            return false;
    } else if (!SetAccepts(prog + pc, fold[s[d]])) {
        return false;
    }
    ++d;
    pc += InstructionLength(prog, pc);
    return true;
}

// Whether the loop body at body (an exact, set or negated set instruction, or anything else,
// which is taken to begin with anything) can consume the folded character c first.
bool CanBegin(const unsigned char *prog, int body, unsigned c) {
    if (prog[body] == Pattern::kExact)
        return prog[body + 2] == c;
    if (prog[body] == Pattern::kSet || prog[body] == Pattern::kNotSet)
        return SetAccepts(prog + body, c);
    return true;
}

// Compiles a prepared pattern text into the byte-coded program. One object per compile.
class Compiler {
public:
    Compiler(std::string_view text, const unsigned char *fold) : m_text(text), m_fold(fold) {}

    // Returns the error message, empty on success; the program is left in out.
    std::string Compile(std::vector<unsigned char> &out);

private:
    struct OpenGroup {
        int offset;
        int fixup;
        int number;
        int altStart;
    };

    bool Room(int bytes);
    bool Step();
    void Emit(unsigned char byte) { m_buf[m_end++] = byte; }
    void EmitJump(unsigned char op, int target);
    void InsertJump(int at, unsigned char op, int target);
    void Literal(unsigned char raw, std::size_t next);
    void Any();
    void Postfix(bool zeroOrMore);
    void PostfixRun(bool zeroOrMore);
    bool Set();
    bool SetMember(unsigned char bits[32], bool &done);
    bool Open();
    bool Close();
    void Bar();
    bool Fail(const char *message) {
        m_error = message;
        return false;
    }
    unsigned char Fold(char c) const { return m_fold[static_cast<unsigned char>(c)]; }

    std::string_view m_text;
    const unsigned char *m_fold;
    std::size_t m_pos = 0;
    std::vector<unsigned char> m_buf;
    int m_end = 0;
    int m_lastStart = -1;
    int m_pendingExact = -1;
    int m_altStart = 0;
    int m_fixup = -1;
    int m_nextGroup = 1;
    OpenGroup m_groups[Pattern::kMaxOpenGroups];
    int m_depth = 0;
    std::string m_error;
};

std::string Compiler::Compile(std::vector<unsigned char> &out) {
    out.clear();
    try {
        m_buf.resize(Pattern::kInitialProgramBytes);
    } catch (const std::bad_alloc &) {
        return "Memory exhausted";
    }
    while (m_pos < m_text.size()) {
        if (!Room(10) || !Step())
            return m_error;
    }
    if (m_fixup >= 0)
        Write16(&m_buf[m_fixup + 1], m_end - (m_fixup + 3));
    if (m_depth > 0)
        return "Unmatched {";
    m_buf.resize(m_end);
    out.swap(m_buf);
    return {};
}

// Makes sure that at least bytes are free, doubling the buffer up to its limit.
bool Compiler::Room(int bytes) {
    while (static_cast<int>(m_buf.size()) - m_end < bytes) {
        const int size = static_cast<int>(m_buf.size());
        if (size >= Pattern::kMaxProgramBytes)
            return Fail("Regular expression too big");
        try {
            m_buf.resize(std::min(2 * size, Pattern::kMaxProgramBytes));
        } catch (const std::bad_alloc &) {
            return Fail("Memory exhausted");
        }
    }
    return true;
}

// Compiles the item that begins at m_pos.
bool Compiler::Step() {
    const char c = m_text[m_pos++];
    switch (c) {
    case '\\':
        if (m_pos >= m_text.size()) {
            Literal('\\', m_pos);
            return true;
        }
        ++m_pos;
        Literal(static_cast<unsigned char>(m_text[m_pos - 1]), m_pos);
        return true;
    case '?':
        Any();
        return true;
    case '*':
        Any();
        PostfixRun(true);
        return true;
    case '@':
    case '+':
        --m_pos;
        PostfixRun(false);
        return true;
    case '%':
        Emit(Pattern::kBoundary);
        return true;
    case '[':
        return Set();
    case '{':
        return Open();
    case '}':
        return Close();
    case '|':
        Bar();
        return true;
    default:
        Literal(static_cast<unsigned char>(c), m_pos);
        return true;
    }
}

void Compiler::EmitJump(unsigned char op, int target) {
    Emit(op);
    Write16(&m_buf[m_end], target - (m_end + 2));
    m_end += 2;
}

// Moves everything from at upwards by three bytes and writes a jump there; target is given in
// the coordinates after the move.
void Compiler::InsertJump(int at, unsigned char op, int target) {
    std::memmove(&m_buf[at + 3], &m_buf[at], static_cast<std::size_t>(m_end - at));
    m_end += 3;
    m_buf[at] = op;
    Write16(&m_buf[at + 1], target - (at + 3));
}

// A literal joins the open exact instruction unless a postfix operator follows it, so that
// the operator applies to this character alone.
void Compiler::Literal(unsigned char raw, std::size_t next) {
    const unsigned char c = m_fold[raw];
    const bool postfixNext = next < m_text.size() && (m_text[next] == '@' || m_text[next] == '+');
    if (m_pendingExact >= 0 && !postfixNext) {
        const int count = m_buf[m_pendingExact + 1];
        if (m_pendingExact + 2 + count == m_end && count < 127) {
            m_buf[m_pendingExact + 1] = static_cast<unsigned char>(count + 1);
            Emit(c);
            return;
        }
    }
    m_pendingExact = m_end;
    m_lastStart = m_end;
    Emit(Pattern::kExact);
    Emit(1);
    Emit(c);
}

void Compiler::Any() {
    m_lastStart = m_end;
    Emit(Pattern::kAny);
}

// Reads the run of @ and + at m_pos as one operator: zero-or-more if it holds any @ (or if
// it follows a "*"), otherwise one-or-more.
void Compiler::PostfixRun(bool zeroOrMore) {
    while (m_pos < m_text.size() && (m_text[m_pos] == '@' || m_text[m_pos] == '+')) {
        zeroOrMore = zeroOrMore || m_text[m_pos] == '@';
        ++m_pos;
    }
    if (m_lastStart >= 0)
        Postfix(zeroOrMore);
}

// Wraps the item from last start to the end in a loop. Layout (s = last start):
//   zero-or-more: s: on-failure -> X; body; loop-end -> s; X:
//   one-or-more:  s: dormant -> s+6; s+3: on-failure -> X; body; loop-end -> s+3; X:
void Compiler::Postfix(bool zeroOrMore) {
    const int s = m_lastStart;
    const int body = m_end;
    InsertJump(s, Pattern::kOnFailure, body + 6);
    EmitJump(Pattern::kLoopEnd, s);
    if (!zeroOrMore)
        InsertJump(s, Pattern::kDormant, s + 6);
    m_pendingExact = -1;
}

bool Compiler::Set() {
    if (!Room(35))
        return false;
    bool negated = false;
    if (m_pos < m_text.size() && m_text[m_pos] == '~') {
        negated = true;
        ++m_pos;
    }
    unsigned char bits[32] = {};
    bool done = false;
    while (!done) {
        if (!SetMember(bits, done))
            return false;
    }
    int length = 32;
    while (length > 0 && bits[length - 1] == 0)
        --length;
    m_lastStart = m_end;
    Emit(negated ? Pattern::kNotSet : Pattern::kSet);
    Emit(static_cast<unsigned char>(length));
    for (int i = 0; i < length; ++i)
        Emit(bits[i]);
    return true;
}

// Reads one member (character, escaped character, range or %) of a set, or its closing ].
bool Compiler::SetMember(unsigned char bits[32], bool &done) {
    auto add = [&bits](unsigned c) { bits[c / 8] |= static_cast<unsigned char>(1u << (c % 8)); };
    const std::size_t n = m_text.size();
    if (m_pos >= n)
        return Fail("Premature end of regular expression");
    char c = m_text[m_pos++];
    if (c == ']') {
        done = true;
        return true;
    }
    if (c == '%') {
        add(kCr);
        add(kLf);
        return true;
    }
    if (c == '\\') {
        if (m_pos >= n)
            return Fail("Premature end of regular expression");
        c = m_text[m_pos++];
    }
    unsigned low = Fold(c);
    if (m_pos >= n || m_text[m_pos] != '-') {
        add(low);
        return true;
    }
    ++m_pos;
    if (m_pos >= n)
        return Fail("Premature end of regular expression");
    if (m_text[m_pos] == ']') { // "a-]": the first ] ends the set, the - is a member
        add(low);
        add(Fold('-'));
        return true;
    }
    char h = m_text[m_pos++];
    if (h == '\\') {
        if (m_pos >= n)
            return Fail("Premature end of regular expression");
        h = m_text[m_pos++];
    }
    unsigned high = Fold(h);
    if (high < low)
        std::swap(low, high);
    for (unsigned x = low; x <= high; ++x)
        add(x);
    return true;
}

bool Compiler::Open() {
    if (m_depth >= Pattern::kMaxOpenGroups)
        return Fail("Nesting too deep");
    const int number = m_nextGroup++;
    m_groups[m_depth++] = {m_end, m_fixup, number, m_altStart};
    if (number < Pattern::kGroups) {
        Emit(Pattern::kGroupStart);
        Emit(static_cast<unsigned char>(number));
    }
    m_altStart = m_end;
    m_fixup = -1;
    m_lastStart = -1;
    // A literal inside must not join an exact instruction outside: with no group marker in
    // between, the group's offsets would fall inside that instruction.
    m_pendingExact = -1;
    return true;
}

bool Compiler::Close() {
    if (m_depth == 0)
        return Fail("Unmatched }");
    const OpenGroup group = m_groups[--m_depth];
    if (m_fixup >= 0)
        Write16(&m_buf[m_fixup + 1], m_end - (m_fixup + 3));
    if (group.number < Pattern::kGroups) {
        Emit(Pattern::kGroupEnd);
        Emit(static_cast<unsigned char>(group.number));
    }
    m_fixup = group.fixup;
    m_altStart = group.altStart;
    m_lastStart = group.offset;
    m_pendingExact = -1; // the jumps of the group's alternatives end here
    return true;
}

// Makes everything since the alternative start the first choice:
//   altStart: on-failure -> next; first choice; jump -> (filled later); next:
void Compiler::Bar() {
    InsertJump(m_altStart, Pattern::kOnFailure, m_end + 6);
    if (m_fixup >= 0) // the previous alternative's jump chains to this one
        Write16(&m_buf[m_fixup + 1], m_end - (m_fixup + 3));
    m_fixup = m_end;
    EmitJump(Pattern::kJump, m_end + 3);
    m_altStart = m_end;
    m_lastStart = -1;
    m_pendingExact = -1;
}

} // namespace

Pattern::Pattern() : m_fold(kFold.upper) {
    SetText({}, nullptr);
}

Pattern::Pattern(std::string_view text, platform::Host *host) : m_fold(kFold.upper) {
    SetText(text, host);
}

bool Pattern::SetText(std::string_view text, platform::Host *host) {
    if (!text.empty())
        Prepare(text);
    Compiler compiler(m_text, m_fold);
    m_error = compiler.Compile(m_program);
    m_valid = m_error.empty();
    if (!m_valid) {
        m_program.clear();
        m_emptyPassCheck.clear();
        m_firstChars.fill(false);
        m_rawStart.fill(false);
        m_rawStartCount = 0;
        m_emptyFlag = 0;
        if (host != nullptr)
            host->MessageBox(m_error, "Vespario", platform::Buttons::Ok);
        return false;
    }
    ComputeFirstChars();
    MarkNullableLoops();
    return true;
}

// A leading "_" makes the pattern case-sensitive; every "#" not escaped stands for a date.
void Pattern::Prepare(std::string_view text) {
    m_caseSensitive = text.front() == '_';
    if (m_caseSensitive)
        text.remove_prefix(1);
    m_fold = m_caseSensitive ? kFold.identity : kFold.upper;
    m_text.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '#' && (i == 0 || text[i - 1] != '\\'))
            m_text += kDatePattern;
        else
            m_text += text[i];
    }
}

// Walks the program from its start along both branches of every on-failure jump and collects
// the characters that a match can begin with.
void Pattern::ComputeFirstChars() {
    m_firstChars.fill(false);
    m_emptyFlag = 0;
    const unsigned char *prog = m_program.data();
    const int size = static_cast<int>(m_program.size());
    std::vector<bool> seen(static_cast<std::size_t>(size), false);
    std::vector<int> todo{0};
    while (!todo.empty()) {
        int pc = todo.back();
        todo.pop_back();
        while (pc < size && !seen[pc]) {
            seen[pc] = true;
            const unsigned char op = prog[pc];
            if (op == kOnFailure) {
                todo.push_back(JumpTarget(prog, pc));
            } else if (op == kBoundary) {
                m_firstChars[kCr] = m_firstChars[kLf] = true;
                m_emptyFlag = (pc == 0 || m_emptyFlag == 1) ? 1 : 2;
            } else if (op != kGroupStart && op != kGroupEnd) {
                AddFirstChars(pc);
                break;
            }
            pc += InstructionLength(prog, pc);
        }
        if (pc >= size)
            m_emptyFlag = 1; // the end of the program is reachable without consuming
    }
    m_rawStartCount = 0;
    for (int c = 0; c < 256; ++c) {
        m_rawStart[c] = m_firstChars[m_fold[c]];
        if (m_rawStart[c]) {
            ++m_rawStartCount;
            m_rawStartByte = static_cast<unsigned char>(c);
        }
    }
}

// The first characters of the instruction at pc, where the walk of ComputeFirstChars ends.
void Pattern::AddFirstChars(int pc) {
    const unsigned char *prog = m_program.data();
    switch (prog[pc]) {
    case kExact:
        m_firstChars[prog[pc + 2]] = true;
        return;
    case kAny:
        for (int c = 0; c < 256; ++c)
            m_firstChars[c] = m_firstChars[c] || (c != kCr && c != kLf);
        return;
    case kSet:
    case kNotSet:
        for (int c = 0; c < 256; ++c)
            m_firstChars[c] = m_firstChars[c] || SetAccepts(prog + pc, c);
        return;
    default:
        m_emptyFlag = 1;
        return; // a jump reached before anything was consumed
    }
}

void Pattern::MarkNullableLoops() {
    const unsigned char *prog = m_program.data();
    const int size = static_cast<int>(m_program.size());
    m_emptyPassCheck.assign(static_cast<std::size_t>(size), 0);
    for (int pc = 0; pc < size; pc += InstructionLength(prog, pc)) {
        if (prog[pc] == kLoopEnd && BodyCanBeEmpty(JumpTarget(prog, pc) + 3, pc))
            m_emptyPassCheck[pc] = kCheckEmptyPass;
    }
}

// Whether the loop body from body up to its loop end can be passed without consuming.
bool Pattern::BodyCanBeEmpty(int body, int loopEnd) const {
    const unsigned char *prog = m_program.data();
    std::vector<bool> seen(static_cast<std::size_t>(loopEnd - body + 1), false);
    std::vector<int> todo{body};
    while (!todo.empty()) {
        const int pc = todo.back();
        todo.pop_back();
        if (pc == loopEnd)
            return true;
        if (pc < body || pc > loopEnd || seen[pc - body])
            continue;
        seen[pc - body] = true;
        switch (prog[pc]) {
        case kBoundary:
        case kGroupStart:
        case kGroupEnd:
            todo.push_back(pc + InstructionLength(prog, pc));
            break;
        case kOnFailure:
            todo.push_back(pc + 3);
            todo.push_back(JumpTarget(prog, pc));
            break;
        case kJump:
        case kFinalize:
        case kLoopEnd:
        case kDormant:
            todo.push_back(JumpTarget(prog, pc));
            break;
        default:
            break; // consumes a character
        }
    }
    return false;
}

// Finds the point that began the current pass of the loop ending at loopEnd (its on-failure
// point, or the dormant point of a first pass) and tells whether the pass consumed nothing.
int Pattern::EmptyPass(const Point *stack, int top, int loopEnd, int d) {
    const int exit = loopEnd + 3;
    for (int i = top - 1; i >= 0; --i) {
        if (stack[i].pc == exit)
            return stack[i].d == d ? kEmptyAgain : kConsumed;
        if (stack[i].pc == -1 - exit)
            return stack[i].d == d ? kEmptyFirst : kConsumed;
    }
    return kConsumed;
}

// At the start and the true end of the subject the boundary consumes nothing; at a line end
// (CR LF, or the LF of one) it consumes the line end.
bool Pattern::Boundary(const unsigned char *s, int length, int stop, int &d) const {
    if (d == 0 || d == length)
        return true;
    if (s[d] == kCr && d + 1 < length && s[d + 1] == kLf && d + 1 < stop) {
        d += 2;
        return true;
    }
    if (s[d] == kLf && s[d - 1] == kCr && d < stop) {
        d += 1;
        return true;
    }
    return false;
}

// The first run of a loop end decides whether the loop may discard its backtrack point on
// every pass: only when giving back a character could never let what follows match.
void Pattern::RewriteLoopEnd(int pc) {
    unsigned char *prog = m_program.data();
    const int size = static_cast<int>(m_program.size());
    int q = pc + 3;
    while (q < size && (prog[q] == kGroupStart || prog[q] == kGroupEnd))
        q += 2;
    unsigned char op = kJump;
    if (q >= size) {
        op = kFinalize;
    } else if (prog[q] == kExact || prog[q] == kBoundary) {
        const int body = JumpTarget(prog, pc) + 3;
        // A boundary can begin with the CR of a CR LF as well as with an LF.
        const bool canBegin = prog[q] == kExact
                                  ? CanBegin(prog, body, prog[q + 2])
                                  : CanBegin(prog, body, kLf) || CanBegin(prog, body, kCr);
        // A body that leaves backtrack points of its own would have one of them dropped
        // instead of the loop's, so it keeps the plain jump.
        bool keepsPoints = false;
        for (int i = body; i < pc; i += InstructionLength(prog, i))
            keepsPoints = keepsPoints || prog[i] == kOnFailure || prog[i] == kDormant;
        if (!canBegin && !keepsPoints) {
            op = kFinalize;
            // A boundary also holds, consuming nothing, at offset 0, where the loop's
            // first point may stand: that point is kept.
            if (prog[q] == kBoundary)
                m_emptyPassCheck[pc] |= kKeepPointAtZero;
        }
    }
    prog[pc] = op;
}

bool Pattern::Grow(Point *&stack, int &capacity, int top) {
    if (top > kMaxBacktrackPoints)
        return false;
    const int grown = capacity * 2;
    try {
        if (static_cast<int>(m_grownStack.size()) < grown)
            m_grownStack.resize(static_cast<std::size_t>(grown));
    } catch (const std::bad_alloc &) {
        return false;
    }
    if (stack == m_inlineStack)
        std::copy(m_inlineStack, m_inlineStack + top, m_grownStack.data());
    stack = m_grownStack.data();
    capacity = grown;
    return true;
}

void Pattern::StoreRegisters(int position, int d) {
    MatchStart[0] = position;
    MatchEnd[0] = d;
    for (int g = 1; g < kGroups; ++g) {
        if (m_groupEnd[g] < 0) {
            MatchStart[g] = MatchEnd[g] = -1;
            continue;
        }
        // Registers are not restored on backtracking, so a start written by an abandoned
        // later pass can lie beyond the end; never report an inverted range.
        MatchEnd[g] = m_groupEnd[g];
        MatchStart[g] = std::clamp(m_groupStart[g], 0, m_groupEnd[g]);
    }
}

// Executes the instruction at m.pc. Returns kNext to go on, kFail to backtrack, kAbandon
// when the backtrack stack is exhausted.
inline Pattern::Outcome Pattern::Execute(Machine &m, const unsigned char *s, int length, int stop) {
    unsigned char *prog = m_program.data();
    const int pc = m.pc;
    switch (prog[pc]) {
    case kJump:
    case kFinalize:
        return LoopJump(m);
    case kLoopEnd:
        RewriteLoopEnd(pc);
        return kNext;
    case kOnFailure:
    case kDormant: {
        if (m.top == m.capacity && !Grow(m.stack, m.capacity, m.top))
            return kAbandon;
        const bool dormant = prog[pc] == kDormant;
        // A dormant point names its loop's exit (negated) so that EmptyPass can find it.
        m.stack[m.top++] = {dormant ? -1 - JumpTarget(prog, pc + 3) : JumpTarget(prog, pc), m.d};
        m.pc = dormant ? JumpTarget(prog, pc) : pc + 3;
        return kNext;
    }
    case kGroupStart:
        m_groupStart[prog[pc + 1]] = m.d;
        m.pc += 2;
        return kNext;
    case kGroupEnd:
        m_groupEnd[prog[pc + 1]] = m.d;
        m.pc += 2;
        return kNext;
    case kBoundary:
        if (!Boundary(s, length, stop, m.d))
            return kFail;
        ++m.pc;
        return kNext;
    default:
        return Consume(prog, m.pc, s, m.d, stop, m_fold) ? kNext : kFail;
    }
}

// A plain or finalize jump; at the end of a loop whose body can match nothing it also
// refuses or leaves an empty pass.
inline Pattern::Outcome Pattern::LoopJump(Machine &m) {
    const unsigned char *prog = m_program.data();
    const int pc = m.pc;
    const unsigned char flags = m_emptyPassCheck[pc];
    if (flags & kCheckEmptyPass) {
        const int pass = EmptyPass(m.stack, m.top, pc, m.d);
        if (pass == kEmptyAgain)
            return kFail; // the loop's own point already holds this position
        if (pass == kEmptyFirst) {
            m.pc = pc + 3; // a first pass of one-or-more that consumed nothing: leave
            return kNext;
        }
    }
    if (prog[pc] == kFinalize && m.top > 0 &&
        !((flags & kKeepPointAtZero) && m.stack[m.top - 1].d == 0))
        --m.top;
    m.pc = JumpTarget(prog, pc);
    return kNext;
}

// Pops to the newest live point; false when none is left.
inline bool Pattern::Backtrack(Machine &m) {
    while (m.top > 0 && m.stack[m.top - 1].pc < 0) // dormant points only fill the place
        --m.top;
    if (m.top == 0)
        return false;
    --m.top;
    m.pc = m.stack[m.top].pc;
    m.d = m.stack[m.top].d;
    return true;
}

// The anchored backtracking matcher. Returns the match length, -1 or -2.
int Pattern::Run(const unsigned char *s, int length, int position, int stop) {
    std::fill(m_groupStart, m_groupStart + kGroups, -1);
    std::fill(m_groupEnd, m_groupEnd + kGroups, -1);
    Machine m{m_inlineStack, kInitialBacktrackPoints, 0, 0, position};
    const int size = static_cast<int>(m_program.size());
    std::int64_t backtracks = std::min(kBacktracksPerAttempt, m_backtracksLeft);
    std::int64_t steps = kStepsPerAttempt;
    for (;;) {
        if (m.pc >= size) {
            StoreRegisters(position, m.d);
            return m.d - position;
        }
        const Outcome outcome = Execute(m, s, length, stop);
        if (outcome == kNext && --steps > 0)
            continue;
        if (outcome != kFail || --backtracks < 0 || steps <= 0) {
            m_backtracksLeft = 0;
            return -2;
        }
        --m_backtracksLeft;
        if (!Backtrack(m))
            return -1;
    }
}

int Pattern::MatchAt(const char *subject, int length, int position, int stop) {
    if (!m_valid)
        return -2;
    if (subject == nullptr)
        length = 0;
    if (length < 0 || position < 0 || position > length)
        return -1;
    m_backtracksLeft = kBacktracksPerAttempt;
    return Run(reinterpret_cast<const unsigned char *>(subject), length, position,
               std::clamp(stop, 0, length));
}

int Pattern::SkipToCandidate(const unsigned char *s, int p, int n) const {
    if (p >= n)
        return n;
    if (m_rawStartCount == 1) {
        const void *hit = std::memchr(s + p, m_rawStartByte, static_cast<std::size_t>(n - p));
        return hit == nullptr ? n : static_cast<int>(static_cast<const unsigned char *>(hit) - s);
    }
    while (p < n && !m_rawStart[s[p]])
        ++p;
    return p;
}

// Shrinks the stop below the end of the match found at p while a match still fits, and
// leaves the registers describing the shortest one. Returns -2 if backtracking was abandoned.
int Pattern::Shortest(const unsigned char *s, int n, int p, int length) {
    int end = p + length;
    int lastStop = n;
    while (end > p) {
        const int r = Run(s, n, p, end - 1);
        if (r == -2)
            return -2;
        if (r < 0)
            break;
        lastStop = end - 1;
        end = p + r;
    }
    if (lastStop != end && Run(s, n, p, end) == -2)
        return -2;
    return 0;
}

int Pattern::Leftmost(std::string_view subject, int start, int &length) {
    if (!m_valid || subject.size() >= static_cast<std::size_t>(INT_MAX))
        return -2;
    const int n = static_cast<int>(subject.size());
    start = std::max(start, 0);
    if (start > n)
        return -1;
    const auto *s = reinterpret_cast<const unsigned char *>(subject.data());
    m_backtracksLeft = kBacktracksPerSearch + kBacktracksPerSubjectByte * n;
    for (int p = start; p <= n; ++p) {
        if (m_emptyFlag != 1) {
            p = SkipToCandidate(s, p, n);
            if (p == n && m_emptyFlag == 0)
                return -1;
        }
        const int r = Run(s, n, p, n);
        if (r == -2)
            return -2;
        if (r >= 0) {
            length = r;
            return p;
        }
    }
    return -1;
}

int Pattern::Search(std::string_view subject, int start) {
    int length = 0;
    const int p = Leftmost(subject, start, length);
    if (p < 0)
        return p;
    const auto *s = reinterpret_cast<const unsigned char *>(subject.data());
    return Shortest(s, static_cast<int>(subject.size()), p, length) == -2 ? -2 : p;
}

int Pattern::SearchStart(std::string_view subject, int start) {
    int length = 0;
    return Leftmost(subject, start, length);
}

int Pattern::Search(const char *subject, int start) {
    return Search(subject == nullptr ? std::string_view() : std::string_view(subject), start);
}

} // namespace vespario
