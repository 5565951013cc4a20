// The database file: reading it into one buffer, splitting that buffer into
// records in time slices, and parsing each record's fields on first use.

#include "db/cvespariodoc.h"

#include "db/greek.h"
#include "db/loadbuffer.h"
#include "platform/clock.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <istream>
#include <limits>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vespario {
namespace {

using namespace loadbuffer;

constexpr size_t kMaxFileLength = 0x7fff0000; // offsets and counts are 32-bit signed
constexpr uint32_t kFarTicks = 0x3fffffff;    // a deadline that a complete load never meets
constexpr int kSplitsPerClockCheck = 32;      // records split between looks at the clock

std::string MessageWithNumber(const char *format, long long number) {
    char text[160];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

// The first "=" of the record at p (the ID), or the record's end.
char *FindIdStart(char *p) {
    while (*p != '=' && *p != kRecordEnd && *p != kBufferEnd)
        ++p;
    return p;
}

// Number of records (record ends) from p up to the buffer end mark. The preparation pass
// leaves no buffer end mark anywhere but at the very end.
size_t RecordsAhead(const char *p, const char *bufferEnd) {
    const char *end = static_cast<const char *>(std::memchr(p, kBufferEnd, bufferEnd - p));
    size_t count = 0;
    for (const char *q = p; end && q < end; ++count) {
        q = static_cast<const char *>(std::memchr(q, kRecordEnd, end - q));
        if (!q)
            break;
        ++q;
    }
    return count;
}

// --- header ------------------------------------------------------------------------------

// True when the text [from, length) ends as every complete record does: with a field
// terminator that no backslash escapes. What loading drops anyway (line ends and other
// control bytes, a backslash that escapes nothing) may follow it.
bool EndsAsRecordEnds(const char *buf, size_t from, size_t length, char shortEnd, char longEnd) {
    size_t end = length;
    while (end > from && (static_cast<unsigned char>(buf[end - 1]) < 32 || buf[end - 1] == '\\'))
        --end;
    if (end == from || (buf[end - 1] != shortEnd && buf[end - 1] != longEnd))
        return false;
    size_t backslashes = 0;
    while (end - 1 - backslashes > from && buf[end - 2 - backslashes] == '\\')
        ++backslashes;
    return backslashes % 2 == 0;
}

// Reads the "="-ended fields of a header without ever passing the file's end.
class HeaderFields {
public:
    HeaderFields(const char *text, size_t length, size_t pos)
        : m_text(text), m_length(length), m_pos(pos) {}

    // The next field without its "="; false when no "=" follows before the end.
    bool Next(std::string_view &field) {
        const void *eq =
            m_pos < m_length ? std::memchr(m_text + m_pos, '=', m_length - m_pos) : nullptr;
        if (!eq)
            return false;
        const size_t end = static_cast<size_t>(static_cast<const char *>(eq) - m_text);
        field = std::string_view(m_text + m_pos, end - m_pos);
        m_pos = end + 1;
        return true;
    }
    // The first character of the next field (its "=" when the field is empty).
    bool NextChar(char &c) {
        std::string_view field;
        if (!Next(field))
            return false;
        c = field.empty() ? '=' : field.front();
        return true;
    }
    size_t Pos() const { return m_pos; }

private:
    const char *m_text;
    size_t m_length;
    size_t m_pos;
};

// Decimal number with leading blanks, as "%i" and "%10u" wrote it; stops at the first
// non-digit and saturates instead of overflowing.
long long HeaderNumber(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+'))
        negative = field[i++] == '-';
    long long value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (field[i] - '0'), 0xffffffffLL);
    return negative ? -value : value;
}

uint32_t HeaderCount(std::string_view field) {
    return static_cast<uint32_t>(std::max<long long>(0, HeaderNumber(field)));
}

// --- preparation -------------------------------------------------------------------------

struct Delimiters {
    char recordStart;
    char shortEnd;
    char longEnd;
};

// Rewrites buf[from, length) in place to the start of buf: delimiters become field and record
// ends, escapes are resolved, control bytes dropped and runs of blanks shrink to one. The
// last record is closed and the buffer end written. The output never outgrows the input
// plus four bytes.
struct Prepared {
    size_t length; // bytes of the prepared text, end marks included
    size_t records;
};

// What the preparation pass does with a byte; looked up per byte because this pass touches
// every byte of the file and branches on comparisons cost more than the copy itself.
enum ByteClass : unsigned char {
    kCopyByte,
    kEscapeByte,
    kFieldEndByte,
    kRecordEndByte,
    kBlankByte,
    kDropByte
};

struct ByteClasses {
    std::array<unsigned char, 256> plain{};   // an escaped byte: never a delimiter
    std::array<unsigned char, 256> special{}; // a byte as it stands
};

ByteClasses ClassesFor(const Delimiters &d) {
    ByteClasses classes;
    for (int c = 0; c < 32; ++c)
        classes.plain[c] = kDropByte;
    classes.plain[' '] = kBlankByte;
    classes.special = classes.plain;
    classes.special[static_cast<unsigned char>(d.recordStart)] = kRecordEndByte;
    classes.special[static_cast<unsigned char>(d.shortEnd)] = kFieldEndByte;
    classes.special[static_cast<unsigned char>(d.longEnd)] = kFieldEndByte;
    classes.special['\\'] = kEscapeByte;
    return classes;
}

// Most bytes are copied as they are and the delimiters only change their value; what moves
// the text (line ends and other control bytes, escapes, a blank after a blank) comes once a
// line or so. So the text is taken sixteen bytes at a time where SSE2 is there: each block
// is copied with its delimiters translated, up to the first byte that moves the text.
class BlockScan {
public:
    static constexpr size_t kBlock = 16;

