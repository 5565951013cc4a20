#include "ui/furthermatcheswindow.h"

#include "db/cvespariodoc.h"
#include "ui/greektext.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vespario::ui {

FurtherMatchesWindow::FurtherMatchesWindow(CVesparioDoc &doc, const std::vector<int> &records,
                                           QWidget *parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Matching Objects"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_list->setAccessibleName(QStringLiteral("Matching objects"));
    m_list->setAccessibleDescription(
        QStringLiteral("The objects whose designations match the typed ID"));
    m_list->setUniformItemSizes(true);
    // Identities, not indexes: a selection pass may move the records while the window is open.
    for (int record : records) {
        m_identities.push_back(doc.Record(record).m_identity);
        m_list->addItem(DecodeRecordText(doc.Record(record).Field(field::Id), doc.GreekSet()));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)
        ->setAccessibleDescription(QStringLiteral("Makes the chosen object current"));
    buttons->button(QDialogButtonBox::Cancel)
        ->setAccessibleDescription(QStringLiteral("Closes this window"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &FurtherMatchesWindow::Choose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemActivated, this, &FurtherMatchesWindow::Choose);
    resize(260, 320);
}

void FurtherMatchesWindow::Choose() {
    const int row = m_list->currentRow();
    if (row >= 0 && row < static_cast<int>(m_identities.size()))
        emit Chosen(m_identities[static_cast<size_t>(row)]);
    accept();
}

} // namespace vespario::ui
