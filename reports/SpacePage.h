#pragma once

#include "model/DiskScale.h"
#include "model/RunFacts.h"
#include "reports/ReportPage.h"

#include <QTimer>
#include <array>
#include <vector>

class QCheckBox;
class QRadioButton;
class QScrollBar;
class StyledLabel;
class TBarSeries;
class TChart;
class TPickList;
class TPieSeries;

// The "Space" page: how much of the drives' capacity is free and used, from the drives' own
// figures, so it works before any run. The bar view stacks used and free space of every picked
// drive under the summed figures; the pie view shows one small pie per ready drive of the list
// and a larger one for their total, each titled with its free share. A reopened collection shows
// the drives it walked with the space they had then, in a list of their own in place of the
// window's.
class SpacePage : public ReportPage
{
    Q_OBJECT

public:
    SpacePage(const ReportContext &context, TPickList *pckStatDrive, QWidget *parent);

    static constexpr int pieCount = 11;

    QWidget *Panel4; // holds the window's drive list
    TPickList *pckStatDrive;
    // The drives of a reopened collection, all picked at first; hidden otherwise.
    TPickList *pckSavedDrive;
    StyledLabel *lblTotalC, *lblFreeC, *label26;
    StyledLabel *lblTotal, *lblFree, *lblUsed;
    StyledLabel *lblTot, *lblPct, *lblPct2;
    QWidget *Panel1, *Panel2; // free and used swatches
    TChart *chartSpaceBar;
    TBarSeries *Series5; // used space, the lower segment
    TBarSeries *Series4; // free space, the upper segment
    QCheckBox *cbTotal;
    QRadioButton *rgSpace2; // "Bar - totals"
    QRadioButton *rgSpace1; // "Pie - percent"

    QWidget *pnlPie;
    std::array<TChart *, pieCount> pies{}; // pie1 ... pie11
    TChart *pieTotal;
    QWidget *Panel3, *Panel5;
    StyledLabel *Label8, *Label9;
    QScrollBar *ScrollBar3;

    QTimer Timer2; // grows the bar chart's depth after each refresh
    // The picked, ready drives the last bar refresh plotted.
    int plottedDriveCount = 0;

    void doDiskSize();
    void rgSpaceClick();
    void doPieCharts();
    void cbTotalClick();
    void pieTotalClick();
    void ScrollBar1Change();
    void Timer2Timer();

    // The series of a small pie (0 for pie1) and of the total pie.
    TPieSeries *pieSeries(int index) const;
    TPieSeries *totalSeries() const;

    // The drives of a collection kept before, with the space of that time, take the place of the
    // drive table's until a run starts.
    void showSavedDrives(const std::vector<DriveFacts> &drives);
    void showLiveDrives();
    bool showsSavedDrives() const;
    // The drive list in view: the window's or the collection's.
    TPickList *driveList() const;

    void runStarting() override { showLiveDrives(); }
    void pageEntered() override;
    void drivesChanged() override;
    void Timer1Timer() override;
    void setRunControlsEnabled(bool enabled) override;

private:
    void buildBarView();
    void buildSavedDriveList();
    // The drives of the list in view that answer, with their space; only the picked ones when
    // asked.
    QList<DriveSpace> listedDrives(bool pickedOnly) const;
    void buildFigures();
    void buildBarChart();
    void buildPieView();
    TChart *makePie(const QString &name, const QRect &place);
    void showFigures(bool shown);
    void writeFigures(double freeSum, double totalSum, const QString &unit);
    // Fills a pie with a drive's or the total's used and free slices and its title.
    void fillPie(TChart &pie, const QString &titleStart, double freeBytes, double totalBytes);

    // Whether the last refresh had any capacity to show.
    bool figuresShown = false;
    QList<DriveSpace> savedSpace; // one per entry of pckSavedDrive
};
