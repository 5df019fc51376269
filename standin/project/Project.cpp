#include "project/Project.h"

#include "project/Time.h"

namespace standin {

QString LoadError::toString() const
{
    if (line <= 0)
        return QStringLiteral("%1: %2").arg(file, reason);
    if (column > 0)
        return QStringLiteral("%1:%2:%3: %4").arg(file, QString::number(line), QString::number(column), reason);
    return QStringLiteral("%1:%2: %3").arg(file, QString::number(line), reason);
}

Project::Project() = default;

Project::~Project()
{
    // Layers point at items and at each other; drop the layers first.
    active_ = nullptr;
    items_.clear();
}

bool Project::restoreFromJson(const QByteArray& json, QString* error)
{
    LoadError loadError;
    std::unique_ptr<Project> image = fromJson(json, path_, &loadError);
    if (!image) {
        if (error)
            *error = loadError.toString();
        return false;
    }
    active_ = nullptr;
    items_ = std::move(image->items_);
    for (const auto& item : items_)
        item->setProject(this);
    active_ = image->active_;
    image->active_ = nullptr;
    if (image->explicitName_)
        name_ = image->name_;
    if (image->explicitPath_)
        path_ = image->path_;
    explicitName_ = image->explicitName_;
    explicitPath_ = image->explicitPath_;
    markModified();
    return true;
}

void Project::setName(const QString& name)
{
    name_ = name;
    markModified();
}

void Project::setPath(const QString& path)
{
    path_ = path;
    markModified();
}

Item* Project::itemById(quint32 id) const
{
    for (const auto& i : items_)
        if (i->id() == id)
            return i.get();
    return nullptr;
}

Item* Project::itemByName(const QString& name, ItemType type) const
{
    for (const auto& i : items_)
        if (i->type() == type && i->name() == name)
            return i.get();
    return nullptr;
}

std::vector<Composition*> Project::compositions() const
{
    std::vector<Composition*> result;
    for (const auto& i : items_)
        if (Composition* c = i->asComposition())
            result.push_back(c);
    return result;
}

Composition* Project::compositionByName(const QString& name) const
{
    Item* item = itemByName(name, ItemType::Composition);
    return item ? item->asComposition() : nullptr;
}

quint32 Project::nextItemId() const
{
    quint32 maxId = 0;
    for (const auto& i : items_)
        maxId = std::max(maxId, i->id());
    return maxId + 1;
}

Item* Project::addItem(std::shared_ptr<Item> item)
{
    if (!item)
        return nullptr;
    if (item->id() == 0)
        item->setId(nextItemId());
    item->setProject(this);
    items_.push_back(item);
    markModified();
    return item.get();
}

bool Project::containsItem(const Item* item) const
{
    for (const auto& i : items_)
        if (i.get() == item)
            return true;
    return false;
}

Composition* Project::activeComposition() const
{
    return active_ ? active_->asComposition() : nullptr;
}

void Project::setActiveItem(Item* item)
{
    active_ = containsItem(item) ? item : nullptr;
}

bool Project::setActiveComp(const QString& name)
{
    Composition* comp = compositionByName(name);
    if (!comp)
        return false;
    if (active_ != comp)
        setActiveItem(comp);
    return true;
}

Footage* Project::addSolid(const QString& name, int width, int height, const AEGP_ColorVal& color)
{
    auto solid = std::make_shared<Footage>(FootageKind::Solid);
    solid->setName(name);
    solid->setSize(width, height);
    solid->setColor(color);
    addItem(solid);
    return solid.get();
}

Footage* Project::addNullSolid()
{
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Null %1").arg(n);
        if (!itemByName(name, ItemType::Footage))
            return addSolid(name, 100, 100, AEGP_ColorVal{1.0, 1.0, 1.0, 1.0});
    }
}

Layer* Project::createNullLayer(Composition* comp, const QString& name, const A_Time& duration)
{
    if (!comp || !containsItem(comp))
        return nullptr;
    Footage* solid = addNullSolid();

    std::shared_ptr<Layer> layer = Layer::create(LayerKind::Null);
    layer->setId(comp->nextLayerId());
    layer->setName(name);
    layer->setSource(solid);
    layer->setFlags(AEGP_LayerFlag_VIDEO_ACTIVE | AEGP_LayerFlag_NULL_LAYER);
    layer->setInPoint(A_Time{0, comp->frameDuration().scale});
    const bool useComp = !isValidTime(duration) || duration.value <= 0;
    layer->setDuration(useComp ? comp->duration() : duration);
    layer->transformStream(TransformStream::AnchorPoint)->setStaticValue(Value::threeD(50, 50, 0));
    layer->transformStream(TransformStream::Position)
        ->setStaticValue(Value::threeD(comp->width() / 2.0, comp->height() / 2.0, 0));
    Layer* raw = layer.get();
    comp->insertLayer(std::move(layer), 0);
    return raw;
}

Composition* Project::duplicateComposition(Composition* comp)
{
    if (!comp || !containsItem(comp))
        return nullptr;
    QString name = comp->name() + QStringLiteral(" 2");
    for (int n = 3; itemByName(name, ItemType::Composition); ++n)
        name = comp->name() + QLatin1Char(' ') + QString::number(n);

    auto copy = std::make_shared<Composition>();
    copy->setName(name);
    copy->setSize(comp->width(), comp->height());
    copy->setPixelAspect(comp->pixelAspect());
    copy->setFrameDuration(comp->frameDuration());
    copy->setDuration(comp->duration());
    copy->setWorkAreaUnchecked(comp->workAreaStart(), comp->workAreaDuration());
    copy->setBackgroundColor(comp->backgroundColor());
    for (const auto& l : comp->layers())
        copy->insertLayer(l->clone());
    // Parents point into the source composition: map them by stack index.
    for (int i = 0; i < copy->layerCount(); ++i) {
        const Layer* oldParent = comp->layer(i)->parent();
        copy->layer(i)->setParentUnchecked(oldParent ? copy->layer(comp->indexOf(oldParent)) : nullptr);
    }
    addItem(copy);
    return copy.get();
}

} // namespace standin
