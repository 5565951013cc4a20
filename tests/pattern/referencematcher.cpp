#include "referencematcher.h"

#include <bitset>

namespace vespario::test {

struct ReferenceMatcher::Node {
    enum Kind { Literal, Any, Boundary, Set, Group, Repeat } kind = Literal;
    unsigned char c = 0;
    std::bitset<256> accepts;            // Set: the folded characters it consumes
    std::vector<std::vector<Node>> alts; // Group: the alternatives
    std::vector<Node> body;              // Repeat
    bool oneOrMore = false;
};

namespace {

using Node = ReferenceMatcher::Node;
using Seq = std::vector<Node>;

unsigned char Upper(unsigned char c, bool caseSensitive) {
    return !caseSensitive && c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
}

// Recursive-descent reading of the text, mirroring where a postfix operator applies: to the
// item since the "last start", which for literals is the first of a run that would share one
// exact instruction.
class Parser {
public:
    Parser(std::string_view text, bool cs) : m_t(text), m_cs(cs) {}

    std::string Parse(Node &root) {
        root.kind = Node::Group;
        Seq seq;
        std::string error = Sequence(seq, root.alts, 0);
        if (error.empty() && m_i < m_t.size())
            error = "Unmatched }";
        return error;
    }

private:
    unsigned char F(char c) const { return Upper(static_cast<unsigned char>(c), m_cs); }

    bool PostfixAt(std::size_t i) const {
        return i < m_t.size() && (m_t[i] == '@' || m_t[i] == '+');
    }

    void AddLiteral(Seq &seq, unsigned char c, std::size_t next) {
        if (m_exactOpen && seq.size() == m_exactStart + m_exactCount && m_exactCount < 127 &&
            !PostfixAt(next)) {
            ++m_exactCount;
        } else {
            m_exactOpen = true;
            m_exactStart = seq.size();
            m_exactCount = 1;
            m_last = static_cast<int>(seq.size());
        }
        Node n;
        n.c = c;
        seq.push_back(n);
    }

    void Postfix(Seq &seq, bool zero) {
        for (; PostfixAt(m_i); ++m_i)
            zero = zero || m_t[m_i] == '@';
        if (m_last < 0)
            return;
        Node r;
        r.kind = Node::Repeat;
        r.oneOrMore = !zero;
        r.body.assign(seq.begin() + m_last, seq.end());
        seq.resize(static_cast<std::size_t>(m_last));
        seq.push_back(r);
        m_exactOpen = false;
    }

    std::string SetItem(Seq &seq) {
        Node n;
        n.kind = Node::Set;
        bool neg = m_i < m_t.size() && m_t[m_i] == '~';
        m_i += neg;
        std::bitset<256> bits;
        for (;;) {
            if (m_i >= m_t.size())
                return "Premature end of regular expression";
            char c = m_t[m_i++];
            if (c == ']')
                break;
            if (c == '%') {
                bits.set('\r');
                bits.set('\n');
                continue;
            }
            if (c == '\\') {
                if (m_i >= m_t.size())
                    return "Premature end of regular expression";
                c = m_t[m_i++];
            }
            unsigned lo = F(c);
            if (m_i >= m_t.size() || m_t[m_i] != '-') {
                bits.set(lo);
                continue;
            }
            ++m_i;
            if (m_i >= m_t.size())
                return "Premature end of regular expression";
            if (m_t[m_i] == ']') {
                bits.set(lo);
                bits.set('-');
                continue;
            }
            char h = m_t[m_i++];
            if (h == '\\') {
                if (m_i >= m_t.size())
                    return "Premature end of regular expression";
                h = m_t[m_i++];
            }
            unsigned hi = F(h);
            if (hi < lo)
                std::swap(lo, hi);
            for (unsigned x = lo; x <= hi; ++x)
                bits.set(x);
        }
        n.accepts = neg ? ~bits : bits;
        m_last = static_cast<int>(seq.size());
        seq.push_back(n);
        return {};
    }

    std::string GroupItem(Seq &seq, int depth) {
        if (depth >= 10)
            return "Nesting too deep";
        Node g;
        g.kind = Node::Group;
        Seq inner;
        m_last = -1;
        m_exactOpen = false;
        std::string error = Sequence(inner, g.alts, depth + 1);
        if (!error.empty())
            return error;
        if (m_i >= m_t.size())
            return "Unmatched {";
        ++m_i; // the }
        m_last = static_cast<int>(seq.size());
        m_exactOpen = false;
        seq.push_back(g);
        return {};
    }

