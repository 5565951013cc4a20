#include "ui/preferencespagewidget.h"

#include "ui/codepagewidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vespario::ui {

namespace {

QSpinBox *Number(QWidget *parent, int low, int high, const QString &name) {
    auto *box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setAccessibleName(name);
    box->setKeyboardTracking(false);
    return box;
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

PreferencesPageWidget::PreferencesPageWidget(PreferencesPageModel &model, QWidget *parent)
    : QWidget(parent), m_model(model), m_greek(new QComboBox(this)),
      m_delAuthor(new QCheckBox(QStringLiteral("Enable the \"Del Author's Data\" command"), this)),
      m_tutorial(new QCheckBox(QStringLiteral("Prompt for &Tutorial at Startup"), this)),
      m_first(Number(this, 0, 100000, QStringLiteral("Time slice, initial, ms"))),
      m_second(Number(this, 0, 100000, QStringLiteral("Time slice, remaining, ms"))),
      m_recordWidth(Number(this, 0, 10000, QStringLiteral("File record length"))),
      m_autoBuild(new QCheckBox(
          QStringLiteral("Auto-rebuild Object IDs index whenever an ID is changed"), this)),
      m_favorite(new QLineEdit(this)),
      m_backup(new QCheckBox(QStringLiteral("Keep a database &backup when saved"), this)),
      m_lowMemory(new QCheckBox(QStringLiteral("&Low Memory Mode"), this)),
      m_checks(new QListWidget(this)), m_atlases(new QListWidget(this)),
      m_up(new QPushButton(QStringLiteral("Move &Up"), this)),
      m_down(new QPushButton(QStringLiteral("Move Do&wn"), this)) {
    for (std::string_view name : kGreekHandlingNames)
        m_greek->addItem(Text(name));
    m_greek->setAccessibleName(QStringLiteral("Handling of Greek Characters"));
    m_favorite->setAccessibleName(
        QStringLiteral("Favorite objects are found by searching RATE for"));
    for (QCheckBox *box : {m_delAuthor, m_tutorial, m_autoBuild, m_backup, m_lowMemory})
        box->setAccessibleName(AccessibleLabel(box->text()));
    m_checks->setAccessibleName(QStringLiteral("Database Edits"));
    m_atlases->setAccessibleName(QStringLiteral("Star Atlas Order on main screen"));

    auto *layout = new QHBoxLayout(this);
    auto *left = new QFormLayout;
    left->addRow(QStringLiteral("Handling of &Greek Characters:"), m_greek);
    left->addRow(m_delAuthor);
    left->addRow(m_tutorial);
    auto *slices = new QHBoxLayout;
    slices->addWidget(new QLabel(QStringLiteral("initial"), this));
    slices->addWidget(m_first);
    slices->addWidget(new QLabel(QStringLiteral("remaining"), this));
    slices->addWidget(m_second);
    slices->addWidget(new QLabel(QStringLiteral("ms"), this));
    left->addRow(QStringLiteral("Time slices for background read and select:"), slices);
    left->addRow(QStringLiteral("File record length:"), m_recordWidth);
    left->addRow(m_autoBuild);
    left->addRow(QStringLiteral("Favorite objects are found by searching RATE for:"), m_favorite);
    left->addRow(m_backup);
    left->addRow(m_lowMemory);
    auto *atlasButtons = new QHBoxLayout;
    atlasButtons->addWidget(m_up);
    atlasButtons->addWidget(m_down);
    left->addRow(new QLabel(QStringLiteral("Star Atlas Order on main screen:"), this));
    left->addRow(m_atlases);
    left->addRow(atlasButtons);
    layout->addLayout(left, 1);

    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Database Edits:"), this));
    right->addWidget(m_checks, 1);
    auto *allOn = new QPushButton(QStringLiteral("Turn All &On"), this);
    auto *allOff = new QPushButton(QStringLiteral("Turn All O&ff"), this);
    auto *all = new QHBoxLayout;
    all->addWidget(allOn);
    all->addWidget(allOff);
    right->addLayout(all);
    layout->addLayout(right, 1);
    for (QPushButton *button : {m_up, m_down, allOn, allOff})
        button->setAutoDefault(false);

    for (QCheckBox *box : {m_delAuthor, m_tutorial, m_autoBuild, m_backup, m_lowMemory})
        connect(box, &QCheckBox::toggled, this, &PreferencesPageWidget::ValuesEdited);
    for (QSpinBox *box : {m_first, m_second, m_recordWidth})
        connect(box, &QSpinBox::valueChanged, this, &PreferencesPageWidget::ValuesEdited);
    connect(m_greek, &QComboBox::currentIndexChanged, this, &PreferencesPageWidget::ValuesEdited);
    connect(m_favorite, &QLineEdit::textEdited, this, &PreferencesPageWidget::ValuesEdited);
    connect(m_checks, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (m_syncing)
            return;
        m_model.SetEditCheck(static_cast<size_t>(m_checks->row(item)),
                             item->checkState() == Qt::Checked);
    });
    connect(allOn, &QPushButton::clicked, this, [this] {
        m_model.TurnAllOn();
        Sync();
    });
    connect(allOff, &QPushButton::clicked, this, [this] {
        m_model.TurnAllOff();
        Sync();
    });
    connect(m_atlases, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_syncing)
            return;
        m_model.SelectAtlas(row);
        Sync();
    });
    connect(m_up, &QPushButton::clicked, this, [this] {
        m_model.MoveUp();
        Sync();
    });
    connect(m_down, &QPushButton::clicked, this, [this] {
        m_model.MoveDown();
        Sync();
    });
}

