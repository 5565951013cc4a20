// The tool windows of the Tools menu on the offscreen platform: Coordinates, Times and
// Distances with their refusals, the Coordinates window following the current object, the
// Times window's Now, the time and place notices to the object list and the windows, What's Up
// for the default place, every control named with its help page, and the rectangles kept.

#include "app/cvesparioapp.h"
#include "astro/calendar.h"
#include "astro/datetimetext.h"
#include "astro/observingplace.h"
#include "astro/radectext.h"
#include "astro/whatsup.h"
#include "db/cvespariodoc.h"
#include "select/objectlist.h"
#include "settings/dialogpositions.h"
#include "ui/coordinateswindow.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovwid.h"
#include "ui/distanceswindow.h"
#include "ui/qthost.h"
#include "ui/timeswindow.h"
#include "ui/whatsupwindow.h"
#include "windowsession.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <array>
#include <cmath>
#include <memory>

using namespace vespario;
using namespace vespario::ui;

namespace {

QString SamplePath() {
    return QStringLiteral(VESPARIO_SOURCE_DATA_DIR "/sample.obs");
}

using test::kPassTimeoutMs;
using test::Session;

// Replaces a field's text by typing, as the user does, and finishes with Return.
void TypeInto(QLineEdit *edit, const QString &text) {
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

QStringList Texts(const ConversionWindow &window, int count) {
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << window.Field(i)->text();
    return texts;
}

// A refused text beeps, says ILLEGAL with the field's format and changes no other field;
// a good text then rewrites the others and the hint shows the format again.
void CheckRefusal(QtHost &host, ConversionWindow &window, int count, int field,
                  const QString &format, const QString &good, int changed) {
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QStringList before = Texts(window, count);
    const int beeps = host.BeepCount();
    TypeInto(window.Field(field), QStringLiteral("12x?"));
    QCOMPARE(host.BeepCount(), beeps + 1);
    QCOMPARE(window.HintLine()->text(), QStringLiteral("ILLEGAL! Use format: ") + format);
    QCOMPARE(window.Field(field)->text(), QStringLiteral("12x?"));
    const QStringList after = Texts(window, count);
    for (int i = 0; i < count; ++i)
        if (i != field)
            QCOMPARE(after[i], before[i]);
    TypeInto(window.Field(field), good);
    QCOMPARE(host.BeepCount(), beeps + 1);
    QCOMPARE(window.HintLine()->text(), QStringLiteral("Format: ") + format);
    QCOMPARE(window.Field(field)->text(), good);
    QVERIFY(window.Field(changed)->text() != before[changed]);
}

// Every control of a window carries a name a screen reader can read, and Help opens the
// window's own page.
void CheckNames(CVesparioFrm &frame, ToolWindow *window) {
    const test::AccessibleControls controls =
        test::WalkAccessible(window, {QAccessible::PushButton, QAccessible::CheckBox,
                                      QAccessible::EditableText, QAccessible::StaticText});
    QVERIFY(controls.count >= 3);
    QVERIFY2(controls.unnamed.isEmpty(), qPrintable(controls.unnamed.join(QStringLiteral(", "))));
    for (QPushButton *button : window->findChildren<QPushButton *>())
        if (button->text() == QStringLiteral("&Help"))
            button->click();
    QVERIFY(frame.Help() && frame.Help()->isVisible());
    QCOMPARE(frame.Help()->Browser()->source().fileName(), window->HelpPage());
    frame.Help()->close();
}

std::string ReportWithoutReturns(const ObservingPlace &place) {
    std::string report = WhatsUpReport(place);
    std::erase(report, '\r');
    return report;
}

} // namespace

class ToolWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_profile;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_profile = std::make_unique<QTemporaryDir>();
        QVERIFY(m_profile->isValid());
        QVERIFY(test::WriteShippedProfile(m_profile->path(), "[Settings]\r\nTutorial=0\r\n"));
    }

    void aRefusedTextBeepsAndLeavesTheOtherFieldsAlone() {
        Session s(m_profile->path());
        QCOMPARE(s.Start({}), StartResult::Running);
        s.Open("ToolsCoordinates");
        CoordinatesWindow &coords = *s.frame.Coordinates();
        CheckRefusal(s.host, coords, CoordinatesTool::kFieldCount, CoordinatesTool::RaDec1,
                     QStringLiteral("hh[mm[ss[.t]]]{+/-}dd[mm[ss]]"),
                     QStringLiteral("004244.8+411609"), CoordinatesTool::Degrees);
        QCOMPARE(coords.Field(CoordinatesTool::Degrees)->text(), QStringLiteral(" 10.687, 41.269"));
        QCOMPARE(coords.StatusLine()->text(), QStringLiteral("Con And  S4  U60"));
        QVERIFY(coords.PlaceLine()->text().startsWith(QStringLiteral("Home, backyard at ")));
        CheckNames(s.frame, &coords);

        s.Open("ToolsTimes");
        TimesWindow &times = *s.frame.Times();
        CheckRefusal(s.host, times, TimesTool::kFieldCount, TimesTool::UniversalTime,
                     QStringLiteral("yyyy/mm/dd hh:mm:ss"), QStringLiteral("2000/01/01 12:00:00"),
                     TimesTool::JulianDay);
        QCOMPARE(times.Field(TimesTool::JulianDay)->text(), QStringLiteral("2451545.000000"));
        // Standard time in January: the label names the zone in force.
        QCOMPARE(times.FieldLabel(TimesTool::LocalTime)->text(),
                 QStringLiteral("Local Time (EST)"));
        QCOMPARE(times.Field(TimesTool::LocalTime)->text(), QStringLiteral("2000/01/01 07:00:00"));
        CheckNames(s.frame, &times);

        s.Open("ToolsDistances");
        DistancesWindow &distances = *s.frame.Distances();
        CheckRefusal(s.host, distances, DistancesTool::kFieldCount, DistancesTool::Parsec,
                     QStringLiteral("number[.decimal][e{+/-}exponent] pc"), QStringLiteral("1"),
                     DistancesTool::LightYear);
        QCOMPARE(distances.Field(DistancesTool::LightYear)->text(), QStringLiteral("3.26163"));
        CheckNames(s.frame, &distances);
        s.Exit();
    }

    void theCoordinatesWindowFollowsTheCurrentObjectWhenAsked() {
        Session s(m_profile->path());
        s.Start({SamplePath()});
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        s.Open("ToolsCoordinates");
        CoordinatesWindow &coords = *s.frame.Coordinates();
        QLineEdit *raDec = coords.Field(CoordinatesTool::RaDec1);
        const auto shownFor = [&] {
            double ra = 0.0;
            double dec = 0.0;
            const ObjectRecord *current = s.app.Document().CurrentRecord();
            if (!current || !ParseRaDec(current->Field(field::RaDec), ra, dec))
                return QString();
            return QString::fromStdString(FormatRaDec(ra, dec));
        };
        // Not asked: moving leaves the window alone.
        const QString before = raDec->text();
        s.frame.Action(QStringLiteral("GoNext"))->trigger();
        QCOMPARE(raDec->text(), before);
        // Asked: the current object at once, then each object moved to.
        coords.FollowBox()->setChecked(true);
        QCOMPARE(raDec->text(), shownFor());
        for (int i = 0; i < 3; ++i) {
            const QString previous = raDec->text();
            s.frame.Action(QStringLiteral("GoNext"))->trigger();
            QVERIFY(!shownFor().isEmpty());
            QCOMPARE(raDec->text(), shownFor());
            QVERIFY(raDec->text() != previous || i > 0);
        }
        // Epoch 2 keeps following: the position is shown precessed.
        TypeInto(coords.Field(CoordinatesTool::Epoch2), QStringLiteral("1950"));
        const QString precessed = coords.Field(CoordinatesTool::RaDec2)->text();
        QVERIFY(precessed != raDec->text());
        s.frame.Action(QStringLiteral("GoLast"))->trigger();
        QCOMPARE(raDec->text(), shownFor());
        QVERIFY(coords.Field(CoordinatesTool::RaDec2)->text() != precessed);
        s.Exit();
    }

    void theTimesAndPlaceNoticesReachTheObjectListAndTheWindows() {
        Session s(m_profile->path());
        s.Start({SamplePath()});
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        // A list sorted by transit time depends on the time.
        s.Engine().Sort().AddKey(field::TransitHrs, 0, 0);
        s.Open("ToolsWhatsUp");
        QCOMPARE(s.frame.Action(QStringLiteral("ToolsWhatsUp"))->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_W));
        WhatsUpWindow &whatsUp = *s.frame.WhatsUp();
        const ObservingPlace &place = s.app.Place();
        QCOMPARE(whatsUp.Report()->toPlainText().toStdString(), ReportWithoutReturns(place));
        QVERIFY(whatsUp.Report()->toPlainText().contains(QStringLiteral("At Home, backyard")));
        QVERIFY(whatsUp.Report()->isReadOnly());
        CheckNames(s.frame, &whatsUp);

        s.Open("ToolsTimes");
        TimesWindow &times = *s.frame.Times();
        QVERIFY(QTest::qWaitForWindowActive(&times));
        TypeInto(times.Field(TimesTool::UniversalTime), QStringLiteral("2026/06/21 03:00:00"));
        QVERIFY(std::abs(place.Instant() - 2461212.625) < 1e-6);
        QVERIFY(s.Engine().PassRunning());
        const QString june = whatsUp.Report()->toPlainText();
        QCOMPARE(june.toStdString(), ReportWithoutReturns(place));
        QVERIFY(june.contains(QStringLiteral("2026/06/20 23:00:00 EDT")));
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);

        const double present = QDateTime::currentMSecsSinceEpoch() / 86400000.0 + 2440587.5;
        times.NowButton()->click();
        QVERIFY(std::abs(place.Instant() - present) < 1.0 / 1440.0);
        QVERIFY(s.Engine().PassRunning());
        QCOMPARE(times.Field(TimesTool::UniversalTime)->text(),
                 QString::fromStdString(FormatDateTime(place.Instant())));
        QVERIFY(whatsUp.Report()->toPlainText() != june);
        QCOMPARE(whatsUp.Report()->toPlainText().toStdString(), ReportWithoutReturns(place));
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);

        // A changed place, as the settings announce it, reaches the same windows.
        s.Open("ToolsCoordinates");
        s.app.Place().SetName("Dark site");
        s.app.Place().SetLongitude(-72.3);
        s.frame.PlaceOrTimeChanged();
        QVERIFY(s.Engine().PassRunning());
        QVERIFY(whatsUp.Report()->toPlainText().contains(QStringLiteral("At Dark site")));
        QCOMPARE(whatsUp.Report()->toPlainText().toStdString(), ReportWithoutReturns(place));
        QVERIFY(
            s.frame.Coordinates()->PlaceLine()->text().startsWith(QStringLiteral("Dark site at ")));
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        s.Exit();
    }

    void theWindowsKeepTheirRectanglesInTheProfile() {
        const char *const actions[] = {"ToolsCoordinates", "ToolsTimes", "ToolsDistances",
                                       "ToolsWhatsUp"};
        const char *const sections[] = {"CoordDlgPos", "TimeDlgPos", "DistDlgPos", "WhatsUpDlgPos"};
        const std::array<QRect, 4> rects = {QRect(40, 50, 620, 640), QRect(70, 80, 520, 280),
                                            QRect(100, 110, 600, 560), QRect(130, 140, 900, 480)};
        const auto windows = [](Session &s) {
            return std::array<QWidget *, 4>{s.frame.Coordinates(), s.frame.Times(),
                                            s.frame.Distances(), s.frame.WhatsUp()};
        };
        {
            Session s(m_profile->path());
            s.Start({});
            for (const char *action : actions)
                s.Open(action);
            for (size_t i = 0; i < rects.size(); ++i) {
                QWidget *window = windows(s)[i];
                QCOMPARE(window->objectName(), QString::fromLatin1(sections[i]));
                window->move(rects[i].topLeft());
                window->resize(rects[i].size());
            }
            s.Exit();
        }
        Session s(m_profile->path());
        s.Start({});
        for (size_t i = 0; i < rects.size(); ++i) {
            const DialogRect stored = ReadDialogPosition(s.app.Settings().Profile(), sections[i]);
            QCOMPARE(QRect(stored.left, stored.top, stored.Width(), stored.Height()), rects[i]);
            s.Open(actions[i]);
            QCOMPARE(QRect(windows(s)[i]->pos(), windows(s)[i]->size()), rects[i]);
        }
        // Closed with an edit unfinished: the window, half destroyed, must not take it.
        s.Open("ToolsDistances");
        QVERIFY(QTest::qWaitForWindowActive(s.frame.Distances()));
        QLineEdit *meter = s.frame.Distances()->Field(DistancesTool::Meter);
        meter->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(meter, QStringLiteral("5"));
        QVERIFY(meter->isModified());
    }
};

QTEST_MAIN(ToolWindowsTest)
#include "test_toolwindows.moc"
