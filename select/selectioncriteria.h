#pragma once
// A set of selection criteria: the ordered lines that decide whether a record of the
// document is selected, with the wording the dialog shows for each line, the criteria file
// and the link to the criteria remembered before it.

#include "select/criterialine.h"
#include "select/evaluationorder.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CVesparioDoc;
namespace platform {
class IniProfile;
}

// The "Settings"/"DefaultNear" distance of new "is near" lines, degrees (default 5).
double DefaultNearRadius(const platform::IniProfile &profile);

// Builds the description of every line in place. Returns false when the parentheses do not
// match (a ")" that closes nothing, or a "(" still open at the end).
bool DescribeLines(std::vector<CriteriaLine> &lines, const FieldTable &fields);
// The same check alone: every ")" closes an open "(" and none stays open.
bool ParenthesesMatch(std::span<const CriteriaLine> lines);

class SelectionCriteria {
public:
    explicit SelectionCriteria(CVesparioDoc &doc);
    ~SelectionCriteria();
    SelectionCriteria(const SelectionCriteria &) = delete;
    SelectionCriteria &operator=(const SelectionCriteria &) = delete;

    CVesparioDoc &Document() { return m_doc; }
    const std::string &Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }

    // The stack of remembered criteria: each set owns the one remembered before it.
    SelectionCriteria *Previous() { return m_previous.get(); }
    void SetPrevious(std::unique_ptr<SelectionCriteria> previous);
    std::unique_ptr<SelectionCriteria> TakePrevious();

    // --- the lines. Every change unprepares the criteria; the descriptions are rebuilt, all
    // lines at once, when the lines are next read, so that adding n lines one by one costs n
    // line descriptions, not n * n. ---
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    const std::vector<CriteriaLine> &Lines() const {
        Describe();
        return m_lines;
    }
    const CriteriaLine &Line(int i) const {
        Describe();
        return m_lines[static_cast<size_t>(i)];
    }
    // Appends a condition line with the radius of "DefaultNear".
    void AddLine(int32_t field, int32_t op, std::string_view value);
    void InsertLine(int position, CriteriaLine line); // position clamped to 0..LineCount()
    void ReplaceLine(int i, CriteriaLine line);
    void RemoveLine(int i);
    void MoveLine(int from, int to);
    void SetLines(std::vector<CriteriaLine> lines);
    void CopyFrom(const SelectionCriteria &other); // the other's lines and name
    void Clear();
    // False when the parentheses of the lines do not match (see DescribeLines).
    bool WellParenthesised() const {
        Describe();
        return m_wellParenthesised;
    }
    // Times the descriptions were rebuilt, all calls together.
    int64_t Descriptions() const { return m_descriptions; }

    // --- a selection pass ---
    // True when the record meets the criteria (always with no lines). The first call after
    // a change, or after StartPass, prepares the lines and builds the jump tables.
    bool Evaluate(int record);
    void Prepare();
    void StartPass() { m_prepared = false; }
    bool IsPrepared() const { return m_prepared; }
    const EvaluationOrder &Order() const { return m_order; }
    // True when a condition line examines a field that follows the time or the place.
    bool DependsOnTimeOrPlace() const;
    // Whether one condition line holds for a record (the line must be prepared).
    bool ConditionHolds(int line, int record);

    // --- criteria files ".sel" ---
    // Reads a file; on a wrong mark or a damaged file shows "Illegal selection criteria
    // file" and keeps the current lines. The descriptions are those stored in the file.
    [[nodiscard]] bool ReadFile(const std::string &path);
    // Writes the file (in place of an old one only once complete); shows why when it fails.
    [[nodiscard]] bool WriteFile(const std::string &path) const;

private:
    void Changed();
    void Describe() const;
    void PrepareLine(CriteriaLine &line);
    bool TextHolds(CriteriaLine &line, std::string_view r);
    bool NearHolds(const CriteriaLine &line, int record);
    void ShowMessage(std::string_view text) const;

    CVesparioDoc &m_doc;
    std::string m_name;
    std::unique_ptr<SelectionCriteria> m_previous;
    // Mutable for the descriptions only, which are filled in when the lines are read.
    mutable std::vector<CriteriaLine> m_lines;
    mutable bool m_wellParenthesised = true;
    mutable bool m_describeNeeded = false;
    mutable int64_t m_descriptions = 0;
    bool m_prepared = false;
    EvaluationOrder m_order;
};

} // namespace vespario
