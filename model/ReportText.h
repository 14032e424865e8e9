#pragma once

#include "model/ReportTable.h"

#include <QString>

// A report table as plain text for a terminal: the title, the headings, a rule, the rows in
// columns wide enough for their longest cell, a rule above the totals rows, then the notes.
// Numbers stand right-aligned as a person reads them (group separators, percentages with " %"),
// text stands left-aligned. Every line ends with a line feed; no line ends in blanks.
QString reportText(const ReportTable &table);

// The columns a text takes in a terminal: combining marks take none, East Asian wide and full
// width characters two, everything else one.
int terminalWidth(const QString &text);
