#include "reports/DatePage.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "controls/MessageBoxes.h"
#include "controls/StringGrid.h"
#include "helpers/Helpers.h"
#include "model/DateKeeping.h"
#include "reports/ColourTable.h"
#include "reports/NoteButton.h"
#include "reports/PageLook.h"
#include "reports/ReportGrid.h"

#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

namespace {

constexpr double MB = 1048576;

// What differs between the three dated pages.
struct DateDesign
{
    QString name;    // "Access": gridAccess, chartAccess, rgAccess0 ...
    QString caption; // heading of the listing's first column
    QString sizeTitle, countTitle;
    QString bevelName, noteName;
    int legendBoxWidth;
    QString note;
    DateKind date;
};

// In the order of DatePage::Dates.
const DateDesign designs[] = {
    {"Access", "Accessed Date", "Access Date (file sizes in MB)", "Access Date (Number of files)",
     "Bevel1", "SpeedButton1", 15,
     "Note: prior versions of Windows and DOS did not store the file access date.  Files never "
     "recorded as being accessed are probably old files that were converted to Windows 95.",
     DateKind::Accessed},
    {"Create", "Created Date", "Created Date (file sizes in MB)", "Created Date (Number of files)",
     "Bevel2", "SpeedButton2", 20,
     "Files never recorded as being created are probably old files that were converted to "
     "Windows 95.  Note: prior versions of Windows and DOS did not store the file creation "
     "date independent of the last file modification or file write date.",
     DateKind::Created},
    {"Modify", "Modified Date", "Modified Date (file sizes in MB)",
     "Modified Date (Number of files)", "Bevel3", "SpeedButton3", 20,
     "Note: prior versions of Windows and DOS treated the file creation date synonomously  "
     "with the last file modification date.  Therefore all files have a file modification "
     "date.",
     DateKind::Modified},
};

const DateDesign &design(DatePage::Dates dates)
{
    return designs[int(dates)];
}

} // namespace

void fillAgeSeries(ColourTable &colours, THorizBarSeries &series,
                   const std::vector<ClassFigures> &classes, bool inMegabytes, const QColor &colour,
                   bool singleColour)
{
    colours.initAColors(!singleColour, colour);
    series.Clear();
    int k = 0;
    for (const ClassFigures &c : classes) {
        const double value = inMegabytes ? double(c.bytes) / MB : double(c.files);
        series.Add(value, c.label, colours[++k]);
    }
}

QString DatePage::ageLabel(int ageClass)
{
    return ageClassLabel(ageClass);
}

DatePage::DatePage(Dates dates, const ReportContext &context, QWidget *parent)
    : ReportPage(context, parent), dates(dates)
{
    const DateDesign &d = design(dates);
    resize(pageSize);
    chart = makeClassChart(this, QStringLiteral("chart") + d.name, d.legendBoxWidth, series);
    grid = makeListingGrid(this, QStringLiteral("grid") + d.name, {194, 189, 140}, dateGridRows);

    const QString rg = QStringLiteral("rg") + d.name;
    const ViewStrip strip = makeViewStrip(this, d.bevelName, {rg + "0", rg + "1", rg + "2"});
    rgListing = strip.listing;
    rgSize = strip.size;
    rgCount = strip.count;
    for (QRadioButton *button : {rgListing, rgSize, rgCount})
        connectViewChoice(button, this, [this] { rgAccessClick(); });

    noteButton = makeNoteButton(d.noteName, listingPageLayout::noteButtonAt, this,
                                QStringLiteral("Explains the ") + d.caption.toLower() + u's');
    connect(noteButton, &QToolButton::clicked, this, &DatePage::noteClick);
    if (dates != Dates::Modified)
        datesNote = makeDatesNote(this, QStringLiteral("lbl") + d.name + QStringLiteral("Dates"));
}

std::vector<ClassFigures> DatePage::classes() const
{
    return ageClasses(context.results, design(dates).date);
}

void DatePage::refill()
{
    fillGridDates(design(dates).caption, classes());
    if (!datesNote)
        return;
    showDatesNote(*datesNote, dates == Dates::Accessed ? accessDatesLines(context.run.drives)
                                                       : creationDatesLines(context.run.drives));
    placeNote();
}

// Below the chart's legend the note keeps clear of the plot however wide the legend's figures
// make it; below the listing it has the page's width.
void DatePage::placeNote()
{
    if (datesNote)
        placeDatesNote(*datesNote,
                       grid->isHidden() ? 118 : listingPageLayout::datesNoteListingWidth);
}

void DatePage::fillGridDates(const QString &caption, const std::vector<ClassFigures> &classes)
{
    unselectListing(*grid);
    grid->setRowCells(
        0, {caption, QStringLiteral("Total file size"), QStringLiteral("Number of files")});
    for (int k = 0; k < 10; ++k) {
        const ClassFigures &c = classes[std::size_t(k)];
        grid->setRowCells(10 - k,
                          {c.label, unsignedToGrouped(c.bytes), unsignedToGrouped(c.files)});
    }
}

void DatePage::fillChart()
{
    const DateDesign &d = design(dates);
    const bool inMegabytes = rgSize->isChecked();
    chart->UndoZoom();
    chart->setTitleText(inMegabytes ? d.sizeTitle : d.countTitle);
    fillAgeSeries(context.colours, *series, classes(), inMegabytes, QColor(), false);
}

void DatePage::rgAccessClick()
{
    grid->setVisible(rgListing->isChecked());
    chart->setVisible(grid->isHidden());
    placeNote();
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
    return chartIfShown(chart);
}
