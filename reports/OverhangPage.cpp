#include "reports/OverhangPage.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "controls/DialogLook.h"
#include "drives/Drives.h"
#include "helpers/Helpers.h"
#include "model/ReportModel.h"
#include "platform/DriveSource.h"
#include "reports/PageLook.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The five rows of the table, one per cluster size from 4K to 64K.
constexpr std::array<int, 5> rowTops{55, 79, 103, 127, 151};
constexpr std::array<int, 5> clusterLabelLefts{284, 284, 278, 278, 278};
constexpr std::array<int, 5> wastedTops{54, 78, 102, 126, 150};
// Where the bars' chart goes before it is moved to meet the rows.
constexpr QRect chartPlace(308, 42, 217, 134);

// An arrow pointing right, at the cluster size of its row, drawn from its outline so that it is
// sharp at every scale of the screen and on paper; the rest of its place is clear so that the
// table shows through.
class ClusterArrow : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainterPath arrow;
        arrow.moveTo(2, 4);
        arrow.lineTo(26, 4);
        arrow.lineTo(26, 0);
        arrow.lineTo(39, 8);
        arrow.lineTo(26, 16);
        arrow.lineTo(26, 12);
        arrow.lineTo(2, 12);
        arrow.closeSubpath();
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0, 0, 0), 1));
        painter.setBrush(QColor(255, 0, 0));
        painter.drawPath(arrow.translated(0.5, 0.5));
    }
};

// The memo's lines as they are kept; the memo wraps them to its width.
const QStringList memoLines{
    QStringLiteral("This page is an illustration of the amount of disk space wasted due to "
                   "'cluster overhang.'  This is the smallest amount of space "),
    QStringLiteral("a file will actually use.   The arrow points to your actual cluster size, the "
                   "other numbers are hypothetical."),
    QString(),
    QStringLiteral("Due to the design of both Windows 95 and DOS the hard disk is divided into "
                   "clusters.  Files are stored in clusters. A file of "),
    QStringLiteral("one byte will take an entire cluster and a file that's one byte larger than a "
                   "cluster will take two clusters.  The larger the "),
    QStringLiteral("partition, the more overhang or waste is involved."),
    QString(),
    QStringLiteral("Solutions are to either repartition your hard disk or use disk compression.  "
                   "Later versions of Win95 come with FAT32 which "),
    QStringLiteral("uses 4K cluster sizes for drives up to 8GB in size and 8K clusters for up to "
                   "16GB."),
};

} // namespace

OverhangPage::OverhangPage(const ReportContext &context, QWidget *parent)
    : ReportPage(context, parent)
{
    setFont(notebookFont());
    makeTable();
    makeChart();
    makeSummary();
    makeMemo();

    pnlCluster = new QLabel(
        QStringLiteral("Cluster overhang analysis is not applicable to this drive."), this);
    pnlCluster->setObjectName(QStringLiteral("pnlCluster"));
    pnlCluster->setGeometry(-1, 1, 625, 358);
    pnlCluster->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlCluster->setAlignment(Qt::AlignCenter);
    pnlCluster->setFont(pixelFont(QStringLiteral("Arial"), 16, true));
    pnlCluster->setAutoFillBackground(true);
    pnlCluster->hide();
}

void OverhangPage::makeTable()
{
    auto *title = placedLabel(QStringLiteral("Cluster overhang for FAT and FAT32 drives"), {166, 3},
                              this, pixelFont(QStringLiteral("Times New Roman"), 16, true));
    title->setStyleSheet(QStringLiteral("color: #000080"));

    const QStringList headers{"FAT Partion size", "FAT 32 Size", "Cluster size", "Percent wasted",
                              "Wasted space"};
    const std::array<int, 5> headerLefts{11, 119, 231, 310, 544};
    for (int k = 0; k < 5; ++k)
        placedLabel(headers[k], {headerLefts[std::size_t(k)], 29}, this, notebookFont(true));

    const QStringList fatSizes{"255 MB", "256 MB - 511 MB", "512 MB - 1023 MB", "1 GB - 2 GB",
                               "2 GB - 4 GB"};
    const QStringList fat32Sizes{"Less than 8GB", "Less than 16GB", "Less than 32GB",
                                 "32GB or more"};
    const QStringList clusters{"4K", "8K", "16K", "32K", "64K"};
    for (int row = 0; row < 5; ++row) {
        const int top = rowTops[std::size_t(row)];
        placedLabel(fatSizes[row], {11, top}, this);
        if (row < fat32Sizes.size())
            placedLabel(fat32Sizes[row], {119, top}, this);
        QLabel *size = placedLabel(clusters[row], {clusterLabelLefts[std::size_t(row)], top}, this);
        size->setObjectName(QStringLiteral("lblCSize%1").arg(row + 1));
        lblCSize.append(size);
    }

    imArrow = new ClusterArrow(this);
    imArrow->setObjectName(QStringLiteral("imArrow"));
    imArrow->setGeometry(229, rowTops[0], 41, 49);
    imArrow->hide();

    for (int row = 0; row < 5; ++row) {
        auto *wasted = new QLabel(this);
        wasted->setObjectName(QStringLiteral("lblOver%1").arg(row + 1));
        wasted->setAlignment(Qt::AlignRight | Qt::AlignTop);
        wasted->setGeometry(536, wastedTops[std::size_t(row)], 85, 14);
        lblOver.append(wasted);
    }
}

