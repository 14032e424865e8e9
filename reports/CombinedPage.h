#pragma once

#include "reports/ReportPage.h"

class DatePage;
class QLabel;
class QRadioButton;
class QToolButton;
class TChart;
class THorizBarSeries;
class TStringGrid;

// The "Combined" page: the access, creation and modification ages side by side, as one listing
// or as one chart of three thin bars per age class. It also rebuilds every date chart at once,
// since a view chosen on any date page redraws all four.
class CombinedPage : public ReportPage
{
    Q_OBJECT

public:
    // The three dated pages: their charts are rebuilt with this one's, and the listing takes its
    // labels from the modified listing.
    CombinedPage(const ReportContext &context, DatePage *access, DatePage *create, DatePage *modify,
                 QWidget *parent);

    // The combined listing, then every date chart: the charts need nothing of the pages filled
    // after this one, and the dated listings are filled by then.
    void refill() override;
    void setRunControlsEnabled(bool enabled) override;
    PrintTarget printTarget() const override;

    // The six columns of ages, labelled as the modified listing's rows; run after that listing.
    void fillCombinedGridDates();
    // Rebuilds the series of all four date charts, each in its own page's chosen view.
    void doFileAges();
    // Any of this page's three view buttons.
    void rgAccessClick();
    void SpeedButton4Click();

    TStringGrid *gridCombine;
    TChart *chartCombine;
    THorizBarSeries *Series6; // "Accessed"
    THorizBarSeries *Series7; // "Created"
    THorizBarSeries *Series8; // "Modified"
    QRadioButton *rgCombine0;
    QRadioButton *rbCombine1;
    QRadioButton *rbCombine2;
    QToolButton *SpeedButton4;
    QLabel *lblCombineDates; // how the walked drives keep access dates

private:
    void setUpChart();
    void placeNote();
    THorizBarSeries *addAgeSeries(const QString &title, const QColor &colour, int offset);

    DatePage *access;
    DatePage *create;
    DatePage *modify;
};
