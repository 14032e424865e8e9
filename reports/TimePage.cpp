#include "reports/TimePage.h"

#include "charts/Chart.h"
#include "charts/LineSeries.h"
#include "controls/KeyboardReach.h"
#include "controls/MessageBoxes.h"
#include "model/ReportModel.h"
#include "reports/NoteButton.h"
#include "reports/PageLook.h"

#include <QScrollBar>
#include <QToolButton>

namespace {

constexpr QRect depthBarPlace(4, 343, 120, 16);
constexpr QPoint noteButtonAt(604, 335);

// The bottom axis is fixed so that all 48 slots show, one unit a slot.
constexpr double lastSlotEnd = 47.9583333333333;
constexpr double axisIncrement = 0.0416666666666667;

const QString timeNote = QStringLiteral(
    "Note: Sometimes software vendors use the file modified time to indicate the version number "
    "of a product. For example, a file with the time of 02:10 am would represent version 2.1 of a "
    "certain product.");

// Replaces a line's points with the 48 slots.
void fillLine(TLineSeries &line, const std::array<std::uint64_t, 48> &counts)
{
    line.Clear();
    for (int slot = 0; slot < 48; ++slot)
        line.AddXY(slot, double(counts[std::size_t(slot)]), TimePage::slotLabel(slot));
}

} // namespace

using namespace chartColour;

TimePage::TimePage(const ReportContext &context, QWidget *parent) : ReportPage(context, parent)
{
    Chart4 = new TChart(this);
    Chart4->setObjectName(QStringLiteral("Chart4"));
    Chart4->setGeometry(QRect(QPoint(0, 0), pageSize));
    setUpChart();

    Series10 = Chart4->addSeries<TLineSeries>();
    Series10->setTitle(QStringLiteral("Modified time"));
    Series10->setColour(red);
    Series11 = Chart4->addSeries<TLineSeries>();
    Series11->setTitle(QStringLiteral("Created time"));
    Series11->setColour(lime);
    Series12 = Chart4->addSeries<TLineSeries>();
    Series12->setTitle(QStringLiteral("Access Time"));
    Series12->setColour(blue);

    // The bar starts at 8 while the chart starts at 20: only a move of the bar sets the depth.
    sbTime = new QScrollBar(Qt::Horizontal, Chart4);
    sbTime->setObjectName(QStringLiteral("sbTime"));
    sbTime->setGeometry(depthBarPlace);
    sbTime->setRange(1, 50);
    sbTime->setValue(8);
    sbTime->setPageStep(5);
    makeKeyboardScrollBar(sbTime);
    sbTime->setAccessibleName(QStringLiteral("Depth"));
    connect(sbTime, &QScrollBar::valueChanged, this, &TimePage::sbTimeChange);

    SpeedButton5 = makeNoteButton(QStringLiteral("SpeedButton5"), noteButtonAt, Chart4,
                                  QStringLiteral("Explains what a file's time of day can tell"));
    connect(SpeedButton5, &QToolButton::clicked, this, &TimePage::SpeedButton5Click);
}

void TimePage::setUpChart()
{
    TChart &chart = *Chart4;
    chart.animatedZoom = true;
    chart.Title().visible = false;
    chart.setChart3DPercent(20);
    chart.leftWall.colour = lightAqua;
    chart.margins.left = chart.margins.right = 1;
    chart.Legend().alignment = LegendAlignment::Top;
    chart.Legend().style = LegendStyle::Series;
    chart.Legend().colourWidth = 25;
    chart.Legend().topPos = 12;
    chart.setMaxPointsPerPage(47);

    TChartAxis &bottom = chart.BottomAxis();
    bottom.title = QStringLiteral("Time of day file was modified/created/accessed");
    bottom.setMinMax(0, lastSlotEnd);
    bottom.Increment = axisIncrement;
    bottom.labelAngle = 90;
    bottom.labelSeparation = 3;
    bottom.dateTimeFormat = QStringLiteral("HH:MM");
    chart.LeftAxis().title = QStringLiteral("Numer of files");
}

QString TimePage::slotLabel(int slot)
{
    return ::slotLabel(slot);
}

void TimePage::doFileTimes()
{
    const TimeFigures figures = timeFigures(context.results);
    fillLine(*Series10, figures.modified);
    fillLine(*Series11, figures.created);
    fillLine(*Series12, figures.accessed);
    // File systems that keep only the day of the last access give no access times at all; the
    // line would lie flat on zero, so it is left out.
    Series12->setActive(figures.accessShown);
}

void TimePage::sbTimeChange()
{
    Chart4->setChart3DPercent(sbTime->value());
}

void TimePage::SpeedButton5Click()
{
    infoBox(timeNote);
}

PrintTarget TimePage::printTarget() const
{
    return chartIfShown(Chart4);
}
