#include "select/quickcommands.h"

#include "astro/observingplace.h"
#include "astro/sun.h"
#include "astro/twilight.h"
#include "db/fieldtable.h"
#include "select/objectlist.h"
#include "settings/codelist.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace vespario {

namespace {

// One row of the computed fields' table. An empty select phrase: the field offers only its
// sort entry; a null one with visibleTonight: the two "visible tonight" entries.
struct ComputedRow {
    int32_t field;
    std::string_view select;
    std::string_view pare;
    int32_t op;
    std::string_view sort;
    bool atlas = false;
    bool visibleTonight = false;
};

constexpr ComputedRow kComputed[] = {
    {field::SkyAtlas, "Select all objects on SkyAtlas ", "Pare to objects on SkyAtlas ", op::Equal,
     "Sort by SkyAtlas", true},
    {field::Uranometria, "Select all objects on Uranometria ", "Pare to objects on Uranometria ",
     op::Equal, "Sort by Uranometria", true},
    {field::AstroAtlasB, "Select all objects on AstroAtlasB ", "Pare to objects on AstroAtlasB ",
     op::Equal, "Sort by AstroAtlasB", true},
    {field::AstroAtlasC, "Select all objects on AstroAtlasC ", "Pare to objects on AstroAtlasC ",
     op::Equal, "Sort by AstroAtlasC", true},
    {field::EdmundMag5, "Select all objects on Edmund Mag5 ", "Pare to objects on Edmund Mag5 ",
     op::Equal, "Sort by Edmund Mag5", true},
    {field::EdmundMag6, "Select all objects on Edmund Mag6 ", "Pare to objects on Edmund Mag6 ",
     op::Equal, "Sort by Edmund Mag6", true},
    {field::Msa, "Select all objects on MSA ", "Pare to objects on MSA ", op::Equal, "Sort by MSA",
     true},
    {field::Con, "Select all objects in Constellation ", "Pare to objects in Constellation ",
     op::Equal, "Sort by Constellation"},
    {field::Constellation, "Select all objects in Constellation ",
     "Pare to objects in Constellation ", op::Equal, "Sort by Constellation"},
    {field::RaHour, "", "", op::Equal, "Sort by RA Hour"},
    {field::DeclDeg, "", "", op::Equal, "Sort by Decl Degrees"},
    {field::MajorAxis, "Select all objects longer than ", "Pare to objects longer than ",
     op::GreaterOrEqual, "Sort by Major Axis"},
    {field::MinorAxis, "Select all objects thicker than ", "Pare to objects thicker than ",
     op::GreaterOrEqual, "Sort by Minor Axis"},
    {field::Area, "Select all objects larger than ", "Pare to objects larger than ",
     op::GreaterOrEqual, "Sort by area"},
    {field::Elong, "Select all objects more elongated than ",
     "Pare to objects more elongated than ", op::GreaterOrEqual, "Sort by elongation"},
    {field::MagnValue, "Select all objects brighter than ", "Pare to objects brighter than ",
     op::LessOrEqual, "Sort by brightness"},
    {field::SurfBT, "Select all objects brighter than ", "Pare to objects brighter than ",
     op::LessOrEqual, "Sort by brightness"},
    {field::TransitHrs, "", "", op::Equal, "Sort by transit hours past noon"},
    {field::RiseHrs, "Select all objects visible tonight", "Pare to all objects visible tonight",
     op::Equal, "Sort by rise hours past noon", false, true},
    {field::SetHrs, "Select all objects visible tonight", "Pare to all objects visible tonight",
     op::Equal, "Sort by set hours past noon", false, true},
    {field::Azimuth, "", "", op::Equal, "Sort by azimuth"},
    {field::Altitude, "", "", op::Equal, "Sort by altitude"},
};

const ComputedRow *ComputedRowOf(int32_t field) {
    for (const ComputedRow &row : kComputed)
        if (row.field == field)
            return &row;
    return nullptr;
}

PendingQuick Line(int32_t field, int32_t op, std::string value) {
    PendingQuick p{field, op, std::move(value), false};
    if (op == op::NotEqual)
        p.value.clear();
    return p;
}

PendingQuick SortKeyOf(int32_t field) {
    return Line(field, op::Equal, "");
}

void AddPair(std::vector<QuickEntry> &menu, std::string_view select, std::string_view pare,
             std::string_view shown, const PendingQuick &pending) {
    menu.push_back({std::string(select).append(shown), QuickAction::Reselect, pending});
    menu.push_back({std::string(pare).append(shown), QuickAction::Pare, pending});
}

const FieldTable &Fields() {
    static const FieldTable table;
    return table;
}

// The name a menu gives a field: its tag without blanks and ":" (" info: " is "info").
std::string FieldName(int32_t field) {
    return std::string(BareTag(Fields().Slot(field).tag));
}

// Stored fields sorted by their numeric computed field.
int32_t SortFieldOf(int32_t field) {
    switch (field) {
    case field::Magn:
        return field::MagnValue;
    case field::Size:
        return field::Area;
    case field::Rv:
        return field::RvValue;
    case field::Pc:
        return field::PcValue;
    case field::Z:
        return field::ZValue;
    default:
        return field;
    }
}

constexpr size_t kLongestShownSelection = 30;

std::string ShortenedSelection(std::string_view selection) {
    if (selection.size() <= kLongestShownSelection)
        return std::string(selection);
    return std::string(selection.substr(0, kLongestShownSelection - 3)) + "...";
}

// A one-character code as a case-sensitive pattern that finds that character only.
std::string CodePattern(char code) {
    return "_" + LiteralPattern(std::string_view(&code, 1));
}

std::string NameOf(const CodeList *list, std::string_view code) {
    if (list) {
        const std::string_view meaning = list->Meaning(code);
        if (!meaning.empty())
            return std::string(meaning);
    }
    return std::string(code);
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::string Formatted(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

std::vector<QuickEntry> ComputedFieldEntries(const QuickClick &click) {
    std::vector<QuickEntry> menu;
    if (const ComputedRow *row = ComputedRowOf(click.field)) {
        if (row->visibleTonight) {
            PendingQuick tonight = Line(click.field, op::Equal, "");
            tonight.visibleTonight = true;
            AddPair(menu, row->select, row->pare, "", tonight);
        } else if (!row->select.empty()) {
            AddPair(menu, row->select, row->pare, click.shown,
                    Line(click.field, row->op, click.shown));
        }
        menu.push_back({std::string(row->sort), QuickAction::Sort, SortKeyOf(click.field)});
        if (row->atlas)
            menu.push_back({"Define Order of Atlases", QuickAction::DefineAtlasOrder, {}});
    }
    menu.push_back({"Field Help", QuickAction::FieldHelp, SortKeyOf(click.field)});
    return menu;
}

std::string LiteralPattern(std::string_view text) {
    static constexpr std::string_view kOperators = "_?*@+%#|[]~{}\\";
    std::string pattern;
    pattern.reserve(text.size());
    for (const char c : text) {
        if (kOperators.find(c) != std::string_view::npos)
            pattern += '\\';
        pattern += c;
    }
    return pattern;
}

void GroupForPare(SelectionCriteria &criteria) {
    int open = 0;
    for (const CriteriaLine &line : criteria.Lines()) {
        if (line.op == op::Open)
            ++open;
        else if (line.op == op::Close && open > 0)
            --open;
    }
    const bool endsInOr = criteria.LineCount() > 0 && criteria.Lines().back().op == op::Or;
    if (open == 0 && !endsInOr)
        return;
    CriteriaLine close;
    close.op = op::Close;
    for (; open > 0; --open)
        criteria.InsertLine(criteria.LineCount(), close);
    CriteriaLine opening;
    opening.op = op::Open;
    criteria.InsertLine(0, opening);
    criteria.InsertLine(criteria.LineCount(), close);
}

std::string CataloguePattern(std::string_view id, size_t offset) {
    if (offset >= id.size())
        return {};
    // The designation under the click begins behind the "=" at or before it; a click on
    // the closing "=" belongs to the designation it closes.
    size_t start = id.rfind('=', offset == 0 ? 0 : offset - (id[offset] == '=' ? 1 : 0));
    if (start == std::string_view::npos || start + 1 >= id.size() || id[start + 1] == '=')
        return {};
    size_t end = start + 1;
    while (end < id.size() && std::isalpha(static_cast<unsigned char>(id[end])))
        ++end;
    std::string pattern(id.substr(start, end - start));
    if (end < id.size() && std::isdigit(static_cast<unsigned char>(id[end])))
        pattern += "[0-9]";
    return pattern;
}

std::vector<QuickEntry> StoredFieldEntries(const QuickClick &click, const QuickSources &sources) {
    std::vector<QuickEntry> menu;
    const int32_t f = click.field;
    const std::string name = FieldName(f);
    const std::string_view shown = Trimmed(click.shown);

    auto withText = [&](const std::string &text) {
        const std::string quoted = "\"" + ShortenedSelection(text) + "\" in " + name;
        AddPair(menu, "Select all objects with ", "Pare to objects with ", quoted,
                Line(f, op::Has, LiteralPattern(text)));
    };
    if (!click.selection.empty()) {
        withText(click.selection);
    } else if (f == field::Id) {
        const std::string part = CataloguePattern(click.shown, click.offset);
        if (!part.empty()) {
            const std::string quoted = "\"" + part + "\" in " + name;
            AddPair(menu, "Select all objects with ", "Pare to objects with ", quoted,
                    Line(f, op::Has, part));
        }
    }

    // A field without a value has nothing to compare with: only the sort entry is left.
    switch (f) {
    case field::RaDec:
        if (!shown.empty())
            AddPair(menu, "Select all objects near ", "Pare to objects near ", shown,
                    Line(f, op::Near, std::string(shown)));
        break;
    case field::In:
        if (!shown.empty())
            AddPair(menu, "Select all objects in ", "Pare to objects in ", shown,
                    Line(f, op::Has, LiteralPattern(shown)));
        break;
    case field::SawOn:
        AddPair(menu, "Select all objects observed", "Pare to objects observed", "",
                Line(f, op::Has, "[0-9][0-9][0-9][0-9][0-1][0-9][0-3][0-9]"));
        break;
    case field::Obs:
        menu.push_back({"Select all objects with nonblank OBS", QuickAction::Reselect,
                        Line(f, op::NotEqual, "")});
        menu.push_back(
            {"Pare to object with nonblank OBS", QuickAction::Pare, Line(f, op::NotEqual, "")});
        menu.push_back({"Mail / Post to...", QuickAction::MailPost, {}});
        menu.push_back({"Transit, etc...", QuickAction::Transit, {}});
        menu.push_back({"Circumstances...", QuickAction::Circumstances, {}});
        menu.push_back({"View Session Notes...", QuickAction::SessionNotes, {}});
        break;
    case field::Url:
    case field::Info:
    case field::Goal:
    case field::Refs: {
        std::string upper = name;
        for (char &c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        AddPair(menu, "Select all objects with nonblank ", "Pare to objects with nonblank ", upper,
                Line(f, op::NotEqual, ""));
        break;
    }
    case field::Rate:
        AddPair(menu, "Select all favorite objects", "Pare to favorite objects", "",
                Line(f, op::Has, sources.favoritePattern));
        break;
    case field::Ease:
        if (!shown.empty())
            AddPair(menu, "Select all objects easier than ", "Pare to objects easier than ", shown,
                    Line(f, op::LessOrEqual, std::string(shown)));
        break;
    case field::Magn:
        if (!shown.empty())
            AddPair(menu, "Select all objects brighter than ", "Pare to objects brighter than ",
                    shown, Line(field::MagnValue, op::LessOrEqual, std::string(shown)));
        break;
    case field::Size:
        if (!shown.empty())
            AddPair(menu, "Select all objects larger than ", "Pare to objects larger than ", shown,
                    Line(field::Area, op::GreaterOrEqual, std::string(shown)));
        break;
    case field::Type:
        if (!shown.empty())
            AddPair(menu, "Select all ", "Pare to ", NameOf(sources.types, shown) + "s",
                    Line(f, op::Equal, std::string(shown)));
        break;
    case field::Src:
        if (!shown.empty())
            AddPair(menu,
                    "Select all objects with SRC=", "Pare to objects with SRC=", shown.substr(0, 1),
                    Line(f, op::Has, CodePattern(shown[0])));
        break;
    default:
        break;
    }
    menu.push_back({"Sort by " + name, QuickAction::Sort, SortKeyOf(SortFieldOf(f))});
    return menu;
}

std::vector<QuickEntry> CheckboxEntries(char code, const QuickSources &sources) {
    const std::string name = NameOf(sources.checkboxes, std::string_view(&code, 1));
    std::vector<QuickEntry> menu;
    AddPair(menu, "Select all ", "Pare to ", name + " objects",
            Line(field::CheckBoxes, op::Has, CodePattern(code)));
    menu.push_back({"Set or Clear checkbox " + name + " in all selected objects",
                    QuickAction::SetCheckboxInAll,
                    Line(field::CheckBoxes, op::Has, CodePattern(code))});
    menu.push_back({"Add new CHECKBOX / View definitions", QuickAction::DefineCheckboxes, {}});
    return menu;
}

std::vector<QuickEntry> VocabularyListEntries(QuickList list, std::string_view entry) {
    std::vector<QuickEntry> menu;
    const size_t codeLength = list == QuickList::Types ? 2 : 1;
    if (entry.size() < codeLength)
        return menu;
    const std::string_view code = entry.substr(0, codeLength);
    switch (list) {
    case QuickList::Types: {
        const std::string name(entry.size() > 3 ? entry.substr(3) : std::string_view());
        AddPair(menu, "Select all ", "Pare to ", name + "s",
                Line(field::Type, op::Has, LiteralPattern(code)));
        menu.push_back({"Sort by TYPE", QuickAction::Sort, SortKeyOf(field::Type)});
        menu.push_back({"Add new TYPE / View definitions", QuickAction::DefineVocabulary, {}});
        break;
    }
    case QuickList::TryValues:
        AddPair(menu, "Select all objects with TRY=", "Pare to objects with TRY=", code,
                Line(field::Try, op::Has, CodePattern(code[0])));
        menu.push_back({"Sort by TRY", QuickAction::Sort, SortKeyOf(field::Try)});
        menu.push_back({"Add new TRY / View definitions", QuickAction::DefineVocabulary, {}});
        menu.push_back({"Set Try to a value on all selected objects", QuickAction::SetAll, {}});
        break;
    case QuickList::Sources:
        AddPair(menu, "Select all objects with SRC=", "Pare to objects with SRC=", code,
                Line(field::Src, op::Has, CodePattern(code[0])));
        menu.push_back({"Sort by SRC", QuickAction::Sort, SortKeyOf(field::Src)});
        menu.push_back({"Add new SRC / View definitions", QuickAction::DefineVocabulary, {}});
        break;
    }
    return menu;
}

std::vector<QuickEntry> FieldEntries(const QuickClick &click, const QuickSources &sources) {
    if (!FieldTable::IsValidField(click.field))
        return {};
    if (Fields().Slot(click.field).kind == FieldKind::StoredText)
        return StoredFieldEntries(click, sources);
    return ComputedFieldEntries(click);
}

// --- visible tonight -----------------------------------------------------------------------

double SunAltitude(const ObservingPlace &place, double jd) {
    const ApparentPlace sun = SunApparent(jd);
    double azimuth = 0.0, altitude = 0.0;
    place.Horizon(place.HourAngle(jd, sun.ra), sun.dec, azimuth, altitude);
    return altitude;
}

Darkness DarknessTonight(const ObservingPlace &place) {
    constexpr double kMinute = 1.0 / 1440.0;
    constexpr int kMinutesInNight = 1440;
    Darkness d;
    if (!std::isfinite(place.Instant())) {
        d.kind = Darkness::Kind::NeverDark;
        return d;
    }
    d.noon = OpeningNoon(place, place.Instant());
    if (SunAltitude(place, d.noon) < kDarknessAltitude) {
        d.kind = Darkness::Kind::AlwaysDark;
        return d;
    }
    int first = 1;
    while (first < kMinutesInNight &&
           SunAltitude(place, d.noon + first * kMinute) >= kDarknessAltitude)
        ++first;
    if (first == kMinutesInNight) {
        d.kind = Darkness::Kind::NeverDark;
        return d;
    }
    int last = kMinutesInNight - 1;
    while (last > first && SunAltitude(place, d.noon + last * kMinute) >= kDarknessAltitude)
        --last;
    d.begin = d.noon + first * kMinute;
    d.end = d.noon + last * kMinute;
    d.beginHours = (d.begin - d.noon) * 24.0;
    d.endHours = (d.end - d.noon) * 24.0;
    return d;
}

std::vector<PendingQuick> VisibleTonightLines(const Darkness &darkness) {
    double riseBelow = 0.0, setAbove = 0.0;
    switch (darkness.kind) {
    case Darkness::Kind::Dark:
        riseBelow = darkness.endHours;
        setAbove = darkness.beginHours;
        break;
    case Darkness::Kind::AlwaysDark: // every object that rises at all
        riseBelow = 49.0;
        setAbove = -1.0;
        break;
    case Darkness::Kind::NeverDark: // no object: no rise hour is below 0
        riseBelow = 0.0;
        setAbove = 24.0;
        break;
    }
    return {Line(field::RiseHrs, op::Less, Formatted(riseBelow)),
            Line(field::SetHrs, op::Greater, Formatted(setAbove))};
}

// --- the pending command ---------------------------------------------------------------------

bool QuickCommands::Choose(const QuickEntry &entry) {
    if (entry.action != QuickAction::Reselect && entry.action != QuickAction::Pare &&
        entry.action != QuickAction::Sort)
        return false;
    m_pending = entry.pending;
    RunQuickCommand(static_cast<int>(entry.action));
    return true;
}

std::vector<PendingQuick> QuickCommands::PendingLines() const {
    if (m_pending.visibleTonight)
        return VisibleTonightLines(DarknessTonight(*m_place));
    return {m_pending};
}

void QuickCommands::RunQuickCommand(int mode) {
    if (!FieldTable::IsValidField(m_pending.field))
        return;
    switch (mode) {
    case 0: {
        const std::vector<PendingQuick> lines = PendingLines();
        SelectionCriteria &fresh = m_list.PushNewCriteria();
        for (const PendingQuick &line : lines)
            fresh.AddLine(line.field, line.op, line.value);
        break;
    }
    case 1:
        GroupForPare(m_list.Criteria());
        for (const PendingQuick &line : PendingLines())
            m_list.Criteria().AddLine(line.field, line.op, line.value);
        break;
    case 2:
        m_list.PushNewSortOrder().AddKey(m_pending.field, 0, 0);
        break;
    default:
        return;
    }
    m_list.RestartSelection();
}

} // namespace vespario
