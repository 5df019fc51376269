// What each layer that a separation by groups makes of a shape layer draws:
// its fills and the bands its strokes may cover, in world units, and the
// walks over the layer's contents that reading them takes.
#pragma once

#include "host/AEGP_SuiteHandler.h"
#include "model/AreaOverlap.h"
#include "outlines/HostStreams.h"
#include "outlines/LayerBuild.h"
#include "outlines/OutlineAssembly.h"
#include "outlines/OutlineLimits.h"
#include "separation/SeparationVerdicts.h"
#include "outlines/ShapeItemPlacement.h"

#include <vector>

using Polygon = std::vector<AreaPoint>;

// The most the linear map (a b; c d) stretches a length: its largest
// singular value.
double largestStretch(double a, double b, double c, double d);

AreaPoint mapped(const GroupMatrix& m, AreaPoint p);

// How a stroke paints about the outlines it follows: half its width in its
// own units, the miter limit of a mitred join (0 for a round join or a
// bevel), its cap (the host's value: 1 butt, 2 round, 3 projecting), and the
// linear part of the map from its own units to world units (turned as the
// frame turns once drawnBy has placed it). Strokes of one map are kept as
// one style that paints at least what each paints.
// `inside`: the stroke lies in the copy's separated group, so it moves and
// stretches as that group does.
struct StrokeStyle {
    double halfWidth = 0.0, miterLimit = 0.0;
    int cap = 1;
    GroupMatrix map;
    bool inside = false;

    // The most a point it paints lies beyond the box of the edge or the
    // control points of the piece of curve it follows, every way, over the
    // root of 2 (as edgeBox grows an edge), in world units: half its width
    // times the miter limit, stretched as far as its map stretches a length.
    double reach() const;
    // Adds `s` to `styles`: into the one of the same map, painting what both
    // paint, or as a style of its own.
    static void add(std::vector<StrokeStyle>& styles, const StrokeStyle& s);
};

// Where a stroke painting an outline may reach from: the edge from a to b,
// or, when `curve`, the piece of a Bezier curve from a to b with the control
// points c1 and c2 between (an edge has them at its ends), or, when radius is
// at least 0, the circle of that radius about a. At a it is joined to the
// way to `before`, at b to the way to `after`, unless it ends an open outline
// there, where it is capped: a vertex of the outline joins the ways its
// tangents take there, and where a curve is cut into pieces they go on in
// line. `style` is its stroke's, of the copy's.
struct StrokeSource {
    AreaPoint a, b, c1, c2;
    double radius = -1.0;
    AreaPoint before, after;
    bool joinedBefore = false, joinedAfter = false, curve = false;
    size_t style = 0;

    // Its points, all moved by `m`, and its circle's radius stretched.
    void map(const GroupMatrix& m);
};

// What a stroke of `style` may cover about `s`: about an edge its band with
// butt ends, grown at each end by the half of the join there that lies on
// its side (the mitre to its tip when within the limit, else the round join
// or the bevel, a round join as the polygon outside its arc) or by the cap;
// about a piece of curve, which lies in the hull of its control points, that
// hull grown by half the width (a round join or a bevel lies within it), with
// the mitre's tip or the cap at a vertex or an end; about a circle the
// polygon that addGroup makes of a circle that much larger.
Polygon strokePiece(const StrokeSource& s, const StrokeStyle& style);

// How far a body's skin reaches beyond what it draws: half the distance at
// which two bodies touch, in world units (the composition's, turned as the
// layer turns), wherever a copy's fills lie and whatever scale takes them
// there.
constexpr double kSkin = outline_limits::kTouchDistance / 2.0;

// `piece`, a filled piece where it lies, grown by the skin.
Polygon withSkin(Polygon piece);

// Whether the body of a layer split off with `outlines` (as its record
// keeps them) would move: the shapes the scene makes of them, at the skin
// and open line width a scene starts with, give it a mass Box2D moves it by.
bool makesMovingBody(const std::vector<std::vector<ShapeDef>>& outlines);

// What a copy of the layer holding only `items` draws, in world units about
// the composition's origin turned by the layer's rotation `frame`: every copy
// is placed alike, so their areas meet there as their bodies do.
struct CopyArea {
    // Its filled pieces, then the band its strokes may cover about each of
    // `sources`, one piece each, in the styles of its strokes. The filled
    // pieces are what its fills paint (an open outline that a fill paints
    // closed back to its start), each grown by a body's skin (copies closer
    // than their two skins touch, outline_limits::kTouchDistance).
    DrawnPieces drawn;
    size_t filled = 0;
    // Its filled pieces as its fills paint them, without the skin: a copy
    // that moves is placed from these and grown where it lies.
    std::vector<Polygon> painted;
    std::vector<StrokeSource> sources;
    std::vector<StrokeStyle> styles;
    // A non-zero fill of it paints an outline crossing itself otherwise than
    // the filled pieces hold (PaintedCopy::windingUnheld).
    bool windingUnheld = false;
    // It yields an outline: a copy without one becomes the plain box a layer
    // falls back to (getBodyFromLayer).
    bool outlined = false;
    // Some outline it draws leaves no piece here, too small (see
    // PaintedCopy::outlineDropped): where it grows later is not held here.
    bool outlineDropped = false;

    DrawnPieces fills() const;
};

// How copies drawing `areas` meet: WindingUnheld when one paints otherwise
// than its pieces hold, else their fills as `fillsMeet` says, else a band over
// another's fill or band as strokes that meet.
GroupsMeet howAreasMeet(const std::vector<CopyArea>& areas, GroupsMeet fillsMeet);

// What the copy of the layer holding `items` draws, its strokes painting in
// `styles` (read by readStrokeStyles) about every outline it holds; and, when
// `moves` is given, whether its body would move (makesMovingBody).
CopyArea drawnBy(const LayerBuild& build, const std::vector<bool>& items, const LayerPlacement& placement,
                 const OutlineFrame& frame, const std::vector<StrokeStyle>& styles, bool* moves = nullptr);

// Adds to `styles` how each stroke switched on at or under `item`, through
// groups switched on, paints: its width, join and cap, and the map of the
// groups and the layer about it into world units (not yet turned).
A_Err readStrokeStyles(const AEGP_SuiteHandler& suites, const LayerBuild& build, AEGP_StreamRefH item,
                       std::vector<StrokeStyle>& styles, int nesting = 0);

// The children of `group` in order through `visit` (index, stream) while no
// host call fails; the first host error.
template <typename Visit>
A_Err forEachChild(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH group, Visit visit)
{
    A_long count = 0;
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(group, &count);
    for (A_long i = 0; !err && i < count; ++i) {
        ScopedStream child(suites);
        err = childByIndex(suites, pluginId, group, i, child);
        if (!err)
            err = visit(size_t(i), child.get());
    }
    return err;
}

// The children of the layer's "ADBE Root Vectors Group" through `visit`;
// the first host error.
template <typename Visit>
A_Err forEachContentsItem(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer, Visit visit)
{
    ScopedStream root(suites), contents(suites);
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, root.out());
    if (!err)
        err = childByMatchName(suites, pluginId, root.get(), "ADBE Root Vectors Group", contents);
    if (!err && contents)
        err = forEachChild(suites, pluginId, contents.get(), visit);
    return err;
}
