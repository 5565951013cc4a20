#pragma once
// The main frame: the record form above, the object list, the five text views and the
// checkbox view below, in splitters whose sizes live in the profile; the three tool bars,
// the status bar with its counters, the menus, and the one idle timer that drives the
// object list's idle work. It is the window start-up talks to (AppWindow) and the views the
// document talks to (DocumentViews).

#include "app/cvesparioapp.h"
#include "db/cvespariodoc.h"
#include "db/maintenance.h"
#include "report/reportlayout.h"
#include "select/editcheckadapter.h"
#include "select/quickcommands.h"
#include "ui/coordinateswindow.h"
#include "ui/criteriadialog.h"
#include "ui/distanceswindow.h"
#include "ui/editfailureswindow.h"
#include "ui/helpwindow.h"
#include "ui/nightchartwindow.h"
#include "ui/padialdialog.h"
#include "ui/searchdialog.h"
#include "ui/setalldialog.h"
#include "ui/settingssheet.h"
#include "ui/timeswindow.h"
#include "ui/whatsupwindow.h"

#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

namespace vespario {
class ObjectList;
}

namespace vespario::ui {

class CEditVw;
class CVesparioVw;
class CVesparioVwId;
class CVesparioVwTag;
class ImportDialog;
class QtHost;
class SortDialog;

class CVesparioFrm : public QMainWindow, public AppWindow, public DocumentViews {
    Q_OBJECT
public:
    static constexpr int kTextViews = 5;
    // The longest idle slice the window runs, so that input is answered in between.
    static constexpr uint32_t kLongestSliceMs = 20;

    CVesparioFrm(CVesparioApp &app, QtHost &host);
    ~CVesparioFrm() override;

    // --- AppWindow ---------------------------------------------------------------------------
    bool CreateFrame() override;
    bool OpenDocumentFile(const std::string &path) override;
    void NewDocument() override;
    // Identifier 0: find the object with that ID; 1: pare to the objects near a position
    // ("RaDec[,distance]"). The window comes to the front.
    void SendCommandToWindow(int identifier, const std::string &text) override;

    // --- DocumentViews -------------------------------------------------------------------------
    void ReloadViews() override;
    void CommitEdits() override;
    bool UndoFocusedEdit() override;
    bool GoTo(int recordIndex) override;
    void ShowRecordCount(int count) override;

    // After the window is shown: the "Welcome to Vespario" question when the profile asks.
    void OfferTutorial();
    // Grabs the window into a PNG file once the idle work is done, then closes.
    void TakeScreenshotWhenIdle(const QString &file);
    // The screenshot is of that window instead ("settings", "whatsup", "nightchart",
    // "padial"), opened once the idle work is done.
    void SetScreenshotWindow(const QString &window) { m_screenshotWindow = window; }
    void ShowHelp(const QString &page);

    // Saves (asking for a name when there is none); false when nothing was saved.
    bool SaveDocument();
    bool SaveDocumentAs();
    // Asks about unsaved changes: true when the document may be replaced or closed.
    bool MaybeSave();

    // The widgets, for the tests.
    CVesparioVw *Form() const { return m_form; }
    CVesparioVwId *ListView() const { return m_listView; }
    CEditVw *TextView(int i) const { return m_texts[static_cast<size_t>(i)]; }
    CVesparioVwTag *TagView() const { return m_tags; }
    QSplitter *RowSplitter() const { return m_rows; }
    QSplitter *ColumnSplitter() const { return m_columns; }
    QSplitter *TextSplitter() const { return m_textSplitter; }
    QLabel *StatusPane(int pane) const;
    QToolBar *GreekBar() const { return m_greekBar; }
    QToolBar *EuropeanBar() const { return m_euroBar; }
    QAction *Action(const QString &name) const;
    bool IdleRunning() const { return m_idle.isActive(); }
    // The stored splitter sizes have been applied to the shown window.
    bool LayoutRestored() const { return m_splittersApplied; }
    HelpWindow *Help() const { return m_help; }
    // The tool windows, made when first opened (null before).
    CoordinatesWindow *Coordinates() const { return m_coordinates; }
    TimesWindow *Times() const { return m_times; }
    DistancesWindow *Distances() const { return m_distances; }
    WhatsUpWindow *WhatsUp() const { return m_whatsUp; }
    NightChartWindow *NightChart() const { return m_nightChart; }
    // The position angle dial while it is open (null otherwise).
    PaDialDialog *PaDial() const { return m_paDial; }
    // The Settings sheet while it is open (null otherwise).
    SettingsSheet *SettingsDialog() const { return m_settingsSheet; }

