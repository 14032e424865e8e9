#include "charts/Projection3D.h"

#include <gtest/gtest.h>

namespace {

const QRectF front(100, 100, 400, 200);

void expectNear(const QPointF &a, const QPointF &b)
{
    EXPECT_NEAR(a.x(), b.x(), 1e-6);
    EXPECT_NEAR(a.y(), b.y(), 1e-6);
}

} // namespace

TEST(Projection3D, OrthogonalDepthGoesUpAndRight)
{
    const Projection3D view(front, 100, {100, 345, 345, 15, true});
    expectNear(view.map(100, 300, 0), QPointF(100, 300)); // the front plane stays put
    const QPointF back = view.map(100, 300, 100);
    EXPECT_NEAR(back.x() - 100, 100 * Projection3D::obliqueShare(), 1e-6);
    EXPECT_NEAR(300 - back.y(), 100 * Projection3D::obliqueShare(), 1e-6);
    EXPECT_GT(view.distance(0, 0, 100), view.distance(0, 0, 0));
}

TEST(Projection3D, ZoomScalesAboutTheCentreOfTheBox)
{
    const Projection3D full(front, 0, {100, 360, 360, 0, true});
    const Projection3D half(front, 0, {50, 360, 360, 0, true});
    const QPointF centre = front.center();
    expectNear(half.map(centre.x(), centre.y(), 0), centre);
    expectNear(half.map(front.left(), front.top(), 0),
               centre + (full.map(front.left(), front.top(), 0) - centre) * 0.5);
}

TEST(Projection3D, StraightViewWithoutPerspectiveShowsTheFrontAsItIs)
{
    // Rotation and elevation 360 look straight at the front: the depth collapses onto it.
    const Projection3D view(front, 40, {100, 360, 360, 0, false});
    const QPointF a = view.map(150, 120, 0), b = view.map(150, 120, 40);
    EXPECT_NEAR(a.x(), b.x(), 1e-6);
    EXPECT_NEAR(a.y(), b.y(), 1e-6);
    // Turned a quarter, the box shows its side: front-plane points line up on one vertical.
    const Projection3D side(front, 40, {100, 270, 360, 0, false});
    EXPECT_NEAR(side.map(100, 120, 20).x(), side.map(500, 120, 20).x(), 1e-6);
    // With a perspective, the back looks smaller than the front.
    const Projection3D deep(front, 200, {100, 360, 360, 50, false});
    const double frontWidth = deep.map(500, 200, 0).x() - deep.map(100, 200, 0).x();
    const double backWidth = deep.map(500, 200, 200).x() - deep.map(100, 200, 200).x();
    EXPECT_LT(backWidth, frontWidth);
}
