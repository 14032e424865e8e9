#include "controls/Notebook.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// The lengths of the white runs met going from one point to another, pixel by pixel.
QList<int> whiteRuns(const QImage &image, QPoint at, const QPoint &step, int count)
{
    QList<int> runs;
    int run = 0;
    for (int n = 0; n < count; ++n, at += step) {
        if (image.pixelColor(at) == Qt::white)
            ++run;
        else if (run > 0)
            runs.append(std::exchange(run, 0));
    }
    return runs;
}

// The raised edges of the tabs and of the page come out as thick as each other, a whole number
// of the screen's pixels, also where a logical pixel is 1.5 pixels.
TEST(Notebook, EdgesAreOneThicknessAtEveryScale)
{
    for (const double scale : {1.0, 1.5, 2.0}) {
        TOvcNotebook notebook;
        notebook.resize(400, 200);
        for (const QString caption : {"A", "B", "C", "D"})
            notebook.addPage(caption, new QWidget);
        notebook.setPageIndex(1);
        QImage image(notebook.size() * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        notebook.render(&image);
        QList<int> runs;
        for (int tab = 0; tab < notebook.pageCount(); ++tab) {
            const QRect box = notebook.tabRect(tab);
            // Down through the tab's caption-free left part: its top edge and, behind the tab in
            // front, the page's.
            runs << whiteRuns(image, QPoint(int((box.left() + 4) * scale), 0), {0, 1},
                              int(40 * scale));
            runs << whiteRuns(image, QPoint(0, int((box.bottom() - 2) * scale)), {1, 0},
                              int(box.right() * scale));
        }
        const int pixels = int(std::max(1.0, std::floor(scale)));
        EXPECT_GE(runs.size(), 9) << scale;
        EXPECT_EQ(runs.count(pixels), runs.size()) << scale << " " << runs.size();
    }
}

} // namespace
