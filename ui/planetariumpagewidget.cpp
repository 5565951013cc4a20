#include "ui/planetariumpagewidget.h"

#include "ui/pagerows.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vespario::ui {

PlanetariumPageWidget::PlanetariumPageWidget(PlanetariumPageModel &model, QWidget *parent)
    : QWidget(parent), m_model(model), m_list(new QTreeWidget(this)), m_title(new QLineEdit(this)),
      m_executable(new QLineEdit(this)), m_keystrokes(new QLineEdit(this)),
      m_insert(new QPushButton(QStringLiteral("&Insert"), this)),
      m_delete(new QPushButton(QStringLiteral("&Delete"), this)),
      m_browse(new QPushButton(QStringLiteral("&Browse..."), this)),
      m_choices(new QComboBox(this)) {
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(QStringLiteral("The planetarium programs that show the current "
                                           "object. The selected one is the program in use."),
                            this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Title:"), m_title);
    fields->addRow(QStringLiteral("&Executable:"), m_executable);
    fields->addRow(QStringLiteral("&Keystrokes:"), m_keystrokes);
    m_title->setAccessibleName(QStringLiteral("Title"));
    m_executable->setAccessibleName(QStringLiteral("Executable"));
    m_keystrokes->setAccessibleName(QStringLiteral("Keystrokes"));
    layout->addLayout(fields);
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels(
        {QStringLiteral("Title"), QStringLiteral("Executable"), QStringLiteral("Keystrokes")});
    m_list->setAccessibleName(QStringLiteral("Planetarium programs"));
    layout->addWidget(m_list, 1);
    for (const ReadyMadePlanetarium &ready : kReadyMadePlanetaria)
        m_choices->addItem(
            QString::fromUtf8(ready.choice.data(), static_cast<qsizetype>(ready.choice.size())));
    m_choices->setAccessibleName(QStringLiteral("Ready-made program"));
    auto *assist = new QPushButton(QStringLiteral("&Assist"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_choices);
    buttons->addWidget(assist);
    buttons->addStretch(1);
    for (QPushButton *button : {m_browse, m_insert, m_delete, assist}) {
        button->setAutoDefault(false);
        if (button != assist)
            buttons->addWidget(button);
    }
    layout->addLayout(buttons);

    ConnectRowSelection(
        m_list, m_syncing, [this](int row) { m_model.Select(row); }, [this] { Sync(); });
    for (QLineEdit *edit : {m_title, m_executable, m_keystrokes})
        connect(edit, &QLineEdit::textEdited, this, &PlanetariumPageWidget::FieldsEdited);
    ConnectRowButtons(
        m_insert, m_delete, [this] { return m_model.Insert(); }, [this] { m_model.Delete(); },
        [this] { Sync(); }, nullptr);
    connect(m_browse, &QPushButton::clicked, this, &PlanetariumPageWidget::Browse);
    connect(assist, &QPushButton::clicked, this, [this] {
        if (!m_model.Assist(m_choices->currentIndex()))
            return;
        Sync();
        Browse();
    });
}

void PlanetariumPageWidget::Browse() {
    if (!m_model.FieldsEnabled())
        return;
    if (BrowseForProgram(this, m_model.BrowseTitle(), m_executable->text(), m_executable))
        FieldsEdited();
}

void PlanetariumPageWidget::FieldsEdited() {
    if (m_syncing)
        return;
    m_model.SetFields({m_title->text().toStdString(), m_executable->text().toStdString(),
                       m_keystrokes->text().toStdString()});
    Sync();
}

void PlanetariumPageWidget::Sync() {
    m_syncing = true;
    const std::vector<std::string> &rows = m_model.Rows();
    const auto columns = [](const std::string &row) {
        const PlanetariumFields fields = PlanetariumPageModel::ParseRow(row);
        return QStringList{QString::fromStdString(fields.title),
                           QString::fromStdString(fields.executable),
                           QString::fromStdString(fields.keystrokes)};
    };
    ShowRows(m_list, rows, columns, m_model.Selected());
    const PlanetariumFields &fields = m_model.Fields();
    const std::array<std::pair<QLineEdit *, const std::string *>, 3> boxes = {
        {{m_title, &fields.title},
         {m_executable, &fields.executable},
         {m_keystrokes, &fields.keystrokes}}};
    for (const auto &[box, value] : boxes) {
        ShowText(box, *value);
        box->setEnabled(m_model.FieldsEnabled());
    }
    m_browse->setEnabled(m_model.FieldsEnabled());
    m_delete->setEnabled(m_model.DeleteEnabled());
    m_syncing = false;
}

} // namespace vespario::ui
