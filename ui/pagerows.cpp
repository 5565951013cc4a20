#include "ui/pagerows.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace vespario::ui {

void ShowRows(QTreeWidget *list, const std::vector<std::string> &rows,
              const std::function<QStringList(const std::string &)> &columns, int selected) {
    if (list->topLevelItemCount() != static_cast<int>(rows.size())) {
        list->clear();
        QList<QTreeWidgetItem *> items;
        for (const std::string &row : rows)
            items << new QTreeWidgetItem(columns(row));
        list->addTopLevelItems(items);
    } else {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = list->topLevelItem(i);
            const QStringList texts = columns(rows[static_cast<size_t>(i)]);
            for (int c = 0; c < texts.size(); ++c)
                if (item->text(c) != texts[c])
                    item->setText(c, texts[c]);
        }
    }
    if (selected >= 0) {
        list->setCurrentItem(list->topLevelItem(selected));
        return;
    }
    list->setCurrentItem(nullptr);
    list->clearSelection();
}

void ShowText(QLineEdit *box, const std::string &value) {
    const QString text = QString::fromStdString(value);
    if (box->text() != text)
        box->setText(text);
}

void ConnectRowButtons(QPushButton *insert, QPushButton *remove, std::function<bool()> insertRow,
                       std::function<void()> deleteRow, std::function<void()> sync,
                       QLineEdit *first) {
    QObject::connect(insert, &QPushButton::clicked, insert, [=] {
        if (!insertRow())
            return;
        sync();
        if (!first)
            return;
        first->setFocus(Qt::OtherFocusReason);
        first->selectAll();
    });
    QObject::connect(remove, &QPushButton::clicked, remove, [=] {
        deleteRow();
        sync();
    });
}

void ConnectRowSelection(QTreeWidget *list, const bool &syncing, std::function<void(int)> select,
                         std::function<void()> sync) {
    QObject::connect(list, &QTreeWidget::currentItemChanged, list,
                     [list, &syncing, select, sync](QTreeWidgetItem *item) {
                         if (syncing)
                             return;
                         select(item ? list->indexOfTopLevelItem(item) : -1);
                         sync();
                     });
}

bool BrowseForProgram(QWidget *parent, const std::string &title, const QString &start,
                      QLineEdit *box) {
    const QString file = QFileDialog::getOpenFileName(parent, QString::fromStdString(title), start,
                                                      QStringLiteral("Programs (*)"));
    if (file.isEmpty())
        return false;
    box->setText(file);
    return true;
}

} // namespace vespario::ui
