#include "ui/helpwindow.h"

#include "platform/files.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vespario::ui {

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window), m_browser(new QTextBrowser) {
    setWindowTitle(QStringLiteral("Vespario Help"));
    m_browser->setSearchPaths({HelpFolder()});
    m_browser->setOpenExternalLinks(true);
    m_browser->setAccessibleName(QStringLiteral("Help page"));
    m_browser->setAccessibleDescription(QStringLiteral("The text of the help page shown"));
    auto *back = new QPushButton(QStringLiteral("&Back"));
    auto *forward = new QPushButton(QStringLiteral("&Forward"));
    auto *contents = new QPushButton(QStringLiteral("&Contents"));
    auto *close = new QPushButton(QStringLiteral("Close"));
    back->setAccessibleDescription(QStringLiteral("The page shown before"));
    forward->setAccessibleDescription(QStringLiteral("The page shown after"));
    contents->setAccessibleDescription(QStringLiteral("The list of help pages"));
    close->setAccessibleDescription(QStringLiteral("Closes the help window"));
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this,
            [this] { ShowPage(QStringLiteral("index.html")); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(contents);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);
    resize(640, 560);
}

QString HelpWindow::HelpFolder() {
    return QString::fromStdString(platform::DataDir()) + QStringLiteral("/help");
}

bool HelpWindow::ShowPage(const QString &page) {
    // A page may name a place on it: "quickcommands.html#setall".
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    const QString path = HelpFolder() + "/" + page.left(hash);
    if (!QFileInfo::exists(path))
        return false;
    QUrl url = QUrl::fromLocalFile(path);
    if (hash >= 0)
        url.setFragment(page.mid(hash + 1));
    m_browser->setSource(url);
    return true;
}

} // namespace vespario::ui