void OverhangPage::makeChart()
{
    chartOverhang = makeBareChart(this, QStringLiteral("chartOverhang"), chartPlace);
    chartOverhang->backWall.visible = true;
    chartOverhang->backWall.colour = Qt::white;
    chartOverhang->backWall.transparent = true;
    chartOverhang->backWall.pen = false;
    chartOverhang->margins.left = 0;
    chartOverhang->margins.top = chartOverhang->margins.bottom = 0;
    chartOverhang->Title().visible = false;
    chartOverhang->setChart3DPercent(25);
    chartOverhang->setMaxPointsPerPage(5);
    // Named for a screen reader by its heading, its bars by the rows they stand beside.
    chartOverhang->setAccessibleName(QStringLiteral("Percent wasted"));
    chartOverhang->unlabelledPointNames = {QStringLiteral("64K"), QStringLiteral("32K"),
                                           QStringLiteral("16K"), QStringLiteral("8K"),
                                           QStringLiteral("4K")};

    Series9 = chartOverhang->addSeries<THorizBarSeries>();
    Series9->setColour(chartColour::red);
    Series9->setValueFormat(QStringLiteral("#,##0. %"));
    Series9->marks().visible = true;
    Series9->marks().transparent = true;
    Series9->marks().frame = false;
    // One slot per row and no room beyond the first and the last, so that slots and rows agree.
    Series9->setSideMargins(false);
    lineUpChartWithRows();
    // Moved up to its rows, the chart reaches under its column heading, which stays on top.
    chartOverhang->lower();
}

// The chart's front plane, where the bars stand, must span the five rows exactly: from half a row
// above the middle of the 4K row to half a row below the middle of the 64K row. How far the 3-D
// depth pushes the plane down depends on the chart's size, so the chart is laid out, measured and
// moved until the plane meets the rows.
void OverhangPage::lineUpChartWithRows()
{
    auto middle = [](const QLabel *label) { return label->y() + label->height() / 2.0; };
    const double halfRow = (rowTops[1] - rowTops[0]) / 2.0;
    const double top = middle(lblCSize.first()) - halfRow;
    const double bottom = middle(lblCSize.last()) + halfRow;
    QRect place = chartPlace;
    for (int pass = 0; pass < 3; ++pass) {
        chartOverhang->setGeometry(place);
        chartOverhang->toImage(); // lays the chart out
        const QRectF plane = chartOverhang->plotRect().translated(place.topLeft());
        const int down = int(std::lround(top - plane.top()));
        const int longer = int(std::lround(bottom - plane.bottom())) - down;
        if (down == 0 && longer == 0)
            break;
        place.adjust(0, down, 0, down + longer);
    }
}

void OverhangPage::makeSummary()
{
    pnlOverhang = new QFrame(this);
    pnlOverhang->setObjectName(QStringLiteral("pnlOverhang"));
    pnlOverhang->setGeometry(8, 189, 609, 27);
    pnlOverhang->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlOverhang->hide();
    lblNumFiles = placedLabel(QString(), {7, 7}, pnlOverhang);
    lblNumFiles->setObjectName(QStringLiteral("lblNumFiles"));
    lblTotal = placedLabel(QStringLiteral("Total file sizes:"), {215, 7}, pnlOverhang);
    lblSize = placedLabel(QString(), {303, 7}, pnlOverhang);
    lblSize->setObjectName(QStringLiteral("lblSize"));
    lblLbl = placedLabel(QStringLiteral("Actual space used:"), {423, 7}, pnlOverhang);
    lblLbl->setObjectName(QStringLiteral("lblLbl"));
}

