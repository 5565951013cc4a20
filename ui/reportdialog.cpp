#include "ui/reportdialog.h"

#include "db/fieldtable.h"
#include "platform/host.h"
#include "platform/iniprofile.h"
#include "select/smallfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vespario::ui {
namespace {

QString Local(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToLocal(const QString &text) {
    return text.toLocal8Bit().toStdString();
}

const FieldTable &Table() {
    static const FieldTable table;
    return table;
}

QString FieldLabel(const ReportField &f) {
    QString text = Local(BareTag(Table().Slot(f.Field()).tag));
    if (f.width > 0)
        text += QStringLiteral(" (%1)").arg(f.width);
    return text;
}

} // namespace

ReportDialog::ReportDialog(ReportKind kind, const ReportLayout &layout, platform::Host &host,
                           QWidget *parent)
    : QDialog(parent), m_kind(kind), m_host(host), m_original(layout) {
    setObjectName(QStringLiteral("ReportDlg"));
    setWindowTitle(kind == ReportKind::Export ? QStringLiteral("Export")
                                              : QStringLiteral("Report"));
    auto *tabs = new QTabWidget(this);
    tabs->addTab(BuildOptionsPage(), QStringLiteral("Options"));
    tabs->addTab(BuildFieldsPage(), QStringLiteral("Fields"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *save =
        buttons->addButton(QStringLiteral("&Save Setup..."), QDialogButtonBox::ActionRole);
    QPushButton *recall =
        buttons->addButton(QStringLiteral("&Recall Setup..."), QDialogButtonBox::ActionRole);
    connect(save, &QPushButton::clicked, this, &ReportDialog::SaveSetup);
    connect(recall, &QPushButton::clicked, this, &ReportDialog::RecallSetup);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_recent = new QComboBox;
    m_recent->setAccessibleName(QStringLiteral("Recent Setups"));
    m_recent->setEnabled(false);
    connect(m_recent, &QComboBox::activated, this, [this](int index) {
        if (index > 0)
            ReadSetup(m_recent->itemData(index).toString());
    });
    auto *recent = new QHBoxLayout;
    recent->addWidget(new QLabel(QStringLiteral("Recent Setups")));
    recent->addWidget(m_recent, 1);
    auto *box = new QVBoxLayout(this);
    box->addWidget(tabs);
    box->addLayout(recent);
    box->addWidget(buttons);
    SetLayout(layout);
}

QWidget *ReportDialog::BuildOptionsPage() {
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    m_title = new QLineEdit;
    form->addRow(QStringLiteral("Report Title"), m_title);
    m_portrait = new QRadioButton(QStringLiteral("Portrait"));
    m_landscape = new QRadioButton(QStringLiteral("Landscape"));
    auto *orientation = new QHBoxLayout;
    orientation->addWidget(m_portrait);
    orientation->addWidget(m_landscape);
    form->addRow(orientation);
    m_units = new QComboBox;
    m_units->addItems({QStringLiteral("inches"), QStringLiteral("mm"), QStringLiteral("chars")});
    form->addRow(QStringLiteral("Units of Measure"), m_units);
    m_marginsGroup = new QGroupBox;
    auto *margins = new QGridLayout(m_marginsGroup);
    const QString names[] = {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Top"),
                             QStringLiteral("Bottom")};
    for (size_t i = 0; i < m_margins.size(); ++i) {
        m_margins[i] = new QDoubleSpinBox;
        m_margins[i]->setDecimals(3);
        m_margins[i]->setRange(0.0, 100000.0);
        m_margins[i]->setAccessibleName(names[i]);
        margins->addWidget(new QLabel(names[i]), 0, static_cast<int>(i));
        margins->addWidget(m_margins[i], 1, static_cast<int>(i));
        connect(m_margins[i], &QDoubleSpinBox::valueChanged, this, [this, i](double v) {
            if (!m_updating)
                m_twips[i] = MarginTwips(v, m_shownUnits);
        });
    }
    form->addRow(m_marginsGroup);
    connect(m_units, &QComboBox::currentIndexChanged, this, [this](int units) {
        m_shownUnits = units; // only the display changes: the twips stay
        ShowMargins();
        UpdatePreview();
    });
    m_blankLines = new QSpinBox;
    m_blankLines->setRange(0, 20);
    form->addRow(QStringLiteral("blank lines between entries"), m_blankLines);
    m_bold = new QCheckBox(QStringLiteral("! to bold"));
    m_underline = new QCheckBox(QStringLiteral("! to underline"));
    m_magazines = new QCheckBox(QStringLiteral("Magazine summary"));
    m_charts = new QCheckBox(QStringLiteral("Table of Charts, keyed by"));
    m_chartKey = new QComboBox;
    m_chartKey->addItems({QStringLiteral("Uranometria"), QStringLiteral("SkyAtlas"),
                          QStringLiteral("AstroAtlasB"), QStringLiteral("AstroAtlasC"),
                          QStringLiteral("EdmundMag5"), QStringLiteral("EdmundMag6"),
                          QStringLiteral("MSA")});
    m_unabbreviate = new QCheckBox(QStringLiteral("Unabbreviate"));
    m_sessionNotes = new QCheckBox(QStringLiteral("Session Notes"));
    auto *charts = new QHBoxLayout;
    charts->addWidget(m_charts);
    charts->addWidget(m_chartKey);
    for (QCheckBox *check : {m_bold, m_underline, m_magazines})
        form->addRow(check);
    form->addRow(charts);
    form->addRow(m_unabbreviate);
    form->addRow(m_sessionNotes);
    const auto fileRow = [&](const QString &label, const QString &caption, QLineEdit *&edit) {
        edit = new QLineEdit;
        auto *browse = new QPushButton(QStringLiteral("Browse"));
        connect(browse, &QPushButton::clicked, this, [this, caption, &edit] {
            const QString file = QFileDialog::getOpenFileName(this, caption, edit->text(),
                                                              QStringLiteral("Text File (*.txt)"));
            if (!file.isEmpty())
                edit->setText(file);
        });
        auto *row = new QHBoxLayout;
        row->addWidget(edit);
        row->addWidget(browse);
        form->addRow(label, row);
    };
    fileRow(QStringLiteral("Top of Report"),
            QStringLiteral("Select file with text to insert at top of report"), m_topFile);
    fileRow(QStringLiteral("Under Object"),
            QStringLiteral("Select file with text to insert under each object"), m_underFile);
    m_symbol = new QLineEdit;
    m_symbol->setEnabled(m_kind == ReportKind::Tdf);
    form->addRow(QStringLiteral("Report Type"), m_symbol);
    return page;
}

QWidget *ReportDialog::BuildFieldsPage() {
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    m_tree = new QTreeWidget;
    m_tree->setHeaderLabel(QStringLiteral("Available Fields"));
    for (const FieldTreeItem &group : FieldTable::BuildTree(false).groups) {
        auto *top = new QTreeWidgetItem(m_tree, {Local(group.text)});
        top->setData(0, Qt::UserRole, kFieldTreeHeading);
        for (const FieldTreeItem &child : group.children) {
            auto *item = new QTreeWidgetItem(top, {Local(child.text)});
            item->setData(0, Qt::UserRole, child.value);
        }
    }
    m_onLine = new QListWidget;
    m_onLine->setAccessibleName(QStringLiteral("Fields on object heading line"));
    m_under = new QListWidget;
    m_under->setAccessibleName(QStringLiteral("Fields under object heading line"));
    m_lastList = m_onLine;
    grid->addWidget(m_tree, 0, 0, 6, 1);
    grid->addWidget(new QLabel(QStringLiteral("Fields on object heading line")), 0, 1);
    grid->addWidget(m_onLine, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Fields under object heading line")), 2, 1);
    grid->addWidget(m_under, 3, 1);

    m_insert = new QPushButton(QStringLiteral("Insert After"));
    auto *remove = new QPushButton(QStringLiteral("Delete"));
    auto *up = new QPushButton(QStringLiteral("Up"));
    auto *down = new QPushButton(QStringLiteral("Dn"));
    auto *removeAll = new QPushButton(QStringLiteral("Delete All Fields"));
    m_fieldHelp = new QPushButton(QStringLiteral("Help on Selected Field"));
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_insert, remove, up, down, removeAll, m_fieldHelp})
        buttons->addWidget(b);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 4, 1);
    connect(m_insert, &QPushButton::clicked, this, &ReportDialog::InsertField);
    connect(remove, &QPushButton::clicked, this, &ReportDialog::DeleteField);
    connect(up, &QPushButton::clicked, this, [this] { MoveField(-1); });
    connect(down, &QPushButton::clicked, this, [this] { MoveField(1); });
    connect(m_fieldHelp, &QPushButton::clicked, this,
            [this] { emit HelpAsked(QString::fromStdString(FieldHelpPage(m_helpField))); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item != nullptr && FieldTable::IsValidField(item->data(0, Qt::UserRole).toInt()))
            m_helpField = item->data(0, Qt::UserRole).toInt();
    });
    connect(removeAll, &QPushButton::clicked, this, [this] {
        m_line.clear();
        m_below.clear();
        FillList(m_onLine);
        FillList(m_under);
    });

