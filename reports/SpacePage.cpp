#include "reports/SpacePage.h"

#include "charts/BarSeries.h"
#include "charts/Chart.h"
#include "charts/PieSeries.h"
#include "controls/DialogLook.h"
#include "controls/KeyboardReach.h"
#include "controls/PickList.h"
#include "controls/StyledLabel.h"
#include "helpers/Helpers.h"
#include "model/DiskScale.h"
#include "reports/PageLook.h"
#include "reports/ReportTexts.h"

#include <QCheckBox>
#include <QLocale>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <cmath>
#include <qdrawutil.h>

namespace {

using namespace chartColour;

constexpr int animationInterval = 50; // milliseconds
// With this many units used or fewer a drive is as good as empty: its free figure shows in red.
constexpr double nearlyEmpty = 5;
constexpr int designDepth = 60;
constexpr int switchHeight = 17;
constexpr int smallPieTurn = 4;
constexpr int totalPieTurn = 2;
// From this many entries in the drive list on, only the total pie turns.
constexpr int stillPiesFrom = 6;

// Places of the small pies in three rows.
const QRect piePlaces[SpacePage::pieCount] = {
    {6, 7, 103, 99},   {132, 7, 103, 99},   {258, 7, 103, 99},   {384, 7, 103, 99},
    {510, 7, 103, 99}, {6, 109, 103, 99},   {132, 109, 103, 99}, {258, 109, 103, 99},
    {6, 211, 103, 99}, {132, 211, 103, 99}, {258, 211, 103, 99}};

// A panel with a lowered outer and a raised inner bevel two pixels apart.
class BevelPanel : public QWidget
{
public:
    using QWidget::QWidget;
    static constexpr int inset = 4;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
        const int inner = inset - 1;
        qDrawShadePanel(&painter, rect().adjusted(inner, inner, -inner, -inner), palette(), false,
                        1);
    }
};

// A square of one colour beside a caption, telling which segment is which.
QWidget *swatch(const QColor &colour, const QPoint &at, QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setGeometry(QRect(at, QSize(17, 17)));
    box->setAutoFillBackground(true);
    QPalette look = box->palette();
    look.setColor(QPalette::Window, colour);
    box->setPalette(look);
    return box;
}

// The page's big captions and figures: Times New Roman, raised off the page.
StyledLabel *figureLabel(const QString &text, const QPoint &at, int width, QWidget *parent)
{
    auto *label = new StyledLabel(text, parent);
    label->setFont(pixelFont("Times New Roman", 21));
    label->setHighlightColor(Qt::white);
    label->setShadow(gray, 1);
    label->move(at);
    label->resize(width > 0 ? width : label->sizeHint().width(), label->sizeHint().height());
    return label;
}

// The whole-number part of a value as the locale writes it with two decimals: rounded to two
// decimals first, so 9999.996 reads 10,000.
QString wholePartText(double value)
{
    const QLocale locale;
    const QString text = locale.toString(value, 'f', 2);
    return text.left(text.lastIndexOf(locale.decimalPoint()));
}

TPieSeries &pieOf(const TChart &pie)
{
    return *static_cast<TPieSeries *>(pie.series(0));
}

// Depth step and limit of the bar chart: the more bars, the shallower they grow.
void depthFor(int drives, int &step, int &limit)
{
    if (drives <= 2) {
        step = 6;
        limit = 60;
    } else if (drives <= 4) {
        step = 3;
        limit = 30;
    } else if (drives <= 6) {
        step = 2;
        limit = 20;
    } else {
        step = 2;
        limit = 10;
    }
}

} // namespace

SpacePage::SpacePage(const ReportContext &context, TPickList *pckStatDrive, QWidget *parent)
    : ReportPage(context, parent), pckStatDrive(pckStatDrive)
{
    buildBarView();
    buildPieView();
    Timer2.setInterval(animationInterval);
    connect(&Timer2, &QTimer::timeout, this, &SpacePage::Timer2Timer);
}

