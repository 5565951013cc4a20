#include "ui/placepagewidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vespario::ui {

namespace {

QComboBox *Choices(QWidget *parent, auto names, const QString &name) {
    auto *box = new QComboBox(parent);
    for (std::string_view text : names)
        box->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    box->setAccessibleName(name);
    return box;
}

} // namespace

PlacePageWidget::PlacePageWidget(PlacePageModel &model, QWidget *parent)
    : CodePageWidget(model,
                     QStringLiteral("The places you observe from. The default place is the one "
                                    "the times, altitudes and rise and set times are for."),
                     {QStringLiteral("Code"), QStringLiteral("Name")}, parent),
      m_places(model), m_latitude(AddNumber(90.0, 6)),
      m_south(new QCheckBox(QStringLiteral("&South"), this)), m_longitude(AddNumber(180.0, 6)),
      m_west(new QCheckBox(QStringLiteral("&West"), this)), m_zone(AddNumber(14.0, 2)),
      m_daylight(new QCheckBox(QStringLiteral("Use &daylight time"), this)),
      m_standardZone(new QLineEdit(this)), m_daylightZone(new QLineEdit(this)),
      m_localTime(new QRadioButton(QStringLiteral("&Local Time"), this)),
      m_universalTime(new QRadioButton(QStringLiteral("&UT"), this)),
      m_eveningDate(new QRadioButton(QStringLiteral("&Evening's date is used all night"), this)),
      m_midnightDate(new QRadioButton(QStringLiteral("Date is changed at &midnight"), this)),
      m_isUsed(new QCheckBox(QStringLiteral("Is &Used"), this)) {
    m_rules = {Choices(this, kDaylightWeekNames, QStringLiteral("Daylight time begins, week")),
               Choices(this, kMonthNames, QStringLiteral("Daylight time begins, month")),
               Choices(this, kDaylightWeekNames, QStringLiteral("Daylight time ends, week")),
               Choices(this, kMonthNames, QStringLiteral("Daylight time ends, month"))};
    m_latitude->setAccessibleName(QStringLiteral("Latitude"));
    m_longitude->setAccessibleName(QStringLiteral("Longitude"));
    m_zone->setAccessibleName(QStringLiteral("Local Time = UT plus hours"));
    m_zone->setSingleStep(0.5);
    m_standardZone->setAccessibleName(QStringLiteral("Standard zone name"));
    m_daylightZone->setAccessibleName(QStringLiteral("Daylight zone name"));
    for (QCheckBox *box : {m_south, m_west, m_daylight, m_isUsed})
        box->setAccessibleName(AccessibleLabel(box->text()));
    for (QRadioButton *radio : {m_localTime, m_universalTime, m_eveningDate, m_midnightDate})
        radio->setAccessibleName(AccessibleLabel(radio->text()));

    auto *grid = new QGridLayout;
    int row = 0;
    const auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("La&titude:"), m_latitude), row, 0);
    grid->addWidget(m_latitude, row, 1);
    grid->addWidget(m_south, row++, 2);
    grid->addWidget(label(QStringLiteral("L&ongitude:"), m_longitude), row, 0);
    grid->addWidget(m_longitude, row, 1);
    grid->addWidget(m_west, row++, 2);
    grid->addWidget(label(QStringLiteral("Local Time = UT &plus"), m_zone), row, 0);
    grid->addWidget(m_zone, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("hours"), this), row++, 2);
    grid->addWidget(m_daylight, row++, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Begins on the"), this), row, 0);
    grid->addWidget(m_rules[0], row, 1);
    grid->addWidget(m_rules[1], row++, 2);
    grid->addWidget(new QLabel(QStringLiteral("Ends on the"), this), row, 0);
    grid->addWidget(m_rules[2], row, 1);
    grid->addWidget(m_rules[3], row++, 2);
    grid->addWidget(label(QStringLiteral("Standard &zone:"), m_standardZone), row, 0);
    grid->addWidget(m_standardZone, row++, 1);
    grid->addWidget(label(QStringLiteral("Daylight zo&ne:"), m_daylightZone), row, 0);
    grid->addWidget(m_daylightZone, row++, 1);
    ExtraArea()->addLayout(grid);

    auto *entry = new QGroupBox(QStringLiteral("Observation times are entered in"), this);
    auto *entryRow = new QHBoxLayout(entry);
    entryRow->addWidget(m_localTime);
    entryRow->addWidget(m_universalTime);
    auto *date = new QGroupBox(QStringLiteral("Observation date"), this);
    auto *dateRow = new QHBoxLayout(date);
    dateRow->addWidget(m_eveningDate);
    dateRow->addWidget(m_midnightDate);
    auto *used =
        new QGroupBox(QStringLiteral("Default place for time-or-place-dependant values"), this);
    (new QHBoxLayout(used))->addWidget(m_isUsed);
    for (QGroupBox *group : {entry, date, used})
        ExtraArea()->addWidget(group);

    const auto edited = [this] {
        if (!Syncing())
            FieldsEdited();
    };
    for (QDoubleSpinBox *number : {m_latitude, m_longitude, m_zone})
        connect(number, &QDoubleSpinBox::valueChanged, this, edited);
    for (QCheckBox *box : {m_south, m_west, m_daylight})
        connect(box, &QCheckBox::toggled, this, edited);
    for (QComboBox *box : m_rules)
        connect(box, &QComboBox::currentIndexChanged, this, edited);
    for (QLineEdit *name : {m_standardZone, m_daylightZone})
        connect(name, &QLineEdit::textEdited, this, edited);
    for (QRadioButton *radio : {m_universalTime, m_eveningDate})
        connect(radio, &QRadioButton::toggled, this, edited);
    connect(m_isUsed, &QCheckBox::toggled, this, [this](bool checked) {
        if (Syncing())
            return;
        m_places.SetIsUsed(checked);
        RowEdited(); // the default place cannot be unchecked: the box shows it checked again
    });
}

