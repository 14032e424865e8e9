#pragma once

#include "model/Collection.h"
#include "model/Comparison.h"

#include <QDialog>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTableView;
class QTreeWidget;
class TChart;
class THorizBarSeries;
class TOvcNotebook;

// What the Export dialog asks for: one table as CSV, or every table as a PDF, and where.
struct CompareExport
{
    std::optional<ComparisonPart> csvPart; // none: a PDF of every table
    QString path;
};

// Compares the figures the statistics window shows ("now") with an earlier collection ("then"):
// first a list to pick it from (the history's collections of the same drives first, or any file
// by "Browse..."), then the comparison in tabs: a summary with what does not compare, the types
// with a chart of the largest changes, the size classes, the three ages, the attributes and the
// folders that grew and shrank most. "Export..." writes a table as CSV or all of them as a PDF.
class CompareWindow : public QDialog
{
    Q_OBJECT

public:
    explicit CompareWindow(QWidget *parent = nullptr);
    ~CompareWindow() override;

    // Shows the list of earlier collections to compare the figures shown now with; ownFile is
    // where the history keeps them, if it does.
    void pickFor(Collection now, const QString &historyFolder, const QString &ownFile = QString());
    // The history is being looked through for the list, which is filled when that is done.
    bool listingHistory() const;
    // Compares with the collection of a file; a file that cannot be read gets one message and
    // the list stays. Answers whether the comparison shows.
    bool compareWithFile(const QString &path);
    // The figures shown have changed (a new run): a comparison on view compares the same earlier
    // collection with them, the list is made again.
    void nowChanged(Collection now, const QString &historyFolder,
                    const QString &ownFile = QString());
    void compareWith(const Collection &then);
    // Writes one table as CSV, or every table as a PDF; a file that cannot be written gets one
    // message and nothing is left of it. Answers whether it was written.
    bool exportComparison(const CompareExport &request);
    const Comparison *comparison() const { return shown.get(); }

    // Asked by "Browse..." and "Export...": an empty path or nothing means the user gave up.
    // Tests put in their own, so that nothing waits for a person.
    std::function<QString()> askCollectionFile;
    std::function<std::optional<CompareExport>()> askExport;

    QStackedWidget *stages;
    // The list of earlier collections.
    QTreeWidget *lvCollections;
    QPushButton *btBrowse;
    QPushButton *btCompare;
    QPushButton *btPickClose;
    // The comparison.
    QLabel *lblSource;
    TOvcNotebook *notebook; // a page per part, in the order of ComparisonPart
    // The twenty largest changes of bytes by type, growth and shrinkage in two colours.
    TChart *chart;
    THorizBarSeries *changeBars;
    std::vector<QTableView *> tables; // one per part, in the order of ComparisonPart
    // Under each table: what does not compare, and for the folders when one counts as 0.
    std::vector<QLabel *> notes;
    QPushButton *btOther;
    QPushButton *btExport;
    QPushButton *btClose;

private:
    QWidget *buildPicker();
    QWidget *buildComparison();
    void compareWithPicked();
    void browse();
    void exportClicked();
    bool writeComparisonDocument(QIODevice &file) const;
    void showTables();
    void showChart();
    QWidget *tablePage(ComparisonPart part, QWidget *below = nullptr);
    void releaseTables();
    void compareWithRun(std::shared_ptr<const Collection> then);
    void showPickIntro(const QString &text);
    void listEarlierRuns(const std::vector<EarlierRun> &runs);
    std::optional<CompareExport> defaultAskExport();

    std::shared_ptr<const Collection> nowRun = std::make_shared<const Collection>();
    std::unique_ptr<Comparison> shown;
    int listingsStarted = 0; // tells the history's answer for an earlier list from the one now
    int listingsShown = 0;
};
