// Import: reading the import text into records, matching each to an object by its
// designations, merging the imported fields under the per-field rules, adding new objects,
// the maintenance records, the log and the summary.

#include "db/import.h"

#include "astro/radectext.h"
#include "db/csv.h"
#include "db/greek.h"
#include "db/identifiers.h"
#include "db/loadbuffer.h"
#include "db/nameindex.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vespario {

// The export route (importexport.cpp): the items of the other program's export as a described
// text of records "ID;text;". False, with the message shown, when the translation is missing.
bool ConvertExportFile(std::string_view data, const ImportDescription &description,
                       const std::string &dataFolder, platform::Host &host, std::string &out);

namespace {

constexpr std::string_view kTitle = "Vespario";
constexpr std::string_view kProgressText = "Importing File";
constexpr std::string_view kEmptyId = "=EmptyImportID=";
constexpr std::string_view kEmptyIdMessage =
    "empty ID field encountered. Using 'EmptyImportID' as ID";
constexpr std::string_view kDatabaseMark = ";Vespario=";
constexpr std::string_view kMaintenanceMark = ";VesparioMaint=";
constexpr std::string_view kUpdateMark = ";VesparioUpd=";
constexpr size_t kLogSnippet = 20;
constexpr int kMaxHeaderFields = 1000; // more import fields than any update file could use

void Show(platform::Host &host, std::string_view text) {
    host.MessageBox(text, kTitle, platform::Buttons::Ok);
}

std::string Capitals(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), UpperAscii);
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The number at the start of text (after blanks), or 0.
double LeadingNumber(std::string_view text) {
    text = TrimBlanks(text);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The designations of an ID text, in order ("=M31=n224=" gives M31 and n224).
template <class Visit> void ForEachDesignation(std::string_view id, Visit visit) {
    size_t begin = 0;
    while (begin <= id.size()) {
        size_t end = id.find('=', begin);
        if (end == std::string_view::npos)
            end = id.size();
        const std::string_view designation = TrimBlanks(id.substr(begin, end - begin));
        if (!designation.empty() && !visit(designation))
            return;
        begin = end + 1;
    }
}

// --- the import text ----------------------------------------------------------------------

// Lines of a text; a CR LF pair ends one line.
class LineReader {
public:
    explicit LineReader(std::string_view text, size_t pos = 0) : m_text(text), m_pos(pos) {}
    bool AtEnd() const { return m_pos >= m_text.size(); }
    size_t Pos() const { return m_pos; }
    std::string_view Next() {
        const size_t end = m_text.find_first_of("\r\n", m_pos);
        const size_t stop = end == std::string_view::npos ? m_text.size() : end;
        const std::string_view line = m_text.substr(m_pos, stop - m_pos);
        m_pos = stop;
        if (m_pos < m_text.size() && m_text[m_pos] == '\r')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '\n')
            ++m_pos;
        return line;
    }

private:
    std::string_view m_text;
    size_t m_pos;
};

// The raw fields of the described records: one record per line, cut at the delimiter (a
// backslash before the delimiter keeps it in the field); with "end of line" as the delimiter
// each line is one field. Fields past the description's count are ignored.
class DescribedReader {
public:
    DescribedReader(std::string_view text, size_t pos, ImportDelimiter delimiter, char c,
                    size_t count)
        : m_lines(text, pos), m_delimiter(delimiter == ImportDelimiter::Tab ? '\t' : c),
          m_eachLine(delimiter == ImportDelimiter::EndOfLine), m_count(count) {}

    size_t Pos() const { return m_lines.Pos(); }

    // The next record's fields; false at the end. tooLong: a field longer than the limit.
    bool Next(std::vector<std::string> &fields, bool &tooLong) {
        fields.assign(m_count, std::string());
        tooLong = false;
        if (m_eachLine) {
            if (m_lines.AtEnd() || m_count == 0)
                return false;
            for (size_t i = 0; i < m_count && !m_lines.AtEnd(); ++i) {
                const std::string_view line = m_lines.Next();
                if (line.size() > kMaxImportField)
                    tooLong = true;
                else
                    fields[i].assign(line);
            }
            return true;
        }
        while (!m_lines.AtEnd()) {
            const std::string_view line = m_lines.Next();
            if (TrimWhiteSpace(line).empty())
                continue; // blank lines separate nothing
            Split(line, fields, tooLong);
            return true;
        }
        return false;
    }

private:
    void Split(std::string_view line, std::vector<std::string> &fields, bool &tooLong) const {
        size_t n = 0;
        for (size_t i = 0; i < line.size() && n < m_count; ++i) {
            char c = line[i];
            if (c == '\\' && i + 1 < line.size() && line[i + 1] == m_delimiter) {
                c = line[++i];
            } else if (c == m_delimiter) {
                ++n;
                continue;
            }
            std::string &field = fields[n];
            if (field.size() >= kMaxImportField) {
                tooLong = true;
                continue;
            }
            field += c;
        }
    }

    LineReader m_lines;
    char m_delimiter;
    bool m_eachLine;
    size_t m_count;
};

// Converts one text between Greek sets, through the words.
void ConvertGreekSet(std::string &text, int from, int to) {
    if (from == to)
        return;
    if (from != kGreekPlain)
        GreekToWords(text, from);
    if (to != kGreekPlain)
        WordsToGreek(text, to);
}

