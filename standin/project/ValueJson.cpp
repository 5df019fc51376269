#include "project/ValueJson.h"

#include "project/JsonWriter.h"

#include "project/Time.h"

#include <algorithm>
#include <limits>

namespace standin {

A_Time readTime(const QJsonValue& v, const JsonPath& path, A_u_long secondsScale)
{
    if (v.isArray()) {
        const QJsonArray a = v.toArray();
        if (a.size() != 2)
            failAt(path, QStringLiteral("a time is [value, scale] or a number of seconds"));
        const qint64 value = integerAt(a[0], path / 0, std::numeric_limits<A_long>::min(),
                                       std::numeric_limits<A_long>::max());
        const qint64 scale = integerAt(a[1], path / 1, 1, std::numeric_limits<A_u_long>::max());
        return A_Time{A_long(value), A_u_long(scale)};
    }
    const double seconds = numberAt(v, path);
    A_Time t;
    if (!secondsToTime(seconds, secondsScale, &t))
        failAt(path, QStringLiteral("%1 seconds is out of range").arg(seconds));
    return t;
}

QJsonValue writeTime(const A_Time& t)
{
    return QJsonArray{double(t.value), double(t.scale)};
}

AEGP_ColorVal readColor(const QJsonValue& v, const JsonPath& path)
{
    const QJsonArray a = arrayAt(v, path);
    if (a.size() != 3 && a.size() != 4)
        failAt(path, QStringLiteral("a colour is [red, green, blue] or [red, green, blue, alpha]"));
    AEGP_ColorVal c{1.0, numberAt(a[0], path / 0), numberAt(a[1], path / 1), numberAt(a[2], path / 2)};
    if (a.size() == 4)
        c.alpha = numberAt(a[3], path / 3);
    return c;
}

QJsonValue writeColor(const AEGP_ColorVal& c)
{
    return QJsonArray{c.red, c.green, c.blue, c.alpha};
}

MaskOutline readOutline(const QJsonValue& v, const JsonPath& path)
{
    const QJsonObject o = objectAt(v, path);
    checkMembers(o, path, {"closed", "vertices"});
    MaskOutline outline;
    if (o.contains(QLatin1String("closed")))
        outline.open = !boolAt(o.value(QLatin1String("closed")), path / "closed");
    if (o.contains(QLatin1String("vertices"))) {
        const JsonPath vp = path / "vertices";
        const QJsonArray list = arrayAt(o.value(QLatin1String("vertices")), vp);
        for (int i = 0; i < list.size(); ++i) {
            const QJsonArray n = arrayAt(list[i], vp / i);
            if (n.size() != 2 && n.size() != 6)
                failAt(vp / i, QStringLiteral("a vertex is [x, y] or [x, y, inX, inY, outX, outY]"));
            double d[6] = {0, 0, 0, 0, 0, 0};
            for (int k = 0; k < n.size(); ++k)
                d[k] = numberAt(n[k], vp / i / k);
            outline.vertices.push_back(MaskVertex{d[0], d[1], d[2], d[3], d[4], d[5]});
        }
    }
    return outline;
}

QJsonValue writeOutline(const MaskOutline& o)
{
    QJsonArray vertices;
    for (const MaskVertex& m : o.vertices)
        vertices.append(QJsonArray{m.x, m.y, m.inX, m.inY, m.outX, m.outY});
    return QJsonObject{{QStringLiteral("closed"), !o.open}, {QStringLiteral("vertices"), vertices}};
}

Value readValue(const QJsonValue& v, ValueType type, const JsonPath& path, const Value& fallback)
{
    switch (type) {
    case ValueType::OneD:
        return Value::oneD(numberAt(v, path));
    case ValueType::TwoD:
    case ValueType::ThreeD: {
        const QJsonArray a = arrayAt(v, path);
        const bool threeD = type == ValueType::ThreeD;
        if (a.size() != 2 && !(threeD && a.size() == 3))
            failAt(path, threeD ? QStringLiteral("expected [x, y] or [x, y, z]") : QStringLiteral("expected [x, y]"));
        const double x = numberAt(a[0], path / 0);
        const double y = numberAt(a[1], path / 1);
        if (!threeD)
            return Value::twoD(x, y);
        return Value::threeD(x, y, a.size() == 3 ? numberAt(a[2], path / 2) : fallback.v[2]);
    }
    case ValueType::Color:
        return Value::color(readColor(v, path));
    case ValueType::Shape:
        return Value::outline(readOutline(v, path));
    case ValueType::None:
        break;
    }
    failAt(path, QStringLiteral("a group has no value"));
}

QJsonValue writeValue(const Value& value)
{
    switch (value.type) {
    case ValueType::OneD: return value.v[0];
    case ValueType::TwoD: return QJsonArray{value.v[0], value.v[1]};
    case ValueType::ThreeD: return QJsonArray{value.v[0], value.v[1], value.v[2]};
    case ValueType::Color: return writeColor(value.toColor());
    case ValueType::Shape: return writeOutline(value.shape);
    case ValueType::None: break;
    }
    return QJsonValue();
}

namespace {

bool isStreamObject(const QJsonValue& v, ValueType type)
{
    if (!v.isObject())
        return false;
    if (type != ValueType::Shape)
        return true;
    const QJsonObject o = v.toObject();
    return o.contains(QLatin1String("value")) || o.contains(QLatin1String("keys"))
        || o.contains(QLatin1String("expression"));
}

std::vector<Keyframe> readKeys(const QJsonValue& v, const PropertyNode& leaf, const JsonPath& path,
                               A_u_long secondsScale)
{
    const QJsonArray list = arrayAt(v, path);
    std::vector<Keyframe> keys;
    for (int i = 0; i < list.size(); ++i) {
        const JsonPath kp = path / i;
        Keyframe k;
        const ValueType tan = leaf.tangentType();
        k.inTangent = Value::zero(tan);
        k.outTangent = Value::zero(tan);
        // The compact form [time, value]: no tangents.
        if (list[i].isArray()) {
            const QJsonArray pair = list[i].toArray();
            if (pair.size() != 2)
                failAt(kp, QStringLiteral("a key is [time, value] or an object"));
            k.time = readTime(pair[0], kp / 0, secondsScale);
            k.value = readValue(pair[1], leaf.valueType(), kp / 1, leaf.staticValue());
            keys.push_back(k);
            continue;
        }
        const QJsonObject o = objectAt(list[i], kp);
        checkMembers(o, kp, {"time", "value", "inTangent", "outTangent"});
        k.time = readTime(required(o, "time", kp), kp / "time", secondsScale);
        k.value = readValue(required(o, "value", kp), leaf.valueType(), kp / "value", leaf.staticValue());
        const std::pair<const char*, Value*> tangents[] = {{"inTangent", &k.inTangent}, {"outTangent", &k.outTangent}};
        for (const auto& [name, target] : tangents) {
            if (!o.contains(QLatin1String(name)))
                continue;
            if (tan == ValueType::None)
                failAt(kp / name, QStringLiteral("\"%1\" has no spatial tangents").arg(leaf.matchName()));
            *target = readValue(o.value(QLatin1String(name)), tan, kp / name, Value::zero(tan));
        }
        keys.push_back(k);
    }
    std::vector<int> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return timeBefore(keys[size_t(a)].time, keys[size_t(b)].time); });
    for (size_t i = 1; i < order.size(); ++i)
        if (timesEqual(keys[size_t(order[i - 1])].time, keys[size_t(order[i])].time))
            failAt(path / std::max(order[i - 1], order[i]) / "time", QStringLiteral("two keys at the same time"));
    return keys;
}

} // namespace

