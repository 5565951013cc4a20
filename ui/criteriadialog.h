#pragma once
// The "Selection Criteria" dialog: modeless, on a copy of the object list's current
// criteria. The boxes below the lines compose a line that Add Line puts behind the selected
// one; a selected line is shown in the boxes, so that it can be varied and added again. OK,
// New and Close ask the frame to end the dialog (the checks and the stacks are below ui/);
// Cancel closes it and leaves the running pass alone. The rectangle is kept under
// "SelectDlgPos".

#include "select/criteriaedit.h"
#include "select/selectioncriteria.h"
#include "ui/toolwindow.h"

#include <memory>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace vespario {
class AppSettings;
class CVesparioDoc;
} // namespace vespario

namespace vespario::ui {

class CriteriaDialog : public ToolWindow {
    Q_OBJECT
public:
    CriteriaDialog(CVesparioDoc &doc, AppSettings &settings, QWidget *parent);
    ~CriteriaDialog() override;

    // Starts over on a copy of criteria: no line selected, the boxes cleared.
    void Edit(const SelectionCriteria &criteria);
    const SelectionCriteria &Edited() const { return *m_edited; }

    // What Open and SaveAs do once a file is chosen; false (the lines unchanged) when the
    // file could not be read or written, which the user has been told.
    bool OpenFile(const QString &path);
    bool SaveFile(const QString &path);

    // The controls, for the tests.
    QListWidget *Lines() const { return m_lines; }
    QComboBox *FieldList() const { return m_field; }
    QComboBox *OperatorList() const { return m_operator; }
    QLineEdit *ValueEdit() const { return m_value; }
    QToolButton *PatternButton() const { return m_patternButton; }
    QLineEdit *RadiusBox() const { return m_radius; }
    QPushButton *Button(const QString &text) const;
    // Selects field n in "Examine this field"; false when the list has no such field.
    bool SelectField(int32_t field);

signals:
    // OK, New or Close was pressed: the frame runs the checks and ends the dialog.
    void EndAsked(vespario::DialogEnd end);

private:
    QPushButton *AddButton(const QString &text, const QString &tip);
    void FillFieldList();
    void ShowLines(int select);
    void LoadBoxes(int row);
    void ClearBoxes();
    void UpdateButtons();
    CriteriaLine LineFromBoxes() const;
    void AddLine();
    void DeleteLine();
    void MoveLine(int step);
    void UseThisObject();
    void InsertPattern(PatternMenuEntry entry);
    void AskOpen();
    void AskSave();
    int SelectedRow() const;

    CVesparioDoc &m_doc;
    AppSettings &m_settings;
    std::unique_ptr<SelectionCriteria> m_edited;
    int32_t m_fromThisObject = 0;
    QListWidget *m_lines;
    QComboBox *m_field;
    QComboBox *m_operator;
    QLineEdit *m_value;
    QToolButton *m_patternButton;
    QLineEdit *m_radius;
};

} // namespace vespario::ui
