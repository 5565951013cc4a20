#pragma once
// What the maintenance tools share: the walk over every record with its progress text, and
// the change of a field through the current record, so that the document and the record are
// marked changed exactly when a text changes.

#include "db/cvespariodoc.h"

#include "platform/headlesshost.h"

#include <memory>
#include <string>
#include <string_view>

namespace vespario {

// A long field's text as saving and reading the file give it back: the reader rebuilds the
// line structure of url, refs, obs and goal and shrinks runs of blanks, so a tool that wants
// its result to be what the file holds passes it through the real writer and reader once.
class FileForm {
public:
    explicit FileForm(CVesparioDoc &doc);
    std::string Of(int field, std::string_view text);

private:
    platform::HeadlessHost m_quiet;
    CVesparioDoc m_scratch;
};

class RecordWalk {
public:
    static constexpr int kProgressEvery = 256; // records between progress texts

    // Commits the current record's edits and remembers which record was current.
    RecordWalk(CVesparioDoc &doc, std::string_view progressText);
    // Makes the remembered record current again, its views reloaded, and ends the progress.
    ~RecordWalk();
    RecordWalk(const RecordWalk &) = delete;
    RecordWalk &operator=(const RecordWalk &) = delete;

    void Step(int index);
    // Sets field of the record to text (a long field in its file form) through the current
    // record; false when it held that text already.
    bool SetField(int index, int field, std::string_view text);
    int Changed() const { return m_changed; }

private:
    CVesparioDoc &m_doc;
    std::string m_text;
    int m_current = -1;
    int m_changed = 0;
    int m_lastChanged = -1;
    std::unique_ptr<FileForm> m_fileForm;
};

// A Yes/No message box titled "Vespario"; true for Yes.
bool AskYesNo(CVesparioDoc &doc, std::string_view question);

} // namespace vespario
