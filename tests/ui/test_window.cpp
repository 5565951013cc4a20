// The window on the sample database: the pass and its counters, navigation, typed IDs,
// editing and saving, Lock Scientific Data, the layout written at exit and restored, Greek
// letters in each set, dropped shortcuts, the question about unsaved changes, and the
// accessibility tree with the keyboard paths.

#include "app/cvesparioapp.h"
#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "select/objectlist.h"
#include "ui/ceditvw.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovw.h"
#include "ui/cvespariovwid.h"
#include "ui/cvespariovwurl.h"
#include "ui/greektext.h"
#include "ui/qthost.h"
#include "ui/selectionlistmodel.h"
#include "windowsession.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

using namespace vespario;
using namespace vespario::ui;

namespace {

constexpr int kSampleObjects = 13960;
using test::kPassTimeoutMs;

QString SamplePath() {
    return QStringLiteral(VESPARIO_SOURCE_DATA_DIR "/sample.obs");
}

// Clicks a button of the next modal box once it is up.
void AnswerNextBox(QMessageBox::StandardButton button, QString *text = nullptr) {
    QMetaObject::invokeMethod(
        qApp,
        [button, text] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            if (text)
                *text = box->text();
            box->button(button)->click();
        },
        Qt::QueuedConnection);
}

// One run of the program, with what these tests read of its window.
struct Session : test::Session {
    using test::Session::Session;
    QString Pane(int pane) { return frame.StatusPane(pane)->text(); }
    std::string CurrentId() {
        const ObjectRecord *current = app.Document().CurrentRecord();
        return current ? std::string(current->Field(field::Id)) : std::string();
    }
    // Closes the window (throwing away unsaved changes) and runs the exit.
    void Exit() {
        frame.CommitEdits();
        if (app.Document().IsModified())
            AnswerNextBox(QMessageBox::Discard);
        test::Session::Exit();
    }
};

