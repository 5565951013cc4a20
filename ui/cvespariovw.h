#pragma once
// The record form: the short fields of the current object and its computed values, with the
// Type, Try and Src drop-downs from the vocabularies, "Lock Scientific Data" and the atlas
// spin control. Load fills it from the record, ReadBack hands the boxes' texts back.

#include "select/quickcommands.h"

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace vespario {
class AppSettings;
class CVesparioDoc;
} // namespace vespario

namespace vespario::ui {

class CVesparioVw : public QWidget {
    Q_OBJECT
public:
    CVesparioVw(CVesparioDoc &doc, AppSettings &settings, QWidget *parent = nullptr);

    void Load();
    // Hands the boxes' texts to the record (ReadBackIfChanged: only when one was edited).
    void ReadBack();
    void ReadBackIfChanged();
    // Undoes the typing of the focused edit box; true when it did.
    bool UndoFocusedEdit();

    // The boxes, for the tests and the frame's tab order.
    QLineEdit *StoredEdit(int fieldNo) const;
    QLineEdit *ComputedBox(int fieldNo) const;
    QComboBox *TypeCombo() const { return m_type; }
    QComboBox *TryCombo() const { return m_try; }
    QComboBox *SrcCombo() const { return m_src; }
    QLineEdit *TypeText() const { return m_typeText; }
    QLineEdit *SrcText() const { return m_srcText; }
    QSpinBox *AtlasSpin() const { return m_atlasSpin; }
    QLineEdit *ChartBox(int which) const { return which == 0 ? m_chart0 : m_chart1; }
    QWidget *FirstControl() const;
    QWidget *LastControl() const;

    // What a right click at pos of one of the form's boxes clicked on; false for anything
    // else.
    bool ClickOn(const QObject *box, const QPoint &pos, QuickClick &click) const;
    // The entry of the Type, Try or Src drop-down list at pos of its open list; false for
    // anything else.
    bool EntryAt(const QObject *viewport, const QPoint &pos, QuickList &list,
                 std::string &entry) const;

signals:
    // A right click on a field: the frame shows the quick commands for it.
    void QuickMenuAsked(const vespario::QuickClick &click, const QPoint &globalPos);
    // A right click on an entry of the open Type, Try or Src list: the commands for it.
    void VocabularyMenuAsked(vespario::QuickList list, const std::string &entry,
                             const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct StoredBox {
        int fieldNo;
        QLineEdit *edit;
        bool scientific; // read-only while "LockSci" is on
    };
    struct ComputedValue {
        int fieldNo;
        QLineEdit *box;
        const char *format; // nullptr: the field's text
    };

    void Build();
    QLineEdit *AddStored(int fieldNo, const QString &label, const QString &description,
                         bool scientific);
    QLineEdit *AddComputed(int fieldNo, const QString &label, const QString &description,
                           const char *format);
    void FillChoices();
    void ApplyLockSci(bool locked);
    void LoadChoices();
    void LoadCharts();
    void LoadComputed();
    void ClearUndo();

    CVesparioDoc &m_doc;
    AppSettings &m_settings;
    std::vector<StoredBox> m_stored;
    std::vector<ComputedValue> m_computed;
    std::vector<QLabel *> m_labels;
    QComboBox *m_type = nullptr;
    QComboBox *m_try = nullptr;
    QComboBox *m_src = nullptr;
    QLineEdit *m_typeText = nullptr;
    QLineEdit *m_srcText = nullptr;
    QLineEdit *m_chart0 = nullptr;
    QLineEdit *m_chart1 = nullptr;
    QLabel *m_chartLabel0 = nullptr;
    QLabel *m_chartLabel1 = nullptr;
    QSpinBox *m_atlasSpin = nullptr;
    QGroupBox *m_more = nullptr;
    int m_lockState = -1;
    bool m_loading = false;
    bool m_srcChanged = false; // the user picked or typed a source since the last load
};

} // namespace vespario::ui
