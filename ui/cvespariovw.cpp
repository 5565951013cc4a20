#include "ui/cvespariovw.h"

#include "db/cvespariodoc.h"
#include "settings/appsettings.h"
#include "ui/greektext.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>

#include <cstdio>

namespace vespario::ui {
namespace {

constexpr const char *kShortReal = "%g";
constexpr const char *kHours = "%3.3g";

// The grid of the form: each control takes a label column and a field column.
struct Cell {
    int row;
    int column;
    int span = 1;
};

} // namespace

CVesparioVw::CVesparioVw(CVesparioDoc &doc, AppSettings &settings, QWidget *parent)
    : QWidget(parent), m_doc(doc), m_settings(settings) {
    setObjectName(QStringLiteral("CVesparioVw"));
    setAccessibleName(QStringLiteral("Record form"));
    setAccessibleDescription(QStringLiteral("The fields of the current object"));
    Build();
    FillChoices();
    Load();
}

QLineEdit *CVesparioVw::AddStored(int fieldNo, const QString &label, const QString &description,
                                  bool scientific) {
    auto *edit = new QLineEdit(this);
    edit->setAccessibleName(label);
    edit->setAccessibleDescription(description);
    edit->setToolTip(description);
    edit->setObjectName(label);
    m_stored.push_back({fieldNo, edit, scientific});
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::editingFinished, this, &CVesparioVw::ReadBackIfChanged);
    return edit;
}

QLineEdit *CVesparioVw::AddComputed(int fieldNo, const QString &label, const QString &description,
                                    const char *format) {
    auto *box = new QLineEdit(this);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus); // computed: not a stop of the Tab key
    box->setAccessibleName(label);
    box->setAccessibleDescription(description);
    box->setToolTip(description);
    box->setObjectName(label);
    box->setMinimumWidth(40);
    m_computed.push_back({fieldNo, box, format});
    box->installEventFilter(this);
    return box;
}

