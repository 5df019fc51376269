#include "project/ShapeJson.h"

#include "project/MatchNames.h"
#include "project/PropertyCatalog.h"
#include "project/ValueJson.h"

namespace standin {

namespace {

bool isStreamForm(const QJsonObject& o)
{
    for (const char* member : {"value", "keys", "expression", "expressionEnabled", "expressionValue"})
        if (o.contains(QLatin1String(member)))
            return true;
    return false;
}

bool isOutlineForm(const QJsonObject& o)
{
    return o.contains(QLatin1String("closed")) || o.contains(QLatin1String("vertices"));
}

// The type of a value as written: a number, [x, y], [x, y, z], a colour
// [red, green, blue, alpha] or an outline; None for anything else.
ValueType writtenType(const QJsonValue& v)
{
    if (v.isDouble())
        return ValueType::OneD;
    if (v.isArray()) {
        const qsizetype n = v.toArray().size();
        return n == 2 ? ValueType::TwoD : n == 3 ? ValueType::ThreeD : n == 4 ? ValueType::Color : ValueType::None;
    }
    return v.isObject() && isOutlineForm(v.toObject()) ? ValueType::Shape : ValueType::None;
}

// The type of a property of an item the stand-in does not draw: the
// catalog's for a property it knows, else that of its value as written (or
// of its first key's, or its expression's, when it is keyed or driven).
ValueType foreignType(const QString& matchName, const QJsonValue& v)
{
    const ValueType known = defaultLeafValue(matchName).type;
    if (known != ValueType::None || !v.isObject() || !isStreamForm(v.toObject()))
        return known != ValueType::None ? known : writtenType(v);
    const QJsonObject o = v.toObject();
    if (o.contains(QLatin1String("value")))
        return writtenType(o.value(QLatin1String("value")));
    const QJsonValue first = o.value(QLatin1String("keys")).toArray().first();
    if (!first.isUndefined())
        return writtenType(first.isArray() ? first.toArray().at(1) : first.toObject().value(QLatin1String("value")));
    return writtenType(o.value(QLatin1String("expressionValue")));
}

// Reads the properties of an item the stand-in does not draw, as they are
// written, into `group`: a value, keyed or driven, becomes a leaf of its
// type, an object of properties a group of them.
void readForeignProperties(const QJsonValue& v, PropertyNode* group, const JsonPath& path, A_u_long secondsScale)
{
    const QJsonObject o = objectAt(v, path);
    for (auto it = o.begin(); it != o.end(); ++it) {
        const JsonPath p = path / it.key();
        const QJsonValue value = it.value();
        if (value.isObject() && !isStreamForm(value.toObject()) && !isOutlineForm(value.toObject())) {
            readForeignProperties(value, group->insertChild(PropertyNode::makeGroup(it.key(), Grouping::NamedGroup,
                                                                                     it.key())),
                                  p, secondsScale);
            continue;
        }
        const ValueType type = foreignType(it.key(), value);
        if (type == ValueType::None)
            failAt(p, QStringLiteral("a property of an item the stand-in does not draw is a number, [x, y], "
                                     "[x, y, z], a colour [red, green, blue, alpha] or an outline, keyed or not, "
                                     "or an object of such properties"));
        const Value known = defaultLeafValue(it.key());
        const QString display = leafDisplayName(it.key());
        readStream(value,
                   group->insertChild(PropertyNode::makeLeaf(it.key(), display.isEmpty() ? it.key() : display,
                                                             known.type == type ? known : Value::zero(type))),
                   p, secondsScale);
    }
}

} // namespace

void readLeaves(const QJsonValue& v, PropertyNode* group, const JsonPath& path, A_u_long secondsScale)
{
    const QJsonObject o = objectAt(v, path);
    for (auto it = o.begin(); it != o.end(); ++it) {
        PropertyNode* leaf = group->childByMatchName(it.key());
        if (!leaf || !leaf->isLeaf()) {
            QStringList names;
            for (int i = 0; i < group->childCount(); ++i)
                if (group->child(i)->isLeaf())
                    names << QLatin1Char('"') + group->child(i)->matchName() + QLatin1Char('"');
            failAt(path / it.key(), QStringLiteral("\"%1\" has no property \"%2\" (it has %3)")
                                        .arg(group->matchName(), it.key(), names.join(QStringLiteral(", "))));
        }
        readStream(it.value(), leaf, path / it.key(), secondsScale);
    }
}

QJsonObject writeProperties(const PropertyNode& group)
{
    QJsonObject o;
    for (int i = 0; i < group.childCount(); ++i) {
        const PropertyNode* c = group.child(i);
        o.insert(c->matchName(), c->isLeaf() ? writeStream(*c) : QJsonValue(writeProperties(*c)));
    }
    return o;
}

void readShapeContents(const QJsonValue& v, PropertyNode* contents, const JsonPath& path, A_u_long secondsScale)
{
    const QJsonArray list = arrayAt(v, path);
    for (int i = 0; i < list.size(); ++i) {
        const JsonPath ip = path / i;
        const QJsonObject o = objectAt(list[i], ip);
        const QString matchName = stringAt(required(o, "matchName", ip), ip / "matchName");
        // A kind the stand-in does not draw is kept, with its name and
        // switch, as long as its name could be a shape item's.
        const bool known = isShapeItemMatchName(matchName);
        if (!known && !isForeignShapeItemMatchName(matchName))
            failAt(ip / "matchName", QStringLiteral("unknown shape item \"%1\" (expected one of: %2, or another "
                                                    "\"ADBE Vector ...\" item, kept without drawing)")
                                         .arg(matchName, shapeItemMatchNames().join(QStringLiteral(", "))));
        const bool group = matchName == QLatin1String(match::kVectorGroup);
        if (group)
            checkMembers(o, ip, {"matchName", "name", "flags", "contents", "transform"});
        else
            checkMembers(o, ip, {"matchName", "name", "flags", "properties"});
        QString name;
        if (o.contains(QLatin1String("name")))
            name = stringAt(o.value(QLatin1String("name")), ip / "name");
        else if (known)
            name = nextShapeItemName(*contents, matchName);
        PropertyNode* item = contents->insertChild(makeShapeItem(matchName, name, true));
        readDynamicFlags(o, item, ip);
        if (group) {
            if (o.contains(QLatin1String("contents")))
                readShapeContents(o.value(QLatin1String("contents")),
                                  item->childByMatchName(QLatin1String(match::kVectorsGroup)), ip / "contents",
                                  secondsScale);
            if (o.contains(QLatin1String("transform")))
                readLeaves(o.value(QLatin1String("transform")),
                           item->childByMatchName(QLatin1String(match::kVectorTransformGroup)), ip / "transform",
                           secondsScale);
        } else if (o.contains(QLatin1String("properties"))) {
            if (known)
                readLeaves(o.value(QLatin1String("properties")), item, ip / "properties", secondsScale);
            else
                readForeignProperties(o.value(QLatin1String("properties")), item, ip / "properties", secondsScale);
        }
    }
}

QJsonArray writeShapeContents(const PropertyNode& contents)
{
    QJsonArray list;
    for (int i = 0; i < contents.childCount(); ++i) {
        const PropertyNode* item = contents.child(i);
        QJsonObject o{{QStringLiteral("matchName"), item->matchName()}, {QStringLiteral("name"), item->displayName()}};
        writeDynamicFlags(*item, &o);
        if (item->matchName() == QLatin1String(match::kVectorGroup)) {
            if (const PropertyNode* inner = item->childByMatchName(QLatin1String(match::kVectorsGroup)))
                o.insert(QStringLiteral("contents"), writeShapeContents(*inner));
            if (const PropertyNode* t = item->childByMatchName(QLatin1String(match::kVectorTransformGroup)))
                o.insert(QStringLiteral("transform"), writeProperties(*t));
        } else {
            o.insert(QStringLiteral("properties"), writeProperties(*item));
        }
        list.append(o);
    }
    return list;
}

} // namespace standin