void OverhangPage::makeMemo()
{
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(7, 221, 611, 126);
    Memo1->setPlainText(memoLines.join(u'\n'));
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->document()->setDocumentMargin(0);
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Base, buttonFace());
    Memo1->setPalette(palette);
}

void OverhangPage::computeClusterSize(const QString &entry)
{
    clusterSize = 0;
    if (entry.isEmpty() || !isDriveReady(entry[0]))
        return;
    double freeBytes = 0, total = 0;
    getDriveSpace(entry.left(1) + QStringLiteral(":\\"), freeBytes, total);
    const std::uint64_t capacity = total > 0 ? std::uint64_t(total) : 0;
    // A volume that cannot say its cluster size gives 0, which covers the page.
    const std::uint64_t own =
        usesVolumeCluster(capacity) ? platform::driveSource().clusterSize(entry[0]) : 0;
    clusterSize = clusterSizeFor(capacity, own);
}

void OverhangPage::useSavedDrive(const DriveFacts &drive)
{
    clusterSize = drive.walked ? clusterSizeOf(drive) : 0;
}

void OverhangPage::drawClusterArrow()
{
    imArrow->hide();
    const int row = clusterRowOf(clusterSize);
    if (row >= 0) {
        imArrow->move(imArrow->x(), lblCSize[row]->y());
        imArrow->show();
        // The arrow says to a screen reader what it shows.
        imArrow->setAccessibleName(QStringLiteral("Actual cluster size ") + lblCSize[row]->text());
    }
    pnlCluster->setVisible(imArrow->isHidden());
}

void OverhangPage::refill()
{
    if (context.oneDriveRun())
        doOverHang();
}

void OverhangPage::doOverHang()
{
    const OverhangFigures figures = overhangFigures(context.results, clusterSize);
    if (!figures.filled) {
        emit nothingToShow();
        return;
    }
    for (int row = 0; row < 5; ++row)
        lblOver[row]->setText(unsignedToGrouped(figures.wasted[std::size_t(row)]));
    drawClusterArrow();
    pnlOverhang->show();
    fillSummary(figures);

    // Drawn from the bottom up, so 64K goes first and 4K ends up in the top row.
    Series9->Clear();
    for (int row = 4; row >= 0; --row)
        Series9->Add(figures.percentWasted[std::size_t(row)], QString(), chartColour::red);
    fitBars(figures);
}

// The figures read in kilobytes or megabytes, as the files' total chooses, each text at its
// place or, when the one before has grown into it, just after that one. Only where the largest
// totals a walk can count would still run past the panel do both sizes move up to a larger unit
// together, so that they keep reading alike.
void OverhangPage::fillSummary(const OverhangFigures &figures)
{
    const double total = double(figures.totalBytes);
    const auto place = [](QLabel *label, int left, const QLabel *before) {
        constexpr int gap = 8;
        label->adjustSize();
        label->move(std::max(left, before ? before->geometry().right() + 1 + gap : left),
                    label->y());
    };
    lblNumFiles->setText(QStringLiteral("Number of files scanned: ") +
                         unsignedToGrouped(figures.filesFound));
    const int room = pnlOverhang->contentsRect().right();
    for (std::size_t unit = total < 1048576 ? 0 : 1; unit < byteUnitCount; ++unit) {
        lblSize->setText(bytesInUnit(total, unit));
        // Only the drive's own cluster size, the one the arrow points at, tells the space used.
        if (figures.clusterRow >= 0)
            lblLbl->setText(actualSpaceUsedText(figures, unit));
        place(lblNumFiles, 7, nullptr);
        place(lblTotal, 215, lblNumFiles);
        lblSize->adjustSize();
        lblSize->move(lblTotal->x() + 303 - 215, lblSize->y()); // beside its caption
        place(lblLbl, 423, lblSize);
        if (lblLbl->geometry().right() <= room)
            break;
    }
}

// Bars as long as their shares: where every share is below a whole percent, and so reads "0 %"
// or "1 %", the bars are drawn against a whole percent rather than stretched to the largest.
void OverhangPage::fitBars(const OverhangFigures &figures)
{
    const double largest =
        *std::max_element(figures.percentWasted.begin(), figures.percentWasted.end());
    TChartAxis &values = chartOverhang->BottomAxis();
    if (largest < 1)
        values.setMinMax(0, 1);
    else
        values.Automatic = true;
    chartOverhang->update();
}
