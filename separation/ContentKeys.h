// The keys of a shape layer's contents, as the offer reads them: what they
// change of each item, and the frames at which the layer must be compared.
#pragma once

#include "host/AEGP_SuiteHandler.h"

#include <algorithm>

// The times of the first and last keys of some values, in seconds of
// composition time, and how many values are keyed.
struct KeySpan {
    bool keyed = false;
    double first = 0.0, last = 0.0;
    int values = 0;

    void widen(double s)
    {
        first = keyed ? std::min(first, s) : s;
        last = keyed ? std::max(last, s) : s;
        keyed = true;
    }
    void widen(const KeySpan& other)
    {
        if (other.keyed) {
            widen(other.first);
            widen(other.last);
        }
        values += other.values;
    }
};

// What the keys of one item of the contents change.
struct ItemKeys {
    KeySpan shape;  // what it draws: paths, sizes, strokes, groups inside it ...
    KeySpan move;   // only where it lies: the values of a group's own transform
};

// The keys of one item of the contents: those of a group's own transform
// move it, all others change what it draws (none when it is switched off).
A_Err readItemKeys(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH item, ItemKeys& keys,
                   bool& untold);

// The frames of the composition from the one at or before a span's first
// key to the one at or after its last, at which the layer is shown (from its
// in-point to before its out-point, within the composition's duration; its
// first frame shown when the keys end before it), frame 0 left out (it is
// compared anyway): frame k lies at k times `step`.
struct Frames {
    A_Time step{0, 1};
    double first = 1.0, last = 0.0;

    double count() const { return std::max(0.0, last - first + 1.0); }
    A_Time at(double k) const { return A_Time{A_long(k) * step.value, step.scale}; }
};

A_Err framesOf(const AEGP_SuiteHandler& suites, AEGP_LayerH layer, const KeySpan& span, Frames& frames);
