#include "charts/BarSeries.h"
#include "charts/Chart.h"
#include "charts/ChartPreviewer.h"
#include "charts/HorizBarSeries.h"
#include "charts/LineSeries.h"
#include "charts/PieSeries.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QColor blue(0, 0, 255), fuchsia(255, 0, 255);

// Rows of a column where the colour is mostly blue or mostly fuchsia (the gradient and the
// shading change the tone, never the hue).
bool isBlueish(const QColor &c)
{
    return c.blue() > 60 && c.red() < 40 && c.green() < 40;
}
bool isFuchsiaish(const QColor &c)
{
    return c.blue() > 60 && c.red() > 60 && std::abs(c.red() - c.blue()) < 40 && c.green() < 40;
}

void plainLook(TChart &chart)
{
    chart.frame = false;
    chart.Title().visible = false;
    chart.Legend().visible = false;
    chart.gradient.visible = false;
    chart.backColour = Qt::white;
    chart.backWall.visible = chart.leftWall.visible = chart.bottomWall.visible = false;
}

// Bounding box of the pixels that pass a test.
QRect areaWhere(const QImage &image, const std::function<bool(const QColor &)> &test)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (test(image.pixelColor(x, y)))
                area |= QRect(x, y, 1, 1);
    return area;
}

// The main window's pair: used space below free space, one bar.
void fillDrive(TChart &chart, bool gradient)
{
    auto *used = chart.addSeries<TBarSeries>();
    auto *free = chart.addSeries<TBarSeries>();
    for (TBarSeries *s : {used, free}) {
        s->setMultiBar(MultiBar::Stacked);
        s->setGradient(gradient);
        s->setSideMargins(false);
    }
    free->Add(300, "c", fuchsia);
    used->Add(700, "c", blue);
}

} // namespace

TEST(ChartRendering, UsedSegmentIsBlueBelowTheFuchsiaFreeSegment)
{
    for (bool gradient : {false, true}) {
        TChart chart;
        chart.resize(300, 400);
        plainLook(chart);
        fillDrive(chart, gradient);
        const QImage image = chart.toImage();
        // Walk down the middle of the bar's front: fuchsia first, then blue, nothing after.
        int firstFuchsia = -1, lastFuchsia = -1, firstBlue = -1, lastBlue = -1;
        const int x = image.width() / 3;
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (isFuchsiaish(c)) {
                if (firstFuchsia < 0)
                    firstFuchsia = y;
                lastFuchsia = y;
            } else if (isBlueish(c)) {
                if (firstBlue < 0)
                    firstBlue = y;
                lastBlue = y;
            }
        }
        ASSERT_GE(firstFuchsia, 0) << "gradient " << gradient;
        ASSERT_GE(firstBlue, 0) << "gradient " << gradient;
        EXPECT_LT(lastFuchsia, firstBlue + 3);
        // 700 of 1000 used: the blue part is more than twice as tall as the fuchsia part.
        EXPECT_GT(lastBlue - firstBlue, 2 * (lastFuchsia - firstFuchsia));
    }
}

// Centre of the pixels of a colour; (-1, -1) when there are none.
QPointF centreOf(const QImage &image, const QColor &colour)
{
    double x = 0, y = 0;
    int n = 0;
    for (int row = 0; row < image.height(); ++row)
        for (int column = 0; column < image.width(); ++column)
            if (image.pixelColor(column, row) == colour) {
                x += column;
                y += row;
                ++n;
            }
    return n ? QPointF(x / n, y / n) : QPointF(-1, -1);
}

