#pragma once

#include "engine/Accumulators.h"
#include "model/RunFacts.h"
#include "reports/ColourTable.h"

#include <QTimer>

class TOvcNotebook;

// What a report page may reach of the statistics window. The window owns everything here and
// outlives its pages.
struct ReportContext
{
    // The results of the last run and its parameters (currentDrive, PickList1 with the run's
    // drives, the filter with the picked types).
    // Pages read them and never write them.
    const Accumulators &results;
    // The chart colours: a page sets them (initAColors) just before it fills a chart.
    ColourTable &colours;
    // The 50 ms pie tick the Space and Types pages share. Pages start and stop it; the window
    // pauses it during a walk and hands each tick to the pages (ReportPage::Timer1Timer).
    QTimer &Timer1;
    // The notebook, to ask which page is in view.
    const TOvcNotebook &notebook;
    // The facts of the run's drives walked so far (how each keeps its dates); none for a page
    // built alone.
    const RunFacts &run = noRun();

    static const RunFacts &noRun()
    {
        static const RunFacts none;
        return none;
    }

    // A click on a turning pie stops the tick, a click on a still one starts it.
    void togglePieTick() const
    {
        if (Timer1.isActive())
            Timer1.stop();
        else
            Timer1.start();
    }

    // A run over exactly one drive: the Overhang page takes part.
    bool oneDriveRun() const { return results.PickList1.size() == 1; }
};
