#include "report/reportwriter.h"

#include "db/cvespariodoc.h"
#include "db/fieldtable.h"
#include "pattern/pattern.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/text.h"
#include "report/abbreviations.h"
#include "report/observationreports.h"
#include "select/smallfile.h"
#include "settings/settingsvocabularies.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>

namespace vespario {
namespace {

using std::string;
using std::string_view;

constexpr string_view kEol = "\r\n";
constexpr int32_t kTwipsPerChar = 72;
constexpr int32_t kNormalPointSize = 8;       // the size a field has when a file gives none
constexpr int32_t kLetterWidthTwips = 12240;  // 8.5 inches
constexpr int32_t kLetterHeightTwips = 15840; // 11 inches
constexpr string_view kPageField = "\\tab page {\\field{\\*\\fldinst {\\cs17  PAGE }}} \\par";

string Lowered(string_view text) {
    string out(text);
    for (char &c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// --- escaping -----------------------------------------------------------------------------

// RTF: braces and backslashes are control characters; bytes above 127 are written as \'hh
// so that the file stays 7-bit; other control characters are dropped.
void AppendRtf(string &out, string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '{' || c == '}' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c >= 0x80) {
            out += "\\'";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else if (c >= 32) {
            out += ch;
        } else if (c == '\t') {
            out += "\\tab ";
        }
    }
}

// Export: a ";" inside a value is "\;", a CR a blank; other control characters are dropped.
// A backslash at the value's end would escape the delimiter behind it and run two values
// together on import: a blank keeps them apart (the import trims it).
void AppendExport(string &out, string_view text) {
    const size_t start = out.size();
    for (const char ch : text) {
        if (ch == ';')
            out += "\\;";
        else if (ch == '\r')
            out += ' ';
        else if (static_cast<unsigned char>(ch) >= 32)
            out += ch;
    }
    if (out.size() > start && out.back() == '\\')
        out += ' ';
}

// One line for a column: line ends and tabs become blanks.
string Flattened(string_view text) {
    string out;
    for (const char ch : text)
        if (static_cast<unsigned char>(ch) >= 32)
            out += ch;
        else if (ch == '\r' || ch == '\t')
            out += ' ';
    return out;
}

// Exactly width bytes: cut or padded with blanks.
string Column(string_view text, int32_t width) {
    string out = Flattened(text).substr(0, static_cast<size_t>(width));
    out.resize(static_cast<size_t>(width), ' ');
    return out;
}

// The lines of a text, split at CR LF, CR or LF.
std::vector<string_view> Lines(string_view text) {
    std::vector<string_view> lines;
    size_t at = 0;
    while (at <= text.size()) {
        const size_t end = text.find_first_of("\r\n", at);
        if (end == string_view::npos) {
            lines.push_back(text.substr(at));
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
        if (at == text.size())
            break;
    }
    return lines;
}

string HtmlCharset(int greekSet) {
    // The web knows no DOS code page: set 0 is declared as the Western one.
    return greekSet == 1 ? "windows-1253" : "windows-1252";
}

// The seven atlases in the order of the chart table's columns.
constexpr std::array<Atlas, 7> kChartColumns = {
    Atlas::Uranometria, Atlas::SkyAtlas,   Atlas::AstroAtlasB, Atlas::AstroAtlasC,
    Atlas::EdmundMag5,  Atlas::EdmundMag6, Atlas::Msa};

int32_t ChartOf(CVesparioDoc &doc, int r, Atlas atlas) {
    switch (atlas) {
    case Atlas::Uranometria:
        return doc.GetUranometria(r);
    case Atlas::SkyAtlas:
        return doc.GetSkyAtlas(r);
    case Atlas::AstroAtlasB:
        return doc.GetAstroAtlasB(r);
    case Atlas::AstroAtlasC:
        return doc.GetAstroAtlasC(r);
    case Atlas::EdmundMag5:
        return doc.GetEdmundMag5(r);
    case Atlas::EdmundMag6:
        return doc.GetEdmundMag6(r);
    case Atlas::Msa:
        return doc.GetMsa(r);
    }
    return 0;
}

struct ChartRow {
    std::array<int32_t, 7> charts{};
    int count = 1;
    string radec;
    int bookmark = 0;
};

struct MagazineReference {
    string text;
    int bookmark = 0;
    string radec;
    string id;
};

struct FontStrings {
    string open;
    string close;
};

class Writer {
public:
    Writer(ReportKind kind, const ReportLayout &layout, ReportSources &sources)
        : m_kind(kind), m_layout(layout), m_o(layout.options), m_src(sources), m_doc(sources.doc) {
        for (const ReportField &f : layout.fields)
            (f.width > 0 || kind == ReportKind::Export ? m_columns : m_under).push_back(&f);
        m_pageWidthTwips = (m_o.orientation ? kLetterHeightTwips : kLetterWidthTwips) -
                           m_o.marginLeft - m_o.marginRight;
        m_pageChars = std::max(20, m_pageWidthTwips / kTwipsPerChar - 2);
        if (!m_o.topFile.empty())
            m_top = platform::ReadWholeFile(m_o.topFile).value_or("");
        if (!m_o.underFile.empty())
            m_underText = platform::ReadWholeFile(m_o.underFile).value_or("");
        if (kind == ReportKind::Rtf)
            PrepareRtf();
    }

    void Begin();
    void Object(int record);
    void End();
    string &Out() { return m_out; }

private:
    string Value(const ReportField &f, int r);
    void PrepareRtf();
    void BeginRtf();
    void RtfRow(const std::vector<string> &values, int bookmark);
    void RtfUnder(string_view heading, string_view text, int r);
    void RtfReference(string_view text, size_t &at, int r);
    void RtfSectionHeader(string_view what);
    void RtfCharts();
    void RtfMagazines();
    void RtfSessionNotes();
    void TextObject(int r);
    void TextWrapped(string_view text, size_t firstIndent, size_t indent);
    void HtmlObject(int r);
    FontStrings HtmlFont(uint32_t font) const;

    ReportKind m_kind;
    const ReportLayout &m_layout;
    const ReportOptions &m_o;
    ReportSources &m_src;
    CVesparioDoc &m_doc;
    std::vector<const ReportField *> m_columns; // on the object's heading line
    std::vector<const ReportField *> m_under;   // under it
    int32_t m_pageWidthTwips = 0;
    int m_pageChars = 0;
    string m_top;
    string m_underText;
    string m_out;
    // RTF working state.
    std::vector<FontStrings> m_fonts; // per field of the layout
    int32_t m_largestSize = kNormalPointSize;
    int m_objectBookmark = 0;
    int m_magazineBookmark = 0;
    std::vector<ChartRow> m_charts;
    std::vector<MagazineReference> m_magazines;
    std::set<string> m_dates;
    Pattern m_magazinePattern;
};

string Writer::Value(const ReportField &f, int r) {
    const int n = f.Field();
    string value;
    switch (m_doc.Fields().Slot(n).kind) {
    case FieldKind::StoredText:
    case FieldKind::Text:
        value = m_doc.GetText(n, r);
        break;
    case FieldKind::Integer:
        value = std::to_string(m_doc.GetInt(n, r));
        break;
    case FieldKind::Real:
        value = FormatReal(m_doc.GetReal(n, r));
        break;
    case FieldKind::None:
        break;
    }
    if (value.ends_with("\r\n"))
        value.resize(value.size() - 2);
    const bool longText = m_doc.Fields().Slot(n).kind == FieldKind::StoredText && n >= 12;
    if (m_o.unabbreviate && longText && m_kind != ReportKind::Export) {
        string expanded = value;
        if (Unabbreviate(expanded, m_src.vocabularies))
            value = std::move(expanded);
    }
    return value;
}

void Writer::Begin() {
    switch (m_kind) {
    case ReportKind::Export:
        for (const ReportField *f : m_columns) {
            AppendExport(m_out, f->heading);
            m_out += ';';
        }
        m_out += kEol;
        break;
    case ReportKind::Text: {
        m_out += Flattened(m_o.title) + string(kEol);
        m_out += m_top;
        string heading;
        for (const ReportField *f : m_columns)
            heading += Column(f->heading, f->width);
        m_out += heading + string(kEol);
        break;
    }
    case ReportKind::Rtf:
        BeginRtf();
        break;
    case ReportKind::Html:
        m_out += "<!DOCTYPE html>\r\n<html><head><meta charset=\"" + HtmlCharset(m_doc.GreekSet()) +
                 "\"><title>";
        AppendHtmlEscaped(m_out, m_o.title);
        m_out += "</title></head>\r\n<body>";
        AppendHtmlEscaped(m_out, m_top);
        m_out += "<table border=1><tr>\r\n";
        for (const ReportField *f : m_columns) {
            m_out += " <th>";
            AppendHtmlEscaped(m_out, f->heading);
            m_out += "</th>\r\n";
        }
        m_out += "</tr>\r\n";
        break;
    case ReportKind::Tdf:
        break;
    }
}

void Writer::Object(int r) {
    m_doc.EnsureParsed(r);
    switch (m_kind) {
    case ReportKind::Export:
        for (const ReportField *f : m_columns) {
            AppendExport(m_out, Value(*f, r));
            m_out += ';';
        }
        m_out += kEol;
        return;
    case ReportKind::Tdf:
        for (const ReportField *f : m_columns)
            m_out += Column(Value(*f, r), f->width);
        m_out += kEol;
        return;
    case ReportKind::Text:
        TextObject(r);
        return;
    case ReportKind::Html:
        HtmlObject(r);
        return;
    case ReportKind::Rtf:
        break;
    }
    // RTF: the row, the fields under it, the insertion, and the working state of the tables.
    const int bookmark = m_objectBookmark++;
    std::vector<string> values;
    for (const ReportField *f : m_columns)
        values.push_back(Value(*f, r));
    RtfRow(values, bookmark);
    for (const ReportField *f : m_under)
        RtfUnder(f->heading, Value(*f, r), r);
    if (!m_underText.empty()) {
        for (string_view line : Lines(m_underText)) {
            m_out += "{\\li864 ";
            AppendRtf(m_out, line);
            m_out += "\\par}\r\n";
        }
    }
    for (int i = 0; i < m_o.blankLines; ++i)
        m_out += "\\par\r\n";
    if (m_o.chartTable) {
        ChartRow row;
        for (size_t a = 0; a < kChartColumns.size(); ++a)
            row.charts[a] = ChartOf(m_doc, r, kChartColumns[a]);
        const size_t key = static_cast<size_t>(std::clamp(m_o.chartTableKey, 0, 6));
        const auto same = std::find_if(m_charts.begin(), m_charts.end(), [&](const ChartRow &c) {
            return c.charts[key] == row.charts[key];
        });
        if (same != m_charts.end()) {
            ++same->count;
        } else {
            row.radec = m_doc.GetText(field::RaDec, r);
            row.bookmark = bookmark;
            m_charts.push_back(std::move(row));
        }
    }
    if (m_o.sessionNotes)
        for (const string &entry : ObservationEntries(m_doc, m_doc.GetText(field::Obs, r)))
            if (entry.size() >= 8)
                m_dates.insert(entry.substr(0, 8));
}

// --- text -------------------------------------------------------------------------------

void Writer::TextWrapped(string_view text, size_t firstIndent, size_t indent) {
    const size_t width = static_cast<size_t>(m_pageChars);
    size_t lead = firstIndent;
    while (true) {
        const size_t room = width > lead + 10 ? width - lead : 10;
        size_t cut = text.size();
        if (cut > room) {
            cut = text.rfind(' ', room);
            if (cut == string_view::npos || cut == 0)
                cut = room;
        }
        m_out += string(lead, ' ');
        m_out += Flattened(text.substr(0, cut));
        m_out += kEol;
        text.remove_prefix(cut);
        while (!text.empty() && text[0] == ' ')
            text.remove_prefix(1);
        if (text.empty())
            return;
        lead = indent;
    }
}

void Writer::TextObject(int r) {
    string line;
    for (const ReportField *f : m_columns)
        line += Column(Value(*f, r), f->width);
    m_out += line + string(kEol);
    for (const ReportField *f : m_under) {
        const string value = Value(*f, r);
        if (value.empty())
            continue;
        bool first = true;
        for (string_view part : Lines(value)) {
            if (first)
                TextWrapped(f->heading + " " + string(part), 2, 4);
            else
                TextWrapped(part, 6, 6);
            first = false;
        }
    }
    m_out += m_underText;
    for (int i = 0; i < m_o.blankLines; ++i)
        m_out += kEol;
}

// --- HTML -------------------------------------------------------------------------------

FontStrings Writer::HtmlFont(uint32_t font) const {
    FontStrings s;
    const int size = static_cast<int>(font & kFontSizeMask);
    const int steps = (size - kNormalPointSize) / 2;
    if (steps != 0) {
        char text[32];
        std::snprintf(text, sizeof text, steps > 0 ? "<font size=+%i>" : "<font size=-%i>",
                      steps > 0 ? steps : -steps);
        s.open += text;
        s.close = "</font>";
    }
    if (font & kFontBold) {
        s.open += "<b>";
        s.close = "</b>" + s.close;
    }
    if (font & kFontItalic) {
        s.open += "<i>";
        s.close = "</i>" + s.close;
    }
    if (font & kFontUnderline) {
        s.open += "<u>";
        s.close = "</u>" + s.close;
    }
    return s;
}

void Writer::HtmlObject(int r) {
    m_out += "<tr>\r\n";
    for (const ReportField *f : m_columns) {
        const FontStrings font = HtmlFont(f->font);
        m_out += " <td>" + font.open;
        AppendHtmlEscaped(m_out, Flattened(Value(*f, r)).substr(0, static_cast<size_t>(f->width)));
        m_out += font.close + "</td>\r\n";
    }
    m_out += "</tr>\r\n";
    if (m_under.empty() && m_underText.empty())
        return;
    m_out += "<tr><td colspan=" + std::to_string(std::max<size_t>(1, m_columns.size())) + ">";
    bool first = true;
    for (const ReportField *f : m_under) {
        if (!first)
            m_out += "<br>\r\n";
        first = false;
        const FontStrings font = HtmlFont(f->font);
        m_out += font.open;
        AppendHtmlEscaped(m_out, f->heading);
        m_out += ' ';
        bool firstLine = true;
        const string value = Value(*f, r); // the lines are views into it
        for (string_view line : Lines(value)) {
            if (!firstLine)
                m_out += "<br>";
            firstLine = false;
            AppendHtmlEscaped(m_out, line);
        }
        m_out += font.close;
    }
    if (!m_underText.empty()) {
        m_out += "<br>\r\n";
        AppendHtmlEscaped(m_out, m_underText);
    }
    m_out += "</td></tr>\r\n";
}

// --- RTF --------------------------------------------------------------------------------

void Writer::PrepareRtf() {
    for (const ReportField &f : m_layout.fields) {
        FontStrings s;
        const int32_t size = static_cast<int32_t>(f.font & kFontSizeMask);
        const int32_t points = size > 0 ? size : kNormalPointSize;
        m_largestSize = std::max(m_largestSize, points);
        s.open = "\\f0\\fs" + std::to_string(2 * points) + " ";
        if (f.font & kFontBold) {
            s.open += "\\b ";
            s.close += "\\b0 ";
        }
        if (f.font & kFontItalic) {
            s.open += "\\i ";
            s.close += "\\i0 ";
        }
        if (f.font & kFontUnderline) {
            s.open += "\\ul ";
            s.close += "\\ul0 ";
        }
        m_fonts.push_back(std::move(s));
    }
    if (m_o.magazineSummary && m_src.vocabularies != nullptr) {
        string codes;
        for (const string &entry : m_src.vocabularies->Magazines().Entries())
            if (!entry.empty() && entry[0] != ']' && entry[0] != '\\' && entry[0] != '-' &&
                entry[0] != '~')
                codes += entry[0];
        if (!codes.empty())
            m_magazinePattern.SetText("_[" + codes +
                                      "][1-2][0-9][0-9][0-9][01][0-9]{{[1-9]+[~1-9]}|{cover}|"
                                      "{back}}");
    }
}

void Writer::BeginRtf() {
    m_out += "{\\rtf1\\ansi\r\n\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 ";
    AppendRtf(m_out, m_src.fontName);
    m_out += ";}}\\f0\\fs" + std::to_string(2 * m_largestSize + 4) + " ";
    if (m_o.orientation)
        m_out += "\\lndscpsxn ";
    m_out += "\\margl" + std::to_string(m_o.marginLeft) + " \\margr" +
             std::to_string(m_o.marginRight) + " \\margt" + std::to_string(m_o.marginTop) +
             " \\margb" + std::to_string(m_o.marginBottom) + " \r\n";
    m_out += "\\sect {\\header\\tx" + std::to_string(m_pageWidthTwips - 1440) + " \\f0\\fs" +
             std::to_string(2 * m_largestSize + 4) + " ";
    AppendRtf(m_out, m_o.title);
    m_out += kPageField;
    m_out += "\r\n";
    std::vector<string> headings;
    for (const ReportField *f : m_columns)
        headings.push_back(f->heading);
    RtfRow(headings, -1);
    m_out += "}\r\n";
    for (string_view line : Lines(m_top)) {
        m_out += "{";
        AppendRtf(m_out, line);
        m_out += "\\par}\r\n";
    }
}

void Writer::RtfRow(const std::vector<string> &values, int bookmark) {
    m_out += "\\trowd \\trgaph20\\trleft-20 ";
    int32_t edge = 0;
    for (const ReportField *f : m_columns) {
        edge += f->width * kTwipsPerChar;
        m_out += "\\cellx" + std::to_string(edge) + " ";
    }
    m_out += "\\pard \\widctlpar\\intbl \r\n";
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const FontStrings &font = m_fonts[static_cast<size_t>(m_columns[i] - &m_layout.fields[0])];
        if (i == 0 && bookmark >= 0) {
            const string name = "TOC" + std::to_string(bookmark);
            m_out += "{\\v {\\bkmkstart " + name + "}{\\bkmkend " + name + "}}";
        }
        m_out += font.open;
        AppendRtf(m_out, Flattened(values[i]));
        m_out += font.close + "\\cell ";
    }
    m_out += "\\pard \\widctlpar\\intbl \\row \\pard \\widctlpar\r\n";
}

// A reference after "!": bold and underlined as set, up to the reference's end ("^" or the
// line's end); a magazine issue gets a bookmark and a row in the magazine table.
void Writer::RtfReference(string_view text, size_t &at, int r) {
    size_t end = text.find_first_of("^\r\n", at);
    if (end == string_view::npos)
        end = text.size();
    const string_view reference = text.substr(at, end - at);
    if (m_o.magazineSummary && m_magazinePattern.IsValid() && !m_magazinePattern.Text().empty()) {
        const int length =
            m_magazinePattern.MatchAt(reference.data(), static_cast<int>(reference.size()), 0,
                                      static_cast<int>(reference.size()));
        if (length > 0) {
            const string name = "MAG" + std::to_string(m_magazineBookmark);
            m_out += "{\\v {\\bkmkstart " + name + "}{\\bkmkend " + name + "}}";
            MagazineReference ref;
            ref.text = Flattened(reference.substr(0, static_cast<size_t>(length)));
            while (!ref.text.empty() && (ref.text.back() < '0' || ref.text.back() > '9') &&
                   !ref.text.ends_with("cover") && !ref.text.ends_with("back"))
                ref.text.pop_back(); // the character that ended the page number
            ref.bookmark = m_magazineBookmark++;
            ref.radec = m_doc.GetText(field::RaDec, r);
            ref.id = Flattened(m_doc.GetPrimaryId(r));
            m_magazines.push_back(std::move(ref));
        }
    }
    if (m_o.bangToBold)
        m_out += "\\b ";
    if (m_o.bangToUnderline)
        m_out += "\\ul ";
    AppendRtf(m_out, reference);
    if (m_o.bangToUnderline)
        m_out += "\\ul0 ";
    if (m_o.bangToBold)
        m_out += "\\b0 ";
    at = end;
}

void Writer::RtfUnder(string_view heading, string_view text, int r) {
    m_out += "{\\fi-576\\li864 ";
    AppendRtf(m_out, heading);
    m_out += ' ';
    size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '\r' || c == '\n') {
            at += text.substr(at).starts_with("\r\n") ? 2 : 1;
            m_out += "\\par}\r\n{\\fi-288\\li864 ";
            continue;
        }
        if (c == '!') {
            m_out += '!';
            ++at;
            RtfReference(text, at, r);
            continue;
        }
        AppendRtf(m_out, text.substr(at, 1));
        ++at;
    }
    m_out += "\\par}\r\n";
}

void Writer::RtfSectionHeader(string_view what) {
    m_out += "\\sect {\\header ";
    AppendRtf(m_out, m_o.title);
    m_out += what;
    m_out += kPageField;
    m_out += "}\r\n";
}

void Writer::RtfCharts() {
    RtfSectionHeader(" - Table of Charts");
    m_out += "\\f0\\fs16 ";
    string rowStart = "\\trowd \\trgaph20\\trleft-20 ";
    for (int edge = 1440; edge <= 12960; edge += 1440)
        rowStart += "\\clbrdrt\\brdrs \\clbrdrl\\brdrs \\clbrdrb\\brdrs \\clbrdrr\\brdrs \\cellx" +
                    std::to_string(edge) + " ";
    rowStart += "\\pard \\intbl ";
    m_out += rowStart +
             "Uranometria chart\\cell SkyAtlas chart\\cell AstroAtlasB chart\\cell AstroAtlasC "
             "chart\\cell EdmundMag5 chart\\cell EdmundMag6 chart\\cell MSA chart\\cell Number "
             "of Objects\\cell First RaDec\\cell First Page\\cell \\pard \\intbl \\row \\pard "
             "\r\n";
    for (const ChartRow &row : m_charts) {
        m_out += rowStart;
        for (int32_t chart : row.charts)
            m_out += std::to_string(chart) + "\\cell ";
        m_out += std::to_string(row.count) + "\\cell ";
        AppendRtf(m_out, row.radec);
        m_out += "\\cell {\\field{\\fldinst { PAGEREF TOC" + std::to_string(row.bookmark) +
                 " }}}\\cell \\pard \\intbl \\row \\pard \r\n";
    }
}

void Writer::RtfMagazines() {
    RtfSectionHeader(" - Table of Magazines");
    m_out += "\\f0\\fs16 ";
    string rowStart = "\\trowd \\trgaph20\\trleft-20 ";
    for (int edge : {1440, 2880, 4320, 7200})
        rowStart += "\\clbrdrt\\brdrs \\clbrdrl\\brdrs \\clbrdrb\\brdrs \\clbrdrr\\brdrs \\cellx" +
                    std::to_string(edge) + " ";
    m_out += rowStart + "\\pard \\intbl Magazine\\cell Page Number\\cell RaDec\\cell ID\\cell "
                        "\\pard \\intbl \\row \\pard \r\n";
    // Ascending by issue; equal issues keep the order in which the objects gave them.
    std::stable_sort(
        m_magazines.begin(), m_magazines.end(),
        [](const MagazineReference &a, const MagazineReference &b) { return a.text < b.text; });
    for (const MagazineReference &ref : m_magazines) {
        m_out += rowStart + "\\pard \\intbl ";
        AppendRtf(m_out, ref.text);
        m_out += "\\cell {\\field{\\fldinst { PAGEREF MAG" + std::to_string(ref.bookmark) +
                 " }}}\\cell ";
        AppendRtf(m_out, ref.radec);
        m_out += "\\cell ";
        AppendRtf(m_out, ref.id);
        m_out += "\\cell \\pard \\intbl \\row \\pard \r\n";
    }
}

void Writer::RtfSessionNotes() {
    m_out += "\\sect {\\header ";
    AppendRtf(m_out, m_o.title);
    m_out += " - Session Notes";
    m_out += kPageField;
    m_out += "}\r\n{\\fi-288\\li288\\f0\\fs16\\par\\par";
    const string path = SessionNotesPath(m_src.databasePath);
    if (m_dates.empty())
        m_out += " None Found";
    for (const string &date : m_dates) {
        const SessionNotes notes = ReadSessionNotes(date, path);
        m_out += "\\par ";
        AppendRtf(m_out, date);
        m_out += "\\par ";
        if (!notes.opened) {
            m_out += " Unable to open file ";
            AppendRtf(m_out, path);
            m_out += "\\par ";
            continue;
        }
        for (string_view line : Lines(notes.text)) {
            AppendRtf(m_out, line);
            m_out += "\\par ";
        }
    }
    m_out += "}\r\n";
}

void Writer::End() {
    switch (m_kind) {
    case ReportKind::Text:
        m_out += "This report was created with Vespario <" + m_src.homePage + ">\r\n";
        return;
    case ReportKind::Html:
        m_out += "</table><br><br>\r\nThis report was created with <a href=\"";
        AppendHtmlEscaped(m_out, m_src.homePage);
        m_out += "\">Vespario</a>\r\n</body></html>\r\n";
        return;
    case ReportKind::Rtf:
        if (m_o.chartTable)
            RtfCharts();
        if (m_o.magazineSummary)
            RtfMagazines();
        if (m_o.sessionNotes)
            RtfSessionNotes();
        m_out += "\\par\\par This report was created with Vespario <";
        AppendRtf(m_out, m_src.homePage);
        m_out += ">\\par}\r\n";
        return;
    default:
        return;
    }
}

string ProgramFolder(string_view planetariumEntry) {
    const size_t first = planetariumEntry.find(',');
    if (first == string_view::npos)
        return {};
    const size_t second = planetariumEntry.find(',', first + 1);
    string program(planetariumEntry.substr(
        first + 1, second == string_view::npos ? string_view::npos : second - first - 1));
    if (program.empty() || program == "none")
        return {};
    std::error_code ec;
    // A ".lnk" was the other platform's link: here a symbolic link stands for it.
    if (std::filesystem::is_symlink(program, ec)) {
        const auto target = std::filesystem::canonical(program, ec);
        if (!ec)
            program = target.string();
    }
    const size_t slash = program.rfind('/');
    return slash == string::npos ? string() : program.substr(0, slash + 1);
}

string WithoutExtension(const string &path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == string::npos || (slash != string::npos && dot < slash))
        return path;
    return path.substr(0, dot);
}

