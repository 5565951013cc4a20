#include "select/selectioncriteria.h"

#include "astro/constants.h"
#include "astro/radectext.h"
#include "db/cvespariodoc.h"
#include "platform/files.h"
#include "platform/iniprofile.h"
#include "select/criteriafile.h"
#include "select/smallfile.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vespario {
namespace {

constexpr const char *kTitle = "Vespario";
constexpr double kEqualWithin = 0.00001; // real values closer than this are equal

constexpr std::array<std::string_view, 9> kNumericPhrases = {
    "is equal to ",
    "differs from ",
    "is less than ",
    "is greater than ",
    "is less than or equal to ",
    "is greater than or equal to ",
    "contains the characters \"",
    "doesn't contain the characters \"",
    "is within %g degrees of the position ",
};
constexpr std::array<std::string_view, 6> kTextPhrases = {
    "is equal to the character(s) \"",
    "differs from the character(s) \"",
    "alphanumerically preceeds \"",
    "alphanumerically follows \"",
    "is alphanumerically equal to or preceeds \"",
    "is alphanumerically equal to or follows \"",
};

bool IsNumericKind(FieldKind kind) {
    return kind == FieldKind::Integer || kind == FieldKind::Real;
}

FieldKind KindOf(const FieldTable &fields, int32_t field) {
    return FieldTable::IsValidField(field) ? fields.Slot(field).kind : FieldKind::None;
}

std::string ConditionDescription(const CriteriaLine &line, const FieldTable &fields) {
    const bool numeric = line.op == op::Near || IsNumericKind(KindOf(fields, line.field));
    std::string phrase;
    if (line.op == op::Near) {
        phrase = kNumericPhrases[op::Near];
        phrase.replace(phrase.find("%g"), 2, FormatReal(line.radius));
    } else if (line.op >= 0 && line.op < op::Near) {
        phrase = numeric || line.op >= op::Has ? kNumericPhrases[static_cast<size_t>(line.op)]
                                               : kTextPhrases[static_cast<size_t>(line.op)];
    }
    std::string text = "Field " + FieldDisplayName(line.field) + " " + phrase;
    text += line.value.empty() ? std::string("<none supplied>") : line.value;
    if (!phrase.empty() && phrase.back() == '"')
        text += '"';
    if (line.op == op::Hasnt)
        text += " anywhere";
    return text + ".";
}

} // namespace

double DefaultNearRadius(const platform::IniProfile &profile) {
    const std::string text = profile.GetString("Settings", "DefaultNear");
    return text.empty() ? 5.0 : LeadingReal(text);
}

bool ParenthesesMatch(std::span<const CriteriaLine> lines) {
    int depth = 0;
    for (const CriteriaLine &line : lines) {
        if (line.op == op::Open)
            ++depth;
        else if (line.op == op::Close && --depth < 0)
            return false;
    }
    return depth == 0;
}

bool DescribeLines(std::vector<CriteriaLine> &lines, const FieldTable &fields) {
    std::string indent;
    bool balanced = true;
    bool firstItem = true; // first of the list or of a group, or right after an "or"
    for (CriteriaLine &line : lines) {
        const std::string joiner = firstItem ? "" : "and ";
        switch (line.op) {
        case op::Or:
            line.description = indent + "OR";
            firstItem = true;
            break;
        case op::Open:
            line.description = indent + joiner + "(";
            indent += "  ";
            firstItem = true;
            break;
        case op::Close:
            if (indent.size() >= 2)
                indent.resize(indent.size() - 2);
            else
                balanced = false;
            line.description = indent + ")";
            firstItem = false;
            break;
        default:
            line.description = indent + joiner + ConditionDescription(line, fields);
            firstItem = false;
            break;
        }
    }
    return balanced && indent.empty();
}

SelectionCriteria::SelectionCriteria(CVesparioDoc &doc) : m_doc(doc) {}

SelectionCriteria::~SelectionCriteria() {
    // Unlink the remembered chain one by one rather than by recursive destruction.
    std::unique_ptr<SelectionCriteria> next = std::move(m_previous);
    while (next)
        next = std::move(next->m_previous);
}

void SelectionCriteria::SetPrevious(std::unique_ptr<SelectionCriteria> previous) {
    m_previous = std::move(previous);
}

