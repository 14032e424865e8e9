// A gallery of charts with fixed data that shows every option the windows use.

#include "charts/BarSeries.h"
#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "charts/LineSeries.h"
#include "charts/PieSeries.h"
#include "controls/DialogLook.h"
#include "tools/snapshots/Snapshots.h"

namespace {

const QColor blue(0, 0, 255), fuchsia(255, 0, 255), red(255, 0, 0), maroon(128, 0, 0),
    yellow(255, 255, 0), green(0, 128, 0), lime(0, 255, 0), teal(0, 128, 128), navy(0, 0, 128),
    aqua(0, 255, 255), white(255, 255, 255), grey(128, 128, 128);
const QList<QColor> tableColours{red,     maroon, blue, yellow, green, lime,
                                 fuchsia, teal,   navy, aqua,   white, grey};

void useSilverBackground(TChart &chart)
{
    chart.gradient.visible = true;
    chart.gradient.startColour = QColor(192, 192, 192);
    chart.gradient.endColour = QColor(128, 128, 128);
    chart.backWall.colour = Qt::white;
    chart.backWall.transparent = true;
}

void stackedBars(const QDir &out)
{
    TChart chart;
    chart.resize(436, 255);
    useSilverBackground(chart);
    chart.Title().visible = false;
    chart.Legend().visible = false;
    chart.setChart3DPercent(60);
    chart.LeftAxis().AxisValuesFormat = "#,##0 MB";
    auto *used = chart.addSeries<TBarSeries>();
    auto *free = chart.addSeries<TBarSeries>();
    for (TBarSeries *s : {used, free}) {
        s->setMultiBar(MultiBar::Stacked);
        s->setValueFormat("#,##0 MB");
        s->marks().visible = true;
        s->marks().fontColour = Qt::white;
        s->marks().font = pixelFont("Arial", 11);
        s->marks().arrow = false;
    }
    used->setColour(blue);
    used->marks().background = blue;
    used->marks().arrowLength = -24;
    free->setColour(fuchsia);
    free->marks().background = fuchsia;
    free->marks().arrowLength = 10;
    const double sizes[][2] = {{60000, 42000}, {240000, 95000}, {8000, 7900}};
    const char *labels[] = {"c", "d", "e"};
    double total = 0, totalFree = 0;
    for (int i = 0; i < 3; ++i) {
        free->Add(sizes[i][1], labels[i], fuchsia);
        used->Add(sizes[i][0] - sizes[i][1], labels[i], blue);
        total += sizes[i][0];
        totalFree += sizes[i][1];
    }
    free->Add(totalFree, "Total", fuchsia);
    used->Add(total - totalFree, "Total", blue);
    saveSnapshot(chart, out, "chart-stacked-3d-bars-marks-inside-above");
}

void horizontalGradientBars(const QDir &out)
{
    TChart chart;
    chart.resize(600, 340);
    chart.setTitleText("File Sizes in MB");
    chart.LeftAxis().title = "Size class";
    chart.Legend().style = LegendStyle::Points;
    chart.Legend().text = LegendText::Value;
    chart.Legend().inverted = true;
    chart.Legend().colourWidth = 15;
    chart.Legend().topPos = 5;
    chart.animatedZoom = true;
    auto *bars = chart.addSeries<THorizBarSeries>();
    bars->setGradient(true);
    bars->setColour(red);
    bars->setValueFormat("#,##0.##");
    bars->setPercentFormat("##0.# %");
    bars->marks().visible = true;
    bars->marks().style = MarkStyle::Percent;
    bars->marks().arrowLength = 8;
    const QStringList classes{"0 - 16K",     "16K - 32K",   "32K - 64K",  "64K - 128K",
                              "128K - 256K", "256K - 512K", "512K - 1MB", "1MB - 2MB",
                              "2MB - 4MB",   "4MB - 8MB",   "8MB - 16MB", "Over 16MB"};
    const double mb[] = {12.5, 9.25, 14, 22.75, 30, 41.5, 38, 55.25, 61, 44, 29.5, 120};
    for (int k = 0; k < 12; ++k)
        bars->Add(mb[k], classes[11 - k], tableColours[k]);
    saveSnapshot(chart, out, "chart-horizontal-gradient-bars-value-legend");
}

void sideBySideOffsetBars(const QDir &out)
{
    TChart chart;
    chart.resize(600, 360);
    chart.setTitleText("Combination Access/Created/Modified Chart");
    chart.setChart3DPercent(20);
    chart.leftWall.colour = QColor(128, 255, 255);
    chart.margins = {2, 0, 1, 0};
    chart.Legend().style = LegendStyle::Series;
    chart.Legend().colourWidth = 14;
    chart.Legend().horizMargin = 5;
    chart.Legend().shadowSize = 1;
    chart.Legend().inverted = true;
    chart.Legend().topPos = 9;
    const QStringList ages{"Not recorded",  "<= 7 days",      "8 - 30 days", "31 - 60 days",
                           "61 - 120 days", "121 - 365 days", "1 - 2 years", "2 - 3 years",
                           "3 - 4 years",   "Over 4 years"};
    struct Line
    {
        const char *title;
        QColor colour;
        int offset;
        double scale;
    };
    for (const Line &line : {Line{"Modified", yellow, -25, 1.0}, Line{"Created", green, 0, 0.8},
                             Line{"Accessed", red, 25, 0.6}}) {
        auto *s = chart.addSeries<THorizBarSeries>();
        s->setTitle(line.title);
        s->setColour(line.colour);
        s->setMultiBar(MultiBar::None);
        s->setBarWidthPercent(40);
        s->setOffsetPercent(line.offset);
        s->setGradient(true);
        for (int k = 0; k < 10; ++k)
            s->Add((10 + k * 7 % 23) * line.scale, ages[k], line.colour);
    }
    saveSnapshot(chart, out, "chart-side-by-side-offset-bars");
}

void pieWithOther(const QDir &out)
{
    TChart chart;
    chart.resize(620, 340);
    chart.Title().visible = false;
    chart.Legend().visible = false;
    chart.axesVisible = false;
    chart.setChart3DPercent(25);
    chart.View3DOptions() = {100, 360, 315, 0, false};
    auto *pie = chart.addSeries<TPieSeries>();
    pie->marks().visible = true;
    pie->marks().style = MarkStyle::LabelPercent;
    pie->marks().arrowLength = 8;
    pie->setPercentFormat("##0.# %");
    pie->setExplodeBiggest(10);
    pie->setOtherSliceLimit(5);
    pie->setRotationAngle(60);
    const QStringList names{"Word document", "JPEG image",          "PDF document",
                            "MP3 audio",     "Plain text document", "ZIP archive",
                            "PNG image",     "C++ source code",     "HTML document",
                            "XML document",  "Shell script",        "CSS stylesheet"};
    const double sizes[] = {4000, 2600, 1900, 1200, 800, 420, 260, 150, 120, 80, 40, 20};
    for (int k = 0; k < 12; ++k)
        pie->Add(sizes[k], names[k], tableColours[k]);
    saveSnapshot(chart, out, "chart-3d-pie-exploded-other");

    TChart small;
    small.resize(103, 99);
    useSilverBackground(small);
    small.setTitleText("C:\\  45.2% free");
    small.Title().font = pixelFont("Arial", 11, true);
    small.Legend().visible = false;
    small.axesVisible = false;
    small.margins = {2, 2, 2, 2};
    small.setChart3DPercent(65);
    small.View3DOptions() = {100, 360, 315, 0, false};
    auto *drive = small.addSeries<TPieSeries>();
    drive->setRotationAngle(60);
    drive->Add(54.8, " ", blue);
    drive->Add(45.2, " ", fuchsia);
    saveSnapshot(small, out, "chart-small-drive-pie");
}

void timeLines(const QDir &out)
{
    TChart chart;
    chart.resize(625, 330);
    chart.Title().visible = false;
    chart.setChart3DPercent(20);
    chart.leftWall.colour = QColor(128, 255, 255);
    chart.margins.left = chart.margins.right = 1;
    chart.Legend().alignment = LegendAlignment::Top;
    chart.Legend().style = LegendStyle::Series;
    chart.Legend().colourWidth = 25;
    chart.Legend().topPos = 12;
    chart.setMaxPointsPerPage(47);
    chart.animatedZoom = true;
    TChartAxis &bottom = chart.BottomAxis();
    bottom.title = "Time of day file was modified/created/accessed";
    bottom.setMinMax(0, 47.9583333333333);
    bottom.Increment = 0.0416666666666667;
    bottom.labelAngle = 90;
    bottom.labelSeparation = 3;
    bottom.dateTimeFormat = "HH:MM";
    chart.LeftAxis().title = "Numer of files";
    const char *titles[] = {"Modified time", "Created time", "Access Time"};
    const QColor colours[] = {red, lime, blue};
    for (int k = 0; k < 3; ++k) {
        auto *line = chart.addSeries<TLineSeries>();
        line->setTitle(titles[k]);
        line->setColour(colours[k]);
        for (int s = 0; s < 48; ++s) {
            const double y = 20 + 15 * std::sin((s + k * 9) / 6.0) + (s > 16 && s < 38 ? 30 : 0);
            line->AddXY(s, std::round(y * (1.0 - k * 0.25)),
                        QString("%1:%2").arg(s / 2, 2, 10, QChar('0')).arg(s % 2 ? "30" : "00"));
        }
    }
    saveSnapshot(chart, out, "chart-time-lines-fixed-axis");
}

void attributeBars(const QDir &out)
{
    TChart chart;
    chart.resize(158, 105);
    chart.Title().visible = false;
    chart.Legend().visible = false;
    chart.axesVisible = false;
    chart.backWall.visible = chart.leftWall.visible = chart.bottomWall.visible = false;
    chart.frame = false;
    chart.setChart3DPercent(25);
    chart.setMaxPointsPerPage(4);
    auto *bars = chart.addSeries<THorizBarSeries>();
    bars->setValueFormat("#,##0.## %");
    bars->marks().visible = true;
    bars->marks().arrowLength = 20;
    for (double v : {0.0, 50.0, 0.0, 50.0})
        bars->Add(v, QString(), red);
    saveSnapshot(chart, out, "chart-attribute-small-bars");
}

void renderGallery(const QDir &out)
{
    stackedBars(out);
    horizontalGradientBars(out);
    sideBySideOffsetBars(out);
    pieWithOther(out);
    timeLines(out);
    attributeBars(out);
}

SnapshotRegistrar gallery("charts", renderGallery);

} // namespace