// Greek letter names written in mixed case (Alpha to Omega, Xi, Struve) as the upper-case
// words of the letter table; only whole words convert.
void MixedCaseGreekToWords(std::string &text) {
    std::string out;
    bool changed = false;
    size_t copied = 0;
    for (size_t i = 0; i < text.size();) {
        if (!IsAsciiLetter(text[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && IsAsciiLetter(text[end]))
            ++end;
        const std::string_view word(text.data() + i, end - i);
        std::string_view upper;
        if (word == "Xi") {
            upper = "XHI";
        } else if (word.size() > 1 && word[0] >= 'A' && word[0] <= 'Z') {
            for (const GreekLetter &letter : GreekLetters()) {
                if (letter.word == "DEG" || letter.word.size() != word.size())
                    continue;
                bool same = word[0] == letter.word[0];
                for (size_t k = 1; same && k < word.size(); ++k)
                    same = word[k] == LowerAscii(letter.word[k]);
                if (same) {
                    upper = letter.word;
                    break;
                }
            }
        }
        if (!upper.empty()) {
            out.append(text, copied, i - copied);
            out += upper;
            copied = end;
            changed = true;
        }
        i = end;
    }
    if (!changed)
        return;
    out.append(text, copied, std::string::npos);
    text.swap(out);
}

// A field of a described record as the database holds it: trimmed, without control bytes
// (a tab is a blank), in the database's Greek set.
std::string PrepareField(std::string_view raw, int field, int fromSet, int toSet) {
    std::string text;
    text.reserve(raw.size());
    // As in the database file: runs of blanks shrink to one. Trimmed once the control bytes
    // are gone, so that none of them hides a blank at either end.
    for (char c : raw) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
        if (static_cast<unsigned char>(c) < 32 || (c == ' ' && !text.empty() && text.back() == ' '))
            continue;
        text += c;
    }
    if (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    if (!text.empty() && text.back() == ' ')
        text.pop_back();
    // Names such as Alpha or Struve are letters only in a text that spells its letters out
    // in another set; as the database's own set holds them they are names (Omega Centauri).
    if (fromSet >= 0) {
        ConvertGreekSet(text, fromSet, toSet);
        MixedCaseGreekToWords(text);
    }
    if (loadbuffer::FileHoldsGreekWords(field))
        WordsToGreek(text, toSet);
    return text;
}

// Appends the designations of an ID text, each reduced to its shorthand, to id ("=" form).
void AppendDesignations(std::string &id, std::string_view text) {
    ForEachDesignation(text, [&](std::string_view designation) {
        std::string d(designation);
        NormaliseDesignation(d);
        if (id.empty())
            id = "=";
        id += d;
        id += '=';
        return true;
    });
}

// --- the designations of the database during an import ------------------------------------

// The designations of every object, in capitals, with the Type in front for the typed
// look-up ("EG;N224"), each naming the first record that carries it: the same answer as a
// search of the name index, in one hashed look-up per designation so that an import stays
// linear in its records. It holds the database as it was before the import. Deleted records are
// left out: what is merged into them would be lost with them at the next save.
class ImportIndex {
public:
    ImportIndex(CVesparioDoc &doc, bool typed) : m_doc(doc), m_typed(typed) {
        const int count = doc.GetRecordCount();
        m_heads.reserve(static_cast<size_t>(count) * 2);
        m_entries.reserve(static_cast<size_t>(count) * 2);
        for (int i = 0; i < count; ++i) {
            if (typed)
                doc.EnsureParsed(i);
            if (!doc.Record(i).m_deleted)
                Add(i, doc.Record(i).Field(field::Id));
        }
    }

    // The record carrying the designation (of that Type, when typed and not "un"), or -1.
    int Find(std::string_view designation, std::string_view type) const {
        m_key.assign(designation);
        std::transform(m_key.begin(), m_key.end(), m_key.begin(), UpperAscii);
        const auto it = m_heads.find(m_key);
        if (it == m_heads.end())
            return -1;
        // "un" (unknown) and an empty Type say nothing about the object's type.
        const bool anyType = !m_typed || type == "un" || type.empty();
        for (int e = it->second.head; e >= 0; e = m_entries[static_cast<size_t>(e)].next) {
            const int record = m_entries[static_cast<size_t>(e)].record;
            if (anyType || EqualNoCaseAscii(m_doc.Record(record).Field(field::Type), type))
                return record;
        }
        return -1;
    }

private:
    // The records of one designation in record order: a chain through m_entries.
    struct Chain {
        int head;
        int tail;
    };
    struct Entry {
        int record;
        int next;
    };

    void Add(int record, std::string_view id) {
        ForEachDesignation(id, [&](std::string_view designation) {
            const int e = static_cast<int>(m_entries.size());
            m_entries.push_back({record, -1});
            auto [it, added] = m_heads.try_emplace(Capitals(designation), Chain{e, e});
            if (!added) {
                m_entries[static_cast<size_t>(it->second.tail)].next = e;
                it->second.tail = e;
            }
            return true;
        });
    }

    CVesparioDoc &m_doc;
    bool m_typed;
    std::unordered_map<std::string, Chain> m_heads;
    std::vector<Entry> m_entries;
    mutable std::string m_key;
};

// --- one run -------------------------------------------------------------------------------

struct ImportRecord {
    std::array<std::string, kStoredFieldCount> fields;
    std::string number; // maintenance: the field number
    std::string text;   // maintenance: the text
};

// A long field's text as saving and reading the database would leave it, so that what an
// import stores is what the next load gives: line ends as the writer and reader treat them
// (a line end is a blank before a character that is not one, nothing otherwise), runs of
// blanks as one, and the line structure of goal, obs, url and refs rebuilt.
std::string FileForm(CVesparioDoc &doc, int f, std::string_view text) {
    if (f != field::Goal && f != field::Obs && f != field::Url && f != field::Refs)
        return std::string(text);
    std::string flat;
    flat.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r')
            continue;
        if (c == '\n') {
            if (i + 1 >= text.size() || text[i + 1] == ' ')
                continue;
            c = ' ';
        }
        if (c == ' ' && !flat.empty() && flat.back() == ' ')
            continue;
        flat += c;
    }
    std::string out;
    loadbuffer::FinishLongField(f, flat, doc.ObservationHeader(), out);
    return out;
}

// The first "=" of a record's text marks its ID: an "=" in a field before the ID would make
// the next load read the ID from there, so those fields never keep one.
// The blanks on both sides of a dropped "=" become one, as a load would make them.
void DropEquals(std::string &text) {
    if (text.find('=') == std::string::npos)
        return;
    std::string out;
    for (char c : text) {
        if (c == '=' || (c == ' ' && !out.empty() && out.back() == ' '))
            continue;
        out += c;
    }
    text.swap(out);
}

void DropEqualsBeforeId(std::array<std::string, kStoredFieldCount> &fields) {
    for (int f : {field::Try, field::RaDec, field::Type})
        DropEquals(fields[f]);
}

bool IsPositionField(int f) {
    return f == field::RaDec || f == field::Src || f == field::Posn;
}

// Fields whose pieces are added to what the object holds.
bool AlwaysAppends(int f) {
    return f == field::Id || f == field::CheckBoxes || f == field::Info || f == field::In ||
           f == field::Refs || f == field::Url || f == field::Goal || f == field::Obs;
}

// The first characters of a text for a log line, on one line.
std::string Snippet(std::string_view text) {
    std::string out(text.substr(0, kLogSnippet));
    for (char &c : out)
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    return out;
}

// A record's fields as the file lays them out, on one line: the short fields each ended by
// ";", then the long fields with their tags.
std::string RecordLine(const FieldTable &table,
                       const std::array<std::string, kStoredFieldCount> &f) {
    std::string line;
    for (int n = 0; n < kStoredFieldCount; ++n) {
        if (n >= kFirstLongField && f[n].empty())
            continue;
        if (n >= kFirstLongField)
            line += table.Slot(n).tag;
        line += f[n];
        if (n < kFirstLongField)
            line += ';';
    }
    for (char &c : line)
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    return line;
}

class ImportRun {
public:
    ImportRun(CVesparioDoc &doc, const ImportDescription &description)
        : m_doc(doc), m_host(doc.Host()), m_d(description), m_greekSet(doc.GreekSet()) {}

    bool OpenLog(const std::string &path) {
        if (!m_d.log)
            return true;
        m_log.open(path, std::ios::binary | std::ios::trunc);
        if (!m_log.is_open()) {
            Show(m_host, "Cannot create the import log file " + path);
            return false;
        }
        return true;
    }

    // Typed: designations are looked up with the object's Type.
    void Begin(bool typed) {
        m_startCurrent = m_doc.CurrentIndex();
        // Every record must be there to be matched; the rest of a load is split now.
        while (!m_doc.Load().allSplit)
            m_doc.SplitRecordsSlice(platform::TickCount() + 0x3fffffff);
        m_index = std::make_unique<ImportIndex>(m_doc, typed);
        m_host.Progress(kProgressText, 0);
    }
    void Described(std::string_view text);
    void Database(std::string_view text);
    ImportSummary Finish(bool showSummary);

private:
    void Progress(size_t done, size_t total);
    void Log(const std::string &line) {
        if (m_log.is_open())
            m_log << line << '\n';
    }
    bool TakeEmptyId(std::string &id);
    int Match(std::string_view id, std::string_view type, bool checkType);
    void Merge(int r, const ImportRecord &record);
    void Add(ImportRecord &record, bool described);
    void Maintain(int r, const ImportRecord &record);
    void LogPiece(std::string_view mode, char reason, int f, std::string_view old,
                  std::string_view piece, std::string_view final, bool withFinal, int r);
    void LogMaintenance(std::string_view what, int r, int f, std::string_view text);
    void Apply(int r, int f, std::string text);

    CVesparioDoc &m_doc;
    platform::Host &m_host;
    const ImportDescription &m_d;
    int m_greekSet;
    std::unique_ptr<ImportIndex> m_index;
    std::ofstream m_log;
    ImportSummary m_s;
    bool m_idChanged = false;
    int m_shownStep = -1;
    int m_startCurrent = -1;
};

void ImportRun::Progress(size_t done, size_t total) {
    if (total == 0)
        return;
    const int step = static_cast<int>(done * 200 / total); // every 0.5 %
    if (step == m_shownStep)
        return;
    m_shownStep = step;
    m_host.Progress(kProgressText, step / 2);
    m_host.PumpEvents();
}

bool ImportRun::TakeEmptyId(std::string &id) {
    id = kEmptyId;
    return m_host.MessageBox(kEmptyIdMessage, kTitle, platform::Buttons::OkCancel) !=
           platform::Answer::Cancel;
}

int ImportRun::Match(std::string_view id, std::string_view type, bool checkType) {
    int found = -1;
    ForEachDesignation(id, [&](std::string_view designation) {
        const int r = m_index->Find(designation, type);
        if (r < 0)
            return true;
        if (checkType && type != "un" && !type.empty() &&
            m_doc.Record(r).Field(field::Type) != type)
            return true; // the designation belongs to an object of another Type
        found = r;
        return false;
    });
    return found;
}

void ImportRun::LogPiece(std::string_view mode, char reason, int f, std::string_view old,
                         std::string_view piece, std::string_view final, bool withFinal, int r) {
    if (!m_log.is_open())
        return;
    const ObjectRecord &record = m_doc.Record(r);
    std::string line(mode);
    line += reason;
    line += m_doc.Fields().Slot(f).tag;
    line += " OLD=" + Snippet(old) + " IMPORT=" + Snippet(piece);
    if (withFinal)
        line += " FINAL=" + Snippet(final);
    line += " ID=";
    line += record.Field(field::Type);
    line += record.Field(field::Id);
    Log(line);
}

void ImportRun::LogMaintenance(std::string_view what, int r, int f, std::string_view text) {
    if (!m_log.is_open())
        return;
    const ObjectRecord &record = m_doc.Record(r);
    std::string line(what);
    line += record.Field(field::Type);
    line += ';';
    line += record.Field(field::Id);
    line += ' ';
    line += BareTag(m_doc.Fields().Slot(f).tag);
    line += '=';
    for (char c : text)
        line += static_cast<unsigned char>(c) < 32 ? ' ' : c;
    Log(line);
}

void ImportRun::Apply(int r, int f, std::string text) {
    if (m_doc.CurrentIndex() != r)
        m_doc.SetCurrentRecord(r, false, false);
    m_doc.SetFieldText(f, FileForm(m_doc, f, text));
    m_idChanged = m_idChanged || f == field::Id;
}

// When a matched object's RaDec, Src and posn may be replaced: 0, or the reason letter.
char PositionRefusal(const ObjectRecord &object, std::string_view importedRaDec,
                     const ImportDescription &d) {
    const std::string_view src = object.Field(field::Src);
    const bool every = d.replaceSources.find('*') != std::string::npos;
    if (!every && (src.empty() || d.replaceSources.find(src.front()) == std::string::npos))
        return 's';
    if (SeparationArcmin(importedRaDec, object.Field(field::RaDec)) > d.replaceWithinArcmin)
        return 'd';
    if (object.Field(field::RaDec).size() > importedRaDec.size())
        return 'l';
    return 0;
}

void ImportRun::Merge(int r, const ImportRecord &record) {
    m_doc.SetCurrentRecord(r, false, false);
    ++m_s.matched;
    const char refusal = PositionRefusal(m_doc.Record(r), record.fields[field::RaDec], m_d);
    for (int f = 0; f < kStoredFieldCount; ++f) {
        const std::string &imported = record.fields[f];
        if (imported.empty() || m_doc.Record(r).Field(f) == imported)
            continue; // nothing to import, or all of it there already
        std::string stored(m_doc.Record(r).Field(f));
        const bool emptyAtStart = stored.empty();
        MergeField merge(f, stored, imported);
        std::string piece;
        bool applied = false;
        while (merge.Next(piece)) {
            const std::string old = stored;
            std::string_view mode;
            if (emptyAtStart && !IsPositionField(f)) {
                mode = stored.empty() ? "CREATE " : "APPEND ";
            } else if (AlwaysAppends(f)) {
                mode = stored.empty() ? "CREATE " : "APPEND ";
            } else if (IsPositionField(f) && refusal == 0) {
                mode = "REPLACE";
            } else if (f == field::Size && StartsWith(stored, "<") &&
                       LeadingNumber(std::string_view(stored).substr(1)) != 0 &&
                       LeadingNumber(piece) != 0 &&
                       LeadingNumber(piece) < LeadingNumber(std::string_view(stored).substr(1))) {
                mode = "REPLACE";
            }
            if (mode.empty()) {
                ++m_s.rejected;
                LogPiece("REJECT", f == field::RaDec && refusal ? refusal : ' ', f, old, piece, "",
                         false, r);
                continue;
            }
            if (mode == "REPLACE") {
                stored.clear();
                ++m_s.replaced;
            } else if (mode == "CREATE ") {
                ++m_s.created;
            } else {
                ++m_s.appended;
            }
            if (f == field::Id && stored.empty())
                stored = "=";
            if (f == field::Id && stored.back() != '=')
                stored += '=';
            if (!stored.empty() && stored.back() != ' ' && piece.front() != ' ' && f != field::Id &&
                f != field::CheckBoxes)
                stored += ' ';
            stored += piece;
            if (f == field::Url)
                stored += "\r\n";
            merge.StoredChanged(stored);
            applied = true;
            LogPiece(mode, ' ', f, old, piece, stored, true, r);
        }
        if (applied) {
            ++m_s.fieldsImported;
            Apply(r, f, std::move(stored));
        }
    }
}

void ImportRun::Add(ImportRecord &record, bool described) {
    auto &f = record.fields;
    if (described && f[field::Try].empty())
        f[field::Try] = "n";
    if (f[field::RaDec].empty() && !f[field::Posn].empty())
        NormaliseRaDecEntry(f[field::Posn], f[field::RaDec]);
    std::array<std::string_view, kStoredFieldCount> views{};
    for (int n = 0; n < kStoredFieldCount; ++n) {
        if (n >= kFirstLongField && !f[n].empty())
            f[n] = FileForm(m_doc, n, f[n]);
        views[n] = f[n];
        m_s.fieldsImported += f[n].empty() ? 0 : 1;
    }
    // The new object is not matched by later records of this import: the import matches
    // against the database as it was, so a catalogue whose objects share a name (the
    // Antennae are n4038 and n4039) comes in whole.
    m_doc.AppendRecord(views);
    ++m_s.added;
    Log("ADDREC  " + RecordLine(m_doc.Fields(), f));
}

// The text with one occurrence of what removed; false when it holds none.
bool RemoveText(std::string &text, std::string_view what, bool designation) {
    if (what.empty())
        return false;
    if (designation) {
        const std::string key = "=" + std::string(what) + "=";
        const size_t at = Capitals(text).find(Capitals(key));
        if (at == std::string::npos)
            return false;
        text.erase(at + 1, key.size() - 1);
        return true;
    }
    const size_t at = text.find(what);
    if (at == std::string::npos)
        return false;
    text.erase(at, what.size());
    // The blanks on both sides of the removed text become one.
    if (at > 0 && at < text.size() && text[at - 1] == ' ' && text[at] == ' ')
        text.erase(at, 1);
    const std::string_view kept = TrimBlanks(text);
    text = std::string(kept);
    return true;
}

void ImportRun::Maintain(int r, const ImportRecord &record) {
    m_doc.SetCurrentRecord(r, false, false);
    ++m_s.matched;
    int n = 0;
    const std::string_view number = TrimBlanks(record.number);
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
    if (number.empty() || ec != std::errc() || end != number.data() + number.size() ||
        n < -(kStoredFieldCount - 1) || n > kStoredFieldCount - 1) {
        ++m_s.rejected;
        Log("REJECT  field number " + Snippet(number) +
            " is not a stored field ID=" + std::string(m_doc.Record(r).Field(field::Type)) +
            std::string(m_doc.Record(r).Field(field::Id)));
        return;
    }
    const std::string &text = record.text;
    if (n == 0) {
        // The personal fields of the object the text names are copied onto the matched one.
        int other = -1;
        ForEachDesignation(text, [&](std::string_view designation) {
            other = m_index->Find(designation, "un");
            return other < 0;
        });
        if (other < 0 || other == r) {
            ++m_s.rejected;
            Log("REJECT  no other object " + Snippet(text) +
                " ID=" + std::string(m_doc.Record(r).Field(field::Type)) +
                std::string(m_doc.Record(r).Field(field::Id)));
            return;
        }
        m_doc.EnsureParsed(other);
        for (int f : {field::Try, field::SawOn, field::Ease, field::Rate}) {
            const std::string value(m_doc.Record(other).Field(f));
            if (value.empty() || value == m_doc.Record(r).Field(f))
                continue;
            Apply(r, f, value);
            ++m_s.replaced;
            LogMaintenance("Add ", r, f, value);
        }
        for (int f : {field::Refs, field::Url, field::Goal, field::Obs}) {
            const std::string value(m_doc.Record(other).Field(f));
            if (value.empty())
                continue;
            std::string stored(m_doc.Record(r).Field(f));
            if (stored.find(value) != std::string::npos)
                continue;
            if (!stored.empty() && stored.back() != '\n' && stored.back() != ' ' &&
                value.front() != ' ')
                stored += ' ';
            stored += value;
            Apply(r, f, std::move(stored));
            ++m_s.appended;
            LogMaintenance("Add ", r, f, value);
        }
        ++m_s.fieldsImported;
        return;
    }
    const int f = n < 0 ? -n : n;
    std::string stored(m_doc.Record(r).Field(f));
    std::string piece = text;
    if (f < field::Id)
        DropEquals(piece);
    if (f == field::Id) {
        std::string id;
        AppendDesignations(id, text);
        piece = id.size() > 2 ? id.substr(1, id.size() - 2) : std::string(); // one designation
    }
    if (n < 0) {
        if (!RemoveText(stored, piece, f == field::Id))
            return;
        Apply(r, f, std::move(stored));
        ++m_s.replaced;
        ++m_s.fieldsImported;
        LogMaintenance("Del ", r, f, piece);
        return;
    }
    if (piece.empty())
        return;
    if (f == field::Id) {
        if (Capitals(stored).find(Capitals("=" + piece + "=")) != std::string::npos)
            return;
        if (stored.empty())
            stored = "=";
        if (stored.back() != '=')
            stored += '=';
        stored += piece + "=";
    } else {
        if (stored.find(piece) != std::string::npos)
            return;
        if (!stored.empty() && stored.back() != ' ' && piece.front() != ' ')
            stored += ' ';
        stored += piece;
    }
    Apply(r, f, std::move(stored));
    ++m_s.appended;
    ++m_s.fieldsImported;
    LogMaintenance("Add ", r, f, piece);
}

void ImportRun::Described(std::string_view text) {
    const bool maintenance = m_d.kind == ImportKind::Maintenance;
    const size_t count = maintenance ? 4 : m_d.fields.size();
    LineReader skip(text);
    for (int i = 0; i < m_d.skipLines && !skip.AtEnd(); ++i)
        skip.Next();
    DescribedReader reader(text, skip.Pos(),
                           maintenance ? ImportDelimiter::Character : m_d.delimiter,
                           maintenance ? ';' : m_d.delimiterChar, count);
    const int fromSet = m_d.charset == m_greekSet ? -1 : m_d.charset;
    std::vector<std::string> raw;
    bool tooLong = false;
    bool stop = false;
    while (!stop && reader.Next(raw, tooLong)) {
        Progress(reader.Pos(), text.size());
        ++m_s.recordsRead;
        if (tooLong) {
            ++m_s.tooLong;
            char line[96];
            std::snprintf(line, sizeof line,
                          "REJREC  import record %i has a field of more than %zu characters",
                          m_s.recordsRead, kMaxImportField);
            Log(line);
            continue;
        }
        ImportRecord record;
        std::string id;
        bool hasType = false;
        for (size_t i = 0; i < count; ++i) {
            const int f = maintenance ? (i == 0   ? field::Type
                                         : i == 1 ? field::Id
                                                  : -1)
                                      : m_d.fields[i];
            if (maintenance && i >= 2) {
                (i == 2 ? record.number : record.text) =
                    PrepareField(raw[i], field::Info, fromSet, m_greekSet);
                continue;
            }
            if (f < 0 || f >= kStoredFieldCount)
                continue; // "Ignore this field"
            std::string value = PrepareField(raw[i], f, fromSet, m_greekSet);
            if (f == field::Id) {
                AppendDesignations(id, value);
                continue;
            }
            hasType = hasType || f == field::Type;
            if (value.empty())
                continue;
            if (f == field::SawOn && value.back() != '-')
                value += '-';
            std::string &slot = record.fields[f];
            if (!slot.empty())
                slot += ' '; // the same field twice: both texts
            slot += value;
        }
        DropEqualsBeforeId(record.fields);
        if (!record.fields[field::Posn].empty() && record.fields[field::RaDec].empty())
            NormaliseRaDecEntry(record.fields[field::Posn], record.fields[field::RaDec]);
        if (id.empty())
            stop = !TakeEmptyId(id);
        record.fields[field::Id] = id;
        const int r =
            Match(id, hasType ? std::string_view(record.fields[field::Type]) : "un", false);
        if (r < 0) {
            if (!maintenance && m_d.addNew) {
                Add(record, true);
            } else {
                ++m_s.unmatched;
                Log("NOMATCH " + RecordLine(m_doc.Fields(), record.fields) +
                    (maintenance ? record.number + ";" + record.text + ";" : std::string()));
            }
            continue;
        }
        if (maintenance)
            Maintain(r, record);
        else
            Merge(r, record);
    }
}

void ImportRun::Database(std::string_view text) {
    // The records are read by the database reader itself, into a document of their own.
    CVesparioDoc scratch(m_host, m_doc.Profile());
    std::istringstream in{std::string(text)};
    scratch.ReadDatabase(in);
    scratch.LoadCompletely();
    const int count = scratch.GetRecordCount();
    for (int i = 0; i < count; ++i) {
        Progress(static_cast<size_t>(i), static_cast<size_t>(count));
        ++m_s.recordsRead;
        ImportRecord record;
        for (int n = 0; n < kStoredFieldCount; ++n)
            record.fields[n].assign(scratch.Record(i).Field(n));
        DropEqualsBeforeId(record.fields);
        bool stop = false;
        if (record.fields[field::Id].empty())
            stop = !TakeEmptyId(record.fields[field::Id]);
        const int r = Match(record.fields[field::Id], record.fields[field::Type], true);
        if (r < 0)
            Add(record, false);
        else
            Merge(r, record);
        if (stop)
            break;
    }
}

ImportSummary ImportRun::Finish(bool showSummary) {
    m_doc.SetCurrentRecord(-1, false, false); // commit the last record changed
    if (m_startCurrent >= 0 && m_startCurrent < m_doc.GetRecordCount())
        m_doc.SetCurrentRecord(m_startCurrent, false, true);
    m_host.EndProgress();
    m_doc.Views().ShowRecordCount(m_doc.GetRecordCount());
    m_doc.SetModified(true);
    if (m_idChanged)
        RebuildNameIndex(m_doc, false);
    char text[640];
    m_s.databaseSummary = m_d.kind == ImportKind::Database || m_s.added > 0;
    if (m_s.databaseSummary) {
        std::snprintf(text, sizeof text,
                      "Database Import Summary\r\n   %i import records read\r\n   %i objects added "
                      "to database\r\n   %i import records matched an object in the database\r\n"
                      "   %i fields were imported into\r\n",
                      m_s.recordsRead, m_s.added, m_s.matched, m_s.fieldsImported);
    } else {
        std::snprintf(text, sizeof text,
                      "Import Update Summary\r\n   %i import records read\r\n   %i records matched "
                      "no object in database\r\n   %i import records matched an object in the "
                      "database\r\n   %i fields in existing objects were imported into\r\n"
                      "  Create=%i\r\n  Replace=%i\r\n  Append=%i\r\n  Reject=%i\r\n",
                      m_s.recordsRead, m_s.unmatched, m_s.matched, m_s.fieldsImported, m_s.created,
                      m_s.replaced, m_s.appended, m_s.rejected);
    }
    m_s.text = text;
    if (m_log.is_open()) {
        std::string plain = m_s.text;
        plain.erase(std::remove(plain.begin(), plain.end(), '\r'), plain.end());
        m_log << plain;
        m_log.close();
    }
    if (m_s.tooLong > 0) {
        char line[200];
        std::snprintf(line, sizeof line,
                      "%i import record(s) had a field of more than %zu characters and were not "
                      "imported.",
                      m_s.tooLong, kMaxImportField);
        Show(m_host, line);
    }
    if (showSummary)
        Show(m_host, m_s.text);
    return m_s;
}

std::string LowerExtension(const std::string &path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), LowerAscii);
    return ext;
}