    auto *editors = new QHBoxLayout;
    m_width = new QSpinBox;
    m_width->setRange(1, 500);
    m_width->setAccessibleName(QStringLiteral("Width"));
    m_heading = new QLineEdit;
    m_heading->setAccessibleName(QStringLiteral("Heading"));
    m_size = new QSpinBox;
    m_size->setRange(1, 72);
    m_size->setAccessibleName(QStringLiteral("Size"));
    m_fontBold = new QCheckBox(QStringLiteral("B"));
    m_fontItalic = new QCheckBox(QStringLiteral("I"));
    m_fontUnderline = new QCheckBox(QStringLiteral("&U"));
    editors->addWidget(new QLabel(QStringLiteral("Width")));
    editors->addWidget(m_width);
    editors->addWidget(new QLabel(QStringLiteral("Heading")));
    editors->addWidget(m_heading);
    editors->addWidget(m_size);
    for (QCheckBox *c : {m_fontBold, m_fontItalic, m_fontUnderline})
        editors->addWidget(c);
    grid->addLayout(editors, 4, 1, 1, 2);
    m_preview = new QLabel;
    m_preview->setTextFormat(Qt::PlainText);
    m_preview->setAccessibleName(QStringLiteral("Preview"));
    grid->addWidget(m_preview, 5, 1, 1, 2);