std::unique_ptr<SelectionCriteria> SelectionCriteria::TakePrevious() {
    return std::move(m_previous);
}

void SelectionCriteria::Changed() {
    m_describeNeeded = true;
    m_prepared = false;
}

void SelectionCriteria::Describe() const {
    if (!m_describeNeeded)
        return;
    m_describeNeeded = false;
    ++m_descriptions;
    m_wellParenthesised = DescribeLines(m_lines, m_doc.Fields());
}

void SelectionCriteria::AddLine(int32_t field, int32_t op, std::string_view value) {
    CriteriaLine line;
    line.field = field;
    line.op = op;
    line.value = value;
    line.radius = DefaultNearRadius(m_doc.Profile());
    m_lines.push_back(std::move(line));
    Changed();
}

void SelectionCriteria::InsertLine(int position, CriteriaLine line) {
    position = std::clamp(position, 0, LineCount());
    m_lines.insert(m_lines.begin() + position, std::move(line));
    Changed();
}

void SelectionCriteria::ReplaceLine(int i, CriteriaLine line) {
    if (i < 0 || i >= LineCount())
        return;
    m_lines[static_cast<size_t>(i)] = std::move(line);
    Changed();
}

void SelectionCriteria::RemoveLine(int i) {
    if (i < 0 || i >= LineCount())
        return;
    m_lines.erase(m_lines.begin() + i);
    Changed();
}

void SelectionCriteria::MoveLine(int from, int to) {
    if (from < 0 || from >= LineCount() || to < 0 || to >= LineCount() || from == to)
        return;
    CriteriaLine line = std::move(m_lines[static_cast<size_t>(from)]);
    m_lines.erase(m_lines.begin() + from);
    m_lines.insert(m_lines.begin() + to, std::move(line));
    Changed();
}

void SelectionCriteria::SetLines(std::vector<CriteriaLine> lines) {
    m_lines = std::move(lines);
    Changed();
}

void SelectionCriteria::CopyFrom(const SelectionCriteria &other) {
    if (&other == this)
        return;
    m_name = other.m_name;
    m_lines = other.m_lines; // copies come unprepared
    Changed();
}

void SelectionCriteria::Clear() {
    m_lines.clear();
    Changed();
}

bool SelectionCriteria::DependsOnTimeOrPlace() const {
    return std::any_of(m_lines.begin(), m_lines.end(), [](const CriteriaLine &line) {
        return line.op >= op::Equal && line.op <= op::Near && IsTimeOrPlaceField(line.field);
    });
}

void SelectionCriteria::ShowMessage(std::string_view text) const {
    m_doc.Host().MessageBox(text, kTitle, platform::Buttons::Ok);
}

void SelectionCriteria::PrepareLine(CriteriaLine &line) {
    PreparedValues &p = line.prepared;
    p.Reset();
    p.whole = LeadingInteger(line.value);
    p.real = LeadingReal(line.value);
    if (line.op == op::Near) {
        p.positionValid = ParseRaDec(line.value, p.ra, p.dec);
        if (!p.positionValid)
            ShowMessage(line.value + " is not a valid RaDec.");
    }
    if (line.op == op::Has || line.op == op::Hasnt)
        p.pattern = std::make_unique<Pattern>(line.value, &m_doc.Host());
    p.prepared = true;
}

void SelectionCriteria::Prepare() {
    std::vector<int32_t> ops;
    ops.reserve(m_lines.size());
    for (CriteriaLine &line : m_lines) {
        if (!IsStructural(line.op))
            PrepareLine(line);
        ops.push_back(line.op);
    }
    m_order.Build(ops);
    m_prepared = true;
}

bool SelectionCriteria::Evaluate(int record) {
    if (m_lines.empty())
        return true;
    if (!m_prepared)
        Prepare();
    // The getters take the record index, so the user's current record stays where it is:
    // moving it would commit its pending edits in the middle of a pass.
    if (record < 0 || record >= m_doc.GetRecordCount())
        return false;
    return m_order.Run([this, record](int line) { return ConditionHolds(line, record); });
}

