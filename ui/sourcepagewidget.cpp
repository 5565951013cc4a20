#include "ui/sourcepagewidget.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace vespario::ui {

SourcePageWidget::SourcePageWidget(SourcePageModel &model, QWidget *parent)
    : CodePageWidget(
          model,
          QStringLiteral("The source codes of the objects. A source marked "
                         "\"Requires Posn\" needs a position in every object."),
          {QStringLiteral("Code"), QStringLiteral("Meaning"), QStringLiteral("Requires Posn")},
          parent),
      m_sources(model), m_requires(new QCheckBox(QStringLiteral("Requires &Posn"), this)) {
    m_requires->setAccessibleName(QStringLiteral("Requires Posn"));
    ExtraArea()->addWidget(m_requires);
    connect(m_requires, &QCheckBox::toggled, this, [this](bool checked) {
        if (Syncing())
            return;
        m_sources.SetRequiresPosition(checked);
        RowEdited();
    });
}

QStringList SourcePageWidget::Columns(const std::string &row) const {
    QStringList columns = CodePageWidget::Columns(row);
    const bool flag = !row.empty() && row.back() > '0';
    columns << (flag ? QStringLiteral("Yes") : QString());
    return columns;
}

void SourcePageWidget::SyncExtras() {
    m_requires->setEnabled(m_sources.MeaningEnabled());
    m_requires->setChecked(m_sources.RequiresPosition());
}

} // namespace vespario::ui
