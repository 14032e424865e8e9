#include "charts/PieSeries.h"

bool TPieSeries::setRotationAngle(int degrees)
{
    if (degrees < 0)
        return false;
    rotation = degrees % 360;
    changed();
    return true;
}

void TPieSeries::rotate(int degrees)
{
    setRotationAngle((rotation + qBound(0, degrees, 360)) % 360);
}

void TPieSeries::setExplodeBiggest(int percent)
{
    assign(explode, qBound(0, percent, 100));
}

void TPieSeries::setOtherSliceLimit(double percent)
{
    assign(otherLimit, qMax(0.0, percent));
}

void TPieSeries::setOtherSlice(const QString &text)
{
    assign(otherText, text);
}

QList<PieSlice> TPieSeries::slices() const
{
    QList<PieSlice> out;
    double sum = 0;
    for (int i = 0; i < count(); ++i)
        sum += qMax(0.0, value(i));
    if (sum <= 0)
        return out;

    PieSlice other{0, otherText, otherColour, -1, 0, 0, false};
    int merged = 0;
    for (int i = 0; i < count(); ++i) {
        const double v = qMax(0.0, value(i));
        if (v <= 0)
            continue;
        if (v * 100.0 / sum < otherLimit) {
            other.value += v;
            ++merged;
            continue;
        }
        out.append(PieSlice{v, shownLabel(i), pointColour(i), i, 0, 0, false});
    }
    if (merged > 0)
        out.append(other);

    double angle = rotation;
    int biggest = -1;
    for (int i = 0; i < out.size(); ++i) {
        out[i].startAngle = angle;
        out[i].sweep = out[i].value * 360.0 / sum;
        angle += out[i].sweep;
        if (biggest < 0 || out[i].value > out[biggest].value)
            biggest = i;
    }
    if (explode > 0 && biggest >= 0)
        out[biggest].exploded = true;
    return out;
}