    for (QListWidget *list : {m_onLine, m_under})
        connect(list, &QListWidget::currentRowChanged, this, [this, list] {
            m_lastList = list;
            ShowSelectedField();
        });
    connect(m_width, &QSpinBox::valueChanged, this, &ReportDialog::StoreSelectedField);
    connect(m_size, &QSpinBox::valueChanged, this, &ReportDialog::StoreSelectedField);
    connect(m_heading, &QLineEdit::textEdited, this, &ReportDialog::StoreSelectedField);
    for (QCheckBox *c : {m_fontBold, m_fontItalic, m_fontUnderline})
        connect(c, &QCheckBox::toggled, this, &ReportDialog::StoreSelectedField);
    return page;
}

std::vector<ReportField> &ReportDialog::FieldsOf(QListWidget *list) {
    return list == m_under ? m_below : m_line;
}

QListWidget *ReportDialog::FocusedList() const {
    return m_lastList;
}

void ReportDialog::FillList(QListWidget *list) {
    const QSignalBlocker block(list);
    const int row = list->currentRow();
    list->clear();
    for (const ReportField &f : FieldsOf(list))
        list->addItem(FieldLabel(f));
    list->setCurrentRow(std::min(row, list->count() - 1));
    ShowSelectedField();
    UpdatePreview();
}

void ReportDialog::SetLayout(const ReportLayout &layout) {
    const ReportOptions &o = layout.options;
    m_updating = true;
    m_title->setText(Local(o.title));
    (o.orientation ? m_landscape : m_portrait)->setChecked(true);
    m_twips = {o.marginLeft, o.marginRight, o.marginTop, o.marginBottom};
    m_shownUnits = std::clamp(o.units, 0, 2);
    m_units->setCurrentIndex(m_shownUnits);
    m_blankLines->setValue(o.blankLines);
    m_bold->setChecked(o.bangToBold != 0);
    m_underline->setChecked(o.bangToUnderline != 0);
    m_magazines->setChecked(o.magazineSummary != 0);
    m_charts->setChecked(o.chartTable != 0);
    m_chartKey->setCurrentIndex(std::clamp(o.chartTableKey, 0, 6));
    m_unabbreviate->setChecked(o.unabbreviate != 0);
    m_sessionNotes->setChecked(o.sessionNotes != 0);
    m_topFile->setText(Local(o.topFile));
    m_underFile->setText(Local(o.underFile));
    m_symbol->setText(Local(o.tdfSymbol));
    m_updating = false;
    ShowMargins();
    m_line.clear();
    m_below.clear();
    for (const ReportField &f : layout.fields)
        (f.width > 0 ? m_line : m_below).push_back(f);
    FillList(m_onLine);
    FillList(m_under);
}

