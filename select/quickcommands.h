#pragma once
// The quick pare, select and sort commands of the context menus: which entries a right
// click on a field of the current object offers, the criteria line or sort key each entry
// leaves pending, and the three commands that act on the pending line (Reselect, Pare,
// Sort) over the object list's stacks of remembered criteria and sort orders. A context
// menu only shows the entries' texts and hands the chosen entry back to Choose.

#include "select/criterialine.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CodeList;
class ObjectList;
class ObservingPlace;
class SelectionCriteria;

// What an entry does when chosen. The first three are the generic commands; the others
// open other parts of the program and are left to the window.
enum class QuickAction {
    Reselect = 0, // new criteria on the stack with the pending line(s)
    Pare = 1,     // the pending line(s) appended to the current criteria
    Sort = 2,     // a new sort order on the stack with the pending field as its one key
    FieldHelp,
    DefineAtlasOrder,
    MailPost,
    SetCheckboxInAll, // "Set or Clear checkbox ... in all selected objects"
    DefineCheckboxes, // "Add new CHECKBOX / View definitions"
    DefineVocabulary, // "Add new TYPE / View definitions" and the same for TRY and SRC
    SetAll,           // "Set Try to a value on all selected objects"
    Transit,          // the observation reports of the Obs field
    Circumstances,
    SessionNotes,
};

// The line (or key) an entry leaves behind. A "not =" line always has the empty value.
struct PendingQuick {
    int32_t field = -1;
    int32_t op = op::Equal;
    std::string value;
    // The two lines of "visible tonight", worked out when the entry is chosen.
    bool visibleTonight = false;
    bool operator==(const PendingQuick &) const = default;
};

struct QuickEntry {
    std::string text;
    QuickAction action = QuickAction::Reselect;
    PendingQuick pending;
};

// What was right-clicked: a field of the current object with its value as the view shows
// it (for a computed field the text of its box, for a stored one the field's text, for
// Type and Src their codes), the text selected under the mouse, and, for the ID, where in
// the shown text the click fell.
struct QuickClick {
    int32_t field = -1;
    std::string shown;
    std::string selection;
    size_t offset = 0;
};

// Where the menus take names and patterns from: the Type and checkbox vocabularies (either
// may be null: a code then stands for its name) and the "SearchFavorite" pattern.
struct QuickSources {
    const CodeList *types = nullptr;
    const CodeList *checkboxes = nullptr;
    std::string favoritePattern = "[123]";
};

// The entries for a computed "#" field (the form of computed values), ending in "Field
// Help"; only "Field Help" for a computed field without quick commands.
std::vector<QuickEntry> ComputedFieldEntries(const QuickClick &click);
// The entries for a stored field (the text views and the form).
std::vector<QuickEntry> StoredFieldEntries(const QuickClick &click, const QuickSources &sources);
// The entries for checkbox `code` of the tags view.
std::vector<QuickEntry> CheckboxEntries(char code, const QuickSources &sources);
// The lists of the Type, Try and Src vocabularies, on the clicked entry of the list (its
// text begins with its code).
enum class QuickList { Types, TryValues, Sources };
std::vector<QuickEntry> VocabularyListEntries(QuickList list, std::string_view entry);
// Either of the first two, by the kind of the clicked field.
std::vector<QuickEntry> FieldEntries(const QuickClick &click, const QuickSources &sources);

// A text as a pattern that finds exactly that text: every character the pattern language
// treats as an operator gets a "\" in front.
std::string LiteralPattern(std::string_view text);

// Before a pare appends its lines: when the criteria end in an "or" or leave a "(" open,
// which would join the new lines to the last item alone and so widen the selection, the
// open groups are closed and the whole put in one group. The lines keep their meaning.
void GroupForPare(SelectionCriteria &criteria);

// The catalogue part of the identifier under offset in an ID text ("=M31=n224=" at the
// "2" gives "=n[0-9]"); empty when the offset lies on no designation.
std::string CataloguePattern(std::string_view id, size_t offset);

// Tonight's astronomical darkness at a place, for the night in progress at its instant.
struct Darkness {
    enum class Kind { Dark, NeverDark, AlwaysDark };
    Kind kind = Kind::Dark;
    double noon = 0.0;       // the local noon that opens the night (JD, UT)
    double begin = 0.0;      // first minute with the Sun below -18 deg (JD, UT); Dark only
    double end = 0.0;        // last such minute before the next noon (JD, UT); Dark only
    double beginHours = 0.0; // the same as hours past noon
    double endHours = 0.0;
};

inline constexpr double kDarknessAltitude = -0.314159265; // rad: -18 deg
// The Sun's altitude (rad) at jd from the program's own Sun.
double SunAltitude(const ObservingPlace &place, double jd);
// Steps one minute at a time forward from the opening noon and backward from the next one
// to the first minute with the Sun below -18 degrees. No such minute: NeverDark; the Sun
// already below at noon (and so all day): AlwaysDark. An instant that is no time at all
// gives NeverDark.
Darkness DarknessTonight(const ObservingPlace &place);
// The two "visible tonight" lines: RiseHrs# "<" the end and SetHrs# ">" the begin of the
// darkness, "%g"; without darkness limits that pass every object that rises (always
// dark) or none (never dark).
std::vector<PendingQuick> VisibleTonightLines(const Darkness &darkness);

// The pending quick command of the application and the three commands on it.
class QuickCommands {
public:
    // The place is the default observing place at its current instant; a replaced default
    // place is handed over with SetPlace.
    QuickCommands(ObjectList &list, const ObservingPlace &place) : m_list(list), m_place(&place) {}
    void SetPlace(const ObservingPlace &place) { m_place = &place; }

    // The menu chose an entry: it becomes pending and a generic command runs. False for an
    // entry the window must carry out itself (see QuickAction).
    bool Choose(const QuickEntry &entry);
    const PendingQuick &Pending() const { return m_pending; }
    void SetPending(PendingQuick pending) { m_pending = std::move(pending); }
    // mode 0 Reselect, 1 Pare, 2 Sort on the pending line; each starts a new pass.
    void RunQuickCommand(int mode);

private:
    std::vector<PendingQuick> PendingLines() const;

    ObjectList &m_list;
    const ObservingPlace *m_place;
    PendingQuick m_pending;
};

} // namespace vespario
