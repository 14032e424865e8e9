#pragma once

#include "engine/StatisticsEngine.h"
#include "model/History.h"
#include "model/RunFacts.h"
#include "model/RunRecorder.h"
#include "model/ScannerDump.h"
#include "reports/ColourTable.h"
#include "reports/ReportContext.h"
#include "reports/WalkProgress.h"

#include <QDateTime>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPrinter;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QEventLoop;
class LargestFoldersWindow;
class CompareWindow;
class TrendsWindow;
class MachinesWindow;
class ReportPage;
class StyledLabel;
class UnreadableFoldersItem;
class TChart;
class TChartPreviewer;
struct ChartPrintHeader;
class TOvcNotebook;
class TPickList;

// The statistics window: the notebook of report pages, the run that fills them, and printing of
// the page in view. It is created hidden at start-up and lives until the program ends; it owns
// the results of the last run, which stay while the window is hidden.
class TfrmStatistics : public QDialog
{
    Q_OBJECT

public:
    // The notebook's pages, in the order of their tabs.
    enum Page
    {
        SpaceTab,
        TypesTab,
        SizesTab,
        OverhangTab,
        AccessTab,
        CreatedTab,
        ModifiedTab,
        CombinedTab,
        AttributeTab,
        TimeTab,
        PageCount
    };

    explicit TfrmStatistics(QWidget *parent = nullptr);
    ~TfrmStatistics() override;

    // The collection engine and the results of the last run.
    StatisticsEngine engine;
    // The facts of the run under way and of the last run (its drives, how each keeps its dates),
    // for its collection and for the pages.
    RunRecorder recorder;

    TOvcNotebook *OvcNotebook1;
    QPushButton *btOK;
    QPushButton *btPrint;
    QPushButton *btCancel;
    // "&Report" at the left end of the button row: what can be done with the figures beyond the
    // pages.
    QPushButton *btReport;
    QMenu *mnuReport;
    QAction *SaveCollection1;
    QAction *OpenCollection1;
    QAction *OpenCollectionsFolder1;
    QAction *LargestFolders1;
    QAction *ExportPage1;                           // "&Export this page..."
    QAction *ExportAll1;                            // "Export &all pages as PDF..."
    LargestFoldersWindow *largestFolders = nullptr; // made when first asked for
    QAction *CompareWith1;
    QAction *Trends1;
    TrendsWindow *trendsWindow = nullptr;     // made when first asked for
    CompareWindow *compareWindow = nullptr;   // made when first asked for
    QAction *Machines1;                       // "&Machines..."
    MachinesWindow *machinesWindow = nullptr; // made when first asked for
    // Asked by "&Machines...": the folder of collections; an empty path means the user gave up.
    std::function<QString(const QString &start)> askMachinesFolder;
    QStatusBar *StatusBar1;
    QFrame *pnlNotYet;
    QWidget *EsTile1;
    StyledLabel *lblNotYet;
    QPushButton *btAbort;
    // The drive list: one entry per drive, the drive letter first; the picked entries are the
    // list's selection. The main window's chart reads it too.
    TPickList *pckStatDrive;
    // The drives and the picked file types of the last run; never shown.
    TPickList *PickList1;
    TPickList *PickList2;
    QMenu *popSel;
    QAction *SelectAll1;
    QAction *DeselectAll1;
    QTimer Timer1; // the pie tick of the Space and Types pages
    // Beside the status text while a drive is walked: how much of the drive is done.
    QProgressBar *walkProgress;
    QLabel *walkTimeLeft;
    // At the status bar's right end after a run that could not read some folders.
    UnreadableFoldersItem *unreadableItem;

    // The pages, in the order of their tabs.
    std::array<ReportPage *, PageCount> pages{};
    ReportPage *spacePage = nullptr;

    // The print dialog and the chart preview; tests put in their own so that nothing waits for
    // a person. The dialog answers whether to print.
    std::function<bool(QPrinter &printer)> runPrintDialog;
    std::function<void(TChartPreviewer &preview)> runChartPreview;
    // The save dialog of the exports: given its caption, the suggested file and the file types
    // (the one to start with in chosen), it answers the file picked, empty when cancelled, and
    // the file type it was picked under in chosen. Tests put in their own.
    std::function<QString(const QString &caption, const QString &suggested,
                          const QStringList &types, QString &chosen)>
        runSaveDialog;
    // Where every run that ends is kept (model/History.h); empty keeps none.
    QString historyFolder = collectionsFolder();
    // The file dialogs of "&Save collection as..." (handed the suggested path) and "&Open
    // collection..." (handed the folder to start in); tests put in their own. Empty answers: the
    // user cancelled.
    std::function<QString(const QString &suggested)> askSaveCollectionPath;
    std::function<QString(const QString &folder)> askOpenCollectionPath;
    // Where "&Save collection as..." starts: the folder saved to last, at first the documents.
    QString saveFolder;

