#include "reports/DatePage.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "controls/MessageBoxes.h"
#include "controls/StringGrid.h"
#include "helpers/Helpers.h"
#include "reports/ColourTable.h"
#include "reports/NoteButton.h"
#include "reports/ReportGrid.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QToolButton>

namespace {

constexpr double MB = 1048576;
constexpr int gridRows = 11;
constexpr int gridTop = 40;
// Selecting a row outside the listing leaves no row of it marked as selected.
constexpr int outsideRow = 20;

// What differs between the three dated pages.
struct DateDesign
{
    QString name;    // "Access": gridAccess, chartAccess, rgAccess0 ...
    QString caption; // heading of the listing's first column
    QString sizeTitle, countTitle;
    QString bevelName, noteName;
    int legendBoxWidth;
    QString note;
};

const DateDesign &design(DatePage::Dates dates)
{
    static const DateDesign accessed{
        "Access",
        "Accessed Date",
        "Access Date (file sizes in MB)",
        "Access Date (Number of files)",
        "Bevel1",
        "SpeedButton1",
        15,
        "Note: prior versions of Windows and DOS did not store the file access date.  Files never "
        "recorded as being accessed are probably old files that were converted to Windows 95."};
    static const DateDesign created{
        "Create",
        "Created Date",
        "Created Date (file sizes in MB)",
        "Created Date (Number of files)",
        "Bevel2",
        "SpeedButton2",
        20,
        "Files never recorded as being created are probably old files that were converted to "
        "Windows 95.  Note: prior versions of Windows and DOS did not store the file creation "
        "date independent of the last file modification or file write date."};
    static const DateDesign modified{
        "Modify",
        "Modified Date",
        "Modified Date (file sizes in MB)",
        "Modified Date (Number of files)",
        "Bevel3",
        "SpeedButton3",
        20,
        "Note: prior versions of Windows and DOS treated the file creation date synonomously  "
        "with the last file modification date.  Therefore all files have a file modification "
        "date."};
    switch (dates) {
    case DatePage::Dates::Accessed:
        return accessed;
    case DatePage::Dates::Created:
        return created;
    default:
        return modified;
    }
}

void setUpAgeChart(TChart &chart, int legendBoxWidth)
{
    chart.animatedZoom = true;
    chart.Legend().style = LegendStyle::Points;
    chart.Legend().text = LegendText::Value;
    chart.Legend().inverted = true;
    chart.Legend().colourWidth = legendBoxWidth;
    chart.Legend().topPos = 5;
}

} // namespace

namespace datePageLayout {

QRect chartPlace()
{
    return {0, 0, 632, 333};
}

QRect stripPlace()
{
    return {96, 335, 440, 25};
}

QPoint noteButtonAt()
{
    return {600, 336};
}

} // namespace datePageLayout

ViewStrip makeViewStrip(QWidget *page, const QString &bevelName, const QStringList &buttonNames)
{
    ViewStrip strip;
    strip.bevel = new QFrame(page);
    strip.bevel->setObjectName(bevelName);
    strip.bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    strip.bevel->setGeometry(datePageLayout::stripPlace());
    auto *row = new QHBoxLayout(strip.bevel);
    row->setContentsMargins(10, 0, 6, 0);
    const QStringList captions{"Listing", "Chart by Size (in MB)", "Chart by Number of Files"};
    QRadioButton *buttons[3];
    for (int k = 0; k < 3; ++k) {
        buttons[k] = new QRadioButton(captions[k], strip.bevel);
        buttons[k]->setObjectName(buttonNames[k]);
        row->addWidget(buttons[k]);
    }
    strip.listing = buttons[0];
    strip.size = buttons[1];
    strip.count = buttons[2];
    strip.size->setChecked(true);
    return strip;
}

void connectViewChoice(QRadioButton *button, QObject *receiver, std::function<void()> chosen)
{
    // Only a view newly chosen counts: clicking the one in view again keeps the charts as they
    // are, zoom and all.
    QObject::connect(button, &QRadioButton::toggled, receiver, [chosen](bool checked) {
        if (checked)
            chosen();
    });
}

TStringGrid *makeDateGrid(QWidget *page, const QString &name, const QList<int> &widths)
{
    auto *grid = new TStringGrid(page);
    grid->setObjectName(name);
    setUpListingGrid(*grid, widths, gridRows);
    int width = 0;
    for (int columnWidth : widths)
        width += columnWidth;
    grid->setGeometry((page->width() - width) / 2, gridTop, width, gridRows * 19);
    return grid;
}

