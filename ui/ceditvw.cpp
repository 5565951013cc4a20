#include "ui/ceditvw.h"

#include "db/cvespariodoc.h"
#include "ui/greektext.h"

#include <QContextMenuEvent>
#include <QTextCursor>

namespace vespario::ui {

CEditVw::CEditVw(CVesparioDoc &doc, int fieldNo, const QString &name, const QString &description,
                 QWidget *parent)
    : QPlainTextEdit(parent), m_doc(doc), m_fieldNo(fieldNo) {
    setTabChangesFocus(true); // Tab moves on, as in every other control of the window
    setAcceptDrops(false);
    setPlaceholderText(name);
    setToolTip(description);
    setAccessibleName(name);
    setAccessibleDescription(description);
    setReadOnly(true);
}

void CEditVw::Load() {
    const ObjectRecord *current = m_doc.CurrentRecord();
    setReadOnly(current == nullptr);
    const QString text =
        current ? DecodeLongText(current->Field(m_fieldNo), m_doc.GreekSet()) : QString();
    if (text != toPlainText())
        setPlainText(text);
    document()->clearUndoRedoStacks();
    document()->setModified(false);
}

bool CEditVw::ReadBack() {
    if (!document()->isModified() || !m_doc.CurrentRecord())
        return false;
    m_doc.SetFieldText(m_fieldNo, EncodeLongText(toPlainText(), m_doc.GreekSet()));
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    return true;
}

bool CEditVw::UndoEdit() {
    if (!document()->isUndoAvailable())
        return false;
    undo();
    return true;
}

QuickClick CEditVw::Click() const {
    QuickClick click;
    click.field = m_fieldNo;
    if (const ObjectRecord *current = m_doc.CurrentRecord())
        click.shown = std::string(current->Field(m_fieldNo));
    // A selection's line breaks come as paragraph separators.
    QString selected = textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    click.selection = EncodeLongText(selected, m_doc.GreekSet());
    return click;
}

void CEditVw::contextMenuEvent(QContextMenuEvent *event) {
    if (!m_doc.CurrentRecord()) {
        QPlainTextEdit::contextMenuEvent(event);
        return;
    }
    emit QuickMenuAsked(Click(), event->globalPos());
}

void CEditVw::focusOutEvent(QFocusEvent *event) {
    ReadBack();
    QPlainTextEdit::focusOutEvent(event);
}

} // namespace vespario::ui