// The "="-ended fields of a header line after its mark; false when the line ends first.
bool HeaderFields(std::string_view line, size_t count, std::vector<std::string_view> &out) {
    out.clear();
    size_t pos = 0;
    while (out.size() < count) {
        const size_t eq = line.find('=', pos);
        if (eq == std::string_view::npos)
            return false;
        out.push_back(line.substr(pos, eq - pos));
        pos = eq + 1;
    }
    return true;
}

bool ReadHeaderNumber(std::string_view text, int &value) {
    text = TrimBlanks(text);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// ";VesparioUpd=" version "=" delimiter "=" count "=" and count field numbers each ended by
// "="; the delimiter is one character, "tab" or "eol". The records start on the next line.
bool PresetUpdate(std::string_view text, ImportDescription &d, std::string &error) {
    const std::string_view line = LineReader(text.substr(kUpdateMark.size())).Next();
    std::vector<std::string_view> head;
    int count = 0;
    if (!HeaderFields(line, 3, head) || !ReadHeaderNumber(head[2], count) || count < 1 ||
        count > kMaxHeaderFields || head[1].empty()) {
        error = "The header of this update file is damaged: it must give a version, the field "
                "delimiter and the number of import fields, each ended by \"=\".";
        return false;
    }
    std::vector<std::string_view> all;
    if (!HeaderFields(line, 3 + static_cast<size_t>(count), all)) {
        error = "The header of this update file is damaged: it announces " + std::to_string(count) +
                " import fields but does not list them all.";
        return false;
    }
    d.fields.clear();
    for (int i = 0; i < count; ++i) {
        int n = -1;
        if (!ReadHeaderNumber(all[3 + static_cast<size_t>(i)], n) || n < 0 || n > kIgnoreField) {
            error = "The header of this update file names the field \"" +
                    std::string(all[3 + static_cast<size_t>(i)]) + "\", which cannot be imported.";
            return false;
        }
        d.fields.push_back(n);
    }
    if (head[1] == "tab") {
        d.delimiter = ImportDelimiter::Tab;
    } else if (head[1] == "eol") {
        d.delimiter = ImportDelimiter::EndOfLine;
    } else {
        d.delimiter = ImportDelimiter::Character;
        d.delimiterChar = head[1].front();
    }
    d.skipLines = 1;
    d.kind = ImportKind::Described;
    d.fromHeader = true;
    return true;
}

} // namespace

