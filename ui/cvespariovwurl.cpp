#include "ui/cvespariovwurl.h"

#include "app/urldrop.h"
#include "db/cvespariodoc.h"
#include "platform/files.h"
#include "ui/greektext.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace vespario::ui {
namespace {

constexpr uint64_t kLargestShortcut = 64 * 1024;

bool HasLocalFiles(const QMimeData *mime) {
    if (!mime || !mime->hasUrls())
        return false;
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile())
            return true;
    return false;
}

} // namespace

CVesparioVwUrl::CVesparioVwUrl(CVesparioDoc &doc, QWidget *parent)
    : CEditVw(doc, field::Url, QStringLiteral("URL"),
              QStringLiteral("The object's web addresses and files, one {address}description "
                             "a line; drop files or Internet shortcuts here"),
              parent) {
    setAcceptDrops(true);
}

QString CVesparioVwUrl::EntriesFor(const QList<QUrl> &urls, int greekSet) {
    std::string entries;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString file = url.toLocalFile();
        const std::string path = file.toStdString();
        // Only a shortcut's contents matter; a large file is never read for nothing.
        std::optional<std::string> contents;
        const bool shortcut = file.endsWith(QLatin1String(".url"), Qt::CaseInsensitive) ||
                              file.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive);
        if (shortcut && platform::FileSize(path).value_or(kLargestShortcut + 1) <= kLargestShortcut)
            contents = platform::ReadWholeFile(path);
        entries += UrlDropEntry(path, contents);
    }
    return DecodeLongText(entries, greekSet);
}

void CVesparioVwUrl::dragEnterEvent(QDragEnterEvent *event) {
    if (!isReadOnly() && HasLocalFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CVesparioVwUrl::dragMoveEvent(QDragMoveEvent *event) {
    if (!isReadOnly() && HasLocalFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CVesparioVwUrl::dropEvent(QDropEvent *event) {
    if (isReadOnly() || !HasLocalFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    QTextCursor cursor = cursorForPosition(event->position().toPoint());
    cursor.insertText(EntriesFor(event->mimeData()->urls(), Doc().GreekSet()));
    setTextCursor(cursor);
    event->acceptProposedAction();
    ReadBack();
}

} // namespace vespario::ui