QDoubleSpinBox *PlacePageWidget::AddNumber(double limit, int decimals) {
    auto *number = new QDoubleSpinBox(this);
    number->setRange(-limit, limit);
    number->setDecimals(decimals);
    // The row is rewritten when the number is finished, not on every key.
    number->setKeyboardTracking(false);
    return number;
}

void PlacePageWidget::FieldsEdited() {
    PlaceFields fields = m_places.Fields();
    fields.latitude = m_latitude->value();
    fields.south = m_south->isChecked();
    fields.longitude = m_longitude->value();
    fields.west = m_west->isChecked();
    fields.zoneOffset = m_zone->value();
    fields.useDaylight = m_daylight->isChecked();
    fields.startWeek = m_rules[0]->currentIndex();
    fields.startMonth = m_rules[1]->currentIndex();
    fields.endWeek = m_rules[2]->currentIndex();
    fields.endMonth = m_rules[3]->currentIndex();
    fields.standardZone = m_standardZone->text().toStdString();
    fields.daylightZone = m_daylightZone->text().toStdString();
    fields.observationTimeIsUT = m_universalTime->isChecked();
    fields.observationTimeIsForDate = m_eveningDate->isChecked();
    m_places.SetFields(fields);
    RowEdited();
}

// A place row in list form: the code, "=", the name, then the other fields after tabs.
QStringList PlacePageWidget::Columns(const std::string &row) const {
    const QString text = QString::fromStdString(row);
    const QString name = text.mid(2);
    return {text.left(1), name.left(name.indexOf(QLatin1Char('\t')))};
}

void PlacePageWidget::SyncExtras() {
    const PlaceFields &fields = m_places.Fields();
    const bool enabled = m_places.MeaningEnabled();
    m_latitude->setValue(fields.latitude);
    m_south->setChecked(fields.south);
    m_longitude->setValue(fields.longitude);
    m_west->setChecked(fields.west);
    m_zone->setValue(fields.zoneOffset);
    m_daylight->setChecked(fields.useDaylight);
    const std::array<int, 4> rules = {fields.startWeek, fields.startMonth, fields.endWeek,
                                      fields.endMonth};
    for (size_t i = 0; i < rules.size(); ++i) {
        m_rules[i]->setCurrentIndex(rules[i]);
        m_rules[i]->setEnabled(enabled && fields.useDaylight);
    }
    const QString standard = QString::fromStdString(fields.standardZone);
    if (m_standardZone->text() != standard)
        m_standardZone->setText(standard);
    const QString daylight = QString::fromStdString(fields.daylightZone);
    if (m_daylightZone->text() != daylight)
        m_daylightZone->setText(daylight);
    (fields.observationTimeIsUT ? m_universalTime : m_localTime)->setChecked(true);
    (fields.observationTimeIsForDate ? m_eveningDate : m_midnightDate)->setChecked(true);
    for (QWidget *field : std::initializer_list<QWidget *>{
             m_latitude, m_south, m_longitude, m_west, m_zone, m_daylight, m_standardZone,
             m_daylightZone, m_localTime, m_universalTime, m_eveningDate, m_midnightDate, m_isUsed})
        field->setEnabled(enabled);
    m_isUsed->setChecked(m_places.IsUsed());
}

} // namespace vespario::ui
