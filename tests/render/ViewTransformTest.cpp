// The view's conversions between widget pixels and world units, the fit
// zoom, and the overlay geometry, without a display.
#include "render/GLWidget.h"
#include "render/OverlayGeometry.h"
#include "render/ViewTransform.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ViewTransform view(float aspect, float zoom, float panX = 0.0f, float panY = 0.0f)
{
    ViewTransform t;
    t.aspect = aspect;
    t.zoom = zoom;
    t.panX = panX;
    t.panY = panY;
    return t;
}

TEST(ViewTransform, WidgetShowsThirtyUnitsHighAtZoom100)
{
    // 800 x 400: aspect 2, world x from -30 to 30.
    const ViewTransform t = view(viewAspect(800, 400), 100.0f);
    EXPECT_FLOAT_EQ(t.aspect, 2.0f);
    EXPECT_FLOAT_EQ(t.worldX(0.0f, 800.0f), -30.0f);
    EXPECT_FLOAT_EQ(t.worldX(800.0f, 800.0f), 30.0f);
    EXPECT_FLOAT_EQ(t.worldY(0.0f, 400.0f), -15.0f);
    EXPECT_FLOAT_EQ(t.worldY(400.0f, 400.0f), 15.0f);
    EXPECT_FLOAT_EQ(t.widgetX(0.0f, 800.0f), 400.0f);

    // Zoom 250: world (1, 0) lands 400 + 2.5 x 800 / 60 pixels from the left.
    const ViewTransform zoomed = view(2.0f, 250.0f);
    EXPECT_NEAR(zoomed.widgetX(1.0f, 800.0f), 433.333f, 1e-3f);
    EXPECT_FLOAT_EQ(zoomed.widgetY(0.0f, 400.0f), 200.0f);
}

TEST(ViewTransform, PanAppliesAfterZoomAndConversionsRoundTrip)
{
    const ViewTransform t = view(4.0f / 3.0f, 200.0f, 1.5f, -0.5f);
    // 20 pixels per world unit; world (-1.5, 0.5) is at the centre.
    EXPECT_FLOAT_EQ(t.widgetX(-1.5f, 400.0f), 200.0f);
    EXPECT_FLOAT_EQ(t.widgetY(0.5f, 300.0f), 150.0f);
    EXPECT_NEAR(t.widgetX(0.0f, 400.0f), 230.0f, 1e-4f);
    for (float x : {-7.0f, 0.0f, 3.25f}) {
        EXPECT_NEAR(t.worldX(t.widgetX(x, 400.0f), 400.0f), x, 1e-4f);
        EXPECT_NEAR(t.worldY(t.widgetY(x, 300.0f), 300.0f), x, 1e-4f);
    }
}

TEST(ViewTransform, NoAreaOrNoZoomNeverDividesByZero)
{
    EXPECT_FLOAT_EQ(viewAspect(640, 0), 1.0f);
    const ViewTransform flat = view(0.0f, 100.0f, 2.0f, 3.0f);
    EXPECT_FLOAT_EQ(flat.worldX(10.0f, 0.0f), -2.0f);
    EXPECT_FLOAT_EQ(flat.worldY(10.0f, 0.0f), -3.0f);
    EXPECT_FLOAT_EQ(flat.widgetX(5.0f, 0.0f), 0.0f);
    const ViewTransform unzoomed = view(1.0f, 0.0f, 2.0f, 3.0f);
    EXPECT_FLOAT_EQ(unzoomed.worldX(10.0f, 100.0f), -2.0f);
    EXPECT_FLOAT_EQ(unzoomed.worldY(10.0f, 100.0f), -3.0f);
    EXPECT_FLOAT_EQ(unzoomed.widgetY(5.0f, 100.0f), 50.0f);
}

TEST(ViewTransform, FitZoomByTheTighterSideAndNothingWithoutArea)
{
    // Wide composition in a less wide view: 3000 / 1920 x (800 / 600) x 100 - 5.
    EXPECT_EQ(fitZoom(800, 600, 1920, 1080), 203);
    // Tall composition: 3000 / 2000 x 100 - 20.
    EXPECT_EQ(fitZoom(800, 600, 1000, 2000), 130);
    EXPECT_FALSE(fitZoom(0, 600, 1920, 1080));
    EXPECT_FALSE(fitZoom(800, 0, 1920, 1080));
    EXPECT_FALSE(fitZoom(800, 600, 0, 1080));
}

TEST(ViewTransform, RotatePointTurnsByTheAngleAboutTheCentre)
{
    const b2Vec2 p = GLWidget::rotatePoint(b2Vec2(2, 1), b2Vec2(1, 1), 3.14159265f / 2);
    EXPECT_NEAR(p.x, 1.0f, 1e-6f);
    EXPECT_NEAR(p.y, 0.0f, 1e-6f);
}

TEST(OverlayGeometry, SpringCoilOfFivePeaksInTheMiddle)
{
    const std::vector<b2Vec2> lines = springLines(b2Vec2(0, 0), b2Vec2(2, 0));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines.front().x, 0.0f);
    EXPECT_EQ(lines.back().x, 2.0f);
    EXPECT_NEAR(lines[1].x, 0.9f, 1e-6f);   // the coil starts 0.1 before the middle
    EXPECT_NEAR(lines[13].x, 1.1f, 1e-6f);  // and ends 0.1 after
    for (int k = 0; k < 5; ++k) {
        const b2Vec2 peak = lines[size_t(3 + 2 * k)];
        EXPECT_NEAR(peak.x, 0.9f + 0.02f * float(2 * k + 1), 1e-6f);
        EXPECT_NEAR(peak.y, k % 2 == 0 ? 0.05f : -0.05f, 1e-6f);
    }
    // Coinciding anchors collapse to a point.
    for (const b2Vec2& p : springLines(b2Vec2(1, 1), b2Vec2(1, 1)))
        EXPECT_TRUE(p.IsValid() && p.x == 1.0f && p.y == 1.0f);
}

TEST(OverlayGeometry, TrajectoryIsEightSecondsOfThrowUnderHalfGravity)
{
    const b2Vec2 p0(1, 2);
    const b2Vec2 g(0, 5);  // half of 10 downwards
    const std::vector<b2Vec2> path = velocityTrajectory(p0, 0.0f, 3.0f, g);
    EXPECT_NEAR(double(path.size()), 1600.0, 1.0);
    EXPECT_EQ(path.front().x, 1.0f);
    EXPECT_EQ(path.front().y, 2.0f);
    // t = 1 s (step 200): 3 units along, 5 down.
    EXPECT_NEAR(path[200].x, 4.0f, 1e-3f);
    EXPECT_NEAR(path[200].y, 7.0f, 1e-3f);
    EXPECT_TRUE(velocityTrajectory(p0, std::nanf(""), 3.0f, g).empty());
}

} // namespace