    // The default place or its instant changed: a list sorted or selected by the time or
    // the place is done again, and the windows that show them are refreshed.
    void PlaceOrTimeChanged();

    // The quick commands of a right click: the menu for the entries, popped up at pos (kept
    // for the tests until it closes), and the chosen entry carried out. checkbox: the code
    // of the right-clicked checkbox, 0 for a field.
    void ShowQuickMenu(const std::vector<QuickEntry> &entries, const QPoint &pos,
                       char checkbox = 0);
    QMenu *QuickMenu() const { return m_quickMenu; }
    // Set All, preselecting a checkbox when opened from its menu (0: none).
    void OpenSetAll(char checkbox = 0);
    SetAllDialog *SetAll() const { return m_setAll; }
    // Search and Replace: the modeless dialog, made when first opened (null before).
    void OpenSearch();
    SearchDialog *FindReplace() const { return m_search; }

    // The Select menu: the criteria dialog (modeless, made when first opened), the sort
    // dialog (modal: null unless open) and the order of the atlases.
    void OpenCriteria();
    void OpenSortOrder();
    void OpenAtlasOrder();
    CriteriaDialog *Criteria() const { return m_criteria; }
    SortDialog *SortOrderDialog() const { return m_sortDialog; }
    // The menu of an entry of the Type, Try or Src list.
    void ShowVocabularyMenu(QuickList list, const std::string &entry, const QPoint &pos);
    // The Edit Failures window, made on the first failure (null before); the checks.
    EditFailuresWindow *EditFailures() const { return m_editFailures; }
    EditChecks *Checks() const { return m_editChecks.get(); }
    // Goes to a failure's record; field >= 0 also selects start..end of that field.
    void ViewFailure(int identity, int fieldNo, int start, int end);
    // File Import: from a file or the clipboard, described in the import dialog.
    void ImportFile();
    // "Describe the Import File" while it is open (null otherwise).
    ImportDialog *ImportDescriber() const { return m_importDialog; }

public slots:
    void WakeIdle();

protected:
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void BuildViews();
    void BuildStatusBar();
    void BuildToolBars();
    void BuildMenus();
    void BuildFileMenu();
    void BuildEditMenu();
    void BuildViewMenu();
    void BuildGoMenu();
    void BuildSelectMenu();
    void BuildToolsMenu();
    void BuildHelpMenu();
    // The reports (ui/cvespariofrmreport.cpp).
    enum class ObservationReport { Transit, Circumstances, SessionNotes };
    void BuildReportMenu();
    void AddObservationReportActions(QMenu *menu);
    void WriteReportCommand(bool exportKind);
    std::string CurrentObservationEntry();
    void ShowObservationReport(ObservationReport which);
    void EditSessionNotes();
    void SetTabChain();
    QAction *AddAction(QMenu *menu, const QString &name, const QString &text,
                       const QKeySequence &shortcut, const QString &tip,
                       const std::function<void()> &run);

