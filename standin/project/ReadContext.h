// Typed access to parsed JSON for the project reader. Every check that fails
// throws ReadFailure with the JSON path of the offending value; the reader
// catches it and turns it into a LoadError.
#pragma once

#include "project/JsonPath.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <initializer_list>

namespace standin {

struct ReadFailure {
    JsonPath path;
    QString reason;
};

[[noreturn]] void failAt(const JsonPath& path, const QString& reason);

// The JSON type of a value, for messages: "a number", "a string" ...
QString jsonTypeName(const QJsonValue& v);

QJsonObject objectAt(const QJsonValue& v, const JsonPath& path);
QJsonArray arrayAt(const QJsonValue& v, const JsonPath& path);
QString stringAt(const QJsonValue& v, const JsonPath& path);
bool boolAt(const QJsonValue& v, const JsonPath& path);
// A finite number.
double numberAt(const QJsonValue& v, const JsonPath& path);
// A whole number within [min, max].
qint64 integerAt(const QJsonValue& v, const JsonPath& path, qint64 min, qint64 max);

// Refuses members other than the allowed ones (catches misspelt keys).
void checkMembers(const QJsonObject& o, const JsonPath& path, std::initializer_list<const char*> allowed);
// A member that must be present.
QJsonValue required(const QJsonObject& o, const char* key, const JsonPath& path);

} // namespace standin