void readStream(const QJsonValue& v, PropertyNode* leaf, const JsonPath& path, A_u_long secondsScale)
{
    if (!isStreamObject(v, leaf->valueType())) {
        leaf->setStaticValue(readValue(v, leaf->valueType(), path, leaf->staticValue()));
        return;
    }
    const QJsonObject o = v.toObject();
    checkMembers(o, path, {"value", "keys", "expression", "expressionEnabled", "expressionValue"});
    if (o.contains(QLatin1String("value")))
        leaf->setStaticValue(readValue(o.value(QLatin1String("value")), leaf->valueType(), path / "value",
                                       leaf->staticValue()));
    if (o.contains(QLatin1String("keys")))
        leaf->setKeys(readKeys(o.value(QLatin1String("keys")), *leaf, path / "keys", secondsScale));
    if (o.contains(QLatin1String("expression"))) {
        const QString text = stringAt(o.value(QLatin1String("expression")), path / "expression");
        bool enabled = true;
        if (o.contains(QLatin1String("expressionEnabled")))
            enabled = boolAt(o.value(QLatin1String("expressionEnabled")), path / "expressionEnabled");
        Value result = leaf->staticValue();
        if (o.contains(QLatin1String("expressionValue")))
            result = readValue(o.value(QLatin1String("expressionValue")), leaf->valueType(), path / "expressionValue",
                               leaf->staticValue());
        leaf->setExpression(text, enabled, result);
    } else if (o.contains(QLatin1String("expressionEnabled")) || o.contains(QLatin1String("expressionValue"))) {
        failAt(path, QStringLiteral("\"expressionEnabled\" and \"expressionValue\" need an \"expression\""));
    }
}

