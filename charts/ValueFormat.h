#pragma once

#include <QLocale>
#include <QString>

// The number pictures of the chart marks, legends and axes: "#,##0 MB", "##0.# %", "#,##0. %".
// A picture is literal text around one run of the placeholders "#", "0", "," and ".":
// "0" is a digit that always shows, "#" one that shows only when it matters, a "," anywhere in
// the whole-number part asks for thousands separators, and the first "." places the decimal
// separator, which shows only when decimals follow it. The value is rounded half away from zero.
// The separators are the locale's.
QString formatValue(double value, const QString &picture, const QLocale &locale = QLocale());

// A value in days as a time of day: "HH:MM" or "hh:nn" give 2-digit hours and minutes, "h" and
// "n" (or "m" after an hour) unpadded ones, "ss" seconds; everything else is literal.
QString formatTimeOfDay(double days, const QString &picture);
