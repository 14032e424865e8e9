#pragma once

#include <QRect>

class QPrinter;

// Paper nearer to its edge than this is never printed on: many printers cut there, whatever
// margins they claim.
inline constexpr double leastPrintMarginMm = 10;

// The part of a printer's page that printed matter may use: inside the printer's own unprintable
// margins and the margins set for the page, and never nearer than leastPrintMarginMm to the paper's
// edge. In the coordinates of a painter on the printer, in printer pixels.
QRect printArea(const QPrinter &printer);
