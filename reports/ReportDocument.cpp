#include "reports/ReportDocument.h"

#include "helpers/Helpers.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <functional>
#include <memory>

namespace {

// Well inside what any printer can reach.
constexpr double marginMm = 15;
constexpr double largestChartScale = 1.25;
const QColor headingFill(224, 224, 224);
const QColor ruleColour(160, 160, 160);

QFont documentFont(double points, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

using Drawing = std::function<void(QPainter &)>;

// A table as it is laid out: its cells as texts, the widths of its columns, and which columns
// hold figures (set right, as the listings set them).
struct TableLook
{
    QStringList headings;
    std::vector<QStringList> rows;
    std::size_t firstFooter = 0; // rows from here on are totals
    std::vector<double> widths;
    std::vector<bool> figures;
    double rowHeight = 0;
    double padding = 0;

    void paintRow(QPainter &painter, double top, const QStringList &cells, bool bold) const
    {
        painter.setFont(documentFont(8, bold));
        const QFontMetricsF metrics(painter.font(), painter.device());
        double left = 0;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const QRectF cell(left + padding, top, widths[c] - 2 * padding, rowHeight);
            const QString text =
                metrics.elidedText(cells.value(int(c)), Qt::ElideRight, cell.width());
            painter.drawText(cell, (figures[c] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                             text);
            left += widths[c];
        }
    }

    double width() const
    {
        double sum = 0;
        for (const double w : widths)
            sum += w;
        return sum;
    }

    // The heading row and rows [from, to), from top down.
    void paint(QPainter &painter, double top, std::size_t from, std::size_t to) const
    {
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(headingFill);
        painter.drawRect(QRectF(0, top, width(), rowHeight));
        painter.setPen(Qt::black);
        paintRow(painter, top, headings, true);
        double y = top + rowHeight;
        for (std::size_t r = from; r < to; ++r) {
            const bool footer = r >= firstFooter;
            painter.setPen(QPen(footer ? QColor(Qt::black) : ruleColour, 0));
            painter.drawLine(QPointF(0, y), QPointF(width(), y));
            painter.setPen(Qt::black);
            paintRow(painter, y, rows[r], footer);
            y += rowHeight;
        }
        painter.setPen(QPen(ruleColour, 0));
        painter.drawLine(QPointF(0, y), QPointF(width(), y));
        painter.restore();
    }
};

// Lays the document out page by page before anything is painted, so that each page can tell how
// many there are. Positions are in the device's units, from the top left of a page's body (the
// part below its header, inside the margins).
class Layout
{
public:
    explicit Layout(const QPaintDevice &device)
        : device(device), mm(device.logicalDpiY() / 25.4), width(device.width())
    {
        headerHeight = lineHeight(documentFont(9)) * 2;
        height = device.height() - headerHeight;
    }

    std::vector<std::vector<Drawing>> pages;
    const QPaintDevice &device;
    const double mm; // device units per millimetre
    const double width;
    double headerHeight = 0;
    double height = 0;

    void newPage()
    {
        pages.emplace_back();
        y = 0;
    }

    // Goes on to the next page unless the height fits on this one or the page is still empty.
    void keep(double needed)
    {
        if (y > 0 && y + needed > height)
            newPage();
    }

    void space(double millimetres) { y += millimetres * mm; }

    double lineHeight(const QFont &font) const { return QFontMetricsF(font, &device).height(); }

    // A paragraph that wraps at the width of the page; answers where it starts.
    double text(const QString &text, const QFont &font, double indent = 0)
    {
        const QRectF box(indent, 0, width - indent, 1e6);
        const double h = QFontMetricsF(font, &device)
                             .boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft, text)
                             .height();
        keep(h);
        const QRectF place(indent, y, width - indent, h);
        add([place, font, text](QPainter &painter) {
            painter.setFont(font);
            painter.drawText(place, Qt::TextWordWrap | Qt::AlignLeft, text);
        });
        y += h;
        return place.top();
    }

    // Lines of a label and its value, the values lined up.
    void facts(const std::vector<std::pair<QString, QString>> &lines)
    {
        const QFont bold = documentFont(9, true);
        double labelWidth = 0;
        for (const auto &[label, value] : lines)
            labelWidth =
                std::max(labelWidth, QFontMetricsF(bold, &device).horizontalAdvance(label));
        labelWidth += 4 * mm;
        for (const auto &[label, value] : lines) {
            const double at = text(value, documentFont(9), labelWidth);
            add([at, bold, label](QPainter &painter) {
                painter.setFont(bold);
                painter.drawText(QPointF(0, at + QFontMetricsF(bold, painter.device()).ascent()),
                                 label);
            });
            y += 0.8 * mm;
        }
    }

    // A page's title with its table; the title and the headings start every page the table
    // continues on.
    void table(const QString &title, const ReportTable &table)
    {
        auto look = std::make_shared<TableLook>(measure(table));
        const QFont titleFont = documentFont(12, true);
        const double titleHeight = lineHeight(titleFont) + 2 * mm;
        keep(titleHeight + look->rowHeight * 3);
        heading(title, titleFont, titleHeight);
        std::size_t from = 0;
        while (true) {
            const double top = y;
            const auto fitting = std::size_t(std::max(0.0, (height - y) / look->rowHeight - 1));
            const std::size_t to =
                std::min(look->rows.size(), from + std::max<std::size_t>(1, fitting));
            add([look, top, from, to](QPainter &painter) { look->paint(painter, top, from, to); });
            y += look->rowHeight * double(to - from + 1);
            from = to;
            if (from >= look->rows.size())
                break;
            newPage();
            heading(title + QStringLiteral(" (continued)"), titleFont, titleHeight);
        }
        space(2);
        for (const QString &note : table.notes)
            text(note, documentFont(9));
    }

    void heading(const QString &title, const QFont &font, double h)
    {
        const double top = y;
        add([top, font, title](QPainter &painter) {
            painter.setFont(font);
            painter.drawText(QPointF(0, top + QFontMetricsF(font, painter.device()).ascent()),
                             title);
        });
        y += h;
    }

    // A chart across the page's width (a small one a quarter larger than on screen), at most as
    // high as half the page, under its caption.
    void chart(const ReportChart &chart)
    {
        if (chart.size.isEmpty())
            return;
        const QFont captionFont = documentFont(9, true);
        const double captionHeight = lineHeight(captionFont) + 1 * mm;
        // Small charts grow a little, not to the page's width: their marks would turn huge.
        const double scale = std::min(
            {width / chart.size.width(), height * 0.45 / chart.size.height(), largestChartScale});
        const QSizeF drawn = chart.size * scale;
        space(3);
        keep(captionHeight + drawn.height());
        heading(chart.caption, captionFont, captionHeight);
        const QPointF at((width - drawn.width()) / 2, y);
        const QPicture *picture = &chart.picture;
        const QRectF clip(QPointF(0, 0), chart.size);
        add([at, scale, picture, clip](QPainter &painter) {
            painter.save();
            painter.translate(at);
            painter.scale(scale, scale);
            painter.setClipRect(clip);
            painter.drawPicture(0, 0, *picture);
            painter.restore();
        });
        y += drawn.height();
    }

    void add(Drawing drawing) { pages.back().push_back(std::move(drawing)); }

private:
    TableLook measure(const ReportTable &table) const
    {
        TableLook look;
        const QFontMetricsF plain(documentFont(8), &device);
        const QFontMetricsF bold(documentFont(8, true), &device);
        const std::size_t columns = std::size_t(table.headings.size());
        look.headings = table.headings;
        look.widths.assign(columns, 0);
        look.figures.assign(columns, false);
        look.firstFooter = table.rows.size() - std::size_t(table.footerRows);
        look.padding = 1.2 * mm;
        for (std::size_t c = 0; c < columns; ++c)
            look.widths[c] = bold.horizontalAdvance(table.headings[int(c)]);
        look.rows.reserve(table.rows.size());
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            const QFontMetricsF &metrics = r >= look.firstFooter ? bold : plain;
            QStringList cells;
            for (std::size_t c = 0; c < columns && c < table.rows[r].size(); ++c) {
                const ReportCell &cell = table.rows[r][c];
                cells << cell.shown();
                look.widths[c] = std::max(look.widths[c], metrics.horizontalAdvance(cells.last()));
                look.figures[c] = look.figures[c] || cell.kind != ReportCell::Kind::Text;
            }
            look.rows.push_back(std::move(cells));
        }
        double sum = 0;
        for (double &w : look.widths) {
            w += 2 * look.padding + 1;
            sum += w;
        }
        // A table wider than the page gives up width in proportion; its longest texts are cut.
        if (sum > width)
            for (double &w : look.widths)
                w *= width / sum;
        look.rowHeight = plain.height() + 1.4 * mm;
        return look;
    }

