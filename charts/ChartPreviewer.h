#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

class QPrinter;
class QPrintPreviewDialog;
class QWidget;
class TChart;

// The line printed above a chart, as a listing's print has it: the title in the middle, the date
// at the left and the time at the right (none when the moment is not set).
struct ChartPrintHeader
{
    QString title;
    QDateTime when;
};

// Draws a chart across a printer's page inside its print area, under its header line, keeping
// what the chart shows on screen and filling the rest of the area; fonts keep their screen sizes
// relative to the chart.
void printChart(TChart &chart, QPrinter &printer, const ChartPrintHeader &header = {});

// The chart print preview: a modal preview window of the chart on the printer's page, where the
// user chooses printer, orientation and margins and prints. Ctrl+P prints, Esc closes, and Tab
// reaches every button. The chart is redrawn afterwards.
class TChartPreviewer : public QObject
{
    Q_OBJECT

public:
    explicit TChartPreviewer(QWidget *parent = nullptr);

    TChart *Chart = nullptr;
    ChartPrintHeader Header;
    // Shows the preview; returns when the user closes it.
    void Execute();
    // Gives the preview's buttons to the keyboard: Tab reaches them, Ctrl+P prints.
    static void keysForPreview(QPrintPreviewDialog &dialog);

private:
    QWidget *owner;
};