namespace {

// A plain key has no tangents to keep: it is written [time, value].
bool isPlainKey(const Keyframe& k, bool spatial)
{
    return !spatial
        || (k.inTangent == Value::zero(k.inTangent.type) && k.outTangent == Value::zero(k.outTangent.type));
}

// The stream's members but its keys.
QJsonObject streamMembers(const PropertyNode& leaf)
{
    QJsonObject o;
    o.insert(QStringLiteral("value"), writeValue(leaf.staticValue()));
    if (leaf.hasExpression()) {
        o.insert(QStringLiteral("expression"), leaf.expression());
        o.insert(QStringLiteral("expressionEnabled"), leaf.expressionEnabled());
        o.insert(QStringLiteral("expressionValue"), writeValue(leaf.expressionValue()));
    }
    return o;
}

} // namespace

QJsonValue writeStream(const PropertyNode& leaf)
{
    if (leaf.keyCount() == 0 && !leaf.hasExpression())
        return writeValue(leaf.staticValue());
    QJsonObject o = streamMembers(leaf);
    if (leaf.keyCount() > 0) {
        QJsonArray keys;
        const bool spatial = leaf.tangentType() != ValueType::None;
        for (const Keyframe& k : leaf.keys()) {
            if (isPlainKey(k, spatial)) {
                keys.append(QJsonArray{writeTime(k.time), writeValue(k.value)});
                continue;
            }
            QJsonObject ko{{QStringLiteral("time"), writeTime(k.time)}, {QStringLiteral("value"), writeValue(k.value)}};
            if (spatial) {
                ko.insert(QStringLiteral("inTangent"), writeValue(k.inTangent));
                ko.insert(QStringLiteral("outTangent"), writeValue(k.outTangent));
            }
            keys.append(ko);
        }
        o.insert(QStringLiteral("keys"), keys);
    }
    return o;
}

void streamStream(const PropertyNode& leaf, JsonStream& out, int indent)
{
    const ValueType type = leaf.valueType();
    bool compact = leaf.keyCount() > 0
        && (type == ValueType::OneD || type == ValueType::TwoD || type == ValueType::ThreeD
            || type == ValueType::Color);
    const bool spatial = leaf.tangentType() != ValueType::None;
    for (size_t i = 0; compact && i < leaf.keys().size(); ++i) {
        const Keyframe& k = leaf.keys()[i];
        compact = isPlainKey(k, spatial) && k.value.type == type && k.value.isFinite();
    }
    if (!compact) {
        out.value(writeStream(leaf), indent);
        return;
    }
    // As the printer writes a "keys" array of compact keys: on one line.
    const int count = componentCount(type);
    out.objectWith(streamMembers(leaf), QStringLiteral("keys"), [&](int) {
        out.raw("[", 1);
        bool first = true;
        for (const Keyframe& k : leaf.keys()) {
            out.raw(first ? "[[" : ", [[", first ? 2 : 4);
            first = false;
            out.number(double(k.time.value));
            out.raw(", ", 2);
            out.number(double(k.time.scale));
            out.raw("], ", 3);
            if (type == ValueType::OneD) {
                out.number(k.value.v[0]);
            } else {
                // A colour is written red, green, blue, alpha.
                const bool color = type == ValueType::Color;
                out.raw("[", 1);
                for (int c = 0; c < count; ++c) {
                    if (c)
                        out.raw(", ", 2);
                    out.number(k.value.v[color ? (c + 1) % 4 : c]);
                }
                out.raw("]", 1);
            }
            out.raw("]", 1);
        }
        out.raw("]", 1);
    }, indent);
}

void readDynamicFlags(const QJsonObject& o, PropertyNode* node, const JsonPath& path)
{
    if (o.contains(QLatin1String("flags")))
        node->setDynamicFlags(quint32(integerAt(o.value(QLatin1String("flags")), path / "flags", 0, 0xFFFFFFFFLL)));
}

void writeDynamicFlags(const PropertyNode& node, QJsonObject* o)
{
    if (node.dynamicFlags() != kDynFlagEnabled)
        o->insert(QStringLiteral("flags"), double(node.dynamicFlags()));
}

} // namespace standin