void CVesparioVw::Build() {
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    const auto place = [&](QWidget *widget, const QString &label, Cell cell) {
        auto *text = new QLabel(label, this);
        text->setBuddy(widget);
        text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_labels.push_back(text);
        grid->addWidget(text, cell.row, cell.column * 2);
        grid->addWidget(widget, cell.row, cell.column * 2 + 1, 1, cell.span * 2 - 1);
    };

    // Type with its read-only twin, Con, ID.
    m_type = new QComboBox(this);
    m_type->setAccessibleName(QStringLiteral("Type"));
    m_type->setAccessibleDescription(QStringLiteral("The object type, from the type list"));
    m_typeText = new QLineEdit(this);
    m_typeText->setReadOnly(true);
    m_typeText->setAccessibleName(QStringLiteral("Type (locked)"));
    m_typeText->setAccessibleDescription(
        QStringLiteral("The object type while the scientific data are locked"));
    auto *typeRow = new QWidget(this);
    auto *typeLayout = new QHBoxLayout(typeRow);
    typeLayout->setContentsMargins(0, 0, 0, 0);
    typeLayout->setSpacing(2);
    typeLayout->addWidget(m_type, 1);
    typeLayout->addWidget(m_typeText, 1);
    place(typeRow, QStringLiteral("&Type"), {0, 0, 2});
    QLabel *typeLabel = m_labels.back();
    typeLabel->setBuddy(m_type);
    place(AddComputed(field::Con, QStringLiteral("Con"), QStringLiteral("Constellation"), nullptr),
          QStringLiteral("Con"), {0, 2});
    place(AddStored(field::Id, QStringLiteral("ID"),
                    QStringLiteral("The object's designations, each preceded by ="), true),
          QStringLiteral("&ID"), {0, 3, 3});

    // Class, RaDec, the two charts with the atlas spin control.
    place(AddStored(field::Class, QStringLiteral("Class"), QStringLiteral("Classification"), true),
          QStringLiteral("C&lass"), {1, 0});
    place(AddStored(field::RaDec, QStringLiteral("RaDec"),
                    QStringLiteral("Right ascension and declination, equinox 2000"), true),
          QStringLiteral("&RaDec"), {1, 1, 2});
    m_chart0 = new QLineEdit(this);
    m_chart1 = new QLineEdit(this);
    for (QLineEdit *chart : {m_chart0, m_chart1}) {
        chart->setReadOnly(true);
        chart->setFocusPolicy(Qt::ClickFocus);
        chart->setMinimumWidth(36);
    }
    m_atlasSpin = new QSpinBox(this);
    m_atlasSpin->setRange(0, kStarAtlasCount - 2);
    m_atlasSpin->setAccessibleName(QStringLiteral("Atlas"));
    m_atlasSpin->setAccessibleDescription(
        QStringLiteral("Steps through the star atlases whose chart numbers are shown"));
    m_atlasSpin->setToolTip(m_atlasSpin->accessibleDescription());
    m_atlasSpin->setMinimumWidth(m_atlasSpin->sizeHint().width() + 8);
    auto *charts = new QWidget(this);
    auto *chartLayout = new QHBoxLayout(charts);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->setSpacing(2);
    m_chartLabel0 = new QLabel(charts);
    m_chartLabel1 = new QLabel(charts);
    chartLayout->addWidget(m_chartLabel0);
    chartLayout->addWidget(m_chart0, 1);
    chartLayout->addWidget(m_chartLabel1);
    chartLayout->addWidget(m_chart1, 1);
    chartLayout->addWidget(m_atlasSpin);
    place(charts, QStringLiteral("Charts"), {1, 3, 3});
    m_labels.back()->setBuddy(m_atlasSpin);
    if (auto *spinEdit = m_atlasSpin->findChild<QLineEdit *>()) {
        spinEdit->setAccessibleName(m_atlasSpin->accessibleName());
        spinEdit->setAccessibleDescription(m_atlasSpin->accessibleDescription());
    }
    connect(m_atlasSpin, &QSpinBox::valueChanged, this, [this] { LoadCharts(); });

    // Size, Magn, Try, SawOn, SurfBT#.
    place(AddStored(field::Size, QStringLiteral("Size"),
                    QStringLiteral("Size in arc minutes, major x minor axis"), true),
          QStringLiteral("Si&ze"), {2, 0});
    place(AddStored(field::Magn, QStringLiteral("Magn"), QStringLiteral("Magnitude"), true),
          QStringLiteral("&Magn"), {2, 1});
    m_try = new QComboBox(this);
    m_try->setAccessibleName(QStringLiteral("Try"));
    m_try->setAccessibleDescription(QStringLiteral("Whether to try to observe the object"));
    place(m_try, QStringLiteral("Tr&y"), {2, 2});
    place(AddStored(field::SawOn, QStringLiteral("SawOn"),
                    QStringLiteral("The dates the object was seen"), false),
          QStringLiteral("Sa&wOn"), {2, 3});
    place(AddComputed(field::SurfBT, QStringLiteral("SurfBT#"),
                      QStringLiteral("Surface brightness"), kHours),
          QStringLiteral("SurfBT#"), {2, 4});

    // Ease, Rate, In, PC, RV.
    place(AddStored(field::Ease, QStringLiteral("Ease"), QStringLiteral("How easy it was"), false),
          QStringLiteral("E&ase"), {3, 0});
    place(AddStored(field::Rate, QStringLiteral("Rate"), QStringLiteral("Your rating"), false),
          QStringLiteral("Ra&te"), {3, 1});
    place(AddStored(field::In, QStringLiteral("In"),
                    QStringLiteral("The group or cluster the object is in"), true),
          QStringLiteral("I&n"), {3, 2});
    place(AddStored(field::Pc, QStringLiteral("PC"), QStringLiteral("Distance in parsecs"), true),
          QStringLiteral("&PC"), {3, 3});
    place(AddStored(field::Rv, QStringLiteral("RV"), QStringLiteral("Radial velocity"), true),
          QStringLiteral("R&V"), {3, 4});

    // Z, Src with its read-only twin, Posn.
    place(AddStored(field::Z, QStringLiteral("Z"), QStringLiteral("Redshift"), true),
          QStringLiteral("&Z"), {4, 0});
    m_src = new QComboBox(this);
    m_src->setEditable(true);
    m_src->setInsertPolicy(QComboBox::NoInsert);
    m_src->setAccessibleName(QStringLiteral("Src"));
    m_src->setAccessibleDescription(
        QStringLiteral("The source of the data, from the source list or typed"));
    m_src->lineEdit()->setAccessibleName(m_src->accessibleName());
    m_src->lineEdit()->setAccessibleDescription(m_src->accessibleDescription());
    m_srcText = new QLineEdit(this);
    m_srcText->setReadOnly(true);
    m_srcText->setAccessibleName(QStringLiteral("Src (locked)"));
    m_srcText->setAccessibleDescription(
        QStringLiteral("The source while the scientific data are locked"));
    auto *srcRow = new QWidget(this);
    auto *srcLayout = new QHBoxLayout(srcRow);
    srcLayout->setContentsMargins(0, 0, 0, 0);
    srcLayout->setSpacing(2);
    srcLayout->addWidget(m_src, 1);
    srcLayout->addWidget(m_srcText, 1);
    place(srcRow, QStringLiteral("&Src"), {4, 1, 2});
    m_labels.back()->setBuddy(m_src);
    place(AddStored(field::Posn, QStringLiteral("Posn"),
                    QStringLiteral("Position notes (reference stars, offsets)"), true),
          QStringLiteral("P&osn"), {4, 3, 2});
    connect(m_type, &QComboBox::activated, this, [this] { ReadBack(); });
    connect(m_try, &QComboBox::activated, this, [this] { ReadBack(); });
    connect(m_src, &QComboBox::activated, this, [this] {
        m_srcChanged = true;
        ReadBack();
    });
    connect(m_src->lineEdit(), &QLineEdit::textEdited, this, [this] { m_srcChanged = true; });
    connect(m_src->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_srcChanged)
            ReadBack();
    });

    // The computed values.
    m_more = new QGroupBox(QStringLiteral("More Calculated Values"), this);
    m_more->setAccessibleName(m_more->title());
    auto *moreGrid = new QGridLayout(m_more);
    moreGrid->setContentsMargins(4, 2, 4, 2);
    moreGrid->setVerticalSpacing(2);
    struct Computed {
        int fieldNo;
        const char *label;
        const char *description;
        const char *format;
    };
    const Computed computed[] = {
        {field::MajorAxis, "MajorAxis#", "Major axis in arc minutes", kShortReal},
        {field::MinorAxis, "MinorAxis#", "Minor axis in arc minutes", kShortReal},
        {field::RaHour, "RA_Hour#", "Right ascension in hours", kShortReal},
        {field::DeclDeg, "Decl_Deg#", "Declination in degrees", kShortReal},
        {field::MagnValue, "Magn#", "Magnitude as a number", kShortReal},
        {field::Area, "Area#", "Area in square arc minutes", kShortReal},
        {field::Elong, "Elong#", "Elongation, major over minor axis", kShortReal},
        {field::TransitHrs, "Transit", "Transit, local hours past noon", kHours},
        {field::RiseHrs, "Rise", "Rise, local hours past noon", kHours},
        {field::SetHrs, "Set", "Set, local hours past noon", kHours},
        {field::Azimuth, "Azim", "Azimuth now, degrees", kHours},
        {field::Altitude, "Alt", "Altitude now, degrees", kHours},
    };
    int i = 0;
    for (const Computed &c : computed) {
        const QString label = QString::fromLatin1(c.label);
        QLineEdit *box =
            AddComputed(c.fieldNo, label, QString::fromLatin1(c.description), c.format);
        auto *text = new QLabel(label, m_more);
        text->setBuddy(box);
        text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        moreGrid->addWidget(text, i / 6, (i % 6) * 2);
        moreGrid->addWidget(box, i / 6, (i % 6) * 2 + 1);
        ++i;
    }
    grid->addWidget(m_more, 5, 0, 1, 12);
    grid->setRowStretch(6, 1);

    for (QWidget *box : std::initializer_list<QWidget *>{m_chart0, m_chart1, m_type, m_try, m_src,
                                                         m_src->lineEdit(), m_typeText, m_srcText})
        box->installEventFilter(this);

    // The open lists of the three drop-downs have menus of their own, for the entry clicked.
    for (QComboBox *combo : {m_type, m_try, m_src})
        combo->view()->viewport()->installEventFilter(this);

    // A long vocabulary entry must not widen the form.
    for (QComboBox *combo : {m_type, m_try, m_src}) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(6);
    }

    // Tab order: the editable controls top to bottom, left to right.
    std::vector<QWidget *> order = {m_type,
                                    StoredEdit(field::Id),
                                    StoredEdit(field::Class),
                                    StoredEdit(field::RaDec),
                                    m_atlasSpin,
                                    StoredEdit(field::Size),
                                    StoredEdit(field::Magn),
                                    m_try,
                                    StoredEdit(field::SawOn),
                                    StoredEdit(field::Ease),
                                    StoredEdit(field::Rate),
                                    StoredEdit(field::In),
                                    StoredEdit(field::Pc),
                                    StoredEdit(field::Rv),
                                    StoredEdit(field::Z),
                                    m_src,
                                    StoredEdit(field::Posn)};
    for (size_t k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
}

