#pragma once

#include "charts/ChartSeries.h"
#include "controls/MessageBoxes.h"
#include "controls/Notebook.h"
#include "engine/Accumulators.h"
#include "engine/EngineTestSupport.h"
#include "reports/ColourTable.h"
#include "reports/ReportContext.h"
#include "reports/ReportPage.h"
#include "support/TestSupport.h"

#include <QStringList>
#include <QTimer>
#include <gtest/gtest.h>

namespace korvel::test {

// A report page built alone, away from the statistics window: hand-filled results, a colour
// table, the pie timer and a notebook, in the "," locale. Message boxes are recorded, not shown.
class PageAlone : public ::testing::Test
{
protected:
    PageAlone() : locale(commaLocale())
    {
        setMessageHook([this](MessageKind, const QString &text) {
            messages << text;
            return true;
        });
    }
    ~PageAlone() override { setMessageHook({}); }

    LocaleGuard locale;
    Accumulators results;
    ColourTable colours;
    QTimer timer;
    TOvcNotebook notebook;
    ReportContext context{results, colours, timer, notebook};
    QStringList messages;
};

// A report page reading the results of a real engine, in the "," locale, with a colour table,
// the pie timer and a notebook.
class PageOverEngine : public EngineTest
{
protected:
    // Walks the tree as drive c: and refills the page after the walk, as the window would.
    void runOver(const Tree &tree, ReportPage &page)
    {
        useDrives({tree.root()});
        engine.hooks.refillPages = [&page] { page.refill(); };
        engine.collectDrives();
    }

    LocaleGuard locale{commaLocale()};
    ColourTable colours;
    QTimer timer;
    TOvcNotebook notebook;
    ReportContext context{engine, colours, timer, notebook};
};

// The values of a series' points, in the order added.
inline QList<double> seriesValues(const TChartSeries &series)
{
    QList<double> list;
    for (int i = 0; i < series.count(); ++i)
        list << series.value(i);
    return list;
}

} // namespace korvel::test
