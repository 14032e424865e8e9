#include "reports/ReportPage.h"

#include "charts/Chart.h"
#include "controls/Notebook.h"

bool ReportPage::inView() const
{
    return context.notebook.page(context.notebook.PageIndex()) == this;
}

PrintTarget ReportPage::chartIfShown(TChart *chart)
{
    PrintTarget target;
    if (!chart->isHidden())
        target.chart = chart;
    return target;
}
