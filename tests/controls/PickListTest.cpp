#include "controls/PickList.h"

#include "InkColumns.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor ink(Qt::black);
const QColor face(0xc0, 0xc0, 0xc0); // the list's own background, unlike the box's white

struct PickListFixture : ::testing::Test
{
    TPickList list;

    void SetUp() override
    {
        QPalette colours = list.palette();
        colours.setColor(QPalette::Text, ink);
        list.setPalette(colours);
        list.setColor(face);
        list.setFont(QFont("MS Sans Serif", 8));
        list.resize(300, 120);
        list.setItems({"c: [/]", "d: [/home]", "e:"});
    }

    QImage render()
    {
        list.ensurePolished();
        list.doItemsLayout();
        QImage image = list.viewport()->grab().toImage();
        if (qEnvironmentVariableIsSet("KORVEL_SAVE_PICKLIST"))
            image.save("/tmp/picklist.png");
        return image;
    }

    QRect entryRect(int index) { return list.visualItemRect(list.item(index)); }

    static bool isInk(const QImage &image, int x, int y) { return image.pixelColor(x, y) == ink; }

    void clickEntry(int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, entryRect(index).center());
    }
};

// The pixels of the check mark with an entry height of 16: a stroke down from (3, 8) to (6, 11)
// and one up from (7, 10) to (13, 4), each stroke three pixels tall.
QList<QPoint> checkMarkPixels()
{
    QList<QPoint> pixels;
    for (int k = 0; k < 4; ++k)
        for (int dy = 0; dy < 3; ++dy)
            pixels.append(QPoint(3 + k, 8 + k + dy));
    for (int j = 0; j < 7; ++j)
        for (int dy = 0; dy < 3; ++dy)
            pixels.append(QPoint(7 + j, 10 - j + dy));
    return pixels;
}

} // namespace

TEST_F(PickListFixture, CheckboxStyleDrawsBoxAndMarkOnTheListColour)
{
    list.setSelected(0, true);
    const QImage image = render();
    const QColor window = QApplication::palette().color(QPalette::Base);
    for (int index : {0, 1}) {
        const QRect r = entryRect(index);
        ASSERT_EQ(r.height(), 16);
        SCOPED_TRACE(index);
        // The 14 x 14 box: outline from (2, 1) to (15, 14), nothing at column 16 or row 15.
        for (int i = 2; i <= 15; ++i) {
            EXPECT_TRUE(isInk(image, r.left() + i, r.top() + 1));
            EXPECT_TRUE(isInk(image, r.left() + i, r.top() + 14));
            EXPECT_TRUE(isInk(image, r.left() + 2, r.top() + i - 1));
            EXPECT_TRUE(isInk(image, r.left() + 15, r.top() + i - 1));
        }
        EXPECT_EQ(image.pixelColor(r.left() + 16, r.top() + 5), face);
        EXPECT_EQ(image.pixelColor(r.left() + 5, r.top() + 15), face);
        EXPECT_EQ(image.pixelColor(r.left() + 1, r.top() + 5), face);
        // Inside the box: the mark only for the picked entry, the window colour elsewhere.
        for (const QPoint &p : checkMarkPixels())
            EXPECT_EQ(isInk(image, r.left() + p.x(), r.top() + p.y()), index == 0)
                << p.x() << p.y();
        EXPECT_EQ(image.pixelColor(r.left() + 4, r.top() + 3), window);
        EXPECT_EQ(image.pixelColor(r.left() + 13, r.top() + 12), window);
        // The picked entry is not highlighted: its background is the list's colour.
        EXPECT_EQ(image.pixelColor(r.right() - 3, r.top() + 8), face);
    }
}

