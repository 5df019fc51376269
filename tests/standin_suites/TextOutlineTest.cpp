// Glyph outlines: built from a real font, closed cubic paths in layer
// pixels, and through the text layer and path data suites mapped into the
// composition with absolute tangent points.
#include "SuiteFixture.h"

#include "text/GlyphOutliner.h"

#include <algorithm>
#include <cmath>

using namespace standin;

namespace {

struct Box {
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    void add(double x, double y)
    {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
};

TEST(GlyphOutlinerTest, DejaVuGlyphsAreClosedCubicContoursAboveTheBaseline)
{
    ASSERT_NE(GlyphOutliner::fontFileFor(QStringLiteral("DejaVu Sans")).find("DejaVuSans"), std::string::npos);
    GlyphOutliner outliner;
    std::vector<MaskOutline> o, oo;
    std::string error;
    ASSERT_TRUE(outliner.outlines(QStringLiteral("o"), QStringLiteral("DejaVu Sans"), 100, &o, &error)) << error;
    EXPECT_EQ(o.size(), 2u) << "an o is an outer and an inner contour";
    ASSERT_TRUE(outliner.outlines(QStringLiteral("oo"), QStringLiteral("DejaVu Sans"), 100, &oo, &error));
    ASSERT_EQ(oo.size(), 4u);

    Box box;
    bool curved = false;
    for (const MaskOutline& outline : o) {
        EXPECT_FALSE(outline.open);
        EXPECT_GE(outline.vertexCount(), 3);
        for (size_t i = 0; i < outline.vertices.size(); ++i) {
            const MaskVertex& v = outline.vertices[i];
            box.add(v.x, v.y);
            curved = curved || v.outX != 0 || v.outY != 0;
            const MaskVertex& next = outline.vertices[(i + 1) % outline.vertices.size()];
            EXPECT_FALSE(v.x == next.x && v.y == next.y) << "no zero-length closing segment";
        }
    }
    EXPECT_TRUE(curved) << "quadratic curves become cubic tangents";
    // An "o" at 100 px sits on the baseline (y = 0, y down) about 55 px high.
    EXPECT_GT(box.minY, -60);
    EXPECT_LT(box.minY, -50);
    EXPECT_NEAR(box.maxY, 0, 2);
    EXPECT_GT(box.minX, 0);
    // The second o is the first one moved by the advance.
    const double advance = oo[2].vertices[0].x - oo[0].vertices[0].x;
    EXPECT_GT(advance, 55);
    EXPECT_LT(advance, 70);
    EXPECT_EQ(oo[2].vertices[0].y, oo[0].vertices[0].y);

    std::vector<MaskOutline> none;
    EXPECT_TRUE(outliner.outlines(QString(), QString(), 100, &none, &error));
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(outliner.outlines(QStringLiteral("x"), QString(), 0, &none, &error));
    ASSERT_TRUE(outliner.outlines(QStringLiteral("o\no"), QString(), 100, &none, &error));
    EXPECT_GT(none[2].vertices[0].y, none[0].vertices[0].y + 90) << "a new line moves down";
}

class TextOutlineTest : public SuiteFixture
{
protected:
    Layer* textLayer(const QString& text)
    {
        Layer* layer = addLayer(LayerKind::Text, QStringLiteral("Title"));
        TextDocument doc;
        doc.text = text;
        doc.fontSize = 100;
        layer->setText(doc);
        return layer;
    }
    AEGP_TextOutlinesH outlines(Layer* layer)
    {
        AEGP_TextOutlinesH o = nullptr;
        EXPECT_EQ(suites_->TextLayerSuite1()->AEGP_GetNewTextOutlines(handle(layer), &kTime0, &o), A_Err_NONE);
        return o;
    }
    PF_PathOutlinePtr path(AEGP_TextOutlinesH o, A_long i)
    {
        PF_PathOutlinePtr p = nullptr;
        EXPECT_EQ(suites_->TextLayerSuite1()->AEGP_GetIndexedTextOutline(o, i, &p), A_Err_NONE);
        return p;
    }
};

TEST_F(TextOutlineTest, OutlinesSitWhereTheLayerTransformPutsThem)
{
    Layer* layer = textLayer(QStringLiteral("o"));
    std::vector<MaskOutline> local;
    GlyphOutliner().outlines(QStringLiteral("o"), QStringLiteral("DejaVu Sans"), 100, &local);
    layer->transformStream(TransformStream::Position)->setStaticValue(Value::threeD(300, 200, 0));
    layer->transformStream(TransformStream::Scale)->setStaticValue(Value::threeD(200, 200, 100));
    layer->transformStream(TransformStream::Rotation)->setStaticValue(Value::oneD(90));

    AEGP_TextOutlinesH o = outlines(layer);
    A_long count = 0;
    suites_->TextLayerSuite1()->AEGP_GetNumTextOutlines(o, &count);
    ASSERT_EQ(count, 2);
    const PF_PathDataSuite1* paths = suites_->PathDataSuite1();
    const MaskVertex& v = local[0].vertices[1];
    PF_PathVertex p{};
    ASSERT_EQ(paths->PF_PathVertexInfo(nullptr, path(o, 0), 1, &p), A_Err_NONE);
    // Scale 2, then +x turns to +y, then move to (300, 200).
    EXPECT_NEAR(p.x, 300 - 2 * v.y, 1e-9);
    EXPECT_NEAR(p.y, 200 + 2 * v.x, 1e-9);
    EXPECT_NEAR(p.tan_out_x, 300 - 2 * (v.y + v.outY), 1e-9) << "tangents are absolute points";
    EXPECT_NEAR(p.tan_out_y, 200 + 2 * (v.x + v.outX), 1e-9);
    EXPECT_NEAR(p.tan_in_x, 300 - 2 * (v.y + v.inY), 1e-9);
    suites_->TextLayerSuite1()->AEGP_DisposeTextOutlines(o);
}

TEST_F(TextOutlineTest, PathsAreClosedAndWrapAtIndexS)
{
    AEGP_TextOutlinesH o = outlines(textLayer(QStringLiteral("I")));
    const PF_PathDataSuite1* paths = suites_->PathDataSuite1();
    PF_PathOutlinePtr p = path(o, 0);
    A_Boolean open = true;
    A_long segments = 0;
    paths->PF_PathIsOpen(nullptr, p, &open);
    paths->PF_PathNumSegments(nullptr, p, &segments);
    EXPECT_FALSE(open);
    EXPECT_EQ(segments, 4) << "an I is a rectangle";
    PF_PathVertex first{}, wrapped{};
    paths->PF_PathVertexInfo(nullptr, p, 0, &first);
    ASSERT_EQ(paths->PF_PathVertexInfo(nullptr, p, segments, &wrapped), A_Err_NONE);
    EXPECT_EQ(wrapped.x, first.x);
    EXPECT_EQ(wrapped.y, first.y);
    EXPECT_EQ(paths->PF_PathVertexInfo(nullptr, p, segments + 1, &wrapped), A_Err_PARAMETER);
    EXPECT_EQ(path(o, 0), p) << "the same path every time";
    PF_PathOutlinePtr none = nullptr;
    EXPECT_EQ(suites_->TextLayerSuite1()->AEGP_GetIndexedTextOutline(o, 1, &none), A_Err_PARAMETER);

    EXPECT_EQ(session_->leaks().textOutlines, 1);
    ASSERT_EQ(suites_->TextLayerSuite1()->AEGP_DisposeTextOutlines(o), A_Err_NONE);
    EXPECT_EQ(paths->PF_PathNumSegments(nullptr, p, &segments), A_Err_STRUCT) << "paths go with their outlines";
    EXPECT_EQ(suites_->TextLayerSuite1()->AEGP_DisposeTextOutlines(o), A_Err_STRUCT);
    EXPECT_EQ(session_->leaks().textOutlines, 0);
}

TEST_F(TextOutlineTest, ExplicitOutlinesEmptyTextAndOtherLayers)
{
    Layer* given = textLayer(QStringLiteral("ignored"));
    TextDocument doc = given->text();
    doc.hasOutlines = true;
    doc.outlines = {polygon({{0, 0}, {10, 0}, {10, 10}}), polygon({{0, 0}, {5, 5}}, true)};
    given->setText(doc);
    AEGP_TextOutlinesH o = outlines(given);
    A_long count = 0;
    suites_->TextLayerSuite1()->AEGP_GetNumTextOutlines(o, &count);
    EXPECT_EQ(count, 2);
    A_Boolean open = false;
    suites_->PathDataSuite1()->PF_PathIsOpen(nullptr, path(o, 1), &open);
    EXPECT_TRUE(open);

    suites_->TextLayerSuite1()->AEGP_GetNumTextOutlines(outlines(textLayer(QString())), &count);
    EXPECT_EQ(count, 0);

    AEGP_TextOutlinesH none = nullptr;
    Layer* solid = addLayer(LayerKind::Solid);
    EXPECT_EQ(suites_->TextLayerSuite1()->AEGP_GetNewTextOutlines(handle(solid), &kTime0, &none), A_Err_PARAMETER);
    EXPECT_EQ(none, nullptr);
}

} // namespace
