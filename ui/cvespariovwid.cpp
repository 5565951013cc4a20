#include "ui/cvespariovwid.h"

#include "db/cvespariodoc.h"
#include "platform/clock.h"
#include "select/idbox.h"
#include "ui/furthermatcheswindow.h"
#include "ui/greektext.h"
#include "ui/selectionlistmodel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace vespario::ui {

CVesparioVwId::CVesparioVwId(CVesparioDoc &doc, QWidget *parent)
    : QWidget(parent), m_doc(doc), m_strip(new QLabel(this)), m_idBox(new QComboBox(this)),
      m_more(new QToolButton(this)), m_view(new QListView(this)),
      m_model(new SelectionListModel(doc, this)) {
    setObjectName(QStringLiteral("CVesparioVwId"));
    m_strip->setText(QStringLiteral("  Objects"));
    m_strip->setFixedHeight(20);
    m_strip->setAutoFillBackground(true);
    m_strip->setStyleSheet(
        QStringLiteral("background: #ffef6e; color: #202040; font-weight: bold"));
    m_strip->setAccessibleName(QStringLiteral("Object list"));

    m_idBox->setEditable(true);
    m_idBox->setInsertPolicy(QComboBox::NoInsert);
    m_idBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_idBox->setMinimumContentsLength(4);
    m_idBox->setMaxCount(static_cast<int>(IdHistory::kCapacity));
    m_idBox->setAccessibleName(QStringLiteral("ID"));
    m_idBox->setAccessibleDescription(QStringLiteral(
        "Type an object's ID to go to it; the drop-down holds the recently visited IDs"));
    m_idBox->setToolTip(QStringLiteral("Type an ID (Ctrl+G); the list holds recent IDs"));
    m_idBox->lineEdit()->setAccessibleName(QStringLiteral("ID"));
    m_idBox->lineEdit()->setAccessibleDescription(m_idBox->accessibleDescription());
    m_more->setText(QStringLiteral(">"));
    m_more->setFixedWidth(20);
    m_more->setEnabled(false);
    m_more->setAccessibleName(QStringLiteral("More matches"));
    m_more->setAccessibleDescription(
        QStringLiteral("Lists every object whose designation matches the typed ID"));
    m_more->setToolTip(QStringLiteral("Further objects that match the typed ID"));
    m_more->setFocusPolicy(Qt::TabFocus);

    m_view->setModel(m_model);
    m_view->setUniformItemSizes(true); // no row is measured that is not shown
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAccessibleName(QStringLiteral("Selected objects"));
    m_view->setAccessibleDescription(
        QStringLiteral("The IDs of the selected objects in the current sort order"));

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_idBox, 1);
    row->addWidget(m_more);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_strip);
    layout->addLayout(row);
    layout->addWidget(m_view, 1);
    setTabOrder(m_idBox, m_more);
    setTabOrder(m_more, m_view);

    connect(m_idBox->lineEdit(), &QLineEdit::textEdited, this, &CVesparioVwId::TypedTextChanged);
    connect(m_idBox->lineEdit(), &QLineEdit::returnPressed, this, &CVesparioVwId::LookUpTypedNow);
    connect(m_idBox, &QComboBox::activated, this, &CVesparioVwId::HistoryPicked);
    connect(m_more, &QToolButton::clicked, this, &CVesparioVwId::ShowFurtherMatches);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (!m_syncing && current.isValid())
                    RowPicked(current.row());
            });
}

CVesparioVwId::~CVesparioVwId() {
    if (m_engine)
        m_engine->SetObserver(nullptr);
}

void CVesparioVwId::ResetEngine() {
    m_model->SetList(nullptr);
    m_engine = std::make_unique<ObjectList>(m_doc);
    m_engine->SetObserver(this);
    m_model->SetList(m_engine.get());
    m_shownHistory.clear();
    m_syncing = true;
    m_idBox->clear();
    m_syncing = false;
    if (m_matches)
        m_matches->close();
    SyncControls();
    emit WorkGiven();
}

void CVesparioVwId::ApplyFont(const QFont &font) {
    m_view->setFont(font);
    m_idBox->setFont(font);
}

void CVesparioVwId::RowsChanged() {
    m_model->Refresh();
    ShowCurrentRow();
}

