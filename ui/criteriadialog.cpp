#include "ui/criteriadialog.h"

#include "db/cvespariodoc.h"
#include "db/fieldtable.h"
#include "select/criteriafile.h"
#include "select/smallfile.h"
#include "settings/appsettings.h"
#include "ui/greektext.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace vespario::ui {
namespace {

constexpr const char *kTitle = "Vespario";
const QString kFilter = QStringLiteral("Vespario Select Criteria (*.sel)");

QString Latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string LocalPath(const QString &path) {
    return path.toLocal8Bit().toStdString();
}

} // namespace

CriteriaDialog::CriteriaDialog(CVesparioDoc &doc, AppSettings &settings, QWidget *parent)
    : ToolWindow(settings.Profile(), "SelectDlgPos", QStringLiteral("criteria.html"), parent),
      m_doc(doc), m_settings(settings), m_edited(std::make_unique<SelectionCriteria>(doc)),
      m_lines(new QListWidget(this)), m_field(new QComboBox(this)), m_operator(new QComboBox(this)),
      m_value(new QLineEdit(this)), m_patternButton(new QToolButton(this)),
      m_radius(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Selection Criteria"));
    m_lines->setAccessibleName(QStringLiteral("Selection criteria lines"));
    m_lines->setAccessibleDescription(
        QStringLiteral("The lines of the criteria; an object is listed when they hold"));
    m_field->setAccessibleName(QStringLiteral("Examine this field"));
    m_field->setAccessibleDescription(QStringLiteral("The field the new line looks at"));
    m_operator->setAccessibleName(QStringLiteral("Operator"));
    m_operator->setAccessibleDescription(QStringLiteral("How the field is compared"));
    m_value->setAccessibleName(QStringLiteral("Look for this"));
    m_value->setAccessibleDescription(QStringLiteral("The value or pattern the field is compared "
                                                     "with"));
    m_patternButton->setText(QStringLiteral(">"));
    m_patternButton->setAccessibleName(QStringLiteral("Pattern characters"));
    m_patternButton->setAccessibleDescription(
        QStringLiteral("Inserts a character of the pattern language at the caret"));
    m_patternButton->setToolTip(m_patternButton->accessibleDescription());
    // The value box keeps its caret and selection while the menu is used.
    m_patternButton->setFocusPolicy(Qt::NoFocus);
    m_patternButton->setPopupMode(QToolButton::InstantPopup);
    m_radius->setAccessibleName(QStringLiteral("\"is near\" means within"));
    m_radius->setAccessibleDescription(QStringLiteral("The distance of \"is near\", in degrees"));

    auto *patterns = new QMenu(m_patternButton);
    for (const PatternMenuItem &item : PatternMenuItems()) {
        const PatternMenuEntry entry = item.entry;
        patterns->addAction(Latin(item.label), this, [this, entry] { InsertPattern(entry); });
    }
    m_patternButton->setMenu(patterns);

    FillFieldList();
    for (int32_t code = 0; code < kOperatorCount; ++code)
        m_operator->addItem(Latin(OperatorLabel(code)), code);

    QPushButton *add = AddButton(QStringLiteral("Add Line"),
                                 QStringLiteral("Add a new line to the selection criteria"));
    QPushButton *remove = AddButton(QStringLiteral("Delete Line"),
                                    QStringLiteral("Delete the selected line from the selection "
                                                   "criteria"));
    QPushButton *up =
        AddButton(QStringLiteral("Move Up"), QStringLiteral("Move the selected line up by one"));
    QPushButton *down = AddButton(QStringLiteral("Move Down"),
                                  QStringLiteral("Move the selected line down by one"));
    QPushButton *open =
        AddButton(QStringLiteral("Open"), QStringLiteral("Read selection criteria from file"));
    QPushButton *save = AddButton(QStringLiteral("SaveAs"),
                                  QStringLiteral("Save the selection criteria in a file"));
    QPushButton *fresh = AddButton(
        QStringLiteral("New"),
        QStringLiteral("Remember these selection criteria, and start defining a new one"));
    QPushButton *revert = AddButton(
        QStringLiteral("Close"),
        QStringLiteral("Close these selection criteria, and revert to the last remembered one"));
    QPushButton *thisObject =
        AddButton(QStringLiteral("Or use this object's"),
                  QStringLiteral("Takes the value from the current object's own field"));
    QPushButton *saveDefault =
        AddButton(QStringLiteral("Save as default"),
                  QStringLiteral("Use this meaning of \"is near\" as the default."));
    QPushButton *wildcards =
        AddButton(QStringLiteral("Wildcard Help"), QStringLiteral("How patterns are written"));
    QPushButton *fieldHelp = AddButton(QStringLiteral("Help on Selected Field"),
                                       QStringLiteral("What the chosen field holds"));
    QPushButton *ok =
        AddButton(QStringLiteral("OK"), QStringLiteral("Select the objects by these criteria"));
    CloseButton()->setText(QStringLiteral("Cancel"));
    CloseButton()->setAccessibleDescription(
        QStringLiteral("Closes without changing the criteria; the selection goes on"));

    auto *side = new QVBoxLayout;
    for (QPushButton *button : {add, remove, up, down})
        side->addWidget(button);
    side->addSpacing(8);
    for (QPushButton *button : {open, save, fresh, revert})
        side->addWidget(button);
    side->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(m_lines, 1);
    top->addLayout(side);

    auto *grid = new QGridLayout;
    const auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("Examine this &field:"), m_field), 0, 0);
    grid->addWidget(m_field, 0, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("O&perator:"), m_operator), 0, 3);
    grid->addWidget(m_operator, 0, 4);
    grid->addWidget(label(QStringLiteral("&Look for this:"), m_value), 1, 0);
    auto *valueRow = new QHBoxLayout;
    valueRow->setSpacing(2);
    valueRow->addWidget(m_value, 1);
    valueRow->addWidget(m_patternButton);
    grid->addLayout(valueRow, 1, 1, 1, 2);
    grid->addWidget(thisObject, 1, 3, 1, 2);
    grid->addWidget(label(QStringLiteral("\"is &near\" means within"), m_radius), 2, 0);
    auto *radiusRow = new QHBoxLayout;
    radiusRow->addWidget(m_radius);
    radiusRow->addWidget(new QLabel(QStringLiteral("degrees."), this));
    radiusRow->addStretch(1);
    grid->addLayout(radiusRow, 2, 1, 1, 2);
    grid->addWidget(saveDefault, 2, 3, 1, 2);
    grid->setColumnStretch(1, 1);

    ButtonRow()->insertWidget(0, wildcards);
    ButtonRow()->insertWidget(1, fieldHelp);
    ButtonRow()->insertWidget(3, ok); // behind the stretch
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(grid);
    layout->addLayout(ButtonRow());

    connect(m_lines, &QListWidget::currentRowChanged, this, [this](int row) {
        LoadBoxes(row);
        UpdateButtons();
    });
    connect(m_value, &QLineEdit::textEdited, this, [this] { m_fromThisObject = 0; });
    connect(add, &QPushButton::clicked, this, &CriteriaDialog::AddLine);
    connect(remove, &QPushButton::clicked, this, &CriteriaDialog::DeleteLine);
    connect(up, &QPushButton::clicked, this, [this] { MoveLine(-1); });
    connect(down, &QPushButton::clicked, this, [this] { MoveLine(1); });
    connect(open, &QPushButton::clicked, this, &CriteriaDialog::AskOpen);
    connect(save, &QPushButton::clicked, this, &CriteriaDialog::AskSave);
    connect(fresh, &QPushButton::clicked, this,
            [this] { emit EndAsked(DialogEnd::RememberAndDefineNew); });
    connect(revert, &QPushButton::clicked, this, [this] { emit EndAsked(DialogEnd::Revert); });
    connect(ok, &QPushButton::clicked, this, [this] { emit EndAsked(DialogEnd::Accept); });
    connect(thisObject, &QPushButton::clicked, this, &CriteriaDialog::UseThisObject);
    connect(saveDefault, &QPushButton::clicked, this,
            [this] { StoreDefaultNear(m_settings, LeadingReal(m_radius->text().toStdString())); });
    connect(wildcards, &QPushButton::clicked, this,
            [this] { emit HelpAsked(QStringLiteral("patterns.html")); });
    connect(fieldHelp, &QPushButton::clicked, this, [this] {
        const int field = m_field->currentData().isValid() ? m_field->currentData().toInt() : -1;
        emit HelpAsked(QString::fromStdString(FieldHelpPage(field)));
    });
    ok->setDefault(true);
    ClearBoxes();
    UpdateButtons();
    RestorePosition();
}