QWidget *CVesparioVw::FirstControl() const {
    return m_type->isEnabled() ? static_cast<QWidget *>(m_type) : StoredEdit(field::Id);
}

QWidget *CVesparioVw::LastControl() const {
    return StoredEdit(field::Posn);
}

QLineEdit *CVesparioVw::StoredEdit(int fieldNo) const {
    for (const StoredBox &box : m_stored)
        if (box.fieldNo == fieldNo)
            return box.edit;
    return nullptr;
}

QLineEdit *CVesparioVw::ComputedBox(int fieldNo) const {
    for (const ComputedValue &value : m_computed)
        if (value.fieldNo == fieldNo)
            return value.box;
    return nullptr;
}

void CVesparioVw::FillChoices() {
    const SettingsVocabularies &vocabularies = m_settings.Vocabularies();
    const int set = m_doc.GreekSet();
    const auto fill = [set](QComboBox *combo, const CodeList &list) {
        combo->clear();
        for (const std::string &entry : list.Entries())
            combo->addItem(DecodeRecordText(entry, set));
    };
    fill(m_type, vocabularies.Types());
    fill(m_try, vocabularies.TryValues());
    fill(m_src, vocabularies.Sources());
}

void CVesparioVw::ApplyLockSci(bool locked) {
    for (const StoredBox &box : m_stored)
        if (box.scientific)
            box.edit->setReadOnly(locked);
    m_type->setEnabled(!locked);
    m_src->setEnabled(!locked);
    m_typeText->setEnabled(locked);
    m_srcText->setEnabled(locked);
    m_typeText->setVisible(locked);
    m_srcText->setVisible(locked);
}

