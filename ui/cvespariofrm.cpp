#include "ui/cvespariofrm.h"

#include "db/greek.h"
#include "link/ddeserver.h"
#include "link/ddesocket.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "settings/dialogpositions.h"
#include "ui/ceditvw.h"
#include "ui/cvespariovw.h"
#include "ui/cvespariovwid.h"
#include "ui/cvespariovwtag.h"
#include "ui/cvespariovwurl.h"
#include "ui/displayfont.h"
#include "ui/furthermatcheswindow.h"
#include "ui/greektext.h"
#include "ui/helpwindow.h"
#include "ui/qthost.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <utility>

namespace vespario::ui {
namespace {

constexpr const char *kTitle = "Vespario";
constexpr const char *kBarSection = "ControlBars";
constexpr const char *kBarKey = "State";
constexpr int kTypingPollMs = 20; // while only a typed ID waits for its look-up

// The accented letters of the European bar: what West European names of objects, observers
// and places need most.
constexpr const char16_t *kEuropean = u"àáâäåæçèéêëìíîïñòóôöøùúûüýÿßÀÁÂÄÅÆÇÈÉÊËÌÍÎÏÑÒÓÔÖØÙÚÛÜÝ";

struct TextViewInfo {
    int fieldNo;
    const char *name;
    const char *description;
};
constexpr TextViewInfo kTextViewInfo[] = {
    {field::Info, "Info", "Notes on the object"},
    {field::Obs, "Obs", "Your observations, each opened by its date, place and equipment"},
    {field::Goal, "Goal", "What to look for next time"},
    {field::Refs, "Refs", "References to books and magazine articles"},
};

// Runs a command that lets events through (a save, deleting all) without idle work meanwhile.
class BusyGuard {
public:
    explicit BusyGuard(bool &busy) : m_busy(busy) { m_busy = true; }
    ~BusyGuard() { m_busy = false; }

private:
    bool &m_busy;
};

QString FromLocal(const std::string &text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CVesparioFrm::CVesparioFrm(CVesparioApp &app, QtHost &host) : m_app(app), m_host(host) {
    setObjectName(QStringLiteral("CVesparioFrm"));
    m_idle.setInterval(0);
    connect(&m_idle, &QTimer::timeout, this, &CVesparioFrm::IdleTick);
}

CVesparioFrm::~CVesparioFrm() {
    m_idle.stop();
    if (m_doc)
        m_doc->SetViews(nullptr);
}

bool CVesparioFrm::CreateFrame() {
    m_host.ShowSplash();
    m_doc = &m_app.Document();
    setWindowIcon(QIcon(QString::fromStdString(platform::DataDir()) + "/desktop/vespario.png"));
    BuildViews();
    BuildStatusBar();
    BuildToolBars();
    BuildMenus();
    SetTabChain();
    m_host.SetWindow(this);
    m_doc->SetViews(this);
    RestoreWindowRect();
    RestoreBarState();
    ApplyFont();
    UpdateTitle();
    return true;
}

// --- building ---------------------------------------------------------------------------

void CVesparioFrm::BuildViews() {
    m_rows = new QSplitter(Qt::Vertical, this);
    m_rows->setObjectName(QStringLiteral("RowSplitter"));
    m_rows->setChildrenCollapsible(false);
    auto *formScroll = new QScrollArea(m_rows);
    formScroll->setWidgetResizable(true);
    formScroll->setFocusPolicy(Qt::NoFocus);
    m_form = new CVesparioVw(*m_doc, m_app.Settings());
    formScroll->setWidget(m_form);

    m_columns = new QSplitter(Qt::Horizontal, m_rows);
    m_columns->setObjectName(QStringLiteral("ColumnSplitter"));
    m_columns->setChildrenCollapsible(false);
    m_listView = new CVesparioVwId(*m_doc, m_columns);
    m_textSplitter = new QSplitter(Qt::Vertical, m_columns);
    m_textSplitter->setObjectName(QStringLiteral("TextSplitter"));
    m_textSplitter->setChildrenCollapsible(false);
    for (size_t i = 0; i < 4; ++i) {
        const TextViewInfo &info = kTextViewInfo[i];
        m_texts[i] = new CEditVw(*m_doc, info.fieldNo, QString::fromLatin1(info.name),
                                 QString::fromLatin1(info.description), m_textSplitter);
    }
    m_texts[4] = new CVesparioVwUrl(*m_doc, m_textSplitter);
    static const char *const kClassNames[] = {
        "CVesparioVwInfo", "CVesparioVwObs", "CVesparioVwGoal", "CVesparioVwRef", "CVesparioVwUrl"};
    for (size_t i = 0; i < m_texts.size(); ++i) {
        m_texts[i]->setObjectName(QString::fromLatin1(kClassNames[i]));
        m_texts[i]->setMinimumHeight(20);
    }
    m_tags = new CVesparioVwTag(*m_doc, m_app.Settings().Vocabularies(), m_columns);
    for (QSplitter *splitter : {m_rows, m_columns, m_textSplitter})
        splitter->setStretchFactor(splitter->count() - 1, 1);
    setCentralWidget(m_rows);

    connect(m_listView, &CVesparioVwId::WorkGiven, this, &CVesparioFrm::WakeIdle);
    connect(m_listView, &CVesparioVwId::BeforeNavigate, this, [this] { CommitEdits(); });
    const auto fieldMenu = [this](const QuickClick &click, const QPoint &pos) {
        ShowQuickMenu(FieldEntries(click, QuickMenuSources()), pos);
    };
    connect(m_form, &CVesparioVw::QuickMenuAsked, this, fieldMenu);
    for (CEditVw *text : m_texts)
        connect(text, &CEditVw::QuickMenuAsked, this, fieldMenu);
    connect(m_form, &CVesparioVw::VocabularyMenuAsked, this, &CVesparioFrm::ShowVocabularyMenu);
    connect(m_tags, &CVesparioVwTag::CheckboxMenuAsked, this, [this](char code, const QPoint &pos) {
        ShowQuickMenu(CheckboxEntries(code, QuickMenuSources()), pos, code);
    });
}

void CVesparioFrm::BuildStatusBar() {
    m_message = new QLabel(QStringLiteral("Ready"));
    m_message->setAccessibleName(QStringLiteral("Status message"));
    m_message->setAccessibleDescription(QStringLiteral("What the program is doing"));
    statusBar()->addWidget(m_message, 1);
    static const char *const kNames[] = {"Current object number", "Objects selected",
                                         "Objects examined for selection", "Objects in database"};
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 10;
    for (size_t i = 0; i < m_counters.size(); ++i) {
        auto *pane = new QLabel;
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pane->setMinimumWidth(width);
        pane->setAccessibleName(QString::fromLatin1(kNames[i]));
        pane->setAccessibleDescription(
            QStringLiteral("Status bar counter: %1").arg(QString::fromLatin1(kNames[i]).toLower()));
        pane->setToolTip(QString::fromLatin1(kNames[i]));
        // A screen reader reads the pane by its name and its number.
        pane->setFocusPolicy(Qt::NoFocus);
        statusBar()->addPermanentWidget(pane);
        m_counters[i] = pane;
    }
    m_host.AttachStatusPanes(m_message, m_counters);
}

QLabel *CVesparioFrm::StatusPane(int pane) const {
    if (pane == 0)
        return m_message;
    if (pane < 1 || pane > static_cast<int>(m_counters.size()))
        return nullptr;
    return m_counters[static_cast<size_t>(pane - 1)];
}

void CVesparioFrm::BuildToolBars() {
    m_mainBar = addToolBar(QStringLiteral("Main Toolbar"));
    m_mainBar->setObjectName(QStringLiteral("MainToolbar"));
    m_greekBar = addToolBar(QStringLiteral("Greek Characters"));
    m_greekBar->setObjectName(QStringLiteral("GreekCharacters"));
    m_euroBar = addToolBar(QStringLiteral("European Characters"));
    m_euroBar->setObjectName(QStringLiteral("EuropeanCharacters"));
    for (QToolBar *bar : {m_mainBar, m_greekBar, m_euroBar}) {
        bar->setAllowedAreas(Qt::AllToolBarAreas);
        bar->setAccessibleName(bar->windowTitle());
    }
    for (const GreekLetter &letter : GreekLetters()) {
        const std::string_view word = letter.word;
        const QString name = QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
        QAction *action = m_greekBar->addAction(GreekLetterGlyph(word));
        action->setToolTip(QStringLiteral("Insert %1").arg(name.toLower()));
        action->setStatusTip(action->toolTip());
        connect(action, &QAction::triggered, this,
                [this, word] { InsertAtCursor(GreekLetterInsertText(word, m_doc->GreekSet())); });
    }
    for (const char16_t *c = kEuropean; *c; ++c) {
        const QString letter{QChar(*c)};
        QAction *action = m_euroBar->addAction(letter);
        action->setToolTip(QStringLiteral("Insert %1").arg(letter));
        connect(action, &QAction::triggered, this, [this, letter] { InsertAtCursor(letter); });
    }
    // The character buttons leave the focus in the text they insert into.
    for (QToolBar *bar : {m_greekBar, m_euroBar})
        for (QAction *action : bar->actions())
            if (QWidget *button = bar->widgetForAction(action))
                button->setFocusPolicy(Qt::NoFocus);
    // The button that shows the buttons a narrow window has no room for.
    for (QToolBar *bar : {m_mainBar, m_greekBar, m_euroBar}) {
        if (auto *more = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"))) {
            more->setAccessibleName(QStringLiteral("More buttons of %1").arg(bar->windowTitle()));
            more->setAccessibleDescription(
                QStringLiteral("Shows the buttons the window has no room for"));
        }
    }
    platform::IniProfile &profile = m_app.Settings().Profile();
    if (!profile.GetInt("Settings", "EurobarSeen", 0)) {
        m_euroBar->hide();
        profile.WriteInt("Settings", "EurobarSeen", 1);
    }
}

QAction *CVesparioFrm::AddAction(QMenu *menu, const QString &name, const QString &text,
                                 const QKeySequence &shortcut, const QString &tip,
                                 const std::function<void()> &run) {
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    action->setToolTip(tip);
    action->setStatusTip(tip);
    if (run)
        connect(action, &QAction::triggered, this, [run] { run(); });
    return action;
}

QAction *CVesparioFrm::Action(const QString &name) const {
    return findChild<QAction *>(name);
}

void CVesparioFrm::BuildMenus() {
    BuildFileMenu();
    BuildEditMenu();
    BuildViewMenu();
    BuildGoMenu();
    BuildSelectMenu();
    BuildReportMenu();
    BuildToolsMenu();
    BuildHelpMenu();
    QStyle *s = style();
    const auto toolButton = [&](const char *name, QStyle::StandardPixmap icon) {
        QAction *action = Action(QString::fromLatin1(name));
        action->setIcon(s->standardIcon(icon));
        m_mainBar->addAction(action);
    };
    toolButton("FileNew", QStyle::SP_FileIcon);
    toolButton("FileOpen", QStyle::SP_DialogOpenButton);
    toolButton("FileSave", QStyle::SP_DialogSaveButton);
    m_mainBar->addSeparator();
    toolButton("GoFirst", QStyle::SP_MediaSkipBackward);
    toolButton("GoPrior", QStyle::SP_ArrowUp);
    toolButton("GoNext", QStyle::SP_ArrowDown);
    toolButton("GoLast", QStyle::SP_MediaSkipForward);
    m_mainBar->addSeparator();
    toolButton("EditNewObject", QStyle::SP_FileDialogNewFolder);
    toolButton("EditDelete", QStyle::SP_TrashIcon);
    m_mainBar->addSeparator();
    toolButton("HelpContents", QStyle::SP_DialogHelpButton);
}

void CVesparioFrm::BuildFileMenu() {
    QMenu *menu = menuBar()->addMenu(QStringLiteral("&File"));
    AddAction(menu, "FileNew", QStringLiteral("&New"), QKeySequence::New,
              QStringLiteral("A new, empty database"), [this] {
                  if (MaybeSave())
                      NewDocument();
              });
    AddAction(menu, "FileOpen", QStringLiteral("&Open..."), QKeySequence::Open,
              QStringLiteral("Open a database file"), [this] { OpenWithDialog(); });
    AddAction(menu, "FileSave", QStringLiteral("&Save"), QKeySequence::Save,
              QStringLiteral("Save the database"), [this] { SaveDocument(); });
    AddAction(menu, "FileSaveAs", QStringLiteral("Save &As..."), QKeySequence::SaveAs,
              QStringLiteral("Save the database under another name"), [this] { SaveDocumentAs(); });
    AddAction(menu, "FileImport", QStringLiteral("&Import..."), {},
              QStringLiteral("Import objects and updates from a file or the clipboard"),
              [this] { ImportFile(); });
    BuildMaintenanceMenu(menu);
    menu->addSeparator();
    m_recentMenu = menu;
    for (size_t i = 0; i < m_recentActions.size(); ++i) {
        m_recentActions[i] = AddAction(menu, QStringLiteral("FileRecent%1").arg(i + 1), {}, {},
                                       QStringLiteral("Open this recently used database"),
                                       [this, i] { OpenRecent(static_cast<int>(i)); });
    }
    menu->addSeparator();
    AddAction(menu, "FileExit", QStringLiteral("E&xit"), QKeySequence::Quit,
              QStringLiteral("Close the program"), [this] { close(); });
    UpdateRecentMenu();
}

void CVesparioFrm::BuildEditMenu() {
    QMenu *menu = menuBar()->addMenu(QStringLiteral("&Edit"));
    AddAction(menu, "EditUndo", QStringLiteral("&Undo / Revert Record"),
              QKeySequence(Qt::CTRL | Qt::Key_Z),
              QStringLiteral("Undo the typing, or restore the record as last loaded or saved"),
              [this] {
                  CommitEdits();
                  m_doc->RevertRecord();
              });
    menu->addSeparator();
    AddAction(menu, "EditNewObject", QStringLiteral("New &Object"),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N),
              QStringLiteral("Add a new object to the database"), [this] {
                  CommitEdits();
                  m_doc->NewObject();
                  WakeIdle();
              });
    AddAction(menu, "EditDelete", QStringLiteral("&Delete Object"),
              QKeySequence(Qt::CTRL | Qt::Key_Delete),
              QStringLiteral("Mark the current object deleted"), [this] {
                  if (!m_listView->Engine())
                      return;
                  CommitEdits();
                  m_listView->Engine()->DeleteCurrent();
                  m_host.SetStatusText(0, "Object marked deleted; it goes when you save");
              });
    AddAction(menu, "EditDeleteAll", QStringLiteral("Delete &All Selected"), {},
              QStringLiteral("Mark every selected object deleted"), [this] {
                  if (!m_listView->Engine())
                      return;
                  CommitEdits();
                  const BusyGuard busy(m_busy);
                  m_listView->Engine()->DeleteAll();
              });
    AddAction(menu, "EditUndeleteAll", QStringLiteral("U&ndelete All"), {},
              QStringLiteral("Clear the deleted mark of every object"), [this] {
                  if (!m_listView->Engine())
                      return;
                  CommitEdits();
                  m_listView->Engine()->UndeleteAll();
                  ReloadViews();
              });
    AddAction(menu, "EditSetAll", QStringLiteral("Set A&ll..."), {},
              QStringLiteral("Set Try or a checkbox in every selected object"),
              [this] { OpenSetAll(); });
    AddAction(menu, "EditRevert", QStringLiteral("&Revert Record"),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
              QStringLiteral("Restore the record as last loaded or saved"), [this] {
                  CommitEdits();
                  m_doc->RevertRecord();
              });
    BuildSearchEntry(menu);
    AddObservationReportActions(menu);
}

void CVesparioFrm::BuildViewMenu() {
    QMenu *menu = menuBar()->addMenu(QStringLiteral("&View"));
    QAction *lock = AddAction(menu, "ViewLockSci", QStringLiteral("&Lock Scientific Data"),
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L),
                              QStringLiteral("Keep the scientific data from being edited"), {});
    lock->setCheckable(true);
    lock->setChecked(m_app.General().lockSci != 0);
    connect(lock, &QAction::toggled, this, &CVesparioFrm::ToggleLockSci);
    AddAction(menu, "ViewDefaultSizes", QStringLiteral("&Default Window Sizes"), {},
              QStringLiteral("Put the window and every dialog back at its default size"),
              [this] { DefaultWindowSizes(); });
    AddAction(menu, "ViewFont", QStringLiteral("&Font..."), {},
              QStringLiteral("Choose the font of the record views"), [this] { ChooseFont(); });
    menu->addSeparator();
    QMenu *bars = menu->addMenu(QStringLiteral("&Toolbars"));
    for (QToolBar *bar : {m_mainBar, m_greekBar, m_euroBar}) {
        QAction *toggle = bar->toggleViewAction();
        toggle->setStatusTip(QStringLiteral("Show or hide the %1 bar").arg(bar->windowTitle()));
        bars->addAction(toggle);
    }
    QAction *status = AddAction(menu, "ViewStatusBar", QStringLiteral("&Status Bar"), {},
                                QStringLiteral("Show or hide the status bar"), {});
    status->setCheckable(true);
    status->setChecked(true);
    connect(status, &QAction::toggled, statusBar(), &QStatusBar::setVisible);
}

void CVesparioFrm::BuildGoMenu() {
    QMenu *menu = menuBar()->addMenu(QStringLiteral("&Go"));
    AddAction(menu, "GoFirst", QStringLiteral("&First Object"),
              QKeySequence(Qt::ALT | Qt::Key_Home),
              QStringLiteral("Go to the first object of the list"),
              [this] { Navigate(&ObjectList::First); });
    AddAction(menu, "GoPrior", QStringLiteral("&Prior Object"), QKeySequence(Qt::ALT | Qt::Key_Up),
              QStringLiteral("Go to the object before this one"),
              [this] { Navigate(&ObjectList::Prior); });
    AddAction(menu, "GoNext", QStringLiteral("&Next Object"), QKeySequence(Qt::ALT | Qt::Key_Down),
              QStringLiteral("Go to the object after this one"),
              [this] { Navigate(&ObjectList::Next); });
    AddAction(menu, "GoLast", QStringLiteral("&Last Object"), QKeySequence(Qt::ALT | Qt::Key_End),
              QStringLiteral("Go to the last object of the list"),
              [this] { Navigate(&ObjectList::Last); });
    menu->addSeparator();
    AddAction(menu, "GoIdBox", QStringLiteral("Type an &ID"), QKeySequence(Qt::CTRL | Qt::Key_G),
              QStringLiteral("Put the cursor in the ID box"), [this] {
                  m_listView->IdBox()->setFocus(Qt::ShortcutFocusReason);
                  m_listView->IdBox()->lineEdit()->selectAll();
              });
    AddAction(menu, "GoList", QStringLiteral("&Object List"), QKeySequence(Qt::CTRL | Qt::Key_L),
              QStringLiteral("Put the focus in the list of selected objects"),
              [this] { m_listView->ListView()->setFocus(Qt::ShortcutFocusReason); });
    AddAction(menu, "GoForm", QStringLiteral("&Record Form"), QKeySequence(Qt::CTRL | Qt::Key_R),
              QStringLiteral("Put the focus in the record form"),
              [this] { m_form->FirstControl()->setFocus(Qt::ShortcutFocusReason); });
    AddAction(menu, "GoNextPane", QStringLiteral("Next Pan&e"), QKeySequence(Qt::Key_F6),
              QStringLiteral("Move the focus to the next part of the window"),
              [this] { FocusNextPane(1); });
    AddAction(menu, "GoPriorPane", QStringLiteral("Pre&vious Pane"),
              QKeySequence(Qt::SHIFT | Qt::Key_F6),
              QStringLiteral("Move the focus to the previous part of the window"),
              [this] { FocusNextPane(-1); });
}

void CVesparioFrm::BuildToolsMenu() {
    QMenu *menu = menuBar()->addMenu(QStringLiteral("&Tools"));
    AddAction(menu, "ToolsRestart", QStringLiteral("&Restart Selection"), QKeySequence(Qt::Key_F5),
              QStringLiteral("Select and sort the objects again"), [this] {
                  if (!m_listView->Engine())
                      return;
                  CommitEdits();
                  m_listView->Engine()->RestartSelection();
                  WakeIdle();
              });
    AddAction(menu, "ToolsShowAll", QStringLiteral("Select &All Objects"), {},
              QStringLiteral("Drop the selection criteria and list every object"), [this] {
                  if (!m_listView->Engine())
                      return;
                  CommitEdits();
                  m_listView->Engine()->Criteria().Clear();
                  m_listView->Engine()->RestartSelection();
                  WakeIdle();
              });
    AddAction(menu, "ToolsNear", QStringLiteral("Objects &Near This One"), {},
              QStringLiteral("Select the objects near the current object"), [this] {
                  if (!m_listView->Engine() || !m_doc->CurrentRecord())
                      return;
                  CommitEdits();
                  const std::string position(m_doc->CurrentRecord()->Field(field::RaDec));
                  SendCommandToWindow(1, position);
              });
    menu->addSeparator();
    AddAction(menu, "ToolsCoordinates", QStringLiteral("&Coordinates..."), {},
              QStringLiteral("Convert a position between notations and coordinate systems"),
              [this] { OpenCoordinates(); });
    AddAction(menu, "ToolsTimes", QStringLiteral("&Times..."), {},
              QStringLiteral("Convert the current time between time scales, or set it"),
              [this] { OpenTimes(); });
    AddAction(menu, "ToolsDistances", QStringLiteral("&Distances..."), {},
              QStringLiteral("Convert a distance between units, velocity and redshift"),
              [this] { OpenDistances(); });
    AddAction(menu, "ToolsWhatsUp", QStringLiteral("&Whats Up"), QKeySequence(Qt::CTRL | Qt::Key_W),
              QStringLiteral("The Sun, the planets and the Moon for the default place"),
              [this] { OpenWhatsUp(); });
    BuildChartActions(menu);
    menu->addSeparator();
    AddAction(menu, "ToolsEditFailures", QStringLiteral("Edit &Failures..."), {},
              QStringLiteral("The failures of the record edit checks"),
              [this] { OpenEditFailures(); });
    AddAction(menu, "ToolsSettings", QStringLiteral("&Settings..."), {},
              QStringLiteral("Edit the codes, places, equipment, books and preferences"),
              [this] { OpenSettings(); });
}

// --- the tool windows ------------------------------------------------------------------------

void CVesparioFrm::ShowToolWindow(ToolWindow *window) {
    connect(window, &ToolWindow::HelpAsked, this, &CVesparioFrm::ShowHelp, Qt::UniqueConnection);
    window->show();
    window->raise();
    window->activateWindow();
}

void CVesparioFrm::OpenCoordinates() {
    if (!m_coordinates) {
        m_coordinates =
            new CoordinatesWindow(m_host, m_app.Place(), m_app.Settings().Profile(), this);
        if (const ObjectRecord *current = m_doc->CurrentRecord())
            m_coordinates->CurrentObjectMoved(current->Field(field::RaDec));
    }
    ShowToolWindow(m_coordinates);
}

void CVesparioFrm::OpenTimes() {
    if (!m_times) {
        m_times = new TimesWindow(m_host, m_app.Place(), m_app.Settings().Profile(), this);
        connect(m_times, &TimesWindow::TimeChanged, this, &CVesparioFrm::PlaceOrTimeChanged);
    }
    ShowToolWindow(m_times);
}

void CVesparioFrm::OpenDistances() {
    if (!m_distances)
        m_distances = new DistancesWindow(m_host, m_app.Settings().Profile(), this);
    ShowToolWindow(m_distances);
}

void CVesparioFrm::OpenWhatsUp() {
    if (!m_whatsUp) {
        m_whatsUp = new WhatsUpWindow(m_app.Place(), m_app.Settings().Profile(), this);
        ChartsFollowCurrent();
    } else {
        m_whatsUp->Refresh();
    }
    ShowToolWindow(m_whatsUp);
}

void CVesparioFrm::OpenSettings() {
    if (m_settingsSheet)
        return;
    CommitEdits();
    SettingsSheet sheet(m_app.Settings(), m_host, m_app.Place().Code(), m_doc, this);
    connect(&sheet, &SettingsSheet::HelpAsked, this, &CVesparioFrm::ShowHelp);
    connect(&sheet, &SettingsSheet::PlaceChanged, this, &CVesparioFrm::PlaceOrTimeChanged);
    m_settingsSheet = &sheet;
    sheet.exec();
    m_settingsSheet = nullptr;
    // The choice lists of the checkbox view and the record form follow the new vocabularies.
    ReloadViews();
}

void CVesparioFrm::PlaceOrTimeChanged() {
    CommitEdits();
    if (ObjectList *engine = m_listView->Engine())
        engine->CheckForChanges();
    // The computed values of the form (altitude, rise, set) follow the new instant.
    ReloadViews();
    if (m_times && sender() != m_times)
        m_times->Refresh();
    if (m_coordinates)
        m_coordinates->Refresh();
    if (m_whatsUp)
        m_whatsUp->Refresh();
    if (m_nightChart)
        m_nightChart->Chart()->Refresh();
    WakeIdle();
}

void CVesparioFrm::BuildHelpMenu() {
    QMenu *menu = menuBar()->addMenu(QStringLiteral("&Help"));
    AddAction(menu, "HelpContents", QStringLiteral("&Contents"), QKeySequence::HelpContents,
              QStringLiteral("The help pages"), [this] { ShowHelp(QStringLiteral("index.html")); });
    AddAction(menu, "HelpTutorial", QStringLiteral("&Getting Started"), {},
              QStringLiteral("The tutorial"),
              [this] { ShowHelp(QStringLiteral("tutorial.html")); });
    AddAction(menu, "HelpWindow", QStringLiteral("The &Window"), {},
              QStringLiteral("The parts of the window and their keys"),
              [this] { ShowHelp(QStringLiteral("window.html")); });
    AddAction(menu, "HelpPatterns", QStringLiteral("The &Pattern Language"), {},
              QStringLiteral("How text patterns are written"),
              [this] { ShowHelp(QStringLiteral("patterns.html")); });
    AddAction(menu, "HelpFields", QStringLiteral("The &Fields"), {},
              QStringLiteral("What each field of a record holds"),
              [this] { ShowHelp(QStringLiteral("fields.html")); });
    menu->addSeparator();
    AddAction(menu, "HelpAbout", QStringLiteral("&About Vespario"), {},
              QStringLiteral("The program's version"), [this] { ShowAbout(); });
}

void CVesparioFrm::SetTabChain() {
    std::vector<QWidget *> chain = {m_form->LastControl(), m_listView->IdBox(),
                                    m_listView->MoreButton(), m_listView->ListView()};
    for (CEditVw *view : m_texts)
        chain.push_back(view);
    for (QCheckBox *box : m_tags->Boxes())
        chain.push_back(box);
    for (size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

// --- the document and its views ------------------------------------------------------------

bool CVesparioFrm::OpenDocumentFile(const std::string &path) {
    if (!m_app.OpenDocument(path)) {
        UpdateRecentMenu();
        return false;
    }
    m_listView->ResetEngine();
    m_listView->Engine()->SetLongestSlice(kLongestSliceMs);
    AttachEditChecks();
    ReloadViews();
    ShowRecordCount(m_doc->GetRecordCount());
    UpdateTitle();
    UpdateRecentMenu();
    WakeIdle();
    return true;
}

void CVesparioFrm::NewDocument() {
    m_app.NewDocument();
    m_listView->ResetEngine();
    m_listView->Engine()->SetLongestSlice(kLongestSliceMs);
    AttachEditChecks();
    ReloadViews();
    ShowRecordCount(0);
    UpdateTitle();
    WakeIdle();
}

void CVesparioFrm::SendCommandToWindow(int identifier, const std::string &text) {
    ObjectList *engine = m_listView->Engine();
    if (!engine)
        return;
    show();
    raise();
    activateWindow();
    CommitEdits();
    if (identifier == 0) {
        m_listView->IdBox()->setEditText(DecodeRecordText(text, m_doc->GreekSet()));
        engine->FindId(text, platform::TickCount());
    } else
        engine->PareNear(text);
    m_listView->SyncControls();
    WakeIdle();
}

void CVesparioFrm::ReloadViews() {
    if (m_coordinates) {
        const ObjectRecord *current = m_doc->CurrentRecord();
        m_coordinates->CurrentObjectMoved(current ? current->Field(field::RaDec)
                                                  : std::string_view());
    }
    LogCurrentObject();
    ChartsFollowCurrent();
    m_form->Load();
    for (CEditVw *view : m_texts)
        view->Load();
    m_tags->Load();
    setWindowModified(m_doc->IsModified());
    // A changed ID may have asked for the name index to be rebuilt.
    WakeIdle();
}

// With the conversation layer's log on (VESPARIO_LINK_LOG), each new current object is named,
// so that a script sees what its command made the window show.
void CVesparioFrm::LogCurrentObject() {
    const int current = m_doc->CurrentIndex();
    if (current == m_loggedCurrent)
        return;
    m_loggedCurrent = current;
    if (const ObjectRecord *record = m_doc->CurrentRecord())
        link::WriteLog("Current object " + link::LogText(record->Field(field::Id)));
}

void CVesparioFrm::CommitEdits() {
    m_form->ReadBackIfChanged();
    for (CEditVw *view : m_texts)
        view->ReadBack();
    setWindowModified(m_doc->IsModified());
}

bool CVesparioFrm::UndoFocusedEdit() {
    if (m_form->UndoFocusedEdit())
        return true;
    for (CEditVw *view : m_texts)
        if (view->hasFocus() && view->UndoEdit())
            return true;
    return false;
}

bool CVesparioFrm::GoTo(int recordIndex) {
    ObjectList *engine = m_listView->Engine();
    return engine && engine->GoTo(-1, recordIndex);
}

void CVesparioFrm::ShowRecordCount(int count) {
    m_host.SetStatusText(kDatabasePane, std::to_string(count));
}

void CVesparioFrm::Navigate(void (ObjectList::*step)()) {
    ObjectList *engine = m_listView->Engine();
    if (!engine)
        return;
    CommitEdits();
    (engine->*step)();
    m_listView->SyncControls();
    WakeIdle();
}

// --- idle work --------------------------------------------------------------------------------

void CVesparioFrm::WakeIdle() {
    if (!m_idle.isActive())
        m_idle.start(0);
}

void CVesparioFrm::IdleTick() {
    ObjectList *engine = m_listView->Engine();
    if (m_busy)
        return;
    if (!engine) {
        m_idle.stop();
        return;
    }
    const bool more = engine->IdleWork(platform::TickCount());
    m_listView->SyncControls();
    if (!more) {
        m_idle.stop();
        if (!m_screenshotFile.isEmpty())
            QTimer::singleShot(300, this, &CVesparioFrm::GrabScreenshot);
        return;
    }
    // A typed ID waiting for its second to pass needs no busy loop.
    const LoadState &load = m_doc->Load();
    const bool onlyWaiting = engine->Typing().Pending() && !engine->PassRunning() &&
                             load.allSplit && load.allParsed && !m_doc->IndexRebuildNeeded();
    m_idle.setInterval(onlyWaiting ? kTypingPollMs : 0);
}

// --- saving and closing
// ---------------------------------------------------------------------------

void CVesparioFrm::FinishSplitting() {
    // Records not yet split off the file would not be written: split them first.
    while (!m_doc->Load().allSplit)
        m_doc->SplitRecordsSlice(platform::TickCount() + 60000);
}

bool CVesparioFrm::SaveDocument() {
    if (m_app.DocumentPath().empty())
        return SaveDocumentAs();
    CommitEdits();
    FinishSplitting();
    const BusyGuard busy(m_busy);
    const bool saved = m_doc->SaveCommand(m_app.DocumentPath());
    m_host.EndProgress();
    if (!saved) {
        m_host.MessageBox("The database could not be saved to " + m_app.DocumentPath() +
                              "; the file on disk is as it was.",
                          kTitle, platform::Buttons::Ok);
    } else {
        m_host.SetStatusText(0, "Saved " + m_app.DocumentPath());
    }
    setWindowModified(m_doc->IsModified());
    WakeIdle();
    return saved;
}

bool CVesparioFrm::SaveDocumentAs() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"),
                                                      FromLocal(m_app.DocumentPath()),
                                                      QStringLiteral("Vespario Files (*.obs)"));
    if (path.isEmpty())
        return false;
    const std::string previous = m_app.DocumentPath();
    m_app.SetDocumentPath(path.toStdString());
    if (!SaveDocument()) {
        m_app.SetDocumentPath(previous);
        return false;
    }
    UpdateTitle();
    UpdateRecentMenu();
    return true;
}

bool CVesparioFrm::MaybeSave() {
    CommitEdits();
    if (!m_doc->IsModified())
        return true;
    const QString name = m_app.DocumentPath().empty()
                             ? QStringLiteral("Untitled")
                             : QFileInfo(FromLocal(m_app.DocumentPath())).fileName();
    const auto answer = QMessageBox::warning(
        this, QString::fromLatin1(kTitle),
        QStringLiteral("The database %1 has unsaved changes.\nSave them?").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Discard)
        return true;
    return SaveDocument();
}

void CVesparioFrm::closeEvent(QCloseEvent *event) {
    if (!MaybeSave()) {
        event->ignore();
        return;
    }
    m_idle.stop();
    StoreLayout();
    StoreBarState();
    if (m_help)
        m_help->close();
    if (m_listView->MatchesWindow())
        m_listView->MatchesWindow()->close();
    // Closing stores each tool window's rectangle before the profile is written.
    for (QDialog *tool :
         std::initializer_list<QDialog *>{m_coordinates, m_times, m_distances, m_whatsUp})
        if (tool)
            tool->close();
    event->accept();
}

// --- window sizes ------------------------------------------------------------------------------

void CVesparioFrm::RestoreWindowRect() {
    const GeneralSettings &g = m_app.General();
    resize(g.width, g.height);
    if (g.left < kNoDialogPosition)
        move(g.left, g.top);
}

void CVesparioFrm::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (m_splittersApplied)
        return;
    QTimer::singleShot(0, this, &CVesparioFrm::ApplySplitterSizes);
    // The keyboard starts in the list: the arrow keys walk through the objects at once.
    m_listView->ListView()->setFocus(Qt::OtherFocusReason);
}