// ===== MergeField ===========================================================================

namespace {

enum class PieceKind { Whole, Designations, Characters, Words, Sentences, UrlEntries };

PieceKind PieceKindOf(int f) {
    switch (f) {
    case field::Id:
        return PieceKind::Designations;
    case field::CheckBoxes:
        return PieceKind::Characters;
    case field::In:
    case field::Rv:
    case field::Pc:
    case field::Z:
        return PieceKind::Words;
    case field::Info:
    case field::Goal:
    case field::Obs:
    case field::Refs:
        return PieceKind::Sentences;
    case field::Url:
        return PieceKind::UrlEntries;
    default:
        return PieceKind::Whole;
    }
}

// Line ends as single blanks: the record form keeps observations, goals and urls on lines of
// their own, an import text has them on one line.
std::string LinesAsBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
        if (c == ' ' && !out.empty() && out.back() == ' ')
            continue;
        out += c;
    }
    return out;
}

} // namespace

MergeField::MergeField(int field, std::string_view stored, std::string_view imported)
    : m_field(field) {
    StoredChanged(stored);
    const PieceKind kind = PieceKindOf(field);
    if (kind == PieceKind::Sentences || kind == PieceKind::UrlEntries || kind == PieceKind::Words)
        m_text = LinesAsBlanks(imported);
    else
        m_text.assign(imported);
    if (field == field::Refs)
        m_text.erase(std::remove(m_text.begin(), m_text.end(), '^'), m_text.end());
    // A text the field already holds whole has no new piece: one search instead of many.
    if (kind != PieceKind::Designations && kind != PieceKind::Characters &&
        Contains(TrimBlanks(m_text)))
        m_pos = m_text.size();
}