void SpacePage::buildBarView()
{
    Panel4 = new BevelPanel(this);
    Panel4->setGeometry(5, 5, 183, 353);
    pckStatDrive->setParent(Panel4);
    const int in = BevelPanel::inset;
    pckStatDrive->setGeometry(Panel4->rect().adjusted(in, in, -in, -in));
    pckStatDrive->show();
    buildSavedDriveList();

    // The figures lie over the top edge of the chart, so that no letter of theirs is cut.
    buildBarChart();
    buildFigures();

    cbTotal = new QCheckBox("Show Cumulative Total", this);
    cbTotal->move(203, 341);
    cbTotal->setChecked(true);
    connect(cbTotal, &QCheckBox::clicked, this, &SpacePage::cbTotalClick);
    rgSpace2 = new QRadioButton("Bar - totals", this);
    rgSpace2->move(424, 342);
    rgSpace2->setChecked(true);
    rgSpace1 = new QRadioButton("Pie - percent", this);
    rgSpace1->move(528, 342);
    for (QRadioButton *button : {rgSpace1, rgSpace2})
        connect(button, &QRadioButton::clicked, this, &SpacePage::rgSpaceClick);
    makeOneTabStop({rgSpace2, rgSpace1});
    // Low enough to fit between the chart and the bottom of the page.
    for (QWidget *w : std::initializer_list<QWidget *>{cbTotal, rgSpace1, rgSpace2})
        w->resize(w->sizeHint().width(), switchHeight);
}

// Looks like the window's list and lies in its place.
void SpacePage::buildSavedDriveList()
{
    pckSavedDrive = new TPickList(Panel4);
    pckSavedDrive->setObjectName(QStringLiteral("pckSavedDrive"));
    pckSavedDrive->setMultiSelect(true);
    pckSavedDrive->setExtendedSelect(false);
    pckSavedDrive->setItemHeight(pckStatDrive->ItemHeight());
    pckSavedDrive->setFrameShape(QFrame::NoFrame);
    pckSavedDrive->setColor(pckStatDrive->Color());
    pckSavedDrive->setFont(pckStatDrive->font());
    pckSavedDrive->setGeometry(pckStatDrive->geometry());
    pckSavedDrive->setAccessibleName(QStringLiteral("Drives of the collection"));
    pckSavedDrive->hide();
    connect(pckSavedDrive, &TPickList::OnClick, this, &SpacePage::doDiskSize);
}

void SpacePage::showSavedDrives(const std::vector<DriveFacts> &drives)
{
    QStringList entries;
    savedSpace.clear();
    // A drive the run did not walk, or whose space it could not learn, is passed over as a drive
    // that does not answer is.
    for (const DriveFacts &drive : drives) {
        if (!drive.walked || drive.capacity == 0)
            continue;
        savedSpace << DriveSpace{QString(drive.letter), double(drive.freeBytes),
                                 double(drive.capacity)};
        entries << QString(drive.letter) + QStringLiteral(": [") + drive.mountPoint + u']';
    }
    pckSavedDrive->setItems(entries);
    pckSavedDrive->setAllSelected(true);
    pckStatDrive->hide();
    pckSavedDrive->show();
    doDiskSize();
}

void SpacePage::showLiveDrives()
{
    if (!showsSavedDrives())
        return;
    pckSavedDrive->hide();
    pckSavedDrive->setItems({});
    savedSpace.clear();
    pckStatDrive->show();
    doDiskSize();
}

bool SpacePage::showsSavedDrives() const
{
    return !pckSavedDrive->isHidden();
}

TPickList *SpacePage::driveList() const
{
    return showsSavedDrives() ? pckSavedDrive : pckStatDrive;
}