    double y = 0;
};

QString moment(const QDateTime &when)
{
    if (!when.isValid())
        return QStringLiteral("not known");
    return QLocale().toString(when, QLocale::LongFormat);
}

void layCover(Layout &layout, const ReportCover &cover)
{
    const RunFacts &facts = cover.facts;
    layout.text(cover.title, documentFont(20, true));
    layout.space(6);
    std::vector<std::pair<QString, QString>> lines{
        {QStringLiteral("Computer"), facts.hostName},
        {QStringLiteral("Started"), moment(facts.started)},
        {QStringLiteral("Ended"), moment(facts.ended)},
        {QStringLiteral("Time zone"), facts.timeZone},
        {QStringLiteral("Drives"), drivesText(facts)},
        {QStringLiteral("File types"), cover.filter},
        {QStringLiteral("Files counted"),
         unsignedToGrouped(cover.filesFound) + QStringLiteral(" of ") +
             unsignedToGrouped(cover.filesProcessed) + QStringLiteral(" files met")},
        {QStringLiteral("Run"),
         facts.complete ? QStringLiteral("Complete")
                        : QStringLiteral("Stopped before its end: the figures are those of the "
                                         "files counted until then")},
        {QStringLiteral("Program"), QStringLiteral("Korvel 98 ") + facts.programVersion}};
    layout.facts(lines);
    layout.space(6);

    ReportTable drives;
    drives.headings = {"Drive", "Mount point", "File system", "Capacity",
                       "Used",  "Free",        "Cluster size"};
    for (const DriveFacts &drive : facts.drives)
        drives.rows.push_back(
            {ReportCell::ofText(QString(drive.letter.toUpper()) + u':'),
             ReportCell::ofText(drive.mountPoint), ReportCell::ofText(drive.fileSystem),
             ReportCell::ofInteger(drive.capacity), ReportCell::ofInteger(drive.usedBytes()),
             ReportCell::ofInteger(drive.freeBytes), ReportCell::ofInteger(drive.clusterSize)});
    drives.notes << QStringLiteral("Capacity, used and free space in bytes, as they were when the "
                                   "drive was counted.");
    layout.table(QStringLiteral("Drives"), drives);
}

