#pragma once

#include "reports/ReportPage.h"

class QScrollBar;
class QToolButton;
class TChart;
class TLineSeries;

// The "Time" page: three lines over the 48 half hours of the day, telling at which time of day
// files were last modified, created and accessed.
class TimePage : public ReportPage
{
    Q_OBJECT

public:
    TimePage(const ReportContext &context, QWidget *parent);

    void refill() override { doFileTimes(); }
    PrintTarget printTarget() const override;

    // Refills the three lines from the half-hour slots of the run.
    void doFileTimes();
    // The scroll bar sets the chart's depth.
    void sbTimeChange();
    // The note on what a file's time of day can tell.
    void SpeedButton5Click();

    // The label of half-hour slot s (0 to 47): its start in the locale's short time format.
    static QString slotLabel(int slot);

    TChart *Chart4;
    TLineSeries *Series10; // "Modified time"
    TLineSeries *Series11; // "Created time"
    TLineSeries *Series12; // "Access Time"
    QScrollBar *sbTime;
    QToolButton *SpeedButton5;

private:
    void setUpChart();
};