// The first panes get their stored sizes; the last pane of each splitter takes the rest.
void CVesparioFrm::ApplySplitterSizes() {
    m_splittersApplied = true;
    const GeneralSettings &g = m_app.General();
    const auto apply = [](QSplitter *splitter, QList<int> sizes) {
        const int extent =
            splitter->orientation() == Qt::Vertical ? splitter->height() : splitter->width();
        int used = splitter->handleWidth() * (splitter->count() - 1);
        for (int size : sizes)
            used += size;
        sizes.append(std::max(1, extent - used));
        splitter->setSizes(sizes);
    };
    apply(m_rows, {g.split2_1});
    apply(m_columns, {g.split3_1, g.split3_2});
    apply(m_textSplitter, {g.split5_1, g.split5_2, g.split5_3, g.split5_4});
}

void CVesparioFrm::StoreLayout() {
    GeneralSettings &g = m_app.General();
    if (!m_splittersApplied || isMinimized())
        return;
    const QList<int> rows = m_rows->sizes();
    const QList<int> columns = m_columns->sizes();
    const QList<int> texts = m_textSplitter->sizes();
    g.split2_1 = rows.value(0, g.split2_1);
    g.split3_1 = columns.value(0, g.split3_1);
    g.split3_2 = columns.value(1, g.split3_2);
    g.split5_1 = texts.value(0, g.split5_1);
    g.split5_2 = texts.value(1, g.split5_2);
    g.split5_3 = texts.value(2, g.split5_3);
    g.split5_4 = texts.value(3, g.split5_4);
}