TEST(ChartRendering, BarsStandWhereTheirPointsAndSeriesPutThem)
{
    TChart across;
    across.resize(300, 300);
    plainLook(across);
    across.setView3D(false);
    auto *h = across.addSeries<THorizBarSeries>();
    h->Add(10, "first", Qt::red);
    h->Add(10, "second", Qt::blue);
    const QImage horizontal = across.toImage();
    // The first point of horizontal bars is the bottom one.
    EXPECT_GT(centreOf(horizontal, Qt::red).y(), centreOf(horizontal, Qt::blue).y());

    TChart side;
    side.resize(300, 300);
    plainLook(side);
    side.setView3D(false);
    auto *a = side.addSeries<TBarSeries>();
    auto *b = side.addSeries<TBarSeries>();
    a->Add(10, "c", Qt::red);
    b->Add(20, "c", Qt::blue);
    const QImage bars = side.toImage();
    const QPointF red = centreOf(bars, Qt::red), blue = centreOf(bars, Qt::blue);
    ASSERT_GE(red.x(), 0);
    ASSERT_GE(blue.x(), 0);
    EXPECT_LT(red.x(), blue.x()); // side by side, in the order of the series
    EXPECT_GT(red.y(), blue.y()); // the shorter bar's middle lies lower

    TChart lines;
    lines.resize(300, 300);
    plainLook(lines);
    lines.setView3D(false);
    auto *line = lines.addSeries<TLineSeries>();
    line->setColour(Qt::green);
    line->AddXY(0, 1);
    line->AddXY(1, 5);
    const QPointF green = centreOf(lines.toImage(), Qt::green);
    EXPECT_GE(green.x(), 0) << "the line is drawn in the series' colour";

    // In 3-D a line is a ribbon in a darker shade; a dashed one is the line alone, with gaps.
    lines.setView3D(true);
    lines.setChart3DPercent(30);
    auto greenish = [&] {
        const QImage image = lines.toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += c.green() > 100 && c.red() < 80 && c.blue() < 80;
            }
        return n;
    };
    const int solid = greenish();
    line->setDashed(true);
    EXPECT_LT(greenish() * 3, solid);
}

TEST(ChartRendering, OffsetsShiftBarsAndTurnedLabelsStandUpright)
{
    TChart chart;
    chart.resize(300, 300);
    plainLook(chart);
    chart.setView3D(false);
    chart.BottomAxis().labelColour = Qt::blue;
    auto *bars = chart.addSeries<TBarSeries>();
    bars->setBarWidthPercent(40);
    bars->Add(10, "121 - 365 days", Qt::red);
    const QImage flat = chart.toImage();
    const double flatPlotHeight = chart.plotRect().height();
    const QPointF plain = centreOf(flat, Qt::red);

    // Shifted by half its width. With the side margins the one slot is half the plot, so half
    // of a bar of 40 % is a tenth of the plot.
    bars->setOffsetPercent(50);
    const QPointF shifted = centreOf(chart.toImage(), Qt::red);
    EXPECT_NEAR(shifted.x() - plain.x(), chart.plotRect().width() * 0.1, 2);
    EXPECT_NEAR(shifted.y(), plain.y(), 1);

    // Turned a quarter, the label is taller than wide and takes its length from the plot.
    chart.BottomAxis().labelAngle = 90;
    const QImage turned = chart.toImage();
    EXPECT_LT(chart.plotRect().height(), flatPlotHeight - 40);
    const QRect label = areaWhere(
        turned, [](const QColor &c) { return c.blue() > 150 && c.red() < 100 && c.green() < 100; });
    ASSERT_FALSE(label.isEmpty());
    EXPECT_GT(label.height(), 3 * label.width());
}

TEST(ChartRendering, WallsAndBackgroundGradient)
{
    // The main window's look: blue at the top shading to black, a coloured bottom wall.
    TChart chart;
    chart.resize(300, 300);
    plainLook(chart);
    chart.gradient = {true, QColor(0, 0, 255), Qt::black, GradientDirection::TopBottom};
    chart.bottomWall.visible = true;
    chart.bottomWall.colour = QColor(0, 255, 0);
    chart.addSeries<TBarSeries>()->Add(10, "c", Qt::red);
    QImage image = chart.toImage();
    EXPECT_GT(image.pixelColor(2, 2).blue(), 240);
    EXPECT_LT(image.pixelColor(2, 297).blue(), 15);
    EXPECT_GE(centreOf(image, QColor(0, 255, 0)).x(), 0);

    chart.bottomWall.transparent = true;
    chart.gradient.direction = GradientDirection::BottomTop;
    image = chart.toImage();
    EXPECT_LT(centreOf(image, QColor(0, 255, 0)).x(), 0);
    EXPECT_LT(image.pixelColor(2, 2).blue(), 15);
}