string TdfDescription(const string &dataPath, const ReportOptions &o) {
    std::error_code ec;
    const auto full = std::filesystem::absolute(dataPath, ec);
    string text = "file " + (ec ? dataPath : full.lexically_normal().string()) + string(kEol);
    text += "title " + Flattened(o.title) + string(kEol);
    text += "RA H 1 10\r\nde d 11 10\r\nepoch 2000\r\n";
    text += "type " + Flattened(o.tdfSymbol) + string(kEol);
    text += "shown 0\r\nend\r\n";
    return text;
}

} // namespace

std::vector<ReportFilter> ReportFilters(bool exportKind, string_view planetariumName) {
    if (exportKind)
        return {{"Text", "*.txt", ReportKind::Export}};
    std::vector<ReportFilter> filters = {
        {"Rich Text Format", "*.rtf", ReportKind::Rtf},
        {"Text File", "*.txt", ReportKind::Text},
        {"Hypertext Markup Language", "*.htm;*.html", ReportKind::Html}};
    if (planetariumName.starts_with("Guide"))
        filters.push_back({"Guide 6 User Dataset", "*.tdf;*.dat", ReportKind::Tdf});
    return filters;
}

string ReportFileName(ReportKind kind, const string &chosen) {
    switch (kind) {
    case ReportKind::Rtf:
        return EndsWithNoCaseAscii(chosen, ".rtf") ? chosen : chosen + ".rtf";
    case ReportKind::Html:
        return EndsWithNoCaseAscii(chosen, ".htm") || EndsWithNoCaseAscii(chosen, ".html")
                   ? chosen
                   : chosen + ".html";
    case ReportKind::Tdf: {
        const size_t slash = chosen.rfind('/');
        const size_t at = chosen.size() >= 4 ? chosen.size() - 4 : string::npos;
        if (at != string::npos && chosen[at] == '.' && (slash == string::npos || slash < at))
            return chosen.substr(0, at);
        return chosen;
    }
    default:
        return EndsWithNoCaseAscii(chosen, ".txt") ? chosen : chosen + ".txt";
    }
}

