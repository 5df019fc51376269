#include "outlines/CopyArea.h"

#include "outlines/OutlineLimits.h"
#include "outlines/ShapeLayerOutlines.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr char kVectorGroup[] = "ADBE Vector Group";
constexpr char kStroke[] = "ADBE Vector Graphic - Stroke";
// The host's value of "ADBE Vector Stroke Line Join" for a mitred join.
constexpr double kMiterJoin = 1.0;

std::vector<StrokeSource> strokeSources(const std::vector<ShapeDef>& group, AreaPoint offset)
{
    std::vector<StrokeSource> sources;
    for (const ShapeDef& s : group) {
        if (s.isCircle) {
            // The scene makes the circle about the mean of its four points.
            if (s.points.size() < 4)
                continue;
            StrokeSource circle;
            circle.radius = std::max(0.0, double(s.radius));
            for (size_t k = 0; k < 4; ++k) {
                circle.a.x += (double(s.points[k].x) + offset.x) / 4.0;
                circle.a.y += (double(s.points[k].y) + offset.y) / 4.0;
            }
            sources.push_back(circle);
            continue;
        }
        const size_t n = s.points.size();
        for (size_t k = 0; n > 1 && k < ((s.closed || s.isBox) ? n : n - 1); ++k)
            sources.push_back(StrokeSource{{s.points[k].x + offset.x, s.points[k].y + offset.y},
                                           {s.points[(k + 1) % n].x + offset.x, s.points[(k + 1) % n].y + offset.y}});
    }
    return sources;
}

} // namespace

double largestStretch(double a, double b, double c, double d)
{
    const double sum = a * a + b * b + c * c + d * d;
    const double det = a * d - b * c;
    return std::sqrt((sum + std::sqrt(std::max(0.0, sum * sum - 4.0 * det * det))) / 2.0);
}

AreaPoint mapped(const GroupMatrix& m, AreaPoint p)
{
    AreaPoint q;
    m.map(p.x, p.y, q.x, q.y);
    return q;
}

Polygon strokePiece(const StrokeSource& s, double reach)
{
    Polygon piece;
    if (s.radius >= 0.0) {
        const int sides = DrawnPieces::kCircleSides;
        const double r = (s.radius + reach) / std::cos(M_PI / sides);
        for (int k = 0; k < sides; ++k) {
            const double angle = 2.0 * M_PI * k / sides;
            piece.push_back(AreaPoint{s.a.x + r * std::cos(angle), s.a.y + r * std::sin(angle)});
        }
        return piece;
    }
    return edgeBox(s.a, s.b, reach);
}

DrawnPieces CopyArea::fills() const
{
    DrawnPieces f;
    f.pieces.assign(drawn.pieces.begin(), drawn.pieces.begin() + std::ptrdiff_t(filled));
    return f;
}

GroupsMeet howAreasMeet(const std::vector<CopyArea>& areas, GroupsMeet fillsMeet)
{
    std::vector<DrawnPieces> fills, drawn;
    for (const CopyArea& area : areas) {
        if (area.windingUnheld)
            return GroupsMeet::WindingUnheld;
        fills.push_back(area.fills());
        drawn.push_back(area.drawn);
    }
    if (someAreasOverlap(fills))
        return fillsMeet;
    return someAreasOverlap(drawn) ? GroupsMeet::StrokesMeet : GroupsMeet::Apart;
}

CopyArea drawnBy(const LayerBuild& build, const std::vector<bool>& items, const LayerPlacement& placement,
                 const OutlineFrame& frame, double strokeReach)
{
    std::vector<std::vector<ShapeDef>> outlines;
    b2Vec2 anchor(0.0f, 0.0f), centre(0.0f, 0.0f);
    AEGP_ColorVal color{};
    bool tooMany = false, failed = false, isPath = false, unrepresentable = false;
    float groupRotation = 0.0f;
    PaintedCopy painted;
    painted.items = &items;
    getVectorShapes(nullptr, build.pluginId, build.basic, build.layer, outlines, 0, 0, anchor, kOverlapPrecision,
                    false, placement.sx, placement.sy, A_Matrix4{}, color, tooMany, failed, centre, groupRotation,
                    isPath, &unrepresentable, nullptr, &painted);
    CopyArea area;
    if (outlines.empty() || unrepresentable)
        return area;
    area.windingUnheld = painted.windingUnheld;
    // The outlines are about `centre`, turned as the frame turns.
    const b2Vec2 c = frame.toWorld(centre);
    const AreaPoint offset{c.x, c.y};
    area.drawn.addGroup(outlines.front(), offset);
    // Each body's skin reaches beyond what it draws, so that copies closer
    // than their two skins touch: its pieces count that much larger.
    for (Polygon& piece : area.drawn.pieces)
        if (Polygon grown = grownPiece(piece, outline_limits::kTouchDistance / 2.0); !grown.empty())
            piece = std::move(grown);
    area.filled = area.drawn.pieces.size();
    if (strokeReach > 0.0) {
        area.sources = strokeSources(outlines.front(), offset);
        for (const StrokeSource& s : area.sources)
            area.drawn.pieces.push_back(strokePiece(s, strokeReach));
    }
    return area;
}

A_Err readStrokeReach(const AEGP_SuiteHandler& suites, const LayerBuild& build, AEGP_StreamRefH item,
                      double& reach, int nesting)
{
    const AEGP_PluginID pluginId = build.pluginId;
    std::string name;
    bool on = false;
    A_Err err = matchNameOf(suites, item, name);
    if (!err && (name == kVectorGroup || name == kStroke))
        err = isSwitchedOn(suites, item, on);
    if (err || !on)
        return err;
    if (name == kVectorGroup) {
        ScopedStream contents(suites);
        err = nesting < kMaxGroupNesting ? childByMatchName(suites, pluginId, item, "ADBE Vectors Group", contents)
                                         : A_Err_GENERIC;
        if (!err && contents)
            err = forEachChild(suites, pluginId, contents.get(), [&](size_t, AEGP_StreamRefH child) {
                return readStrokeReach(suites, build, child, reach, nesting + 1);
            });
        return err;
    }
    AEGP_StreamVal2 width{}, join{}, miter{};
    err = readChildValue(suites, pluginId, item, "ADBE Vector Stroke Width", width);
    if (!err)
        err = readChildValue(suites, pluginId, item, "ADBE Vector Stroke Line Join", join);
    if (!err)
        err = readChildValue(suites, pluginId, item, "ADBE Vector Stroke Miter Limit", miter);
    ItemPlacement placement;
    if (!err)
        err = readItemPlacement(pluginId, build.basic, build.layer, item, placement);
    if (err)
        return err;
    const b2Vec2 x = placement.placeVector(b2Vec2(1.0f, 0.0f)), y = placement.placeVector(b2Vec2(0.0f, 1.0f));
    const double stretch = largestStretch(x.x, y.x, x.y, y.y);
    const double corner = join.one_d == kMiterJoin ? std::max(1.0, miter.one_d) : 1.0;
    const double r = std::max(0.0, width.one_d) / 2.0 * corner * stretch / 100.0;
    if (!std::isfinite(r))
        return A_Err_GENERIC;
    reach = std::max(reach, r);
    return A_Err_NONE;
}
