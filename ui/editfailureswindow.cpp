#include "ui/editfailureswindow.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vespario::ui {
namespace {

enum Role { kIdentity = Qt::UserRole, kField, kStart, kEnd };

} // namespace

EditFailuresWindow::EditFailuresWindow(platform::IniProfile &profile, QWidget *parent)
    : ToolWindow(profile, "EditErrsDlgPos", QStringLiteral("checks.html"), parent),
      m_list(new QListWidget(this)), m_view(new QPushButton(QStringLiteral("&View"), this)),
      m_viewNext(new QPushButton(QStringLiteral("View &Next"), this)) {
    setWindowTitle(QStringLiteral("Edit Failures"));
    // One line each: with tens of thousands of lines, measuring every one again on each
    // layout held the event loop for most of a second.
    m_list->setUniformItemSizes(true);
    m_list->setAccessibleName(QStringLiteral("Edit failures"));
    m_list->setAccessibleDescription(
        QStringLiteral("Each failure of a record edit check, with the record's ID"));
    m_view->setAccessibleDescription(QStringLiteral("Goes to the record of the selected line"));
    m_viewNext->setAccessibleDescription(QStringLiteral("Goes to the record of the next line"));
    CloseButton()->setText(QStringLiteral("OK"));
    CloseButton()->setAccessibleDescription(QStringLiteral("Closes the list; its lines stay"));
    for (QPushButton *button : {m_view, m_viewNext})
        button->setAutoDefault(false);
    ButtonRow()->insertWidget(0, m_viewNext);
    ButtonRow()->insertWidget(0, m_view);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(ButtonRow());
    connect(m_view, &QPushButton::clicked, this, [this] { ViewRow(m_list->currentRow()); });
    connect(m_viewNext, &QPushButton::clicked, this, [this] { ViewRow(m_list->currentRow() + 1); });
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { ViewRow(m_list->row(item)); });
    resize(520, 300);
    RestorePosition();
}

void EditFailuresWindow::AddFailure(const EditFailure &failure, const QString &id) {
    auto *item = new QListWidgetItem(
        id + QStringLiteral("  ") +
        QString::fromLocal8Bit(failure.line.data(), static_cast<qsizetype>(failure.line.size())));
    item->setData(kIdentity, failure.identity);
    item->setData(kField, failure.field);
    item->setData(kStart, failure.start);
    item->setData(kEnd, failure.end);
    m_list->addItem(item);
}

void EditFailuresWindow::Clear() {
    m_list->clear();
}

void EditFailuresWindow::ViewRow(int row) {
    QListWidgetItem *item = m_list->item(row);
    if (!item)
        return;
    m_list->setCurrentRow(row);
    emit ViewAsked(item->data(kIdentity).toInt(), item->data(kField).toInt(),
                   item->data(kStart).toInt(), item->data(kEnd).toInt());
}

} // namespace vespario::ui