void CVesparioVw::Load() {
    m_loading = true;
    if (m_settings.General().lockSci != m_lockState) {
        m_lockState = m_settings.General().lockSci;
        ApplyLockSci(m_lockState != 0);
    }
    if (m_settings.Vocabularies().TakeFormChoicesChanged())
        FillChoices();
    const ObjectRecord *current = m_doc.CurrentRecord();
    const int set = m_doc.GreekSet();
    for (const StoredBox &box : m_stored) {
        box.edit->setEnabled(current != nullptr);
        box.edit->setText(current ? DecodeRecordText(current->Field(box.fieldNo), set) : QString());
    }
    LoadChoices();
    m_srcChanged = false;
    LoadCharts();
    LoadComputed();
    ClearUndo();
    m_loading = false;
}

void CVesparioVw::LoadChoices() {
    const ObjectRecord *current = m_doc.CurrentRecord();
    const SettingsVocabularies &vocabularies = m_settings.Vocabularies();
    const int set = m_doc.GreekSet();
    if (!current) {
        for (QComboBox *combo : {m_type, m_try, m_src})
            combo->setCurrentIndex(-1);
        m_src->setEditText({});
        m_typeText->clear();
        m_srcText->clear();
        return;
    }
    const std::string_view type = current->Field(field::Type);
    const int32_t typeIndex = type.size() >= 2 ? vocabularies.Types().Find(type.substr(0, 2)) : -1;
    m_type->setCurrentIndex(typeIndex);
    m_typeText->setText(typeIndex >= 0 ? m_type->itemText(typeIndex) : DecodeRecordText(type, set));
    const std::string_view tryCode = current->Field(field::Try);
    m_try->setCurrentIndex(tryCode.empty() ? -1
                                           : vocabularies.TryValues().Find(tryCode.substr(0, 1)));
    // The first source stands for "uncommon": the record's own text is shown instead.
    const std::string_view src = current->Field(field::Src);
    const int32_t srcIndex = src.empty() ? -1 : vocabularies.Sources().Find(src.substr(0, 1));
    QString srcText;
    if (srcIndex == 0)
        srcText = DecodeRecordText(current->Field(field::UncSrc), set);
    else if (srcIndex > 0)
        srcText = m_src->itemText(srcIndex);
    m_src->setCurrentIndex(srcIndex > 0 ? srcIndex : -1);
    m_src->setEditText(srcText);
    m_src->lineEdit()->setModified(false);
    m_srcText->setText(srcText);
}

