#pragma once

#include <QString>

// Texts the report pages show, as plain functions so that they can be checked without a window.

// The text with every thousands separator of the locale taken out: "1,234,567" -> "1234567".
QString stripCommas(const QString &text);

// The whole-number average total / count with thousands separators; "0" when there is nothing
// to divide by.
QString averageText(double total, double count);

// The free share of a drive in percent with one decimal, cut rather than rounded: 45.27 gives
// "45.2". The caller makes sure the total is above 0.
QString percentFreeText(double freeBytes, double totalBytes);
