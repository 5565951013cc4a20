#pragma once
// "Describe the Import File": the first 4095 characters of the import text, the grouped field
// list in its import form, the import field list and the settings of one import. A
// self-describing header has preset them; the dialog only gathers the description, the
// import itself is the core's.

#include "db/import.h"
#include "ui/toolwindow.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace vespario::ui {

class ImportDialog : public ToolWindow {
    Q_OBJECT
public:
    static constexpr int kPreviewLength = 4095;

    ImportDialog(const ImportDescription &preset, std::string_view text, int greekSet,
                 platform::IniProfile &profile, QWidget *parent);

    ImportDescription Description() const;

    QPlainTextEdit *Preview() const { return m_preview; }
    QTreeWidget *FieldTree() const { return m_tree; }
    QListWidget *ImportFields() const { return m_fields; }
    QPushButton *AddButton() const { return m_add; }
    QComboBox *DelimiterKind() const { return m_delimiterKind; }
    QLineEdit *DelimiterChar() const { return m_delimiterChar; }
    QSpinBox *SkipLines() const { return m_skip; }
    QCheckBox *AddNew() const { return m_addNew; }
    QCheckBox *Log() const { return m_log; }
    QPushButton *OkButton() const { return m_ok; }

    void accept() override;

private:
    void AddField();
    void RemoveField();
    void MoveField(int step);
    void AppendField(int field);

    ImportDescription m_preset;
    QPlainTextEdit *m_preview;
    QTreeWidget *m_tree;
    QListWidget *m_fields;
    QPushButton *m_add;
    QPushButton *m_remove;
    QPushButton *m_up;
    QPushButton *m_down;
    QComboBox *m_delimiterKind;
    QLineEdit *m_delimiterChar;
    QSpinBox *m_skip;
    QCheckBox *m_log;
    QLineEdit *m_sources;
    QSpinBox *m_within;
    QComboBox *m_charset;
    QCheckBox *m_addNew;
    QPushButton *m_ok;
};

} // namespace vespario::ui
