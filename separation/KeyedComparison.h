// The comparison of the layers that a separation by groups makes of a shape
// layer after time 0, at every frame their keys span, with the work it takes
// counted (see separatedLayersMeet).
#pragma once

#include "separation/ContentKeys.h"
#include "separation/CopyArea.h"
#include "separation/GroupSplit.h"

#include <algorithm>
#include <cmath>
#include <vector>

// Where the maps of a copy that only moves take it over a run of frames
// (counted from the first compared): the bounds of where they take the
// point `about` and of their linear parts, the most its strokes reach and
// the most the maps stretch a length.
struct PathRun {
    // The range [low, high] of x times y for x in [x0, x1] and y in [y0, y1].
    static void product(double x0, double x1, double y0, double y1, double& low, double& high)
    {
        const double p[4] = {x0 * y0, x0 * y1, x1 * y0, x1 * y1};
        low = *std::min_element(p, p + 4);
        high = *std::max_element(p, p + 4);
    }

    size_t first = 0, last = 0;
    double low[6] = {}, high[6] = {};  // a, b, c, d, then where `about` goes
    double reach = 0.0, stretch = 0.0;
    // How far a point of the fills strays over the run from where the run's
    // first frame puts it.
    double drift = 0.0;

    PathRun(size_t frame, const GroupMatrix& m, AreaPoint about, double strokeReach)
        : first(frame), last(frame), reach(strokeReach), stretch(largestStretch(m.a, m.b, m.c, m.d))
    {
        const AreaPoint to = mapped(m, about);
        const double values[6] = {m.a, m.b, m.c, m.d, to.x, to.y};
        std::copy(values, values + 6, low);
        std::copy(values, values + 6, high);
    }
    PathRun widened(const PathRun& o) const
    {
        PathRun r = *this;
        r.first = std::min(first, o.first);
        r.last = std::max(last, o.last);
        for (size_t k = 0; k < 6; ++k) {
            r.low[k] = std::min(low[k], o.low[k]);
            r.high[k] = std::max(high[k], o.high[k]);
        }
        r.reach = std::max(reach, o.reach);
        r.stretch = std::max(stretch, o.stretch);
        return r;
    }
    // How much wider than one place the run makes a box of the points within
    // `size` of `about`, along x or y, the wider.
    double growth(double size) const
    {
        double most = 0.0;
        for (size_t axis = 0; axis < 2; ++axis)
            most = std::max(most, high[4 + axis] - low[4 + axis] +
                                      (high[2 * axis] - low[2 * axis] + high[2 * axis + 1] - low[2 * axis + 1]) * size);
        return most;
    }
    // A box that holds, at every frame of the run, where the maps take the
    // points lying at time 0 within x0 to x1 and y0 to y1 of `about`, grown
    // by `grow` every way. It is no larger than the disk those points sweep
    // about where `about` goes, when they lie within `distance` of it: a
    // turning outline keeps within that disk however far it turns.
    SpanBox box(const double (&at)[4], double grow, double distance = HUGE_VAL) const
    {
        return box(at[0], at[1], at[2], at[3], grow, distance);
    }
    SpanBox box(double x0, double x1, double y0, double y1, double grow, double distance = HUGE_VAL) const
    {
        SpanBox b = corners(x0, x1, y0, y1, grow);
        const double swept = stretch * distance + grow;
        b.minX = std::max(b.minX, low[4] - swept), b.maxX = std::min(b.maxX, high[4] + swept);
        b.minY = std::max(b.minY, low[5] - swept), b.maxY = std::min(b.maxY, high[5] + swept);
        return b;
    }

private:
    SpanBox corners(double x0, double x1, double y0, double y1, double grow) const
    {
        double bound[2][2];
        for (size_t axis = 0; axis < 2; ++axis) {
            double lowX, highX, lowY, highY;
            product(low[2 * axis], high[2 * axis], x0, x1, lowX, highX);
            product(low[2 * axis + 1], high[2 * axis + 1], y0, y1, lowY, highY);
            bound[axis][0] = low[4 + axis] + lowX + lowY - grow;
            bound[axis][1] = high[4 + axis] + highX + highY + grow;
        }
        SpanBox b;
        b.minX = bound[0][0], b.maxX = bound[0][1], b.minY = bound[1][0], b.maxY = bound[1][1];
        b.first = double(first), b.last = double(last);
        return b;
    }
};