TEST(ChartRendering, PieSlicesShowInTheirColours)
{
    TChart chart;
    chart.resize(300, 300);
    plainLook(chart);
    chart.View3DOptions() = {100, 360, 315, 0, false};
    auto *pie = chart.addSeries<TPieSeries>();
    pie->Add(50, "a", Qt::red);
    pie->Add(25, "b", Qt::green);
    pie->Add(25, "c", Qt::blue);
    // Rotation 0: red covers the upper half, then green (lower left), then blue (lower right).
    const QImage image = chart.toImage();
    const QPoint centre(150, 150 - 10);
    auto near = [&image](QPoint p) { return image.pixelColor(p); };
    EXPECT_EQ(near(centre + QPoint(0, -40)), QColor(Qt::red));
    EXPECT_EQ(near(centre + QPoint(-40, 20)), QColor(Qt::green));
    EXPECT_EQ(near(centre + QPoint(40, 20)), QColor(Qt::blue));

    pie->setRotationAngle(180); // red now covers the lower half
    const QImage turned = chart.toImage();
    EXPECT_EQ(turned.pixelColor(centre + QPoint(0, 30)), QColor(Qt::red));
}

// A drive wholly free (or full): the one slice covers the disc with no line from its centre,
// whichever way the pie is turned and whether the empty slice comes first or last.
TEST(ChartRendering, AWholeSliceHasNoSeam)
{
    for (const int angle : {0, 90, 270})
        for (const bool emptyFirst : {true, false}) {
            TChart chart;
            chart.resize(300, 300);
            plainLook(chart);
            chart.View3DOptions() = {100, 360, 315, 0, false};
            chart.setChart3DPercent(65);
            auto *pie = chart.addSeries<TPieSeries>();
            if (emptyFirst)
                pie->Add(0, " ", blue);
            pie->Add(1'000, " ", fuchsia);
            if (!emptyFirst)
                pie->Add(0, " ", blue);
            pie->setRotationAngle(angle);
            const QImage image = chart.toImage();
            // The face is the disc seen at a slant: as wide as the drawing, cos 45 degrees as tall.
            const QRect drawn = areaWhere(image, isFuchsiaish);
            const double rx = drawn.width() / 2.0, ry = rx * std::cos(M_PI / 4);
            const QPointF centre(drawn.left() + rx, drawn.top() + ry);
            int off = 0;
            for (int y = drawn.top(); y <= drawn.bottom(); ++y)
                for (int x = drawn.left(); x <= drawn.right(); ++x) {
                    const double dx = (x - centre.x()) / (rx - 3), dy = (y - centre.y()) / (ry - 3);
                    off += dx * dx + dy * dy < 1 && image.pixelColor(x, y) != fuchsia;
                }
            EXPECT_EQ(off, 0) << angle << (emptyFirst ? " empty first" : " empty last");
        }
}

TEST(ChartRendering, AnEmptiedSeriesDrawsNothing)
{
    TChart empty;
    empty.resize(300, 200);
    plainLook(empty);
    empty.addSeries<TBarSeries>();
    auto *pieSeries = empty.addSeries<TPieSeries>();
    pieSeries->setActive(false);
    const QImage blank = empty.toImage();

    TChart emptied;
    emptied.resize(300, 200);
    plainLook(emptied);
    auto *bars = emptied.addSeries<TBarSeries>();
    bars->marks().visible = true;
    bars->Add(10, "c", Qt::red);
    bars->Add(20, "d", Qt::red);
    auto *pie = emptied.addSeries<TPieSeries>();
    pie->Add(5, "x", Qt::green);
    pie->setActive(false);
    EXPECT_NE(emptied.toImage(), blank);
    bars->Clear();
    pie->Clear();
    EXPECT_EQ(emptied.toImage(), blank);
}

TEST(ChartRendering, FrameOutlinesThePlotWithoutWalls)
{
    TChart chart;
    chart.resize(200, 150);
    plainLook(chart);
    chart.axesVisible = false;
    chart.addSeries<TBarSeries>();
    QImage white(chart.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(chart.toImage(), white);
    chart.frame = true;
    EXPECT_NE(chart.toImage(), white);
}

TEST(ChartRendering, MarksBeyondTheBarsStayClearOfThem)
{
    // The small attribute bars: the longest bar's mark must fit beside it, not over its end.
    TChart chart;
    chart.resize(158, 105);
    plainLook(chart);
    chart.axesVisible = false;
    chart.setChart3DPercent(25);
    auto *bars = chart.addSeries<THorizBarSeries>();
    bars->setValueFormat("#,##0.## %");
    bars->marks().visible = true;
    bars->marks().arrowLength = 20;
    bars->marks().background = Qt::green;
    for (double v : {0.0, 50.0, 0.0, 50.0})
        bars->Add(v, QString(), Qt::red);
    const QImage image = chart.toImage();
    // The same layout with see-through marks shows the whole bars.
    bars->marks().transparent = true;
    bars->marks().frame = false;
    bars->marks().fontColour = Qt::white;
    const QImage barsAlone = chart.toImage();
    // Row by row, every mark stands right of its bar, its arrow's length away (less the half
    // of the depth that the bar's far end reaches beyond the mark's anchor).
    int rowsWithMarks = 0;
    for (int y = 0; y < image.height(); ++y) {
        int markLeft = image.width(), barRight = -1;
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = barsAlone.pixelColor(x, y);
            if (image.pixelColor(x, y) == QColor(Qt::green))
                markLeft = std::min(markLeft, x);
            if (c.red() > 100 && c.green() < 60 && c.blue() < 60)
                barRight = x;
        }
        if (markLeft == image.width())
            continue;
        ++rowsWithMarks;
        EXPECT_GE(markLeft - barRight, 12) << "row " << y;
    }
    EXPECT_GT(rowsWithMarks, 10);
}

TEST(ChartRendering, LegendFrameHoldsEveryEntryWhole)
{
    for (LegendAlignment where : {LegendAlignment::Top, LegendAlignment::Right}) {
        TChart chart;
        chart.resize(500, 200);
        plainLook(chart);
        chart.axesVisible = false;
        chart.Legend().visible = true;
        chart.Legend().alignment = where;
        chart.Legend().colourWidth = 25;
        chart.Legend().fontColour = Qt::red;
        chart.Legend().font = QFont("Arial", 10);
        for (const char *title : {"Modified time", "Created time", "Access Time"}) {
            auto *line = chart.addSeries<TLineSeries>();
            line->setTitle(title);
            line->setColour(Qt::blue);
        }
        const QImage image = chart.toImage();
        // The text is red; the frame is the only black to its right.
        const QRect text = areaWhere(image, [](const QColor &c) {
            return c.red() > 150 && c.green() < 110 && c.blue() < 110;
        });
        ASSERT_FALSE(text.isEmpty());
        int frameRight = -1;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, text.center().y()) == QColor(Qt::black))
                frameRight = x;
        EXPECT_GE(frameRight - text.right(), 3)
            << "text touches the frame, legend at " << int(where);
    }
}

