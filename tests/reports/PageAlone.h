#pragma once

#include "charts/ChartSeries.h"
#include "controls/MessageBoxes.h"
#include "controls/Notebook.h"
#include "engine/Accumulators.h"
#include "reports/ColourTable.h"
#include "reports/ReportContext.h"
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

// The values of a series' points, in the order added.
inline QList<double> seriesValues(const TChartSeries &series)
{
    QList<double> list;
    for (int i = 0; i < series.count(); ++i)
        list << series.value(i);
    return list;
}

} // namespace korvel::test
