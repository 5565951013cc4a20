#include "ui/helperapppagewidget.h"

#include "ui/pagerows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vespario::ui {

HelperAppPageWidget::HelperAppPageWidget(HelperAppPageModel &model, QWidget *parent)
    : QWidget(parent), m_model(model), m_list(new QTreeWidget(this)),
      m_lookFor(new QLineEdit(this)), m_command(new QLineEdit(this)),
      m_useDde(new QCheckBox(QStringLiteral("Use &DDE"), this)), m_application(new QLineEdit(this)),
      m_topic(new QLineEdit(this)), m_method(new QComboBox(this)), m_message(new QLineEdit(this)),
      m_insert(new QPushButton(QStringLiteral("&Insert"), this)),
      m_delete(new QPushButton(QStringLiteral("De&lete"), this)),
      m_browse(new QPushButton(QStringLiteral("&Browse..."), this)),
      m_browsers(new QComboBox(this)), m_assist(new QPushButton(QStringLiteral("&Assist"), this)) {
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(QStringLiteral("The programs that open a link: a link whose text "
                                           "contains the look-for text is opened by its command."),
                            this);
    text->setWordWrap(true);
    layout->addWidget(text);
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Look for"), QStringLiteral("Command")});
    m_list->setAccessibleName(QStringLiteral("Helper applications"));
    layout->addWidget(m_list, 1);
    m_method->addItems({QStringLiteral("Request"), QStringLiteral("Execute")});
    for (std::string_view browser : kAssistBrowsers)
        m_browsers->addItem(
            QString::fromUtf8(browser.data(), static_cast<qsizetype>(browser.size())));
    auto *fields = new QFormLayout;
    const std::array<std::pair<const char *, QWidget *>, 6> rows = {
        {{"Look &for:", m_lookFor},
         {"&Command:", m_command},
         {"Applica&tion:", m_application},
         {"T&opic:", m_topic},
         {"&Method:", m_method},
         {"M&essage:", m_message}}};
    for (const auto &[label, field] : rows) {
        fields->addRow(QString::fromUtf8(label), field);
        QString name = QString::fromUtf8(label).remove(QLatin1Char('&'));
        name.chop(1);
        field->setAccessibleName(field == m_lookFor || field == m_command
                                     ? name
                                     : QStringLiteral("DDE ") + name.toLower());
        if (field == m_command)
            fields->addRow(QString(), m_useDde);
    }
    m_useDde->setAccessibleName(QStringLiteral("Use DDE"));
    m_browsers->setAccessibleName(QStringLiteral("Browser"));
    layout->addLayout(fields);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_browsers);
    buttons->addWidget(m_assist);
    buttons->addStretch(1);
    for (QPushButton *button : {m_browse, m_insert, m_delete})
        buttons->addWidget(button);
    for (QPushButton *button : {m_browse, m_insert, m_delete, m_assist})
        button->setAutoDefault(false);
    layout->addLayout(buttons);

    ConnectRowSelection(
        m_list, m_syncing, [this](int row) { m_model.Select(row); }, [this] { Sync(); });
    for (QLineEdit *edit : {m_lookFor, m_command, m_application, m_topic, m_message})
        connect(edit, &QLineEdit::textEdited, this, &HelperAppPageWidget::FieldsEdited);
    connect(m_useDde, &QCheckBox::toggled, this, &HelperAppPageWidget::FieldsEdited);
    connect(m_method, &QComboBox::currentIndexChanged, this, &HelperAppPageWidget::FieldsEdited);
    ConnectRowButtons(
        m_insert, m_delete, [this] { return m_model.Insert(); }, [this] { m_model.Delete(); },
        [this] { Sync(); }, m_lookFor);
    connect(m_assist, &QPushButton::clicked, this, [this] {
        m_model.Assist(m_browsers->currentIndex());
        Sync();
    });
    connect(m_browse, &QPushButton::clicked, this, [this] {
        if (BrowseForProgram(this, m_model.BrowseTitle(), QString(), m_command))
            FieldsEdited();
    });
}

void HelperAppPageWidget::FieldsEdited() {
    if (m_syncing)
        return;
    m_model.SetFields({m_lookFor->text().toStdString(), m_command->text().toStdString(),
                       m_useDde->isChecked(), m_application->text().toStdString(),
                       m_topic->text().toStdString(), m_method->currentIndex(),
                       m_message->text().toStdString()});
    Sync();
}

void HelperAppPageWidget::Sync() {
    m_syncing = true;
    const std::vector<std::string> &rows = m_model.Rows();
    const auto columns = [](const std::string &row) {
        const HelperAppFields fields = HelperAppPageModel::ParseRow(row);
        return QStringList{QString::fromStdString(fields.lookFor),
                           QString::fromStdString(fields.command)};
    };
    ShowRows(m_list, rows, columns, m_model.Selected());
    const HelperAppFields &fields = m_model.Fields();
    const std::array<std::pair<QLineEdit *, const std::string *>, 5> boxes = {
        {{m_lookFor, &fields.lookFor},
         {m_command, &fields.command},
         {m_application, &fields.ddeApplication},
         {m_topic, &fields.ddeTopic},
         {m_message, &fields.ddeMessage}}};
    for (const auto &[box, value] : boxes)
        ShowText(box, *value);
    m_useDde->setChecked(fields.useDde);
    m_method->setCurrentIndex(fields.ddeMethod);
    for (QWidget *field :
         std::initializer_list<QWidget *>{m_lookFor, m_command, m_useDde, m_browse})
        field->setEnabled(m_model.FieldsEnabled());
    for (QWidget *field :
         std::initializer_list<QWidget *>{m_application, m_topic, m_method, m_message})
        field->setEnabled(m_model.DdeFieldsEnabled());
    m_assist->setEnabled(m_model.FieldsEnabled());
    m_delete->setEnabled(m_model.DeleteEnabled());
    m_syncing = false;
}

} // namespace vespario::ui