    void RestoreWindowRect();
    void ApplySplitterSizes();
    void StoreLayout();
    void RestoreBarState();
    void StoreBarState();
    void DefaultWindowSizes();
    void ApplyFont();
    void ChooseFont();
    void ToggleLockSci(bool locked);
    void UpdateTitle();
    void UpdateRecentMenu();
    void OpenRecent(int i);
    void OpenWithDialog();
    void InsertAtCursor(const QString &text);
    void FocusNextPane(int step);
    void Navigate(void (ObjectList::*step)());
    void FinishSplitting();
    void IdleTick();
    void GrabScreenshot();
    void LogCurrentObject();
    void ShowAbout();
    void ShowToolWindow(ToolWindow *window);
    void OpenCoordinates();
    void OpenTimes();
    void OpenDistances();
    void OpenWhatsUp();
    void OpenSettings();
    // The chart tools (cvespariofrmchart.cpp).
    void BuildChartActions(QMenu *menu);
    void OpenNightChart();
    void OpenPaDial();
    void OpenAtlasIndex(const char *file);
    void ChartsFollowCurrent();
    void GrabWindowScreenshot(const QString &window, const QString &file);
    QuickSources QuickMenuSources() const;
    void RunQuickEntry(const QuickEntry &entry, char checkbox);
    void ApplySetAll();
    void EndCriteria(DialogEnd end);
    // The Settings sheet on one page (a vocabulary's "View definitions").
    void OpenSettingsAt(int page);
    void BuildSearchEntry(QMenu *menu);
    SearchWalk *EnsureSearchWalk();
    SearchCursor SearchCursorNow();
    void ShowSearchMatch();
    // The edit checks and the maintenance tools (cvespariofrmmaintain.cpp).
    void AttachEditChecks();
    void OpenEditFailures();
    void AddEditFailure(const EditFailure &failure, int index);
    void BuildMaintenanceMenu(QMenu *fileMenu);
    MaintenanceResult RunMaintenance(const std::function<MaintenanceResult()> &tool);
    void ScanLocalUrlsCommand();
    void DeleteAuthorDataCommand();
    void FileDifferencesCommand();
    void ListMagazinesCommand();
    void ExportUrlsCommand();

    CVesparioApp &m_app;
    QtHost &m_host;
    CVesparioDoc *m_doc = nullptr;
    CVesparioVw *m_form = nullptr;
    CVesparioVwId *m_listView = nullptr;
    std::array<CEditVw *, kTextViews> m_texts{};
    CVesparioVwTag *m_tags = nullptr;
    QSplitter *m_rows = nullptr;
    QSplitter *m_columns = nullptr;
    QSplitter *m_textSplitter = nullptr;
    QToolBar *m_mainBar = nullptr;
    QToolBar *m_greekBar = nullptr;
    QToolBar *m_euroBar = nullptr;
    QLabel *m_message = nullptr;
    std::array<QLabel *, 4> m_counters{};
    QMenu *m_recentMenu = nullptr;
    std::array<QAction *, RecentFiles::kCapacity> m_recentActions{};
    QPointer<HelpWindow> m_help;
    QPointer<CoordinatesWindow> m_coordinates;
    QPointer<TimesWindow> m_times;
    QPointer<DistancesWindow> m_distances;
    QPointer<WhatsUpWindow> m_whatsUp;
    QPointer<NightChartWindow> m_nightChart;
    QPointer<PaDialDialog> m_paDial;
    QPointer<SettingsSheet> m_settingsSheet;
    QPointer<QMenu> m_quickMenu;
    QPointer<SetAllDialog> m_setAll;
    QPointer<CriteriaDialog> m_criteria;
    SortDialog *m_sortDialog = nullptr;
    QuickList m_quickList = QuickList::Types; // the list whose menu was shown last
    std::unique_ptr<QuickCommands> m_quick;   // on m_quickEngine, made again with the engine
    ImportDialog *m_importDialog = nullptr;
    ObjectList *m_quickEngine = nullptr;
    QPointer<SearchDialog> m_search;
    std::unique_ptr<SearchWalk> m_searchWalk; // on m_searchEngine, made again with the engine
    ObjectList *m_searchEngine = nullptr;
    int m_searchShown = -1; // the record the views showed when the last walk began
    QTimer m_idle;
    QString m_screenshotFile;
    QString m_screenshotWindow;
    bool m_splittersApplied = false;
    int m_loggedCurrent = -1; // the record the log named last
    bool m_busy = false;      // a command that lets events through runs: no idle work meanwhile
    std::unique_ptr<EditChecks> m_editChecks;
    std::unique_ptr<EditCheckAdapter> m_editCheckWork;
    std::unique_ptr<FrameFailureSink> m_failureSink;
    QPointer<EditFailuresWindow> m_editFailures;
    QAction *m_delAuthorAction = nullptr;
    std::array<ReportLayout, kReportKindCount> m_reportLayouts; // the last layout of each kind
};

} // namespace vespario::ui
