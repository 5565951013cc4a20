// The chart tools on the offscreen platform: the night charts of What's Up and of their own
// window following the current object and the time notice, copied and saved as PNG and SVG;
// the position angle dial reading "PADial" when it opens, redrawing its preview, writing the
// profile only on "Save As Defaults", and a saved and a printed page whose ring measures 4.00
// inches; the atlas index pictures handed to their helper program.

#include "app/cvesparioapp.h"
#include "astro/datetimetext.h"
#include "astro/nightchart.h"
#include "astro/observingplace.h"
#include "db/cvespariodoc.h"
#include "platform/files.h"
#include "platform/iniprofile.h"
#include "select/objectlist.h"
#include "settings/settingsvocabularies.h"
#include "ui/cvespariofrm.h"
#include "ui/dialpreview.h"
#include "ui/nightchartwidget.h"
#include "ui/padialdialog.h"
#include "ui/whatsupwindow.h"
#include "windowsession.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>

using namespace vespario;
using namespace vespario::ui;

namespace {

using test::kPassTimeoutMs;
using test::Session;

constexpr std::initializer_list<QAccessible::Role> kControls = {
    QAccessible::PushButton, QAccessible::CheckBox,     QAccessible::RadioButton,
    QAccessible::SpinBox,    QAccessible::EditableText, QAccessible::Graphic};

QString Id(Session &s) {
    return QString::fromStdString(
        std::string(s.app.Document().GetPrimaryId(s.app.Document().CurrentIndex())));
}

// The dark ring's diameter in inches, across and up, on a page rasterised at dpi: up, the
// height of all dark pixels (no label crosses the rim at the top or the bottom); across, from
// the chord 0.75 inch above the centre, clear of the labels at 0 and 180 degrees.
QSizeF RingDiameter(const QImage &image, double dpi) {
    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (dark(x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    const double offset = 0.75 * dpi;
    const int row = static_cast<int>(std::lround((top + bottom) / 2.0 - offset));
    int first = -1, last = -1;
    for (int x = 0; row >= 0 && x < image.width(); ++x)
        if (dark(x, row))
            (first < 0 ? first : last) = x;
    const double chord = last - first + 1;
    return {2.0 * std::sqrt(chord * chord / 4.0 + offset * offset) / dpi, (bottom - top + 1) / dpi};
}

} // namespace

class ChartWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_profile;

    QString CopyOfExample() { return test::CopyOfData(m_profile->path(), "example.obs"); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_profile = std::make_unique<QTemporaryDir>();
        QVERIFY(m_profile->isValid());
        QVERIFY(test::WriteShippedProfile(
            m_profile->path(), "[Settings]\r\nTutorial=0\r\n[PADial]\r\nOuter=5.000000\r\n"
                               "MajorSteps=6\r\n"));
    }

    void theNightChartsFollowTheObjectAndTheTime() {
        const QString copy = CopyOfExample();
        QVERIFY(!copy.isEmpty());
        Session s(m_profile->path());
        QVERIFY(s.StartAndSettle({copy}));
        QVERIFY(s.Engine().List().size() >= 2);
        s.Open("ToolsWhatsUp");
        s.Open("ToolsNightChart");
        QVERIFY(s.frame.WhatsUp() && s.frame.NightChart());
        NightChartWidget *inWhatsUp = s.frame.WhatsUp()->Chart();
        NightChartWidget *alone = s.frame.NightChart()->Chart();
        QVERIFY(inWhatsUp->isVisible() && alone->isVisible());
        for (QWidget *window : {static_cast<QWidget *>(s.frame.WhatsUp()),
                                static_cast<QWidget *>(s.frame.NightChart())}) {
            const QStringList unnamed = test::WalkAccessible(window, kControls).unnamed;
            QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
        }
        for (NightChartWidget *chart : {inWhatsUp, alone}) {
            QVERIFY(chart->Chart().hasObject);
            QCOMPARE(chart->ObjectName(), Id(s));
            QVERIFY(chart->Title().startsWith(Id(s) + QStringLiteral(" at ")));
        }
        // Another object becomes current: both curves follow it.
        QVERIFY(s.frame.GoTo(s.Engine().List()[1]));
        const QString second = Id(s);
        for (NightChartWidget *chart : {inWhatsUp, alone})
            QCOMPARE(chart->ObjectName(), second);

        // The time notice: both charts show the night of the new instant.
        s.app.Place().SetInstant(ParseDateTime("2024/01/10 03:00:00"));
        s.frame.PlaceOrTimeChanged();
        const NightChart expected = ComputeNightChart(s.app.Place(), false, 0.0, 0.0);
        for (NightChartWidget *chart : {inWhatsUp, alone}) {
            QCOMPARE(chart->Chart().start, expected.start);
            QVERIFY(chart->Chart().showsNow);
        }

        // Copied and saved: a picture on the clipboard, a PNG and an SVG on disk.
        alone->CopyToClipboard();
        QCOMPARE(QApplication::clipboard()->image().size(), alone->size());
        const QString png = m_profile->filePath(QStringLiteral("night.png"));
        const QString svg = m_profile->filePath(QStringLiteral("night.svg"));
        QVERIFY(alone->SaveTo(png));
        QVERIFY(alone->SaveTo(svg));
        QImage picture(png);
        QCOMPARE(picture.size(), alone->size());
        QFile svgFile(svg);
        QVERIFY(svgFile.open(QIODevice::ReadOnly));
        const QByteArray svgText = svgFile.readAll();
        QVERIFY(svgText.contains("<svg"));
        QVERIFY(svgText.contains(second.toUtf8()));
        QVERIFY(!alone->SaveTo(m_profile->filePath(QStringLiteral("missing/night.png"))));
        s.Exit();
    }

    void theDialReadsItsDefaultsAndSavesThemOnlyOnRequest() {
        Session s(m_profile->path());
        QCOMPARE(s.Start({}), StartResult::Running);
        platform::IniProfile &profile = s.app.Settings().Profile();
        bool seen = false, whiteCorner = false, redrawn = false;
        QString outer;
        QStringList unnamed;
        int majorSteps = 0;
        std::string innerBefore, innerAfter, middleAfter;
        QTimer::singleShot(0, [&] {
            PaDialDialog *dial = s.frame.PaDial();
            if (!dial)
                return;
            seen = true;
            seen = QTest::qWaitForWindowExposed(dial);
            unnamed = test::WalkAccessible(dial, kControls).unnamed;
            outer = dial->OuterEdit()->text();
            majorSteps = dial->Steps(0)->value();
            // Typed diameters redraw the preview, filled white around the smaller dial.
            const int paints = dial->PreviewPaints();
            dial->OuterEdit()->setText(QStringLiteral("2.5"));
            dial->Steps(1)->setValue(12);
            redrawn = QTest::qWaitFor([&] { return dial->PreviewPaints() > paints; }, 2000);
            const QImage shown = dial->Preview()->grab().toImage();
            whiteCorner = shown.pixelColor(shown.width() - 2, shown.height() - 2) == Qt::white;
            innerBefore = profile.GetString("PADial", "Inner");
            dial->SaveDefaultsButton()->click();
            innerAfter = profile.GetString("PADial", "Inner");
            middleAfter = profile.GetString("PADial", "MiddleSteps");
            dial->accept();
        });
        s.Open("ToolsPaDial");
        QVERIFY(seen);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
        QCOMPARE(outer, QStringLiteral("5.00"));
        QCOMPARE(majorSteps, 6);
        QVERIFY(whiteCorner);
        QVERIFY(redrawn);
        QCOMPARE(innerBefore, std::string());
        QCOMPARE(innerAfter, std::string("1.250000"));
        QCOMPARE(middleAfter, std::string("12"));
        QCOMPARE(profile.GetString("PADial", "Outer"), std::string("2.500000"));
        s.Exit();
    }

    void theDialPageHasTheRingAtTrueSize() {
        // The page saved as PDF, and the page a printer prints (here to a PDF file).
        platform::IniProfile defaults;
        PaDialDialog dial(defaults, nullptr);
        const QString saved = m_profile->filePath(QStringLiteral("dial.pdf"));
        const QString printed = m_profile->filePath(QStringLiteral("printed.pdf"));
        QVERIFY(dial.SavePdf(saved));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        printer.setDocName(QString::fromLatin1(PaDialDialog::kDocumentName));
        QVERIFY(PaDialDialog::PaintPage(printer, dial.Settings(), printer.resolution()));
        // Each read back by another program (poppler): its title, and at 300 dpi its ring.
        for (const QString &pdf : {saved, printed}) {
            QProcess info;
            info.start(QStringLiteral("pdfinfo"), {pdf});
            QVERIFY(info.waitForFinished(30000));
            QVERIFY(info.readAllStandardOutput().contains("Vespario Position Angle Dial"));
            const QString prefix = pdf + QStringLiteral("-page");
            QProcess::execute(QStringLiteral("pdftoppm"),
                              {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-gray"),
                               QStringLiteral("-singlefile"), pdf, prefix});
            const QImage page(prefix + QStringLiteral(".pgm"));
            QVERIFY2(!page.isNull(), "pdftoppm (poppler-utils) did not read the page");
            const QSizeF diameter = RingDiameter(page, 300.0);
            QVERIFY2(std::abs(diameter.width() - 4.0) <= 0.01,
                     qPrintable(QString::number(diameter.width())));
            QVERIFY2(std::abs(diameter.height() - 4.0) <= 0.01,
                     qPrintable(QString::number(diameter.height())));
        }
    }

    void theAtlasIndexGoesToItsHelper() {
        Session s(m_profile->path());
        QCOMPARE(s.Start({}), StartResult::Running);
        const QString script = m_profile->filePath(QStringLiteral("show.sh"));
        const QString seen = m_profile->filePath(QStringLiteral("seen.txt"));
        QFile helper(script);
        QVERIFY(helper.open(QIODevice::WriteOnly));
        helper.write("#!/bin/sh\nprintf '%s' \"$1\" > '" + seen.toUtf8() + "'\n");
        helper.close();
        helper.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        CodeList &helpers = s.app.Settings().Vocabularies().List(Vocabulary::HelperApps);
        QVERIFY(helpers.Assign({(".gif\t" + script).toStdString()}));
        for (const char *action : {"ToolsSkyAtlasIndex", "ToolsUranometriaIndex"}) {
            QFile::remove(seen);
            s.Open(action);
            QTRY_VERIFY(QFile::exists(seen) && QFile(seen).size() > 0);
            QFile shown(seen);
            QVERIFY(shown.open(QIODevice::ReadOnly));
            const QString path = QString::fromUtf8(shown.readAll());
            const QString expected = QString::fromStdString(platform::DataDir()) +
                                     (action[5] == 'S' ? "/skyatlas.gif" : "/uranomet.gif");
            QCOMPARE(path, expected);
            QVERIFY(!QImage(path).isNull());
        }
        s.Exit();
    }
};

QTEST_MAIN(ChartWindowsTest)
#include "test_chartwindows.moc"
