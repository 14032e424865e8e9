#pragma once

#include "model/TypeListing.h"
#include "reports/ReportPage.h"

#include <optional>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class TChart;
class TPieSeries;
class TStringGrid;

// The "Types" page: the files of a run by extension, as a sortable listing with a totals row or
// as a turning pie by total size, by number of files or by average size.
class TypesPage : public ReportPage
{
    Q_OBJECT

public:
    TypesPage(const ReportContext &context, QWidget *parent);

    // The views of rgTypes, in the order of its buttons.
    enum View
    {
        Listing,
        PieBySize,
        PieByFiles,
        PieByAverage
    };

    TStringGrid *gridTypes;
    TChart *chartPie;
    TPieSeries *Series2;
    QScrollBar *ScrollBar2;
    QGroupBox *rgTypes;
    QButtonGroup *rgTypesButtons;
    QPushButton *btSort;
    QMenu *PopupMenu1;
    QAction *SortbyExtension;
    QAction *SortbyType;
    QAction *SortbySize;
    QAction *SortbyNumFiles;
    QAction *SortbyAverageFileSize1;
    // Below the listing when the run met files whose extensions are too long for a row.
    QLabel *lblLonger;

    View view() const;
    // The figures the listing and the pies show, as numbers.
    const TypeListing &listing() const { return figures; }

    // Builds the listing from the run's extension table and shows the chosen view.
    void doFileTypes();
    void rgTypesClick();
    // Sorts the listing by the column of the clicked sort item and moves the check mark there.
    void SortbyExtensionClick(QAction *Sender);
    void doTotals();
    void fitFigureColumns();
    // A listing cell of a row as the grid shows it.
    static QString cellText(const TypeRow &row, int column);
    Qt::Alignment gridTypesGetAlignment(int ARow, int ACol) const;
    void chartSpacePieClick();
    void ScrollBar2Change();
    // Prints the listing with the drive of the run in its title.
    void printListing(QPrinter &printer) const;

    void runStarting() override;
    void refill() override;
    void setRunControlsEnabled(bool enabled) override;
    void Timer1Timer() override;
    PrintTarget printTarget() const override;

private:
    void buildGrid();
    void buildPie();
    void buildViewControls();
    void showCheckMark();
    void fillPie(TypeSort measure);
    // Writes the rows into the listing in the order of a sort.
    void showRows(TypeSort sort);
    void showLongerLine();
    static TypeSort sortOf(const QAction *item);

    QAction *checkedSort = nullptr;
    TypeListing figures;
    // The order the listing's rows stand in; none while they are not written.
    std::optional<TypeSort> shownSort;
    std::vector<int> shownOrder; // the listing's rows in the grid's order
};
