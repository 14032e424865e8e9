#pragma once

#include "reports/ReportPage.h"

#include <QList>
#include <cstdint>

struct OverhangFigures;
class QFrame;
class QLabel;
class QPlainTextEdit;
class TChart;
class THorizBarSeries;

// The "Overhang" page: the space the files of a one-drive run would leave unused in their last
// cluster, for cluster sizes of 4K to 64K, with an arrow at the drive's own cluster size.
class OverhangPage : public ReportPage
{
    Q_OBJECT

public:
    OverhangPage(const ReportContext &context, QWidget *parent);

    void driveStarting() override { computeClusterSize(context.results.currentDrive); }
    // The page takes part only in runs over one drive.
    void refill() override;

    // Records the cluster size of the drive of a run entry, just before its walk.
    void computeClusterSize(const QString &entry);
    // The same for the drive of a collection kept before, from the figures it had then.
    void useSavedDrive(const DriveFacts &drive);
    // Puts the arrow at the row of the cluster size, or covers the page when it has none.
    void drawClusterArrow();
    // Fills the page after the walk; a run that classified no bytes disables the page instead.
    void doOverHang();

    // Bytes per cluster of the drive walked; 0 when it did not answer.
    std::int64_t clusterSize = 0;

    QList<QLabel *> lblCSize; // lblCSize1 ... lblCSize5
    QLabel *imArrow;
    TChart *chartOverhang;
    THorizBarSeries *Series9;
    QList<QLabel *> lblOver; // lblOver1 ... lblOver5
    QFrame *pnlOverhang;
    QLabel *lblNumFiles;
    QLabel *lblTotal;
    QLabel *lblSize;
    QLabel *lblLbl;
    QPlainTextEdit *Memo1;
    QLabel *pnlCluster;

signals:
    // The run classified no bytes: the notebook is to disable this page.
    void nothingToShow();

private:
    void makeTable();
    void makeChart();
    void lineUpChartWithRows();
    void makeSummary();
    void makeMemo();
    void fillSummary(const OverhangFigures &figures);
    void fitBars(const OverhangFigures &figures);
};
