#include "ui/cvespariovwtag.h"

#include "db/cvespariodoc.h"
#include "settings/settingsvocabularies.h"
#include "ui/greektext.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vespario::ui {

CVesparioVwTag::CVesparioVwTag(CVesparioDoc &doc, SettingsVocabularies &vocabularies,
                               QWidget *parent)
    : QWidget(parent), m_doc(doc), m_vocabularies(vocabularies), m_layout(nullptr) {
    setObjectName(QStringLiteral("CVesparioVwTag"));
    setAccessibleName(QStringLiteral("Checkboxes"));
    setAccessibleDescription(QStringLiteral("The current object's checkboxes"));
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *inner = new QWidget(scroll);
    m_layout = new QVBoxLayout(inner);
    m_layout->setContentsMargins(4, 2, 4, 2);
    m_layout->setSpacing(0);
    m_layout->addStretch(1);
    scroll->setWidget(inner);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    Rebuild();
}

void CVesparioVwTag::Rebuild() {
    for (QCheckBox *box : m_boxes)
        delete box;
    m_boxes.clear();
    m_codes.clear();
    const CodeList &list = m_vocabularies.Checkboxes();
    for (int32_t i = 0; i < list.Count(); ++i) {
        const std::string_view code = list.CodeOf(i);
        if (code.empty())
            continue;
        const QString meaning = DecodeRecordText(list.MeaningOf(i), m_doc.GreekSet());
        auto *box = new QCheckBox(meaning);
        box->setAccessibleName(meaning);
        box->setAccessibleDescription(QStringLiteral("Checkbox %1 of the current object")
                                          .arg(QString::fromLatin1(code.data(), 1)));
        const size_t at = m_boxes.size();
        connect(box, &QCheckBox::toggled, this, [this, at](bool checked) { Toggled(at, checked); });
        box->installEventFilter(this);
        m_layout->insertWidget(m_layout->count() - 1, box);
        m_boxes.push_back(box);
        m_codes.push_back(code.front());
    }
}

void CVesparioVwTag::Load() {
    if (m_vocabularies.TakeCheckboxChoicesChanged())
        Rebuild();
    const ObjectRecord *current = m_doc.CurrentRecord();
    const std::string_view field = current ? current->Field(field::CheckBoxes) : "";
    m_loading = true;
    for (size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i]->setEnabled(current != nullptr);
        m_boxes[i]->setChecked(field.find(m_codes[i]) != std::string_view::npos);
    }
    m_loading = false;
}

bool CVesparioVwTag::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::ContextMenu) {
        for (size_t i = 0; i < m_boxes.size(); ++i) {
            if (m_boxes[i] == watched) {
                emit CheckboxMenuAsked(m_codes[i],
                                       static_cast<QContextMenuEvent *>(event)->globalPos());
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CVesparioVwTag::Toggled(size_t box, bool checked) {
    if (m_loading || !m_doc.CurrentRecord() || box >= m_codes.size())
        return;
    std::string field(m_doc.CurrentRecord()->Field(field::CheckBoxes));
    const char code = m_codes[box];
    const size_t at = field.find(code);
    if (checked && at == std::string::npos)
        field.push_back(code);
    else if (!checked && at != std::string::npos)
        field.erase(at, 1);
    m_doc.SetFieldText(field::CheckBoxes, field);
}

} // namespace vespario::ui
