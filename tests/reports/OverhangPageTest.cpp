#include "reports/OverhangPage.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "platform/FolderDriveSource.h"
#include "reports/PageAlone.h"

#include <QLabel>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

using namespace korvel::test;

namespace {

constexpr std::uint64_t GiB = 1073741824;

class OverhangPageTest : public PageAlone
{
protected:
    OverhangPageTest()
    {
        auto folders = std::make_unique<platform::FolderDriveSource>();
        drives = folders.get();
        drives->addDrive('c', platform::DriveFixed, "c: [system]", temp.path());
        platform::setDriveSource(std::move(folders));
        results.PickList1 = QStringList{"c: [system]"};
        results.currentDrive = "c: [system]";
    }
    ~OverhangPageTest() override { platform::setDriveSource(nullptr); }

    // One file of 5000 bytes, whose slack the walk summed for each cluster size.
    void oneFileOf5000Bytes()
    {
        results.sizeFiles[1] = 1;
        results.sizeBytes[1] = 5000;
        results.filesFound = 1;
        results.overhang4K = 3192;
        results.overhang8K = 3192;
        results.overhang16K = 11384;
        results.overhang32K = 27768;
        results.overhang64K = 60536;
    }
    QStringList wasted() const
    {
        QStringList texts;
        for (QLabel *label : page.lblOver)
            texts << label->text();
        return texts;
    }