// Where a logical pixel is two of the screen's, the mark is drawn in the screen's pixels: the
// middle of every stroke is inked, and its slanted edges are shaded as the entry's text is, not
// stepped in blocks of whole logical pixels.
TEST_F(PickListFixture, CheckMarkIsDrawnAtTheScreensResolution)
{
    list.setSelected(0, true);
    render();
    QImage image(list.viewport()->size() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    list.viewport()->render(&image);
    const QPoint origin = entryRect(0).topLeft() * 2;
    auto shade = [&](int x, int y) { return image.pixelColor(origin + QPoint(x, y)).value(); };
    for (int k = 0; k < 4; ++k)
        EXPECT_LT(shade(2 * (3 + k) + 1, 2 * (9 + k) + 1), 64) << "down stroke " << k;
    for (int j = 0; j < 7; ++j)
        EXPECT_LT(shade(2 * (7 + j) + 1, 2 * (11 - j) + 1), 64) << "up stroke " << j;
    int shaded = 0;
    for (int y = 2 * 2; y < 2 * 14; ++y)
        for (int x = 2 * 3; x < 2 * 15; ++x)
            shaded += shade(x, y) > 32 && shade(x, y) < 224;
    EXPECT_GT(shaded, 20) << "the mark is the logical one blown up";
}

TEST_F(PickListFixture, SecondColumnStartsAtTabStopFromListEdgeInEveryStyle)
{
    list.setTabStops("12");
    list.setItems({"a\tb\tc"});
    const int average = QFontMetrics(list.font()).averageCharWidth();
    for (TSelectedStyle style : {psCheckbox, psBoldText}) {
        SCOPED_TRACE(int(style));
        list.setSelectedStyle(style);
        list.setSelected(0, style == psBoldText);
        const QImage image = render();
        const QRect r = entryRect(0);
        const int textStart = r.left() + (style == psCheckbox ? 20 : 2);
        ASSERT_LT(textStart + 3 * average, 12 * average);
        // Glyphs may start a pixel or two into their cell, never before it.
        const int b = firstInkColumn(image, r, textStart + 2 * average);
        EXPECT_GE(b, 12 * average);
        EXPECT_LE(b, 12 * average + 2);
        const int c = firstInkColumn(image, r, 12 * average + 2 * average);
        EXPECT_GE(c, 24 * average);
        EXPECT_LE(c, 24 * average + 2);
    }
}

TEST_F(PickListFixture, WithoutTabStopsTheTextIsNotSplitIntoColumns)
{
    list.setTabStops("12");
    list.setUseTabStops(false);
    list.setItems({"a\tb"});
    const QImage image = render();
    const int average = QFontMetrics(list.font()).averageCharWidth();
    // Nothing reaches the twelfth average character width.
    EXPECT_EQ(firstInkColumn(image, entryRect(0), 12 * average), -1);
}

TEST_F(PickListFixture, BoldStyleShowsPickedEntriesInBold)
{
    list.setSelectedStyle(psBoldText);
    list.setItems({"Drive", "Drive"});
    list.setSelected(0, true);
    const QImage image = render();
    auto darkPixels = [&](int index) {
        const QRect r = entryRect(index);
        int dark = 0;
        for (int x = r.left(); x <= r.right(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                dark += image.pixelColor(x, y).lightness() < 128;
        return dark;
    };
    EXPECT_GT(darkPixels(0), darkPixels(1));
    EXPECT_EQ(image.pixelColor(entryRect(0).right() - 3, entryRect(0).top() + 8), face);
}

TEST_F(PickListFixture, StandardStyleHighlightsPickedEntries)
{
    list.setSelectedStyle(psStandard);
    list.setSelected(1, true);
    const QImage image = render();
    const QColor highlight = list.palette().color(QPalette::Highlight);
    EXPECT_EQ(image.pixelColor(entryRect(1).right() - 3, entryRect(1).top() + 8), highlight);
    EXPECT_EQ(image.pixelColor(entryRect(0).right() - 3, entryRect(0).top() + 8), face);
}

TEST_F(PickListFixture, FocusedEntryHasDottedFrameOnlyWhileTheListHasFocus)
{
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.activateWindow();
    list.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    list.setItemIndex(1);
    QImage image = render();
    const QRect r = entryRect(1);
    EXPECT_TRUE(isInk(image, r.left() + 20, r.top()));
    EXPECT_FALSE(isInk(image, r.left() + 21, r.top()));
    EXPECT_TRUE(isInk(image, r.left(), r.bottom() - 1));
    EXPECT_FALSE(isInk(image, r.left() + 20, entryRect(0).top()));

    list.clearFocus();
    image = render();
    EXPECT_FALSE(isInk(image, r.left() + 20, r.top()));
}

TEST(PickListTabStops, TextReadsBackAndBadPiecesAreReported)
{
    TPickList list;
    EXPECT_EQ(list.TabStops(), "");
    list.setTabStops("4;12");
    EXPECT_EQ(list.TabStops(), "4;12");
    list.setTabStops("");
    EXPECT_EQ(list.TabStops(), "");

    auto failure = [&](const QString &text) {
        try {
            list.setTabStops(text);
        } catch (const TabStopError &error) {
            return QString::fromStdString(error.what());
        }
        return QStringLiteral("no error");
    };
    // A trailing ";" leaves an empty piece; what came before it stays.
    EXPECT_EQ(failure("12;"), " is an invalid tab stop");
    EXPECT_EQ(list.TabStops(), "12");
    // A leading ";" belongs to the first piece.
    EXPECT_EQ(failure(";12"), ";12 is an invalid tab stop");
    EXPECT_EQ(list.TabStops(), "");
    EXPECT_EQ(failure("8;x;16"), "x is an invalid tab stop");
    EXPECT_EQ(list.TabStops(), "8");
}

TEST(TabbedText, StopsRepeatFollowAListOrFallBackToTheDefault)
{
    TabStopRule repeating{{60}, 0, 40};
    EXPECT_EQ(nextTabStop(20, repeating, 3), 60);
    EXPECT_EQ(nextTabStop(60, repeating, 3), 120);
    EXPECT_EQ(nextTabStop(61, repeating, 3), 120);

    TabStopRule fromOrigin{{60}, 10, 40};
    EXPECT_EQ(nextTabStop(20, fromOrigin, 3), 70);

    TabStopRule list{{20, 60}, 0, 40};
    EXPECT_EQ(nextTabStop(5, list, 3), 20);
    EXPECT_EQ(nextTabStop(20, list, 3), 60);
    EXPECT_EQ(nextTabStop(70, list, 3), 73); // past the last stop a tab is a blank

    TabStopRule none{{}, 0, 40};
    EXPECT_EQ(nextTabStop(41, none, 3), 80);

    // A stop of zero or less gives no columns instead of an endless search.
    TabStopRule zero{{0}, 0, 40};
    EXPECT_EQ(nextTabStop(41, zero, 3), 44);
    TabStopRule negative{{-5}, 0, 40};
    EXPECT_EQ(nextTabStop(41, negative, 3), 44);
}

TEST_F(PickListFixture, EachClickTogglesOneEntryAndOnChangeFollowsTheFocus)
{
    list.setMultiSelect(true);
    list.setExtendedSelect(false);
    QSignalSpy clicks(&list, &TPickList::OnClick);
    QSignalSpy changes(&list, &TPickList::OnChange);

    clickEntry(1);
    EXPECT_TRUE(list.Selected(1));
    clickEntry(1);
    EXPECT_FALSE(list.Selected(1));
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(changes.count(), 1);

    clickEntry(0);
    clickEntry(2);
    EXPECT_TRUE(list.Selected(0));
    EXPECT_TRUE(list.Selected(2));
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_EQ(changes.count(), 3);

    // The space bar toggles the entry under the caret.
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_FALSE(list.Selected(2));
    EXPECT_EQ(clicks.count(), 5);

    // Picks and the caret set from code tell nobody and toggle nothing.
    list.setAllSelected(true);
    list.setItemIndex(0);
    list.setSelected(1, false);
    EXPECT_EQ(clicks.count(), 5);
    EXPECT_EQ(changes.count(), 3);
    EXPECT_TRUE(list.Selected(0));
    EXPECT_EQ(list.SelCount(), 2);
}

TEST_F(PickListFixture, ExtendedSelectionPicksOneUnlessControlIsHeld)
{
    list.setMultiSelect(true);
    list.setExtendedSelect(true);
    clickEntry(0);
    clickEntry(2);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_TRUE(list.Selected(2));
    clickEntry(0, Qt::ControlModifier);
    EXPECT_EQ(list.SelCount(), 2);
    clickEntry(2, Qt::ControlModifier);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_TRUE(list.Selected(0));
}

// An entry wider than the list ends in an ellipsis: the last few ink columns hold only dots,
// low on the line, with or without tab stops.
TEST_F(PickListFixture, AnEntryTooWideForTheListEndsInAnEllipsis)
{
    for (const bool tabStops : {true, false}) {
        list.setUseTabStops(tabStops);
        list.resize(90, 40);
        list.setItems({"c: [/home/someone/korvel98-snapshots]"});
        const QImage image = render();
        const QRect entry = entryRect(0);
        int last = -1, lowest = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = entry.top(); y <= entry.bottom(); ++y)
                if (image.pixelColor(x, y).lightness() < 128) {
                    last = x;
                    lowest = std::max(lowest, y);
                }
        ASSERT_GT(last, 0);
        int highestNearEnd = lowest;
        for (int x = last - 4; x <= last; ++x)
            for (int y = entry.top(); y <= entry.bottom(); ++y)
                if (image.pixelColor(x, y).lightness() < 128)
                    highestNearEnd = std::min(highestNearEnd, y);
        EXPECT_GE(highestNearEnd, lowest - 6) << (tabStops ? "tab stops" : "plain");
    }
}
