// Parsing one record of the prepared load buffer into its fields: the twelve short fields by
// position, the long fields by their tags, the line structure of four of them, and the Greek
// words of those that hold them. Every byte of a loaded file passes through here once, so
// a field is copied only where it changes; the record then takes all fields in one copy.

#include "db/cvespariodoc.h"

#include "db/greek.h"
#include "db/loadbuffer.h"
#include "platform/clock.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vespario {

namespace loadbuffer {

std::array<std::string, kStoredFieldCount> &ParseScratch() {
    thread_local std::array<std::string, kStoredFieldCount> scratch;
    return scratch;
}

void ReleaseLargeScratch() {
    constexpr size_t kScratchKeep = 1 << 20; // larger work texts are given back
    for (std::string &s : ParseScratch()) {
        if (s.capacity() > kScratchKeep) {
            s.clear();
            s.shrink_to_fit();
        }
    }
}

} // namespace loadbuffer

namespace {

using namespace loadbuffer;

constexpr int kParsesPerClockCheck = 16; // records parsed between looks at the clock

// The Greek set of the slice being parsed, read from the profile once per slice rather than
// once per record; -1 outside a slice.
thread_local int t_sliceGreekSet = -1;

class SliceGreekSet {
public:
    explicit SliceGreekSet(int greekSet) : m_saved(t_sliceGreekSet) { t_sliceGreekSet = greekSet; }
    ~SliceGreekSet() { t_sliceGreekSet = m_saved; }
    SliceGreekSet(const SliceGreekSet &) = delete;
    SliceGreekSet &operator=(const SliceGreekSet &) = delete;

private:
    int m_saved;
};

// Starts a new line before the next character: the blank before it becomes CR LF,
// otherwise CR LF is inserted.
void BreakLine(std::string &out) {
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    out += "\r\n";
}

// Each c at an offset of 1 or more starts a new line; then CR LF closes the text.
void LinesBefore(std::string_view text, char c, std::string &out) {
    out.clear();
    out.reserve(text.size() + 16);
    size_t copied = 0;
    for (size_t at = text.find(c, 1); at != std::string_view::npos; at = text.find(c, at + 1)) {
        out.append(text.substr(copied, at - copied));
        BreakLine(out);
        copied = at;
    }
    out.append(text.substr(copied));
    out += "\r\n";
}

// A goal line ends at the sentence end before a ")-" (a reference to a chart or a book).
void GoalLines(std::string_view text, std::string &out) {
    out.clear();
    out.reserve(text.size() + 16);
    size_t copied = 0;
    size_t sentenceEnd = std::string_view::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && i > 0 && (text[i - 1] == '.' || text[i - 1] == '?'))
            sentenceEnd = i + 1;
        if (text[i] == ')' && i + 1 < text.size() && text[i + 1] == '-' &&
            sentenceEnd != std::string_view::npos) {
            out.append(text.substr(copied, sentenceEnd - copied));
            out += "\r\n";
            copied = sentenceEnd;
            sentenceEnd = std::string_view::npos;
        }
    }
    out.append(text.substr(copied));
    out += "\r\n";
}

// Each observation header after the first starts a new line. Returns the headers found.
// Only where a header starts matters, so the search does not look for its shortest match.
uint32_t ObservationLines(std::string_view text, Pattern &header, std::string &out) {
    out.clear();
    out.reserve(text.size() + 16);
    uint32_t found = 0;
    size_t copied = 0;
    for (int at = header.SearchStart(text, 0); at >= 0;) {
        const size_t pos = static_cast<size_t>(at);
        ++found;
        if (pos > 0) {
            out.append(text.substr(copied, pos - copied));
            BreakLine(out);
            copied = pos;
        }
        const size_t next = pos + kObsHeaderLength;
        if (next >= text.size())
            break;
        at = header.SearchStart(text, static_cast<int>(next));
    }
    out.append(text.substr(copied));
    out += "\r\n";
    return found;
}

// Where the parts of one record's text are in the load buffer.
struct RecordTexts {
    std::array<std::string_view, kStoredFieldCount> fields{};
    std::array<bool, kStoredFieldCount> present{};
    std::vector<std::string_view> duplicates; // long-field texts whose tag came again
    bool unterminated = false;                // a field ran into the record's end
    bool endsAtRecordEnd = false;
};

// Steps past the field that ends at e: true when it ended with its own terminator.
bool StepPastField(const char *&p, const char *e) {
    p = e;
    if (*e != kFieldEnd)
        return false;
    ++p;
    return true;
}

// The long field that a text names by its tag; a text without a tag is the obs field.
int LongFieldOf(const FieldTable &table, std::string_view whole, std::string_view &value) {
    for (int n = kFirstLongField; n < kStoredFieldCount; ++n) {
        const std::string_view tag = table.Slot(n).tag;
        // Every tag is a blank and a word: the word's first letter rules out most at once.
        if (whole.size() > 1 && tag.size() > 1 && whole[1] != tag[1])
            continue;
        if (whole.substr(0, tag.size()) == tag) {
            value = whole.substr(tag.size());
            return n;
        }
    }
    value = whole;
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    return field::Obs;
}

// The field at p, as FieldAt finds it, looked for sixteen bytes at a time while the bytes
// lie before limit (the end of the load buffer; nothing is read beyond it).
std::string_view FieldBefore(const char *p, const char *limit) {
    const char *q = p;
#if defined(__SSE2__)
    const __m128i lastControl = _mm_set1_epi8(31);
    for (; limit - q >= 16; q += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(q));
        const unsigned structure = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(x, lastControl), x)));
        if (structure != 0)
            return std::string_view(p, static_cast<size_t>(q - p) + __builtin_ctz(structure));
    }
