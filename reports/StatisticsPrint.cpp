// "&Print page": the page in view decides what is printed.

#include "charts/Chart.h"
#include "charts/ChartPreviewer.h"
#include "controls/DialogLook.h"
#include "controls/Notebook.h"
#include "platform/PrintArea.h"
#include "reports/ReportPage.h"
#include "reports/Statistics.h"

#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

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
        TChartPreviewer ChartPreviewer1(this);
        ChartPreviewer1.Chart = target.chart;
        ChartPreviewer1.Header = chartPrintHeader();
        if (runChartPreview)
            runChartPreview(ChartPreviewer1);
        else
            ChartPreviewer1.Execute();
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

// "Sizes for drives c: [/], d: [/home]", with the date and the time the run began.
ChartPrintHeader TfrmStatistics::chartPrintHeader() const
{
    ChartPrintHeader header;
    header.title = OvcNotebook1->pageCaption(OvcNotebook1->PageIndex());
    const QStringList &drives = engine.PickList1;
    if (!drives.isEmpty())
        header.title +=
            (drives.size() == 1 ? QStringLiteral(" for drive ") : QStringLiteral(" for drives ")) +
            drives.join(QStringLiteral(", "));
    header.when = collectedAt;
    return header;
}

// One page with the window's client area as it shows on screen, on white. The window paints
// itself into a recording, which is played onto the printer's page, so that its texts and lines
// stay texts and lines on paper (widgets painted straight onto a printer come out as one picture).
// The printer counts in the recording's pixels, so that fonts keep their sizes against the rest.
// The window keeps its on-screen size where the print area holds it and shrinks to fit elsewhere.
void TfrmStatistics::windowPrint(QPrinter &printer)
{
    changeBackgroundColor(Qt::white);
    QPicture recorded;
    render(&recorded, QPoint(), QRegion(), QWidget::DrawChildren | QWidget::DrawWindowBackground);
    changeBackgroundColor(buttonFace());
    printer.setResolution(recorded.logicalDpiY());
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const QRect area = printArea(printer);
    const double scale =
        std::min({1.0, area.width() / double(width()), area.height() / double(height())});
    painter.translate(area.topLeft());
    painter.scale(scale, scale);
    painter.drawPicture(0, 0, recorded);
}
