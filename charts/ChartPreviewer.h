#pragma once

#include <QObject>

class QPrinter;
class QWidget;
class TChart;

// Draws a chart across a printer's page, keeping what the chart shows on screen and filling the
// page; fonts keep their screen sizes relative to the chart.
void printChart(TChart &chart, QPrinter &printer);

// The chart print preview: a modal preview window of the chart on the printer's page, where the
// user chooses printer, orientation and margins and prints. The chart is redrawn afterwards.
class TChartPreviewer : public QObject
{
    Q_OBJECT

public:
    explicit TChartPreviewer(QWidget *parent = nullptr);

    TChart *Chart = nullptr;
    // Shows the preview; returns when the user closes it.
    void Execute();

private:
    QWidget *owner;
};