ReportLayout ReportDialog::Layout() const {
    ReportLayout layout;
    ReportOptions &o = layout.options;
    o.title = ToLocal(m_title->text());
    o.orientation = m_landscape->isChecked() ? 1 : 0;
    o.marginLeft = m_twips[0];
    o.marginRight = m_twips[1];
    o.marginTop = m_twips[2];
    o.marginBottom = m_twips[3];
    o.units = m_shownUnits;
    o.blankLines = m_blankLines->value();
    o.bangToBold = m_bold->isChecked() ? 1 : 0;
    o.bangToUnderline = m_underline->isChecked() ? 1 : 0;
    o.magazineSummary = m_magazines->isChecked() ? 1 : 0;
    o.chartTable = m_charts->isChecked() ? 1 : 0;
    o.chartTableKey = m_chartKey->currentIndex();
    o.unabbreviate = m_unabbreviate->isChecked() ? 1 : 0;
    o.sessionNotes = m_sessionNotes->isChecked() ? 1 : 0;
    o.topFile = ToLocal(m_topFile->text());
    o.underFile = ToLocal(m_underFile->text());
    o.tdfSymbol = ToLocal(m_symbol->text());
    layout.fields = m_line;
    layout.fields.insert(layout.fields.end(), m_below.begin(), m_below.end());
    return layout;
}

void ReportDialog::ShowMargins() {
    m_updating = true;
    m_marginsGroup->setTitle(Local(MarginsCaption(m_shownUnits)));
    for (size_t i = 0; i < m_margins.size(); ++i)
        m_margins[i]->setValue(std::stod(MarginText(m_twips[i], m_shownUnits)));
    m_updating = false;
}

void ReportDialog::InsertField() {
    const QTreeWidgetItem *item = m_tree->currentItem();
    if (item == nullptr)
        return;
    const int n = item->data(0, Qt::UserRole).toInt();
    if (!FieldTable::IsValidField(n))
        return;
    QListWidget *list = FocusedList();
    auto &fields = FieldsOf(list);
    if (m_line.size() + m_below.size() >= kMaxReportFields)
        return;
    ReportField f;
    f.word = static_cast<uint32_t>(n);
    f.width = list == m_under ? 0 : 10;
    f.heading = std::string(BareTag(Table().Slot(n).tag));
    const int at = list->currentRow() + 1;
    fields.insert(fields.begin() + at, f);
    list->setCurrentRow(-1);
    FillList(list);
    list->setCurrentRow(at);
}

void ReportDialog::DeleteField() {
    QListWidget *list = FocusedList();
    auto &fields = FieldsOf(list);
    const int row = list->currentRow();
    if (row < 0 || row >= static_cast<int>(fields.size()))
        return;
    fields.erase(fields.begin() + row);
    FillList(list);
}

void ReportDialog::MoveField(int step) {
    QListWidget *list = FocusedList();
    auto &fields = FieldsOf(list);
    const int row = list->currentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= static_cast<int>(fields.size()))
        return;
    std::swap(fields[static_cast<size_t>(row)], fields[static_cast<size_t>(to)]);
    FillList(list);
    list->setCurrentRow(to);
}

void ReportDialog::ShowSelectedField() {
    QListWidget *list = FocusedList();
    const auto &fields = FieldsOf(list);
    const int row = list->currentRow();
    const bool any = row >= 0 && row < static_cast<int>(fields.size());
    for (QWidget *w : std::initializer_list<QWidget *>{m_heading, m_size, m_fontBold, m_fontItalic,
                                                       m_fontUnderline})
        w->setEnabled(any);
    m_width->setEnabled(any && list == m_onLine);
    if (!any)
        return;
    const ReportField &f = fields[static_cast<size_t>(row)];
    m_helpField = f.Field();
    m_updating = true;
    m_width->setValue(std::max(1, f.width));
    m_heading->setText(Local(f.heading));
    m_size->setValue(static_cast<int>(f.font & kFontSizeMask));
    m_fontBold->setChecked(f.font & kFontBold);
    m_fontItalic->setChecked(f.font & kFontItalic);
    m_fontUnderline->setChecked(f.font & kFontUnderline);
    m_updating = false;
}

