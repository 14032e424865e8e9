#pragma once

#include "reports/ReportPage.h"

#include <array>

class QLabel;
class TChart;
class THorizBarSeries;

// The "Attribute" page: how many of the counted files are hidden, read-only, system or archive
// files and how many bytes they hold, each with a small bar of its share.
class AttributePage : public ReportPage
{
    Q_OBJECT

public:
    AttributePage(const ReportContext &context, QWidget *parent);

    void refill() override { doFileAttrs(); }

    // Writes the counters and byte sums and redraws both small charts from them.
    void doFileAttrs();

    QLabel *lblNHidden, *lblNReadOnly, *lblNSystem, *lblNArchive;
    QLabel *lblSzHidden, *lblSzReadOnly, *lblSzSystem, *lblSzArchive;
    TChart *Chart2;
    THorizBarSeries *HorizBarSeries4;
    TChart *Chart3;
    THorizBarSeries *HorizBarSeries5;

private:
    TChart *makeShareChart(const QString &name, int left, THorizBarSeries *&series);
    QLabel *makeFigure(const QString &name, int left, int width, int row);
};
