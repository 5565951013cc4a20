// The database file: writing it and saving it. The text is produced record by record into
// one block that is handed on whenever it fills, so that a save holds about a block beside
// the records however large the database is; the header's counters are known only at the
// end and are written last, over the zeros the header was written with.

#include "db/cvespariodoc.h"

#include "db/greek.h"
#include "db/loadbuffer.h"
#include "platform/files.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

#include <sys/stat.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vespario {

// Where the text of the file goes.
class DatabaseOutput {
public:
    virtual ~DatabaseOutput() = default;
    // Hands the block on; false once the output failed.
    virtual bool Put(std::string_view block) = 0;
    // Writes text over bytes already put, at offset from the file's start.
    virtual bool PutAt(uint64_t offset, std::string_view text) = 0;
    virtual bool Finish() = 0;
};

namespace {

constexpr size_t kCounterOffset = 14;  // first header counter field
constexpr size_t kCounterWidth = 32;   // "%10u=%10u=%10u"
constexpr size_t kBlockSize = 1 << 20; // text produced before it is handed on
constexpr size_t kBlockRoom = kBlockSize + (64 << 10);
constexpr size_t kMaxSearchLength = 0x7ffffffe; // offsets of a pattern search are int

// A stream that can seek gets the blocks as they fill and the counters at the end. One
// that cannot (a pipe) gets the whole file at once, its counters filled in first.
class StreamOutput final : public DatabaseOutput {
public:
    explicit StreamOutput(std::ostream &out) : m_out(out), m_start(out.tellp()) {}

    bool Put(std::string_view block) override {
        if (!Seekable()) {
            m_whole.append(block);
            return true;
        }
        m_out.write(block.data(), static_cast<std::streamsize>(block.size()));
        return static_cast<bool>(m_out);
    }
    bool PutAt(uint64_t offset, std::string_view text) override {
        if (!Seekable()) {
            if (offset + text.size() <= m_whole.size())
                std::memcpy(m_whole.data() + offset, text.data(), text.size());
            return true;
        }
        const std::ostream::pos_type end = m_out.tellp();
        m_out.seekp(m_start + static_cast<std::streamoff>(offset));
        m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
        m_out.seekp(end);
        return static_cast<bool>(m_out);
    }
    bool Finish() override {
        if (!Seekable())
            m_out.write(m_whole.data(), static_cast<std::streamsize>(m_whole.size()));
        m_out.flush();
        return static_cast<bool>(m_out);
    }

private:
    bool Seekable() const { return m_start != std::ostream::pos_type(-1); }

    std::ostream &m_out;
    const std::ostream::pos_type m_start;
    std::string m_whole;
};

// A string stream that is still empty gets one text sized once from the records, moved in
// whole at the end: the stream's own growth would copy the file again and again.
class MemoryOutput final : public DatabaseOutput {
public:
    MemoryOutput(std::ostringstream &out, size_t expectedLength) : m_out(out) {
        m_text.reserve(expectedLength);
    }
    bool Put(std::string_view block) override {
        m_text.append(block);
        return true;
    }
    bool PutAt(uint64_t offset, std::string_view text) override {
        std::memcpy(m_text.data() + offset, text.data(), text.size());
        return true;
    }
    bool Finish() override {
        m_out.str(std::move(m_text));
        m_out.seekp(0, std::ios::end);
        return static_cast<bool>(m_out);
    }

private:
    std::ostringstream &m_out;
    std::string m_text;
};

class ReplacementOutput final : public DatabaseOutput {
public:
    explicit ReplacementOutput(platform::FileReplacement &file) : m_file(file) {}
    bool Put(std::string_view block) override { return m_file.Append(block); }
    bool PutAt(uint64_t offset, std::string_view text) override {
        return m_file.WriteAt(offset, text);
    }
    bool Finish() override { return true; } // the commit flushes and syncs

private:
    platform::FileReplacement &m_file;
};

// The bytes the writer must look at rather than copy: the three it escapes and the line
// ends in every field; a long field's wrapping also stops at blanks.
enum WriteStop : unsigned char { kEscapeStop = 1, kLineStop = 2, kBlankStop = 4 };

constexpr std::array<unsigned char, 256> MakeStops() {
    std::array<unsigned char, 256> stops{};
    stops['\\'] = stops['_'] = stops[';'] = kEscapeStop;
    stops['\n'] = stops['\r'] = kLineStop;
    stops[' '] = kBlankStop;
    return stops;
}

constexpr std::array<unsigned char, 256> kStops = MakeStops();

// The first i in [from, to) whose byte is one of mask, or to. Sixteen bytes at a time where
// SSE2 is there: the runs between stops are a line long or more.
size_t NextStop(std::string_view text, size_t from, size_t to, unsigned char mask) {
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text.data());
#if defined(__SSE2__)
    const __m128i backslash = _mm_set1_epi8('\\'), underscore = _mm_set1_epi8('_');
    const __m128i semicolon = _mm_set1_epi8(';'), lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i blank = _mm_set1_epi8((mask & kBlankStop) ? ' ' : '\\');
    for (; from + 16 <= to; from += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + from));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, backslash), _mm_cmpeq_epi8(x, underscore)),
                         _mm_or_si128(_mm_cmpeq_epi8(x, semicolon), _mm_cmpeq_epi8(x, lf))),
            _mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, blank)));
        const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit));
        if (bits)
            return from + static_cast<size_t>(__builtin_ctz(bits));
    }
