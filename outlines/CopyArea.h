// What each layer that a separation by groups makes of a shape layer draws:
// its fills and the bands its strokes may cover, in world units, and the
// walks over the layer's contents that reading them takes.
#pragma once

#include "host/AEGP_SuiteHandler.h"
#include "model/AreaOverlap.h"
#include "outlines/HostStreams.h"
#include "outlines/LayerBuild.h"
#include "outlines/OutlineAssembly.h"
#include "outlines/SeparationVerdicts.h"
#include "outlines/ShapeItemPlacement.h"

#include <vector>

using Polygon = std::vector<AreaPoint>;

// The most the linear map (a b; c d) stretches a length: its largest
// singular value.
double largestStretch(double a, double b, double c, double d);

AreaPoint mapped(const GroupMatrix& m, AreaPoint p);

// Where a stroke painting an outline may reach from: the edge from a to b,
// or, when radius is at least 0, the circle of that radius about a.
struct StrokeSource {
    AreaPoint a, b;
    double radius = -1.0;
};

// What a stroke reaching `reach` (world units) beyond `s` may cover: a box
// about the edge grown by the reach every way, or the polygon that addGroup
// makes of a circle that much larger.
Polygon strokePiece(const StrokeSource& s, double reach);

// What a copy of the layer holding only `items` draws, in world units about
// the composition's origin turned by the layer's rotation `frame`: every copy
// is placed alike, so their areas meet there as their bodies do.
struct CopyArea {
    // Its filled pieces, then the band its strokes may cover about each of
    // `sources`, one piece each. The filled pieces are what its fills paint
    // (an open outline that a fill paints closed back to its start), each
    // grown by a body's skin (copies closer than their two skins touch,
    // outline_limits::kTouchDistance).
    DrawnPieces drawn;
    size_t filled = 0;
    std::vector<StrokeSource> sources;
    // A non-zero fill of it paints an outline crossing itself otherwise than
    // the filled pieces hold (PaintedCopy::windingUnheld).
    bool windingUnheld = false;

    DrawnPieces fills() const;
};

// How copies drawing `areas` meet: WindingUnheld when one paints otherwise
// than its pieces hold, else their fills as `fillsMeet` says, else a band over
// another's fill or band as strokes that meet.
GroupsMeet howAreasMeet(const std::vector<CopyArea>& areas, GroupsMeet fillsMeet);

// What the copy of the layer holding `items` draws, its strokes reaching
// `strokeReach` (world units) beyond its outlines.
CopyArea drawnBy(const LayerBuild& build, const std::vector<bool>& items, const LayerPlacement& placement,
                 const OutlineFrame& frame, double strokeReach);

// Widens `reach` (world units) to what a stroke switched on at or under
// `item`, through groups switched on, may cover beyond the outlines it
// paints: half its width, or the miter limit's times that for a mitred join,
// stretched as far as the groups and the layer stretch a length.
A_Err readStrokeReach(const AEGP_SuiteHandler& suites, const LayerBuild& build, AEGP_StreamRefH item,
                      double& reach, int nesting = 0);

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
