#include "helpers/Helpers.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Blanks and control characters, the characters a field is trimmed of.
bool isTrimmed(QChar c)
{
    return c.unicode() <= u' ';
}

QString trimControls(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text[begin]))
        ++begin;
    while (end > begin && isTrimmed(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

QString digitsOnly(const QString &text)
{
    QString digits;
    for (QChar c : text)
        if (isDigit(c))
            digits += c;
    return digits;
}

bool textToIntChecked(const QString &text, int &value)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    const bool hex = i < text.size() && text[i] == u'$';
    if (hex)
        ++i;
    if (i == text.size())
        return false;

    // Accumulate in 64 bits and stop as soon as the value leaves the 32-bit range, so that a
    // long run of digits can never overflow.
    const std::int64_t limit = negative ? std::int64_t(std::numeric_limits<int>::max()) + 1
                                        : std::numeric_limits<int>::max();
    std::int64_t result = 0;
    for (; i < text.size(); ++i) {
        const int digit =
            hex ? hexValue(text[i]) : (isDigit(text[i]) ? text[i].unicode() - '0' : -1);
        if (digit < 0)
            return false;
        result = result * (hex ? 16 : 10) + digit;
        if (result > limit)
            return false;
    }
    value = int(negative ? -result : result);
    return true;
}

int textToInt(const QString &text)
{
    int value = 0;
    return textToIntChecked(text, value) ? value : 0;
}

double textToFloat(const QString &text)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString groupDigits(const QString &digits, const QString &separator)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

QString intToGrouped(std::int64_t value)
{
    const QLocale locale;
    // The magnitude in unsigned arithmetic, so that the smallest 64-bit value has one too.
    const std::uint64_t magnitude = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
    const QString digits = groupDigits(QString::number(magnitude), locale.groupSeparator());
    return value < 0 ? locale.negativeSign() + digits : digits;
}

QString unsignedToGrouped(std::uint64_t value)
{
    return groupDigits(QString::number(value), QLocale().groupSeparator());
}

QString floatToGrouped(double value)
{
    if (!std::isfinite(value))
        return QString();
    const double whole = std::round(value); // halves away from zero
    const double magnitude = std::fabs(whole);
    // Whole doubles are exact integers, so every digit written is the value's own; beyond 64
    // bits the C library writes them out.
    QString digits;
    if (magnitude < 18446744073709551616.0) {
        digits = QString::number(std::uint64_t(magnitude));
    } else {
        char text[400];
        std::snprintf(text, sizeof text, "%.0f", magnitude);
        digits = QString::fromLatin1(text);
    }
    const QLocale locale;
    const QString grouped = groupDigits(digits, locale.groupSeparator());
    return whole < 0 ? locale.negativeSign() + grouped : grouped;
}

bool groupedToUnsigned(const QString &text, std::uint64_t &value)
{
    QString digits = text.trimmed();
    digits.remove(QLocale().groupSeparator());
    if (digits.isEmpty() || digits.size() > 20)
        return false;
    std::uint64_t result = 0;
    for (const QChar c : digits) {
        if (!isDigit(c))
            return false;
        const std::uint64_t digit = c.unicode() - u'0';
        if (result > (UINT64_MAX - digit) / 10)
            return false;
        result = result * 10 + digit;
    }
    value = result;
    return true;
}

QString tabField(const QString &text, int n)
{
    if (n <= 0)
        return QString();
    qsizetype begin = 0;
    for (int field = 1; field < n; ++field) {
        const qsizetype tab = text.indexOf(u'\t', begin);
        if (tab < 0)
            return QString();
        begin = tab + 1;
    }
    qsizetype end = text.indexOf(u'\t', begin);
    if (end < 0)
        end = text.size();
    return trimControls(text.mid(begin, end - begin));
}