void CVesparioFrm::moveEvent(QMoveEvent *event) {
    QMainWindow::moveEvent(event);
    if (isMinimized() || isMaximized() || isFullScreen() || !isVisible())
        return;
    const QPoint at = pos();
    if (at.x() >= kNoDialogPosition)
        return;
    m_app.General().left = at.x();
    m_app.General().top = at.y();
}

void CVesparioFrm::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized() || isMaximized() || isFullScreen() || !isVisible())
        return;
    m_app.General().width = width();
    m_app.General().height = height();
}

void CVesparioFrm::RestoreBarState() {
    const std::string state = m_app.Settings().Profile().GetString(kBarSection, kBarKey);
    if (!state.empty())
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
}

void CVesparioFrm::StoreBarState() {
    m_app.Settings().Profile().WriteString(kBarSection, kBarKey,
                                           saveState().toBase64().toStdString());
}

void CVesparioFrm::DefaultWindowSizes() {
    const GeneralSettings defaults;
    GeneralSettings &g = m_app.General();
    g.left = defaults.left;
    g.top = defaults.top;
    g.width = defaults.width;
    g.height = defaults.height;
    g.split2_1 = defaults.split2_1;
    g.split3_1 = defaults.split3_1;
    g.split3_2 = defaults.split3_2;
    g.split5_1 = defaults.split5_1;
    g.split5_2 = defaults.split5_2;
    g.split5_3 = defaults.split5_3;
    g.split5_4 = defaults.split5_4;
    ForgetDialogPositions(m_app.Settings().Profile());
    showNormal();
    RestoreWindowRect();
    QTimer::singleShot(0, this, &CVesparioFrm::ApplySplitterSizes);
}

