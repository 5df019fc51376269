// Whether the layers a separation by groups makes of a shape layer would draw
// over one another. Each is judged by the body the plug-in builds of it (the
// outlines of a copy holding only its items, see getVectorShapes): the copy
// of a group keeps the fills and strokes of the top level, so a fill that
// painted several groups together paints each copy's group alone.
#pragma once

#include "separation/GroupSplit.h"
#include "separation/SeparationVerdicts.h"

#include "host_api.h"

#include <memory>

// The comparison of a shape layer's keyed groups after time 0, as
// separatedLayersMeet leaves it: a value run once, by a caller that knows
// the most work the layer may spend. Until it has run, its verdict is that
// it was not begun (StartNotBegun).
class KeyedWork
{
public:
    KeyedWork();
    KeyedWork(KeyedWork&&) noexcept;
    KeyedWork& operator=(KeyedWork&&) noexcept;
    ~KeyedWork();

    // Whether it holds a comparison that has not run.
    bool pending() const { return comparison_ != nullptr; }
    // What it is told to need before it runs, and the work telling that
    // took (keyedWorkEstimate).
    double estimate() const { return estimate_; }
    double read() const { return read_; }
    // Runs the comparison within `most` (and kMaxComparedWork), the first
    // time it is called; later calls give the same verdict. It is not begun
    // when told to need more than that (KeyedNotBegun when more than
    // kMaxComparedWork, else StartNotBegun), nor when it would stop before
    // spending anything; stopped there, it is KeyedTooLong when it needs
    // more than kMaxComparedWork anyway, else StartTooLong.
    GroupsMeet run(double most);
    // The work it spent.
    double spent() const { return spent_; }

private:
    friend GroupsMeet separatedLayersMeet(SPBasicSuite*, AEGP_PluginID, AEGP_LayerH, const GroupSplit&, KeyedWork&);
    struct Comparison;
    std::unique_ptr<Comparison> comparison_;
    double estimate_ = 0.0, read_ = 0.0, spent_ = 0.0;
    GroupsMeet verdict_ = GroupsMeet::StartNotBegun;
};

// How two of the layers that `split` makes of the shape layer (one per
// separated group, and the source when it keeps drawing shapes) meet. Each
// copy draws its fills as they paint and the bands of its strokes (half the
// width from the outlines as drawn, each corner as far as its join or cap
// draws it, stretched as the groups and the layer stretch the stroke along
// each axis; see drawnBy), whatever the opacity and whichever copy a paint
// sits in: two copies meet when what they draw shares a place of positive
// area once each is grown by its body's skin, so copies that touch meet.
// Fills that meet are an overlap, a band that meets the other copy's fill or
// band is strokes that meet. They are compared at time 0, where the bodies
// are built, and, when what they hold is keyed, at every frame from the
// first key to the last at which the layer is shown in the composition:
// that comparison is left in `keyed`, and the verdict is keyed's until it
// has run (not begun). The layer's own transform places all of them alike and is taken
// at time 0. What cannot be read draws nothing; a copy that yields no
// outline at time 0 is NothingAtStart, as its body would be the plain box a
// layer falls back to, and one whose body would keep its place (too small to
// have a mass that moves it, makesMovingBody) is NoMovingBody.
//
// After time 0 only the pairs holding a keyed copy are compared. A copy
// whose group's own transform alone is keyed keeps its pieces of time 0 and
// moves them as the transform does, read at every frame, each grown by the
// skin where it lies, whatever scale took it there; one keyed otherwise
// is built again at each frame (a turn or a scale of the group only moves
// its pieces), and so is one whose outline is too small at time 0 to leave
// a piece (it may grow). The path of a copy that moves is cut into
// runs of frames, and each of its pieces boxed over each run; the boxes of
// all copies are swept together, and a piece is compared only at the frames
// at which its box meets one of another copy. Copies whose paths stay apart
// are so never compared piece by piece, however long their keys: they cost
// reading where they lie at each frame and a box per piece and run. A box is
// no larger than the disk its outline sweeps about its centre, however far
// the outline turns; copies whose rings (those disks, grown by the reach of
// their bands and by the skins) stay apart over a run are not boxed piece by
// piece there.
GroupsMeet separatedLayersMeet(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, const GroupSplit& split,
                               KeyedWork& keyed);
