#pragma once

#include "model/ReportTable.h"
#include "model/RunFacts.h"

#include <QPicture>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

class QIODevice;

// The report document: every page of a run's figures in one PDF that can be handed on, with
// text that stays text and charts that stay drawings.

// A chart as one of the pages draws it, recorded at the screen's resolution, and the size it was
// drawn at.
struct ReportChart
{
    QString caption; // which of the page's views it is: "Pie by Size"
    QPicture picture;
    QSizeF size;
};

// One report page in the document: its listing as a table, the lines that go with it, and its
// charts.
struct ReportSection
{
    ReportTable table;
    std::vector<ReportChart> charts;
};

// What the first page tells of the run.
struct ReportCover
{
    QString title;
    RunFacts facts;
    QString filter;                   // which files were counted, in words
    std::uint64_t filesFound = 0;     // files that passed the filter
    std::uint64_t filesProcessed = 0; // files met
};

// Writes the document to a device: the cover page, then each section with its title, its table
// (continued over as many pages as it takes, the headings on each) and its charts. Every page is
// headed with the title and numbered "Page n of N". False when the device cannot be painted on.
bool writeReportDocument(QIODevice &device, const ReportCover &cover,
                         const std::vector<ReportSection> &sections);