void ReportDialog::StoreSelectedField() {
    if (m_updating)
        return;
    QListWidget *list = FocusedList();
    auto &fields = FieldsOf(list);
    const int row = list->currentRow();
    if (row < 0 || row >= static_cast<int>(fields.size()))
        return;
    ReportField &f = fields[static_cast<size_t>(row)];
    if (list == m_onLine)
        f.width = m_width->value();
    f.heading = ToLocal(m_heading->text());
    f.font = static_cast<uint32_t>(m_size->value()) | (m_fontBold->isChecked() ? kFontBold : 0) |
             (m_fontItalic->isChecked() ? kFontItalic : 0) |
             (m_fontUnderline->isChecked() ? kFontUnderline : 0);
    if (QListWidgetItem *item = list->item(row))
        item->setText(FieldLabel(f));
    UpdatePreview();
}

void ReportDialog::UpdatePreview() {
    QString sample;
    int width = 0;
    bool first = true;
    for (const ReportField &f : m_line) {
        QString text = first ? QStringLiteral("First Field") : QString(f.width, QLatin1Char('x'));
        first = false;
        sample += text.left(f.width).leftJustified(f.width, QLatin1Char(' '));
        width += f.width;
    }
    // The width in the chosen unit: characters of 72 twips.
    const double shown = static_cast<double>(width) * 72.0 / TwipsPerUnit(m_shownUnits);
    m_preview->setText(sample + QStringLiteral("\nTotal width of object heading line is %1 %2")
                                    .arg(shown, 0, 'g')
                                    .arg(Local(UnitName(m_shownUnits))));
}

void ReportDialog::SaveSetup() {
    const ReportKindInfo &info = InfoOf(m_kind);
    const QString file = QFileDialog::getSaveFileName(this, Local(info.saveTitle), QString(),
                                                      Local(info.filterText));
    if (file.isEmpty())
        return;
    std::string error;
    if (!WriteSetupFile(ToLocal(file), m_kind, Layout(), &error)) {
        m_host.MessageBox(error, "Vespario", platform::Buttons::Ok);
        return;
    }
    m_original = Layout();
    Remember(WithExtension(ToLocal(file), info.extension));
}

void ReportDialog::RecallSetup() {
    const ReportKindInfo &info = InfoOf(m_kind);
    const QString file = QFileDialog::getOpenFileName(this, Local(info.openTitle), QString(),
                                                      Local(info.filterText));
    if (!file.isEmpty())
        ReadSetup(file);
}

bool ReportDialog::ReadSetup(const QString &file) {
    ReportLayout layout = Layout();
    const std::string path = ToLocal(file);
    if (!ReadSetupFile(path, layout, m_host)) {
        // A file that is gone or refused is no longer offered.
        m_recentFiles.Remove(path);
        Remember({});
        return false;
    }
    SetLayout(layout);
    Remember(path);
    return true;
}

void ReportDialog::UseRecentSetups(platform::IniProfile &profile) {
    m_profile = &profile;
    m_recentFiles.Load(profile);
    FillRecent();
}

void ReportDialog::Remember(const std::string &path) {
    if (m_profile == nullptr)
        return;
    m_recentFiles.Add(path);
    m_recentFiles.Save(*m_profile);
    FillRecent();
}

void ReportDialog::FillRecent() {
    const QSignalBlocker block(m_recent);
    m_recent->clear();
    const std::vector<std::string> files = m_recentFiles.OfKind(m_kind);
    m_recent->addItem(files.empty() ? QStringLiteral("(none)") : QString());
    for (const std::string &path : files)
        m_recent->addItem(Local(path), Local(path));
    m_recent->setEnabled(!files.empty());
}

void ReportDialog::done(int result) {
    if (Changed()) {
        const platform::Answer answer = m_host.MessageBox(
            "Save changes to report layout?", "Vespario", platform::Buttons::YesNoCancel);
        if (answer == platform::Answer::Cancel)
            return;
        if (answer == platform::Answer::Yes)
            SaveSetup();
    }
    QDialog::done(result);
}

} // namespace vespario::ui