#endif
    while (from < to && !(kStops[p[from]] & mask))
        ++from;
    return from;
}

// True when text holds a byte of 0xB0 or above (a Greek letter or the degree sign).
bool HasGreekBytes(std::string_view text) {
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text.data());
    size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        if (_mm_movemask_epi8(x) != 0) // a byte above 127: look closer
            break;
    }
#endif
    for (; i < text.size(); ++i) {
        if (p[i] >= 0xb0)
            return true;
    }
    return false;
}

// Appends c with the file's escapes; next is the character after it (0 at the end).
void AppendEncoded(std::string &out, char c, bool last, char next) {
    if (c == '\\' || c == '_' || c == ';')
        out += '\\';
    out += c;
    if (c == '\n' && !last && next != ' ')
        out += ' ';
}

void PutEncoded(std::string &out, std::string_view text, size_t k) {
    const bool last = k + 1 == text.size();
    AppendEncoded(out, text[k], last, last ? '\0' : text[k + 1]);
}

// The text as it goes to the file: Greek characters as their words.
std::string_view FileText(std::string_view text, int greekSet, std::string &work) {
    if (!HasGreekBytes(text))
        return text;
    work.clear();
    AppendGreekAsWords(work, text, greekSet);
    return work;
}

// The runs between the bytes that need an escape are copied whole.
void AppendShortField(std::string &out, std::string_view text) {
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const size_t stop = NextStop(text, i, n, kEscapeStop | kLineStop);
        out.append(text.substr(i, stop - i));
        if (stop == n)
            break;
        PutEncoded(out, text, stop);
        i = stop + 1;
    }
}

// A long field's text wrapped at the record width: once the width is reached the line runs
// on to the next blank and breaks before it. A line end of the text itself ends the line.
// Runs of plain bytes are copied whole; the column counts the characters of the text.
void AppendWrapped(std::string &out, std::string_view text, size_t column, size_t width) {
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        while (i < n && column < width) {
            const size_t limit = std::min(n, i + (width - column));
            const size_t stop = NextStop(text, i, limit, kEscapeStop | kLineStop);
            out.append(text.substr(i, stop - i));
            column += stop - i;
            i = stop;
            if (i == limit)
                break;
            PutEncoded(out, text, i);
            if (text[i] == '\r' || text[i] == '\n')
                column = text[i] == '\n' && i + 1 < n && text[i + 1] != ' ' ? 1 : 0;
            else
                ++column;
            ++i;
        }
        for (;;) { // on to the next blank or line end
            const size_t stop = NextStop(text, i, n, kEscapeStop | kLineStop | kBlankStop);
            out.append(text.substr(i, stop - i));
            i = stop;
            if (i == n || !(kStops[static_cast<unsigned char>(text[i])] & kEscapeStop))
                break;
            PutEncoded(out, text, i++);
        }
        if (i >= n)
            break;
        if (text[i] == '\r' || text[i] == '\n') {
            column = 0; // the text's own line end follows
            continue;
        }
        out += "\r\n";
        column = 0; // the blank that follows starts the next line
    }
}

void AppendHeader(std::string &out) {
    char header[96];
    std::snprintf(header, sizeof header,
                  ";Vespario=%3i=0000000000=0000000000=0000000000=%c=%c=%c=\r\n", 2, '_', ';', ';');
    out += header;
}

bool PutCounters(DatabaseOutput &out, uint64_t length, uint32_t records, uint32_t observations) {
    if (length < kCounterOffset + kCounterWidth)
        return true;
    char counters[48];
    const auto shownLength = static_cast<unsigned>(std::min<uint64_t>(length, 0xffffffffu));
    std::snprintf(counters, sizeof counters, "%10u=%10u=%10u", records, shownLength, observations);
    return out.PutAt(kCounterOffset, std::string_view(counters, kCounterWidth));
}

