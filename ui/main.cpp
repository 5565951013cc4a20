// vespario: the program with its window. Start-up and exit are the application object's;
// this only makes the Qt application, the frame and the link to other instances and
// programs, and runs the event loop.

#include "app/cvesparioapp.h"
#include "platform/files.h"
#include "ui/commandlink.h"
#include "ui/cvespariofrm.h"
#include "ui/qthost.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSplashScreen>
#include <QTimer>

int main(int argc, char **argv) {
    QApplication qapp(argc, argv); // takes the toolkit's own options off the command line
    QApplication::setApplicationName(QStringLiteral("Vespario"));
    QApplication::setApplicationVersion(QString::fromStdString(vespario::CVesparioApp::Version()));
    QApplication::setDesktopFileName(QStringLiteral("vespario"));

    vespario::StartupOptions options;
    options.currentFolder = QDir::currentPath().toStdString();
    QString screenshot; // --screenshot FILE: grab the window once the idle work is done
    QString shotWindow; // --screenshot-window NAME: grab that tool window instead
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--screenshot") && i + 1 < arguments.size()) {
            screenshot = arguments[++i];
            continue;
        }
        if (arguments[i] == QLatin1String("--screenshot-window") && i + 1 < arguments.size()) {
            shotWindow = arguments[++i];
            continue;
        }
        options.args.push_back(arguments[i].toLocal8Bit().toStdString());
    }

    // The splash window, shown when the frame is made (not by a start that hands its command
    // over) and closed at the first timer tick once the window is up.
    QSplashScreen splash(
        QPixmap(QString::fromStdString(vespario::platform::DataDir()) + "/desktop/vespario.png"));
    vespario::ui::QtHost host;
    if (screenshot.isEmpty()) {
        splash.showMessage(QStringLiteral("Vespario %1").arg(QApplication::applicationVersion()),
                           Qt::AlignBottom | Qt::AlignHCenter, Qt::white);
        host.SetSplash(&splash);
    }

    vespario::CVesparioApp app(host);
    // The single instance and the command topic; start-up and exit call it in their order.
    vespario::ui::CommandLink link(host);
    app.SetInstanceLink(&link);
    vespario::ui::CVesparioFrm frame(app, host);
    switch (app.Start(options, frame)) {
    case vespario::StartResult::HandedOver:
        return 0;
    case vespario::StartResult::Failed:
        return 1;
    case vespario::StartResult::Running:
        break;
    }
    frame.show();
    QTimer::singleShot(0, &splash, &QWidget::close);
    if (!screenshot.isEmpty()) {
        frame.SetScreenshotWindow(shotWindow);
        frame.TakeScreenshotWhenIdle(screenshot);
    } else
        QTimer::singleShot(0, &frame, &vespario::ui::CVesparioFrm::OfferTutorial);
    const int code = QApplication::exec();
    app.Exit();
    return code;
}