ReportKind ReportKindOfName(string_view name) {
    const string lower = Lowered(name);
    if (lower.ends_with(".rtf"))
        return ReportKind::Rtf;
    if (lower.ends_with(".htm") || lower.ends_with(".html"))
        return ReportKind::Html;
    if (lower.ends_with(".tdf") || lower.ends_with(".dat"))
        return ReportKind::Tdf;
    return ReportKind::Text;
}

void PrepareLayoutForKind(ReportKind kind, ReportLayout &layout) {
    if (kind == ReportKind::Rtf) {
        if (layout.options.units == kUnitChars)
            layout.options.units = kUnitInches;
    } else {
        layout.options.units = kUnitChars;
    }
    if (kind == ReportKind::Tdf)
        layout.fields = DefaultLayout(ReportKind::Tdf, kUnitChars).fields;
}

string TdfDescriptionPath(const string &reportPath, string_view planetariumEntry) {
    const size_t slash = reportPath.rfind('/');
    const string bare =
        WithoutExtension(slash == string::npos ? reportPath : reportPath.substr(slash + 1)) +
        ".tdf";
    const string folder = ProgramFolder(planetariumEntry);
    if (!folder.empty())
        return folder + bare;
    return slash == string::npos ? bare : reportPath.substr(0, slash + 1) + bare;
}

