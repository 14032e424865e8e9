#include "controls/GradientBack.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QImage render(TGradientBack &back)
{
    return back.grab().toImage();
}

} // namespace

TEST(GradientBack, BandsOfTheMainWindowHeight)
{
    // 482 rows: bands of three rows; the first two bands start at the top, so band 1 covers
    // band 0, and the last band reaches the bottom.
    EXPECT_EQ(TGradientBack::bandHeight(482), 3);
    EXPECT_EQ(TGradientBack::bandTop(482, 0), 0);
    EXPECT_EQ(TGradientBack::bandTop(482, 1), 0);
    EXPECT_EQ(TGradientBack::bandTop(482, 2), 2);
    EXPECT_EQ(TGradientBack::bandTop(482, 255), 480);
    EXPECT_GE(TGradientBack::bandTop(482, 255) + TGradientBack::bandHeight(482), 482);
}

TEST(GradientBack, ZeroHeightAndNoGapsForAnyHeight)
{
    EXPECT_EQ(TGradientBack::bandHeight(0), 1);
    for (int i = 0; i < TGradientBack::colourCount; ++i)
        EXPECT_EQ(TGradientBack::bandTop(0, i), 0);

    for (int h : {1, 2, 100, 254, 255, 256, 482, 768, 1200}) {
        const int band = TGradientBack::bandHeight(h);
        for (int i = 1; i < TGradientBack::colourCount; ++i)
            ASSERT_LE(TGradientBack::bandTop(h, i), TGradientBack::bandTop(h, i - 1) + band)
                << "gap above band " << i << " at height " << h;
        EXPECT_GE(TGradientBack::bandTop(h, 255) + band, h) << "bottom not reached at " << h;
    }
}

TEST(GradientBack, PaintsBlueToBlackOrBlueToRed)
{
    QWidget window;
    window.resize(200, 482);
    TGradientBack back(&window);
    EXPECT_EQ(back.size(), window.size());
    EXPECT_FALSE(back.isAllBlue());

    back.setIsAllBlue(true);
    QImage all = render(back);
    EXPECT_EQ(all.pixelColor(10, 0), QColor(0, 0, 254)); // band 1 covers band 0
    EXPECT_EQ(all.pixelColor(199, 481), QColor(0, 0, 0));
    EXPECT_EQ(all.pixelColor(100, 241).red(), 0);

    back.setIsAllBlue(false);
    QImage mixed = render(back);
    EXPECT_EQ(mixed.pixelColor(10, 0), QColor(1, 0, 254));
    EXPECT_EQ(mixed.pixelColor(10, 481), QColor(255, 0, 0));
    const QColor middle = mixed.pixelColor(10, 241);
    EXPECT_GT(middle.red(), 100);
    EXPECT_GT(middle.blue(), 100); // purple half way
}

TEST(GradientBack, FollowsItsParentsSize)
{
    QWidget window;
    window.resize(300, 200);
    TGradientBack back(&window);
    window.show(); // a hidden window keeps its resize events until it shows
    window.resize(640, 480);
    EXPECT_EQ(back.geometry(), QRect(0, 0, 640, 480));
}