CriteriaDialog::~CriteriaDialog() = default;

QPushButton *CriteriaDialog::AddButton(const QString &text, const QString &tip) {
    auto *button = new QPushButton(text, this);
    button->setToolTip(tip);
    button->setAccessibleDescription(tip);
    // Return in a box must not press a button as well.
    button->setAutoDefault(false);
    return button;
}

QPushButton *CriteriaDialog::Button(const QString &text) const {
    for (QPushButton *button : findChildren<QPushButton *>())
        if (button->text() == text)
            return button;
    return nullptr;
}

void CriteriaDialog::FillFieldList() {
    auto *model = qobject_cast<QStandardItemModel *>(m_field->model());
    const FieldTree tree = FieldTable::BuildTree(false);
    for (const FieldTreeItem &group : tree.groups) {
        m_field->addItem(QString::fromStdString(group.text), kFieldTreeHeading);
        if (model)
            model->item(m_field->count() - 1)->setEnabled(false);
        for (const FieldTreeItem &child : group.children)
            m_field->addItem(QStringLiteral("  ") + QString::fromStdString(child.text),
                             child.value);
    }
}

bool CriteriaDialog::SelectField(int32_t field) {
    const int at = m_field->findData(field);
    if (at < 0 || field == kFieldTreeHeading)
        return false;
    m_field->setCurrentIndex(at);
    return true;
}

