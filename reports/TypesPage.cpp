#include "reports/TypesPage.h"

#include "charts/Chart.h"
#include "charts/PieSeries.h"
#include "controls/StringGrid.h"
#include "engine/Classification.h"
#include "helpers/Helpers.h"
#include "reports/PageLook.h"
#include "reports/ReportTexts.h"
#include "selection/TypeNames.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

// Places within the page.
constexpr QRect gridPlace(14, 6, 604, 326);
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

// A pie holds at most as many slices as the colour table has entries.
constexpr int mostSlices = 12;

// A number the listing shows, read back: its thousands separators out, whatever the locale
// uses for them; 0 for a text that is no number.
double listedNumber(const QString &text)
{
    return textToFloat(stripCommas(text));
}

} // namespace

TypesPage::TypesPage(const ReportContext &context, QWidget *parent) : ReportPage(context, parent)
{
    buildGrid();
    buildPie();
    buildViewControls();
    gridTypes->hide();
    btSort->hide();
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
    auto item = [this](const QString &caption, Column column) {
        QAction *action = PopupMenu1->addAction(caption);
        action->setCheckable(true);
        action->setData(int(column));
        connect(action, &QAction::triggered, this,
                [this, action] { SortbyExtensionClick(action); });
        return action;
    };
    SortbyExtension = item("Sort by &Extension", ExtensionColumn);
    SortbyType = item("Sort by &Type", TypeColumn);
    SortbySize = item("Sort by &Size", SizeColumn);
    SortbyNumFiles = item("Sort by &Number of files", FilesColumn);
    SortbyAverageFileSize1 = item("Sort by &Average File Size", AverageColumn);
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
}

TypesPage::View TypesPage::view() const
{
    return View(std::max(rgTypesButtons->checkedId(), 0));
}

void TypesPage::doFileTypes()
{
    // The selected types show even where no file had them; the run's own table stays as the walk
    // left it.
    TypeTable table = context.results.lbTypes;
    if (context.results.includeSelected)
        for (const QString &picked : context.results.PickList2)
            table.insertType(extractExtension(picked), 0, true);

    gridTypes->setRowCount(table.count() + 2);
    for (int i = 0; i < table.count(); ++i) {
        const QString extension = table.extensionAt(i);
        const double files = double(table.filesAt(i));
        const double bytes = double(table.bytesAt(i));
        gridTypes->setRowCells(i + 1, {extension, getTypeName(extension), floatToGrouped(bytes),
                                       floatToGrouped(files), averageText(bytes, files)});
    }
    rgTypesClick();
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
    if (listing)
        doTotals();
    else
        fillPie(measure->data().toInt());
}

// Slice k takes colour k of the table, also when an earlier row gave no slice.
void TypesPage::fillPie(int column)
{
    context.colours.initAColors(true);
    Series2->Clear();
    const int rows = std::min(gridTypes->rowCount() - 2, mostSlices);
    for (int r = 1; r <= rows; ++r) {
        const double value = listedNumber(gridTypes->cell(column, r));
        if (value > 0)
            Series2->Add(value, gridTypes->cell(TypeColumn, r), context.colours[r]);
    }
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
    const int column = Sender->data().toInt();
    const int last = gridTypes->rowCount() - 2;
    if (column <= TypeColumn)
        sortRowsText(*gridTypes, 1, last, column, false);
    else
        sortRowsNumeric(*gridTypes, 1, last, column, true);
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
    double bytes = 0;
    double files = 0;
    for (int r = 1; r < last; ++r) {
        bytes += listedNumber(gridTypes->cell(SizeColumn, r));
        files += listedNumber(gridTypes->cell(FilesColumn, r));
    }
    gridTypes->setCell(TypeColumn, last, "Totals");
    gridTypes->setCell(SizeColumn, last, floatToGrouped(bytes));
    gridTypes->setCell(FilesColumn, last, floatToGrouped(files));
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
    gridTypes->print(printer);
}

// A run blanks the listing before it counts anything; the headings stay.
void TypesPage::runStarting()
{
    for (int r = 1; r < gridTypes->rowCount(); ++r)
        gridTypes->setRowCells(r, {});
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
