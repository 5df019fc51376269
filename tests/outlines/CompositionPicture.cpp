#include "CompositionPicture.h"

#include "project/Item.h"
#include "project/Layer.h"
#include "project/MatchNames.h"
#include "project/Transform.h"
#include "text/GlyphOutliner.h"

#include <QLatin1String>

#include <cmath>
#include <cstdio>

namespace separation_test {

namespace {

using standin::Layer;
using standin::PropertyNode;
using standin::Value;
using standin::ValueType;

std::string number(double v)
{
    char text[64];
    const double rounded = std::round(v * 1e6) / 1e6;
    std::snprintf(text, sizeof text, "%.6f", rounded == 0.0 ? 0.0 : rounded);
    return text;
}

std::string valueText(const Value& value)
{
    std::string text;
    if (value.type == ValueType::Shape) {
        text = value.shape.open ? "open[" : "closed[";
        for (const standin::MaskVertex& v : value.shape.vertices)
            text += "(" + number(v.x) + " " + number(v.y) + " " + number(v.inX) + " " + number(v.inY) + " "
                    + number(v.outX) + " " + number(v.outY) + ")";
        return text + "]";
    }
    text = "(";
    for (int i = 0; i < standin::componentCount(value.type); ++i)
        text += (i ? " " : "") + number(value.v[i]);
    return text + ")";
}

bool is(const PropertyNode* node, const char* matchName) { return node->matchName() == QLatin1String(matchName); }

bool isShapeItem(const PropertyNode* node)
{
    return is(node, standin::match::kPathItem) || is(node, standin::match::kRect) || is(node, standin::match::kEllipse)
           || is(node, standin::match::kStar);
}

// Every leaf below a node, depth first, with its value at t.
std::string leavesText(const PropertyNode* node, const A_Time& t)
{
    std::string text;
    for (int i = 0; i < node->childCount(); ++i) {
        const PropertyNode* child = node->child(i);
        if (child->isLeaf())
            text += " " + child->matchName().toStdString() + "=" + valueText(child->valueAt(t, false));
        else
            text += leavesText(child, t);
    }
    return text;
}

A_Matrix4 translation(double x, double y)
{
    A_Matrix4 m = standin::identityMatrix();
    m.mat[3][0] = x;
    m.mat[3][1] = y;
    return m;
}

// A group's own factor T(-A) S R T(P) at t.
A_Matrix4 groupMatrix(const PropertyNode* group, const A_Time& t)
{
    const PropertyNode* transform = group->childByMatchName(QLatin1String(standin::match::kVectorTransformGroup));
    if (!transform)
        return standin::identityMatrix();
    auto leaf = [&](const char* name) {
        const PropertyNode* node = transform->childByMatchName(QLatin1String(name));
        return node ? node->valueAt(t, false) : Value();
    };
    const Value anchor = leaf(standin::match::kVectorAnchor), position = leaf(standin::match::kVectorPosition),
                scale = leaf(standin::match::kVectorScale), rotation = leaf(standin::match::kVectorRotation);
    A_Matrix4 s = standin::identityMatrix();
    s.mat[0][0] = scale.x() / 100.0;
    s.mat[1][1] = scale.y() / 100.0;
    const double a = rotation.x() * M_PI / 180.0;
    A_Matrix4 r = standin::identityMatrix();
    r.mat[0][0] = std::cos(a);
    r.mat[0][1] = std::sin(a);
    r.mat[1][0] = -std::sin(a);
    r.mat[1][1] = std::cos(a);
    A_Matrix4 m = standin::multiply(translation(-anchor.x(), -anchor.y()), s);
    m = standin::multiply(m, r);
    return standin::multiply(m, translation(position.x(), position.y()));
}

std::string matrixText(const A_Matrix4& m)
{
    std::string text = "at[";
    for (const auto& [x, y] : {std::pair<double, double>{0, 0}, {1, 0}, {0, 1}}) {
        double cx = 0, cy = 0;
        standin::mapPoint(m, x, y, &cx, &cy);
        text += "(" + number(cx) + " " + number(cy) + ")";
    }
    return text + "]";
}

double seconds(const A_Time& t) { return t.scale ? double(t.value) / double(t.scale) : 0.0; }

bool drawsAt(const Layer& layer, const A_Time& t)
{
    const double now = seconds(t), in = seconds(layer.inPoint());
    return (layer.flags() & AEGP_LayerFlag_VIDEO_ACTIVE) && now >= in && now < in + seconds(layer.duration());
}

std::string layerText(const Layer& layer, const A_Time& t)
{
    char flags[32];
    std::snprintf(flags, sizeof flags, "0x%x", unsigned(layer.flags()));
    std::string text = "layer opacity=" + valueText(layer.transformStream(standin::TransformStream::Opacity)->valueAt(t, false))
                       + " flags=" + flags + " label=" + std::to_string(layer.label()) + " masks{";
    for (int i = 0; i < layer.maskCount(); ++i) {
        const PropertyNode* mask = layer.maskAtom(i);
        if (!mask->isEnabled())
            continue;
        const standin::MaskAttributes& a = mask->maskAttributes();
        text += " mode=" + std::to_string(a.mode) + (a.inverted ? " inverted" : "") + leavesText(mask, t) + ";";
    }
    return text + "} " + matrixText(standin::layerToWorld(layer, t));
}

// What paints a shape: the switched-on items after it in a group that are
// neither groups nor shapes, from its own group out.
using Painters = std::vector<std::string>;

void drawGroupContents(const PropertyNode* contents, const A_Matrix4& m, double opacity, const Painters& outer,
                       const std::string& layer, const A_Time& t, std::vector<std::string>& lines)
{
    for (int i = 0; i < contents->childCount(); ++i) {
        const PropertyNode* item = contents->child(i);
        if (!item->isEnabled() || !(isShapeItem(item) || is(item, standin::match::kVectorGroup)))
            continue;
        Painters painters;
        for (int j = i + 1; j < contents->childCount(); ++j) {
            const PropertyNode* after = contents->child(j);
            if (after->isEnabled() && !isShapeItem(after) && !is(after, standin::match::kVectorGroup))
                painters.push_back(after->matchName().toStdString() + leavesText(after, t));
        }
        painters.insert(painters.end(), outer.begin(), outer.end());
        if (is(item, standin::match::kVectorGroup)) {
            const PropertyNode* transform =
                item->childByMatchName(QLatin1String(standin::match::kVectorTransformGroup));
            const PropertyNode* groupOpacity =
                transform ? transform->childByMatchName(QLatin1String(standin::match::kVectorGroupOpacity)) : nullptr;
            const PropertyNode* inside = item->childByMatchName(QLatin1String(standin::match::kVectorsGroup));
            if (inside)
                drawGroupContents(inside, standin::multiply(groupMatrix(item, t), m),
                                  opacity * (groupOpacity ? groupOpacity->valueAt(t, false).x() / 100.0 : 1.0),
                                  painters, layer, t, lines);
            continue;
        }
        std::string line = layer + " | " + item->matchName().toStdString() + leavesText(item, t) + " "
                           + matrixText(m) + " opacity=" + number(opacity) + " painted by{";
        for (const std::string& p : painters)
            line += " " + p + ";";
        lines.push_back(line + "}");
    }
}

// An outline's cubic path through `m`, tangents relative to their vertex.
QPainterPath outlinePath(const standin::MaskOutline& outline, const A_Matrix4& m)
{
    QPainterPath path;
    const auto at = [&](double x, double y) {
        double cx = 0, cy = 0;
        standin::mapPoint(m, x, y, &cx, &cy);
        return QPointF(cx, cy);
    };
    const std::vector<standin::MaskVertex>& v = outline.vertices;
    if (v.empty())
        return path;
    path.moveTo(at(v[0].x, v[0].y));
    const size_t segments = outline.open ? v.size() - 1 : v.size();
    for (size_t i = 0; i < segments; ++i) {
        const standin::MaskVertex& a = v[i];
        const standin::MaskVertex& b = v[(i + 1) % v.size()];
        path.cubicTo(at(a.x + a.outX, a.y + a.outY), at(b.x + b.inX, b.y + b.inY), at(b.x, b.y));
    }
    if (!outline.open)
        path.closeSubpath();
    return path;
}

Value leafValue(const PropertyNode* item, const char* matchName, const A_Time& t)
{
    const PropertyNode* leaf = item->childByMatchName(QLatin1String(matchName));
    return leaf ? leaf->valueAt(t, false) : Value();
}

// A rectangle or ellipse as the host draws it: clockwise on screen, an
// ellipse from its top.
standin::MaskOutline primitiveOutline(const PropertyNode* item, const A_Time& t)
{
    standin::MaskOutline o;
    if (is(item, standin::match::kRect)) {
        const Value size = leafValue(item, standin::match::kRectSize, t);
        const Value at = leafValue(item, standin::match::kRectPosition, t);
        const double l = at.x() - size.x() / 2, r = at.x() + size.x() / 2;
        const double top = at.y() - size.y() / 2, b = at.y() + size.y() / 2;
        o.vertices = {{l, top}, {r, top}, {r, b}, {l, b}};
    } else {
        const Value size = leafValue(item, standin::match::kEllipseSize, t);
        const Value at = leafValue(item, standin::match::kEllipsePosition, t);
        const double w = size.x() / 2, h = size.y() / 2, kx = 0.5522847498 * w, ky = 0.5522847498 * h;
        o.vertices = {{at.x(), at.y() - h, -kx, 0, kx, 0},
                      {at.x() + w, at.y(), 0, -ky, 0, ky},
                      {at.x(), at.y() + h, kx, 0, -kx, 0},
                      {at.x() - w, at.y(), 0, ky, 0, -ky}};
    }
    return o;
}

// A star or polygon as the host draws it: its first outer point straight up
// from its position (before its rotation), the points following clockwise
// on screen, a star's inner points halfway between. A roundness gives each
// point tangents across its radius, half the radius long at 100 %.
standin::MaskOutline starOutline(const PropertyNode* item, const A_Time& t)
{
    standin::MaskOutline o;
    const int type = int(leafValue(item, standin::match::kStarType, t).x());
    const int n = int(leafValue(item, standin::match::kStarPoints, t).x());
    if (n < 1 || n > 10000)
        return o;
    const Value at = leafValue(item, standin::match::kStarPosition, t);
    const double turn = leafValue(item, standin::match::kStarRotation, t).x() * M_PI / 180.0;
    const auto point = [&](double radius, double roundness, double angle) {
        const double tangent = radius / 2 * roundness / 100;
        const double along = -std::sin(angle) * tangent, across = std::cos(angle) * tangent;
        o.vertices.push_back({at.x() + radius * std::cos(angle), at.y() + radius * std::sin(angle), -along, -across,
                              along, across});
    };
    const double outer = leafValue(item, standin::match::kStarOuterRadius, t).x();
    const double outerRound = leafValue(item, standin::match::kStarOuterRoundness, t).x();
    const double inner = leafValue(item, standin::match::kStarInnerRadius, t).x();
    const double innerRound = leafValue(item, standin::match::kStarInnerRoundness, t).x();
    for (int i = 0; i < n; ++i) {
        const double angle = turn + 2 * M_PI * i / n - M_PI / 2;
        point(outer, outerRound, angle);
        if (type == 1)
            point(inner, innerRound, angle + M_PI / n);
    }
    return o;
}

// A paint's colour at its opacity (per cent) times `opacity`.
DrawnArea::Colour paintColour(const PropertyNode* item, const char* colour, const char* percent, double opacity,
                              const A_Time& t)
{
    const Value c = leafValue(item, colour, t);
    const double a = opacity * leafValue(item, percent, t).x() / 100.0;
    return {c.v[1] * a, c.v[2] * a, c.v[3] * a, a};
}

// The band a stroke paints about `shapes`, as `m` (its groups' map) stretches
// it: drawn in the stroke's own units, then mapped. Past the miter limit a
// join is bevelled.
QPainterPath strokeBand(const PropertyNode* stroke, const QPainterPath& shapes, const A_Matrix4& m, const A_Time& t)
{
    QPainterPathStroker stroker;
    const QTransform map(m.mat[0][0], m.mat[0][1], m.mat[1][0], m.mat[1][1], m.mat[3][0], m.mat[3][1]);
    stroker.setWidth(leafValue(stroke, standin::match::kStrokeWidth, t).x());
    const int join = int(leafValue(stroke, standin::match::kStrokeLineJoin, t).x());
    stroker.setJoinStyle(join == 2 ? Qt::RoundJoin : join == 3 ? Qt::BevelJoin : Qt::SvgMiterJoin);
    stroker.setMiterLimit(leafValue(stroke, standin::match::kStrokeMiterLimit, t).x());
    const int cap = int(leafValue(stroke, standin::match::kStrokeLineCap, t).x());
    stroker.setCapStyle(cap == 2 ? Qt::RoundCap : cap == 3 ? Qt::SquareCap : Qt::FlatCap);
    QPainterPath band = map.isInvertible() ? map.map(stroker.createStroke(map.inverted().map(shapes))) : QPainterPath();
    band.setFillRule(Qt::WindingFill);
    return band;
}

// The switched-on shapes of a contents group (its groups' included) through
// `m`; every fill and stroke met paints what came before it into `painted`,
// at its opacity times `opacity`.
QPainterPath paintContents(const PropertyNode* contents, const A_Matrix4& m, const A_Time& t, double opacity,
                           std::vector<DrawnArea::Paint>& painted)
{
    QPainterPath shapes;
    for (int i = 0; i < contents->childCount(); ++i) {
        const PropertyNode* item = contents->child(i);
        if (!item->isEnabled())
            continue;
        if (is(item, standin::match::kPathItem)) {
            shapes.addPath(outlinePath(leafValue(item, standin::match::kPathShape, t).shape, m));
        } else if (is(item, standin::match::kRect) || is(item, standin::match::kEllipse)) {
            shapes.addPath(outlinePath(primitiveOutline(item, t), m));
        } else if (is(item, standin::match::kStar)) {
            shapes.addPath(outlinePath(starOutline(item, t), m));
        } else if (is(item, standin::match::kVectorGroup)) {
            const PropertyNode* inside = item->childByMatchName(QLatin1String(standin::match::kVectorsGroup));
            const PropertyNode* transform =
                item->childByMatchName(QLatin1String(standin::match::kVectorTransformGroup));
            const double groupOpacity =
                transform ? leafValue(transform, standin::match::kVectorGroupOpacity, t).x() / 100.0 : 1.0;
            if (inside)
                shapes.addPath(paintContents(inside, standin::multiply(groupMatrix(item, t), m), t,
                                             opacity * groupOpacity, painted));
        } else if (is(item, standin::match::kFill)) {
            QPainterPath fill = shapes;
            fill.setFillRule(leafValue(item, standin::match::kFillRule, t).x() == 2.0 ? Qt::OddEvenFill
                                                                                      : Qt::WindingFill);
            painted.push_back({fill, paintColour(item, standin::match::kFillColor, standin::match::kFillOpacity,
                                                 opacity, t)});
        } else if (is(item, standin::match::kStroke)) {
            painted.push_back({strokeBand(item, shapes, m, t),
                               paintColour(item, standin::match::kStrokeColor, standin::match::kStrokeOpacity,
                                           opacity, t),
                               false});
        }
    }
    return shapes;
}

// Layers that draw their source's pixels (not a null or an adjustment
// layer, which have one too).
bool drawsItsSource(standin::LayerKind kind)
{
    return kind == standin::LayerKind::Solid || kind == standin::LayerKind::Footage
           || kind == standin::LayerKind::Composition;
}

} // namespace

DrawnArea::DrawnArea(const standin::Layer& layer, const A_Time& t)
    : opacity_(layer.transformStream(standin::TransformStream::Opacity)->valueAt(t, false).x() / 100.0)
{
    const A_Matrix4 same = standin::identityMatrix();
    for (int i = 0; i < layer.maskCount(); ++i) {
        const PropertyNode* mask = layer.maskAtom(i);
        if (!mask->isEnabled())
            continue;
        const standin::MaskAttributes& a = mask->maskAttributes();
        const standin::MaskOutline shape = leafValue(mask, standin::match::kMaskShape, t).shape;
        if (a.mode != PF_MaskMode_NONE && !shape.open)
            steps_.push_back({a.mode, a.inverted, outlinePath(shape, same)});
    }
    if (!steps_.empty())
        return;
    if (layer.kind() == standin::LayerKind::Text) {
        const standin::TextDocument& text = layer.text();
        std::vector<standin::MaskOutline> glyphs = text.outlines;
        if (!text.hasOutlines) {
            standin::GlyphOutliner outliner;
            outliner.outlines(text.text, text.fontFamily, text.fontSize, &glyphs);
        }
        QPainterPath all;
        for (const standin::MaskOutline& g : glyphs)
            all.addPath(outlinePath(g, same));
        all.setFillRule(Qt::WindingFill);
        steps_.push_back({PF_MaskMode_ADD, false, all});
    } else if (const PropertyNode* contents = layer.rootVectorsGroup()) {
        paintContents(contents, same, t, 1.0, paints_);
        for (const Paint& p : paints_)
            if (p.fill)
                steps_.push_back({PF_MaskMode_ADD, false, p.area});
    } else if (const standin::Item* source = layer.source(); source && drawsItsSource(layer.kind())) {
        QPainterPath box;
        box.addRect(0.0, 0.0, source->width(), source->height());
        steps_.push_back({PF_MaskMode_ADD, false, box});
    }
}

bool DrawnArea::contains(double x, double y) const
{
    bool inside = false;
    for (const Step& step : steps_) {
        const bool in = step.path.contains(QPointF(x, y)) != step.inverted;
        switch (step.mode) {
        case PF_MaskMode_SUBTRACT: inside = inside && !in; break;
        case PF_MaskMode_INTERSECT: inside = inside && in; break;
        default: inside = inside || in; break;
        }
    }
    return inside;
}

QRectF DrawnArea::bounds() const
{
    QRectF box;
    for (const auto& step : steps_)
        box = box.united(step.path.boundingRect());
    for (const Paint& p : paints_)
        box = box.united(p.area.boundingRect());
    return box;
}

DrawnArea::Colour DrawnArea::Colour::over(const Colour& under) const
{
    return {r + under.r * (1 - a), g + under.g * (1 - a), b + under.b * (1 - a), a + under.a * (1 - a)};
}

DrawnArea::Colour DrawnArea::colourAt(double x, double y) const
{
    Colour c;
    if (paints_.empty() && contains(x, y))
        c = Colour{1, 1, 1, 1};
    for (auto p = paints_.rbegin(); p != paints_.rend(); ++p)
        if (p->area.contains(QPointF(x, y)))
            c = p->colour.over(c);
    return {c.r * opacity_, c.g * opacity_, c.b * opacity_, c.a * opacity_};
}

std::vector<std::string> drawingAt(const standin::Composition& comp, const A_Time& t)
{
    std::vector<std::string> lines;
    for (const auto& layer : comp.layers()) {
        if (!drawsAt(*layer, t))
            continue;
        const std::string text = layerText(*layer, t);
        if (const PropertyNode* contents = layer->rootVectorsGroup())
            drawGroupContents(contents, standin::layerToWorld(*layer, t), 1.0, {}, text, t, lines);
        else
            lines.push_back(text + " | " + standin::layerKindName(layer->kind()).toStdString() + " source="
                            + (layer->source() ? std::to_string(layer->source()->id()) : "none"));
    }
    return lines;
}

} // namespace separation_test
