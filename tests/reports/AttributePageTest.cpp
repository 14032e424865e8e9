#include "reports/AttributePage.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "reports/PageAlone.h"

#include <QLabel>

using namespace korvel::test;

namespace {

class AttributePageTest : public PageAlone
{
protected:
    AttributePage page{context, nullptr};

    QStringList figures() const
    {
        QStringList texts;
        for (QLabel *label :
             {page.lblNHidden, page.lblNReadOnly, page.lblNSystem, page.lblNArchive,
              page.lblSzHidden, page.lblSzReadOnly, page.lblSzSystem, page.lblSzArchive})
            texts << label->text();
        return texts;
    }
};

TEST_F(AttributePageTest, NoAttributeShowsZerosAndNoBars)
{
    page.doFileAttrs();
    EXPECT_EQ(figures(), QStringList(8, "0"));
    EXPECT_EQ(page.HorizBarSeries4->count(), 0);
    EXPECT_EQ(page.HorizBarSeries5->count(), 0);
}

TEST_F(AttributePageTest, SharesAreOfTheAttributeSumsWithHiddenOnTop)
{
    // One hidden system file of 100 bytes.
    results.nHidden = results.nSystem = 1;
    results.szHidden = results.szSystem = 100;
    page.doFileAttrs();
    EXPECT_EQ(figures(), QStringList({"1", "0", "1", "0", "100", "0", "100", "0"}));
    // Drawn from the bottom: Archive, System, Read-only, Hidden.
    EXPECT_EQ(seriesValues(*page.HorizBarSeries4), QList<double>({0, 50, 0, 50}));
    EXPECT_EQ(seriesValues(*page.HorizBarSeries5), QList<double>({0, 50, 0, 50}));
    EXPECT_EQ(page.HorizBarSeries4->markText(3), "50 %");
    EXPECT_EQ(page.HorizBarSeries4->pointColour(3), QColor(255, 0, 0));
    EXPECT_EQ(page.HorizBarSeries5->pointColour(3), QColor(0, 0, 255));

    // A later run replaces the bars and the figures.
    results.nHidden = results.nSystem = 0;
    results.szHidden = results.szSystem = 0;
    results.nArchive = 1234;
    results.szArchive = 3e9;
    page.doFileAttrs();
    EXPECT_EQ(figures(), QStringList({"0", "0", "0", "1,234", "0", "0", "0", "3,000,000,000"}));
    EXPECT_EQ(seriesValues(*page.HorizBarSeries4), QList<double>({100, 0, 0, 0}));
    EXPECT_EQ(seriesValues(*page.HorizBarSeries5), QList<double>({100, 0, 0, 0}));
}

} // namespace