// Types text as key presses carrying it, letters beyond ASCII included.
void TypeText(QWidget *widget, const QString &text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// The number of records a database file holds, read without a window.
int RecordsIn(const std::string &path) {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    CVesparioDoc doc(host, profile);
    if (!doc.ReadDatabaseFile(path))
        return -1;
    doc.LoadCompletely();
    return doc.GetRecordCount();
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_profile;

    // The profile: no tutorial question; the Greek set given.
    void WriteProfile(int greekSet = 1) {
        QFile file(m_profile->filePath(QStringLiteral("Vespario.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QFile shipped(QStringLiteral(VESPARIO_SOURCE_DATA_DIR "/Vespario.ini"));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QByteArray text = shipped.readAll();
        text.replace("[GreekHandling]\r\nInternal=0",
                     "[GreekHandling]\r\nInternal=" + QByteArray::number(greekSet));
        text.replace("[GreekHandling]\nInternal=0",
                     "[GreekHandling]\nInternal=" + QByteArray::number(greekSet));
        text += "\r\n[Settings]\r\nTutorial=0\r\n";
        file.write(text);
    }
    QString CopyOfSample() {
        const QString copy = m_profile->filePath(QStringLiteral("copy.obs"));
        QFile::remove(copy);
        if (!QFile::copy(SamplePath(), copy))
            return {};
        return copy;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_profile = std::make_unique<QTemporaryDir>();
        QVERIFY(m_profile->isValid());
        WriteProfile();
    }

    void thePassListsTheSampleWithItsCounters() {
        Session s(m_profile->path());
        QCOMPARE(s.Start({SamplePath()}), StartResult::Running);
        QAbstractItemModelTester tester(s.frame.ListView()->Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        // The window answers while the pass runs: the counters are raised and rising.
        QTRY_VERIFY(s.frame.ListView()->Model()->rowCount() > 0);
        if (s.Engine().PassRunning())
            QCOMPARE(s.frame.StatusPane(kSelectedPane)->frameShadow(), QFrame::Raised);
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        QCOMPARE(s.frame.ListView()->Model()->rowCount(), kSampleObjects);
        QCOMPARE(s.Pane(kCurrentObjectPane), QStringLiteral("1"));
        QCOMPARE(s.Pane(kSelectedPane), QString::number(kSampleObjects));
        QCOMPARE(s.Pane(kExaminedPane), QString::number(kSampleObjects));
        QCOMPARE(s.Pane(kDatabasePane), QString::number(kSampleObjects));
        QCOMPARE(s.frame.StatusPane(kSelectedPane)->frameShadow(), QFrame::Sunken);
        // Rows show the first 20 characters of the ID.
        const QModelIndex first = s.frame.ListView()->Model()->index(0);
        QCOMPARE(first.data().toString(), QString::fromStdString(s.CurrentId()).left(20));
        QCOMPARE(s.frame.ListView()->ListView()->currentIndex().row(), 0);
        s.Exit();
    }

    void navigationWalksTheListWithoutWrapping() {
        Session s(m_profile->path());
        s.Start({SamplePath()});
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        QListView *list = s.frame.ListView()->ListView();
        s.frame.Action(QStringLiteral("GoPrior"))->trigger(); // at the first row: nothing
        QCOMPARE(s.Engine().CurrentPosition(), 0);
        s.frame.Action(QStringLiteral("GoNext"))->trigger();
        s.frame.Action(QStringLiteral("GoNext"))->trigger();
        QCOMPARE(s.Engine().CurrentPosition(), 2);
        QCOMPARE(list->currentIndex().row(), 2);
        QCOMPARE(s.Pane(kCurrentObjectPane), QStringLiteral("3"));
        s.frame.Action(QStringLiteral("GoLast"))->trigger();
        s.frame.Action(QStringLiteral("GoNext"))->trigger(); // at the last row: nothing
        QCOMPARE(s.Engine().CurrentPosition(), kSampleObjects - 1);
        QCOMPARE(s.Pane(kCurrentObjectPane), QString::number(kSampleObjects));
        // The list itself: the arrow keys move the current object.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(s.Engine().CurrentPosition(), 1);
        const std::string id = s.CurrentId();
        QCOMPARE(s.frame.Form()->StoredEdit(field::Id)->text().toStdString(), id);
        QCOMPARE(s.Engine().History().Entries().front(), id.substr(0, IdHistory::kIdLength));
        s.Exit();
    }

    void typedIdsFindTheirObjects_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("idHolds"); // empty: the current object stays
        QTest::addColumn<bool>("more");
        QTest::addColumn<QString>("sound");
        QTest::newRow("exact") << "m31"
                               << "=M31=" << false << "";
        QTest::newRow("partial") << "PGC 100"
                                 << "=PGC 100" << true << "CRICKET_WAV";
        QTest::newRow("none") << "qqqzz"
                              << "" << false << "FROG_WAV";
    }
    void typedIdsFindTheirObjects() {
        QFETCH(QString, typed);
        QFETCH(QString, idHolds);
        QFETCH(bool, more);
        QFETCH(QString, sound);
        Session s(m_profile->path());
        s.Start({SamplePath()});
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        const std::string before = s.CurrentId();
        QLineEdit *box = s.frame.ListView()->IdBox()->lineEdit();
        box->setFocus();
        box->selectAll(); // as Ctrl+G leaves it
        QTest::keyClicks(box, typed);
        QVERIFY(s.Engine().Typing().Pending());
        QTRY_VERIFY_WITH_TIMEOUT(!s.Engine().Typing().Pending(), 5000);
        if (idHolds.isEmpty())
            QCOMPARE(s.CurrentId(), before);
        else
            QVERIFY2(s.CurrentId().find(idHolds.toStdString()) != std::string::npos,
                     s.CurrentId().c_str());
        QCOMPARE(s.frame.ListView()->MoreButton()->isEnabled(), more);
        QCOMPARE(s.host.LastSound(), sound);
        if (more) {
            // ">" lists the further matches; choosing one makes it current.
            QTest::mouseClick(s.frame.ListView()->MoreButton(), Qt::LeftButton);
            QTRY_VERIFY(s.frame.ListView()->MatchesWindow());
            QVERIFY(s.frame.ListView()->MatchesWindow()->List()->count() > 1);
        }
        s.Exit();
    }

    void anEditIsSavedAndReadBack() {
        const QString copy = CopyOfSample();
        QVERIFY(!copy.isEmpty());
        std::string id;
        {
            Session s(m_profile->path());
            s.Start({copy});
            // Saving while the file is still being split keeps the records not split yet.
            QVERIFY(!s.app.Document().Load().allSplit);
            QVERIFY(s.frame.SaveDocument());
            QCOMPARE(RecordsIn(copy.toStdString()), kSampleObjects);
            QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
            s.frame.Action(QStringLiteral("GoNext"))->trigger();
            id = s.CurrentId();
            // A source code the source list does not hold survives edits of other boxes.
            s.app.Document().SetFieldText(field::Src, "#");
            s.frame.ReloadViews();
            QLineEdit *rate = s.frame.Form()->StoredEdit(field::Rate);
            rate->setFocus();
            QTest::keyClicks(rate, QStringLiteral("3"));
            CEditVw *info = s.frame.TextView(0);
            info->setFocus(); // the focus leaving the box hands its text over
            QTest::keyClicks(info, QStringLiteral("Bright core, dust lane"));
            QVERIFY(s.frame.SaveDocument());
            QVERIFY(!s.app.Document().IsModified());
            s.Exit();
        }
        platform::HeadlessHost host;
        platform::IniProfile profile;
        CVesparioDoc doc(host, profile);
        QVERIFY(doc.ReadDatabaseFile(copy.toStdString()));
        doc.LoadCompletely();
        int found = -1;
        for (int i = 0; i < doc.GetRecordCount() && found < 0; ++i)
            if (doc.Record(i).Field(field::Id) == id)
                found = i;
        QVERIFY(found >= 0);
        doc.EnsureParsed(found);
        QCOMPARE(std::string(doc.Record(found).Field(field::Rate)), std::string("3"));
        QCOMPARE(std::string(doc.Record(found).Field(field::Src)), std::string("#"));
        QCOMPARE(std::string(doc.Record(found).Field(field::Info)),
                 std::string("Bright core, dust lane"));
        QCOMPARE(doc.GetRecordCount(), kSampleObjects);
    }

    void lockSciMakesTheScientificBoxesReadOnly() {
        Session s(m_profile->path());
        s.Start({SamplePath()});
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        CVesparioVw *form = s.frame.Form();
        QAction *lock = s.frame.Action(QStringLiteral("ViewLockSci"));
        QVERIFY(lock->isChecked()); // "LockSci" is on to begin with
        for (int locked = 1; locked >= 0; --locked) {
            for (int f : {field::Id, field::RaDec, field::Class, field::Size, field::Magn,
                          field::In, field::Pc, field::Rv, field::Z, field::Posn})
                QCOMPARE(form->StoredEdit(f)->isReadOnly(), locked == 1);
            for (int f : {field::SawOn, field::Ease, field::Rate})
                QVERIFY(!form->StoredEdit(f)->isReadOnly());
            QCOMPARE(form->TypeCombo()->isEnabled(), locked == 0);
            QCOMPARE(form->SrcCombo()->isEnabled(), locked == 0);
            QCOMPARE(form->TypeText()->isEnabled(), locked == 1);
            QCOMPARE(form->SrcText()->isEnabled(), locked == 1);
            lock->trigger();
        }
        QCOMPARE(s.app.General().lockSci, 1);
        s.Exit();
    }

    void theLayoutIsWrittenAtExitAndRestored() {
        QList<int> rows, columns, texts;
        QRect rect(60, 50, 900, 640);
        {
            Session s(m_profile->path());
            s.Start({SamplePath()});
            s.frame.setGeometry(rect);
            QTRY_COMPARE(s.frame.size(), rect.size());
            QTRY_VERIFY(s.frame.LayoutRestored());
            s.frame.RowSplitter()->setSizes({150, 400});
            s.frame.ColumnSplitter()->setSizes({180, 500, 200});
            s.frame.TextSplitter()->setSizes({60, 70, 50, 45, 100});
            rows = s.frame.RowSplitter()->sizes();
            columns = s.frame.ColumnSplitter()->sizes();
            texts = s.frame.TextSplitter()->sizes();
            rect = QRect(s.frame.pos(), s.frame.size());
            s.Exit();
        }
        platform::IniProfile written;
        QVERIFY(written.Load(m_profile->filePath(QStringLiteral("Vespario.ini")).toStdString()));
        QCOMPARE(written.GetInt("Screen Location", "Split2_1", 0), rows[0]);
        QCOMPARE(written.GetInt("Screen Location", "Split3_2", 0), columns[1]);
        QCOMPARE(written.GetInt("Screen Location", "Split5_4", 0), texts[3]);
        QCOMPARE(written.GetInt("Screen Location", "Right", 0), rect.width());
        QCOMPARE(written.GetInt("Screen Location", "Left", -1), rect.x());
        Session again(m_profile->path());
        again.Start({SamplePath()});
        QTRY_COMPARE(again.frame.RowSplitter()->sizes().value(0), rows[0]);
        QCOMPARE(again.frame.ColumnSplitter()->sizes().mid(0, 2), columns.mid(0, 2));
        QCOMPARE(again.frame.TextSplitter()->sizes().mid(0, 4), texts.mid(0, 4));
        QCOMPARE(again.frame.size(), rect.size());
        QCOMPARE(again.frame.pos(), rect.topLeft());
        // Nothing is stored while the window is minimised.
        again.frame.showMinimized();
        again.frame.resize(300, 200);
        QCOMPARE(again.app.General().width, rect.width());
        // "Default Window Sizes" puts the frame and the panes back.
        again.frame.showNormal();
        again.frame.Action(QStringLiteral("ViewDefaultSizes"))->trigger();
        QTRY_COMPARE(again.frame.RowSplitter()->sizes().value(0), 76);
        QCOMPARE(again.frame.size(), QSize(640, 480));
        again.Exit();
    }

    void aGreekLetterIsStoredAsItsSetsByte_data() {
        QTest::addColumn<int>("set");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("DOS set") << 0 << QByteArray("\xE0");
        QTest::newRow("own set") << 1 << QByteArray("\xE1");
        QTest::newRow("ASCII") << 2 << QByteArray("ALPHA");
    }
    void aGreekLetterIsStoredAsItsSetsByte() {
        QFETCH(int, set);
        QFETCH(QByteArray, stored);
        // Every byte shows as one character and comes back as itself.
        std::string all;
        for (int b = 1; b < 256; ++b)
            all.push_back(static_cast<char>(b));
        QCOMPARE(EncodeRecordText(DecodeRecordText(all, set), set), all);

        WriteProfile(set);
        Session s(m_profile->path());
        s.Start({SamplePath()});
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        CEditVw *goal = s.frame.TextView(2);
        goal->setFocus();
        TypeText(goal, QStringLiteral("\u03B1 Cen, "));
        // The Greek bar inserts at the cursor of the focused field.
        QAction *alpha = s.frame.GreekBar()->actions().value(0);
        QCOMPARE(alpha->text(), QStringLiteral("\u03B1"));
        alpha->trigger();
        s.frame.CommitEdits();
        const QByteArray field = QByteArray::fromStdString(
            std::string(s.app.Document().CurrentRecord()->Field(field::Goal)));
        QCOMPARE(field, stored + " Cen, " + stored);
        s.Exit();
    }

    void aDroppedShortcutBecomesAUrlEntry() {
        QFile shortcut(m_profile->filePath(QStringLiteral("Shortcut to M 31.URL")));
        QVERIFY(shortcut.open(QIODevice::WriteOnly));
        shortcut.write("[InternetShortcut]\r\nURL=http://example.org/m31\r\n");
        shortcut.close();
        QFile link(m_profile->filePath(QStringLiteral("Sky map.desktop")));
        QVERIFY(link.open(QIODevice::WriteOnly));
        link.write("[Desktop Entry]\nType=Link\nName=Sky map\nURL=https://example.org/map\n");
        link.close();
        const QString plain = m_profile->filePath(QStringLiteral("Vespario.ini"));

        Session s(m_profile->path());
        s.Start({SamplePath()});
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        CEditVw *url = s.frame.TextView(4);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(shortcut.fileName()),
                      QUrl::fromLocalFile(link.fileName()), QUrl::fromLocalFile(plain)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(url->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(url->viewport(), &drop);
        const std::string expected = "{http://example.org/m31}M 31\r\n"
                                     "{https://example.org/map}Sky map\r\n"
                                     "{" +
                                     plain.toStdString() + "}\r\n";
        QCOMPARE(std::string(s.app.Document().CurrentRecord()->Field(field::Url))
                     .substr(0, expected.size()),
                 expected);
        // The other views refuse drops.
        QVERIFY(!s.frame.TextView(0)->acceptDrops());
        s.Exit();
    }

    void closingWithUnsavedChangesAsks() {
        Session s(m_profile->path());
        s.Start({SamplePath()});
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        CEditVw *obs = s.frame.TextView(1);
        obs->setFocus();
        QTest::keyClicks(obs, QStringLiteral("seen"));
        QString asked;
        AnswerNextBox(QMessageBox::Cancel, &asked);
        QVERIFY(!s.frame.close());
        QVERIFY(asked.contains(QStringLiteral("unsaved changes")));
        QVERIFY(s.frame.isVisible());
        AnswerNextBox(QMessageBox::Discard);
        QVERIFY(s.frame.close());
        QVERIFY(s.app.Exit());
        // The sample was not touched.
        QFile sample(SamplePath());
        QVERIFY(sample.open(QIODevice::ReadOnly));
        QVERIFY(!sample.readAll().contains("seen"));
    }

    // Every interactive control has a name a screen reader can read, and every command
    // is reachable from the keyboard.
    void theAccessibilityTreeNamesEveryControl() {
        Session s(m_profile->path());
        s.Start({SamplePath()});
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        const test::AccessibleControls controls = test::WalkAccessible(
            &s.frame,
            {QAccessible::PushButton, QAccessible::CheckBox, QAccessible::ComboBox,
             QAccessible::EditableText, QAccessible::List, QAccessible::SpinBox,
             QAccessible::ButtonMenu, QAccessible::ButtonDropDown, QAccessible::StaticText});
        QVERIFY(controls.count > 60);
        QVERIFY2(controls.unnamed.isEmpty(),
                 qPrintable(controls.unnamed.join(QStringLiteral(", "))));
        // The status bar counters are read with their names.
        QAccessibleInterface *pane = QAccessible::queryAccessibleInterface(s.frame.StatusPane(2));
        QCOMPARE(pane->text(QAccessible::Name), QStringLiteral("Objects selected"));
        QCOMPARE(pane->text(QAccessible::Value).isEmpty() ? s.Pane(2) : s.Pane(2),
                 QString::number(kSampleObjects));
        // Every menu command has a mnemonic of its own, so that Alt and the letters reach it.
        const auto mnemonic = [](const QString &text) {
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
        };
        QSet<QChar> menus;
        for (QAction *menu : s.frame.menuBar()->actions()) {
            QVERIFY(!mnemonic(menu->text()).isNull());
            QVERIFY(!menus.contains(mnemonic(menu->text())));
            menus.insert(mnemonic(menu->text()));
            QSet<QChar> used;
            for (QAction *action : menu->menu()->actions()) {
                if (action->isSeparator() || !action->isVisible())
                    continue;
                const QChar key = mnemonic(action->text());
                QVERIFY2(!key.isNull() && !used.contains(key), qPrintable(action->text()));
                used.insert(key);
            }
        }
        // The keyboard path: the ID box, a look-up, the form, an edit, the list.
        QVERIFY(QTest::qWaitForWindowActive(&s.frame));
        QTest::keyClick(&s.frame, Qt::Key_G, Qt::ControlModifier);
        QTRY_VERIFY(s.frame.ListView()->IdBox()->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("m31"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(s.CurrentId().find("=M31=") != std::string::npos);
        QTest::keyClick(&s.frame, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(s.CurrentId().find("=M31=") == std::string::npos);
        QTest::keyClick(&s.frame, Qt::Key_R, Qt::ControlModifier);
        QTRY_VERIFY(s.frame.Form()->isAncestorOf(QApplication::focusWidget()));
        // Tab from the last box of the form reaches the ID box, the list and the text views.
        s.frame.Form()->LastControl()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(s.frame.ListView()->IdBox()->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == s.frame.ListView()->IdBox());
        s.frame.ListView()->ListView()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), s.frame.TextView(0));
        s.Exit();
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
