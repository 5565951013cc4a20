#include "ui/importdialog.h"

#include "db/fieldtable.h"
#include "ui/greektext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vespario::ui {
namespace {

constexpr int kFieldRole = Qt::UserRole;

QString FieldName(int field) {
    if (field == kIgnoreField)
        return QStringLiteral("Ignore this field");
    static const FieldTable table;
    return QString::fromLatin1(BareTag(table.Slot(field).tag));
}

} // namespace

ImportDialog::ImportDialog(const ImportDescription &preset, std::string_view text, int greekSet,
                           platform::IniProfile &profile, QWidget *parent)
    : ToolWindow(profile, "ImportDlgPos", QStringLiteral("import.html"), parent), m_preset(preset),
      m_preview(new QPlainTextEdit(this)), m_tree(new QTreeWidget(this)),
      m_fields(new QListWidget(this)), m_add(new QPushButton(QStringLiteral("&Add >>"), this)),
      m_remove(new QPushButton(QStringLiteral("<< &Remove"), this)),
      m_up(new QPushButton(QStringLiteral("Move &Up"), this)),
      m_down(new QPushButton(QStringLiteral("Move &Down"), this)),
      m_delimiterKind(new QComboBox(this)), m_delimiterChar(new QLineEdit(this)),
      m_skip(new QSpinBox(this)), m_log(new QCheckBox(QStringLiteral("Write a &log file"), this)),
      m_sources(new QLineEdit(this)), m_within(new QSpinBox(this)), m_charset(new QComboBox(this)),
      m_addNew(new QCheckBox(QStringLiteral("Add &new objects to the database"), this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral("Describe the Import File"));
    setModal(true);

    m_preview->setReadOnly(true);
    m_preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_preview->setPlainText(DecodeRecordText(text.substr(0, kPreviewLength), greekSet));
    m_preview->setAccessibleName(QStringLiteral("Import text"));
    m_preview->setAccessibleDescription(QStringLiteral("The start of the text to be imported"));

    m_tree->setHeaderHidden(true);
    m_tree->setAccessibleName(QStringLiteral("Fields"));
    m_tree->setAccessibleDescription(QStringLiteral("The fields an import record may carry"));
    for (const FieldTreeItem &group : FieldTable::BuildTree(true).groups) {
        auto *heading = new QTreeWidgetItem(m_tree, {QString::fromLatin1(group.text.c_str())});
        heading->setFlags(Qt::ItemIsEnabled);
        for (const FieldTreeItem &item : group.children) {
            auto *child = new QTreeWidgetItem(heading, {QString::fromLatin1(item.text.c_str())});
            child->setData(0, kFieldRole, item.value);
        }
    }
    m_tree->expandAll();
    m_fields->setAccessibleName(QStringLiteral("Import fields"));
    m_fields->setAccessibleDescription(
        QStringLiteral("The fields of an import record, in their order"));
    for (int field : preset.fields)
        AppendField(field);

    m_delimiterKind->addItems(
        {QStringLiteral("Character"), QStringLiteral("Tab"), QStringLiteral("End of line")});
    m_delimiterKind->setCurrentIndex(static_cast<int>(preset.delimiter));
    m_delimiterKind->setAccessibleName(QStringLiteral("Field delimiter"));
    m_delimiterChar->setMaxLength(1);
    m_delimiterChar->setText(QString(QChar::fromLatin1(preset.delimiterChar)));
    m_delimiterChar->setAccessibleName(QStringLiteral("Delimiter character"));
    m_skip->setRange(0, 1000000);
    m_skip->setValue(preset.skipLines);
    m_skip->setAccessibleName(QStringLiteral("Header lines to skip"));
    m_log->setChecked(preset.log);
    m_sources->setText(QString::fromLatin1(preset.replaceSources.c_str()));
    m_sources->setAccessibleName(QStringLiteral("Sources whose positions may be replaced"));
    m_sources->setAccessibleDescription(QStringLiteral("Src codes; * stands for every source"));
    m_within->setRange(0, 21600);
    m_within->setValue(preset.replaceWithinArcmin);
    m_within->setAccessibleName(QStringLiteral("Replacement distance in arcminutes"));
    m_charset->addItems({QStringLiteral("As the database holds them"),
                         QStringLiteral("DOS character set"),
                         QStringLiteral("The program's own character set"),
                         QStringLiteral("Plain text (letters as words)")});
    m_charset->setCurrentIndex(preset.charset + 1);
    m_charset->setAccessibleName(QStringLiteral("Greek letters of the import text"));
    m_addNew->setChecked(preset.addNew);
    m_ok->setDefault(true);
    m_ok->setAccessibleDescription(QStringLiteral("Imports the file as described"));
    CloseButton()->setText(QStringLiteral("Cancel"));
    CloseButton()->setAccessibleDescription(QStringLiteral("Closes without importing"));
    ButtonRow()->insertWidget(1, m_ok);

    auto *moves = new QVBoxLayout;
    for (QPushButton *button : {m_add, m_remove, m_up, m_down})
        moves->addWidget(button);
    moves->addStretch(1);
    auto *lists = new QHBoxLayout;
    lists->addWidget(m_tree, 1);
    lists->addLayout(moves);
    lists->addWidget(m_fields, 1);

    auto *delimiter = new QHBoxLayout;
    delimiter->addWidget(m_delimiterKind);
    delimiter->addWidget(m_delimiterChar);
    auto *replace = new QHBoxLayout;
    replace->addWidget(m_sources, 1);
    replace->addWidget(new QLabel(QStringLiteral("within (arcmin)"), this));
    replace->addWidget(m_within);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Field &delimiter:"), delimiter);
    form->addRow(QStringLiteral("Header lines to &skip:"), m_skip);
    form->addRow(QStringLiteral("&Replace positions of sources:"), replace);
    form->addRow(QStringLiteral("&Greek letters:"), m_charset);
    form->addRow(m_addNew);
    form->addRow(m_log);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_preview, 1);
    layout->addLayout(lists, 2);
    layout->addLayout(form);
    layout->addLayout(ButtonRow());

    // A database or maintenance file brings its own fields.
    const bool described = preset.kind == ImportKind::Described;
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_tree, m_fields, m_add, m_remove, m_up, m_down,
                                          m_delimiterKind, m_delimiterChar, m_skip})
        w->setEnabled(described);
    m_addNew->setEnabled(preset.kind != ImportKind::Maintenance);

    connect(m_add, &QPushButton::clicked, this, &ImportDialog::AddField);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &ImportDialog::AddField);
    connect(m_remove, &QPushButton::clicked, this, &ImportDialog::RemoveField);
    connect(m_up, &QPushButton::clicked, this, [this] { MoveField(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { MoveField(1); });
    connect(m_ok, &QPushButton::clicked, this, &ImportDialog::accept);
    connect(m_delimiterKind, &QComboBox::currentIndexChanged, this,
            [this](int kind) { m_delimiterChar->setEnabled(kind == 0 && m_tree->isEnabled()); });
    m_delimiterChar->setEnabled(preset.delimiter == ImportDelimiter::Character && described);
    RestorePosition();
}

void ImportDialog::AppendField(int field) {
    auto *item = new QListWidgetItem(FieldName(field), m_fields);
    item->setData(kFieldRole, field);
}

void ImportDialog::AddField() {
    const QTreeWidgetItem *item = m_tree->currentItem();
    if (!item || !item->data(0, kFieldRole).isValid())
        return;
    AppendField(item->data(0, kFieldRole).toInt());
    m_fields->setCurrentRow(m_fields->count() - 1);
}

void ImportDialog::RemoveField() {
    delete m_fields->takeItem(m_fields->currentRow());
}

void ImportDialog::MoveField(int step) {
    const int row = m_fields->currentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= m_fields->count())
        return;
    QListWidgetItem *item = m_fields->takeItem(row);
    m_fields->insertItem(to, item);
    m_fields->setCurrentRow(to);
}

ImportDescription ImportDialog::Description() const {
    ImportDescription d = m_preset;
    if (d.kind == ImportKind::Described) {
        d.fields.clear();
        for (int i = 0; i < m_fields->count(); ++i)
            d.fields.push_back(m_fields->item(i)->data(kFieldRole).toInt());
        d.delimiter = static_cast<ImportDelimiter>(m_delimiterKind->currentIndex());
        const QString c = m_delimiterChar->text();
        d.delimiterChar = c.isEmpty() ? ';' : c.at(0).toLatin1();
        d.skipLines = m_skip->value();
    }
    d.log = m_log->isChecked();
    d.replaceSources = m_sources->text().toStdString();
    d.replaceWithinArcmin = m_within->value();
    d.charset = m_charset->currentIndex() - 1;
    d.addNew = m_addNew->isChecked();
    return d;
}

void ImportDialog::accept() {
    const std::string problem = CheckDescription(Description());
    if (!problem.empty()) {
        // The dialog stays open so that the description can be completed.
        QMessageBox::warning(this, QStringLiteral("Vespario"), QString::fromStdString(problem));
        return;
    }
    QDialog::accept();
}

} // namespace vespario::ui
