#include "reports/PageExport.h"

#include "charts/Chart.h"
#include "platform/FileWriter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QSvgGenerator>

std::vector<TChart *> chartsInView(const QWidget &holder)
{
    std::vector<TChart *> charts;
    for (TChart *chart : holder.findChildren<TChart *>())
        if (chart->isVisibleTo(&holder) && !chart->size().isEmpty())
            charts.push_back(chart);
    return charts;
}

QRect chartsArea(const QWidget &holder, const std::vector<TChart *> &charts)
{
    QRect area;
    for (const TChart *chart : charts)
        area |= QRect(chart->mapTo(&holder, QPoint(0, 0)), chart->size());
    return area;
}

void paintCharts(QPainter &painter, const QWidget &holder, const std::vector<TChart *> &charts)
{
    const QPoint origin = chartsArea(holder, charts).topLeft();
    for (TChart *chart : charts) {
        painter.save();
        painter.translate(chart->mapTo(&holder, QPoint(0, 0)) - origin);
        painter.setClipRect(QRect(QPoint(0, 0), chart->size()));
        chart->draw(painter, QRectF(QPointF(0, 0), chart->size()));
        painter.restore();
    }
}

bool writeChartsPng(QIODevice &device, const QWidget &holder, const std::vector<TChart *> &charts)
{
    constexpr int scale = 2;
    const QSize size = chartsArea(holder, charts).size();
    if (size.isEmpty())
        return false;
    QImage picture(size * scale, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        paintCharts(painter, holder, charts);
    }
    return picture.save(&device, "PNG");
}

bool writeChartsSvg(QIODevice &device, const QWidget &holder, const std::vector<TChart *> &charts,
                    const QString &title)
{
    const QSize size = chartsArea(holder, charts).size();
    if (size.isEmpty())
        return false;
    // Made in memory: the drawing may close the device it is given when it ends.
    QBuffer made;
    made.open(QIODevice::WriteOnly);
    QSvgGenerator drawing;
    drawing.setOutputDevice(&made);
    drawing.setSize(size);
    drawing.setViewBox(QRect(QPoint(0, 0), size));
    // The charts' fonts are sized in points for the screen; at its resolution they keep their
    // size against the rest of the chart.
    drawing.setResolution(QPicture().logicalDpiY());
    drawing.setTitle(title);
    QPainter painter;
    if (!painter.begin(&drawing))
        return false;
    paintCharts(painter, holder, charts);
    return painter.end() && device.write(made.data()) == made.data().size();
}

std::optional<QString> saveFile(const QString &path,
                                const std::function<bool(QIODevice &device)> &write)
{
    return platform::writeFile(path, write);
}
