#pragma once
// The URL view: the text view of the " url: " field that also takes dropped files and
// Internet shortcuts, inserting their entries at the drop point.

#include "ui/ceditvw.h"

namespace vespario::ui {

class CVesparioVwUrl : public CEditVw {
    Q_OBJECT
public:
    CVesparioVwUrl(CVesparioDoc &doc, QWidget *parent = nullptr);

    // The entries for the local files of a drop, in order; empty when there are none.
    static QString EntriesFor(const QList<QUrl> &urls, int greekSet);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

} // namespace vespario::ui
