#include "outlines/TextOutlines.h"

#include "host/AEGP_SuiteHandler.h"
#include "model/ArraySearch.h"
#include "model/ConvexHull.h"
#include "model/OutlineDiscretisation.h"
#include "outlines/HostStreams.h"
#include "outlines/OutlineAssembly.h"

namespace {

// The host's text outlines, given back when done.
class ScopedTextOutlines
{
public:
    explicit ScopedTextOutlines(const AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~ScopedTextOutlines()
    {
        if (outlines_)
            suites_.TextLayerSuite1()->AEGP_DisposeTextOutlines(outlines_);
    }
    ScopedTextOutlines(const ScopedTextOutlines&) = delete;
    ScopedTextOutlines& operator=(const ScopedTextOutlines&) = delete;

    AEGP_TextOutlinesH* out() { return &outlines_; }
    AEGP_TextOutlinesH get() const { return outlines_; }

private:
    const AEGP_SuiteHandler& suites_;
    AEGP_TextOutlinesH outlines_ = nullptr;
};

// One glyph outline; tangent points come absolute and leave relative.
A_Err readGlyph(const AEGP_SuiteHandler& suites, PF_PathOutlinePtr path, const LayerBuild& build,
                std::vector<b2Vec2>& hullPoints, std::vector<ShapeDef>& glyphs)
{
    const PF_PathDataSuite1* paths = suites.PathDataSuite1();
    A_long segments = 0;
    A_Err err = paths->PF_PathNumSegments(nullptr, path, &segments);
    if (err || segments <= 0)
        return err;
    A_Boolean open = false;
    err = paths->PF_PathIsOpen(nullptr, path, &open);
    const double aspect = build.compAspect;
    ShapeDef s;
    std::vector<b2Vec2> glyphHull;
    PointLookup kept;
    for (A_long j = 0; !err && j <= segments; ++j) {
        if (!open && j == segments)
            break;  // the first vertex again
        PF_PathVertex v{};
        err = paths->PF_PathVertexInfo(nullptr, path, j, &v);
        if (err)
            break;
        const b2Vec2 p(float(v.x * aspect), float(v.y));
        if (kept.contains(p))
            continue;
        kept.insert(p);
        s.points.push_back(p);
        s.inTangents.emplace_back(float((v.tan_in_x - v.x) * aspect), float(v.tan_in_y - v.y));
        s.outTangents.emplace_back(float((v.tan_out_x - v.x) * aspect), float(v.tan_out_y - v.y));
        if (build.hull)
            glyphHull.push_back(p);
    }
    if (err)
        return err;
    s.closed = !open;
    discretizeShape(s, build.precision);
    glyphs.push_back(std::move(s));
    hullPoints.insert(hullPoints.end(), glyphHull.begin(), glyphHull.end());
    return err;
}

}  // namespace

bool buildTextBody(const LayerBuild& build, MyBody& body, AEGP_ColorVal& bodyColor)
{
    const LayerPlacement placement = readLayerPlacement(build);
    AEGP_SuiteHandler suites(build.basic);
    ScopedTextOutlines text(suites);
    if (suites.TextLayerSuite1()->AEGP_GetNewTextOutlines(build.layer, &kTimeZero, text.out()) || !text.get())
        return false;

    std::vector<ShapeDef> glyphs;
    std::vector<b2Vec2> hullPoints;
    A_long count = 0;
    A_Err err = suites.TextLayerSuite1()->AEGP_GetNumTextOutlines(text.get(), &count);
    for (A_long i = 0; !err && i < count; ++i) {
        PF_PathOutlinePtr path = nullptr;
        err = suites.TextLayerSuite1()->AEGP_GetIndexedTextOutline(text.get(), i, &path);
        if (!err)
            err = readGlyph(suites, path, build, hullPoints, glyphs);
    }
    if (build.hull) {
        glyphs.clear();
        if (!hullPoints.empty()) {
            ShapeDef s;
            s.points = getHull(hullPoints);
            s.closed = true;
            glyphs.push_back(std::move(s));
        }
    }

    // Glyph outlines fill non-zero together: the inner outline of an "O",
    // wound the other way, is a hole; letters that overlap add.
    OutlineSet set;
    set.fill = OutlineFill::Painted;
    set.outlines = std::move(glyphs);
    const b2Vec2 reference = compositionPoint(build, placement.matrix, placement.anchor);
    OutlineFrame frame;
    frame.origin = reference;
    const AssembledOutlines assembled = assembleOutlines(build.parent, set, build.hull, frame);
    if (assembled.unrepresentable)
        build.outlineUnrepresentable = true;
    if (assembled.filledAsHull)
        build.outlineFilledAsHull = true;

    const b2Vec2 centre = worldPoint(build, reference);
    const AEGP_ColorVal white{1.0, 1.0, 1.0, 1.0};
    body.outlines.assign(1, assembled.group);
    body.position = body.committedPosition = body.initialPosition = centre;
    body.layerAnchor = placement.anchor;
    body.isLayerBox = false;
    body.angle = 0.0f;
    body.initialRotation = layerRotation(build);
    body.color = white;
    body.labelColor = build.labelColor;
    body.tooManyPolygons = assembled.tooManyPolygons();
    body.triangulationFailed = assembled.selfIntersecting;
    body.rotationIsRelative = true;
    bodyColor = white;
    return true;
}