    // Reads alternatives until a } (left unread) or the end of the text.
    std::string Sequence(Seq &seq, std::vector<Seq> &alts, int depth) {
        while (m_i < m_t.size()) {
            const char c = m_t[m_i++];
            std::string error;
            Node n;
            switch (c) {
            case '\\':
                if (m_i >= m_t.size()) {
                    AddLiteral(seq, '\\', m_i);
                } else {
                    ++m_i;
                    AddLiteral(seq, F(m_t[m_i - 1]), m_i);
                }
                break;
            case '?':
            case '*':
                n.kind = Node::Any;
                m_last = static_cast<int>(seq.size());
                seq.push_back(n);
                if (c == '*')
                    Postfix(seq, true);
                break;
            case '@':
            case '+':
                --m_i;
                Postfix(seq, false);
                break;
            case '%':
                n.kind = Node::Boundary;
                seq.push_back(n);
                break;
            case '[':
                error = SetItem(seq);
                break;
            case '{':
                error = GroupItem(seq, depth);
                break;
            case '}':
                if (depth == 0)
                    return "Unmatched }";
                --m_i;
                alts.push_back(seq);
                return {};
            case '|':
                alts.push_back(seq);
                seq.clear();
                m_last = -1;
                m_exactOpen = false;
                break;
            default:
                AddLiteral(seq, F(c), m_i);
                break;
            }
            if (!error.empty())
                return error;
        }
        alts.push_back(seq);
        return {};
    }

    std::string_view m_t;
    bool m_cs;
    std::size_t m_i = 0;
    int m_last = -1;
    bool m_exactOpen = false;
    std::size_t m_exactStart = 0;
    std::size_t m_exactCount = 0;
};

struct Subject {
    std::string_view s;
    int stop;
    bool cs;
    unsigned char At(int p) const { return Upper(static_cast<unsigned char>(s[p]), cs); }
};

std::set<int> NodeEnds(const Node &n, const std::set<int> &from, const Subject &sub);

std::set<int> SeqEnds(const Seq &seq, std::set<int> from, const Subject &sub) {
    for (const Node &n : seq) {
        if (from.empty())
            break;
        from = NodeEnds(n, from, sub);
    }
    return from;
}

std::set<int> BoundaryEnds(int p, const Subject &sub) {
    const int len = static_cast<int>(sub.s.size());
    if (p == 0 || p == len)
        return {p};
    if (sub.s[p] == '\r' && p + 1 < len && sub.s[p + 1] == '\n' && p + 1 < sub.stop)
        return {p + 2};
    if (sub.s[p] == '\n' && sub.s[p - 1] == '\r' && p < sub.stop)
        return {p + 1};
    return {};
}

std::set<int> RepeatEnds(const Node &n, const std::set<int> &from, const Subject &sub) {
    std::set<int> result = n.oneOrMore ? std::set<int>() : from;
    std::set<int> frontier = SeqEnds(n.body, from, sub);
    while (!frontier.empty()) {
        std::set<int> fresh;
        for (int p : frontier)
            if (result.insert(p).second)
                fresh.insert(p);
        frontier = SeqEnds(n.body, fresh, sub);
    }
    return result;
}

std::set<int> NodeEnds(const Node &n, const std::set<int> &from, const Subject &sub) {
    std::set<int> out;
    if (n.kind == Node::Group) {
        for (const Seq &alt : n.alts)
            for (int p : SeqEnds(alt, from, sub))
                out.insert(p);
        return out;
    }
    if (n.kind == Node::Repeat)
        return RepeatEnds(n, from, sub);
    for (int p : from) {
        if (n.kind == Node::Boundary) {
            for (int e : BoundaryEnds(p, sub))
                out.insert(e);
            continue;
        }
        if (p >= sub.stop)
            continue;
        const unsigned char c = sub.At(p);
        const bool ok = n.kind == Node::Literal ? c == n.c
                        : n.kind == Node::Any   ? c != '\r' && c != '\n'
                                                : n.accepts.test(c);
        if (ok)
            out.insert(p + 1);
    }
    return out;
}

std::string Prepare(std::string_view text, bool &cs) {
    cs = !text.empty() && text[0] == '_';
    if (cs)
        text.remove_prefix(1);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '#' && (i == 0 || text[i - 1] != '\\'))
            out += "[12][90][0-9][0-9][01][0-9][0-3][0-9]";
        else
            out += text[i];
    }
    return out;
}

} // namespace

ReferenceMatcher::ReferenceMatcher(std::string_view text) : m_root(std::make_unique<Node>()) {
    const std::string prepared = Prepare(text, m_caseSensitive);
    Parser parser(prepared, m_caseSensitive);
    m_error = parser.Parse(*m_root);
}

ReferenceMatcher::~ReferenceMatcher() = default;

std::set<int> ReferenceMatcher::Ends(std::string_view subject, int position, int stop) const {
    if (!Valid())
        return {};
    const Subject sub{subject, stop, m_caseSensitive};
    return NodeEnds(*m_root, {position}, sub);
}

ReferenceMatcher::Found ReferenceMatcher::Search(std::string_view subject, int start) const {
    const int n = static_cast<int>(subject.size());
    for (int p = start; p <= n; ++p) {
        const std::set<int> ends = Ends(subject, p, n);
        if (!ends.empty())
            return {p, *ends.begin()};
    }
    return {};
}

} // namespace vespario::test