bool SelectionCriteria::TextHolds(CriteriaLine &line, std::string_view r) {
    if (line.op == op::Has || line.op == op::Hasnt) {
        Pattern *pattern = line.prepared.pattern.get();
        const int at = pattern != nullptr ? pattern->Search(r) : Pattern::kNoMatch;
        // A search that gave up counts as no match, as an invalid pattern does; the user
        // hears of it once for the line, not once a record.
        if (at == Pattern::kAbandoned && pattern->IsValid() && !line.prepared.abandonShown) {
            line.prepared.abandonShown = true;
            ShowMessage(std::string(Pattern::kAbandonedMessage) + " (\"" + line.value + "\")");
        }
        const bool found = at >= 0;
        return line.op == op::Has ? found : !found;
    }
    // Byte by byte in unsigned byte order: string_view's traits compare as unsigned char.
    const int c = r.compare(line.value);
    switch (line.op) {
    case op::Equal:
        return c == 0;
    case op::NotEqual:
        return c != 0;
    case op::Less:
        return c < 0;
    case op::Greater:
        return c > 0;
    case op::LessOrEqual:
        return c <= 0;
    case op::GreaterOrEqual:
        return c >= 0;
    default:
        return false;
    }
}

template <class T> bool CompareHolds(int32_t code, T r, T v) {
    switch (code) {
    case op::Equal:
        return r == v;
    case op::NotEqual:
        return r != v;
    case op::Less:
        return r < v;
    case op::Greater:
        return r > v;
    case op::LessOrEqual:
        return r <= v;
    case op::GreaterOrEqual:
        return r >= v;
    default:
        return false; // "has" and "hasn't" never hold on numbers
    }
}

bool SelectionCriteria::NearHolds(const CriteriaLine &line, int record) {
    if (!line.prepared.positionValid)
        return false; // no position to be near: nothing is
    const double ra = m_doc.GetReal(field::RaHour, record) * (kPi / 12.0);
    // A record whose RaDec does not parse has no position (the getters said so and return
    // placeholders): it is near nothing.
    if (!m_doc.Record(record).PositionParsed())
        return false;
    const double dec = m_doc.GetReal(field::DeclDeg, record) * (kPi / 180.0);
    const double ra0 = line.prepared.ra;
    const double dec0 = line.prepared.dec;
    double c = std::cos(ra0 - ra) * std::cos(dec) * std::cos(dec0) + std::sin(dec0) * std::sin(dec);
    // Rounding can carry the cosine of a tiny distance past 1, where arccos is undefined.
    c = std::clamp(c, -1.0, 1.0);
    return std::acos(c) * kRadToDeg < line.radius;
}

bool SelectionCriteria::ConditionHolds(int i, int record) {
    CriteriaLine &line = m_lines[static_cast<size_t>(i)];
    if (line.op == op::Near)
        return NearHolds(line, record);
    switch (KindOf(m_doc.Fields(), line.field)) {
    case FieldKind::StoredText:
    case FieldKind::Text:
        return TextHolds(line, m_doc.GetText(line.field, record));
    case FieldKind::Integer:
        return CompareHolds(line.op, m_doc.GetInt(line.field, record), line.prepared.whole);
    case FieldKind::Real: {
        const double r = m_doc.GetReal(line.field, record);
        const double v = line.prepared.real;
        if (line.op == op::Equal)
            return std::fabs(r - v) < kEqualWithin;
        if (line.op == op::NotEqual)
            return std::fabs(r - v) > kEqualWithin;
        return CompareHolds(line.op, r, v);
    }
    case FieldKind::None:
        break;
    }
    return false;
}

bool SelectionCriteria::ReadFile(const std::string &path) {
    std::string error;
    const std::optional<std::string> bytes = platform::ReadWholeFile(path, &error);
    if (!bytes) {
        ShowMessage(error);
        return false;
    }
    std::vector<CriteriaLine> lines;
    if (!ParseCriteriaFile(*bytes, lines)) {
        ShowMessage(kIllegalCriteriaFile);
        return false;
    }
    // The descriptions stay as the file has them.
    m_lines = std::move(lines);
    m_describeNeeded = false;
    m_wellParenthesised = ParenthesesMatch(m_lines);
    m_prepared = false;
    return true;
}

bool SelectionCriteria::WriteFile(const std::string &path) const {
    std::string error;
    if (platform::WriteWholeFileAtomic(path, FormatCriteriaFile(Lines()), &error))
        return true;
    ShowMessage(error);
    return false;
}

} // namespace vespario
