#include "KeyCensus.h"

#include "project/Project.h"

#include <functional>

namespace standin {

namespace {

bool sameKeys(const std::vector<Keyframe>& a, const std::vector<Keyframe>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const Keyframe& x = a[i];
        const Keyframe& y = b[i];
        if (x.time.value != y.time.value || x.time.scale != y.time.scale || x.value != y.value
            || x.inTangent != y.inTangent || x.outTangent != y.outTangent)
            return false;
    }
    return true;
}

// Calls visit(path, name, leaf) for every leaf below the layer's root. The
// path names the leaf uniquely (match names plus the index in indexed
// groups); the name is what a user reads: the leaf's display name, led by
// its groups' names outside the transform group.
void forEachLeaf(const PropertyNode& root,
                 const std::function<void(const QString&, const QString&, const PropertyNode&)>& visit)
{
    std::function<void(const PropertyNode&, const QString&, const QString&)> walk =
        [&](const PropertyNode& node, const QString& path, const QString& name) {
            for (int i = 0; i < node.childCount(); ++i) {
                const PropertyNode* child = node.child(i);
                QString childPath = path + QLatin1Char('/') + child->matchName();
                if (node.grouping() == Grouping::IndexedGroup)
                    childPath += QLatin1Char('#') + QString::number(i);
                if (child->isLeaf()) {
                    visit(childPath, name.isEmpty() ? child->displayName() : name + QLatin1String(" / ") + child->displayName(),
                          *child);
                } else {
                    const bool transform = child->matchName() == QLatin1String("ADBE Transform Group");
                    const QString childName = transform ? name
                        : name.isEmpty()                 ? child->displayName()
                                                         : name + QLatin1String(" / ") + child->displayName();
                    walk(*child, childPath, childName);
                }
            }
        };
    walk(root, QString(), QString());
}

} // namespace

KeyCensus KeyCensus::take(const Project& project)
{
    KeyCensus census;
    for (Composition* comp : project.compositions())
        for (const auto& layer : comp->layers()) {
            census.layers_.insert(layer->uid());
            if (!layer->root())
                continue;
            forEachLeaf(*layer->root(), [&](const QString& path, const QString&, const PropertyNode& leaf) {
                if (leaf.keyCount() > 0)
                    census.keys_[{layer->uid(), path}] = leaf.keys();
            });
        }
    return census;
}

std::vector<KeyedLayer> KeyCensus::changes(const Project& after) const
{
    std::vector<KeyedLayer> result;
    static const std::vector<Keyframe> kNoKeys;
    for (Composition* comp : after.compositions())
        for (const auto& layer : comp->layers()) {
            KeyedLayer entry;
            entry.composition = comp->name();
            entry.layer = layer->displayName();
            entry.layerId = layer->id();
            entry.newLayer = layers_.count(layer->uid()) == 0;
            if (layer->root())
                forEachLeaf(*layer->root(), [&](const QString& path, const QString& name, const PropertyNode& leaf) {
                    auto it = keys_.find({layer->uid(), path});
                    const std::vector<Keyframe>& before = it == keys_.end() ? kNoKeys : it->second;
                    if (!sameKeys(before, leaf.keys()))
                        entry.streams.emplace_back(name, leaf.keyCount());
                });
            if (!entry.streams.empty())
                result.push_back(std::move(entry));
        }
    return result;
}

} // namespace standin
