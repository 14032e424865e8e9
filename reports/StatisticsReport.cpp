// The Report menu of the statistics window: what can be done with a run's figures beyond the
// pages.

#include "controls/DialogLook.h"
#include "controls/MessageBoxes.h"
#include "reports/CompareWindow.h"
#include "reports/LargestFolders.h"
#include "reports/MachinesWindow.h"
#include "reports/Statistics.h"
#include "reports/TrendsWindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QPushButton>

namespace {

// In the empty left end of the button row, as far from the edge as "Close" is from the other.
constexpr QRect reportPlace(7, 384, 89, 25);

// The glyph of "&Report": a sheet with a few lines of figures and a bar.
QIcon reportGlyph()
{
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(2, 1, 11, 14);
    painter.setPen(QColor(128, 128, 128));
    for (int y = 4; y <= 8; y += 2)
        painter.drawLine(4, y, 11, y);
    painter.fillRect(4, 10, 3, 3, QColor(0, 0, 255));
    painter.fillRect(8, 11, 3, 2, QColor(255, 0, 255));
    return QIcon(glyph);
}

} // namespace

void TfrmStatistics::buildReportMenu()
{
    btReport = new QPushButton(reportGlyph(), QStringLiteral("&Report"), this);
    btReport->setObjectName(QStringLiteral("btReport"));
    btReport->setGeometry(reportPlace);
    btReport->setToolTip(QStringLiteral("Do more with the figures of the last run"));
    btReport->setAutoDefault(false);
    mnuReport = new QMenu(btReport);
    useWindowFont(*mnuReport);
    btReport->setMenu(mnuReport);
    // In menu order, one line each: the collection files, the exports, then further views of
    // the figures.
    SaveCollection1 =
        addReportItem(QStringLiteral("&Save collection as..."), QKeySequence(Qt::CTRL | Qt::Key_S),
                      &TfrmStatistics::SaveCollection1Click);
    OpenCollection1 =
        addReportItem(QStringLiteral("&Open collection..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                      &TfrmStatistics::OpenCollection1Click);
    ExportPage1 =
        addReportItem(QStringLiteral("&Export this page..."), QKeySequence(Qt::CTRL | Qt::Key_E),
                      &TfrmStatistics::ExportPage1Click);
    ExportAll1 = addReportItem(QStringLiteral("Export &all pages as PDF..."),
                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
                               &TfrmStatistics::ExportAll1Click);
    OpenCollectionsFolder1 =
        addReportItem(QStringLiteral("Open the collections &folder"), QKeySequence(),
                      &TfrmStatistics::OpenCollectionsFolder1Click);
    mnuReport->addSeparator();
    LargestFolders1 = addReportItem(QStringLiteral("&Where the space is..."), QKeySequence(),
                                    &TfrmStatistics::LargestFolders1Click);
    CompareWith1 = addReportItem(QStringLiteral("&Compare with..."), QKeySequence(),
                                 &TfrmStatistics::CompareWith1Click);
    Trends1 =
        addReportItem(QStringLiteral("&Trends..."), QKeySequence(), &TfrmStatistics::Trends1Click);
    Machines1 = addReportItem(QStringLiteral("&Machines..."), QKeySequence(),
                              &TfrmStatistics::Machines1Click);
    reportResultsChanged();
}

// An item of the Report menu. Its shortcut works from anywhere in the window, the menu closed,
// but like the button not while a drive is walked.
QAction *TfrmStatistics::addReportItem(const QString &caption, const QKeySequence &shortcut,
                                       void (TfrmStatistics::*handler)())
{
    QAction *item = mnuReport->addAction(caption);
    item->setShortcut(shortcut);
    addAction(item);
    connect(item, &QAction::triggered, this, [this, handler] {
        if (btReport->isEnabled())
            (this->*handler)();
    });
    return item;
}

// The items that need figures of a certain kind follow the results the pages show.
void TfrmStatistics::reportResultsChanged()
{
    SaveCollection1->setEnabled(resultFacts.started.isValid());
    LargestFolders1->setEnabled(!engine.folderTotals.empty());
    ExportPage1->setEnabled(resultFacts.started.isValid());
    ExportAll1->setEnabled(resultFacts.started.isValid());
    CompareWith1->setEnabled(resultFacts.started.isValid());
    if (compareWindow && compareWindow->isVisible() && resultFacts.started.isValid())
        compareWindow->nowChanged(collectionOf(resultFacts, engine), historyFolder,
                                  resultHistoryFile);
    if (largestFolders && largestFolders->isVisible()) {
        largestFolders->showFolders(resultFacts, engine.folderTotals);
        largestFolders->showFiles(resultFacts, engine.driveFiles, !engine.driveFiles.empty());
    }
}

void TfrmStatistics::LargestFolders1Click()
{
    if (engine.folderTotals.empty())
        return;
    if (!largestFolders)
        largestFolders = new LargestFoldersWindow(this);
    largestFolders->showFolders(resultFacts, engine.folderTotals);
    largestFolders->showFiles(resultFacts, engine.driveFiles, !engine.driveFiles.empty());
    largestFolders->show();
    largestFolders->raise();
    largestFolders->activateWindow();
}

// The figures the pages show are "now"; the earlier collection is picked in the window.
void TfrmStatistics::CompareWith1Click()
{
    if (!resultFacts.started.isValid())
        return;
    if (!compareWindow)
        compareWindow = new CompareWindow(this);
    compareWindow->pickFor(collectionOf(resultFacts, engine), historyFolder, resultHistoryFile);
    compareWindow->show();
    compareWindow->raise();
    compareWindow->activateWindow();
}

void TfrmStatistics::Trends1Click()
{
    if (!trendsWindow)
        trendsWindow = new TrendsWindow(this);
    QString driveSet;
    for (const DriveFacts &drive : resultFacts.drives)
        driveSet += drive.letter;
    trendsWindow->showHistory(historyFolder, driveSet);
    trendsWindow->show();
    trendsWindow->raise();
    trendsWindow->activateWindow();
}

// The history folder first; any folder of collections copied from several machines will do.
void TfrmStatistics::Machines1Click()
{
    const QString start = shownCollectionsFolder();
    const QString folder = askMachinesFolder
                               ? askMachinesFolder(start)
                               : QFileDialog::getExistingDirectory(
                                     this, QStringLiteral("Folder of collections"),
                                     QFileInfo(start).isDir() ? start : QDir::homePath());
    if (folder.isEmpty())
        return;
    if (!machinesWindow) {
        machinesWindow = new MachinesWindow(this);
        connect(machinesWindow, &MachinesWindow::openCollection, this,
                [this](const QString &path) { openCollectionFile(path); });
        connect(machinesWindow, &MachinesWindow::compareCollections, this,
                &TfrmStatistics::compareFiles);
        connect(machinesWindow, &MachinesWindow::showTrends, this,
                [this](const QString &folder, const QString &driveSet, const QString &host) {
                    if (!trendsWindow)
                        trendsWindow = new TrendsWindow(this);
                    trendsWindow->showHistory(folder, driveSet, host);
                    trendsWindow->show();
                    trendsWindow->raise();
                    trendsWindow->activateWindow();
                });
    }
    machinesWindow->showFolder(folder);
    machinesWindow->show();
    machinesWindow->raise();
    machinesWindow->activateWindow();
}

void TfrmStatistics::compareFiles(const QString &thenPath, const QString &nowPath)
{
    const CollectionRead then = readCollectionFile(thenPath);
    const CollectionRead now = then ? readCollectionFile(nowPath) : CollectionRead();
    if (!then || !now) {
        errorBox(then ? now.message : then.message);
        return;
    }
    if (!compareWindow)
        compareWindow = new CompareWindow(this);
    compareWindow->nowChanged(*now.collection, QString());
    compareWindow->compareWith(*then.collection);
    compareWindow->show();
    compareWindow->raise();
    compareWindow->activateWindow();
}