    void FormCreate();
    void FormShow();
    void OvcNotebook1PageChanged(int index);
    void changeBackgroundColor(const QColor &colour);
    void pckStatDriveClick();
    void SelectAll1Click();
    void DeselectAll1Click();
    void Timer1Timer();
    void btPrintClick();
    // The line above a printed chart: the page, the drives and when they were collected.
    ChartPrintHeader chartPrintHeader() const;
    // When the last run began; not set before the first.
    QDateTime collectedAt;
    // The Report menu (StatisticsReport.cpp).
    void LargestFolders1Click();
    void CompareWith1Click();
    // The history over time, of the drives of the figures shown when there are any.
    void Trends1Click();
    void Machines1Click();
    // Two collection files compared in the compare window; a file that cannot be read is told in
    // one message box.
    void compareFiles(const QString &thenPath, const QString &nowPath);
    // Collections saved and reopened (StatisticsCollection.cpp). Opening shows the window on
    // every page as the run left them; a file that cannot be read or written is told in one
    // message box and changes nothing. Each answers whether it worked.
    void SaveCollection1Click();
    void OpenCollection1Click();
    void OpenCollectionsFolder1Click();
    bool saveCollectionFile(const QString &path);
    bool openCollectionFile(const QString &path);
    // The exports (StatisticsExport.cpp).
    void ExportPage1Click();
    void ExportAll1Click();

    // The run (StatisticsRun.cpp).
    void btOKClick();
    void btAbortClick();
    void btCancelClick();
    // Fills every page from the results after a drive's walk, in the order the pages depend on.
    void refillPages();
    // The program ends: a walk under way stops at once.
    void stopForExit();
    // What the progress bar measures the drive walked now against; the last complete walk's count
    // comes in once the history has been looked through.
    const DriveUsage &walkUsage() const { return usage; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void buildNotebook();
    void createPages();
    void buildButtons();
    void buildReportMenu();
    QAction *addReportItem(const QString &caption, const QKeySequence &shortcut,
                           void (TfrmStatistics::*handler)());
    void reportResultsChanged();
    void showCollection(const Collection &collection,
                        const std::optional<DumpFacts> &dump = std::nullopt);
    QString shownCollectionsFolder() const;
    void buildStatusBar();
    void buildCoverPanel();
    void buildDriveList();
    void applyCoverRule();

    // The run's pieces (StatisticsRun.cpp).
    void connectEngine();
    bool askWizard();
    void announceRun();
    void collect();
    void walkOn();
    void runEnded();
    void showUnreadableFolders();
    void driveStarting();
    void disenable(bool enabled);
    void startWalkProgress();
    void driveFinished();
    void showWalkProgress(const WalkCounters &counters);
    void walkEnded();
    void setStatusText(const QString &text);
    void showPendingStatus();
    void windowPrint(QPrinter &printer);
    // After a run: the focus goes back to the control that had it before, or to the tabs when
    // that control is out of view or disabled.
    void giveFocusBack(QWidget *before);
    void keepRunInHistory();

    ColourTable aColors;
    ReportContext context;
    bool diskSizeBusy = false;
    bool pieTickBusy = false;
    bool runBusy = false;
    bool timer1WasRunning = false;
    // Carries a run on in steps from whichever message loop runs; the click's own loop waits for
    // the run's end.
    QTimer walkTimer;
    QEventLoop *runLoop = nullptr;
    // The drive walked now: what it holds, for the progress bar, and when its walk began.
    DriveUsage usage;
    RunFacts resultFacts;      // the facts of the run whose figures the pages show
    QString resultHistoryFile; // the file that run is kept in (history or opened); may be empty
    QElapsedTimer walkClock;
    bool walking = false; // between a drive's start and the end of its walk
    int walksStarted = 0; // tells the history's answer for an earlier walk from the one now
    std::optional<QString> pendingStatus; // a status text not yet shown
    // Per page, the line on the cover over a page the figures shown have nothing for (an opened
    // dump of another scanner); empty for a page that shows its figures.
    std::array<QString, PageCount> pageCovers;
};