bool WriteReport(ReportKind kind, const ReportLayout &layout, RecordSequence records,
                 const string &path, ReportSources &sources, string *error) {
    platform::Host &host = sources.host;
    if (layout.fields.empty()) {
        host.MessageBox(kNoReportFields, "Vespario", platform::Buttons::Ok);
        if (error)
            *error = kNoReportFields;
        return false;
    }
    for (const ReportField &f : layout.fields)
        if (!FieldTable::IsValidField(f.Field())) {
            if (error)
                *error = "A report field names no field";
            return false;
        }
    if (layout.options.unabbreviate && kind != ReportKind::Export)
        host.MessageBox(UnabbreviateWarning("report"), "Vespario", platform::Buttons::Ok);

    Writer writer(kind, layout, sources);
    writer.Begin();
    const size_t count = records.size();
    int shown = -1;
    for (size_t i = 0; i < count; ++i) {
        const int percent = static_cast<int>(i * 100 / count);
        if (percent != shown) {
            host.Progress(kGeneratingReport, percent);
            host.PumpEvents();
            shown = percent;
        }
        writer.Object(records[i]);
    }
    writer.End();
    host.EndProgress();

    if (kind != ReportKind::Tdf)
        return platform::WriteWholeFileAtomic(path, writer.Out(), error);
    const string dataPath = WithoutExtension(path) + ".dat";
    return platform::WriteWholeFileAtomic(dataPath, writer.Out(), error) &&
           platform::WriteWholeFileAtomic(TdfDescriptionPath(path, sources.planetariumEntry),
                                          TdfDescription(dataPath, layout.options), error);
}

} // namespace vespario
