#include "project/LayerJson.h"

#include "project/JsonWriter.h"

#include "project/Composition.h"
#include "project/Item.h"
#include "project/MatchNames.h"
#include "project/PropertyCatalog.h"
#include "project/ShapeJson.h"
#include "project/ValueJson.h"

namespace standin {

namespace {

struct FlagName {
    quint32 bit;
    const char* name;
};

const FlagName kFlagNames[] = {
    {0x1, "video"},          {0x2, "audio"},          {0x4, "effects"},       {0x8, "motionBlur"},
    {0x10, "frameBlending"}, {0x20, "locked"},        {0x40, "shy"},          {0x80, "collapse"},
    {0x100, "autoOrient"},   {0x200, "adjustment"},   {0x400, "timeRemapping"}, {0x800, "threeD"},
    {0x1000, "lookAtCamera"}, {0x2000, "lookAtPoi"},  {0x4000, "solo"},       {0x8000, "markersLocked"},
    {0x10000, "null"},       {0x20000, "hideLockedMasks"}, {0x40000, "guide"},
};
constexpr quint32 kAllFlags = 0x7FFFF;

struct TransformMember {
    const char* key;
    TransformStream stream;
};

const TransformMember kTransformMembers[] = {
    {"anchorPoint", TransformStream::AnchorPoint}, {"position", TransformStream::Position},
    {"scale", TransformStream::Scale},             {"rotation", TransformStream::Rotation},
    {"opacity", TransformStream::Opacity},
};

void readTransform(const QJsonValue& v, Layer* layer, const JsonPath& path, A_u_long scale)
{
    const QJsonObject o = objectAt(v, path);
    checkMembers(o, path, {"anchorPoint", "position", "positionX", "positionY", "scale", "rotation", "opacity"});
    for (const TransformMember& m : kTransformMembers)
        if (o.contains(QLatin1String(m.key)))
            readStream(o.value(QLatin1String(m.key)), layer->transformStream(m.stream), path / m.key, scale);
    const bool hasX = o.contains(QLatin1String("positionX"));
    const bool hasY = o.contains(QLatin1String("positionY"));
    if (hasX != hasY)
        failAt(path, QStringLiteral("a separated position needs both \"positionX\" and \"positionY\""));
    if (!hasX)
        return;
    PropertyNode* leader = layer->transformStream(TransformStream::Position);
    if (leader->keyCount() > 0 || leader->hasExpression())
        failAt(path / "position", QStringLiteral("a separated position keeps its keys in \"positionX\" and \"positionY\""));
    layer->setPositionSeparated(true);
    readStream(o.value(QLatin1String("positionX")), leader->separationFollower(0), path / "positionX", scale);
    readStream(o.value(QLatin1String("positionY")), leader->separationFollower(1), path / "positionY", scale);
}

QJsonObject writeTransform(const Layer& layer)
{
    QJsonObject o;
    for (const TransformMember& m : kTransformMembers)
        if (const PropertyNode* node = layer.transformStream(m.stream))
            o.insert(QLatin1String(m.key), writeStream(*node));
    if (layer.isPositionSeparated()) {
        const PropertyNode* leader = layer.transformStream(TransformStream::Position);
        o.insert(QStringLiteral("positionX"), writeStream(*leader->separationFollower(0)));
        o.insert(QStringLiteral("positionY"), writeStream(*leader->separationFollower(1)));
    }
    return o;
}

struct MaskMember {
    const char* key;
    const char* matchName;
};

const MaskMember kMaskMembers[] = {
    {"shape", match::kMaskShape},
    {"feather", match::kMaskFeather},
    {"opacity", match::kMaskOpacity},
    {"expansion", match::kMaskOffset},
};

void readMasks(const QJsonValue& v, Layer* layer, const JsonPath& path, A_u_long scale)
{
    const QJsonArray list = arrayAt(v, path);
    for (int i = 0; i < list.size(); ++i) {
        const JsonPath mp = path / i;
        const QJsonObject o = objectAt(list[i], mp);
        checkMembers(o, mp, {"name", "shape", "feather", "opacity", "expansion", "mode", "inverted", "locked", "color",
                             "flags"});
        PropertyNode* atom = layer->maskAtom(layer->addMask());
        if (o.contains(QLatin1String("name")))
            atom->setDisplayName(stringAt(o.value(QLatin1String("name")), mp / "name"));
        for (const MaskMember& m : kMaskMembers)
            if (o.contains(QLatin1String(m.key)))
                readStream(o.value(QLatin1String(m.key)), atom->childByMatchName(QLatin1String(m.matchName)),
                           mp / m.key, scale);
        MaskAttributes a;
        if (o.contains(QLatin1String("mode")))
            a.mode = int(integerAt(o.value(QLatin1String("mode")), mp / "mode", 0, 6));
        if (o.contains(QLatin1String("inverted")))
            a.inverted = boolAt(o.value(QLatin1String("inverted")), mp / "inverted");
        if (o.contains(QLatin1String("locked")))
            a.locked = boolAt(o.value(QLatin1String("locked")), mp / "locked");
        if (o.contains(QLatin1String("color")))
            a.color = readColor(o.value(QLatin1String("color")), mp / "color");
        atom->setMaskAttributes(a);
        readDynamicFlags(o, atom, mp);
    }
}

QJsonArray writeMasks(const Layer& layer)
{
    QJsonArray list;
    for (int i = 0; i < layer.maskCount(); ++i) {
        const PropertyNode* atom = layer.maskAtom(i);
        QJsonObject o{{QStringLiteral("name"), atom->displayName()}};
        for (const MaskMember& m : kMaskMembers)
            if (const PropertyNode* leaf = atom->childByMatchName(QLatin1String(m.matchName)))
                o.insert(QLatin1String(m.key), writeStream(*leaf));
        const MaskAttributes& a = atom->maskAttributes();
        o.insert(QStringLiteral("mode"), a.mode);
        o.insert(QStringLiteral("inverted"), a.inverted);
        o.insert(QStringLiteral("locked"), a.locked);
        o.insert(QStringLiteral("color"), writeColor(a.color));
        writeDynamicFlags(*atom, &o);
        list.append(o);
    }
    return list;
}

TextDocument readText(const QJsonValue& v, const JsonPath& path)
{
    const QJsonObject o = objectAt(v, path);
    checkMembers(o, path, {"text", "font", "size", "outlines"});
    TextDocument t;
    if (o.contains(QLatin1String("text")))
        t.text = stringAt(o.value(QLatin1String("text")), path / "text");
    if (o.contains(QLatin1String("font")))
        t.fontFamily = stringAt(o.value(QLatin1String("font")), path / "font");
    if (o.contains(QLatin1String("size"))) {
        t.fontSize = numberAt(o.value(QLatin1String("size")), path / "size");
        if (t.fontSize <= 0 || t.fontSize > 10000)
            failAt(path / "size", QStringLiteral("a font size must lie in (0, 10000]"));
    }
    if (o.contains(QLatin1String("outlines"))) {
        const QJsonArray list = arrayAt(o.value(QLatin1String("outlines")), path / "outlines");
        t.hasOutlines = true;
        for (int i = 0; i < list.size(); ++i)
            t.outlines.push_back(readOutline(list[i], path / "outlines" / i));
    }
    return t;
}

QJsonObject writeText(const TextDocument& t)
{
    QJsonObject o{{QStringLiteral("text"), t.text}, {QStringLiteral("font"), t.fontFamily},
                  {QStringLiteral("size"), t.fontSize}};
    if (t.hasOutlines) {
        QJsonArray list;
        for (const MaskOutline& outline : t.outlines)
            list.append(writeOutline(outline));
        o.insert(QStringLiteral("outlines"), list);
    }
    return o;
}

// The kind of item a layer kind takes as its source, or a reason.
QString sourceMismatch(LayerKind kind, const Item& item)
{
    const Footage* f = item.asFootage();
    switch (kind) {
    case LayerKind::Solid:
    case LayerKind::Adjustment:
    case LayerKind::Null:
        if (!f || f->kind() != FootageKind::Solid)
            return QStringLiteral("a %1 layer needs a solid as its source").arg(layerKindName(kind));
        break;
    case LayerKind::Footage:
        if (!f)
            return QStringLiteral("a footage layer needs a footage item as its source");
        break;
    case LayerKind::Composition:
        if (!item.asComposition())
            return QStringLiteral("a composition layer needs a composition as its source");
        break;
    default:
        break;
    }
    return QString();
}

QString defaultSourceName(LayerKind kind, LayerReadContext& ctx)
{
    switch (kind) {
    case LayerKind::Shape: return QStringLiteral("Shape Layer %1").arg(++ctx.shapeCount);
    case LayerKind::Text: return QStringLiteral("Text %1").arg(++ctx.textCount);
    case LayerKind::Camera: return QStringLiteral("Camera %1").arg(++ctx.cameraCount);
    case LayerKind::Light: return QStringLiteral("Light %1").arg(++ctx.lightCount);
    default: break;
    }
    return QString();
}

} // namespace

quint32 readLayerFlags(const QJsonValue& v, const JsonPath& path)
{
    if (v.isDouble())
        return quint32(integerAt(v, path, 0, kAllFlags));
    const QJsonArray list = arrayAt(v, path);
    quint32 flags = 0;
    for (int i = 0; i < list.size(); ++i) {
        const QString name = stringAt(list[i], path / i);
        bool known = false;
        for (const FlagName& f : kFlagNames)
            if (name == QLatin1String(f.name)) {
                flags |= f.bit;
                known = true;
            }
        if (!known) {
            QStringList names;
            for (const FlagName& f : kFlagNames)
                names << QLatin1String(f.name);
            failAt(path / i, QStringLiteral("unknown layer flag \"%1\" (expected one of: %2)")
                                 .arg(name, names.join(QStringLiteral(", "))));
        }
    }
    return flags;
}

QJsonValue writeLayerFlags(quint32 flags)
{
    QJsonArray list;
    for (const FlagName& f : kFlagNames)
        if (flags & f.bit)
            list.append(QLatin1String(f.name));
    return list;
}

std::shared_ptr<Layer> readLayer(const QJsonValue& v, const JsonPath& path, LayerReadContext& ctx, quint32* parentId)
{
    const QJsonObject o = objectAt(v, path);
    checkMembers(o, path, {"id", "name", "type", "source", "sourceName", "label", "flags", "inPoint", "duration",
                           "parent", "videoReallyOn", "transform", "masks", "contents", "text"});
    const QString typeName = stringAt(required(o, "type", path), path / "type");
    LayerKind kind;
    if (!layerKindFromName(typeName, &kind))
        failAt(path / "type", QStringLiteral("unknown layer type \"%1\" (expected one of: solid, footage, "
                                             "composition, null, adjustment, text, shape, camera, light)")
                                  .arg(typeName));
    std::shared_ptr<Layer> layer = Layer::create(kind);
    Composition* comp = ctx.comp;
    const A_u_long scale = comp->frameDuration().scale;

    if (o.contains(QLatin1String("id")))
        layer->setId(quint32(integerAt(o.value(QLatin1String("id")), path / "id", 1, 0x7FFFFFFF)));
    if (o.contains(QLatin1String("name")))
        layer->setName(stringAt(o.value(QLatin1String("name")), path / "name"));

    if (o.contains(QLatin1String("source"))) {
        if (!kindHasSource(kind))
            failAt(path / "source", QStringLiteral("a %1 layer has no source item").arg(typeName));
        Item* item = ctx.resolveItem(o.value(QLatin1String("source")), path / "source");
        if (item == comp)
            failAt(path / "source", QStringLiteral("a composition cannot contain itself"));
        const QString mismatch = sourceMismatch(kind, *item);
        if (!mismatch.isEmpty())
            failAt(path / "source", mismatch);
        layer->setSource(item);
    } else if (kind == LayerKind::Null) {
        layer->setSource(ctx.makeNullSolid());
    } else if (kindHasSource(kind)) {
        failAt(path, QStringLiteral("missing member \"source\" (a %1 layer needs a source item)").arg(typeName));
    }
    if (o.contains(QLatin1String("sourceName"))) {
        if (kindHasSource(kind))
            failAt(path / "sourceName", QStringLiteral("an audio-video layer takes its source name from its source"));
        layer->setDefaultSourceName(stringAt(o.value(QLatin1String("sourceName")), path / "sourceName"));
    } else {
        layer->setDefaultSourceName(defaultSourceName(kind, ctx));
    }

    if (o.contains(QLatin1String("label")))
        layer->setLabel(int(integerAt(o.value(QLatin1String("label")), path / "label", 0, 16)));
    if (o.contains(QLatin1String("flags")))
        layer->setFlags(readLayerFlags(o.value(QLatin1String("flags")), path / "flags"));

    A_Time inPoint{0, scale};
    if (o.contains(QLatin1String("inPoint")))
        inPoint = readTime(o.value(QLatin1String("inPoint")), path / "inPoint", scale);
    A_Time duration = comp->duration();
    if (o.contains(QLatin1String("duration"))) {
        duration = readTime(o.value(QLatin1String("duration")), path / "duration", scale);
        if (duration.value <= 0)
            failAt(path / "duration", QStringLiteral("a layer's duration must be greater than 0"));
    }
    layer->setInPoint(inPoint);
    layer->setDuration(duration);

    *parentId = 0;
    if (o.contains(QLatin1String("parent")) && !o.value(QLatin1String("parent")).isNull())
        *parentId = quint32(integerAt(o.value(QLatin1String("parent")), path / "parent", 1, 0x7FFFFFFF));
    if (o.contains(QLatin1String("videoReallyOn")))
        layer->setVideoReallyOnOverride(boolAt(o.value(QLatin1String("videoReallyOn")), path / "videoReallyOn"));

    // An AV layer's anchor defaults to the middle of its source.
    if (Item* src = layer->source())
        layer->transformStream(TransformStream::AnchorPoint)
            ->setStaticValue(Value::threeD(src->width() / 2.0, src->height() / 2.0, 0));
    if (o.contains(QLatin1String("transform")))
        readTransform(o.value(QLatin1String("transform")), layer.get(), path / "transform", scale);

    if (o.contains(QLatin1String("masks"))) {
        if (!kindHasMasks(kind))
            failAt(path / "masks", QStringLiteral("a %1 layer has no masks").arg(typeName));
        readMasks(o.value(QLatin1String("masks")), layer.get(), path / "masks", scale);
    }
    if (o.contains(QLatin1String("contents"))) {
        if (kind != LayerKind::Shape)
            failAt(path / "contents", QStringLiteral("only shape layers have contents"));
        readShapeContents(o.value(QLatin1String("contents")), layer->rootVectorsGroup(), path / "contents", scale);
    }
    if (o.contains(QLatin1String("text"))) {
        if (kind != LayerKind::Text)
            failAt(path / "text", QStringLiteral("only text layers have text"));
        layer->setText(readText(o.value(QLatin1String("text")), path / "text"));
    }
    return layer;
}

QJsonObject writeLayer(const Layer& layer)
{
    QJsonObject o = writeLayerButTransform(layer);
    o.insert(QStringLiteral("transform"), writeTransform(layer));
    return o;
}

void streamLayer(const Layer& layer, JsonStream& out, int indent)
{
    out.objectWith(writeLayerButTransform(layer), QStringLiteral("transform"), [&](int depth) {
        JsonStream::Streamed streams;
        auto add = [&](const char* key, const PropertyNode* node) {
            streams.emplace_back(QLatin1String(key), [&out, node](int d) { streamStream(*node, out, d); });
        };
        for (const TransformMember& m : kTransformMembers)
            if (const PropertyNode* node = layer.transformStream(m.stream))
                add(m.key, node);
        if (layer.isPositionSeparated()) {
            const PropertyNode* leader = layer.transformStream(TransformStream::Position);
            add("positionX", leader->separationFollower(0));
            add("positionY", leader->separationFollower(1));
        }
        out.objectWith(QJsonObject(), streams, depth);
    }, indent);
}

QJsonObject writeLayerButTransform(const Layer& layer)
{
    QJsonObject o{
        {QStringLiteral("id"), double(layer.id())},
        {QStringLiteral("type"), layerKindName(layer.kind())},
        {QStringLiteral("name"), layer.name()},
        {QStringLiteral("label"), layer.label()},
        {QStringLiteral("flags"), writeLayerFlags(layer.flags())},
        {QStringLiteral("inPoint"), writeTime(layer.inPoint())},
        {QStringLiteral("duration"), writeTime(layer.duration())},
    };
    if (kindHasSource(layer.kind())) {
        if (layer.source())
            o.insert(QStringLiteral("source"), double(layer.source()->id()));
    } else {
        o.insert(QStringLiteral("sourceName"), layer.defaultSourceName());
    }
    if (layer.parent())
        o.insert(QStringLiteral("parent"), double(layer.parent()->id()));
    if (layer.videoReallyOnOverride())
        o.insert(QStringLiteral("videoReallyOn"), *layer.videoReallyOnOverride());
    if (layer.maskCount() > 0)
        o.insert(QStringLiteral("masks"), writeMasks(layer));
    if (const PropertyNode* contents = layer.rootVectorsGroup())
        o.insert(QStringLiteral("contents"), writeShapeContents(*contents));
    if (layer.kind() == LayerKind::Text)
        o.insert(QStringLiteral("text"), writeText(layer.text()));
    return o;
}

} // namespace standin