void MergeField::StoredChanged(std::string_view stored) {
    const PieceKind kind = PieceKindOf(m_field);
    if (kind == PieceKind::Designations)
        m_stored = Capitals(stored);
    else if (kind == PieceKind::Sentences || kind == PieceKind::UrlEntries)
        m_stored = LinesAsBlanks(stored);
    else
        m_stored.assign(stored);
}

bool MergeField::Contains(std::string_view piece) const {
    if (PieceKindOf(m_field) == PieceKind::Designations)
        return m_stored.find("=" + Capitals(piece)) != std::string::npos;
    return m_stored.find(piece) != std::string::npos;
}

bool MergeField::NextRaw(std::string &piece) {
    const std::string_view text = m_text;
    const PieceKind kind = PieceKindOf(m_field);
    while (m_pos < text.size()) {
        size_t end = text.size();
        size_t next = text.size();
        switch (kind) {
        case PieceKind::Whole:
            break;
        case PieceKind::Designations:
            end = text.find('=', m_pos);
            end = end == std::string_view::npos ? text.size() : end;
            next = end + 1;
            break;
        case PieceKind::Characters:
            end = next = m_pos + 1;
            break;
        case PieceKind::Words:
            end = text.find(' ', m_pos);
            end = end == std::string_view::npos ? text.size() : end;
            next = end + 1;
            break;
        case PieceKind::Sentences: {
            const size_t stop = std::min(text.find(". ", m_pos), text.find("? ", m_pos));
            if (stop != std::string_view::npos)
                end = stop + 1, next = stop + 2;
            break;
        }
        case PieceKind::UrlEntries: {
            const size_t brace = text.find('{', m_pos + 1);
            if (brace != std::string_view::npos)
                end = next = brace;
            break;
        }
        }
        std::string_view raw = text.substr(m_pos, end - m_pos);
        m_pos = std::min(next, text.size());
        raw = kind == PieceKind::Whole ? raw : TrimBlanks(raw);
        if (kind == PieceKind::Designations) {
            if (raw.empty())
                continue;
            piece.assign(raw);
            piece += '=';
            return true;
        }
        if (raw.empty())
            continue;
        piece.assign(raw);
        return true;
    }
    return false;
}

