#pragma once

#include "model/ReportModel.h"
#include "reports/ReportPage.h"

#include <QColor>
#include <array>
#include <vector>

class ColourTable;
class QLabel;
class QRadioButton;
class QToolButton;
class TChart;
class THorizBarSeries;
class TStringGrid;

// Ten values per age class, 0 ("Not recorded") to 9 ("Over 4 years").
using AgeTable = std::array<double, 10>;

// One of the three dated pages: "Access", "Created" or "Modified". Each shows the ages of the
// files by its own date as a listing, a chart of megabytes or a chart of file counts.
class DatePage : public ReportPage
{
    Q_OBJECT

public:
    enum class Dates
    {
        Accessed,
        Created,
        Modified
    };

    DatePage(Dates dates, const ReportContext &context, QWidget *parent);

    void refill() override;
    void setRunControlsEnabled(bool enabled) override;
    PrintTarget printTarget() const override;

    // The label of an age class, 0 to 9.
    static QString ageLabel(int ageClass);
    // The run's bytes and file counts per age class by this page's date, in class order.
    std::vector<ClassFigures> classes() const;

    // Writes the headings, the class labels (oldest first) and the byte and file totals.
    void fillGridDates(const QString &caption, const std::vector<ClassFigures> &classes);
    // Rebuilds the chart in the view the page's own buttons choose (its part of doFileAges).
    void fillChart();
    // Any of the three view buttons.
    void rgAccessClick();
    // The page's note on its date.
    void noteClick();

    // Named gridAccess / gridCreate / gridModify, chartAccess / ..., HorizBarSeries1 to 3,
    // rgAccess0 to rgModify2, SpeedButton1 to 3 after the page they stand on.
    TStringGrid *grid;
    TChart *chart;
    THorizBarSeries *series;
    QRadioButton *rgListing;
    QRadioButton *rgSize;
    QRadioButton *rgCount;
    QToolButton *noteButton;
    // How the walked drives keep this page's dates: on the Access and Created pages only.
    QLabel *datesNote = nullptr;

signals:
    // A chart view was chosen: every date chart is rebuilt from its own page's choice.
    void chartViewChosen();

private:
    void placeNote();

    Dates dates;
};

// The rows of a date listing: the heading and the ten age classes.
inline constexpr int dateGridRows = 11;

// Fills a series with one bar per age class, from "Not recorded" at the bottom to "Over 4 years"
// at the top: the classes' bytes in megabytes, keeping their fraction, or their file counts.
// Single colour paints every bar (and leaves the whole colour table) in colour; otherwise class k
// takes table entry k + 1.
void fillAgeSeries(ColourTable &colours, THorizBarSeries &series,
                   const std::vector<ClassFigures> &classes, bool inMegabytes, const QColor &colour,
                   bool singleColour);
