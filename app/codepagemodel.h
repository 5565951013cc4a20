#pragma once
// The logic of a code page of the Settings sheet (types, checkboxes, try values, equipment,
// books, magazines; sources and places build on it), without widgets: the page binds its
// list box to Rows() and Selected(), its two edit boxes to CodeText() and MeaningText(), and
// its buttons to Insert() and Delete().
//
// A row is the vocabulary entry as the list box shows it: code, a tab, meaning (books keep
// their ";"). Each row carries a loaded flag, set for the rows the page opened with: their
// codes may be in the database, so on most pages they can only be re-described.

#include "platform/host.h"
#include "settings/appsettings.h"

#include <string>
#include <string_view>
#include <vector>

namespace vespario {

struct PageRow {
    std::string text;
    bool loaded = false;
};

struct CodePageTraits {
    Vocabulary vocabulary = Vocabulary::Types;
    int codeWidth = 1;          // 2 for types, 1 for most, 0: an abbreviation (books)
    size_t codeBoxLimit = 1;    // characters the code box accepts; 0 for any number
    char rowSeparator = '\t';   // between code and meaning in a row: a tab, or ";"
    char storedSeparator = '='; // between them in the stored entry
    std::string_view emptyMeaning = "undefined"; // what an empty meaning becomes
    bool lockLoadedCodes = true;                 // the code box is disabled for loaded rows
    std::string_view newRow;                     // the row that Insert puts in
    std::string_view deleteQuestion;
    std::string_view duplicateMessage; // its %s is the duplicate code
};

inline constexpr std::string_view kMessageTitle = "Vespario";

class CodePageModel {
public:
    CodePageModel(const CodePageTraits &traits, platform::Host &host);
    virtual ~CodePageModel() = default;
    CodePageModel(const CodePageModel &) = delete;
    CodePageModel &operator=(const CodePageModel &) = delete;

    // Opens the page on the vocabulary: one loaded row per entry, nothing selected.
    virtual void Load(const AppSettings &settings);

    const std::vector<PageRow> &Rows() const { return m_rows; }
    int Selected() const { return m_selected; }
    // Selects a row (-1: none) and copies its code and meaning into the edit boxes.
    void Select(int row);

    const std::string &CodeText() const { return m_codeText; }
    const std::string &MeaningText() const { return m_meaningText; }
    // The edit boxes' texts reaching the page. While a row is selected each rewrites it:
    // the code padded with "X" to its width and cut to it, an empty meaning replaced, the
    // row built again; it stays selected and keeps its loaded flag. The code box takes at
    // most its limit of characters and nothing while it is disabled.
    void SetCodeText(std::string_view text);
    void SetMeaningText(std::string_view text);

    bool DeleteEnabled() const;
    bool CodeEnabled() const;
    bool MeaningEnabled() const { return m_selected >= 0; }

    // Puts the page's new row in front of the selected row, or at the end, and selects it
    // (the page then puts the focus into the code box with its text selected). A full list
    // refuses with a message and returns false.
    bool Insert();
    // Asks the page's question and removes the selected row on Yes; afterwards no row is
    // selected. False when nothing was removed.
    bool Delete();

    // Apply, first step: the codes must be unique. The rows are walked in order; the first
    // code that occurred before shows the page's duplicate message and gives false.
    bool CheckCodes();
    // OK: the rows, with their separators restored, replace the vocabulary whole.
    virtual void Store(AppSettings &settings);

    const CodePageTraits &Traits() const { return m_traits; }
    // The code a row carries for the duplicate check (empty: not checked).
    virtual std::string CodeOfRow(std::string_view row) const;

protected:
    virtual std::string RowFromEntry(const std::string &entry, const AppSettings &settings) const;
    virtual std::string EntryFromRow(const std::string &row) const;
    // Fills the edit boxes from a row being selected, and empties them when none is.
    virtual void FillEditBoxes(const std::string &row);
    virtual void ClearEditBoxes();
    // The selected row built again from the edit boxes.
    virtual std::string RowFromEditBoxes() const;
    virtual std::string NewRow() const { return std::string(m_traits.newRow); }
    virtual bool CanDelete(int row) const;
    // True when Delete may go on (after the question); a page may refuse with a message.
    virtual bool ConfirmDelete();
    // Called after a row was removed at index row.
    virtual void AfterDelete(int row);
    // Called after a row was inserted at index row.
    virtual void AfterInsert(int row) { (void)row; }
    // Rewrites the selected row from the edit boxes.
    void RewriteSelected();
    // The code of the code box as it is stored: padded with "X" and cut to its width.
    std::string StoredCode() const;
    // The meaning box's text as stored: an empty one replaced.
    std::string StoredMeaning() const;
    bool RefuseWhenFull();

    platform::Host &m_host;
    std::vector<PageRow> m_rows;
    int m_selected = -1;
    std::string m_codeText;
    std::string m_meaningText;

private:
    CodePageTraits m_traits;
};

// Characters a one-line row field cannot hold (tab, CR, LF) become blanks.
std::string CleanFieldText(std::string_view text, std::string_view alsoRemove = {});

// The pages that need nothing beyond the base.
CodePageTraits TypePageTraits();
CodePageTraits CheckboxPageTraits();
CodePageTraits TryPageTraits();
CodePageTraits EquipmentPageTraits();
CodePageTraits BookPageTraits();
CodePageTraits MagazinePageTraits();

} // namespace vespario
