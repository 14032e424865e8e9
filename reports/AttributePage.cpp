#include "reports/AttributePage.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "helpers/Helpers.h"
#include "model/ReportModel.h"
#include "reports/PageLook.h"

#include <QLabel>

namespace {

// The table: a heading line, then four rows that line up with the four bars of the small charts.
constexpr int headingTop = 42;
constexpr int chartTop = 60;
constexpr QSize chartSize(158, 105);
constexpr int firstRowTop = 77;
constexpr int rowStep = 19;
constexpr int rowLabelLeft = 16;
constexpr int countChartLeft = 96;
constexpr int countLeft = 262;
constexpr int countWidth = 45;
constexpr int sizeChartLeft = 316;
constexpr int sizeLeft = 484;
constexpr int sizeWidth = 97;
constexpr QRect notePlace(16, 180, 560, 40);

QLabel *boldLabel(const QString &text, const QPoint &at, QWidget *parent)
{
    return placedLabel(text, at, parent, notebookFont(true));
}

// The shares as bars in the order the charts stack them: the first added is drawn lowest, so
// Hidden, the top row of the table, comes last.
void addShares(THorizBarSeries &series, const std::array<double, 4> &hiddenToArchive, bool shown,
               const QColor &colour)
{
    series.Clear();
    if (!shown)
        return;
    for (int row = 3; row >= 0; --row)
        series.Add(hiddenToArchive[std::size_t(row)], QString(), colour);
}

} // namespace

AttributePage::AttributePage(const ReportContext &context, QWidget *parent)
    : ReportPage(context, parent)
{
    setFont(notebookFont());
    boldLabel(QStringLiteral("% of total # files"), {countChartLeft + 20, headingTop}, this);
    boldLabel(QStringLiteral("# Files"), {countLeft + 4, headingTop}, this);
    boldLabel(QStringLiteral("% of total size"), {sizeChartLeft + 24, headingTop}, this);
    boldLabel(QStringLiteral("File Sizes"), {sizeLeft + 44, headingTop}, this);

    const QStringList rows{QStringLiteral("Hidden"), QStringLiteral("Read-only"),
                           QStringLiteral("System"), QStringLiteral("Archive")};
    for (int row = 0; row < rows.size(); ++row)
        boldLabel(rows[row], {rowLabelLeft, firstRowTop + row * rowStep}, this);

    Chart2 = makeShareChart(QStringLiteral("Chart2"), countChartLeft, HorizBarSeries4);
    Chart3 = makeShareChart(QStringLiteral("Chart3"), sizeChartLeft, HorizBarSeries5);
    // A screen reader names each small chart by its heading and each bar by its row.
    Chart2->setAccessibleName(QStringLiteral("% of total # files"));
    Chart3->setAccessibleName(QStringLiteral("% of total size"));

    lblNHidden = makeFigure(QStringLiteral("lblNHidden"), countLeft, countWidth, 0);
    lblNReadOnly = makeFigure(QStringLiteral("lblNReadOnly"), countLeft, countWidth, 1);
    lblNSystem = makeFigure(QStringLiteral("lblNSystem"), countLeft, countWidth, 2);
    lblNArchive = makeFigure(QStringLiteral("lblNArchive"), countLeft, countWidth, 3);
    lblSzHidden = makeFigure(QStringLiteral("lblSzHidden"), sizeLeft, sizeWidth, 0);
    lblSzReadOnly = makeFigure(QStringLiteral("lblSzReadOnly"), sizeLeft, sizeWidth, 1);
    lblSzSystem = makeFigure(QStringLiteral("lblSzSystem"), sizeLeft, sizeWidth, 2);
    lblSzArchive = makeFigure(QStringLiteral("lblSzArchive"), sizeLeft, sizeWidth, 3);

    auto *note = new QLabel(QStringLiteral("Note it is possible that some files may have more "
                                           "than one attribute set.  For example many system "
                                           "files are also hidden."),
                            this);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note->setGeometry(notePlace);
}

TChart *AttributePage::makeShareChart(const QString &name, int left, THorizBarSeries *&series)
{
    TChart *chart = makeBareChart(this, name, QRect(QPoint(left, chartTop), chartSize));
    chart->Title().visible = false;
    chart->setChart3DPercent(25);
    chart->setMaxPointsPerPage(4);
    chart->margins.top = chart->margins.bottom = 0;
    chart->unlabelledPointNames = {QStringLiteral("Archive"), QStringLiteral("System"),
                                   QStringLiteral("Read-only"), QStringLiteral("Hidden")};
    series = chart->addSeries<THorizBarSeries>();
    series->setValueFormat(QStringLiteral("#,##0.## %"));
    series->marks().visible = true;
    series->marks().arrowLength = 20;
    return chart;
}

QLabel *AttributePage::makeFigure(const QString &name, int left, int width, int row)
{
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setGeometry(left, firstRowTop + row * rowStep, width, 14);
    return label;
}

void AttributePage::doFileAttrs()
{
    const AttributeFigures figures = attributeFigures(context.results);
    const std::array<QLabel *, 4> counts{lblNHidden, lblNReadOnly, lblNSystem, lblNArchive};
    const std::array<QLabel *, 4> sizes{lblSzHidden, lblSzReadOnly, lblSzSystem, lblSzArchive};
    for (std::size_t row = 0; row < 4; ++row) {
        counts[row]->setText(unsignedToGrouped(figures.files[row]));
        sizes[row]->setText(unsignedToGrouped(figures.bytes[row]));
    }
    // A file with several attributes counts under each, so the shares are of these sums and not
    // of all files.
    addShares(*HorizBarSeries4, figures.fileShare, figures.fileSharesShown, chartColour::red);
    addShares(*HorizBarSeries5, figures.byteShare, figures.byteSharesShown, chartColour::blue);
}
