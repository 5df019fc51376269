// The layer stack of a composition and the host's edits to it.
#include "project/Composition.h"

#include "project/Time.h"

namespace standin {

Layer* Composition::layer(int index) const
{
    if (index < 0 || index >= layerCount())
        return nullptr;
    return layers_[size_t(index)].get();
}

int Composition::indexOf(const Layer* layer) const
{
    for (size_t i = 0; i < layers_.size(); ++i)
        if (layers_[i].get() == layer)
            return int(i);
    return -1;
}

Layer* Composition::layerById(quint32 id) const
{
    for (const auto& l : layers_)
        if (l->id() == id)
            return l.get();
    return nullptr;
}

quint32 Composition::nextLayerId() const
{
    quint32 maxId = 0;
    for (const auto& l : layers_)
        maxId = std::max(maxId, l->id());
    return maxId + 1;
}

void Composition::insertLayer(std::shared_ptr<Layer> layer, int index)
{
    if (!layer)
        return;
    layer->attach(this);
    if (index < 0 || index >= layerCount())
        layers_.push_back(std::move(layer));
    else
        layers_.insert(layers_.begin() + index, std::move(layer));
    touch();
}

Layer* Composition::duplicateLayer(Layer* source)
{
    const int at = indexOf(source);
    if (at < 0 || source->isDeleted())
        return nullptr;
    std::shared_ptr<Layer> copy = source->clone();
    copy->setId(nextLayerId());
    Layer* raw = copy.get();
    insertLayer(std::move(copy), at);
    return raw;
}

A_Err Composition::reorderLayer(Layer* layer, int index)
{
    if (!layer || index < -1)
        return A_Err_PARAMETER;
    if (layer->isDeleted())
        return A_Err_STRUCT;
    const int from = indexOf(layer);
    if (from < 0)
        return A_Err_PARAMETER;
    std::shared_ptr<Layer> keep = layers_[size_t(from)];
    layers_.erase(layers_.begin() + from);
    const int last = int(layers_.size()); // the final index of the bottom layer
    const int to = (index == -1 || index > last) ? last : index;
    layers_.insert(layers_.begin() + to, std::move(keep));
    touch();
    return A_Err_NONE;
}

A_Err Composition::deleteLayer(Layer* layer)
{
    if (!layer)
        return A_Err_PARAMETER;
    if (layer->isDeleted())
        return A_Err_STRUCT;
    const int at = indexOf(layer);
    if (at < 0)
        return A_Err_PARAMETER;
    for (const auto& l : layers_)
        if (l->parent() == layer)
            l->setParentUnchecked(nullptr);
    // Kept alive, marked deleted, so that raw pointers held by handles stay
    // readable until the composition goes.
    retired_.push_back(layers_[size_t(at)]);
    layers_.erase(layers_.begin() + at);
    touch();
    layer->markDeleted();
    return A_Err_NONE;
}

Layer* Composition::createShapeLayer()
{
    int shapes = 0;
    for (const auto& l : layers_)
        if (l->kind() == LayerKind::Shape)
            ++shapes;
    std::shared_ptr<Layer> layer = Layer::create(LayerKind::Shape);
    const QString name = QStringLiteral("Shape Layer %1").arg(shapes + 1);
    layer->setId(nextLayerId());
    layer->setName(name);
    layer->setDefaultSourceName(name);
    layer->setFlags(AEGP_LayerFlag_VIDEO_ACTIVE);
    layer->setInPoint(A_Time{0, frameDuration_.scale});
    layer->setDuration(duration());
    layer->transformStream(TransformStream::Position)->setStaticValue(Value::threeD(width() / 2.0, height() / 2.0, 0));
    Layer* raw = layer.get();
    insertLayer(std::move(layer), 0);
    return raw;
}

bool Composition::isDescendant(const Layer* layer, const Layer* ancestor) const
{
    // A chain longer than the stack would be a cycle; stop there.
    int steps = 0;
    for (const Layer* p = layer ? layer->parent() : nullptr; p && steps <= layerCount(); p = p->parent(), ++steps)
        if (p == ancestor)
            return true;
    return false;
}

A_Err Composition::setParent(Layer* layer, Layer* parent)
{
    if (!layer)
        return A_Err_PARAMETER;
    if (layer->isDeleted() || (parent && parent->isDeleted()))
        return A_Err_STRUCT;
    if (indexOf(layer) < 0)
        return A_Err_PARAMETER;
    if (parent && (indexOf(parent) < 0 || parent == layer || isDescendant(parent, layer)))
        return A_Err_PARAMETER;
    layer->setParentUnchecked(parent);
    return A_Err_NONE;
}

bool Composition::isVideoReallyOn(const Layer* layer) const
{
    if (!layer)
        return false;
    if (layer->videoReallyOnOverride())
        return *layer->videoReallyOnOverride();
    if (!(layer->flags() & AEGP_LayerFlag_VIDEO_ACTIVE))
        return false;
    if (layer->flags() & AEGP_LayerFlag_SOLO)
        return true;
    for (const auto& l : layers_)
        if (l->flags() & AEGP_LayerFlag_SOLO)
            return false;
    return true;
}

std::vector<Layer*> Composition::selection() const
{
    std::vector<Layer*> result;
    for (const auto& w : selection_)
        if (auto l = w.lock(); l && !l->isDeleted() && l->composition() == this)
            result.push_back(l.get());
    return result;
}

A_Err Composition::setSelection(const std::vector<Layer*>& layers)
{
    std::vector<std::weak_ptr<Layer>> next;
    for (Layer* l : layers) {
        if (!l)
            return A_Err_PARAMETER;
        if (l->isDeleted())
            continue;
        const int at = indexOf(l);
        if (at < 0)
            return A_Err_PARAMETER;
        bool dup = false;
        for (const auto& w : next)
            dup = dup || w.lock().get() == l;
        if (!dup)
            next.push_back(layers_[size_t(at)]);
    }
    selection_ = std::move(next);
    touch();
    return A_Err_NONE;
}

} // namespace standin
