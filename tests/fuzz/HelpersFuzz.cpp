// The text readers and number formats every page leans on. The input chooses a locale, then
// gives a text (read as UTF-8, or as UTF-16 when the second byte is odd):
// - tabField gives the trimmed fields a split at tabs gives, and empty text past the last;
// - textToInt reads the numbers it is meant for and agrees with its checked form, textToFloat
//   gives a finite number for any text;
// - intToGrouped and floatToGrouped give the rounded number with group separators, which
//   cellNumber (the numeric grid sort) reads back.

#include "fuzz/FuzzInput.h"
#include "helpers/GridSort.h"
#include "helpers/Helpers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using korvel::fuzz::FuzzInput;

namespace {

void checkTabFields(const QString &text)
{
    const QStringList fields = text.split(u'\t');
    FUZZ_CHECK(tabField(text, 0).isEmpty() && tabField(text, -1).isEmpty());
    for (int n = 1; n <= fields.size() + 1; ++n) {
        const QString field = tabField(text, n);
        QString expected = n <= fields.size() ? fields[n - 1] : QString();
        while (!expected.isEmpty() && expected.front().unicode() <= u' ')
            expected.remove(0, 1);
        while (!expected.isEmpty() && expected.back().unicode() <= u' ')
            expected.chop(1);
        FUZZ_CHECK(field == expected);
    }
}

void checkIntegers(const QString &text, const QByteArray &raw)
{
    int checked = 12345;
    const bool ok = textToIntChecked(text, checked);
    FUZZ_CHECK(textToInt(text) == (ok ? checked : 0));
    FUZZ_CHECK(ok || checked == 12345);
    std::int32_t value = 0;
    std::memcpy(&value, raw.leftJustified(4, '\0').constData(), 4);
    FUZZ_CHECK(textToInt(QString::number(value)) == value);
    FUZZ_CHECK(textToInt("  " + QString::number(value)) == value);
    if (value >= 0)
        FUZZ_CHECK(textToInt("$" + QString::number(value, 16)) == value);
    FUZZ_CHECK(digitsOnly(text).size() == std::count_if(text.begin(), text.end(), isDigit));
}

// A grouped number with its separators taken out and its sign written plainly.
QString plainNumber(const QString &grouped)
{
    const QLocale locale;
    QString plain = grouped;
    plain.remove(locale.groupSeparator());
    plain.replace(locale.negativeSign(), u"-"_qs);
    return plain;
}

void checkNumbers(const QString &text, const QByteArray &raw)
{
    FUZZ_CHECK(std::isfinite(textToFloat(text)) && std::isfinite(cellNumber(text)));

    double value = 0;
    std::memcpy(&value, raw.leftJustified(8, '\0').constData(), 8);
    std::int64_t whole = 0;
    std::memcpy(&whole, raw.leftJustified(8, '\0').constData(), 8);
    FUZZ_CHECK(plainNumber(intToGrouped(whole)) == QString::number(whole));

    // Every digit of the rounded value, however large; the grids' numeric sort reads back every
    // count and size they can show exactly.
    const QString grouped = floatToGrouped(value);
    const double rounded = std::round(value);
    if (!std::isfinite(value)) {
        FUZZ_CHECK(grouped.isEmpty());
        return;
    }
    char digits[400];
    std::snprintf(digits, sizeof digits, "%.0f", rounded + 0.0); // -0 is written "0"
    FUZZ_CHECK(plainNumber(grouped) == QLatin1String(digits));
    std::uint64_t read = 0;
    if (rounded >= 0 && rounded < 0x1p64)
        FUZZ_CHECK(groupedToUnsigned(grouped, read) && read == std::uint64_t(rounded));
    if (rounded >= 0 && rounded < 1e14)
        FUZZ_CHECK(cellNumber(grouped) == rounded);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    QLocale::setDefault(korvel::fuzz::pickLocale(input.byte()));
    const bool utf16 = input.byte() % 2;
    const QByteArray raw = input.rest();
    const QString text =
        utf16 ? QString::fromUtf16(reinterpret_cast<const char16_t *>(raw.constData()),
                                   raw.size() / 2)
              : QString::fromUtf8(raw);
    checkTabFields(text);
    checkIntegers(text, raw);
    checkNumbers(text, raw);
    return 0;
}
