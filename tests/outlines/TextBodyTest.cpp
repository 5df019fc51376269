// Bodies of text layers: glyph outlines from the stand-in host.
#include "OutlineFixture.h"

#include "model/PolygonUtils.h"
#include "text/GlyphOutliner.h"

#include <cmath>

namespace {

using namespace outline_test;

QByteArray textLayer(const QByteArray& text, const QByteArray& transform = R"({"position": [500, 250]})",
                     const QByteArray& extra = QByteArray())
{
    return R"({"type": "text", "transform": )" + transform + R"(, "text": )" + text
           + (extra.isEmpty() ? QByteArray() : ", " + extra) + "}";
}

// Glyph outlines given in layer pixels: a 100 x 100 square, an open zigzag of
// four segments, and a triangle repeating a vertex; far apart.
const QByteArray kGlyphs = R"({"text": "x", "outlines": [
    {"closed": true, "vertices": [[0, 0], [100, 0], [100, 100], [0, 100]]},
    {"closed": false, "vertices": [[200, 0], [220, 50], [240, 0], [260, 50], [280, 0]]},
    {"closed": true, "vertices": [[400, 0], [500, 0], [400, 0], [450, 80]]}]})";

TEST(TextBody, GlyphOutlinesBecomeTrianglesAndLines)
{
    Scene scene(composition(textLayer(kGlyphs, R"({"position": [300, 200], "anchorPoint": [100, 0]})")));
    const MyBody body = scene.body(0);
    ASSERT_EQ(group(body).size(), 1u + 2u + 1u);
    const ShapeDef& line = group(body)[0];
    ASSERT_TRUE(isOpenOutline(line));
    EXPECT_EQ(line.points.size(), 5u);
    // About the anchor's place in the composition, in reverse order.
    EXPECT_EQ(line.points.front(), b2Vec2(1.8f, 0.0f));
    EXPECT_EQ(line.points.back(), b2Vec2(1.0f, 0.0f));
    EXPECT_EQ(countIf(body, isTriangle), 3);
    EXPECT_NEAR(filledArea(body), 1.0 + 0.5 * 1.0 * 0.8, 1e-4);
    for (const ShapeDef& s : group(body)) {
        if (isTriangle(s)) {
            EXPECT_EQ(ClockWise(s.points), 0);
        }
    }
    EXPECT_EQ(body.position, compToWorld(300, 200));
    EXPECT_EQ(body.layerAnchor, b2Vec2(100.0f, 0.0f));
    EXPECT_EQ(body.angle, 0.0f);
    EXPECT_TRUE(body.rotationIsRelative);
    EXPECT_FALSE(body.isLayerBox);
    EXPECT_FALSE(body.triangulationFailed);
    EXPECT_EQ(body.color.red, 1.0);
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(TextBody, RotationStaysApartFromTheOutlines)
{
    Scene scene(composition(textLayer(kGlyphs, R"({"position": [300, 200], "rotation": 30})")));
    const MyBody body = scene.body(0);
    EXPECT_EQ(body.angle, 0.0f);
    EXPECT_NEAR(body.initialRotation, 30 * 0.017453292f, 1e-6);
    EXPECT_TRUE(body.rotationIsRelative);
    // The points are where the host draws the glyphs, already turned.
    const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
    EXPECT_TRUE(covers(body, compToWorld(300 + 50 * c - 50 * s, 200 + 50 * s + 50 * c)));
    EXPECT_FALSE(covers(body, compToWorld(350, 250 - 45)));
}

TEST(TextBody, HullOfAllLetters)
{
    Scene scene(composition(
        textLayer(kGlyphs) + "," + textLayer(R"({"text": "", "outlines": []})") + ","
        + textLayer(R"({"text": "ZOLVAR", "font": "DejaVu Sans", "size": 96})")));
    const MyBody hull = scene.body(0, 2, true);
    EXPECT_EQ(countIf(hull, isOpenOutline), 0);
    // The hull of (0, 0), (500, 0), (450, 80), (100, 100), (0, 100).
    EXPECT_NEAR(filledArea(hull), 4.35, 1e-4);
    EXPECT_TRUE(covers(hull, hull.position + b2Vec2(3.0f, 0.2f)));

    // No glyph at all: no hull to take, no outlines.
    const MyBody empty = scene.body(1, 2, true);
    ASSERT_EQ(empty.outlines.size(), 1u);
    EXPECT_TRUE(empty.outlines[0].empty());

    // A word in a real font: both ways, nothing the engine would refuse.
    const MyBody word = scene.body(2, 2, false);
    EXPECT_GT(countIf(word, isTriangle), 30);
    expectEngineAccepts(word);
    const MyBody wordHull = scene.body(2, 2, true);
    EXPECT_GT(filledArea(wordHull), filledArea(word));
    expectEngineAccepts(wordHull);
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(TextBody, MasksWinAndMissingOutlinesChangeNothing)
{
    Scene scene(composition(
        textLayer(kGlyphs, R"({"position": [300, 200]})",
                  R"("masks": [{"shape": {"closed": true, "vertices": [[0, 0], [100, 0], [100, 50], [0, 50]]}}])")
        + "," + textLayer(kGlyphs)));
    const MyBody masked = scene.body(0);
    ASSERT_EQ(group(masked).size(), 1u);
    EXPECT_TRUE(group(masked)[0].isBox);
    EXPECT_FALSE(masked.rotationIsRelative);

    scene.session->faults().failEvery("AEGP Text Layer Suite", standin::FaultInjector::kAnyVersion, 0);
    std::vector<MyBody> bodies(1);
    bodies[0].position.Set(7, 8);
    bodies[0].color = AEGP_ColorVal{1, 0.1, 0.2, 0.3};
    scene.build(bodies, 0, 1);
    EXPECT_TRUE(bodies[0].outlines.empty());
    EXPECT_EQ(bodies[0].position, b2Vec2(7, 8));
    EXPECT_EQ(bodies[0].color.red, 0.1);
    EXPECT_EQ(bodies[0].index, 1);  // the header is written
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

// Glyph outlines fill non-zero together, as the host paints text: the inner
// outline of an "O" stays a hole, and letters set so tight that they overlap
// add up.
TEST(TextBody, OverlappingLettersAddAndCountersStayHoles)
{
    standin::GlyphOutliner outliner;
    std::vector<standin::MaskOutline> o;
    ASSERT_TRUE(outliner.outlines(QStringLiteral("O"), QStringLiteral("DejaVu Sans"), 120, &o));
    double right = 0.0;
    for (const standin::MaskOutline& contour : o)
        for (const standin::MaskVertex& v : contour.vertices)
            right = std::max(right, v.x);
    // "OOO" set as a script font might, each letter moved right by a third of
    // its width and down by 15 px: each overlaps the next, which starts in
    // the stroke of the one before it.
    QByteArray outlines;
    for (int letter = 0; letter < 3; ++letter)
        for (const standin::MaskOutline& contour : o) {
            QByteArray vertices;
            for (const standin::MaskVertex& v : contour.vertices)
                vertices += (vertices.isEmpty() ? "[" : ", [")
                            + QStringLiteral("%1, %2, %3, %4, %5, %6]")
                                  .arg(v.x + letter * right / 3).arg(v.y + letter * 15).arg(v.inX).arg(v.inY).arg(v.outX)
                                  .arg(v.outY).toUtf8();
            outlines += (outlines.isEmpty() ? "" : ", ") + QByteArray(R"({"closed": true, "vertices": [)") + vertices
                        + "]}";
        }
    Scene scene(composition(textLayer(R"({"text": "OOO", "outlines": [)" + outlines + "]}") + ","
                            + textLayer(R"({"text": "ZOLVAR", "font": "DejaVu Sans", "size": 120})")));
    for (int layer : {0, 1}) {
        const MyBody word = scene.body(layer, 6);
        EXPECT_FALSE(word.triangulationFailed);
        expectBodyIsDrawn(scene, layer, word, 1.5);
        expectEngineAccepts(word);
    }
}

}  // namespace