QList<DriveSpace> SpacePage::listedDrives(bool pickedOnly) const
{
    const TPickList &list = *driveList();
    const QStringList items = list.Items();
    QStringList entries;
    QList<DriveSpace> saved;
    for (int i = 0; i < items.size(); ++i) {
        if (pickedOnly && !list.Selected(i))
            continue;
        if (showsSavedDrives())
            saved << savedSpace.at(i);
        else
            entries << items.at(i);
    }
    return showsSavedDrives() ? saved : measureDrives(entries);
}

void SpacePage::buildFigures()
{
    lblTotalC = figureLabel("Total Capacity:", {210, 5}, 0, this);
    lblFreeC = figureLabel("Free Space:", {241, 34}, 0, this);
    label26 = figureLabel("Used Space:", {236, 64}, 0, this);
    lblTotal = figureLabel(QString(), {376, 5}, 135, this);
    lblFree = figureLabel(QString(), {376, 34}, 136, this);
    lblUsed = figureLabel(QString(), {376, 64}, 136, this);
    for (StyledLabel *value : {lblTotal, lblFree, lblUsed})
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Wide enough for "KB " and "MB ", which start out empty.
    lblTot = figureLabel(QString(), {521, 5}, 40, this);
    lblPct = figureLabel(QString(), {521, 34}, 40, this);
    lblPct2 = figureLabel(QString(), {521, 64}, 40, this);
    Panel1 = swatch(fuchsia, {215, 35}, this);
    Panel2 = swatch(blue, {215, 66}, this);
}

void SpacePage::buildBarChart()
{
    chartSpaceBar = new TChart(this);
    chartSpaceBar->setObjectName("chartSpaceBar");
    chartSpaceBar->setGeometry(190, 87, 436, 255);
    TChart &c = *chartSpaceBar;
    c.allowZoom = false;
    c.backWall.colour = Qt::white;
    c.backWall.transparent = true;
    c.gradient = {true, silver, gray, GradientDirection::TopBottom};
    c.margins = {2, 1, 2, 2};
    c.Title().visible = false;
    c.Legend().visible = false;
    c.setChart3DPercent(designDepth);
    c.LeftAxis().AxisValuesFormat = "#,##0 MB";

    Series5 = c.addSeries<TBarSeries>();
    Series4 = c.addSeries<TBarSeries>();
    for (TBarSeries *s : {Series5, Series4}) {
        s->setMultiBar(MultiBar::Stacked);
        s->setValueFormat("#,##0 MB");
        SeriesMarks &marks = s->marks();
        marks.visible = true;
        marks.style = MarkStyle::Value;
        marks.font = notebookFont();
        marks.fontColour = Qt::white;
        marks.arrow = false;
    }
    // The legend is hidden; the titles head the columns a screen reader reads.
    Series5->setTitle(QStringLiteral("Used"));
    Series4->setTitle(QStringLiteral("Free"));
    Series5->setColour(blue);
    Series5->marks().background = blue;
    Series5->marks().arrowLength = -24;
    Series4->setColour(fuchsia);
    Series4->marks().background = fuchsia;
    Series4->marks().arrowLength = 10;
}

void SpacePage::buildPieView()
{
    // Lies over the drive list, the figures and the bar chart; the view switches stay in reach.
    pnlPie = new QWidget(this);
    pnlPie->setGeometry(4, 4, 616, 336);
    pnlPie->setAutoFillBackground(true);
    for (int i = 0; i < pieCount; ++i)
        pies[i] = makePie(QString("pie%1").arg(i + 1), piePlaces[i]);
    pieTotal = makePie("pieTotal", {374, 119, 235, 183});
    Panel3 = swatch(fuchsia, {492, 312}, pnlPie);
    Label8 = new StyledLabel("Free", pnlPie);
    Label8->move(513, 313);
    Panel5 = swatch(blue, {557, 312}, pnlPie);
    Label9 = new StyledLabel("Used", pnlPie);
    Label9->move(580, 313);
    for (StyledLabel *label : {Label8, Label9})
        label->resize(label->sizeHint());

    ScrollBar3 = new QScrollBar(Qt::Horizontal, pnlPie);
    ScrollBar3->setGeometry(3, 313, 134, 18);
    ScrollBar3->setRange(0, 360);
    ScrollBar3->setPageStep(5);
    makeKeyboardScrollBar(ScrollBar3);
    ScrollBar3->setAccessibleName(QStringLiteral("Turn"));
    ScrollBar3->hide();
    connect(ScrollBar3, &QScrollBar::valueChanged, this, &SpacePage::ScrollBar1Change);
    pnlPie->hide();
}