TEST(ChartRendering, LegendColourBoxIsItsWidthOutlineIncludedAtEveryScale)
{
    for (const double scale : {1.0, 2.0}) {
        TChart chart;
        chart.resize(300, 150);
        plainLook(chart);
        chart.axesVisible = false;
        chart.Legend().visible = true;
        chart.Legend().colourWidth = 25;
        chart.Legend().style = LegendStyle::Series;
        auto *line = chart.addSeries<TLineSeries>();
        line->setTitle("Modified time");
        line->setColour(Qt::green);
        QImage image((chart.size() * scale), QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::white);
        QPainter painter(&image);
        chart.draw(painter, chart.rect());
        painter.end();
        const QRect inside = areaWhere(image, [](const QColor &c) { return c == Qt::green; });
        ASSERT_FALSE(inside.isEmpty()) << scale;
        const int y = inside.center().y();
        int left = inside.left(), right = inside.right();
        while (image.pixelColor(left - 1, y) == Qt::black)
            --left;
        while (image.pixelColor(right + 1, y) == Qt::black)
            ++right;
        EXPECT_EQ(right - left + 1, 25 * scale) << scale;
        EXPECT_EQ(inside.left() - left, scale) << "the outline is one logical pixel wide";
    }
}

TEST(ChartInteraction, DraggingZoomsAndUndoes)
{
    TChart chart;
    chart.resize(400, 300);
    plainLook(chart);
    auto *bars = chart.addSeries<TBarSeries>();
    for (int i = 0; i < 10; ++i)
        bars->Add(10 + i, QString::number(i), Qt::red);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    chart.repaint(); // lays the plot out
    const AxisRange before = chart.valueRange();
    const QRectF plot = QRectF(chart.rect()).adjusted(80, 40, -80, -40);

    QTest::mousePress(&chart, Qt::LeftButton, {}, plot.topLeft().toPoint());
    QTest::mouseMove(&chart, plot.center().toPoint());
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, plot.center().toPoint());
    EXPECT_TRUE(chart.zoomed());
    const AxisRange zoomed = chart.valueRange();
    EXPECT_LT(zoomed.maximum - zoomed.minimum, before.maximum - before.minimum);

    // Dragging up and to the left undoes the zoom.
    QTest::mousePress(&chart, Qt::LeftButton, {}, plot.center().toPoint());
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, plot.topLeft().toPoint());
    EXPECT_FALSE(chart.zoomed());
    EXPECT_EQ(chart.valueRange(), before);
}