void PreferencesPageWidget::ValuesEdited() {
    if (m_syncing)
        return;
    PreferenceValues &values = m_model.Values();
    values.greekHandling = m_greek->currentIndex();
    values.delAuthorEnabled = m_delAuthor->isChecked();
    values.tutorial = m_tutorial->isChecked();
    values.timingFirst = m_first->value();
    values.timingSecond = m_second->value();
    values.recordWidth = m_recordWidth->value();
    values.autoBuild = m_autoBuild->isChecked();
    values.searchFavorite = m_favorite->text().toStdString();
    values.keepBackup = m_backup->isChecked();
    values.lowMemory = m_lowMemory->isChecked();
}

void PreferencesPageWidget::Sync() {
    m_syncing = true;
    const PreferenceValues &values = m_model.Values();
    m_greek->setCurrentIndex(values.greekHandling);
    m_delAuthor->setChecked(values.delAuthorEnabled);
    m_tutorial->setChecked(values.tutorial);
    m_first->setValue(values.timingFirst);
    m_second->setValue(values.timingSecond);
    m_recordWidth->setValue(values.recordWidth);
    m_autoBuild->setChecked(values.autoBuild);
    if (m_favorite->text() != QString::fromStdString(values.searchFavorite))
        m_favorite->setText(QString::fromStdString(values.searchFavorite));
    m_backup->setChecked(values.keepBackup);
    m_lowMemory->setChecked(values.lowMemory);

    const std::vector<EditCheckLine> &checks = m_model.EditChecks();
    if (m_checks->count() != static_cast<int>(checks.size())) {
        m_checks->clear();
        for (const EditCheckLine &line : checks) {
            auto *item = new QListWidgetItem(QString::fromStdString(line.description), m_checks);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        }
    }
    for (size_t i = 0; i < checks.size(); ++i)
        m_checks->item(static_cast<int>(i))
            ->setCheckState(checks[i].checked ? Qt::Checked : Qt::Unchecked);

    const size_t atlases = m_model.StarAtlasOrder().size();
    if (m_atlases->count() != static_cast<int>(atlases))
        for (size_t i = 0; i < atlases; ++i)
            m_atlases->addItem(QString());
    for (size_t i = 0; i < atlases; ++i)
        m_atlases->item(static_cast<int>(i))->setText(Text(m_model.StarAtlasNameAt(i)));
    m_atlases->setCurrentRow(m_model.SelectedAtlas());
    m_up->setEnabled(m_model.MoveUpEnabled());
    m_down->setEnabled(m_model.MoveDownEnabled());
    m_syncing = false;
}

} // namespace vespario::ui
