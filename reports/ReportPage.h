#pragma once

#include "reports/ReportContext.h"

#include <QWidget>
#include <functional>

class QPrinter;
class TChart;

// What "&Print page" prints for the page in view. With neither a chart nor a grid printer the
// window prints an image of itself.
struct PrintTarget
{
    // A chart in view: its print preview.
    TChart *chart = nullptr;
    // A listing that prints itself page by page, after the print dialog was confirmed.
    std::function<void(QPrinter &printer)> printGrid;
};

// The area of a page, below the notebook's row of tabs.
inline constexpr QSize pageSize(632, 363);

// One page of the statistics window's notebook. A page builds its own controls inside itself
// and keeps the handlers of those controls.
//
// Adding a page: derive from ReportPage, construct it as Page(context, parent), and make it in
// TfrmStatistics::createPages. The window then calls:
//   runStarting()          once before a run clears the results (the Types page blanks gridTypes)
//   driveStarting()        before each drive's walk (the Overhang page records the cluster size)
//   refill()               after each drive's walk, in the order TfrmStatistics::refillPages holds
//   setRunControlsEnabled  false while a drive is walked, true afterwards: the page's view
//                          switches (disenable)
//   pageEntered()          each time the page comes into view, and when the window shows on it
//   Timer1Timer()          the page's share of the shared pie tick, while Timer1 runs
//   drivesChanged()        the picks of the window's drive list changed (the Space page redraws)
//   printTarget()          when "&Print page" is pressed on this page
class ReportPage : public QWidget
{
    Q_OBJECT

public:
    ReportPage(const ReportContext &context, QWidget *parent) : QWidget(parent), context(context) {}

    virtual void runStarting() {}
    virtual void driveStarting() {}
    virtual void refill() {}
    virtual void setRunControlsEnabled(bool enabled) { Q_UNUSED(enabled); }
    virtual void pageEntered() {}
    virtual void Timer1Timer() {}
    virtual void drivesChanged() {}
    virtual PrintTarget printTarget() const { return {}; }

protected:
    // Whether the notebook shows this page: the pie tick and the depth growth act only then.
    bool inView() const;
    // A chart in view prints through its preview; a hidden one leaves the window print.
    static PrintTarget chartIfShown(TChart *chart);

    const ReportContext &context;
};