bool MergeField::Next(std::string &piece) {
    while (NextRaw(piece)) {
        if (!Contains(piece))
            return true;
    }
    return false;
}

// ===== the entry points =====================================================================

std::string ImportLogPath(const std::string &importPath) {
    const size_t slash = importPath.rfind('/');
    const size_t dot = importPath.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return importPath + ".LOG";
    return importPath.substr(0, dot) + ".LOG";
}

bool ReadImportFile(const std::string &path, platform::Host &host, ImportText &out) {
    out = ImportText{};
    const auto size = platform::FileSize(path);
    if (size && *size > 0x7fff0000ULL) {
        Show(host, "Cannot obtain memory to read import file");
        return false;
    }
    std::string error;
    std::optional<std::string> data;
    try {
        data = platform::ReadWholeFile(path, &error);
    } catch (const std::bad_alloc &) {
        Show(host, "Cannot obtain memory to read import file");
        return false;
    }
    if (!data) {
        Show(host, "Cannot read the import file: " + error);
        return false;
    }
    out.logPath = ImportLogPath(path);
    const std::string ext = LowerExtension(path);
    if (ext == "csv") {
        CsvText csv = ConvertCsv(*data);
        out.text = std::move(csv.text);
        out.unclosedQuoteLine = csv.unclosedQuoteLine;
        out.csv = true;
        return true;
    }
    out.exportFile = ext == "exp" && HasExportStructure(*data);
    out.text = std::move(*data);
    return true;
}