// One layer that the split makes, and how what it draws changes over time.
struct SplitCopy {
    std::vector<bool> items;
    A_long group = -1;  // the separated group it holds; -1 for the source
    KeySpan shape, move;
    enum Motion { Rest, Moved, Reshaped } motion = Rest;
    // How its strokes paint (see readStrokeStyles), and the most they reach
    // (see StrokeStyle::reach) outside its group and inside it (which
    // stretches with the group).
    std::vector<StrokeStyle> styles;
    double reachOutside = 0.0, reachInside = 0.0;
    CopyArea area;
    // For a copy that only moves: the map from where each point lies at time
    // 0 to where it lies at each compared frame, in world units, and the
    // runs of frames its path is cut into, told about the point `about` (see
    // cutIntoRuns).
    std::vector<GroupMatrix> moves;
    std::vector<PathRun> runs;
    AreaPoint about;
    // Where what it draws lies at time 0 about `about` (low x, high x, low
    // y, high y): the corners of its fills (without the skin), the ends of
    // the edges its bands follow and the centres of the circles they follow,
    // the largest of those circles; and how far from `about` its fills
    // reach, those edges (their control points) and those centres lie: a
    // copy turning in place keeps each within the disk of that radius, its
    // bands within that disk grown by their reach (the ring they sweep).
    double fills[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
    double edges[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
    double circles[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
    double radius = 0.0, far = 0.0, edgesFar = 0.0, circlesFar = 0.0;

    // Its strokes' reach under `m`.
    double reachUnder(const GroupMatrix& m) const
    {
        return std::max(reachOutside, reachInside * largestStretch(m.a, m.b, m.c, m.d));
    }
    // Filled piece j as its fills paint it, without the skin, where map `m`
    // takes it.
    Polygon placedFill(size_t j, const GroupMatrix& m) const
    {
        Polygon p;
        p.reserve(area.painted[j].size());
        for (const AreaPoint& q : area.painted[j])
            p.push_back(mapped(m, q));
        return p;
    }
    // Piece j of what it draws, where map `m` takes it: a fill grown by the
    // skin there, which `m` does not scale.
    Polygon placedPiece(size_t j, const GroupMatrix& m) const
    {
        if (j < area.filled)
            return withSkin(placedFill(j, m));
        // The outline moves; a stroke inside the group stretches with it, one
        // outside paints the moved outline as before.
        StrokeSource s = area.sources[j - area.filled];
        s.map(m);
        StrokeStyle style = area.styles[s.style];
        if (style.inside) {
            GroupMatrix linear = m;
            linear.tx = linear.ty = 0.0;
            style.map = linear.after(style.map);
        }
        return strokePiece(s, style);
    }
};

// The layers that `split` makes: one per separated group, and the source
// when it keeps drawing shapes.
std::vector<SplitCopy> copiesOf(const GroupSplit& split);

// How the strokes at or under each item of the contents that some of
// `copies` holds paint (see readStrokeStyles), at the time stream values are
// read at, and so those of each copy and their reach, split as SplitCopy
// keeps it. Each item is read once, however many copies hold it.
A_Err readReach(const AEGP_SuiteHandler& suites, const LayerBuild& build, std::vector<SplitCopy>& copies);

// What changes later, by the keys of the items each copy holds: a copy keyed
// in its group's own transform alone keeps its pieces and moves them; one
// keyed otherwise is built again at each frame. The span of all their keys.
KeySpan howCopiesChange(std::vector<SplitCopy>& copies, const std::vector<ItemKeys>& keys);

// What comparing `copies` at every one of `frames` is told to need before
// it runs: reading where those that only move lie, the first pass over
// their paths as a sample of the frames shows them (reading where they lie
// there), and building again at every frame those that are reshaped, with
// the pieces they have at time 0. `read` is set to the work of telling it,
// counted alike.
double keyedWorkEstimate(const AEGP_SuiteHandler& suites, const LayerBuild& build, const LayerPlacement& placement,
                         const OutlineFrame& frame, const std::vector<SplitCopy>& copies, const Frames& frames,
                         double& read);

// What the comparison found: how the copies meet, the work it did, and what
// it found to be needed when that is more than `most`.
struct KeyedVerdict {
    GroupsMeet meet = GroupsMeet::Apart;
    double work = 0.0, needed = 0.0;
};

// Compares `copies` (what each draws at time 0 read, and how it changes
// told) at each of `frames`, spending at most `most`.
KeyedVerdict compareKeyedCopies(const AEGP_SuiteHandler& suites, const LayerBuild& build,
                                const LayerPlacement& placement, const OutlineFrame& frame,
                                std::vector<SplitCopy>& copies, const Frames& frames, double most);
