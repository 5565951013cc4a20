#include "ui/codepagewidget.h"

#include "ui/pagerows.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vespario::ui {

QString AccessibleLabel(const QString &label) {
    QString name = label;
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

CodePageWidget::CodePageWidget(CodePageModel &model, const QString &explanation,
                               const QStringList &headers, QWidget *parent)
    : QWidget(parent), m_model(model), m_list(new QTreeWidget(this)), m_code(new QLineEdit(this)),
      m_meaning(new QLineEdit(this)), m_insert(new QPushButton(QStringLiteral("&Insert"), this)),
      m_delete(new QPushButton(QStringLiteral("&Delete"), this)), m_extras(new QVBoxLayout) {
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(explanation, this);
    text->setWordWrap(true);
    layout->addWidget(text);

    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setColumnCount(static_cast<int>(headers.size()));
    m_list->setHeaderLabels(headers);
    m_list->header()->setStretchLastSection(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAccessibleName(AccessibleLabel(headers.value(1)) + QStringLiteral(" list"));
    layout->addWidget(m_list, 1);

    auto *boxes = new QFormLayout;
    const QString codeLabel = headers.value(0) + QLatin1Char(':');
    const QString meaningLabel = headers.value(1) + QLatin1Char(':');
    boxes->addRow(codeLabel, m_code);
    boxes->addRow(meaningLabel, m_meaning);
    m_code->setAccessibleName(AccessibleLabel(codeLabel));
    m_meaning->setAccessibleName(AccessibleLabel(meaningLabel));
    const size_t limit = model.Traits().codeBoxLimit;
    if (limit > 0)
        m_code->setMaxLength(static_cast<int>(limit));
    layout->addLayout(boxes);
    layout->addLayout(m_extras);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_insert);
    buttons->addWidget(m_delete);
    m_insert->setAccessibleDescription(
        QStringLiteral("Puts a new row in front of the selected one"));
    m_delete->setAccessibleDescription(QStringLiteral("Removes the selected row"));
    for (QPushButton *button : {m_insert, m_delete})
        button->setAutoDefault(false);
    layout->addLayout(buttons);

    ConnectRowSelection(
        m_list, m_syncing, [this](int row) { m_model.Select(row); }, [this] { Sync(); });
    connect(m_code, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_model.SetCodeText(text.toStdString());
        RowEdited();
    });
    connect(m_meaning, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_model.SetMeaningText(text.toStdString());
        RowEdited();
    });
    ConnectRowButtons(
        m_insert, m_delete, [this] { return m_model.Insert(); }, [this] { m_model.Delete(); },
        [this] { Sync(); }, m_code);
}

QStringList CodePageWidget::Columns(const std::string &row) const {
    const QString text = QString::fromStdString(row);
    const int separator = text.indexOf(QLatin1Char(m_model.Traits().rowSeparator));
    if (separator < 0)
        return {text};
    const QString rest = text.mid(separator + 1);
    return {text.left(separator), rest.left(rest.indexOf(QLatin1Char('\t')))};
}

void CodePageWidget::SyncRows() {
    std::vector<std::string> texts;
    texts.reserve(m_model.Rows().size());
    for (const PageRow &row : m_model.Rows())
        texts.push_back(row.text);
    ShowRows(
        m_list, texts, [this](const std::string &row) { return Columns(row); }, m_model.Selected());
}

void CodePageWidget::Sync() {
    m_syncing = true;
    SyncRows();
    // Only a text the model changed is written back, so that the cursor stays put.
    const QString code = QString::fromStdString(m_model.CodeText());
    if (m_code->text() != code)
        m_code->setText(code);
    const QString meaning = QString::fromStdString(m_model.MeaningText());
    if (m_meaning->text() != meaning)
        m_meaning->setText(meaning);
    m_code->setEnabled(m_model.CodeEnabled());
    m_meaning->setEnabled(m_model.MeaningEnabled());
    m_delete->setEnabled(m_model.DeleteEnabled());
    SyncExtras();
    m_syncing = false;
}

void CodePageWidget::RowEdited() {
    if (!m_syncing)
        Sync();
}

} // namespace vespario::ui
