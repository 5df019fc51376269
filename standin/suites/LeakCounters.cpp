#include "LeakCounters.h"

namespace standin {

std::string LeakCounters::describe() const
{
    std::string out;
    auto add = [&out](const char* name, int n) {
        if (!n)
            return;
        if (!out.empty())
            out += ", ";
        out += std::string(name) + " " + std::to_string(n);
    };
    add("stream refs", streamRefs);
    add("stream values", streamValues);
    add("mask outlines", maskOutlines);
    add("mem handles", memHandles);
    add("mask refs", maskRefs);
    add("key batches", keyBatches);
    add("text outlines", textOutlines);
    add("open undo groups", openUndoGroups);
    add("suite acquisitions", suiteAcquisitions);
    add("suite over-releases", suiteOverReleases);
    return out.empty() ? "none" : out;
}

} // namespace standin