TChart *SpacePage::makePie(const QString &name, const QRect &place)
{
    TChart *pie = makeTurningPie(pnlPie, name, place, 65);
    pie->backWall.colour = Qt::white;
    pie->backWall.transparent = true;
    pie->backWall.pen = false;
    pie->gradient = {true, silver, gray, GradientDirection::TopBottom};
    pie->margins = {2, 2, 2, 2};
    pie->Title().font = notebookFont(true);
    pie->setMaxPointsPerPage(2);
    auto *series = pie->addSeries<TPieSeries>();
    // The slices show no labels; the swatches beside the pies name them, as a reader does.
    pie->unlabelledPointNames = {QStringLiteral("Used"), QStringLiteral("Free")};
    series->setTitle(QStringLiteral("Bytes"));
    series->marks().visible = false;
    series->setPercentFormat("##0.# %");
    series->setRotationAngle(60);
    pie->hide();
    connect(pie, &TChart::clicked, this, &SpacePage::pieTotalClick);
    return pie;
}

TPieSeries *SpacePage::pieSeries(int index) const
{
    return &pieOf(*pies[index]);
}

TPieSeries *SpacePage::totalSeries() const
{
    return &pieOf(*pieTotal);
}

void SpacePage::pageEntered()
{
    chartSpaceBar->setChart3DPercent(1);
    doDiskSize();
    Timer2.start();
}

void SpacePage::drivesChanged()
{
    doDiskSize();
}

void SpacePage::setRunControlsEnabled(bool enabled)
{
    rgSpace1->setEnabled(enabled);
    rgSpace2->setEnabled(enabled);
}

void SpacePage::doDiskSize()
{
    for (StyledLabel *label : {lblTotal, lblFree, lblUsed, lblTot, lblPct, lblPct2})
        label->setText(QString());
    Series4->Clear();
    Series5->Clear();
    const QList<DriveSpace> drives = listedDrives(true);
    plottedDriveCount = int(drives.size());
    const SpaceChart chart = spaceChart(drives, cbTotal->isChecked());
    for (const SpaceBar &bar : chart.bars) {
        Series4->Add(bar.freeValue, bar.label, fuchsia);
        Series5->Add(bar.usedValue, bar.label, blue);
    }
    figuresShown = chart.totalSum > 0;
    showFigures(figuresShown);
    if (figuresShown)
        writeFigures(chart.freeSum, chart.totalSum, unitText(chart.unit));
    rgSpaceClick();
}

void SpacePage::showFigures(bool shown)
{
    for (QWidget *w : std::initializer_list<QWidget *>{lblTotalC, lblFreeC, label26, Panel1, Panel2,
                                                       chartSpaceBar})
        w->setVisible(shown);
}

void SpacePage::writeFigures(double freeSum, double totalSum, const QString &unit)
{
    const QString format = "#,##0 " + unit;
    chartSpaceBar->LeftAxis().AxisValuesFormat = format;
    Series4->setValueFormat(format);
    Series5->setValueFormat(format);
    lblTot->setText(unit);
    lblTotal->setText(wholePartText(totalSum));
    lblFree->setText(intToGrouped(std::int64_t(std::nearbyint(freeSum))));
    lblPct->setText(unit + " ");
    const double used = std::nearbyint(totalSum - freeSum);
    // A drive with next to nothing on it is worth a second look.
    const QColor freeColour = used <= nearlyEmpty ? red : Qt::black;
    lblFree->setTextColor(freeColour);
    lblPct->setTextColor(freeColour);
    lblUsed->setText(intToGrouped(std::int64_t(used)));
    lblPct2->setText(unit + " ");
    chartSpaceBar->changed();
}