void CriteriaDialog::Edit(const SelectionCriteria &criteria) {
    m_edited->CopyFrom(criteria);
    ShowLines(-1);
    ClearBoxes();
}

int CriteriaDialog::SelectedRow() const {
    const int row = m_lines->currentRow();
    return row >= 0 && row < m_edited->LineCount() && m_lines->currentItem() &&
                   m_lines->currentItem()->isSelected()
               ? row
               : -1;
}

void CriteriaDialog::ShowLines(int select) {
    const QSignalBlocker blocker(m_lines);
    m_lines->clear();
    const int set = m_doc.GreekSet();
    for (const CriteriaLine &line : m_edited->Lines())
        m_lines->addItem(DecodeRecordText(line.description, set));
    m_lines->setCurrentRow(select);
    if (select < 0)
        m_lines->clearSelection();
    UpdateButtons();
}

void CriteriaDialog::ClearBoxes() {
    m_field->setCurrentIndex(-1);
    m_operator->setCurrentIndex(0);
    m_value->clear();
    m_fromThisObject = 0;
    m_radius->setText(QString::fromStdString(FormatReal(DefaultNearRadius(m_settings.Profile()))));
}

void CriteriaDialog::LoadBoxes(int row) {
    if (row < 0 || row >= m_edited->LineCount())
        return;
    const CriteriaLine &line = m_edited->Line(row);
    if (!IsStructural(line.op) && !SelectField(line.field))
        m_field->setCurrentIndex(-1);
    m_operator->setCurrentIndex(m_operator->findData(line.op));
    m_value->setText(DecodeRecordText(line.value, m_doc.GreekSet()));
    m_fromThisObject = line.fromThisObject;
    m_radius->setText(QString::fromStdString(FormatReal(line.radius)));
}

