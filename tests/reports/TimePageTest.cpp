#include "reports/TimePage.h"

#include "charts/Chart.h"
#include "charts/LineSeries.h"
#include "reports/PageAlone.h"

#include <QScrollBar>

using namespace korvel::test;

namespace {

class TimePageTest : public PageAlone
{
protected:
    TimePage page{context, nullptr};
};

TEST_F(TimePageTest, EachLineHasFortyEightLabelledSlots)
{
    results.hourModified[4] = 1; // written at 02:10
    results.hourCreated[47] = 3;
    results.hourAccessed[0] = 2;
    page.doFileTimes();
    for (TLineSeries *line : {page.Series10, page.Series11, page.Series12}) {
        ASSERT_EQ(line->count(), 48) << line->title().toStdString();
        EXPECT_TRUE(line->Active());
        for (int slot = 0; slot < 48; ++slot)
            EXPECT_EQ(line->point(slot).x, slot);
        EXPECT_EQ(line->point(0).label, "12:00 AM");
        EXPECT_EQ(line->point(5).label, "2:30 AM");
        EXPECT_EQ(line->point(47).label, "11:30 PM");
    }
    EXPECT_EQ(page.Series10->value(4), 1);
    EXPECT_EQ(page.Series11->value(47), 3);
    EXPECT_EQ(page.Series12->value(0), 2);
}

// The labels follow the locale's own short time format, without seconds where it has them.
TEST_F(TimePageTest, SlotLabelsAreTheLocalesShortTimeWithoutSeconds)
{
    const struct
    {
        QLocale locale;
        QString slot4, slot47;
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "2:00 AM", "11:30 PM"},
        {QLocale(QLocale::German, QLocale::Germany), "02:00", "23:30"},
        {QLocale::c(), "02:00", "23:30"},
    };
    for (const auto &c : cases) {
        LocaleGuard pinned(c.locale);
        EXPECT_EQ(TimePage::slotLabel(4), c.slot4) << c.locale.name().toStdString();
        EXPECT_EQ(TimePage::slotLabel(47), c.slot47) << c.locale.name().toStdString();
    }
}

TEST_F(TimePageTest, NoAccessTimesHideOnlyTheAccessLine)
{
    results.hourAccessed[10] = 5;
    page.doFileTimes();
    EXPECT_TRUE(page.Series12->Active());
    results.hourAccessed[10] = 0;
    page.doFileTimes();
    EXPECT_FALSE(page.Series12->Active());
    EXPECT_TRUE(page.Series10->Active());
    EXPECT_TRUE(page.Series11->Active());
}

TEST_F(TimePageTest, TheScrollBarSetsTheDepthOnceMoved)
{
    EXPECT_EQ(page.Chart4->Chart3DPercent(), 20);
    EXPECT_EQ(page.sbTime->value(), 8);
    page.sbTime->setValue(33);
    EXPECT_EQ(page.Chart4->Chart3DPercent(), 33);
    page.sbTime->setValue(1);
    EXPECT_EQ(page.Chart4->Chart3DPercent(), 1);
}

} // namespace
