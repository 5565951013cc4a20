#pragma once
// The object list without its widgets: the selection passes that gather and sort the
// selected records in idle-time slices, the list of their record indexes in display order,
// the current object and the navigation over the list, the ID box, the stacks of
// remembered criteria and sort orders, and the other idle-time work (split, index rebuild,
// parse, edit checks). The window drives IdleWork from an idle timer; the CLI and the tests
// drive it in a loop. There is one engine for both.

#include "select/idbox.h"
#include "select/selectioncriteria.h"
#include "select/sortorder.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CVesparioDoc;

// The windows that follow the current object (the Coordinates tool when it follows the
// object, the web services window) and the list control that shows the visible rows.
class ObjectListObserver {
public:
    virtual ~ObjectListObserver() = default;
    virtual void CurrentObjectChanged(int record) { (void)record; }
    virtual void RowsChanged() {}
};

// The record edit checks, run as the last idle-time job; the checks themselves come with
// their own part of the program.
class EditCheckWork {
public:
    virtual ~EditCheckWork() = default;
    // True when the first pass is done and no changed record waits for its second pass.
    virtual bool Done() const = 0;
    virtual void Slice(uint32_t deadline) = 0;
    // The first pass's next record, which a moved record must not leave behind; -1 when
    // the first pass has finished.
    virtual int FirstPassPosition() const = 0;
    virtual void SetFirstPassPosition(int position) = 0;
};

// The status bar's counter panes.
inline constexpr int kCurrentObjectPane = 1;
inline constexpr int kSelectedPane = 2;
inline constexpr int kExaminedPane = 3;
inline constexpr int kDatabasePane = 4;

class ObjectList {
public:
    static constexpr uint32_t kDefaultFirstSlice = 500;  // ms, "Timing"/"First"
    static constexpr uint32_t kDefaultSecondSlice = 100; // ms, "Timing"/"Second"
    static constexpr uint32_t kShortestSlice = 5;        // smaller settings are raised to it
    static constexpr uint32_t kFindIdDelay = 2000;       // ms, a look-up while still splitting

    // Reads "Timing" and "DefaultNear" from the document's profile.
    explicit ObjectList(CVesparioDoc &doc);
    ~ObjectList();

    void SetObserver(ObjectListObserver *observer);
    void SetEditChecks(EditCheckWork *checks) { m_editChecks = checks; }
    EditCheckWork *EditCheckJob() const { return m_editChecks; }

    // The window caps both slices (whatever the profile asks) so that its event loop can
    // answer input between them.
    void SetLongestSlice(uint32_t ms) {
        m_firstSlice = m_firstSlice < ms ? m_firstSlice : ms;
        m_secondSlice = m_secondSlice < ms ? m_secondSlice : ms;
    }

    // IdleWork: one slice of the next job, with the tick count now. True while work remains.
    bool IdleWork(uint32_t now);
    // Runs IdleWork until it has nothing left to do (the CLI's whole pass).
    void RunToCompletion();

    // --- the selection -----------------------------------------------------------------
    void RestartSelection();
    bool PassRunning() const { return m_running; }
    const SelectionList &List() const { return m_list; }
    int ExaminedCount() const { return m_examined; }
    // The list position of a record, or -1 when it is not listed.
    int ListPositionOf(int record);
    SelectionCriteria &Criteria() { return *m_criteria.back(); }
    SortOrder &Sort() { return *m_sort.back(); }
    // The time or the observing place changed: a pass that depends on them starts again.
    void CheckForChanges();

    // --- the current object ------------------------------------------------------------
    // GoTo: with listPos >= 0 the list entry there, else the record given. False when
    // there is no such entry or record.
    bool GoTo(int listPos, int record);
    int CurrentPosition() const { return m_currentPos; }
    void First();
    void Last();
    void Next();
    void Prior();
    // A request from outside for an object by ID, and for the objects near a position
    // ("RaDec[,distance]" in degrees, without it the "DefaultNear" distance).
    void FindId(std::string_view text, uint32_t now);
    void PareNear(std::string_view text);
    void DeleteCurrent();
    void DeleteAll();
    void UndeleteAll();
    // Set All over the listed records, each made current in turn without reloading the
    // views: Try becomes `code`, or checkbox `code` is set (appended when missing) or
    // cleared (its first occurrence removed). The object at the current list position is
    // current again afterwards, its views reloaded.
    struct SetAllChoice {
        bool checkbox = false; // false: Try
        char code = 0;
        bool checked = true; // checkbox only
    };
    void SetAll(const SetAllChoice &choice);

    IdHistory &History() { return m_history; }
    IdTyping &Typing() { return m_typing; }
    // Picks a history entry: its object becomes current. False when none carries it.
    bool PickHistoryEntry(std::string_view entry);

    // --- remembered criteria and sort orders -----------------------------------------------
    // The criteria dialog closed: its lines (and name) became current; a new pass starts.
    void AcceptCriteria(const SelectionCriteria &edited);
    // Drops the current criteria for the remembered ones (or empty ones); a new pass starts.
    void RevertCriteria();
    // Pushes new criteria, a copy of the current ones when they have lines and the user
    // answers Yes to the question; the dialog then opens again on them.
    void RememberCriteriaAndDefineNew();
    size_t RememberedCriteria() const { return m_criteria.size() - 1; }
    // A quick command's new criteria (sort order): empty, remembered on top of the current
    // ones, for the caller to fill before it restarts the pass; Revert returns to the others.
    SelectionCriteria &PushNewCriteria();
    SortOrder &PushNewSortOrder();
    void AcceptSortOrder(const SortOrder &edited);
    void RevertSortOrder();
    void RememberSortOrderAndDefineNew();
    size_t RememberedSortOrders() const { return m_sort.size() - 1; }
    // The sort dialog is modal; the pass waits while it is open.
    void PausePass(bool paused) { m_paused = paused; }

private:
    void SelectionSlice(uint32_t deadline);
    void MoveRecord(int from, int to);
    void GatherSelected();
    void RenumberListPositions();
    void ShowCounts();
    void ShowCurrentPosition();
    void EnterCurrentIntoHistory();
    void GoToRecord(int record);

    CVesparioDoc &m_doc;
    ObjectListObserver m_noObserver;
    ObjectListObserver *m_observer = &m_noObserver;
    EditCheckWork *m_editChecks = nullptr;
    uint32_t m_firstSlice = kDefaultFirstSlice;
    uint32_t m_secondSlice = kDefaultSecondSlice;
    double m_defaultNear = 5.0;

    std::vector<std::unique_ptr<SelectionCriteria>> m_criteria; // the last is current
    std::vector<std::unique_ptr<SortOrder>> m_sort;             // the last is current
    SelectionList m_list;
    int m_examined = 0;
    int m_gathered = 0;                // records at the front of the array that are listed
    std::vector<char> m_selectedFlags; // examined since then: selected or not
    int m_renumberFrom = 0;            // list positions from here on are not stored yet
    bool m_running = false;
    bool m_showFirstMatch = false;
    bool m_paused = false;
    int m_currentPos = -1;
    IdHistory m_history;
    IdTyping m_typing;
};

} // namespace vespario
