#pragma once
// The help window: the program's HTML pages from the data folder's help/ in a text browser,
// with Back, Forward and Contents.

#include <QWidget>

class QTextBrowser;

namespace vespario::ui {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows a page of the help folder ("tutorial.html", "fields.html#magn"); false when there
    // is no such page.
    bool ShowPage(const QString &page);
    static QString HelpFolder();
    QTextBrowser *Browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

} // namespace vespario::ui