void CVesparioVw::LoadCharts() {
    const int current = m_doc.CurrentIndex();
    const auto &order = m_settings.General().starAtlas;
    const int p = m_atlasSpin->value();
    QLabel *labels[] = {m_chartLabel0, m_chartLabel1};
    QLineEdit *boxes[] = {m_chart0, m_chart1};
    for (int k = 0; k < 2; ++k) {
        const int fieldNo = order[static_cast<size_t>(p + k)];
        const std::string_view tag = m_doc.Fields().Slot(fieldNo).tag;
        const QString name = QString::fromLatin1(tag.data(), static_cast<qsizetype>(tag.size()));
        labels[k]->setText(name);
        boxes[k]->setAccessibleName(name);
        boxes[k]->setAccessibleDescription(QStringLiteral("Chart number in %1").arg(name));
        boxes[k]->setText(current >= 0 ? QString::number(m_doc.GetInt(fieldNo, current))
                                       : QString());
    }
}

void CVesparioVw::LoadComputed() {
    const int current = m_doc.CurrentIndex();
    for (const ComputedValue &value : m_computed) {
        if (current < 0) {
            value.box->clear();
            continue;
        }
        if (!value.format) {
            value.box->setText(
                DecodeRecordText(m_doc.GetText(value.fieldNo, current), m_doc.GreekSet()));
            continue;
        }
        char number[64];
        std::snprintf(number, sizeof number, value.format, m_doc.GetReal(value.fieldNo, current));
        value.box->setText(QString::fromLatin1(number));
    }
}

void CVesparioVw::ClearUndo() {
    // Setting the text again empties a line edit's undo history. A long text shows its
    // beginning, except in the box being typed in.
    for (const StoredBox &box : m_stored) {
        box.edit->setText(box.edit->text());
        box.edit->setModified(false);
        if (!box.edit->hasFocus())
            box.edit->setCursorPosition(0);
    }
    for (QLineEdit *box : {m_typeText, m_srcText, m_src->lineEdit()})
        if (!box->hasFocus())
            box->setCursorPosition(0);
    for (const ComputedValue &value : m_computed)
        value.box->setCursorPosition(0);
    m_src->lineEdit()->setModified(false);
}

void CVesparioVw::ReadBackIfChanged() {
    bool changed = m_srcChanged;
    for (const StoredBox &box : m_stored)
        changed = changed || box.edit->isModified();
    if (changed)
        ReadBack();
}

void CVesparioVw::ReadBack() {
    if (m_loading || !m_doc.CurrentRecord())
        return;
    const int set = m_doc.GreekSet();
    const SettingsVocabularies &vocabularies = m_settings.Vocabularies();
    // Everything is taken from the boxes first: storing a field may reload the form.
    std::vector<std::pair<int, std::string>> values;
    for (const StoredBox &box : m_stored)
        values.emplace_back(box.fieldNo, EncodeRecordText(box.edit->text(), set));
    if (const int t = m_type->currentIndex(); t >= 0)
        values.emplace_back(field::Type, std::string(vocabularies.Types().CodeOf(t)));
    if (const int t = m_try->currentIndex(); t >= 0)
        values.emplace_back(field::Try, std::string(vocabularies.TryValues().CodeOf(t)));
    // The Src box is read back only when the user changed it: a record whose source code is
    // not in the source list shows an empty box and would otherwise lose its code.
    const CodeList &sources = vocabularies.Sources();
    if (m_srcChanged && m_src->isEnabled() && sources.Count() > 0) {
        const std::string typed = EncodeRecordText(m_src->currentText(), set);
        int32_t match = -1;
        for (int32_t i = 0; i < sources.Count() && match < 0; ++i)
            if (sources.Entry(i) == typed)
                match = i;
        values.emplace_back(field::Src, std::string(sources.CodeOf(match >= 0 ? match : 0)));
        values.emplace_back(field::UncSrc, match >= 0 ? std::string() : typed);
    }
    m_srcChanged = false;
    m_loading = true;
    for (const auto &[fieldNo, text] : values)
        m_doc.SetFieldText(fieldNo, text);
    m_loading = false;
    ClearUndo();
}

