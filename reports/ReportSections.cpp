#include "reports/ReportSections.h"

#include "charts/BarSeries.h"
#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "model/ReportModel.h"
#include "reports/AttributePage.h"
#include "reports/CombinedPage.h"
#include "reports/DatePage.h"
#include "reports/OverhangPage.h"
#include "reports/PageExport.h"
#include "reports/SizesPage.h"
#include "reports/SpacePage.h"
#include "reports/TimePage.h"
#include "reports/TypesPage.h"

#include <QButtonGroup>
#include <QPainter>
#include <QRadioButton>

ReportTable pageTable(const ReportContext &context, std::int64_t clusterSize, ReportPageId page,
                      TypeSort typeSort)
{
    const ReportModel model(context.results, context.run.drives, clusterSize);
    return page == ReportPageId::Types ? model.types().table(typeSort) : model.table(page);
}

ReportChart recordCharts(const QString &caption, const QWidget &holder,
                         const std::vector<TChart *> &charts)
{
    ReportChart recorded;
    recorded.caption = caption;
    recorded.size = chartsArea(holder, charts).size();
    QPainter painter(&recorded.picture);
    paintCharts(painter, holder, charts);
    return recorded;
}

namespace {

// A page's charts in one of its views, recorded as the view shows them.
ReportChart record(const QString &caption, TChart *chart)
{
    return recordCharts(caption, *chart->parentWidget(), {chart});
}

// Chooses a view of a strip; the page redraws its charts for it.
void choose(QRadioButton *view)
{
    view->setChecked(true);
}

// The pages that draw the charts for the document: made over the window's results and run, with
// a colour table and a pie tick of their own, in a holder that is never shown.
class ChartPages
{
public:
    explicit ChartPages(const ReportContext &window)
        : context{window.results, colours, tick, window.notebook, window.run}
    {}

    std::vector<ReportChart> types()
    {
        TypesPage page(context, &holder);
        page.refill();
        std::vector<ReportChart> charts;
        for (const int view :
             {TypesPage::PieBySize, TypesPage::PieByFiles, TypesPage::PieByAverage}) {
            choose(static_cast<QRadioButton *>(page.rgTypesButtons->button(view)));
            charts.push_back(record(page.rgTypesButtons->button(view)->text(), page.chartPie));
        }
        return charts;
    }

    std::vector<ReportChart> sizes()
    {
        SizesPage page(context, &holder);
        page.refill();
        std::vector<ReportChart> charts;
        for (QRadioButton *view : {page.rgSize1, page.rgSize2}) {
            choose(view);
            charts.push_back(record(view->text(), page.Chart1));
        }
        return charts;
    }

    // The three dated pages and the combined page, whose charts are drawn together.
    std::array<std::vector<ReportChart>, 4> dates()
    {
        DatePage access(DatePage::Dates::Accessed, context, &holder);
        DatePage create(DatePage::Dates::Created, context, &holder);
        DatePage modify(DatePage::Dates::Modified, context, &holder);
        CombinedPage combined(context, &access, &create, &modify, &holder);
        const std::array<DatePage *, 3> dated{&access, &create, &modify};
        for (DatePage *page : dated)
            page->refill();
        combined.refill();
        std::array<std::vector<ReportChart>, 4> charts;
        for (const bool inMegabytes : {true, false}) {
            for (DatePage *page : dated)
                choose(inMegabytes ? page->rgSize : page->rgCount);
            choose(inMegabytes ? combined.rbCombine1 : combined.rbCombine2);
            combined.doFileAges();
            for (std::size_t k = 0; k < 3; ++k) {
                QRadioButton *view = inMegabytes ? dated[k]->rgSize : dated[k]->rgCount;
                charts[k].push_back(record(view->text(), dated[k]->chart));
            }
            QRadioButton *view = inMegabytes ? combined.rbCombine1 : combined.rbCombine2;
            charts[3].push_back(record(view->text(), combined.chartCombine));
        }
        return charts;
    }

    std::vector<ReportChart> overhang(std::int64_t clusterSize)
    {
        if (!context.oneDriveRun())
            return {};
        OverhangPage page(context, &holder);
        page.clusterSize = clusterSize;
        page.refill();
        if (page.Series9->count() == 0)
            return {};
        return {record(QStringLiteral("Percent wasted"), page.chartOverhang)};
    }

    std::vector<ReportChart> attribute()
    {
        AttributePage page(context, &holder);
        page.refill();
        return {recordCharts(QStringLiteral("% of total # files, % of total size"), page,
                             {page.Chart2, page.Chart3})};
    }

    std::vector<ReportChart> time()
    {
        TimePage page(context, &holder);
        page.refill();
        return {record(QStringLiteral("Time of day"), page.Chart4)};
    }

private:
    ColourTable colours;
    QTimer tick;
    ReportContext context;
    QWidget holder;
};

// The Space page's charts as the window's page draws them: the bars when they show figures, and
// the pies.
std::vector<ReportChart> spaceCharts(SpacePage &space)
{
    std::vector<ReportChart> charts;
    if (space.Series4->count() > 0)
        charts.push_back(record(space.rgSpace2->text(), space.chartSpaceBar));
    space.doPieCharts();
    const std::vector<TChart *> pies = chartsInView(*space.pnlPie);
    if (!pies.empty())
        charts.push_back(recordCharts(space.rgSpace1->text(), *space.pnlPie, pies));
    return charts;
}

} // namespace

std::vector<ReportSection> reportSections(const ReportContext &context, SpacePage &space,
                                          std::int64_t clusterSize)
{
    const ReportModel model(context.results, context.run.drives, clusterSize);
    std::vector<ReportSection> sections(reportPageCount);
    for (int page = 0; page < reportPageCount; ++page)
        sections[std::size_t(page)].table = model.table(ReportPageId(page));
    if (!context.oneDriveRun())
        sections[std::size_t(ReportPageId::Overhang)].table.notes
            << QStringLiteral("Cluster overhang is worked out for runs over one drive only.");

    ChartPages pages(context);
    const auto charts = [&sections](ReportPageId page) -> std::vector<ReportChart> & {
        return sections[std::size_t(page)].charts;
    };
    charts(ReportPageId::Space) = spaceCharts(space);
    charts(ReportPageId::Types) = pages.types();
    charts(ReportPageId::Sizes) = pages.sizes();
    charts(ReportPageId::Overhang) = pages.overhang(clusterSize);
    auto dated = pages.dates();
    charts(ReportPageId::Access) = std::move(dated[0]);
    charts(ReportPageId::Created) = std::move(dated[1]);
    charts(ReportPageId::Modified) = std::move(dated[2]);
    charts(ReportPageId::Combined) = std::move(dated[3]);
    charts(ReportPageId::Attribute) = pages.attribute();
    charts(ReportPageId::Time) = pages.time();
    return sections;
}
