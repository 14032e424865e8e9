#include "reports/TypesPage.h"

#include "charts/Chart.h"
#include "charts/PieSeries.h"
#include "controls/DialogLook.h"
#include "controls/KeyboardReach.h"
#include "controls/StringGrid.h"
#include "helpers/Helpers.h"
#include "reports/PageLook.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

namespace {

// Places within the page.
constexpr QRect gridPlace(14, 6, 604, 326);
// The line about longer extensions takes the foot of the listing's place when it shows.
constexpr int longerLineHeight = 16;
constexpr QRect piePlace(0, 0, 632, 334);
constexpr QRect scrollBarPlace(494, 312, 134, 18); // inside the pie chart, bottom right
constexpr QRect sortButtonPlace(58, 338, 81, 22);
constexpr QRect viewGroupPlace(146, 333, 480, 28);

constexpr int columnWidths[] = {80, 219, 120, 75, 82};
const QStringList headings{"Extension", "Type", "Size", "# Files", "Avg File Size"};
const QStringList viewCaptions{"Listing", "Pie by Size", "Pie by # Files", "Pie by Average Size"};

// The columns of the listing.
enum Column
{
    ExtensionColumn,
    TypeColumn,
    SizeColumn,
    FilesColumn,
    AverageColumn
};

} // namespace

TypesPage::TypesPage(const ReportContext &context, QWidget *parent) : ReportPage(context, parent)
{
    buildGrid();
    buildPie();
    buildViewControls();
    gridTypes->hide();
    btSort->hide();

    lblLonger = new QLabel(this);
    lblLonger->setObjectName("lblLonger");
    lblLonger->setFont(notebookFont());
    lblLonger->setGeometry(gridPlace.left(), gridPlace.bottom() + 1 - longerLineHeight + 2,
                           gridPlace.width(), longerLineHeight - 2);
    lblLonger->hide();
}

void TypesPage::buildGrid()
{
    gridTypes = new TStringGrid(this);
    gridTypes->setObjectName("gridTypes");
    gridTypes->setGeometry(gridPlace);
    gridTypes->setColumnCount(int(std::size(columnWidths)));
    gridTypes->setFixedRows(1);
    gridTypes->setFixedFooters(1);
    gridTypes->setRowCount(2);
    for (int c = 0; c < gridTypes->columnCount(); ++c)
        gridTypes->setColWidth(c, columnWidths[c]);
    gridTypes->setDefaultRowHeight(19);
    gridTypes->setRowCells(0, headings);
    gridTypes->setOnGetAlignment(
        [this](int column, int row) { return gridTypesGetAlignment(row, column); });

    GridPrintSettings &print = gridTypes->PrintSettings;
    print.title = "File Types";
    print.pagePrefix = "Page";
    print.leftMargin = 20;
    print.rightMargin = 20;
    print.centred = true;
    // The listing's own print keeps its headings on the first page and numbers pages "Page n";
    // the report document's tables repeat them.
    print.repeatHeading = false;
    print.countPages = false;
    print.orientation = QPageLayout::Portrait;
    print.font = QFont("MS Sans Serif", 8);

    PopupMenu1 = new QMenu(this);
    useWindowFont(*PopupMenu1);
    auto item = [this](const QString &caption, TypeSort sort) {
        QAction *action = PopupMenu1->addAction(caption);
        action->setCheckable(true);
        action->setData(int(sort));
        connect(action, &QAction::triggered, this,
                [this, action] { SortbyExtensionClick(action); });
        return action;
    };
    SortbyExtension = item("Sort by &Extension", TypeSort::Extension);
    SortbyType = item("Sort by &Type", TypeSort::Type);
    SortbySize = item("Sort by &Size", TypeSort::Size);
    SortbyNumFiles = item("Sort by &Number of files", TypeSort::Files);
    SortbyAverageFileSize1 = item("Sort by &Average File Size", TypeSort::Average);
    checkedSort = SortbyExtension;
    showCheckMark();
    gridTypes->PopupMenu = PopupMenu1;
}

