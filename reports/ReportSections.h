#pragma once

#include "model/TypeListing.h"
#include "reports/ReportDocument.h"

#include <cstdint>
#include <vector>

struct Accumulators;
struct ReportContext;
class SpacePage;
class QWidget;
class TChart;

// The report pages' figures and charts for the exports, taken from the report model and from
// the pages' own drawing.

// A page's figures as its listing shows them: the Types listing in the sort given.
ReportTable pageTable(const ReportContext &context, std::int64_t clusterSize, ReportPageId page,
                      TypeSort typeSort = TypeSort::Extension);

// The charts as drawn, recorded to be drawn again anywhere.
ReportChart recordCharts(const QString &caption, const QWidget &holder,
                         const std::vector<TChart *> &charts);

// Every page's section of the report document, in the order of the tabs: its table and its
// charts in each of the views the page offers. The charts are drawn by pages made for the
// purpose, so that the window's own pages keep their views; the Space page's charts, which show
// the drives as the window's drive list picks them, are taken from the window's page.
std::vector<ReportSection> reportSections(const ReportContext &context, SpacePage &space,
                                          std::int64_t clusterSize);
