#pragma once

#include "reports/ReportPage.h"

class QFrame;
class QRadioButton;
class TChart;
class THorizBarSeries;
class TStringGrid;

// The "Sizes" page: how the files of a run spread over twelve size classes, as a listing, as
// bars of megabytes per class or as bars of files per class.
class SizesPage : public ReportPage
{
    Q_OBJECT

public:
    SizesPage(const ReportContext &context, QWidget *parent);

    TStringGrid *gridSizes;
    TChart *Chart1;
    THorizBarSeries *Series1;
    QFrame *Bevel5;
    QRadioButton *rgSize0;
    QRadioButton *rgSize1;
    QRadioButton *rgSize2;

    void doFileSizes();
    void fillGridSizes();
    void rgSizesClick();

    void refill() override;
    void setRunControlsEnabled(bool enabled) override;
    PrintTarget printTarget() const override;
};
