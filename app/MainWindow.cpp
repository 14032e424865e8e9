#include "app/MainWindow.h"

#include "charts/BarSeries.h"
#include "charts/Chart.h"
#include "controls/AboutBox.h"
#include "controls/DialogLook.h"
#include "controls/GradientBack.h"
#include "controls/PickList.h"
#include "controls/StyledLabel.h"
#include "controls/VectorGlyph.h"
#include "drives/Drives.h"
#include "model/DiskScale.h"
#include "platform/RemoteVolumes.h"
#include "platform/WindowManager.h"
#include "reports/Statistics.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

namespace {

// Colours of the window, as red, green, blue.
const QColor blue(0, 0, 255);
const QColor fuchsia(255, 0, 255);
const QColor navy(0, 0, 128);
const QColor olive(128, 128, 0);
const QColor yellow(255, 255, 0);
const QColor aqua(0, 255, 255);
const QColor lightBlue(0x80, 0x80, 0xFF);
const QColor leftWallBlue(0x80, 0x80, 0xC0);

constexpr int buttonHeight = 28;
constexpr int buttonGap = 6;
constexpr int rightMargin = 6;
constexpr int bottomMargin = 5;
constexpr int addressMargin = 8; // between the web address and the window's left edge
constexpr int hintDelay = 1000;  // milliseconds

// Where the animation starts, and its steps.
constexpr int startZoom = 20;
constexpr int startAngle = 280;
constexpr int turnStep = 4;
constexpr int animationInterval = 50; // milliseconds

const QString title = "Korvel 99 - Disk Statistics";

// Hints appear after a second's rest of the mouse.
class HintStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *data) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return hintDelay;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

void useHintSettings()
{
    if (!dynamic_cast<HintStyle *>(QApplication::style()))
        QApplication::setStyle(new HintStyle);
    QPalette hints = QToolTip::palette();
    hints.setColor(QPalette::ToolTipBase, aqua);
    hints.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(hints);
}

// Depth step and limit of the depth phase: the more drives, the shallower the boxes.
void depthFor(int entries, int &step, int &limit)
{
    if (entries <= 3) {
        step = 5;
        limit = 60;
    } else if (entries <= 5) {
        step = 3;
        limit = 36;
    } else if (entries <= 10) {
        step = 2;
        limit = 30;
    } else {
        step = 2;
        limit = 10;
    }
}

} // namespace

const QString TfrmMain::restingHint = "Double click chart to view animation";

TfrmMain::TfrmMain(QWidget *parent) : QWidget(parent)
{
    setWindowTitle("Korvel 98");
    resize(640, 482);
    GradientBack1 = new TGradientBack(this);
    GradientBack1->setIsAllBlue(true);
    buildChart();
    buildLabels();
    buildButtons();
    Timer1.setInterval(animationInterval);
    Timer2.setInterval(animationInterval);
    connect(&Timer1, &QTimer::timeout, this, &TfrmMain::Timer1Timer);
    connect(&Timer2, &QTimer::timeout, this, &TfrmMain::Timer2Timer);
    // The window shows without waiting for network drives; a drive that answers later, or comes
    // back, joins the chart then.
    connect(&platform::driveNews(), &platform::DriveNews::lateAnswer, this, [this] {
        if (firstShowDone)
            doDiskSize();
    });
    FormCreate();
}