    explicit BlockScan(const Delimiters &d)
#if defined(__SSE2__)
        : m_recordStart(_mm_set1_epi8(d.recordStart)), m_shortEnd(_mm_set1_epi8(d.shortEnd)),
          m_longEnd(_mm_set1_epi8(d.longEnd)), m_backslash(_mm_set1_epi8('\\')),
          m_blank(_mm_set1_epi8(' ')), m_lastControl(_mm_set1_epi8(31)),
          m_recordEnd(_mm_set1_epi8(kRecordEnd))
#endif
    {
        (void)d;
    }

    // Translates the block at buf + r into buf + w (w <= r): the number of bytes taken, up
    // to kBlock, and the record ends among them added to records. 0 where the first byte
    // needs the byte-by-byte path.
    size_t Take(char *buf, size_t w, size_t r, size_t &records) const {
#if defined(__SSE2__)
        static_assert(kFieldEnd == 0, "field ends are cleared bytes");
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(buf + r));
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(x, m_lastControl), x);
        const unsigned blanks =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, m_blank)));
        unsigned moving = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(control, _mm_cmpeq_epi8(x, m_backslash))));
        moving |= blanks & (blanks << 1); // the second blank of a pair
        if (w > 0 && buf[w - 1] == ' ')
            moving |= blanks & 1u;
        const size_t taken = moving == 0 ? kBlock : static_cast<size_t>(__builtin_ctz(moving));
        if (taken == 0)
            return 0;
        const __m128i isRecord = _mm_cmpeq_epi8(x, m_recordStart);
        const __m128i isEnd = _mm_or_si128(
            isRecord, _mm_or_si128(_mm_cmpeq_epi8(x, m_shortEnd), _mm_cmpeq_epi8(x, m_longEnd)));
        const __m128i out =
            _mm_or_si128(_mm_andnot_si128(isEnd, x), _mm_and_si128(isRecord, m_recordEnd));
        const unsigned takenBits = taken == kBlock ? 0xffffu : (1u << taken) - 1u;
        // Records are a few hundred bytes long: clearing bits beats a popcount call.
        for (unsigned ends = static_cast<unsigned>(_mm_movemask_epi8(isRecord)) & takenBits; ends;
             ends &= ends - 1)
            ++records;
        // The whole block may go over the output: it was loaded before the store, and where
        // only a part is taken the store must not reach input that is still unread.
        if (taken == kBlock || r - w >= kBlock) {
            _mm_storeu_si128(reinterpret_cast<__m128i *>(buf + w), out);
        } else {
            alignas(16) char part[kBlock];
            _mm_store_si128(reinterpret_cast<__m128i *>(part), out);
            std::memcpy(buf + w, part, taken);
        }
        return taken;
#else
        (void)buf, (void)w, (void)r, (void)records;
        return 0;
#endif
    }

private:
#if defined(__SSE2__)
    __m128i m_recordStart, m_shortEnd, m_longEnd, m_backslash, m_blank, m_lastControl, m_recordEnd;
#endif
};

