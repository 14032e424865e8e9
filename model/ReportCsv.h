#pragma once

#include "model/ReportTable.h"

#include <QByteArray>

// A report table as comma-separated values for spreadsheets and scripts: UTF-8 without a byte
// order mark, the headings as the first record, then every row (totals rows included), each
// record ended by CR LF. Numbers are written as numbers, never as a person reads them: whole
// bytes and counts in all their digits, percentages with a dot and no more digits than they need.
// A text that a spreadsheet would take as a formula (one starting with "=", "+", "-", "@", a tab
// or a carriage return) gets a leading single quote. A field holding a comma, a double quote or a
// line break is put in double quotes, its quotes doubled. The page's title and notes are not part
// of it.
QByteArray reportCsv(const ReportTable &table);

// One cell as a CSV field, quoted where it has to be.
QByteArray csvField(const ReportCell &cell);

// The same table as one JSON object for scripts: "title", "headings", "rows" (numbers as JSON
// numbers in all their digits, percentages as in the CSV) and "notes".
QByteArray reportJson(const ReportTable &table);
