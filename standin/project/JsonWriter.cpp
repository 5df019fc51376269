#include "project/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace standin {

namespace {

// Qt's own text for a scalar (shortest round-trip numbers, escaped strings).
QByteArray scalarText(const QJsonValue& v)
{
    const QByteArray doc = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return doc.mid(1, doc.size() - 2);
}

bool isScalarArray(const QJsonArray& a)
{
    for (const QJsonValue& v : a)
        if (v.isArray() || v.isObject())
            return false;
    return true;
}

void write(const QJsonValue& v, int indent, QByteArray* out)
{
    const QByteArray pad(4 * (indent + 1), ' ');
    const QByteArray closePad(4 * indent, ' ');
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        if (o.isEmpty()) {
            out->append("{}");
            return;
        }
        out->append("{\n");
        const QStringList keys = o.keys(); // sorted
        for (int i = 0; i < keys.size(); ++i) {
            out->append(pad);
            out->append(scalarText(QJsonValue(keys[i])));
            out->append(": ");
            write(o.value(keys[i]), indent + 1, out);
            out->append(i + 1 < keys.size() ? ",\n" : "\n");
        }
        out->append(closePad);
        out->append('}');
    } else if (v.isArray()) {
        const QJsonArray a = v.toArray();
        if (a.isEmpty()) {
            out->append("[]");
            return;
        }
        if (isScalarArray(a)) {
            out->append('[');
            for (int i = 0; i < a.size(); ++i) {
                if (i)
                    out->append(", ");
                out->append(scalarText(a[i]));
            }
            out->append(']');
            return;
        }
        out->append("[\n");
        for (int i = 0; i < a.size(); ++i) {
            out->append(pad);
            write(a[i], indent + 1, out);
            out->append(i + 1 < a.size() ? ",\n" : "\n");
        }
        out->append(closePad);
        out->append(']');
    } else {
        out->append(scalarText(v));
    }
}

} // namespace

QByteArray writeJson(const QJsonValue& value)
{
    QByteArray out;
    write(value, 0, &out);
    out.append('\n');
    return out;
}

} // namespace standin