Prepared PrepareInPlace(char *buf, size_t from, size_t length, const Delimiters &d) {
    const ByteClasses classes = ClassesFor(d);
    const BlockScan scan(d);
    size_t w = 0;
    size_t records = 0;
    size_t r = from;
    while (r < length) {
        if (r + BlockScan::kBlock <= length) {
            const size_t taken = scan.Take(buf, w, r, records);
            w += taken;
            r += taken;
            if (taken == BlockScan::kBlock)
                continue;
        }
        // Byte by byte up to the next plain byte: the bytes that move the text, and the last
        // bytes of the buffer (or all of them without SSE2).
        do {
            unsigned char c = static_cast<unsigned char>(buf[r]);
            unsigned char k = classes.special[c];
            if (k == kEscapeByte) {
                if (r + 1 == length) {
                    ++r;
                    break; // a backslash at the very end escapes nothing
                }
                c = static_cast<unsigned char>(buf[++r]);
                k = classes.plain[c];
            }
            ++r;
            switch (k) {
            case kFieldEndByte:
                buf[w++] = kFieldEnd;
                break;
            case kRecordEndByte:
                buf[w++] = kRecordEnd;
                ++records;
                break;
            case kBlankByte:
                // Escaped or not: the writer never escapes a blank, so runs shrink either way.
                if (w == 0 || buf[w - 1] != ' ')
                    buf[w++] = ' ';
                break;
            case kDropByte:
                break; // line ends, tabs; escaped, a structure byte would break the layout
            default:
                buf[w++] = static_cast<char>(c);
                break;
            }
        } while (r < length && (r + BlockScan::kBlock > length ||
                                classes.special[static_cast<unsigned char>(buf[r])] != kCopyByte));
    }
    if (from <= length) {
        buf[w++] = kRecordEnd; // the record start that the reader put behind the file
        ++records;
    }
    buf[w++] = kBufferEnd;
    buf[w++] = kRecordEnd;
    buf[w++] = kBufferEnd;
    return {w, records};
}

} // namespace

// ===== reading ============================================================================

namespace {

size_t g_readLimitForTesting = 0;

size_t ReadLimit() {
    return g_readLimitForTesting ? g_readLimitForTesting : kMaxFileLength;
}

} // namespace

void CVesparioDoc::SetReadLimitForTesting(size_t bytes) {
    g_readLimitForTesting = bytes;
}