void CriteriaDialog::UpdateButtons() {
    const LineButtons enabled = LineButtonsFor(SelectedRow(), m_edited->LineCount());
    Button(QStringLiteral("Delete Line"))->setEnabled(enabled.deleteLine);
    Button(QStringLiteral("Move Up"))->setEnabled(enabled.moveUp);
    Button(QStringLiteral("Move Down"))->setEnabled(enabled.moveDown);
}

CriteriaLine CriteriaDialog::LineFromBoxes() const {
    CriteriaLine line;
    line.op = m_operator->currentData().toInt();
    const int field = m_field->currentData().isValid() ? m_field->currentData().toInt() : -1;
    // "or" and the parentheses look at no field and hold no value; the file still holds a
    // valid field number. "is near" looks at the position whatever the field.
    line.field = FieldTable::IsValidField(field) ? field : line.op == op::Near ? field::RaDec : 0;
    if (!IsStructural(line.op))
        line.value = EncodeRecordText(m_value->text(), m_doc.GreekSet());
    line.radius = LeadingReal(m_radius->text().toStdString());
    line.fromThisObject = m_fromThisObject;
    return line;
}

void CriteriaDialog::AddLine() {
    CriteriaLine line = LineFromBoxes();
    const int field = m_field->currentData().isValid() ? m_field->currentData().toInt() : -1;
    if (!IsStructural(line.op) && line.op != op::Near && !FieldTable::IsValidField(field)) {
        m_doc.Host().MessageBox("Choose the field to examine first.", kTitle,
                                platform::Buttons::Ok);
        return;
    }
    // An "is near" line without a position is refused at once, as OK would refuse it.
    if (auto message = CheckNearValues(std::span<const CriteriaLine>(&line, 1))) {
        m_doc.Host().MessageBox(*message, kTitle, platform::Buttons::Ok);
        return;
    }
    const int at = NewLinePosition(SelectedRow(), m_edited->LineCount());
    m_edited->InsertLine(at, std::move(line));
    ShowLines(at);
}

void CriteriaDialog::DeleteLine() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    m_edited->RemoveLine(row);
    ShowLines(std::min(row, m_edited->LineCount() - 1));
}

void CriteriaDialog::MoveLine(int step) {
    const int row = SelectedRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= m_edited->LineCount())
        return;
    m_edited->MoveLine(row, to);
    ShowLines(to);
}

void CriteriaDialog::UseThisObject() {
    const int field = m_field->currentData().isValid() ? m_field->currentData().toInt() : -1;
    const int current = m_doc.CurrentIndex();
    if (!FieldTable::IsValidField(field) || current < 0)
        return;
    m_value->setText(DecodeRecordText(m_doc.GetText(field, current), m_doc.GreekSet()));
    m_fromThisObject = 1;
}

void CriteriaDialog::InsertPattern(PatternMenuEntry entry) {
    const int set = m_doc.GreekSet();
    ValueBox box;
    box.text = EncodeRecordText(m_value->text(), set);
    if (m_value->hasSelectedText()) {
        box.selectionStart = m_value->selectionStart();
        box.selectionEnd = m_value->selectionEnd();
    } else {
        box.selectionStart = box.selectionEnd = m_value->cursorPosition();
    }
    const ValueBox changed = ApplyPatternMenuEntry(entry, box);
    m_value->setText(DecodeRecordText(changed.text, set));
    m_value->setCursorPosition(changed.selectionEnd);
    m_value->setFocus();
    m_fromThisObject = 0;
}

bool CriteriaDialog::OpenFile(const QString &path) {
    if (!m_edited->ReadFile(LocalPath(path)))
        return false;
    ShowLines(-1);
    ClearBoxes();
    return true;
}

bool CriteriaDialog::SaveFile(const QString &path) {
    return m_edited->WriteFile(WithExtension(LocalPath(path), kCriteriaExtension));
}

void CriteriaDialog::AskOpen() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open Selection Criteria"), {}, kFilter);
    if (!path.isEmpty())
        OpenFile(path);
}

void CriteriaDialog::AskSave() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save Selection Criteria"), {}, kFilter);
    if (!path.isEmpty())
        SaveFile(path);
}

} // namespace vespario::ui
