#include "charts/ChartPreviewer.h"
#include "controls/Notebook.h"
#include "controls/StringGrid.h"
#include "reports/SizesPage.h"
#include "reports/StatisticsFixture.h"
#include "reports/TypesPage.h"

#include <QButtonGroup>
#include <QGroupBox>

// The Types and Sizes pages inside the statistics window: filled by a run, their view switches
// held during a walk, and printed through "&Print page".
struct TypesSizesWindow : StatisticsFixture
{
    TypesPage *types() const
    {
        return static_cast<TypesPage *>(window->pages[TfrmStatistics::TypesTab]);
    }
    SizesPage *sizes() const
    {
        return static_cast<SizesPage *>(window->pages[TfrmStatistics::SizesTab]);
    }
};

TEST_F(TypesSizesWindow, ARunFillsBothPagesAndHoldsTheirViewSwitchesWhileItWalks)
{
    bool heldDuringWalk = true;
    duringWalk([&](int) {
        heldDuringWalk = heldDuringWalk && !types()->rgTypes->isEnabled() &&
                         !sizes()->rgSize0->isEnabled() && !sizes()->rgSize2->isEnabled();
    });
    run();
    EXPECT_TRUE(heldDuringWalk);
    EXPECT_GT(dispatches, 0);
    EXPECT_TRUE(types()->rgTypes->isEnabled());
    EXPECT_TRUE(sizes()->rgSize1->isEnabled());
    EXPECT_EQ(types()->gridTypes->rowCells(1).mid(0, 1), QStringList({".DOC"}));
    EXPECT_EQ(types()->gridTypes->cell(3, 2), "5");
    EXPECT_EQ(sizes()->gridSizes->cell(2, 12), "8");
    EXPECT_FALSE(window->Timer1.isActive())
        << "the pie the run built in its chosen view waits for a click, as before the run";
}

TEST_F(TypesSizesWindow, TheListingPrintsTitledWithTheDriveAndACancelledDialogPrintsNothing)
{
    run();
    window->OvcNotebook1->setPageIndex(TfrmStatistics::TypesTab);
    types()->rgTypesButtons->button(TypesPage::Listing)->click();
    for (const bool confirm : {false, true}) {
        const QString pdf = pressPrint(confirm);
        EXPECT_EQ(QFile::exists(pdf), confirm);
        if (!confirm)
            continue;
        const QString text = korvel::test::pdfText(pdf);
        EXPECT_TRUE(text.contains("File types for drive c: [system]"));
    }

    TChart *previewed = nullptr;
    window->runChartPreview = [&](TChartPreviewer &preview) { previewed = preview.Chart; };
    types()->rgTypesButtons->button(TypesPage::PieByFiles)->click();
    QTest::mouseClick(window->btPrint, Qt::LeftButton);
    EXPECT_EQ(previewed, types()->chartPie);
    window->OvcNotebook1->setPageIndex(TfrmStatistics::SizesTab);
    QTest::mouseClick(window->btPrint, Qt::LeftButton);
    EXPECT_EQ(previewed, sizes()->Chart1);
}
