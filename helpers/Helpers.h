#pragma once

#include <QChar>
#include <QString>
#include <cstdint>

// Tolerant conversions and the number formats of every report. All use the default QLocale:
// its group (thousands) separator and decimal point. None of them fails: a text that is not a
// number reads as 0.

bool isDigit(QChar c);
QString digitsOnly(const QString &text);
// Optional blanks, optional sign, decimal digits, or "$" and hex digits; 0 for anything else and
// for values outside 32 bits.
int textToInt(const QString &text);
// A decimal number in the locale's format (no group separators); 0 when it is not one.
double textToFloat(const QString &text);
// A run of decimal digits with a separator between groups of three, counted from the right:
// "1234567" -> "1,234,567". The reports' grouped numbers and the charts' number pictures share it.
QString groupDigits(const QString &digits, const QString &separator);
// A sum of byte counts that stays at 2^64 - 1 rather than wrap past it.
inline std::uint64_t addCapped(std::uint64_t sum, std::uint64_t value)
{
    return value > UINT64_MAX - sum ? UINT64_MAX : sum + value;
}
// Whole number with group separators: 1234567 -> "1,234,567".
QString intToGrouped(std::int64_t value);
// The same for the byte sums and counts that only grow: every value up to 2^64 - 1 in full.
QString unsignedToGrouped(std::uint64_t value);
// Rounded half away from zero, every digit of the whole number written out, group separators;
// empty for infinity and NaN.
QString floatToGrouped(double value);
// Reads back a whole number as the two above write it (the locale's group separators, blanks
// around it): exactly, up to 2^64 - 1. False for anything else, which leaves value untouched.
bool groupedToUnsigned(const QString &text, std::uint64_t &value);
// Field n (from 1) of a tab-separated text, trimmed of blanks and control characters.
QString tabField(const QString &text, int n);

// As textToInt, but tells a text that is no 32-bit integer apart from "0": false leaves value
// untouched. Callers with a default of their own (the settings file's "Number") use this.
bool textToIntChecked(const QString &text, int &value);
