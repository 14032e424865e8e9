#include "controls/GradientBack.h"

#include <QEvent>
#include <QPainter>
#include <cmath>

namespace {

// Rows per colour, kept in single precision like the rest of the band arithmetic so that the
// rounding lands on the same rows for every height.
float bandStep(int height)
{
    return static_cast<float>(height) / 255.0f;
}

// Round to nearest with halves to even: the default rounding mode of the FPU.
int roundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

TGradientBack::TGradientBack(QWidget *parent) : QWidget(parent)
{
    for (int i = 0; i < colourCount; ++i) {
        allBlueColours[i] = QColor(0, 0, 255 - i);
        blueToRedColours[i] = QColor(i, 0, 255 - i);
    }
    // Underneath everything: clicks go to whatever sits on top, or to the window itself.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (parent) {
        parent->installEventFilter(this);
        fillParent();
        lower();
    }
}

int TGradientBack::bandHeight(int height)
{
    return roundEven(static_cast<double>(bandStep(height)) + 1.0);
}

int TGradientBack::bandTop(int height, int band)
{
    // Bands 0 and 1 both start at the top; band i then starts where band i - 1 would have
    // started without the overlap.
    if (band <= 1)
        return 0;
    return roundEven(static_cast<double>(band - 1) * static_cast<double>(bandStep(height)));
}

void TGradientBack::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const ColourTable &colours = allBlue ? allBlueColours : blueToRedColours;
    const int h = height();
    const int band = bandHeight(h);
    for (int i = 0; i < colourCount; ++i)
        painter.fillRect(QRect(0, bandTop(h, i), width(), band), colours[i]);
}

bool TGradientBack::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        fillParent();
    return QWidget::eventFilter(watched, event);
}

void TGradientBack::fillParent()
{
    if (QWidget *owner = parentWidget())
        setGeometry(owner->rect());
}
