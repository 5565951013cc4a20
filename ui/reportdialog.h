#pragma once
// The report dialog: the Options page (title, orientation, margins in the chosen unit, the
// extra sections, the insertion files, the TDF symbol) and the Fields page (the field tree,
// the fields on and under the object heading line with their widths, headings and fonts, and
// a preview of the heading line). It takes a layout and gives one back; setup files are saved
// and recalled from here.

#include "report/recentsetups.h"
#include "report/reportlayout.h"

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTreeWidget;

namespace vespario::platform {
class Host;
class IniProfile;
} // namespace vespario::platform

namespace vespario::ui {

class ReportDialog : public QDialog {
    Q_OBJECT
public:
    ReportDialog(ReportKind kind, const ReportLayout &layout, platform::Host &host,
                 QWidget *parent);

    ReportLayout Layout() const;
    void SetLayout(const ReportLayout &layout);
    bool Changed() const { return Layout() != m_original; }
    // Offers the recently used setup files of the dialog's kind and keeps the list in profile.
    void UseRecentSetups(platform::IniProfile &profile);

    // The widgets, for the tests.
    QLineEdit *TitleBox() const { return m_title; }
    QComboBox *UnitsBox() const { return m_units; }
    QDoubleSpinBox *MarginBox(int i) const { return m_margins[static_cast<size_t>(i)]; }
    QGroupBox *MarginsGroup() const { return m_marginsGroup; }
    QTreeWidget *FieldTree() const { return m_tree; }
    QListWidget *HeadingList() const { return m_onLine; }
    QListWidget *UnderList() const { return m_under; }
    QPushButton *InsertButton() const { return m_insert; }
    QLabel *Preview() const { return m_preview; }
    QComboBox *RecentBox() const { return m_recent; }
    QPushButton *FieldHelpButton() const { return m_fieldHelp; }

signals:
    void HelpAsked(const QString &page);

public:
    void done(int result) override;

private:
    QWidget *BuildOptionsPage();
    QWidget *BuildFieldsPage();
    void ShowMargins();
    void InsertField();
    void DeleteField();
    void MoveField(int step);
    void ShowSelectedField();
    void StoreSelectedField();
    void UpdatePreview();
    void SaveSetup();
    void RecallSetup();
    bool ReadSetup(const QString &file);
    void Remember(const std::string &path);
    void FillRecent();
    QListWidget *FocusedList() const;
    std::vector<ReportField> &FieldsOf(QListWidget *list);
    void FillList(QListWidget *list);

    ReportKind m_kind;
    platform::Host &m_host;
    ReportLayout m_original;
    // The fields as edited, on and under the heading line; the options live in the widgets.
    std::vector<ReportField> m_line;
    std::vector<ReportField> m_below;
    int32_t m_shownUnits = 0;
    std::array<int32_t, 4> m_twips{};
    bool m_updating = false;
    int m_helpField = -1; // the field last chosen in the tree or a list
    platform::IniProfile *m_profile = nullptr;
    RecentSetupFiles m_recentFiles;

    QLineEdit *m_title;
    QRadioButton *m_portrait;
    QRadioButton *m_landscape;
    QGroupBox *m_marginsGroup;
    std::array<QDoubleSpinBox *, 4> m_margins{};
    QComboBox *m_units;
    QSpinBox *m_blankLines;
    QCheckBox *m_bold;
    QCheckBox *m_underline;
    QCheckBox *m_magazines;
    QCheckBox *m_charts;
    QComboBox *m_chartKey;
    QCheckBox *m_unabbreviate;
    QCheckBox *m_sessionNotes;
    QLineEdit *m_topFile;
    QLineEdit *m_underFile;
    QLineEdit *m_symbol;

    QTreeWidget *m_tree;
    QListWidget *m_onLine;
    QListWidget *m_under;
    QListWidget *m_lastList;
    QPushButton *m_insert;
    QSpinBox *m_width;
    QLineEdit *m_heading;
    QSpinBox *m_size;
    QCheckBox *m_fontBold;
    QCheckBox *m_fontItalic;
    QCheckBox *m_fontUnderline;
    QLabel *m_preview;
    QPushButton *m_fieldHelp;
    QComboBox *m_recent;
};

} // namespace vespario::ui
