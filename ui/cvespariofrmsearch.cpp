// The main frame's Search and Replace: the Edit menu entry, the walk over the object list,
// where the cursor stands when a search starts, and the found match selected in its view.

#include "ui/cvespariofrm.h"

#include "select/objectlist.h"
#include "ui/ceditvw.h"
#include "ui/cvespariovw.h"
#include "ui/cvespariovwid.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTextCursor>

namespace vespario::ui {

void CVesparioFrm::BuildSearchEntry(QMenu *menu) {
    menu->addSeparator();
    AddAction(menu, "EditFindReplace", QStringLiteral("&Find and Replace..."),
              QKeySequence(Qt::CTRL | Qt::Key_F),
              QStringLiteral("Search and replace text in the selected objects"),
              [this] { OpenSearch(); });
}

void CVesparioFrm::OpenSearch() {
    if (!m_search) {
        SearchHooks hooks;
        hooks.walk = [this] { return EnsureSearchWalk(); };
        hooks.cursor = [this] { return SearchCursorNow(); };
        hooks.started = [this] {
            m_busy = true;
            // Replace All changes a record's ID or position many times: the views wait.
            m_doc->SetViews(nullptr);
        };
        hooks.ended = [this](bool replaced) {
            m_doc->SetViews(this);
            m_busy = false;
            if (replaced || m_searchShown != m_doc->CurrentIndex())
                ReloadViews();
            m_listView->SyncControls();
            WakeIdle();
        };
        hooks.showMatch = [this] { ShowSearchMatch(); };
        m_search =
            new SearchDialog(std::move(hooks), m_doc->GreekSet(), m_app.Settings().Profile(), this);
        connect(m_search, &SearchDialog::HelpAsked, this, &CVesparioFrm::ShowHelp);
    }
    m_searchShown = m_doc->CurrentIndex();
    m_search->show();
    m_search->raise();
    m_search->activateWindow();
    m_search->FindBox()->setFocus(Qt::OtherFocusReason);
    m_search->FindBox()->lineEdit()->selectAll();
}

// The walk over the list of the open document: made again, with the histories and choices
// of the one before, when a file has been opened since.
SearchWalk *CVesparioFrm::EnsureSearchWalk() {
    ObjectList *engine = m_listView->Engine();
    if (!engine)
        return nullptr;
    if (m_searchWalk && m_searchEngine == engine)
        return m_searchWalk.get();
    auto walk = std::make_unique<SearchWalk>(*m_doc, *engine);
    if (m_searchWalk) {
        walk->FindHistory() = m_searchWalk->FindHistory();
        walk->ReplaceHistory() = m_searchWalk->ReplaceHistory();
    }
    m_searchWalk = std::move(walk);
    m_searchEngine = engine;
    return m_searchWalk.get();
}

// Commits the record's edits; then the field the cursor stood in when the window was last
// active (its focus widget), and the start of its selection as a byte offset of the field.
SearchCursor CVesparioFrm::SearchCursorNow() {
    CommitEdits();
    m_searchShown = m_doc->CurrentIndex();
    const ObjectRecord *record = m_doc->CurrentRecord();
    const QWidget *focus = focusWidget();
    if (!record || !focus)
        return {};
    for (CEditVw *view : m_texts) {
        if (view != focus)
            continue;
        const int shown = view->textCursor().selectionStart();
        return {view->FieldNo(), ByteOffset(record->Field(view->FieldNo()), shown)};
    }
    for (const LookInEntry &entry : kLookIn) {
        const QLineEdit *edit = entry.fieldNo >= 0 ? m_form->StoredEdit(entry.fieldNo) : nullptr;
        if (!edit || edit != focus)
            continue;
        const int shown = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        return {entry.fieldNo, ByteOffset(record->Field(entry.fieldNo), shown)};
    }
    return {};
}

// The match in the view of its field: the focus goes there (the window's focus widget, while
// the dialog stays active) and the matched characters are selected and scrolled into view.
void CVesparioFrm::ShowSearchMatch() {
    if (!m_searchWalk)
        return;
    const SearchMatch &match = m_searchWalk->Match();
    const ObjectRecord *record = m_doc->CurrentRecord();
    if (!record || m_doc->CurrentIndex() != match.record)
        return;
    m_searchShown = match.record;
    const std::string_view text = record->Field(match.fieldNo);
    const int from = ShownOffset(text, match.start);
    const int to = ShownOffset(text, match.end);
    if (QLineEdit *edit = m_form->StoredEdit(match.fieldNo)) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->setSelection(from, to - from);
        return;
    }
    for (CEditVw *view : m_texts) {
        if (view->FieldNo() != match.fieldNo)
            continue;
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        view->setFocus(Qt::OtherFocusReason);
        view->setTextCursor(cursor);
        view->ensureCursorVisible();
        return;
    }
}

} // namespace vespario::ui