// True when saving to path would replace the file that other names (where there is no file
// at path, nothing would be replaced).
bool WouldReplace(const std::string &path, const std::string &other) {
    struct stat a {};
    struct stat b {};
    if (::stat(path.c_str(), &a) != 0)
        return false;
    if (::stat(other.c_str(), &b) != 0)
        return path == other;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

bool CVesparioDoc::WriteDatabase(std::ostream &out) {
    auto *memory = dynamic_cast<std::ostringstream *>(&out);
    if (memory && memory->tellp() == 0) {
        MemoryOutput output(*memory, ExpectedFileLength());
        return WriteFile(output);
    }
    StreamOutput output(out);
    return WriteFile(output);
}

// About the file's length, without a pass over the records: the loaded text (escapes and
// line breaks removed) with room for them, or a typical record length where it was released.
size_t CVesparioDoc::ExpectedFileLength() const {
    const size_t loaded = m_load.bufferSize + m_load.bufferSize / 8;
    return std::max(loaded, m_records.size() * 256) + 4096;
}

bool CVesparioDoc::WriteFile(DatabaseOutput &out) {
    m_host.Progress("Saving File", 0);
    m_load.version = 2;
    m_load.recordStart = '_';
    m_load.shortEnd = ';';
    m_load.longEnd = ';';
    m_observationsWritten = 0;
    const int width = std::max(1, m_profile.GetInt("File", "RecordWidth", 70));
    m_writeGreekSet = GreekSet(); // a profile look-up: once per file, not per record

    std::string block;
    block.reserve(kBlockRoom);
    AppendHeader(block);
    uint64_t length = 0;
    uint32_t written = 0;
    int shownPercent = -1;
    bool ok = true;
    const int count = GetRecordCount();
    for (int i = 0; i < count && ok; ++i) {
        ObjectRecord &record = Record(i);
        if (record.m_deleted || (m_savingOnly && !RecordIsSelected(record)))
            continue;
        const int percent = static_cast<int>(int64_t{written} * 100 / count);
        if (percent != shownPercent) {
            m_host.Progress("Saving File", percent);
            m_host.PumpEvents();
            shownPercent = percent;
        }
        EnsureParsed(i);
        WriteRecord(block, record, width);
        ++written;
        if (block.size() >= kBlockSize) {
            ok = out.Put(block);
            length += block.size();
            block.clear();
        }
    }
    if (ok && !block.empty()) {
        ok = out.Put(block);
        length += block.size();
    }
    ok = ok && PutCounters(out, length, written, m_observationsWritten) && out.Finish();
    m_host.EndProgress();
    return ok;
}

void CVesparioDoc::WriteRecord(std::string &out, ObjectRecord &record, int recordWidth) {
    const int greekSet = m_writeGreekSet;
    std::string &work = m_writeScratch;
    out += '_';
    for (int n = 0; n < kFirstLongField; ++n) {
        const int set = loadbuffer::FileHoldsGreekWords(n) ? greekSet : kGreekPlain;
        AppendShortField(out, FileText(record.Field(n), set, work));
        out += ';';
    }
    out += "\r\n";
    for (int n = kFirstLongField; n < kStoredFieldCount; ++n) {
        const std::string_view text = record.Field(n);
        if (text.empty())
            continue;
        if (n == field::Obs)
            m_observationsWritten += static_cast<uint32_t>(CountObservations(text));
        const std::string_view tag = m_fields.Slot(n).tag;
        out.append(tag);
        AppendWrapped(out, FileText(text, greekSet, work), tag.size(),
                      static_cast<size_t>(recordWidth));
        out += ";\r\n";
    }
}

bool CVesparioDoc::RecordIsSelected(const ObjectRecord &record) const {
    const int position = record.m_listPosition;
    if (position < 0 || static_cast<size_t>(position) >= m_savingOnly->size())
        return false;
    const int index = (*m_savingOnly)[static_cast<size_t>(position)];
    return index >= 0 && index < GetRecordCount() &&
           m_records[static_cast<size_t>(index)].get() == &record;
}

// Only where each header starts counts, so each is found by an anchored attempt at the
// positions that can start one: the same headers a search finds, without the search's
// further work on where the match ends.
int CVesparioDoc::CountObservations(std::string_view obs) {
    const int n = static_cast<int>(std::min<size_t>(obs.size(), kMaxSearchLength));
    const bool nonEmpty = m_obsHeader.EmptyMatchFlag() == 0;
    int found = 0;
    for (int p = 0; p < n;) {
        const unsigned char c = static_cast<unsigned char>(obs[static_cast<size_t>(p)]);
        if ((!nonEmpty || m_obsHeader.CanStartWith(c)) &&
            m_obsHeader.MatchAt(obs.data(), n, p, n) >= 0) {
            ++found;
            p += static_cast<int>(loadbuffer::kObsHeaderLength);
        } else {
            ++p;
        }
    }
    return found;
}

// The new file takes the old one's place only once it is complete and on disk (see
// platform::FileReplacement); with "NumBackupLevels" on, the old file becomes the backup.
bool CVesparioDoc::SaveDatabase(const std::string &path) {
    m_saveError.clear();
    m_views->CommitEdits();
    SetCurrentRecord(-1, false, true);
    // An empty document left by a failed load must not replace the file it came from.
    if (!m_loadFailure.empty() && (m_loadedPath.empty() || WouldReplace(path, m_loadedPath))) {
        m_saveError = "not saved over " + path + ", which did not load: " + m_loadFailure;
        return false;
    }
    platform::FileReplacement file;
    if (!file.Begin(path)) {
        m_saveError = file.Error();
        return false;
    }
    ReplacementOutput output(file);
    const bool keepBackup = m_profile.GetInt("Settings", "NumBackupLevels", 1) != 0;
    if (!WriteFile(output) || !file.Commit(keepBackup)) {
        m_saveError = file.Error().empty() ? "cannot write " + path : file.Error();
        return false;
    }
    return true;
}

} // namespace vespario
