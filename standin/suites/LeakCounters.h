// Counts of what the plug-in was handed and has not given back.
#pragma once

#include <string>

namespace standin {

struct LeakCounters {
    int streamRefs = 0;
    int streamValues = 0;    // values handed out minus values disposed
    int maskOutlines = 0;    // outlines owned by values not yet disposed
    int memHandles = 0;
    int maskRefs = 0;
    int keyBatches = 0;      // batches never ended
    int textOutlines = 0;
    // Selection collections are the host's own: the interface has no way to
    // give them back, and the host frees them when the command returns. They
    // are counted while live but are not a leak.
    int collections = 0;
    int openUndoGroups = 0;  // groups still open
    int suiteAcquisitions = 0; // suite acquisitions not released
    int suiteOverReleases = 0; // releases of suites that were not acquired

    int total() const
    {
        return streamRefs + streamValues + maskOutlines + memHandles + maskRefs + keyBatches + textOutlines
            + openUndoGroups + suiteAcquisitions + suiteOverReleases;
    }
    bool none() const { return total() == 0; }
    // "stream refs 2, mem handles 1" (only non-zero leak counts), or "none".
    std::string describe() const;
};

} // namespace standin