void TfrmMain::buildChart()
{
    chartSpaceBar = new TChart(this);
    chartSpaceBar->setObjectName("chartSpaceBar");
    TChart &c = *chartSpaceBar;
    c.gradient = {true, blue, Qt::black, GradientDirection::TopBottom};
    c.backWall.transparent = true;
    c.leftWall.colour = leftWallBlue;
    c.leftWall.transparent = true;
    c.bottomWall.colour = lightBlue;
    c.margins = {11, 9, 2, 2};
    c.animatedZoom = true;
    c.Legend().visible = false;
    c.Title().lines = QStringList{"Disk Statistics"};
    c.Title().visible = false;
    c.View3DOptions() = {100, 360, 360, 4, true};
    c.setChart3DPercent(45);
    for (TChartAxis *axis : {&c.LeftAxis(), &c.RightAxis()}) {
        axis->visible = true;
        axis->AxisValuesFormat = "#,##0 MB";
        axis->labelColour = Qt::white;
        axis->minorTicks = false;
    }
    c.LeftAxis().labelFont = pixelFont("Times New Roman", 12);
    c.RightAxis().labelFont = pixelFont("Times New Roman", 13);
    c.LeftAxis().axisLine = false;
    c.BottomAxis().labelFont = pixelFont("Arial", 16);
    c.BottomAxis().labelColour = Qt::white;
    c.BottomAxis().minorTicks = false;

    Series5 = c.addSeries<TBarSeries>();
    Series4 = c.addSeries<TBarSeries>();
    for (TBarSeries *s : {Series5, Series4}) {
        s->setGradient(true);
        s->setMultiBar(MultiBar::Stacked);
        s->setSideMargins(false);
        s->setValueFormat("#,##0 MB");
        SeriesMarks &marks = s->marks();
        marks.visible = true;
        marks.style = MarkStyle::Value;
        marks.font = pixelFont("Arial", 11);
        marks.fontColour = Qt::white;
        marks.arrow = false;
    }
    Series5->setColour(blue);
    Series5->setBarPenColour(blue);
    Series5->marks().background = blue;
    Series5->marks().arrowLength = -24;
    Series4->setColour(fuchsia);
    Series4->setBarPenColour(fuchsia);
    Series4->marks().background = fuchsia;
    Series4->marks().arrowLength = 10;
    connect(chartSpaceBar, &TChart::doubleClicked, this, &TfrmMain::chartSpaceBarDblClick);
}

