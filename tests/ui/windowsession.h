#pragma once
// What the widget tests share: one run of the program on a profile folder, and the walk over
// the accessibility tree that finds the controls a screen reader could not name.

#include "app/cvesparioapp.h"
#include "select/objectlist.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovwid.h"
#include "ui/qthost.h"

#include <QAccessible>
#include <QAction>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <initializer_list>

namespace vespario::ui::test {

// Long enough for a pass over the sample on a loaded machine.
inline constexpr int kPassTimeoutMs = 60000;

// One run of the program on a profile folder, which is also its current folder.
struct Session {
    explicit Session(const QString &profileFolder) : app(host), frame(app, host) {
        options.profileFolder = profileFolder.toStdString();
        options.currentFolder = profileFolder.toStdString();
    }
    StartResult Start(const QStringList &args) {
        for (const QString &arg : args)
            options.args.push_back(arg.toStdString());
        const StartResult result = app.Start(options, frame);
        frame.show();
        return result;
    }
    // Starts the window and waits until its first pass and idle work are done.
    bool StartAndSettle(const QStringList &args) {
        return Start(args) == StartResult::Running &&
               QTest::qWaitFor([this] { return PassDone(); }, kPassTimeoutMs);
    }
    ObjectList &Engine() { return *frame.ListView()->Engine(); }
    bool PassDone() { return !Engine().PassRunning() && !frame.IdleRunning(); }
    void Open(const char *action) { frame.Action(QString::fromLatin1(action))->trigger(); }
    void Exit() {
        frame.close();
        app.Exit();
    }

    QtHost host;
    CVesparioApp app;
    CVesparioFrm frame;
    StartupOptions options;
};

// Writes the profile a new installation starts with into folder, with extra profile lines
// after it (so that, for one, the tutorial question is not asked).
inline bool WriteShippedProfile(const QString &folder, const QByteArray &extra) {
    QFile file(folder + QStringLiteral("/Vespario.ini"));
    QFile shipped(QStringLiteral(VESPARIO_SOURCE_DATA_DIR "/Vespario.ini"));
    if (!file.open(QIODevice::WriteOnly) || !shipped.open(QIODevice::ReadOnly))
        return false;
    return file.write(shipped.readAll() + "\r\n" + extra) > 0;
}

// A writable copy of the data folder's file name in folder (replacing an earlier copy), or
// an empty text when it could not be made.
inline QString CopyOfData(const QString &folder, const char *name) {
    const QString copy = folder + QLatin1Char('/') + QLatin1String(name);
    QFile::remove(copy);
    if (!QFile::copy(QStringLiteral(VESPARIO_SOURCE_DATA_DIR "/") + QLatin1String(name), copy))
        return {};
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

// The visible controls of the given roles under root, and those of them without a name.
// With pruneHidden a hidden part (another tab, a closed drop-down's list) is not entered.
struct AccessibleControls {
    int count = 0;
    QStringList unnamed;
};

inline AccessibleControls WalkAccessible(QWidget *root,
                                         std::initializer_list<QAccessible::Role> roles,
                                         bool pruneHidden = false) {
    AccessibleControls found;
    const auto describe = [](QObject *object) {
        return QStringLiteral("%1 %2 in %3")
            .arg(QString::fromLatin1(object->metaObject()->className()))
            .arg(object->objectName())
            .arg(object->parent() ? QString::fromLatin1(object->parent()->metaObject()->className())
                                  : QString());
    };
    const auto walk = [&](auto &&self, QAccessibleInterface *node, int depth) -> void {
        if (!node || depth > 40)
            return;
        const bool hidden = node->state().invisible;
        if (hidden && pruneHidden)
            return;
        if (!hidden && std::find(roles.begin(), roles.end(), node->role()) != roles.end()) {
            ++found.count;
            if (node->text(QAccessible::Name).trimmed().isEmpty() && node->object())
                found.unnamed << describe(node->object());
        }
        for (int i = 0; i < node->childCount(); ++i)
            self(self, node->child(i), depth + 1);
    };
    walk(walk, QAccessible::queryAccessibleInterface(root), 0);
    return found;
}

} // namespace vespario::ui::test