bool CVesparioDoc::ReadDatabaseFile(const std::string &path) {
    // A folder opens as a stream on some systems and then reads as nothing at all.
    struct stat st {};
    const int code = ::stat(path.c_str(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
    std::ifstream in;
    if (code == 0)
        in.open(path, std::ios::binary);
    if (!in.is_open()) {
        EmptyDocument();
        m_loadFailure = "cannot read " + path + ": " + std::strerror(code ? code : errno);
        m_loadedPath = path;
        return false;
    }
    ReadDatabase(in);
    m_loadedPath = path;
    return true;
}

namespace {

// The stream's bytes from its start: the length first where the stream can seek, so that
// the file arrives with one request into one block. expected is the length the stream
// announced (or what arrived when it cannot tell).
struct ReadResult {
    LoadBuffer buffer;
    size_t length = 0;   // bytes that arrived
    size_t expected = 0; // the file's length
    bool noMemory = false;
};

LoadBuffer Allocate(size_t length) {
    if (length > ReadLimit())
        return nullptr;
    return LoadBuffer(static_cast<char *>(std::malloc(length + 4)));
}

// A pipe: what comes is gathered in one block that doubles as it fills, up to the largest
// file a load accepts; an endless producer is cut off there, not after all it sends.
void ReadUnseekable(std::istream &in, ReadResult &result) {
    size_t capacity = std::min<size_t>(1 << 16, ReadLimit());
    result.buffer = Allocate(capacity);
    while (result.buffer) {
        in.read(result.buffer.get() + result.length,
                static_cast<std::streamsize>(capacity - result.length));
        result.length += static_cast<size_t>(std::max<std::streamsize>(0, in.gcount()));
        if (result.length < capacity)
            break;
        if (capacity >= ReadLimit()) {
            if (in.peek() != std::istream::traits_type::eof())
                result.buffer.reset(); // more than a database may hold is coming
            break;
        }
        const size_t grown = std::min(capacity * 2, ReadLimit());
        char *bigger = static_cast<char *>(std::realloc(result.buffer.get(), grown + 4));
        if (!bigger) {
            result.buffer.reset();
            break;
        }
        (void)result.buffer.release();
        result.buffer.reset(bigger);
        capacity = grown;
    }
    result.expected = result.length;
    result.noMemory = !result.buffer;
}

ReadResult ReadStream(std::istream &in) {
    ReadResult result;
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.fail() ? -1 : static_cast<std::streamoff>(in.tellg());
    in.clear();
    if (end >= 0) {
        in.seekg(0, std::ios::beg);
        result.expected = static_cast<size_t>(end);
        result.buffer = Allocate(result.expected);
        if (!result.buffer) {
            result.noMemory = true;
            return result;
        }
        in.read(result.buffer.get(), static_cast<std::streamsize>(result.expected));
        result.length = static_cast<size_t>(std::max<std::streamsize>(0, in.gcount()));
    } else {
        ReadUnseekable(in, result);
    }
    return result;
}

} // namespace

void CVesparioDoc::ReadDatabase(std::istream &in) {
    EmptyDocument();
    ReadResult read = ReadStream(in);
    if (read.noMemory) {
        m_loadFailure = "Cannot obtain memory to read file";
        ShowMessage(m_loadFailure);
        m_load.allSplit = m_load.allParsed = true;
        return;
    }
    m_load = LoadState{};
    m_load.buffer = std::move(read.buffer);
    m_load.bufferSize = read.length + 4; // what arrived, with room for the end marks
    if (read.length < read.expected) {
        // What arrived can be used, but saving it over the file would lose the rest.
        ShowMessage("Warning: Not all of the file was read");
        m_loadFailure = "Warning: Not all of the file was read";
    }
    const size_t length = read.length;
    m_load.buffer[length] = '_';
    m_load.buffer[length + 1] = '\0';
    if (!ReadHeader(length)) {
        m_loadFailure = "This is not a Vespario file. Search for 'file format' in help.";
        ShowMessage(m_loadFailure);
        const LoadState defaults;
        m_load.version = defaults.version;
        m_load.expectedObjects = m_load.expectedObservations = 0;
        m_load.readPos = length + 1; // an empty text: no records
    } else if (m_load.expectedObjects == 0 && m_load.readPos <= length &&
               !EndsAsRecordEnds(m_load.buffer.get(), m_load.readPos, length, m_load.shortEnd,
                                 m_load.longEnd)) {
        // Without the header's counters a file cut short would otherwise pass unnoticed.
        ShowMessage("Warning: The file's last record is incomplete; the file may have been "
                    "cut short.");
    }
    PrepareBuffer();
    m_load.observationsCounted = 0;
    m_load.readPos = 0;
}

bool CVesparioDoc::ReadHeader(size_t length) {
    const char *buf = m_load.buffer.get();
    // A text editor may put a UTF-8 byte order mark in front; it is no part of the file.
    const size_t start = length >= 3 && std::memcmp(buf, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    // buf[length] is "_": an empty file is an empty version 0 database.
    if (buf[start] == '_') {
        m_load.version = 0;
        m_load.recordStart = '_';
        m_load.shortEnd = ',';
        m_load.longEnd = '%';
        m_load.greekTextForm = 0;
        m_load.readPos = start + 1;
        return true;
    }
    if (buf[start] != ';')
        return false;
    HeaderFields fields(buf, length, start + 1);
    std::string_view name, version;
    if (!fields.Next(name) || name != "Vespario" || !fields.Next(version))
        return false;
    const long long number = HeaderNumber(version);
    if (number <= 0)
        return false;
    m_load.version = static_cast<int>(std::min<long long>(number, 999));
    if (m_load.version > 1) {
        std::string_view objects, storedLength, observations;
        if (!fields.Next(objects) || !fields.Next(storedLength) || !fields.Next(observations))
            return false;
        m_load.expectedObjects = HeaderCount(objects);
        m_load.expectedObservations = HeaderCount(observations);
        if (length < HeaderCount(storedLength))
            ShowMessage("Warning: File is shorter than it was when last saved.");
    }
    std::string_view skipped;
    if (!fields.NextChar(m_load.recordStart) || !fields.NextChar(m_load.shortEnd) ||
        !fields.NextChar(m_load.longEnd) || (m_load.version == 1 && !fields.Next(skipped)))
        return false;
    m_load.greekTextForm = 2;
    size_t pos = fields.Pos();
    while (pos < length && (buf[pos] == '\r' || buf[pos] == '\n' || buf[pos] == 0x1a))
        ++pos;
    m_load.readPos = pos + 1; // the first record's start character
    return true;
}

void CVesparioDoc::PrepareBuffer() {
    char *buf = m_load.buffer.get();
    const size_t length = m_load.bufferSize - 4;
    const Delimiters delimiters{m_load.recordStart, m_load.shortEnd, m_load.longEnd};
    const Prepared prepared = PrepareInPlace(buf, m_load.readPos, length, delimiters);
    const size_t records = prepared.records;
    // The line ends and escapes are gone: give their room back while nothing points in.
    // Shrinking in place (a large block is given back by whole pages) needs no copy.
    if (prepared.length < m_load.bufferSize) {
        if (char *smaller = static_cast<char *>(std::realloc(buf, prepared.length))) {
            (void)m_load.buffer.release();
            m_load.buffer.reset(smaller);
            m_load.bufferSize = prepared.length;
        }
    }

    // Room for the records: the header's count or one growth step, but never more than the
    // buffer really holds, whatever a damaged header claims.
    const bool counted = m_load.version > 1 && m_load.expectedObjects > 0;
    const size_t step =
        counted ? m_load.expectedObjects
                : static_cast<size_t>(std::max(1, m_profile.GetInt("FileRead", "NumRecs", 40000)));
    m_records.reserve(std::min(step, records));
}

void CVesparioDoc::SplitRecordsSlice(uint32_t deadlineTicks) {
    if (m_load.allSplit)
        return;
    if (!m_load.buffer) {
        FinishSplitting();
        return;
    }
    const int greekSet = GreekSet();
    char *buf = m_load.buffer.get();
    int splitNow = 0;
    while (buf[m_load.readPos] != kBufferEnd) {
        if (m_records.size() == m_records.capacity()) {
            // The rest at once: growing by small steps would copy the array again and again.
            m_records.reserve(m_records.size() +
                              RecordsAhead(buf + m_load.readPos, buf + m_load.bufferSize));
        }
        auto record = std::make_unique<ObjectRecord>();
        char *start = buf + m_load.readPos;
        record->m_rawText = start;
        record->m_identity = m_nextIdentity++;
        char *p = FindIdStart(start);
        if (*p == '=') {
            std::string &id = ParseScratch()[field::Id]; // reused: no allocation per record
            id.assign(FieldAt(p));
            GreekWordsToChars(id, greekSet);
            record->SetField(field::Id, id);
            AppendIndexEntry(id, record->m_identity);
        } else {
            ShowMessage(
                MessageWithNumber("Missing ID Field in record %lld", m_load.recordsSplit + 1LL));
        }
        m_records.push_back(std::move(record));
        ++m_load.recordsSplit;
        const void *end = std::memchr(p, kRecordEnd, buf + m_load.bufferSize - p);
        m_load.readPos = static_cast<size_t>(static_cast<const char *>(end) - buf) + 1;
        // Splitting one record takes well under a microsecond: ask the clock now and then.
        // The first record of a slice always asks, so a deadline already past lets one through.
        if (++splitNow % kSplitsPerClockCheck == 1 &&
            platform::TickReached(platform::TickCount(), deadlineTicks)) {
            m_views->ShowRecordCount(GetRecordCount());
            return;
        }
    }
    FinishSplitting();
}

void CVesparioDoc::FinishSplitting() {
    m_load.allSplit = true;
    m_views->ShowRecordCount(GetRecordCount());
    m_records.shrink_to_fit();
    m_nameIndex.shrink_to_fit();
    const long long missing = static_cast<long long>(m_load.expectedObjects) - m_load.recordsSplit;
    if (missing > 0)
        ShowMessage(MessageWithNumber(
            "Warning: File contains %lld less object(s) than it had when last saved.", missing));
}

void CVesparioDoc::FinishParsing() {
    m_load.allParsed = true;
    const long long missing = static_cast<long long>(m_load.expectedObservations) -
                              static_cast<long long>(m_load.observationsCounted);
    if (missing > 0)
        ShowMessage(MessageWithNumber(
            "Warning: File contains %lld less observation(s) than it had when last saved.",
            missing));
    if (!m_profile.GetInt("Settings", "LowMemory", 0))
        return;
    m_load.buffer.reset();
    m_load.bufferSize = 0;
    m_load.readPos = 0;
    for (auto &record : m_records)
        record->m_rawText = nullptr;
}

void CVesparioDoc::LoadCompletely() {
    while (!m_load.allSplit)
        SplitRecordsSlice(platform::TickCount() + kFarTicks);
    while (!m_load.allParsed)
        ParseRecordsSlice(platform::TickCount() + kFarTicks);
}

} // namespace vespario