void TfrmMain::buildLabels()
{
    lblTitle = new StyledLabel(title, chartSpaceBar);
    lblTitle->resize(width(), 57);
    lblTitle->setDock(StyledLabel::Dock::Top);
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setFont(pixelFont("Times New Roman", 29));
    lblTitle->setTextColor(olive);
    lblTitle->setHighlightColor(yellow);

    lblBottom = new StyledLabel(makerWebAddress(), chartSpaceBar);
    lblBottom->resize(width(), 42);
    // Placed by placeWebAddress: left, clear of the buttons in the bottom right corner.
    lblBottom->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblBottom->setFont(pixelFont("Times New Roman", 27));
    lblBottom->setTextColor(fuchsia);
    lblBottom->setShadow(navy, 4);
    lblBottom->setGraduateFrom(blue);
    lblBottom->setHighlightColor(yellow);
    // The labels lie over the chart; a double click on them still replays the animation.
    for (StyledLabel *label : {lblTitle, lblBottom})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TfrmMain::buildButtons()
{
    auto make = [this](const QString &caption, int width, int fontPixels, GlyphShapes glyph) {
        auto *button = new QPushButton(vectorGlyph(std::move(glyph)), caption, this);
        button->resize(width, buttonHeight);
        button->setFont(pixelFont("MS Sans Serif", fontPixels));
        return button;
    };
    btClose = make("E&xit", 76, 11, glyphs::exitDoor);
    btClose->setToolTip("Quit and close ");
    btReach = make("&About", 76, 11, glyphs::information);
    btStatistic = make("&Collect disk statistics", 176, 13, glyphs::diskBars);
    btStatistic->setDefault(true);
    connect(btClose, &QPushButton::clicked, this, &TfrmMain::btCloseClick);
    connect(btReach, &QPushButton::clicked, this, &TfrmMain::btReachClick);
    connect(btStatistic, &QPushButton::clicked, this, &TfrmMain::btStatisticClick);

    chartSpaceBar->setFocusPolicy(Qt::TabFocus);
    setTabOrder(btReach, btClose);
    setTabOrder(btClose, chartSpaceBar);
    setTabOrder(chartSpaceBar, btStatistic);
}

void TfrmMain::FormCreate()
{
    lblTitle->hide();
    lblBottom->hide();
    useHintSettings();
    // The first geometry is the one un-maximising returns to: two thirds of the screen's free
    // area, centred, so that the title bar can be reached. Maximising is the window manager's
    // work; without one nobody can un-maximise either, so the window takes the free area itself.
    if (const QScreen *shownOn = screen()) {
        const QRect area = shownOn->availableGeometry();
        QRect normal(0, 0, area.width() * 2 / 3, area.height() * 2 / 3);
        normal.moveCenter(area.center());
        setGeometry(platform::windowManagerRuns() ? normal : area);
    }
    setWindowState(Qt::WindowMaximized);
}

void TfrmMain::FormShow()
{
    useHintSettings();
    FormResize();
    doDiskSize();
    startTurning();
}

void TfrmMain::startTurning()
{
    TChart &c = *chartSpaceBar;
    c.setZoom(startZoom);
    c.setRotation(startAngle);
    c.setElevation(startAngle);
    c.setOrthogonal(false);
    c.setChart3DPercent(1);
    Timer2.start();
}

void TfrmMain::FormResize()
{
    const int w = width(), h = height();
    // The gradient follows the window's size on its own.
    chartSpaceBar->setGeometry(rect());
    btClose->move(w - btClose->width() - rightMargin, h - btClose->height() - bottomMargin);
    btReach->move(btClose->x() - btReach->width() - buttonGap, btClose->y());
    btStatistic->move(btReach->x() - btStatistic->width() - buttonGap, btClose->y());
    btClose->raise();
    btReach->raise();
    btStatistic->raise();
    placeWebAddress();
}

void TfrmMain::placeWebAddress()
{
    // Beside the buttons when it fits there, else on its own row just above them.
    const int textWidth = lblBottom->sizeHint().width();
    const int room = btStatistic->x() - buttonGap - addressMargin;
    const int bottom = textWidth <= room ? height() : btClose->y() - buttonGap / 2;
    lblBottom->setGeometry(addressMargin, bottom - lblBottom->height(),
                           qMin(textWidth, width() - addressMargin), lblBottom->height());
}

QStringList TfrmMain::driveEntries() const
{
    return statistics ? statistics->pckStatDrive->Items() : QStringList();
}

void TfrmMain::doDiskSize()
{
    Series4->Clear();
    Series5->Clear();
    const SpaceChart chart = spaceChart(measureDrives(driveEntries()), true);
    for (const SpaceBar &bar : chart.bars) {
        Series4->Add(bar.freeValue, bar.label, fuchsia);
        Series5->Add(bar.usedValue, bar.label, blue);
    }
}

void TfrmMain::Timer2Timer()
{
    TChart &c = *chartSpaceBar;
    const TView3DOptions &view = c.View3DOptions();
    if (view.Zoom < 100) {
        c.setZoom(view.Zoom + turnStep);
        c.setRotation(view.Rotation + turnStep);
        c.setElevation(view.Elevation + turnStep);
        return;
    }
    c.setZoom(100);
    c.setOrthogonal(true);
    Timer2.stop();
    Timer1.start();
}

void TfrmMain::Timer1Timer()
{
    depthFor(driveEntries().size(), depthStep, depthLimit);
    TChart &c = *chartSpaceBar;
    if (c.Chart3DPercent() < depthLimit) {
        c.setChart3DPercent(c.Chart3DPercent() + depthStep);
        return;
    }
    lblTitle->show();
    lblBottom->show();
    chartSpaceBar->setToolTip(restingHint);
    Timer1.stop();
}

void TfrmMain::chartSpaceBarDblClick()
{
    lblTitle->hide();
    lblBottom->hide();
    chartSpaceBar->setToolTip(QString());
    // A depth phase under way goes on growing while the chart turns again.
    startTurning();
}

void TfrmMain::btStatisticClick()
{
    if (!statistics)
        return;
    statistics->show();
    statistics->raise();
    statistics->activateWindow();
}

void TfrmMain::btReachClick()
{
    TfrmAbout about(this);
    about.exec();
}

void TfrmMain::btCloseClick()
{
    close();
}

// The program ends with this window: a walk under way in the statistics window stops at once, so
// that nothing goes on running after the window is gone.
void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (statistics)
        statistics->stopForExit();
    QWidget::closeEvent(event);
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (firstShowDone)
        return;
    firstShowDone = true;
    FormShow();
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TfrmMain::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button, or "Collect disk statistics" when no button has focus.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget()))
            focused->click();
        else
            btStatistic->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
