// What the plug-in did to the keyframes of a project: a snapshot of every
// keyed stream before the command, compared with the project afterwards.
#pragma once

#include "project/PropertyNode.h"

#include <QString>

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace standin {

class Project;

// One layer whose keys changed, with its streams' key counts afterwards.
struct KeyedLayer {
    QString composition;
    QString layer;
    quint32 layerId = 0;
    bool newLayer = false;                          // not in the project before
    std::vector<std::pair<QString, int>> streams;   // stream name, keys now
};

class KeyCensus
{
public:
    // Copies the keys of every stream of every layer.
    static KeyCensus take(const Project& project);

    // Layers whose keys differ from this snapshot (changed, added or all
    // removed), in project order. For a layer that did not exist before, the
    // streams that have keys.
    std::vector<KeyedLayer> changes(const Project& after) const;

private:
    using Key = std::pair<quint64, QString>; // layer uid, stream path
    std::map<Key, std::vector<Keyframe>> keys_;
    std::set<quint64> layers_;
};

} // namespace standin
