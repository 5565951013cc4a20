#include "ui/sortdialog.h"

#include "db/cvespariodoc.h"
#include "db/fieldtable.h"
#include "select/criterialine.h"
#include "select/smallfile.h"
#include "select/sortedit.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vespario::ui {
namespace {

const QString kFilter = QStringLiteral("Vespario Sort Order (*.srt)");

QString Latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string LocalPath(const QString &path) {
    return path.toLocal8Bit().toStdString();
}

} // namespace

DialogEnd SortDialog::EndOf(int result) {
    switch (result) {
    case kRevert:
        return DialogEnd::Revert;
    case kRememberAndDefineNew:
        return DialogEnd::RememberAndDefineNew;
    default:
        return DialogEnd::Accept;
    }
}

SortDialog::SortDialog(CVesparioDoc &doc, platform::IniProfile &profile, const SortOrder &current,
                       QWidget *parent)
    : ToolWindow(profile, "SortDlgPos", QStringLiteral("sortorder.html"), parent), m_doc(doc),
      m_edited(std::make_unique<SortOrder>(doc)), m_available(new QTreeWidget(this)),
      m_keys(new QTreeWidget(this)) {
    setWindowTitle(QStringLiteral("Edit Sort Order"));
    setModal(true);
    m_edited->CopyFrom(current);
    m_edited->SetName(current.Name());

    m_available->setHeaderHidden(true);
    m_available->setAccessibleName(QStringLiteral("Fields available for sorting"));
    m_available->setAccessibleDescription(
        QStringLiteral("Choose a field and press Add to sort by it"));
    m_keys->setColumnCount(3);
    m_keys->setHeaderLabels(
        {QStringLiteral("Field"), QStringLiteral("Case"), QStringLiteral("Order")});
    m_keys->setRootIsDecorated(false);
    m_keys->header()->setStretchLastSection(false);
    m_keys->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_keys->setAccessibleName(QStringLiteral("Fields selected for sort"));
    m_keys->setAccessibleDescription(
        QStringLiteral("The sort keys, first key first, each with its case and order"));
    FillAvailable();

    m_add = AddButton(QStringLiteral("Add"),
                      QStringLiteral("Add the field selected on the left to the sort order on "
                                     "the right"));
    QPushButton *remove = AddButton(QStringLiteral("Delete"),
                                    QStringLiteral("Delete the selected field from the sort order "
                                                   "on the right"));
    QPushButton *open =
        AddButton(QStringLiteral("Open"), QStringLiteral("Read a sort order from a file"));
    QPushButton *save =
        AddButton(QStringLiteral("SaveAs"), QStringLiteral("Save the sort order to a file"));
    QPushButton *fresh = AddButton(
        QStringLiteral("New"), QStringLiteral("Remember this sort order, and start defining a new "
                                              "one"));
    QPushButton *revert =
        AddButton(QStringLiteral("Close"),
                  QStringLiteral("Close this sort order, and revert to the last remembered one"));
    QPushButton *fieldHelp = AddButton(QStringLiteral("Help on Selected Field"),
                                       QStringLiteral("What the chosen field holds"));
    QPushButton *ok =
        AddButton(QStringLiteral("OK"), QStringLiteral("Sort the objects by these keys"));
    CloseButton()->setText(QStringLiteral("Cancel"));
    CloseButton()->setAccessibleDescription(
        QStringLiteral("Closes without changing the sort order; the selection goes on"));

    auto *middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(m_add);
    middle->addWidget(remove);
    middle->addSpacing(8);
    for (QPushButton *button : {open, save, fresh, revert})
        middle->addWidget(button);
    middle->addStretch(1);
    const auto column = [this](const QString &text, QWidget *list) {
        auto *box = new QVBoxLayout;
        auto *label = new QLabel(text, this);
        label->setBuddy(list);
        box->addWidget(label);
        box->addWidget(list, 1);
        return box;
    };
    auto *top = new QHBoxLayout;
    top->addLayout(column(QStringLiteral("Fields &available for sorting"), m_available), 1);
    top->addLayout(middle);
    top->addLayout(column(QStringLiteral("Fields &selected for sort"), m_keys), 2);
    ButtonRow()->insertWidget(0, fieldHelp);
    ButtonRow()->insertWidget(2, ok); // behind the stretch
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(ButtonRow());

    connect(m_keys, &QTreeWidget::itemSelectionChanged, this, &SortDialog::UpdateButtons);
    connect(m_available, &QTreeWidget::itemSelectionChanged, this, &SortDialog::UpdateButtons);
    connect(m_available, &QTreeWidget::itemDoubleClicked, this, &SortDialog::AddKey);
    connect(m_add, &QPushButton::clicked, this, &SortDialog::AddKey);
    connect(remove, &QPushButton::clicked, this, &SortDialog::DeleteKey);
    connect(open, &QPushButton::clicked, this, &SortDialog::AskOpen);
    connect(save, &QPushButton::clicked, this, &SortDialog::AskSave);
    connect(fresh, &QPushButton::clicked, this, [this] { done(kRememberAndDefineNew); });
    connect(revert, &QPushButton::clicked, this, [this] { done(kRevert); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(fieldHelp, &QPushButton::clicked, this, [this] {
        const QTreeWidgetItem *item = m_available->currentItem();
        emit HelpAsked(
            QString::fromStdString(FieldHelpPage(item ? item->data(0, Qt::UserRole).toInt() : -1)));
    });
    ok->setDefault(true);
    ShowKeys(-1);
    RestorePosition();
}

SortDialog::~SortDialog() = default;

QPushButton *SortDialog::AddButton(const QString &text, const QString &tip) {
    auto *button = new QPushButton(text, this);
    button->setToolTip(tip);
    button->setAccessibleDescription(tip);
    button->setAutoDefault(false);
    return button;
}

QPushButton *SortDialog::Button(const QString &text) const {
    for (QPushButton *button : findChildren<QPushButton *>())
        if (button->text() == text)
            return button;
    return nullptr;
}

void SortDialog::FillAvailable() {
    const FieldTree tree = FieldTable::BuildTree(false);
    for (const FieldTreeItem &group : tree.groups) {
        auto *heading = new QTreeWidgetItem(m_available, {QString::fromStdString(group.text)});
        heading->setData(0, Qt::UserRole, kFieldTreeHeading);
        for (const FieldTreeItem &child : group.children) {
            auto *item = new QTreeWidgetItem(heading, {QString::fromStdString(child.text)});
            item->setData(0, Qt::UserRole, child.value);
        }
    }
}

bool SortDialog::SelectAvailable(int32_t field) {
    for (int g = 0; g < m_available->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = m_available->topLevelItem(g);
        for (int c = 0; c < group->childCount(); ++c) {
            if (group->child(c)->data(0, Qt::UserRole).toInt() != field)
                continue;
            m_available->setCurrentItem(group->child(c));
            return true;
        }
    }
    return false;
}

int SortDialog::SelectedKey() const {
    QTreeWidgetItem *item = m_keys->currentItem();
    if (!item || !item->isSelected())
        return -1;
    const int row = m_keys->indexOfTopLevelItem(item);
    return row < m_edited->KeyCount() ? row : -1;
}

void SortDialog::ShowKeys(int select) {
    const QSignalBlocker blocker(m_keys);
    m_keys->clear();
    for (int i = 0; i < m_edited->KeyCount(); ++i) {
        const SortKey &key = m_edited->Key(i);
        const QString name = QString::fromStdString(FieldDisplayName(key.field));
        auto *item =
            new QTreeWidgetItem(m_keys, {name, Latin(CaseText(key)), Latin(OrderText(key))});
        // The two flags are changed in their cells.
        const auto cell = [&](int columnNo, std::string_view what, std::string_view first,
                              std::string_view second, int current, auto set) {
            auto *combo = new QComboBox(m_keys);
            combo->addItem(Latin(first));
            combo->addItem(Latin(second));
            combo->setCurrentIndex(current);
            combo->setAccessibleName(QStringLiteral("%1 of %2").arg(Latin(what), name));
            combo->setAccessibleDescription(QStringLiteral("How the key %1 is compared").arg(name));
            m_keys->setItemWidget(item, columnNo, combo);
            connect(combo, &QComboBox::currentIndexChanged, this, [this, i, set](int index) {
                SortKey changed = m_edited->Key(i);
                set(changed, index);
                m_edited->SetKey(i, changed);
                if (QTreeWidgetItem *row = m_keys->topLevelItem(i)) {
                    row->setText(1, Latin(CaseText(changed)));
                    row->setText(2, Latin(OrderText(changed)));
                }
            });
        };
        cell(1, "Case", "Insensitive", "Sensitive", key.caseSensitive != 0 ? 1 : 0,
             [](SortKey &k, int index) { k.caseSensitive = index; });
        cell(2, "Order", "Ascending", "Descending", key.direction != 0 ? 1 : 0,
             [](SortKey &k, int index) { k.direction = index; });
    }
    if (select >= 0 && select < m_keys->topLevelItemCount())
        m_keys->setCurrentItem(m_keys->topLevelItem(select));
    else
        m_keys->setCurrentItem(nullptr);
    UpdateButtons();
}

void SortDialog::UpdateButtons() {
    const int selected = SelectedKey();
    m_add->setText(Latin(AddKeyCaption(selected, m_edited->KeyCount())));
    QTreeWidgetItem *field = m_available->currentItem();
    m_add->setEnabled(field && field->data(0, Qt::UserRole).toInt() != kFieldTreeHeading);
    Button(QStringLiteral("Delete"))->setEnabled(selected >= 0);
}

void SortDialog::AddKey() {
    QTreeWidgetItem *field = m_available->currentItem();
    if (!field)
        return;
    const int n = field->data(0, Qt::UserRole).toInt();
    if (!FieldTable::IsValidField(n))
        return;
    const int selected = SelectedKey();
    m_edited->InsertKey(NewKeyPosition(selected, m_edited->KeyCount()), NewSortKey(n));
    // The selected key, one further down now, stays selected for the next insert.
    ShowKeys(selected >= 0 ? selected + 1 : -1);
}

void SortDialog::DeleteKey() {
    const int selected = SelectedKey();
    if (selected < 0)
        return;
    m_edited->RemoveKey(selected);
    ShowKeys(std::min(selected, m_edited->KeyCount() - 1));
}

bool SortDialog::OpenFile(const QString &path) {
    if (!m_edited->ReadFile(LocalPath(path)))
        return false;
    ShowKeys(-1);
    return true;
}

bool SortDialog::SaveFile(const QString &path) {
    return m_edited->WriteFile(WithExtension(LocalPath(path), kSortExtension));
}

void SortDialog::AskOpen() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open Sort Order"), {}, kFilter);
    if (!path.isEmpty())
        OpenFile(path);
}

void SortDialog::AskSave() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save Sort Order"), {}, kFilter);
    if (!path.isEmpty())
        SaveFile(path);
}

} // namespace vespario::ui