// --- font, lock, title, recent files -----------------------------------------------------------

void CVesparioFrm::ApplyFont() {
    const QFont font = DisplayFont(m_app.General());
    m_form->setFont(font);
    for (CEditVw *view : m_texts)
        view->setFont(font);
    m_tags->setFont(font);
    m_listView->ApplyFont(font);
}

void CVesparioFrm::ChooseFont() {
    bool ok = false;
    const QFont font =
        QFontDialog::getFont(&ok, DisplayFont(m_app.General()), this, QStringLiteral("Font"));
    if (!ok)
        return;
    StoreDisplayFont(font, m_app.General());
    ApplyFont();
}

void CVesparioFrm::ToggleLockSci(bool locked) {
    CommitEdits();
    m_app.General().lockSci = locked ? 1 : 0;
    m_form->Load();
}

void CVesparioFrm::UpdateTitle() {
    const QString name = m_app.DocumentPath().empty()
                             ? QStringLiteral("Untitled")
                             : QFileInfo(FromLocal(m_app.DocumentPath())).fileName();
    setWindowTitle(QStringLiteral("%1[*] - Vespario").arg(name));
    setWindowModified(m_doc && m_doc->IsModified());
}

void CVesparioFrm::UpdateRecentMenu() {
    const auto &entries = m_app.Recent().Entries();
    for (size_t i = 0; i < m_recentActions.size(); ++i) {
        QAction *action = m_recentActions[i];
        const bool used = i < entries.size();
        action->setVisible(used);
        if (used)
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(FromLocal(entries[i])));
    }
}

