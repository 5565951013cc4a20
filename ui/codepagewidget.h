#pragma once
// A code page of the Settings sheet bound to its CodePageModel: the rows in a list with code
// and meaning in columns, the selection copied into the code and meaning boxes, the enabled
// states, Insert and Delete. The model keeps every rule; this widget shows its state after
// each change (Sync) and hands the user's edits to it.

#include "app/codepagemodel.h"

#include <QStringList>
#include <QWidget>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

namespace vespario::ui {

class CodePageWidget : public QWidget {
    Q_OBJECT
public:
    // explanation: the text above the list; headers: the list's column titles, the first two
    // also naming the code and meaning boxes.
    CodePageWidget(CodePageModel &model, const QString &explanation, const QStringList &headers,
                   QWidget *parent);

    // Shows the model's rows, selection, box texts and enabled states.
    void Sync();

    QTreeWidget *List() const { return m_list; }
    QLineEdit *CodeBox() const { return m_code; }
    QLineEdit *MeaningBox() const { return m_meaning; }
    QPushButton *InsertButton() const { return m_insert; }
    QPushButton *DeleteButton() const { return m_delete; }

protected:
    // The column texts of a row: the code before the row's separator, the meaning after it
    // up to the next tab.
    virtual QStringList Columns(const std::string &row) const;
    // The page's own controls beside code and meaning, brought up to date by Sync.
    virtual void SyncExtras() {}
    // Where a page puts its own controls, below the code and meaning boxes.
    QVBoxLayout *ExtraArea() const { return m_extras; }
    // A page's own control changed the selected row: the list and boxes follow.
    void RowEdited();
    bool Syncing() const { return m_syncing; }

private:
    void SyncRows();

    CodePageModel &m_model;
    QTreeWidget *m_list;
    QLineEdit *m_code;
    QLineEdit *m_meaning;
    QPushButton *m_insert;
    QPushButton *m_delete;
    QVBoxLayout *m_extras;
    bool m_syncing = false;
};

// The label's text as a screen reader names its control: without the mnemonic "&" and colon.
QString AccessibleLabel(const QString &label);

} // namespace vespario::ui