ImportText ClipboardImportText(std::string_view clipboard, const std::string &folder) {
    ImportText out;
    out.text.assign(clipboard);
    out.logPath = folder.empty() ? "import.log" : folder + "/import.log";
    return out;
}

bool PresetDescription(const ImportText &text, ImportDescription &d, std::string &error) {
    error.clear();
    const std::string_view t = text.text;
    d.fromHeader = false;
    if (text.exportFile) {
        d.kind = ImportKind::Described;
        d.fields = {field::Id, static_cast<int>(d.exportField)};
        d.delimiter = ImportDelimiter::Character;
        d.delimiterChar = ';';
        d.skipLines = 0;
        return true;
    }
    if (StartsWith(t, kDatabaseMark)) {
        d.kind = ImportKind::Database;
        return true;
    }
    if (StartsWith(t, kMaintenanceMark)) {
        std::vector<std::string_view> head;
        if (!HeaderFields(LineReader(t.substr(kMaintenanceMark.size())).Next(), 3, head)) {
            error = "The header of this maintenance file is damaged: it must hold three fields, "
                    "each ended by \"=\".";
            return false;
        }
        d.kind = ImportKind::Maintenance;
        d.fields = {field::Type, field::Id};
        d.delimiter = ImportDelimiter::Character;
        d.delimiterChar = ';';
        d.skipLines = 1;
        d.fromHeader = true;
        return true;
    }
    if (StartsWith(t, kUpdateMark))
        return PresetUpdate(t, d, error);
    d.kind = ImportKind::Described;
    if (text.csv) {
        d.delimiter = ImportDelimiter::Character;
        d.delimiterChar = ',';
    }
    return true;
}

