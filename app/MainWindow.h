#pragma once

#include <QTimer>
#include <QWidget>

class QPushButton;
class StyledLabel;
class TBarSeries;
class TChart;
class TfrmStatistics;
class TGradientBack;

// The main window: a chart of used and free space of every drive, which turns and zooms into
// place when the window first shows and then grows in depth, and three buttons in the bottom
// right corner.
class TfrmMain : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmMain(QWidget *parent = nullptr);

    QPushButton *btClose;
    QPushButton *btReach;
    TGradientBack *GradientBack1;
    TChart *chartSpaceBar;
    TBarSeries *Series5; // used space, the lower segment
    TBarSeries *Series4; // free space, the upper segment
    QPushButton *btStatistic;
    StyledLabel *lblBottom;
    StyledLabel *lblTitle;
    QTimer Timer1; // depth phase of the animation
    QTimer Timer2; // turn-and-zoom phase
    int depthStep = 0;
    int depthLimit = 0;

    // The window whose drive list the chart shows; created after this one at start-up.
    void setStatisticsWindow(TfrmStatistics *window) { statistics = window; }

    void FormCreate();
    void FormShow();
    void FormResize();
    // Rebuilds both series from the drive list.
    void doDiskSize();
    void Timer2Timer();
    void Timer1Timer();
    void chartSpaceBarDblClick();
    void btStatisticClick();
    void btReachClick();
    void btCloseClick();

    // The hint the chart shows while the animation rests.
    static const QString restingHint;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildChart();
    void buildLabels();
    void buildButtons();
    void placeWebAddress();
    void startTurning();
    QStringList driveEntries() const;

    TfrmStatistics *statistics = nullptr;
    bool firstShowDone = false;
};