bool CVesparioVw::UndoFocusedEdit() {
    for (const StoredBox &box : m_stored) {
        if (box.edit->hasFocus() && box.edit->isUndoAvailable()) {
            box.edit->undo();
            return true;
        }
    }
    return false;
}

bool CVesparioVw::ClickOn(const QObject *box, const QPoint &pos, QuickClick &click) const {
    const int set = m_doc.GreekSet();
    const ObjectRecord *record = m_doc.CurrentRecord();
    if (!record)
        return false;
    const auto fromEdit = [&](int fieldNo, QLineEdit *edit) {
        click.field = fieldNo;
        click.shown = EncodeRecordText(edit->text(), set);
        click.selection = EncodeRecordText(edit->selectedText(), set);
        click.offset = static_cast<size_t>(edit->cursorPositionAt(pos));
    };
    for (const StoredBox &stored : m_stored) {
        if (stored.edit == box) {
            fromEdit(stored.fieldNo, stored.edit);
            return true;
        }
    }
    for (const ComputedValue &value : m_computed) {
        if (value.box == box) {
            fromEdit(value.fieldNo, value.box);
            return true;
        }
    }
    if (box == m_chart0 || box == m_chart1) {
        const int k = box == m_chart0 ? 0 : 1;
        fromEdit(m_settings.General().starAtlas[static_cast<size_t>(m_atlasSpin->value() + k)],
                 k == 0 ? m_chart0 : m_chart1);
        return true;
    }
    // The drop-down lists stand for their codes.
    const auto code = [&](int fieldNo, size_t length) {
        click.field = fieldNo;
        click.shown = std::string(record->Field(fieldNo).substr(0, length));
        click.selection.clear();
        click.offset = 0;
    };
    if (box == m_type || box == m_typeText)
        code(field::Type, 2);
    else if (box == m_try)
        code(field::Try, 1);
    else if (box == m_src || box == m_src->lineEdit() || box == m_srcText)
        code(field::Src, 1);
    else
        return false;
    return true;
}

bool CVesparioVw::EntryAt(const QObject *viewport, const QPoint &pos, QuickList &list,
                          std::string &entry) const {
    const SettingsVocabularies &vocabularies = m_settings.Vocabularies();
    struct Choice {
        QComboBox *combo;
        QuickList list;
        const CodeList &codes;
    };
    const Choice choices[] = {{m_type, QuickList::Types, vocabularies.Types()},
                              {m_try, QuickList::TryValues, vocabularies.TryValues()},
                              {m_src, QuickList::Sources, vocabularies.Sources()}};
    for (const Choice &choice : choices) {
        if (choice.combo->view()->viewport() != viewport)
            continue;
        // The rows are the vocabulary's entries in order (FillChoices).
        const int row = choice.combo->view()->indexAt(pos).row();
        if (row < 0 || row >= choice.codes.Count())
            return false;
        list = choice.list;
        entry = choice.codes.Entry(row);
        return true;
    }
    return false;
}

bool CVesparioVw::eventFilter(QObject *watched, QEvent *event) {
    // A right button release in an open list would choose its entry as the left one does.
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        for (QComboBox *combo : {m_type, m_try, m_src})
            if (watched == combo->view()->viewport())
                return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        QuickList list = QuickList::Types;
        std::string entry;
        if (EntryAt(watched, menuEvent->pos(), list, entry)) {
            for (QComboBox *combo : {m_type, m_try, m_src})
                combo->hidePopup();
            emit VocabularyMenuAsked(list, entry, menuEvent->globalPos());
            return true;
        }
        QuickClick click;
        if (ClickOn(watched, menuEvent->pos(), click)) {
            emit QuickMenuAsked(click, menuEvent->globalPos());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vespario::ui
