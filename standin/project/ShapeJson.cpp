#include "project/ShapeJson.h"

#include "project/MatchNames.h"
#include "project/PropertyCatalog.h"
#include "project/ValueJson.h"

namespace standin {

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

QJsonObject writeLeaves(const PropertyNode& group)
{
    QJsonObject o;
    for (int i = 0; i < group.childCount(); ++i)
        if (const PropertyNode* c = group.child(i); c->isLeaf())
            o.insert(c->matchName(), writeStream(*c));
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
            readLeaves(o.value(QLatin1String("properties")), item, ip / "properties", secondsScale);
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
                o.insert(QStringLiteral("transform"), writeLeaves(*t));
        } else {
            o.insert(QStringLiteral("properties"), writeLeaves(*item));
        }
        list.append(o);
    }
    return list;
}

} // namespace standin