TEST(ChartInteraction, AnimatedZoomEndsAtItsTargetAndClicksAreReported)
{
    TChart chart;
    chart.resize(400, 300);
    plainLook(chart);
    chart.animatedZoom = true;
    auto *bars = chart.addSeries<TBarSeries>();
    for (int i = 0; i < 4; ++i)
        bars->Add(100, QString::number(i), Qt::red);
    chart.toImage(); // lays the plot out
    chart.zoomToRect(QRect(100, 80, 150, 100));
    EXPECT_TRUE(chart.zoomAnimating());
    EXPECT_FALSE(chart.zoomed()); // nothing moved before the first step
    chart.finishZoom();
    EXPECT_FALSE(chart.zoomAnimating());
    EXPECT_TRUE(chart.zoomed());
    chart.UndoZoom();
    EXPECT_FALSE(chart.zoomed());

    QSignalSpy clicks(&chart, &TChart::clicked);
    QSignalSpy doubles(&chart, &TChart::doubleClicked);
    QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseDClick(&chart, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_GE(clicks.count(), 1);
    EXPECT_FALSE(chart.zoomed());
}

namespace {

// Prints a chart into a PDF file and hands back the file's bytes.
QByteArray printToPdf(TChart &chart, const QString &path, const ChartPrintHeader &header = {})
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    printChart(chart, printer, header);
    return korvel::test::fileBytes(path);
}

} // namespace

