#pragma once
// The base of the five text views: a multi-line edit bound to one long text field of the
// current record by its field number. It loads the field's bytes through the document's
// Greek set and reads typed text back when the focus leaves it (or when asked to).

#include "select/quickcommands.h"

#include <QPlainTextEdit>

namespace vespario {
class CVesparioDoc;
}

namespace vespario::ui {

class CEditVw : public QPlainTextEdit {
    Q_OBJECT
public:
    CEditVw(CVesparioDoc &doc, int fieldNo, const QString &name, const QString &description,
            QWidget *parent = nullptr);

    int FieldNo() const { return m_fieldNo; }
    // Loads the current record's field (empty and read-only without a current record).
    void Load();
    // Hands a changed text to the record; true when it did.
    bool ReadBack();
    // Undoes the last typing when there is any; true when it did.
    bool UndoEdit();
    // What a right click clicked on: the field with its text and the selected text.
    QuickClick Click() const;

signals:
    // A right click: the frame shows the quick commands for the field.
    void QuickMenuAsked(const vespario::QuickClick &click, const QPoint &globalPos);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    CVesparioDoc &Doc() { return m_doc; }

private:
    CVesparioDoc &m_doc;
    int m_fieldNo;
};

} // namespace vespario::ui
