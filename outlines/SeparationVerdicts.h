// The offer's verdicts on a layer that holds several outlines: how the layers
// a separation would make of it meet, and the bounds of the work spent
// deciding.
#pragma once

// The most work spent comparing keyed groups after time 0 (about a second),
// counted in pieces compared over the frames their keys span: at each frame
// every piece compared counts once, a piece built again as 20 and reading
// where a keyed group lies as 2; of the first pass over their paths, a box
// made or two boxes looked at count a twentieth, two boxes that meet one and
// telling whether their pieces may meet 4.
constexpr double kMaxComparedWork = 5e6;

// The most such work over one start, all layers together: what one layer
// spends, the next cannot. An unkeyed layer needs none.
constexpr double kMaxStartWork = 5e6;

// What the comparison of keyed groups may still spend over one start, shared
// by the decisions on every layer.
struct KeyedWork {
    double left = kMaxStartWork;
};

// Groups nested deeper than this are taken to draw without being looked into.
constexpr int kMaxGroupNesting = 64;

// How the layers a separation by groups would make meet, over every frame
// at which the layer is shown and what they draw can change.
enum class GroupsMeet {
    Apart,
    // Their filled areas share a place at time 0: as bodies they would lie in
    // one another, and a fill that painted the groups together (an even-odd
    // ring over two groups) would paint each of them alone.
    Overlap,
    // A stroke's band reaches over what another draws: drawn apart, each
    // copy's paint would lie over or under the other copy as a whole, where
    // together it lay at its own place in the layer's stack (and a band
    // painted once over another would be painted twice).
    StrokesMeet,
    // They lie apart at time 0 but share a place at some later frame, as
    // their keys move them.
    OverlapWhileMoving,
    // Where they go cannot be told beforehand: an expression drives them, or
    // their keys or strokes cannot be read.
    Untold,
    // Comparing them at every frame their keys span is more work than is
    // done (kMaxComparedWork).
    KeyedTooLong,
    // Comparing them is more work than the start has left (KeyedWork): the
    // layers judged before took the rest.
    StartTooLong,
};

// Why the masks of a layer that are switched on stay together, the first
// reason found; Apart when a copy per mask draws what the layer draws, at
// every frame.
enum class MasksMeet {
    Apart,
    // One is inverted or not an Add mask: it draws only as it combines with
    // the others, and a copy would give it a plain Add mask.
    Modes,
    // The shape, opacity, feather or expansion of one is keyed or driven by
    // an expression: a copy holds its mask as it is at time 0.
    Animated,
    // One is an open path: it cuts nothing out of the layer, so a copy
    // holding it would draw the whole layer.
    Open,
    // One closed mask lies inside another: it adds nothing to what the outer
    // one draws, and a copy per mask would stack two bodies in one place.
    Hole,
    // Two share a place, neither inside the other: a copy per mask would make
    // bodies lying partly in one another.
    Cross,
    // Two masks reach over one another once grown by their expansion and half
    // their feather: together the host draws what they cover once, apart
    // each copy draws its own over the other.
    EdgesMeet,
    // Two lie closer than their bodies' two skins (edge on edge, corner on
    // corner): apart, the bodies would touch and push one another.
    Touch,
};