void TypesPage::buildPie()
{
    chartPie = makeTurningPie(this, "chartPie", piePlace, 25);
    chartPie->Title().visible = false;
    connect(chartPie, &TChart::clicked, this, &TypesPage::chartSpacePieClick);

    Series2 = chartPie->addSeries<TPieSeries>();
    Series2->marks().visible = true;
    Series2->marks().style = MarkStyle::LabelPercent;
    Series2->marks().arrowLength = 8;
    Series2->setPercentFormat("##0.# %");
    Series2->setExplodeBiggest(10);
    Series2->setOtherSliceLimit(5);

    ScrollBar2 = new QScrollBar(Qt::Horizontal, chartPie);
    ScrollBar2->setGeometry(scrollBarPlace);
    ScrollBar2->setRange(0, 360);
    ScrollBar2->setPageStep(5);
    makeKeyboardScrollBar(ScrollBar2);
    ScrollBar2->setAccessibleName(QStringLiteral("Turn"));
    connect(ScrollBar2, &QScrollBar::valueChanged, this, &TypesPage::ScrollBar2Change);
}

void TypesPage::buildViewControls()
{
    btSort = new QPushButton("&Sort", this);
    btSort->setGeometry(sortButtonPlace);
    btSort->setMenu(PopupMenu1);

    rgTypes = new QGroupBox(this);
    rgTypes->setGeometry(viewGroupPlace);
    rgTypesButtons = new QButtonGroup(rgTypes);
    auto *row = new QHBoxLayout(rgTypes);
    row->setContentsMargins(8, 0, 4, 0);
    // Only a change of view counts: clicking the view already chosen neither sorts again nor
    // restarts an animation that a click on the pie stopped.
    for (int index = 0; index < viewCaptions.size(); ++index) {
        auto *button = new QRadioButton(viewCaptions[index], rgTypes);
        rgTypesButtons->addButton(button, index);
        row->addWidget(button, 1);
        button->setChecked(index == PieBySize);
        connectViewChoice(button, this, [this] { rgTypesClick(); });
    }
    makeOneTabStop(rgTypesButtons->buttons());
}

TypesPage::View TypesPage::view() const
{
    return View(std::max(rgTypesButtons->checkedId(), 0));
}

void TypesPage::doFileTypes()
{
    figures = TypeListing(context.results);
    gridTypes->setRowCount(int(figures.rows().size()) + 2);
    shownSort.reset();
    showRows(TypeSort::Extension);
    rgTypesClick();
}

void TypesPage::showRows(TypeSort sort)
{
    // Blanked for a run under way, the listing has no rows to put in order.
    if (int(figures.rows().size()) != gridTypes->rowCount() - 2 || sort == shownSort)
        return;
    shownOrder = figures.order(sort);
    // The texts of a row are made when the grid asks for them: a run may have a million types.
    gridTypes->setRowSource(1, int(shownOrder.size()), [this](int column, int index) {
        return cellText(figures.rows()[std::size_t(shownOrder[std::size_t(index)])], column);
    });
    shownSort = sort;
}

QString TypesPage::cellText(const TypeRow &row, int column)
{
    switch (column) {
    case ExtensionColumn:
        return row.extension;
    case TypeColumn:
        return row.typeName;
    case SizeColumn:
        return unsignedToGrouped(row.bytes);
    case FilesColumn:
        return intToGrouped(row.files);
    default:
        return unsignedToGrouped(row.average());
    }
}

void TypesPage::rgTypesClick()
{
    const View chosen = view();
    const bool listing = chosen == Listing;
    btSort->setVisible(listing);
    if (listing)
        context.Timer1.stop();
    else
        context.Timer1.start();

    // A pie takes the largest rows of its measure, so the listing is sorted by it first; the
    // sort item's column is the measure.
    QAction *const measure = chosen == PieBySize    ? SortbySize
                             : chosen == PieByFiles ? SortbyNumFiles
                                                    : SortbyAverageFileSize1;
    if (!listing)
        SortbyExtensionClick(measure);

    gridTypes->setVisible(listing);
    chartPie->setVisible(!listing);
    showLongerLine();
    if (listing)
        doTotals();
    else
        fillPie(sortOf(measure));
}

// Slice k takes colour k of the table, also when an earlier row gave no slice.
void TypesPage::fillPie(TypeSort measure)
{
    context.colours.initAColors(true);
    Series2->Clear();
    for (const ReportSlice &slice : figures.pie(measure))
        Series2->Add(slice.value, slice.label, context.colours[slice.colour]);
}

// The listing gives up the room of the line at its foot only while there is a line to show.
void TypesPage::showLongerLine()
{
    const QString line = figures.longerLine();
    const bool shown = !line.isEmpty() && view() == Listing;
    lblLonger->setText(line);
    lblLonger->setVisible(shown);
    gridTypes->setGeometry(gridPlace.adjusted(0, 0, 0, shown ? -longerLineHeight : 0));
}

TypeSort TypesPage::sortOf(const QAction *item)
{
    return TypeSort(item->data().toInt());
}

