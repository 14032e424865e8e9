#include "platform/PrintArea.h"

#include <QPageLayout>
#include <QPrinter>
#include <cmath>

QRect printArea(const QPrinter &printer)
{
    const int dpi = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    // Everything in printer pixels from the paper's top left corner.
    const QRect paper = layout.fullRectPixels(dpi);
    QPageLayout unprintable = layout;
    unprintable.setMode(QPageLayout::FullPageMode);
    unprintable.setMargins(layout.minimumMargins());
    const QRect printable = paper.marginsRemoved(unprintable.marginsPixels(dpi));
    const int least = int(std::ceil(leastPrintMarginMm / 25.4 * dpi));
    const QRect clear = paper.adjusted(least, least, -least, -least);
    const QRect page = printer.fullPage() ? paper : layout.paintRectPixels(dpi);
    // A painter on the printer has its origin at the top left of the page it paints.
    return page.intersected(printable).intersected(clear).translated(-page.topLeft());
}