void paintHeader(QPainter &painter, const Layout &layout, const QString &title, int number,
                 int count)
{
    const QFont bold = documentFont(9, true);
    const double line = QFontMetricsF(bold, painter.device()).height();
    const QRectF place(0, 0, layout.width, line);
    painter.setPen(Qt::black);
    painter.setFont(bold);
    painter.drawText(place, Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.setFont(documentFont(9));
    painter.drawText(place, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Page %1 of %2").arg(number).arg(count));
    painter.setPen(QPen(ruleColour, 0));
    painter.drawLine(QPointF(0, line + 0.25 * layout.mm),
                     QPointF(layout.width, line + 0.25 * layout.mm));
}

} // namespace

bool writeReportDocument(QIODevice &device, const ReportCover &cover,
                         const std::vector<ReportSection> &sections)
{
    // Made in memory: the writer may close the device it is given when it ends.
    QBuffer made;
    made.open(QIODevice::WriteOnly);
    QPdfWriter writer(&made);
    writer.setTitle(cover.title);
    writer.setCreator(QStringLiteral("Korvel 98"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(marginMm, marginMm, marginMm, marginMm),
                          QPageLayout::Millimeter);
    // The charts' fonts are sized for the screen: at the screen's resolution they keep their
    // size against the rest of a chart, and everything stays text and lines.
    writer.setResolution(QPicture().logicalDpiY());

    Layout layout(writer);
    layout.newPage();
    layCover(layout, cover);
    for (const ReportSection &section : sections) {
        layout.newPage();
        layout.table(section.table.title, section.table);
        for (const ReportChart &chart : section.charts)
            layout.chart(chart);
    }

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const int count = int(layout.pages.size());
    for (int number = 1; number <= count; ++number) {
        if (number > 1)
            writer.newPage();
        paintHeader(painter, layout, cover.title, number, count);
        painter.save();
        painter.translate(0, layout.headerHeight);
        for (const Drawing &drawing : layout.pages[std::size_t(number - 1)]) {
            painter.setPen(Qt::black);
            drawing(painter);
        }
        painter.restore();
    }
    return painter.end() && device.write(made.data()) == made.data().size();
}