TEST(ChartPrinting, PrintsTheChartIntoAPdfPage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TChart blank; // a white page: no series, no axes
    blank.resize(400, 300);
    plainLook(blank);
    blank.axesVisible = false;
    TChart chart;
    chart.resize(400, 300);
    plainLook(chart);
    fillDrive(chart, true);
    const QByteArray empty = printToPdf(blank, dir.filePath("blank.pdf"));
    const ChartPrintHeader header{"Sizes for drive c: [/]",
                                  QDateTime(QDate(2026, 3, 14), QTime(9, 26))};
    korvel::test::LocaleGuard locale(korvel::test::commaLocale());
    const QByteArray drawn = printToPdf(chart, dir.filePath("chart.pdf"), header);
    ASSERT_TRUE(drawn.startsWith("%PDF"));
    EXPECT_EQ(drawn.count("/Type /Page\n") + drawn.count("/Type /Page\r"), 1);
    // The chart is a picture on the page: its bars and axes take far more room than white.
    EXPECT_GT(drawn.size(), 3 * empty.size()) << empty.size() << " against " << drawn.size();
    // Above it the header line, which keeps clear of the paper's edge.
    const QString text = korvel::test::pdfText(dir.filePath("chart.pdf"), true);
    EXPECT_TRUE(text.contains("3/14/26") && text.contains("Sizes for drive c: [/]") &&
                text.contains("9:26"))
        << text.toStdString();
    EXPECT_GE(korvel::test::pdfLeastTextMarginMm(dir.filePath("chart.pdf")), 10);
}

// The preview shows the one page; Tab reaches its Print button and Esc closes it; Ctrl+P prints,
// which first asks where to.
TEST(ChartPrinting, PreviewShowsOnePageAndAnswersTheKeyboard)
{
    TChart chart;
    chart.resize(400, 300);
    fillDrive(chart, false);
    TChartPreviewer previewer;
    previewer.Chart = &chart;
    int pages = -1;
    bool tabReachesPrint = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (auto *preview = dialog->findChild<QPrintPreviewWidget *>())
            pages = preview->pageCount();
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog))
            return dialog->reject();
        for (int press = 0; press < 40 && !tabReachesPrint; ++press) {
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Tab);
            const auto *button = qobject_cast<QToolButton *>(dialog->focusWidget());
            tabReachesPrint = button && button->defaultAction() &&
                              button->defaultAction()->shortcut() == QKeySequence::Print;
        }
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape);
    });
    previewer.Execute();
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(tabReachesPrint);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "Esc closes the preview";

    QString askedWhere; // the kind of window that came up over the preview
    QTimer::singleShot(0, [&] {
        QWidget *preview = QApplication::activeModalWidget();
        preview->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(preview));
        QTimer::singleShot(0, [&, preview] {
            QWidget *asking = QApplication::activeModalWidget();
            if (asking && asking != preview) {
                askedWhere = asking->metaObject()->className();
                asking->close();
            }
            preview->close();
        });
        QTest::keyClick(preview, Qt::Key_P, Qt::ControlModifier);
    });
    previewer.Execute();
    EXPECT_FALSE(askedWhere.isEmpty()) << "Ctrl+P prints from the preview";
}

namespace {

class CountingChart : public TChart
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        TChart::paintEvent(event);
    }
};

// Lets the event loop run and wait a few times, as it does between two handlers.
void idle(int turns)
{
    for (int turn = 0; turn < turns; ++turn) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

} // namespace

// The report pages switch views by writing fields; the chart on screen must show each change as
// a setter would, and an unchanged chart must not repaint over and over.
TEST(ChartView, ChangesThroughPlainFieldsRepaintLikeSetters)
{
    CountingChart chart;
    auto *bars = chart.addSeries<TBarSeries>();
    bars->Add(3);
    chart.resize(200, 150);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    const std::vector<std::pair<const char *, std::function<void()>>> changes = {
        {"setter", [&] { chart.setTitleText("Sizes"); }},
        {"title lines", [&] { chart.Title().lines = QStringList{"Ages"}; }},
        {"background", [&] { chart.backColour = Qt::yellow; }},
        {"wall", [&] { chart.backWall.visible = false; }},
        {"axis", [&] { chart.LeftAxis().title = "MB"; }},
        {"marks", [&] { bars->marks().visible = true; }},
    };
    for (const auto &[what, change] : changes) {
        idle(3);
        chart.paints = 0;
        idle(3);
        EXPECT_EQ(chart.paints, 0) << "before " << what;
        change();
        for (int turn = 0; turn < 100 && chart.paints == 0; ++turn)
            idle(1);
        EXPECT_GT(chart.paints, 0) << what;
    }
}