void CVesparioVwId::CurrentObjectChanged(int record) {
    (void)record;
    m_model->Refresh();
    ShowCurrentRow();
    if (!m_idBox->hasFocus())
        SetBoxTextToCurrent();
}

void CVesparioVwId::ShowCurrentRow() {
    if (!m_engine)
        return;
    const int position = m_engine->CurrentPosition();
    m_syncing = true;
    if (position >= 0 && position < m_model->rowCount()) {
        const QModelIndex index = m_model->index(position);
        m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_view->scrollTo(index);
    } else {
        m_view->selectionModel()->clearSelection();
    }
    m_syncing = false;
}

void CVesparioVwId::SetBoxTextToCurrent() {
    const ObjectRecord *current = m_doc.CurrentRecord();
    if (!current)
        return;
    std::string_view id = current->Field(field::Id).substr(0, IdHistory::kIdLength);
    m_syncing = true;
    m_idBox->setEditText(DecodeRecordText(id, m_doc.GreekSet()));
    m_syncing = false;
}

void CVesparioVwId::SyncControls() {
    if (!m_engine)
        return;
    m_more->setEnabled(m_engine->Typing().FurtherMatchesEnabled());
    const std::vector<std::string> &entries = m_engine->History().Entries();
    if (entries == m_shownHistory)
        return;
    m_shownHistory = entries;
    const QString text = m_idBox->currentText();
    m_syncing = true;
    m_idBox->clear();
    for (const std::string &entry : entries)
        m_idBox->addItem(DecodeRecordText(entry, m_doc.GreekSet()));
    m_idBox->setCurrentIndex(-1);
    m_idBox->setEditText(text);
    m_syncing = false;
}

void CVesparioVwId::TypedTextChanged(const QString &text) {
    if (m_syncing || !m_engine)
        return;
    m_engine->Typing().TextChanged(EncodeRecordText(text, m_doc.GreekSet()), platform::TickCount());
    emit WorkGiven();
}

void CVesparioVwId::LookUpTypedNow() {
    if (!m_engine || m_idBox->currentText().isEmpty())
        return;
    emit BeforeNavigate();
    const std::string typed = EncodeRecordText(m_idBox->currentText(), m_doc.GreekSet());
    m_engine->Typing().LookUpAfter(typed, platform::TickCount(), 0);
    m_engine->Typing().LookUpNow();
    SyncControls();
}

void CVesparioVwId::HistoryPicked(int index) {
    if (m_syncing || !m_engine || index < 0 || index >= static_cast<int>(m_shownHistory.size()))
        return;
    emit BeforeNavigate();
    m_engine->PickHistoryEntry(m_shownHistory[static_cast<size_t>(index)]);
    SyncControls();
}

void CVesparioVwId::RowPicked(int row) {
    if (!m_engine || row == m_engine->CurrentPosition())
        return;
    emit BeforeNavigate();
    if (m_engine->GoTo(row, -1) && m_doc.CurrentRecord())
        m_engine->History().Enter(m_doc.CurrentRecord()->Field(field::Id));
    SyncControls();
    emit WorkGiven();
}

void CVesparioVwId::ShowFurtherMatches() {
    if (!m_engine || m_idBox->currentText().isEmpty())
        return;
    const std::string typed = EncodeRecordText(m_idBox->currentText(), m_doc.GreekSet());
    if (m_matches)
        m_matches->close();
    m_matches = new FurtherMatchesWindow(m_doc, FurtherMatches(m_doc, typed), this);
    m_matches->setWindowFlag(Qt::Tool);
    connect(m_matches, &FurtherMatchesWindow::Chosen, this, &CVesparioVwId::ChooseMatch);
    m_matches->show();
    m_matches->List()->setFocus();
}

void CVesparioVwId::ChooseMatch(int identity) {
    const int record = m_doc.RecordIndexOfIdentity(identity);
    if (!m_engine || record < 0)
        return;
    emit BeforeNavigate();
    if (m_engine->GoTo(-1, record) && m_doc.CurrentRecord())
        m_engine->History().Enter(m_doc.CurrentRecord()->Field(field::Id));
    SyncControls();
}

} // namespace vespario::ui