void CVesparioFrm::OpenRecent(int i) {
    const auto &entries = m_app.Recent().Entries();
    if (i < 0 || i >= static_cast<int>(entries.size()) || !MaybeSave())
        return;
    const std::string path = entries[static_cast<size_t>(i)];
    OpenDocumentFile(path);
}

void CVesparioFrm::OpenWithDialog() {
    if (!MaybeSave())
        return;
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open"), FromLocal(m_app.DocumentPath()),
                                     QStringLiteral("Vespario Files (*.obs);;All Files (*)"));
    if (!path.isEmpty())
        OpenDocumentFile(path.toStdString());
}

// --- keyboard helpers ---------------------------------------------------------------------------

void CVesparioFrm::InsertAtCursor(const QString &text) {
    QWidget *focus = QApplication::focusWidget();
    if (auto *combo = qobject_cast<QComboBox *>(focus); combo && combo->lineEdit())
        focus = combo->lineEdit();
    if (auto *edit = qobject_cast<QLineEdit *>(focus); edit && !edit->isReadOnly()) {
        edit->insert(text);
        edit->setModified(true);
        return;
    }
    if (auto *view = qobject_cast<QPlainTextEdit *>(focus); view && !view->isReadOnly()) {
        view->insertPlainText(text);
        return;
    }
    QApplication::beep();
}

