#pragma once
// A plain matcher for the pattern language, linked only into the tests. It parses the text
// into a tree and computes, for a start position, the set of every end position a match can
// reach, so leftmost-then-shortest follows directly. It is slow and simple on purpose: the
// byte-coded Pattern is checked against it on generated inputs.

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vespario::test {

class ReferenceMatcher {
public:
    explicit ReferenceMatcher(std::string_view text);
    ~ReferenceMatcher();

    bool Valid() const { return m_error.empty(); }
    const std::string &Error() const { return m_error; }

    // Every end of a match that begins at position and consumes nothing at or beyond stop.
    std::set<int> Ends(std::string_view subject, int position, int stop) const;

    // Leftmost match at or after start: its offset and its shortest end; offset -1 for none.
    struct Found {
        int offset = -1;
        int end = -1;
    };
    Found Search(std::string_view subject, int start = 0) const;

    struct Node;

private:
    std::string m_error;
    bool m_caseSensitive = false;
    std::unique_ptr<Node> m_root;
};

} // namespace vespario::test
