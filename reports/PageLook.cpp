#include "reports/PageLook.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "controls/KeyboardReach.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

QFont notebookFont(bool bold)
{
    QFont font(QStringLiteral("Arial"), 8);
    if (bold)
        font.setBold(true);
    return font;
}

QLabel *placedLabel(const QString &text, const QPoint &at, QWidget *parent, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->move(at);
    label->adjustSize();
    return label;
}

QLabel *makeDatesNote(QWidget *page, const QString &name)
{
    auto *note = new QLabel(page);
    note->setObjectName(name);
    note->setFont(notebookFont());
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    note->hide();
    return note;
}

void showDatesNote(QLabel &note, const QStringList &lines)
{
    // The whole note stays with the label, for its hint and a screen reader, whatever it shows.
    const QString whole = lines.join(u'\n');
    note.setToolTip(whole);
    note.setAccessibleDescription(whole);
    note.setText(whole);
    note.setVisible(!lines.isEmpty());
}

void placeDatesNote(QLabel &note, int width)
{
    // Beside a chart the corner is narrow: the note takes one line there, ending in an ellipsis
    // when it is longer, and its hint tells the rest; below a listing it wraps as it needs.
    const QString whole = note.toolTip();
    const QFontMetrics metrics(note.font());
    const bool oneLine = width < listingPageLayout::datesNoteListingWidth;
    note.setWordWrap(!oneLine);
    note.setText(oneLine ? metrics.elidedText(QString(whole).replace(u'\n', QStringLiteral("; ")),
                                              Qt::ElideRight, width)
                         : whole);
    const QPoint corner = listingPageLayout::datesNoteCorner;
    const int height = oneLine ? metrics.height() : note.heightForWidth(width);
    note.setGeometry(corner.x() + 1 - width, corner.y() + 1 - height, width, height);
    note.raise(); // above the chart or listing whose blank corner it takes
}

ViewStrip makeViewStrip(QWidget *page, const QString &bevelName, const QStringList &buttonNames)
{
    ViewStrip strip;
    strip.bevel = new QFrame(page);
    strip.bevel->setObjectName(bevelName);
    strip.bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    strip.bevel->setGeometry(listingPageLayout::stripPlace);
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
    makeOneTabStop({strip.listing, strip.size, strip.count});
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

TChart *makeBareChart(QWidget *parent, const QString &name, const QRect &place)
{
    auto *chart = new TChart(parent);
    chart->setObjectName(name);
    chart->setGeometry(place);
    chart->allowZoom = false;
    chart->axesVisible = false;
    chart->frame = false;
    chart->Legend().visible = false;
    for (ChartWall *wall : {&chart->backWall, &chart->leftWall, &chart->bottomWall})
        wall->visible = false;
    return chart;
}

TChart *makeTurningPie(QWidget *parent, const QString &name, const QRect &place, int depth)
{
    TChart *pie = makeBareChart(parent, name, place);
    pie->setToolTip(QStringLiteral("Click on pie to toggle animation"));
    pie->setChart3DPercent(depth);
    pie->View3DOptions() = {100, 360, 315, 0, false};
    return pie;
}

TChart *makeClassChart(QWidget *page, const QString &name, int legendBoxWidth,
                       THorizBarSeries *&series)
{
    auto *chart = new TChart(page);
    chart->setObjectName(name);
    chart->setGeometry(listingPageLayout::chartPlace);
    chart->animatedZoom = true;
    ChartLegend &legend = chart->Legend();
    legend.style = LegendStyle::Points;
    legend.text = LegendText::Value;
    legend.inverted = true;
    legend.colourWidth = legendBoxWidth;
    legend.topPos = 5;

    series = chart->addSeries<THorizBarSeries>();
    series->setGradient(true);
    series->setPercentFormat(QStringLiteral("##0.# %"));
    series->marks().visible = true;
    series->marks().style = MarkStyle::Percent;
    series->marks().arrowLength = 8;
    return chart;
}