#else
    (void)limit;
#endif
    return std::string_view(p, static_cast<size_t>(q - p) + FieldAt(q).size());
}

// Finds the twelve short fields by position and the long fields by their tags.
RecordTexts SplitFields(const FieldTable &table, const char *text, const char *limit) {
    RecordTexts parts;
    const char *p = text;
    for (int n = 0; n < kFirstLongField && !parts.unterminated; ++n) {
        parts.fields[n] = FieldBefore(p, limit);
        parts.unterminated = !StepPastField(p, p + parts.fields[n].size());
    }
    while (!parts.unterminated && static_cast<unsigned char>(*p) > 31) {
        const std::string_view whole = FieldBefore(p, limit);
        std::string_view value;
        const int slot = LongFieldOf(table, whole, value);
        if (parts.present[slot])
            parts.duplicates.push_back(whole);
        parts.present[slot] = true;
        parts.fields[slot] = value; // the later text wins
        parts.unterminated = !StepPastField(p, whole.data() + whole.size());
    }
    parts.endsAtRecordEnd = !parts.unterminated && *p == kRecordEnd;
    return parts;
}

// Field n with its Greek words turned into characters. The text stays where it is (in the
// load buffer or in the field's work text) unless a word converts.
std::string_view Converted(int n, std::string_view text, int greekSet,
                           std::array<std::string, kStoredFieldCount> &scratch) {
    thread_local std::string converted;
    std::string &work = scratch[static_cast<size_t>(n)];
    if (!ConvertWordsToGreek(text, greekSet, converted))
        return text;
    work.swap(converted);
    return work;
}

// During a normal load the ID was stored, converted, when the record was split; while a
// record is re-read it is taken from the text like every other field.
void FinishShortFields(std::array<std::string_view, kStoredFieldCount> &fields,
                       std::string_view splitId, bool rereading, int greekSet,
                       std::array<std::string, kStoredFieldCount> &scratch) {
    std::string_view &id = fields[field::Id];
    if (!rereading && !id.empty() && id.front() == '=') {
        scratch[field::Id].assign(splitId);
        id = scratch[field::Id];
    } else if (!rereading) {
        id = Converted(field::Id, id, greekSet, scratch);
    }
    for (int n = 0; n < kFirstLongField; ++n) {
        if (n != field::Id && FileHoldsGreekWords(n))
            fields[n] = Converted(n, fields[n], greekSet, scratch);
    }
}

} // namespace

namespace loadbuffer {

uint32_t FinishLongField(int n, std::string_view text, Pattern &header, std::string &out) {
    out.clear();
    if (text.empty())
        return 0;
    switch (n) {
    case field::Goal:
        GoalLines(text, out);
        return 0;
    case field::Obs:
        return ObservationLines(text, header, out);
    case field::Url:
        LinesBefore(text, '{', out);
        return 0;
    case field::Refs:
        LinesBefore(text, '^', out);
        return 0;
    default:
        out.assign(text);
        return 0;
    }
}

} // namespace loadbuffer

namespace {

// Rebuilds the line structure of the long fields; returns the observations found.
uint32_t FinishLongFields(std::array<std::string_view, kStoredFieldCount> &fields, Pattern &header,
                          int greekSet, std::array<std::string, kStoredFieldCount> &scratch) {
    uint32_t observations = 0;
    for (int n = kFirstLongField; n < kStoredFieldCount; ++n) {
        std::string_view text = fields[n];
        if (text.empty())
            continue;
        std::string &work = scratch[static_cast<size_t>(n)];
        if (n == field::Goal || n == field::Obs || n == field::Url || n == field::Refs) {
            observations += FinishLongField(n, text, header, work);
            text = work;
        }
        fields[n] = Converted(n, text, greekSet, scratch);
    }
    return observations;
}

} // namespace

void CVesparioDoc::ParseRecordsSlice(uint32_t deadlineTicks) {
    if (m_load.allParsed)
        return;
    const SliceGreekSet sliceSet(GreekSet());
    // Parsing one record takes about a microsecond: ask the clock now and then. The first
    // record of a slice always asks, so a deadline already past lets one through.
    int parsedNow = 0;
    while (m_load.recordsParsed < GetRecordCount()) {
        EnsureParsed(m_load.recordsParsed++);
        if (++parsedNow % kParsesPerClockCheck == 1 &&
            platform::TickReached(platform::TickCount(), deadlineTicks))
            return;
    }
    ReleaseLargeScratch();
    if (m_load.allSplit)
        FinishParsing();
}

void CVesparioDoc::ParseRecordText(ObjectRecord &record, const char *text) {
    // A text in the load buffer may be scanned in blocks up to the buffer's end.
    const char *buffer = m_load.buffer.get();
    const bool inBuffer = buffer && text >= buffer && text < buffer + m_load.bufferSize;
    RecordTexts parts = SplitFields(m_fields, text, inBuffer ? buffer + m_load.bufferSize : text);
    for (std::string_view whole : parts.duplicates)
        ShowMessage(MessageWithText("Duplicated field at ", whole));
    if (!parts.endsAtRecordEnd)
        ShowMessage(MessageWithText("Unterminated field or record. pSav=", FieldAt(text)));

    const int greekSet = t_sliceGreekSet >= 0 ? t_sliceGreekSet : GreekSet();
    auto &scratch = ParseScratch();
    FinishShortFields(parts.fields, record.Field(field::Id), m_rereading, greekSet, scratch);
    m_load.observationsCounted += FinishLongFields(parts.fields, m_obsHeader, greekSet, scratch);
    record.SetAllFields(parts.fields);
}

} // namespace vespario
