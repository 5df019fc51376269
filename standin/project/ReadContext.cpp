#include "project/ReadContext.h"

#include <cmath>

namespace standin {

void failAt(const JsonPath& path, const QString& reason)
{
    throw ReadFailure{path, reason};
}

QString jsonTypeName(const QJsonValue& v)
{
    switch (v.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("a boolean");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::String: return QStringLiteral("a string");
    case QJsonValue::Array: return QStringLiteral("an array");
    case QJsonValue::Object: return QStringLiteral("an object");
    case QJsonValue::Undefined: break;
    }
    return QStringLiteral("nothing");
}

namespace {

[[noreturn]] void wrongType(const QJsonValue& v, const JsonPath& path, const char* expected)
{
    failAt(path, QStringLiteral("expected %1, found %2").arg(QLatin1String(expected), jsonTypeName(v)));
}

} // namespace

QJsonObject objectAt(const QJsonValue& v, const JsonPath& path)
{
    if (!v.isObject())
        wrongType(v, path, "an object");
    return v.toObject();
}

QJsonArray arrayAt(const QJsonValue& v, const JsonPath& path)
{
    if (!v.isArray())
        wrongType(v, path, "an array");
    return v.toArray();
}

QString stringAt(const QJsonValue& v, const JsonPath& path)
{
    if (!v.isString())
        wrongType(v, path, "a string");
    return v.toString();
}

bool boolAt(const QJsonValue& v, const JsonPath& path)
{
    if (!v.isBool())
        wrongType(v, path, "true or false");
    return v.toBool();
}

double numberAt(const QJsonValue& v, const JsonPath& path)
{
    if (!v.isDouble())
        wrongType(v, path, "a number");
    const double d = v.toDouble();
    if (!std::isfinite(d))
        failAt(path, QStringLiteral("the number is not finite"));
    return d;
}

qint64 integerAt(const QJsonValue& v, const JsonPath& path, qint64 min, qint64 max)
{
    const double d = numberAt(v, path);
    if (d != std::floor(d))
        failAt(path, QStringLiteral("expected a whole number, found %1").arg(d));
    if (d < double(min) || d > double(max))
        failAt(path, QStringLiteral("%1 is outside %2..%3").arg(d, 0, 'g', 17).arg(min).arg(max));
    return qint64(d);
}

void checkMembers(const QJsonObject& o, const JsonPath& path, std::initializer_list<const char*> allowed)
{
    for (auto it = o.begin(); it != o.end(); ++it) {
        bool known = false;
        for (const char* a : allowed)
            known = known || it.key() == QLatin1String(a);
        if (!known) {
            QStringList names;
            for (const char* a : allowed)
                names << QLatin1String(a);
            failAt(path / it.key(), QStringLiteral("unknown member \"%1\" (expected one of: %2)")
                                        .arg(it.key(), names.join(QStringLiteral(", "))));
        }
    }
}

QJsonValue required(const QJsonObject& o, const char* key, const JsonPath& path)
{
    if (!o.contains(QLatin1String(key)))
        failAt(path, QStringLiteral("missing member \"%1\"").arg(QLatin1String(key)));
    return o.value(QLatin1String(key));
}

} // namespace standin
