#include "charts/ChartPreviewer.h"

#include "charts/Chart.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

constexpr double sharpness = 3; // picture pixels per chart pixel on paper

} // namespace

void printChart(TChart &chart, QPrinter &printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const QRectF page(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    // The chart is laid out at its screen width and the page's shape, so texts and marks keep
    // their proportions, then drawn as a sharp picture across the page.
    const double width = chart.width() > 0 ? chart.width() : 640;
    const QSizeF logical(width, width * page.height() / std::max(1.0, page.width()));
    QImage picture((logical * sharpness).toSize(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(sharpness);
    picture.fill(Qt::white);
    {
        QPainter onPicture(&picture);
        chart.draw(onPicture, QRectF(QPointF(0, 0), logical));
    }
    painter.drawImage(page, picture);
    painter.end();
}

TChartPreviewer::TChartPreviewer(QWidget *parent) : QObject(parent), owner(parent) {}

void TChartPreviewer::Execute()
{
    if (!Chart)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog dialog(&printer, owner);
    dialog.setWindowTitle("Print Preview");
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [this](QPrinter *target) { printChart(*Chart, *target); });
    dialog.exec();
    Chart->update();
}
