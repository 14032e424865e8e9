// "&Print page": the page in view decides what is printed.

#include "charts/Chart.h"
#include "charts/ChartPreviewer.h"
#include "controls/DialogLook.h"
#include "controls/Notebook.h"
#include "reports/ReportPage.h"
#include "reports/Statistics.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

bool askPrinter(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

void TfrmStatistics::btPrintClick()
{
    const PrintTarget target = pages[std::size_t(OvcNotebook1->PageIndex())]->printTarget();
    if (target.chart) {
        if (runChartPreview) {
            runChartPreview(*target.chart);
        } else {
            TChartPreviewer ChartPreviewer1(this);
            ChartPreviewer1.Chart = target.chart;
            ChartPreviewer1.Execute();
        }
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    const bool confirmed = runPrintDialog ? runPrintDialog(printer) : askPrinter(printer, this);
    if (!confirmed)
        return;
    if (target.printGrid)
        target.printGrid(printer);
    else
        windowPrint(printer);
}

// One page with the window's client area as it shows on screen, at its on-screen size, on white.
void TfrmStatistics::windowPrint(QPrinter &printer)
{
    changeBackgroundColor(Qt::white);
    const QImage image = grab().toImage();
    changeBackgroundColor(buttonFace());
    QPainter painter(&printer);
    const double scale = double(printer.resolution()) / logicalDpiX();
    const QSizeF size = QSizeF(image.size()) / image.devicePixelRatio() * scale;
    painter.drawImage(QRectF(QPointF(0, 0), size), image);
}