std::string CheckDescription(const ImportDescription &d) {
    if (d.kind != ImportKind::Described)
        return "";
    for (int f : d.fields) {
        if (f < 0 || f > kIgnoreField)
            return "Field " + std::to_string(f) + " cannot be imported.";
    }
    if (std::find(d.fields.begin(), d.fields.end(), field::Id) == d.fields.end())
        return "The ID field MUST be defined in the import records in order for import records "
               "to be matched to database objects";
    return "";
}

bool AskImportIntoChangedDatabase(CVesparioDoc &doc) {
    if (!doc.IsModified() && !doc.CurrentChanged())
        return true;
    return doc.Host().MessageBox(
               "Imports are not undoable.\r\n\r\nYour database has been changed but not saved."
               "\r\nI suggest you save your database before importing so you can quit without "
               "saving if you don't like the results.\r\n\r\nWould you like to import now anyway ?",
               kTitle, platform::Buttons::YesNo) == platform::Answer::Yes;
}

ImportSummary ImportData(CVesparioDoc &doc, const ImportText &text,
                         const ImportDescription &description, bool showSummary,
                         const std::string &dataFolder) {
    platform::Host &host = doc.Host();
    const std::string problem = CheckDescription(description);
    if (!problem.empty()) {
        Show(host, problem);
        ImportSummary refused;
        refused.stopped = true;
        return refused;
    }
    if (text.unclosedQuoteLine > 0)
        Show(host, "The quoted field that opens on line " + std::to_string(text.unclosedQuoteLine) +
                       " of the CSV file never closes; the records from that line on are not "
                       "imported.");
    std::string exported;
    ImportDescription d = description;
    std::string_view body = text.text;
    if (text.exportFile) {
        if (!ConvertExportFile(text.text, description, dataFolder, host, exported)) {
            ImportSummary refused;
            refused.stopped = true;
            return refused;
        }
        d.fields = {field::Id, static_cast<int>(description.exportField)};
        d.delimiter = ImportDelimiter::Character;
        d.delimiterChar = ';';
        d.skipLines = 0;
        body = exported;
    }
    ImportRun run(doc, d);
    run.OpenLog(text.logPath);
    const bool typed = d.kind != ImportKind::Described ||
                       std::find(d.fields.begin(), d.fields.end(), field::Type) != d.fields.end();
    run.Begin(typed);
    if (d.kind == ImportKind::Database)
        run.Database(body);
    else
        run.Described(body);
    return run.Finish(showSummary);
}

} // namespace vespario