void CVesparioFrm::FocusNextPane(int step) {
    const std::vector<QWidget *> panes = {m_form,     m_listView->IdBox(), m_listView->ListView(),
                                          m_texts[0], m_texts[1],          m_texts[2],
                                          m_texts[3], m_texts[4],          m_tags};
    const QWidget *focus = QApplication::focusWidget();
    int at = -1;
    for (size_t i = 0; i < panes.size() && focus; ++i)
        if (panes[i] == focus || panes[i]->isAncestorOf(focus))
            at = static_cast<int>(i);
    const int count = static_cast<int>(panes.size());
    const int next = ((at < 0 ? 0 : at + step) % count + count) % count;
    QWidget *target = panes[static_cast<size_t>(next)];
    if (target == m_form)
        target = m_form->FirstControl();
    else if (target == m_tags && !m_tags->Boxes().empty())
        target = m_tags->Boxes().front();
    target->setFocus(Qt::OtherFocusReason);
}

// --- help, tutorial, screenshot ------------------------------------------------------------------

void CVesparioFrm::ShowHelp(const QString &page) {
    if (!m_help)
        m_help = new HelpWindow(this);
    if (!m_help->ShowPage(page)) {
        m_host.MessageBox("The help pages are not installed (" +
                              HelpWindow::HelpFolder().toStdString() + ").",
                          kTitle, platform::Buttons::Ok);
        return;
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void CVesparioFrm::OfferTutorial() {
    if (!m_app.OfferTutorial())
        return;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Welcome to Vespario"),
                    QStringLiteral("Would you like to view the tutorial ?\n(highly recommended "
                                   "for first-timers)"),
                    QMessageBox::Yes | QMessageBox::No, this);
    auto *check = new QCheckBox(QStringLiteral("Don't ask again"));
    box.setCheckBox(check);
    connect(check, &QCheckBox::toggled, this,
            [this](bool checked) { m_app.SetTutorialDontAskAgain(checked); });
    if (box.exec() == QMessageBox::Yes)
        ShowHelp(QStringLiteral("tutorial.html"));
}

void CVesparioFrm::ShowAbout() {
    QMessageBox::about(this, QStringLiteral("About Vespario"),
                       QStringLiteral("<h3>Vespario %1</h3><p>A database and observing planner "
                                      "for deep-sky observers.</p><p>The sample database is "
                                      "built from OpenNGC (CC-BY-SA-4.0).</p>")
                           .arg(QString::fromStdString(CVesparioApp::Version())));
}

void CVesparioFrm::TakeScreenshotWhenIdle(const QString &file) {
    m_screenshotFile = file;
    WakeIdle();
}

void CVesparioFrm::GrabScreenshot() {
    const QString file = std::exchange(m_screenshotFile, QString());
    if (file.isEmpty())
        return;
    if (!m_screenshotWindow.isEmpty())
        return GrabWindowScreenshot(m_screenshotWindow, file);
    const bool saved = grab().save(file, "PNG");
    if (!saved)
        m_host.SetStatusText(0, "The screenshot could not be written");
    close();
}

} // namespace vespario::ui
