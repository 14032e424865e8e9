#include "charts/ChartPreviewer.h"

#include "charts/Chart.h"
#include "platform/PrintArea.h"

#include <QAction>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr double sharpness = 3; // picture pixels per chart pixel on paper

// The header's font, the listings' print font.
QFont headerFont()
{
    return QFont(QStringLiteral("MS Sans Serif"), 8);
}

// Draws the header line at the top of the area; answers the height it takes, with a line's room
// below it.
int drawHeader(QPainter &painter, const QRect &area, const ChartPrintHeader &header,
               QPrinter &printer)
{
    if (header.title.isEmpty() && !header.when.isValid())
        return 0;
    const QFontMetrics metrics(headerFont(), &printer);
    const QRect line(area.left(), area.top(), area.width(), metrics.height());
    const QLocale locale;
    painter.setFont(headerFont());
    painter.setPen(Qt::black);
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, header.title);
    if (header.when.isValid()) {
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         locale.toString(header.when.date(), QLocale::ShortFormat));
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                         locale.toString(header.when.time(), QLocale::ShortFormat));
    }
    return metrics.height() * 2;
}

} // namespace

void printChart(TChart &chart, QPrinter &printer, const ChartPrintHeader &header)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    QRect area = printArea(printer);
    area.setTop(area.top() + drawHeader(painter, area, header, printer));
    // The chart is laid out at its screen width and the area's shape, so texts and marks keep
    // their proportions, then drawn as a sharp picture across the area.
    const double width = chart.width() > 0 ? chart.width() : 640;
    const QSizeF logical(width, width * area.height() / std::max(1, area.width()));
    QImage picture((logical * sharpness).toSize(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(sharpness);
    picture.fill(Qt::white);
    {
        QPainter onPicture(&picture);
        chart.draw(onPicture, QRectF(QPointF(0, 0), logical));
    }
    painter.drawImage(QRectF(area), picture);
    painter.end();
}

TChartPreviewer::TChartPreviewer(QWidget *parent) : QObject(parent), owner(parent) {}

void TChartPreviewer::keysForPreview(QPrintPreviewDialog &dialog)
{
    // The tool bar's buttons take no focus of their own; here Tab stops at each of them. Buttons
    // that the bar has no room for are folded away where no key reaches them, so the preview is
    // made wide enough for all of them.
    for (QToolButton *button : dialog.findChildren<QToolButton *>())
        button->setFocusPolicy(Qt::StrongFocus);
    if (const QToolBar *bar = dialog.findChild<QToolBar *>())
        dialog.resize(std::max(dialog.width(), bar->sizeHint().width() + 24),
                      std::max(dialog.height(), 600));
    for (QAction *action : dialog.findChildren<QAction *>())
        if (action->text().remove(QLatin1Char('&')) == QLatin1String("Print"))
            action->setShortcut(QKeySequence::Print);
}

void TChartPreviewer::Execute()
{
    if (!Chart)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog dialog(&printer, owner);
    dialog.setWindowTitle("Print Preview");
    keysForPreview(dialog);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [this](QPrinter *target) { printChart(*Chart, *target, Header); });
    dialog.exec();
    Chart->update();
}
