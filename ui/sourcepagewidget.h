#pragma once
// The Sources page: the code page with the "Requires Posn" checkbox, shown as the list's
// last column.

#include "app/sourcepagemodel.h"
#include "ui/codepagewidget.h"

class QCheckBox;

namespace vespario::ui {

class SourcePageWidget : public CodePageWidget {
    Q_OBJECT
public:
    SourcePageWidget(SourcePageModel &model, QWidget *parent);

    QCheckBox *RequiresPositionBox() const { return m_requires; }

protected:
    QStringList Columns(const std::string &row) const override;
    void SyncExtras() override;

private:
    SourcePageModel &m_sources;
    QCheckBox *m_requires;
};

} // namespace vespario::ui
