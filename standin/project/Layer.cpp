#include "project/Layer.h"

#include "project/Composition.h"
#include "project/Item.h"
#include "project/MatchNames.h"
#include "project/PropertyCatalog.h"
#include "project/Uid.h"

namespace standin {

namespace {

struct KindInfo {
    LayerKind kind;
    const char* name;
    AEGP_ObjectType objectType;
    const char* rootMatchName;
    quint32 impliedFlags;
};

const KindInfo kKinds[] = {
    {LayerKind::Solid, "solid", AEGP_ObjectType_AV, match::kAvLayer, 0},
    {LayerKind::Footage, "footage", AEGP_ObjectType_AV, match::kAvLayer, 0},
    {LayerKind::Composition, "composition", AEGP_ObjectType_AV, match::kAvLayer, 0},
    {LayerKind::Null, "null", AEGP_ObjectType_AV, match::kAvLayer, AEGP_LayerFlag_NULL_LAYER},
    {LayerKind::Adjustment, "adjustment", AEGP_ObjectType_AV, match::kAvLayer, AEGP_LayerFlag_ADJUSTMENT_LAYER},
    {LayerKind::Text, "text", AEGP_ObjectType_TEXT, match::kTextLayer, 0},
    {LayerKind::Shape, "shape", AEGP_ObjectType_VECTOR, match::kVectorLayer, 0},
    {LayerKind::Camera, "camera", AEGP_ObjectType_CAMERA, match::kCameraLayer, 0},
    {LayerKind::Light, "light", AEGP_ObjectType_LIGHT, match::kLightLayer, 0},
};

const KindInfo& info(LayerKind kind)
{
    for (const KindInfo& k : kKinds)
        if (k.kind == kind)
            return k;
    return kKinds[0];
}

} // namespace

QString layerKindName(LayerKind kind)
{
    return QLatin1String(info(kind).name);
}

bool layerKindFromName(const QString& name, LayerKind* kind)
{
    for (const KindInfo& k : kKinds)
        if (name == QLatin1String(k.name)) {
            if (kind)
                *kind = k.kind;
            return true;
        }
    return false;
}

AEGP_ObjectType objectTypeOf(LayerKind kind)
{
    return info(kind).objectType;
}

bool kindHasSource(LayerKind kind)
{
    return objectTypeOf(kind) == AEGP_ObjectType_AV;
}

bool kindHasMasks(LayerKind kind)
{
    return kind != LayerKind::Camera && kind != LayerKind::Light;
}

quint32 kindImpliedFlags(LayerKind kind)
{
    return info(kind).impliedFlags;
}

bool TextDocument::operator==(const TextDocument& o) const
{
    return text == o.text && fontFamily == o.fontFamily && fontSize == o.fontSize && hasOutlines == o.hasOutlines
        && outlines == o.outlines;
}

Layer::Layer(LayerKind kind) : uid_(newUid()), kind_(kind)
{
    flags_ = AEGP_LayerFlag_VIDEO_ACTIVE | kindImpliedFlags(kind);
}

Layer::~Layer()
{
    if (root_)
        root_->setOwningLayer(nullptr);
}

std::shared_ptr<Layer> Layer::create(LayerKind kind)
{
    std::shared_ptr<Layer> layer(new Layer(kind));
    layer->root_ = PropertyNode::makeGroup(QLatin1String(info(kind).rootMatchName), Grouping::NamedGroup,
                                           QString());
    layer->root_->setOwningLayer(layer.get());
    if (kindHasMasks(kind))
        layer->root_->insertChild(PropertyNode::makeGroup(QLatin1String(match::kMaskParade), Grouping::IndexedGroup,
                                                          QStringLiteral("Masks")));
    if (kind == LayerKind::Shape)
        layer->root_->insertChild(PropertyNode::makeGroup(QLatin1String(match::kRootVectorsGroup),
                                                          Grouping::IndexedGroup, QStringLiteral("Contents")));
    layer->root_->insertChild(makeTransformGroup());
    return layer;
}

std::shared_ptr<Layer> Layer::clone() const
{
    std::shared_ptr<Layer> copy(new Layer(kind_));
    copy->id_ = id_;
    copy->name_ = name_;
    copy->defaultSourceName_ = defaultSourceName_;
    copy->label_ = label_;
    copy->flags_ = flags_;
    copy->videoOverride_ = videoOverride_;
    copy->inPoint_ = inPoint_;
    copy->duration_ = duration_;
    copy->parent_ = parent_;
    copy->source_ = source_;
    copy->text_ = text_;
    copy->root_ = root_->clone();
    copy->root_->setOwningLayer(copy.get());
    return copy;
}

void Layer::touch()
{
    if (comp_)
        comp_->touchComposition();
}

void Layer::retireNode(PropertyNode::Ptr node)
{
    if (node)
        retiredNodes_.push_back(std::move(node));
}

void Layer::markDeleted()
{
    deleted_ = true;
    comp_ = nullptr;
    parent_ = nullptr;
}

void Layer::setId(quint32 id)
{
    id_ = id;
    touch();
}

void Layer::setName(const QString& name)
{
    name_ = name;
    touch();
}

QString Layer::sourceName() const
{
    if (kindHasSource(kind_) && source_)
        return source_->name();
    return defaultSourceName_;
}

void Layer::setDefaultSourceName(const QString& name)
{
    defaultSourceName_ = name;
    touch();
}

QString Layer::displayName() const
{
    return name_.isEmpty() ? sourceName() : name_;
}

bool Layer::setLabel(int label)
{
    if (label < 0 || label > 16)
        return false;
    label_ = label;
    touch();
    return true;
}

void Layer::setFlags(quint32 flags)
{
    flags_ = flags | kindImpliedFlags(kind_);
    touch();
}

bool Layer::setFlag(quint32 singleFlag, bool on)
{
    // exactly one bit, and a writable one
    if (singleFlag == 0 || (singleFlag & (singleFlag - 1)) != 0 || !(singleFlag & kWritableLayerFlags))
        return false;
    if (on)
        flags_ |= singleFlag;
    else
        flags_ &= ~singleFlag;
    touch();
    return true;
}

void Layer::setVideoReallyOnOverride(const std::optional<bool>& value)
{
    videoOverride_ = value;
    touch();
}

void Layer::setInPoint(const A_Time& t)
{
    inPoint_ = t;
    touch();
}

void Layer::setDuration(const A_Time& t)
{
    duration_ = t;
    touch();
}

void Layer::setParentUnchecked(Layer* parent)
{
    parent_ = parent;
    touch();
}

void Layer::setSource(Item* item)
{
    source_ = item;
    touch();
}

void Layer::setText(const TextDocument& text)
{
    text_ = text;
    touch();
}

PropertyNode* Layer::maskParade() const
{
    return root_->childByMatchName(QLatin1String(match::kMaskParade));
}

PropertyNode* Layer::rootVectorsGroup() const
{
    return root_->childByMatchName(QLatin1String(match::kRootVectorsGroup));
}

PropertyNode* Layer::transformGroup() const
{
    return root_->childByMatchName(QLatin1String(match::kTransformGroup));
}

PropertyNode* Layer::transformStream(TransformStream which) const
{
    PropertyNode* group = transformGroup();
    if (!group)
        return nullptr;
    const char* name = nullptr;
    switch (which) {
    case TransformStream::AnchorPoint: name = match::kAnchorPoint; break;
    case TransformStream::Position: name = match::kPosition; break;
    case TransformStream::Scale: name = match::kScale; break;
    case TransformStream::Rotation: name = match::kRotation; break;
    case TransformStream::Opacity: name = match::kOpacity; break;
    }
    return name ? group->childByMatchName(QLatin1String(name)) : nullptr;
}

const Layer::PlacingLeaves& Layer::placingLeaves() const
{
    if (placingGeneration_ == PropertyNode::shapeGeneration())
        return placing_;
    placing_ = PlacingLeaves{};
    const PropertyNode* group = transformGroup();
    const int count = group ? group->childCount() : 0;
    for (int i = 0; i < count; ++i) {
        const PropertyNode* c = group->child(i);
        const QString& name = c->matchName();
        if (!placing_.anchor && sameMatchName(name, QLatin1String(match::kAnchorPoint)))
            placing_.anchor = c;
        else if (!placing_.position && sameMatchName(name, QLatin1String(match::kPosition)))
            placing_.position = c;
        else if (!placing_.scale && sameMatchName(name, QLatin1String(match::kScale)))
            placing_.scale = c;
        else if (!placing_.rotation && sameMatchName(name, QLatin1String(match::kRotation)))
            placing_.rotation = c;
    }
    placingGeneration_ = PropertyNode::shapeGeneration();
    return placing_;
}

bool Layer::isPositionSeparated() const
{
    const PropertyNode* p = transformStream(TransformStream::Position);
    return p && p->isSeparationLeader();
}

void Layer::setPositionSeparated(bool separated)
{
    PropertyNode* group = transformGroup();
    PropertyNode* leader = transformStream(TransformStream::Position);
    if (!group || !leader || leader->isSeparationLeader() == separated)
        return;
    if (separated) {
        const int at = leader->indexInParent();
        const char* names[2] = {match::kPositionX, match::kPositionY};
        for (int dim = 0; dim < 2; ++dim) {
            auto follower = PropertyNode::makeLeaf(QLatin1String(names[dim]), leafDisplayName(QLatin1String(names[dim])),
                                                   Value::oneD(leader->staticValue().v[dim]));
            std::vector<Keyframe> keys;
            for (const Keyframe& k : leader->keys()) {
                Keyframe f;
                f.time = k.time;
                f.value = Value::oneD(k.value.v[dim]);
                keys.push_back(f);
            }
            group->insertChild(follower, at + 1 + dim)->setKeys(keys);
        }
        leader->setKeys({});
        leader->setSeparationLeader(true);
    } else {
        Value v = leader->staticValue();
        for (int dim = 0; dim < 2; ++dim)
            if (PropertyNode* f = leader->separationFollower(dim)) {
                v.v[dim] = f->staticValue().v[0];
                group->removeChild(f->indexInParent());
            }
        leader->setSeparationLeader(false);
        leader->setStaticValue(v);
    }
    touch();
}

int Layer::maskCount() const
{
    const PropertyNode* parade = maskParade();
    return parade ? parade->childCount() : 0;
}

PropertyNode* Layer::maskAtom(int index) const
{
    const PropertyNode* parade = maskParade();
    return parade ? parade->child(index) : nullptr;
}

int Layer::addMask()
{
    PropertyNode* parade = maskParade();
    if (!parade)
        return -1;
    const int index = parade->childCount();
    parade->insertChild(makeMaskAtom(QStringLiteral("Mask %1").arg(index + 1)));
    return index;
}

bool Layer::removeMask(int index)
{
    PropertyNode* parade = maskParade();
    return parade && parade->removeChild(index) != nullptr;
}

} // namespace standin