    QTemporaryDir temp;
    platform::FolderDriveSource *drives = nullptr;
    OverhangPage page{context, nullptr};
};

TEST_F(OverhangPageTest, ClusterSizeFollowsTheCapacityAboveTwoGigabytes)
{
    struct Case
    {
        std::uint64_t capacity;
        std::uint64_t ownCluster;
        std::int64_t expected;
    };
    const Case cases[] = {
        {32 * GiB, 4096, 32768},    {32 * GiB - 1, 4096, 16384}, {20000000000, 4096, 16384},
        {16 * GiB, 4096, 8192},     {8 * GiB, 4096, 4096},       {2 * GiB + 1, 512, 4096},
        {2 * GiB, 2048, 2048},                          // from here down the volume's own
        {1610612736, 32768, 32768}, {1610612736, 0, 0}, // the volume cannot say: no size at all
    };
    for (const Case &c : cases) {
        drives->setSpace('c', 0, c.capacity);
        drives->setClusterSize('c', c.ownCluster);
        page.clusterSize = -1;
        page.driveStarting();
        EXPECT_EQ(page.clusterSize, c.expected) << c.capacity << " " << c.ownCluster;
    }
    drives->setReady('c', false);
    page.driveStarting();
    EXPECT_EQ(page.clusterSize, 0);
}

TEST_F(OverhangPageTest, TheArrowPointsAtTheRowOfTheClusterSizeOrThePageIsCovered)
{
    const std::pair<std::int64_t, int> rows[] = {
        {4096, 55}, {8192, 79}, {16384, 103}, {32768, 127}, {65536, 151}};
    for (auto [size, top] : rows) {
        page.clusterSize = size;
        page.drawClusterArrow();
        EXPECT_FALSE(page.imArrow->isHidden()) << size;
        EXPECT_EQ(page.imArrow->y(), top) << size;
        EXPECT_TRUE(page.pnlCluster->isHidden()) << size;
    }
    for (std::int64_t size : {0, 512, 1024, 2048, 131072}) {
        page.clusterSize = size;
        page.drawClusterArrow();
        EXPECT_TRUE(page.imArrow->isHidden()) << size;
        EXPECT_FALSE(page.pnlCluster->isHidden()) << size;
    }
}

TEST_F(OverhangPageTest, OneFileShowsItsSlackForEachClusterSize)
{
    oneFileOf5000Bytes();
    page.clusterSize = 4096;
    page.refill();
    EXPECT_EQ(wasted(), QStringList({"3,192", "3,192", "11,384", "27,768", "60,536"}));
    EXPECT_FALSE(page.pnlOverhang->isHidden());
    EXPECT_EQ(page.lblSize->text(), "5 KB");
    EXPECT_EQ(page.lblLbl->text(), "Actual space used 8 KB");
    EXPECT_EQ(page.lblNumFiles->text(), "Number of files scanned: 1");

    // Added from 64K up, so the 4K bar is the top one, level with its row.
    const double expected[] = {92.37, 84.74, 69.48, 38.96, 38.96};
    ASSERT_EQ(page.Series9->count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(page.Series9->value(i), expected[i], 0.005) << i;
        EXPECT_EQ(page.Series9->pointColour(i), QColor(255, 0, 0));
    }
    EXPECT_EQ(page.Series9->markText(4), "39 %");

    // A later run shows only its own bars.
    results.overhang64K = 0;
    page.refill();
    EXPECT_EQ(page.Series9->count(), 5);
    EXPECT_EQ(page.Series9->value(0), 0);
}

// The five bars, as painted, stand each within 2 pixels of the middle of its row of the table.
TEST_F(OverhangPageTest, EachBarLinesUpWithItsRow)
{
    oneFileOf5000Bytes();
    page.clusterSize = 4096;
    page.doOverHang();
    page.resize(pageSize);
    const QImage painted = page.grab().toImage();
    const int x = page.chartOverhang->x() + 2; // through the front of every bar
    QList<double> middles;
    int top = -1;
    for (int y = page.chartOverhang->y(); y <= page.chartOverhang->geometry().bottom() + 1; ++y) {
        const bool red = painted.pixelColor(x, y) == QColor(Qt::red);
        if (red && top < 0)
            top = y;
        if (!red && top >= 0) {
            middles << (top + y) / 2.0;
            top = -1;
        }
    }
    ASSERT_EQ(middles.size(), 5);
    for (int row = 0; row < 5; ++row) {
        const QLabel *size = page.lblCSize[row];
        EXPECT_NEAR(middles[row], size->y() + size->height() / 2.0, 2)
            << size->text().toStdString();
    }
}

TEST_F(OverhangPageTest, FromAMegabyteOnFiguresReadInMegabytes)
{
    results.sizeBytes[12] = 3 * 1048576.0;
    results.overhang32K = 1048576;
    page.clusterSize = 32768;
    page.doOverHang();
    EXPECT_EQ(page.lblSize->text(), "3 MB");
    EXPECT_EQ(page.lblLbl->text(), "Actual space used 4 MB");

    // Without an arrow the space used is not known and keeps its text.
    page.clusterSize = 2048;
    results.sizeBytes[12] = 2 * 1048576.0;
    page.doOverHang();
    EXPECT_EQ(page.lblSize->text(), "2 MB");
    EXPECT_EQ(page.lblLbl->text(), "Actual space used 4 MB");
}

// Kilobytes and megabytes are 1024 and 1048576 bytes: sizes where a thousand-based unit reads
// otherwise.
TEST_F(OverhangPageTest, SizesReadInBinaryUnits)
{
    const struct
    {
        double bytes, slack;
        const char *size, *used;
    } cases[] = {{100000, 2400, "98 KB", "Actual space used 100 KB"},
                 {1020000, 4000, "996 KB", "Actual space used 1,000 KB"},
                 {2600000, 100000, "2 MB", "Actual space used 3 MB"},
                 {50000000, 3000000, "48 MB", "Actual space used 51 MB"}};
    page.clusterSize = 4096;
    for (const auto &c : cases) {
        results.sizeBytes[3] = c.bytes;
        results.overhang4K = c.slack;
        results.filesFound = 12345;
        page.doOverHang();
        EXPECT_EQ(page.lblSize->text(), c.size);
        EXPECT_EQ(page.lblLbl->text(), c.used);
        EXPECT_EQ(page.lblOver[0]->text(), QLocale().toString(qlonglong(c.slack)));
        EXPECT_EQ(page.lblNumFiles->text(), "Number of files scanned: 12,345");
    }
}

// Files near the largest size a file can have: every figure of the summary stays whole inside
// its panel, side by side, and shares that read "0 %" draw no long bars.
TEST_F(OverhangPageTest, HugeFiguresFitTheirPlaces)
{
    results.sizeFiles[12] = results.filesFound = 2;
    results.sizeBytes[12] = 18446744073709551614.0;
    results.overhang4K = results.overhang8K = results.overhang16K = results.overhang32K =
        results.overhang64K = 2;
    page.clusterSize = 65536;
    page.doOverHang();
    page.resize(pageSize);
    QList<QRect> places;
    for (const QLabel *label : page.pnlOverhang->findChildren<QLabel *>())
        places << label->geometry();
    std::sort(places.begin(), places.end(), [](QRect a, QRect b) { return a.x() < b.x(); });
    for (qsizetype i = 0; i < places.size(); ++i) {
        EXPECT_TRUE(page.pnlOverhang->contentsRect().contains(places[i])) << i;
        if (i > 0) {
            EXPECT_LT(places[i - 1].right(), places[i].left()) << i;
        }
    }

    const QImage painted = page.grab(page.chartOverhang->geometry()).toImage();
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(page.Series9->markText(i), "0 %");
    int red = 0;
    for (int y = 0; y < painted.height(); ++y)
        for (int x = 0; x < painted.width(); ++x)
            red += painted.pixelColor(x, y) == QColor(Qt::red);
    EXPECT_LT(red, 5 * 20);
    EXPECT_TRUE(page.lblLbl->text().endsWith(page.lblSize->text())); // no less than the files
}

TEST_F(OverhangPageTest, ARunOverSeveralDrivesLeavesThePageAlone)
{
    oneFileOf5000Bytes();
    results.PickList1 << "d: [data]";
    page.refill();
    EXPECT_EQ(page.Series9->count(), 0);
    EXPECT_EQ(wasted(), QStringList(5, QString()));
}

} // namespace
