#pragma once
// Search and Replace over the listed objects, without its dialog: the walk from the cursor in
// the current object through the searched fields and on through the object list, with the
// wrap at its end, single Replace and Replace All with progress and cancel, the status line
// texts and the histories of the Find and Replace boxes. The dialog only shows it.

#include "pattern/pattern.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CVesparioDoc;
class ObjectList;

// One entry of the Look In list: the name shown and the field number (-1: "any listed").
struct LookInEntry {
    std::string_view name;
    int fieldNo;
};
inline constexpr int kLookInAnyListed = 0;
// "any listed", then the single fields; "any listed" searches the single fields in this order.
extern const std::array<LookInEntry, 19> kLookIn;

// Where the cursor stands in the current object: a field and a byte offset into its text.
// fieldNo -1: in none of the searched fields.
struct SearchCursor {
    int fieldNo = -1;
    int offset = 0;
};

// A match the walk found and made current: [start, end) of the field's bytes.
struct SearchMatch {
    int record = -1;
    int fieldNo = -1;
    int start = 0;
    int end = 0;
};

// Earlier texts of a drop-down box, newest first, each once.
class TextHistory {
public:
    static constexpr size_t kCapacity = 20;
    void Enter(std::string_view text);
    const std::vector<std::string> &Entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
};

// The Replace text for the pattern's last match in subject: a backslash and a digit n stand
// for group n of the match (0: the whole match), or for nothing when the group took no part;
// a backslash and any other character stand for that character; a lone final backslash stays.
std::string ExpandReplacement(std::string_view replace, const Pattern &pattern,
                              std::string_view subject);

// A field's byte offsets against its text as a view shows it: a view shows CR LF as one line
// break, every other byte as one character.
int ShownOffset(std::string_view text, int byteOffset);
int ByteOffset(std::string_view text, int shownOffset);

class SearchWalk {
public:
    // Between two looks at the input (paint, Cancel) during a walk.
    static constexpr uint32_t kPollIntervalMs = 30;

    enum class Result { Found, NotFound, Cancelled, Replaced, Nothing };

    SearchWalk(CVesparioDoc &doc, ObjectList &list);

    // An index into kLookIn; anything else is "any listed".
    void SetLookIn(int choice);
    int LookIn() const { return m_lookIn; }
    void SetCurrentObjectOnly(bool only) { m_currentOnly = only; }
    bool CurrentObjectOnly() const { return m_currentOnly; }

    // Called now and then during a walk, after the host has painted: the window lets the
    // Cancel button through here, and a click on it calls RequestCancel.
    void SetInputPoll(std::function<void()> poll) { m_poll = std::move(poll); }
    void RequestCancel() { m_cancel = true; }
    bool Running() const { return m_running; }

    // The next match of find behind the cursor: in the cursor's field from one character
    // after the cursor, then in the later fields, then in the objects after the current one,
    // wrapping once from the last object to the first and ending where it began. A match
    // makes its object current; the window then selects Match() in its field. Nothing (and
    // no walk) without a current object or with an empty find text.
    Result Search(std::string_view find, const SearchCursor &cursor);
    // Replaces the match last found, when it is still there in the current object, and
    // searches on behind the replacement; without one, searches like Search.
    Result Replace(std::string_view find, std::string_view replace, const SearchCursor &cursor);
    // Replaces every match in the searched fields of the listed objects (or of the current
    // object only), beginning with the current object; ReplacedCount() tells how many.
    Result ReplaceAll(std::string_view find, std::string_view replace);

    const SearchMatch &Match() const { return m_match; }
    // Replace and Replace All are offered once a search has found a match.
    bool CanReplace() const { return m_canReplace; }
    int ReplacedCount() const { return m_replaced; }
    // The dialog's status line.
    const std::string &Status() const { return m_status; }
    TextHistory &FindHistory() { return m_findHistory; }
    TextHistory &ReplaceHistory() { return m_replaceHistory; }

private:
    struct Start {
        int record = -1;
        int listPos = -1; // -1: the current object is not listed
        size_t field = 0; // index into the searched fields
        int from = 0;     // the first offset a match may begin at in that field
    };

    static constexpr int kBackAtStart = -2;

    bool Compile(std::string_view find);
    bool BeginWalk(std::string_view find, std::string_view status);
    void EndWalk(Result result);
    void StartAtCurrent(const SearchCursor &cursor, Start &start);
    Result SearchFrom(const Start &start);
    bool FindIn(int record, size_t firstField, int from, size_t lastField, int before);
    int NextPosition(const Start &start, int pos, bool &wrapped) const;
    Result NotFound(const Start &start);
    int ReplaceInCurrent(std::string_view replace);
    bool StillThere();
    bool Poll(int done, int total, bool progress);
    void SetStatus(std::string text) { m_status = std::move(text); }

    CVesparioDoc &m_doc;
    ObjectList &m_list;
    Pattern m_pattern;
    std::string m_compiled;
    std::vector<int> m_fields; // the searched fields of the running walk, in order
    int m_lookIn = kLookInAnyListed;
    bool m_currentOnly = false;
    std::function<void()> m_poll;
    bool m_cancel = false;
    bool m_running = false;
    bool m_abandoned = false; // a search in this walk gave up at the backtrack limit
    uint32_t m_lastPoll = 0;
    SearchMatch m_match;
    bool m_canReplace = false;
    int m_replaced = 0;
    std::string m_status;
    TextHistory m_findHistory;
    TextHistory m_replaceHistory;
};

} // namespace vespario
