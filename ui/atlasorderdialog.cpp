#include "ui/atlasorderdialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vespario::ui {

AtlasOrderDialog::AtlasOrderDialog(AppSettings &settings, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_atlases(new QListWidget(this)),
      m_up(new QPushButton(QStringLiteral("Move &Up"), this)),
      m_down(new QPushButton(QStringLiteral("Move &Down"), this)) {
    setWindowTitle(QStringLiteral("Define Order of Atlases"));
    setObjectName(QStringLiteral("AtlasOrderDialog"));
    m_model.Load(settings);
    m_atlases->setAccessibleName(QStringLiteral("Star Atlas Order on main screen"));
    m_atlases->setAccessibleDescription(
        QStringLiteral("The atlases in the order in which the record form shows their charts"));
    m_up->setAccessibleDescription(QStringLiteral("Moves the selected atlas up by one"));
    m_down->setAccessibleDescription(QStringLiteral("Moves the selected atlas down by one"));
    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    auto *label = new QLabel(QStringLiteral("Star Atlas &Order on main screen:"), this);
    label->setBuddy(m_atlases);
    auto *side = new QVBoxLayout;
    side->addWidget(m_up);
    side->addWidget(m_down);
    side->addStretch(1);
    auto *row = new QHBoxLayout;
    row->addWidget(m_atlases, 1);
    row->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row, 1);
    layout->addWidget(buttons);
    for (size_t i = 0; i < m_model.StarAtlasOrder().size(); ++i)
        m_atlases->addItem(QString());
    connect(m_atlases, &QListWidget::currentRowChanged, this, [this](int at) {
        m_model.SelectAtlas(at);
        m_up->setEnabled(m_model.MoveUpEnabled());
        m_down->setEnabled(m_model.MoveDownEnabled());
    });
    connect(m_up, &QPushButton::clicked, this, [this] {
        m_model.MoveUp();
        ShowOrder();
    });
    connect(m_down, &QPushButton::clicked, this, [this] {
        m_model.MoveDown();
        ShowOrder();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { emit HelpAsked(QStringLiteral("sortorder.html#atlases")); });
    ShowOrder();
}

void AtlasOrderDialog::ShowOrder() {
    for (size_t i = 0; i < m_model.StarAtlasOrder().size(); ++i) {
        const std::string_view name = m_model.StarAtlasNameAt(i);
        m_atlases->item(static_cast<int>(i))
            ->setText(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    m_atlases->setCurrentRow(m_model.SelectedAtlas());
    m_up->setEnabled(m_model.MoveUpEnabled());
    m_down->setEnabled(m_model.MoveDownEnabled());
}

void AtlasOrderDialog::accept() {
    // Only the order: the page's other preferences are not this dialog's.
    m_settings.General().starAtlas = m_model.StarAtlasOrder();
    QDialog::accept();
}

} // namespace vespario::ui
