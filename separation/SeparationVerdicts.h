// The offer's verdicts on a layer that holds several outlines: how the layers
// a separation would make of it meet, and the bounds of the work spent
// deciding.
#pragma once

// The most work spent comparing one layer's keyed groups after time 0, in
// units of about a ten-millionth of a second of processor time (so about a
// second): reading where a keyed group lies at a frame counts 1.5 and 3.5
// more for each of its values keyed, a piece compared at a frame 11 and a
// piece built again 21; of the first pass over their paths, a box made or
// two boxes looked at count 0.08, two boxes that meet one and
// telling whether their pieces may meet 11. The work is counted as it is
// done, and told before it is begun from a sample of the frames (see
// keyedWorkEstimate): a comparison is not begun when it is told to need
// more than it is given, and one told too little is stopped where it would
// pass it.
constexpr double kMaxComparedWork = 1e7;

// The most such work over one start, all layers together, telling what each
// needs included (1.8 s: of the 2 s the start may take more than without
// keys, what reading the keys and each copy at time 0 leaves): the
// layers whose keyed groups are compared go from the one told to need least
// to the one told to need most, each given at most kMaxComparedWork and
// what the start has left, less what the layers after it that still fit are
// told to need, so that the order of the layers decides nothing and no more
// layers are left out than the bound asks. An unkeyed layer needs none.
constexpr double kMaxStartWork = 1.8 * kMaxComparedWork;

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
    // A non-zero fill paints an outline that crosses or touches itself where
    // it winds round twice (a pentagram's centre, a coil's) or round places
    // both ways, which the areas compared do not hold.
    WindingUnheld,
    // One of them draws nothing at time 0, where the bodies are built (a
    // group scaled up from 0 % to pop in): without an outline its body would
    // be the plain box a layer falls back to, at the composition's centre.
    NothingAtStart,
    // One of them draws at time 0 too little to make a body that moves (a
    // group scaled up from 1 %, a star growing from a radius of 0.1 px):
    // its shapes give the body no mass, or one too small for its distance
    // from the body's origin, so it would keep its place while the layer
    // falls.
    NoMovingBody,
    // Where they go cannot be told beforehand: an expression drives them, or
    // their keys or strokes cannot be read.
    Untold,
    // Comparing them at every frame their keys span is more work than is
    // done (kMaxComparedWork): the comparison was stopped there, or not
    // begun when it stopped before spending anything (reading where they lie
    // at every frame alone is more).
    KeyedTooLong,
    KeyedNotBegun,
    // Comparing them is more work than the start had left for them when
    // their turn came (see kMaxStartWork): the comparison was stopped there,
    // or not begun.
    // A comparison put off (see KeyedWork) that has not run is not begun.
    StartTooLong,
    StartNotBegun,
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
    // One alone makes too small a body to move (see GroupsMeet::NoMovingBody):
    // its copy would keep its place while the layer falls.
    NoMovingBody,
};
