#pragma once

#include <QRect>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QIODevice;
class QPainter;
class QWidget;
class TChart;

// What leaves the window when a page is exported: its charts as they are drawn, as a picture or
// a drawing, and any file written so that it is either whole or not there at all.

// The charts a page (or a part of it) shows now, in the order of its children.
std::vector<TChart *> chartsInView(const QWidget &holder);
// The part of the holder the charts take together.
QRect chartsArea(const QWidget &holder, const std::vector<TChart *> &charts);
// Paints the charts where the holder shows them, the top left of their area at the origin.
void paintCharts(QPainter &painter, const QWidget &holder, const std::vector<TChart *> &charts);

// The charts as a PNG picture of twice their size on white.
bool writeChartsPng(QIODevice &device, const QWidget &holder, const std::vector<TChart *> &charts);
// The charts as an SVG drawing of their size, its texts as texts.
bool writeChartsSvg(QIODevice &device, const QWidget &holder, const std::vector<TChart *> &charts,
                    const QString &title);

// Writes a file whole or not at all: into a temporary file beside it, which takes its name only
// once everything is written. A device or a pipe is written straight. Answers why it failed, or
// nothing when it succeeded.
std::optional<QString> saveFile(const QString &path,
                                const std::function<bool(QIODevice &device)> &write);
