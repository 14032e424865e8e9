#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QFrame;
class QLabel;
class QObject;
class QRadioButton;
class QWidget;
class TChart;
class THorizBarSeries;

// What the report pages have in common to look at: their colours, their font, their labels, and
// the strip of view buttons and the class chart of the pages that show a listing or a chart.

// The named colours the pages draw with; the colour table hands out the first twelve in order.
namespace chartColour {
inline constexpr QColor red(255, 0, 0), maroon(128, 0, 0), blue(0, 0, 255), yellow(255, 255, 0),
    green(0, 128, 0), lime(0, 255, 0), fuchsia(255, 0, 255), teal(0, 128, 128), navy(0, 0, 128),
    aqua(0, 255, 255), white(255, 255, 255), gray(128, 128, 128);
inline constexpr QColor silver(192, 192, 192), lightAqua(128, 255, 255);
} // namespace chartColour

// The notebook's font, Arial 8 point, which the pages' labels share; bold for headings.
QFont notebookFont(bool bold = false);

// A label at a point, as wide as its text.
QLabel *placedLabel(const QString &text, const QPoint &at, QWidget *parent,
                    const QFont &font = notebookFont());

// Where a listing page puts its chart, its view strip and its note button.
namespace listingPageLayout {
inline constexpr QRect chartPlace(0, 0, 632, 333);
inline constexpr QRect stripPlace(96, 335, 440, 25);
inline constexpr QPoint noteButtonAt(600, 336);
// The dates note's corner, and its widths: beside a chart, below the legend and right of the
// plot, where the plot cannot reach; below a listing, the width of the page.
inline constexpr QPoint datesNoteCorner(628, 332);
inline constexpr int datesNoteListingWidth = 600;
} // namespace listingPageLayout

// A note on how the walked drives keep a date page's dates, in the blank corner at the bottom
// right of the chart or listing, just above the note button on the dates: the lines wrap to the
// width given and the note grows upward from there. Hidden while there is nothing to say.
QLabel *makeDatesNote(QWidget *page, const QString &name);
void showDatesNote(QLabel &note, const QStringList &lines);
void placeDatesNote(QLabel &note, int width);

// The view buttons of a listing page side by side in their framed strip, "Chart by Size (in MB)"
// chosen; names are those of the listing, size and count buttons.
struct ViewStrip
{
    QFrame *bevel;
    QRadioButton *listing, *size, *count;
};
ViewStrip makeViewStrip(QWidget *page, const QString &bevelName, const QStringList &buttonNames);
// Runs chosen when the button becomes the chosen view of its strip.
void connectViewChoice(QRadioButton *button, QObject *receiver, std::function<void()> chosen);

// A chart of bars or slices alone, named and placed: no axes, walls, frame, legend or zoom. The
// caller sets the rest and adds its series.
TChart *makeBareChart(QWidget *parent, const QString &name, const QRect &place);

// A bare chart of a pie that turns with the pie tick and stops or starts it when clicked, seen
// from above at a slant with the depth given; the caller adds its series.
TChart *makeTurningPie(QWidget *parent, const QString &name, const QRect &place, int depth);

// The chart of a listing page: one gradient bar per class, marked with its share, under a legend
// that gives each class's value beside a colour box of the width given.
TChart *makeClassChart(QWidget *page, const QString &name, int legendBoxWidth,
                       THorizBarSeries *&series);
