#pragma once

#include "model/TrendTables.h"

#include <QDialog>
#include <QFutureWatcher>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TChart;
class TLineSeries;
class TOvcNotebook;

// What "Export..." asks for: one tab's table as CSV, or every tab as a PDF, and where.
struct TrendsExport
{
    std::optional<TrendTab> csvTab; // none: a PDF of every tab
    QString path;
};

// The history over time, in the statistics window's look: a notebook of Space (used space per
// drive with the capacity above it and the forecast dashed), Types (the ten largest types as
// lines, and every type's growth), Folders (the kept folders that grew most) and Ages (how much
// of the drive is cold). A drive-set picker, a period choice for every tab, "Browse..." for
// another history folder and "Export...".
class TrendsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit TrendsWindow(QWidget *parent = nullptr);

    // Reads the trends of a history folder and shows those of a drive set (the newest
    // collection's when empty or not in the history), of one host's collections when a host is
    // named. The reading goes on beside the window, which says so until historyShown; a later
    // call outdates an earlier one still reading.
    void showHistory(const QString &folder, const QString &driveSet = QString(),
                     const QString &host = QString());
    bool isReading() const;
    // Writes one tab as CSV, or all as a PDF; a failure gets one message. Answers whether it was
    // written.
    bool exportTrends(const TrendsExport &request);

    // Asked by "Browse..." and "Export...": nothing or an empty path means the user gave up.
    std::function<QString()> askFolder;
    std::function<std::optional<TrendsExport>()> askExport;

    QLabel *lblSource;
    QComboBox *cbDrives;
    QComboBox *cbPeriod;
    QPushButton *btBrowse;
    TOvcNotebook *notebook;
    TChart *chSpace;
    QLabel *lblForecast;
    TChart *chTypes;
    QTableView *tvTypes;
    QTableView *tvFolders;
    TChart *chAges;
    QLabel *lblMessage;
    QPushButton *btExport;
    QPushButton *btClose;

    const std::vector<TrendPoint> &shownPoints() const { return shown; }

signals:
    void historyShown();

private:
    QWidget *buildSpace();
    QWidget *buildTypes();
    QWidget *buildFolders();
    QWidget *buildAges();
    void refresh();
    void fillSpace();
    void fillTypes();
    void fillAges();
    void openFolderAt(int row);
    std::optional<TrendsExport> defaultAskExport();
    void takeRead(const TrendRead &read);

    QFutureWatcher<TrendRead> *reading = nullptr;
    bool readPending = false;
    QString pendingFolder, pendingDriveSet, pendingHost; // what to show once the reading ends
    QString historyFolder;
    std::vector<TrendPoint> all;
    std::vector<TrendPoint> shown;
};