void fillAgeSeries(ColourTable &colours, THorizBarSeries &series, const AgeTable &values,
                   bool inMegabytes, const QColor &colour, bool singleColour)
{
    colours.initAColors(!singleColour, colour);
    series.Clear();
    const double divisor = inMegabytes ? MB : 1;
    for (int k = 0; k < 10; ++k)
        series.Add(values[std::size_t(k)] / divisor, DatePage::ageLabel(k), colours[k + 1]);
}

QString DatePage::ageLabel(int ageClass)
{
    static const QStringList labels{
        "Not recorded",   "<= 7 days",   "8 - 30 days", "31 - 60 days", "61 - 120 days",
        "121 - 365 days", "1 - 2 years", "2 - 3 years", "3 - 4 years",  "Over 4 years"};
    return labels.value(ageClass);
}

DatePage::DatePage(Dates dates, const ReportContext &context, QWidget *parent)
    : ReportPage(context, parent), dates(dates)
{
    const DateDesign &d = design(dates);
    resize(632, 363);
    chart = new TChart(this);
    chart->setObjectName(QStringLiteral("chart") + d.name);
    chart->setGeometry(datePageLayout::chartPlace());
    setUpAgeChart(*chart, d.legendBoxWidth);
    series = chart->addSeries<THorizBarSeries>();
    series->setGradient(true);
    series->setPercentFormat(QStringLiteral("##0.# %"));
    series->marks().visible = true;
    series->marks().style = MarkStyle::Percent;
    series->marks().arrowLength = 8;

    grid = makeDateGrid(this, QStringLiteral("grid") + d.name, {194, 189, 140});

    const QString rg = QStringLiteral("rg") + d.name;
    const ViewStrip strip = makeViewStrip(this, d.bevelName, {rg + "0", rg + "1", rg + "2"});
    rgListing = strip.listing;
    rgSize = strip.size;
    rgCount = strip.count;
    for (QRadioButton *button : {rgListing, rgSize, rgCount})
        connectViewChoice(button, this, [this] { rgAccessClick(); });

    noteButton = makeNoteButton(d.noteName, datePageLayout::noteButtonAt(), this);
    connect(noteButton, &QToolButton::clicked, this, &DatePage::noteClick);
}

const AgeTable &DatePage::bytes() const
{
    const Accumulators &r = context.results;
    switch (dates) {
    case Dates::Accessed:
        return r.ageAccessedBytes;
    case Dates::Created:
        return r.ageCreatedBytes;
    default:
        return r.ageModifiedBytes;
    }
}

const AgeTable &DatePage::files() const
{
    const Accumulators &r = context.results;
    switch (dates) {
    case Dates::Accessed:
        return r.ageAccessedFiles;
    case Dates::Created:
        return r.ageCreatedFiles;
    default:
        return r.ageModifiedFiles;
    }
}

void DatePage::refill()
{
    fillGridDates(design(dates).caption, bytes(), files());
}

void DatePage::fillGridDates(const QString &caption, const AgeTable &bytes, const AgeTable &files)
{
    grid->selectRow(outsideRow);
    grid->setRowCells(
        0, {caption, QStringLiteral("Total file size"), QStringLiteral("Number of files")});
    for (int k = 0; k < 10; ++k) {
        grid->setRowCells(10 - k, {ageLabel(k), floatToGrouped(bytes[std::size_t(k)]),
                                   floatToGrouped(files[std::size_t(k)])});
    }
}

void DatePage::fillChart()
{
    const DateDesign &d = design(dates);
    const bool inMegabytes = rgSize->isChecked();
    chart->UndoZoom();
    chart->setTitleText(inMegabytes ? d.sizeTitle : d.countTitle);
    fillAgeSeries(context.colours, *series, inMegabytes ? bytes() : files(), inMegabytes, QColor(),
                  false);
}

void DatePage::rgAccessClick()
{
    grid->setVisible(rgListing->isChecked());
    chart->setVisible(grid->isHidden());
    // The listing keeps the run's numbers; only a chart view is rebuilt.
    if (grid->isHidden())
        emit chartViewChosen();
}

void DatePage::noteClick()
{
    infoBox(design(dates).note);
}

void DatePage::setRunControlsEnabled(bool enabled)
{
    for (QRadioButton *button : {rgListing, rgSize, rgCount})
        button->setEnabled(enabled);
}

PrintTarget DatePage::printTarget() const
{
    PrintTarget target;
    if (!chart->isHidden())
        target.chart = chart;
    return target;
}