void TypesPage::SortbyExtensionClick(QAction *Sender)
{
    // A click on a checkable item has already turned its check mark; put the marks back as they
    // were when nothing is sorted.
    if (gridTypes->rowCount() < 4) {
        showCheckMark();
        return;
    }
    checkedSort = nullptr;
    showCheckMark();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    showRows(sortOf(Sender));
    checkedSort = Sender;
    showCheckMark();
    QApplication::restoreOverrideCursor();
}

void TypesPage::showCheckMark()
{
    for (QAction *item : PopupMenu1->actions())
        item->setChecked(item == checkedSort);
}

void TypesPage::doTotals()
{
    const int last = gridTypes->rowCount() - 1;
    // A listing blanked for a run under way totals nothing.
    const bool current = int(figures.rows().size()) == last - 1;
    gridTypes->setCell(TypeColumn, last, "Totals");
    gridTypes->setCell(SizeColumn, last, current ? unsignedToGrouped(figures.totalBytes()) : "0");
    gridTypes->setCell(FilesColumn, last, current ? intToGrouped(figures.totalFiles()) : "0");
    fitFigureColumns();
}

// The figures keep their columns' widths until the largest a walk can count would be cut: then a
// column grows to its widest figure, and the type names' column gives up that room.
void TypesPage::fitFigureColumns()
{
    constexpr int margins = 6; // the cell's insets and a pixel to spare
    constexpr int narrowestTypes = 60;
    const QFontMetrics metrics(gridTypes->font());
    // Figures are set in digits of one width, so the widest figure of a column is its largest:
    // only that one, the heading and the totals are measured, not a million rows.
    TypeRow largest;
    for (const TypeRow &row : figures.rows()) {
        largest.bytes = std::max(largest.bytes, row.bytes);
        largest.files = std::max(largest.files, row.files);
    }
    std::uint64_t largestAverage = 0;
    for (const TypeRow &row : figures.rows())
        largestAverage = std::max(largestAverage, row.average());
    const int last = gridTypes->rowCount() - 1;
    int typeWidth = columnWidths[TypeColumn];
    for (int c = SizeColumn; c <= AverageColumn; ++c) {
        int widest = 0;
        const QString largestText = figures.rows().empty() ? QString()
                                    : c == AverageColumn   ? unsignedToGrouped(largestAverage)
                                                           : cellText(largest, c);
        for (const QString &text : {gridTypes->cell(c, 0), gridTypes->cell(c, last), largestText})
            widest = std::max(widest, metrics.horizontalAdvance(text) + margins);
        const int grown = std::min(std::max(widest, columnWidths[c]) - columnWidths[c],
                                   typeWidth - narrowestTypes);
        typeWidth -= grown;
        gridTypes->setColWidth(c, columnWidths[c] + grown);
    }
    gridTypes->setColWidth(TypeColumn, typeWidth);
}

Qt::Alignment TypesPage::gridTypesGetAlignment(int, int ACol) const
{
    return ACol > TypeColumn ? Qt::AlignRight : Qt::AlignLeft;
}

void TypesPage::chartSpacePieClick()
{
    context.togglePieTick();
}

void TypesPage::ScrollBar2Change()
{
    Series2->setRotationAngle(ScrollBar2->value());
}

void TypesPage::printListing(QPrinter &printer) const
{
    gridTypes->PrintSettings.title = "File types for drive " + context.results.currentDrive;
    gridTypes->PrintSettings.closingLine = figures.longerLine();
    gridTypes->print(printer);
}

// A run blanks the listing before it counts anything, its totals and the line below it too; the
// headings stay.
void TypesPage::runStarting()
{
    gridTypes->blankRows(1);
    figures = TypeListing();
    shownOrder.clear();
    shownSort.reset();
    showLongerLine();
}

// After every drive the listing ends up in extension order, whatever measure the pie built
// during doFileTypes sorted it by.
void TypesPage::refill()
{
    doFileTypes();
    SortbyExtensionClick(SortbyExtension);
}

void TypesPage::setRunControlsEnabled(bool enabled)
{
    rgTypes->setEnabled(enabled);
}

void TypesPage::Timer1Timer()
{
    if (!inView() || view() == Listing)
        return;
    Series2->rotate(1);
    ScrollBar2->setValue(Series2->RotationAngle());
}

PrintTarget TypesPage::printTarget() const
{
    if (view() != Listing)
        return {chartPie, {}};
    return {nullptr, [this](QPrinter &printer) { printListing(printer); }};
}
