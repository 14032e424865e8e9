#include "charts/ValueFormat.h"

#include "helpers/Helpers.h"

#include <cmath>

namespace {

bool isPlaceholder(QChar c)
{
    return c == '#' || c == '0' || c == ',' || c == '.';
}

// The parts of a number picture.
struct Picture
{
    QString prefix;
    QString suffix;
    int minWholeDigits = 0;
    bool grouped = false;
    int minDecimals = 0;
    int maxDecimals = 0;
};

Picture parsePicture(const QString &text)
{
    Picture picture;
    int start = 0;
    while (start < text.size() && !isPlaceholder(text[start]))
        ++start;
    int end = start;
    while (end < text.size() && isPlaceholder(text[end]))
        ++end;
    picture.prefix = text.left(start);
    picture.suffix = text.mid(end);
    bool decimals = false;
    for (int i = start; i < end; ++i) {
        const QChar c = text[i];
        if (c == '.') {
            decimals = true;
        } else if (!decimals) {
            if (c == ',')
                picture.grouped = true;
            else if (c == '0')
                ++picture.minWholeDigits;
        } else if (c == '0') {
            ++picture.minDecimals;
            ++picture.maxDecimals;
        } else if (c == '#') {
            ++picture.maxDecimals;
        }
    }
    return picture;
}

// The digits of a magnitude times 10^decimals, rounded half away from zero. A value with a
// fraction is taken by its shortest decimal spelling, so that 0.125 or 45.25, whose binary
// fractions lie a hair below the half, round as written; a whole value keeps every digit it has,
// however large.
QString roundedDigits(double magnitude, int decimals)
{
    if (std::floor(magnitude) == magnitude)
        return QString::number(magnitude, 'f', 0) + QString(decimals, u'0');
    const QString spelt = QString::number(magnitude, 'e', QLocale::FloatingPointShortest);
    const qsizetype e = spelt.indexOf(u'e');
    QString digits = spelt.left(e);
    digits.remove(u'.');
    // Digits before the point of the scaled value.
    const qsizetype point = spelt.mid(e + 1).toInt() + 1 + decimals;
    if (point <= 0)
        return point == 0 && digits[0] >= u'5' ? QStringLiteral("1") : QStringLiteral("0");
    while (digits.size() < point)
        digits += u'0';
    QString whole = digits.left(point);
    if (digits.size() > point && digits[point] >= u'5') {
        qsizetype i = whole.size() - 1;
        for (; i >= 0 && whole[i] == u'9'; --i)
            whole[i] = u'0';
        if (i < 0)
            whole.prepend(u'1');
        else
            whole[i] = QChar(whole[i].unicode() + 1);
    }
    return whole;
}

} // namespace

QString formatValue(double value, const QString &pictureText, const QLocale &locale)
{
    const Picture picture = parsePicture(pictureText);
    if (!std::isfinite(value))
        return picture.prefix + locale.toString(value) + picture.suffix;

    QString digits = roundedDigits(std::fabs(value), picture.maxDecimals);
    const bool negative = value < 0 && digits.count(u'0') != digits.size();
    while (digits.size() <= picture.maxDecimals)
        digits.prepend('0');
    QString whole = digits.left(digits.size() - picture.maxDecimals);
    QString fraction = digits.right(picture.maxDecimals);
    while (fraction.size() > picture.minDecimals && fraction.endsWith('0'))
        fraction.chop(1);

    // Leading zeros beyond the ones the picture asks for go.
    while (whole.size() > picture.minWholeDigits && whole.startsWith('0'))
        whole.remove(0, 1);
    while (whole.size() < picture.minWholeDigits)
        whole.prepend('0');
    if (picture.grouped)
        whole = groupDigits(whole, locale.groupSeparator());

    QString number = whole;
    if (!fraction.isEmpty())
        number += locale.decimalPoint() + fraction;
    if (number.isEmpty())
        number = "0";
    return picture.prefix + (negative ? "-" : "") + number + picture.suffix;
}

QString formatTimeOfDay(double days, const QString &picture)
{
    double fraction = days - std::floor(days);
    int seconds = static_cast<int>(std::lround(fraction * 86400.0)) % 86400;
    const int hour = seconds / 3600;
    const int minute = seconds / 60 % 60;
    const int second = seconds % 60;

    QString out;
    bool afterHour = false;
    for (int i = 0; i < picture.size();) {
        const QChar c = picture[i].toLower();
        int run = 1;
        while (i + run < picture.size() && picture[i + run].toLower() == c)
            ++run;
        auto number = [run](int v) {
            return run >= 2 ? QString("%1").arg(v, 2, 10, QChar('0')) : QString::number(v);
        };
        if (c == 'h') {
            out += number(hour);
            afterHour = true;
        } else if (c == 'n' || (c == 'm' && afterHour)) {
            out += number(minute);
        } else if (c == 's') {
            out += number(second);
        } else {
            out += picture.mid(i, run);
        }
        i += run;
    }
    return out;
}