void SpacePage::rgSpaceClick()
{
    if (rgSpace1->isChecked()) {
        Panel4->hide();
        doPieCharts();
        cbTotal->hide();
        chartSpaceBar->hide();
        context.Timer1.start();
        pnlPie->show();
        pnlPie->raise();
        return;
    }
    // Without a drive to plot the figures and the chart stay hidden, but the drive list comes
    // back so that the user can pick one.
    Panel4->show();
    pnlPie->hide();
    cbTotal->show();
    if (plottedDriveCount == 0)
        return;
    chartSpaceBar->setVisible(figuresShown);
    chartSpaceBar->setChart3DPercent(1);
    Timer2.start();
}

void SpacePage::fillPie(TChart &pie, const QString &titleStart, double freeBytes, double totalBytes)
{
    pie.show();
    TChartSeries &series = *pie.series(0);
    series.Clear();
    pie.setTitleText(titleStart + percentFreeText(freeBytes, totalBytes) + "% free");
    series.Add(totalBytes - freeBytes, " ", blue);
    series.Add(freeBytes, " ", fuchsia);
}

void SpacePage::doPieCharts()
{
    double freeSum = 0, totalSum = 0;
    int filled = 0;
    for (const DriveSpace &drive : listedDrives(false)) {
        if (filled == pieCount)
            break;
        // A drive without capacity has no free share to show: it is passed over like a drive
        // that does not answer.
        if (drive.totalBytes <= 0)
            continue;
        freeSum += drive.freeBytes;
        totalSum += drive.totalBytes;
        fillPie(*pies[filled], drive.label.toUpper() + ":\\  ", drive.freeBytes, drive.totalBytes);
        ++filled;
    }
    // A pie left over from drives that answered before would show stale figures.
    for (int i = filled; i < pieCount; ++i)
        pies[i]->hide();
    if (totalSum > 0)
        fillPie(*pieTotal, "TOTAL ", freeSum, totalSum);
    else
        pieTotal->hide();
}

void SpacePage::cbTotalClick()
{
    doDiskSize();
}

void SpacePage::pieTotalClick()
{
    context.togglePieTick();
    ScrollBar3->setVisible(!context.Timer1.isActive());
}

void SpacePage::ScrollBar1Change()
{
    const int angle = ScrollBar3->value();
    for (TChart *pie : pies)
        if (!pie->isHidden())
            pieOf(*pie).setRotationAngle(angle);
    if (!pieTotal->isHidden())
        totalSeries()->setRotationAngle(angle);
}

void SpacePage::Timer1Timer()
{
    if (!rgSpace1->isChecked() || !inView())
        return;
    if (driveList()->count() < stillPiesFrom) {
        for (TChart *pie : pies)
            if (!pie->isHidden())
                pieOf(*pie).rotate(smallPieTurn);
    }
    if (!pieTotal->isHidden())
        totalSeries()->rotate(totalPieTurn);
    ScrollBar3->hide();
    // Moving the bar sets every pie to the first pie's angle, so turning pies turn together.
    ScrollBar3->setValue(pieSeries(0)->RotationAngle());
}

void SpacePage::Timer2Timer()
{
    if (!inView()) {
        Timer2.stop();
        return;
    }
    int step = 0, limit = 0;
    depthFor(plottedDriveCount, step, limit);
    const int depth = chartSpaceBar->Chart3DPercent();
    if (depth < limit)
        chartSpaceBar->setChart3DPercent(depth + step);
    else
        Timer2.stop();
}
