#include "separation/MaskOverlap.h"

#include "model/AreaOverlap.h"
#include "model/OutlineDiscretisation.h"
#include "outlines/HostStreams.h"
#include "outlines/MaskOutlines.h"
#include "outlines/OutlineAssembly.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// How far mask `mask` draws beyond its outline, in layer pixels: its
// expansion (which shrinks it when negative) and half its feather, the
// larger of its two.
A_Err readMaskReach(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH mask, double& reach)
{
    AEGP_StreamVal2 expansion{}, feather{};
    A_Err err = readChildValue(suites, pluginId, mask, "ADBE Mask Offset", expansion);
    if (!err)
        err = readChildValue(suites, pluginId, mask, "ADBE Mask Feather", feather);
    if (err)
        return err;
    reach = expansion.one_d + std::max(feather.two_d.x, feather.two_d.y) / 2.0;
    // A value that cannot be a distance reaches anywhere.
    if (!std::isfinite(reach))
        reach = HUGE_VAL;
    return A_Err_NONE;
}

// Adds to `area` what the closed outline `s` (layer pixels) covers grown by
// `reach` pixels every way: a box about each edge, reaching that far beyond
// it on every side, holds all of it. The area is in the units
// assembleOutlines gives with an OutlineFrame() (a hundredth of a pixel).
void addEdgeReach(DrawnPieces& area, const ShapeDef& s, double reach)
{
    const double r = std::min(reach, 1e9) / 100.0;
    const size_t n = s.points.size();
    for (size_t k = 0; n > 1 && k < n; ++k) {
        area.pieces.push_back(edgeBox({s.points[k].x / 100.0, s.points[k].y / 100.0},
                                      {s.points[(k + 1) % n].x / 100.0, s.points[(k + 1) % n].y / 100.0}, r));
    }
}

}  // namespace

A_Err readMaskOverlap(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH parade,
                      MasksMeet& meet, double touch)
{
    std::vector<A_long> shown;
    A_Err err = switchedOnMasks(suites, pluginId, parade, shown);
    // Each closed mask as the body of its own copy would be: alone, filled,
    // and how far it draws beyond that.
    std::vector<ShapeDef> closed;
    std::vector<double> reaches;
    for (size_t k = 0; !err && k < shown.size(); ++k) {
        ScopedStream mask(suites);
        ScopedStream shape(suites);
        ScopedStreamValue value(suites);
        err = childByIndex(suites, pluginId, parade, shown[k], mask);
        if (!err && mask)
            err = childByMatchName(suites, pluginId, mask.get(), "ADBE Mask Shape", shape);
        if (err || !shape)
            continue;
        err = value.read(pluginId, shape.get());
        ShapeDef s;
        bool open = false, openPath = false, readable = false;
        if (!err)
            err = readMaskOutline(suites, value.val().mask, 1.0, s, open, readable, &openPath);
        if (!err && readable && openPath) {
            meet = MasksMeet::Open;
            return A_Err_NONE;
        }
        double reach = 0.0;
        if (!err)
            err = readMaskReach(suites, pluginId, mask.get(), reach);
        if (err || !readable)
            continue;
        s.closed = true;
        discretizeShape(s, kOverlapPrecision);
        closed.push_back(std::move(s));
        reaches.push_back(reach);
    }
    if (err)
        return err;
    std::vector<DrawnPieces> areas(closed.size());
    for (size_t k = 0; k < closed.size(); ++k) {
        OutlineSet set;
        set.fill = OutlineFill::Masks;
        set.outlines.push_back(closed[k]);
        areas[k].addGroup(assembleOutlines(nullptr, set, false, OutlineFrame()).group);
    }
    // The first two that share a place settle it.
    const AreaPair pair = firstOverlap(areas);
    if (pair.found) {
        const DrawnPieces& a = areas[pair.first];
        const DrawnPieces& b = areas[pair.second];
        meet = liesInside(a, b) || liesInside(b, a) ? MasksMeet::Hole : MasksMeet::Cross;
        return A_Err_NONE;
    }
    // What the masks draw beyond their outlines must lie apart too, at any
    // opacity: together the host draws the place they both cover once (a
    // soft edge's coverage added to the other's), apart each copy draws it
    // over the other.
    bool grown = false;
    for (size_t k = 0; k < closed.size(); ++k)
        if (reaches[k] > 0.0) {
            addEdgeReach(areas[k], closed[k], reaches[k]);
            grown = true;
        }
    if (grown && firstOverlap(areas).found) {
        meet = MasksMeet::EdgesMeet;
        return A_Err_NONE;
    }
    // Each body's skin reaches half the distance at which two touch.
    for (size_t k = 0; touch > 0.0 && k < closed.size(); ++k)
        addEdgeReach(areas[k], closed[k], touch / 2.0);
    if (touch > 0.0 && firstOverlap(areas).found)
        meet = MasksMeet::Touch;
    return A_Err_NONE;
}
