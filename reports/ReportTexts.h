#pragma once

#include <QString>

// Texts the report pages show, as plain functions so that they can be checked without a window.

// The text with every thousands separator of the locale taken out: "1,234,567" -> "1234567".
QString stripCommas(const QString &text);

// The whole-number average total / count with thousands separators; "0" when there is nothing
// to divide by.
QString averageText(double total, double count);
