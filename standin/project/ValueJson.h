// JSON forms of times, values, outlines and animatable streams in project
// files (both directions). Readers throw ReadFailure (ReadContext.h).
#pragma once

#include "project/PropertyNode.h"
#include "project/ReadContext.h"

class QIODevice;

namespace standin {

class JsonStream;

// A time: [value, scale] exactly, or a number of seconds rounded to
// `secondsScale` units.
A_Time readTime(const QJsonValue& v, const JsonPath& path, A_u_long secondsScale);
QJsonValue writeTime(const A_Time& t);

// [red, green, blue] or [red, green, blue, alpha].
AEGP_ColorVal readColor(const QJsonValue& v, const JsonPath& path);
QJsonValue writeColor(const AEGP_ColorVal& c);

// {"closed": bool, "vertices": [[x, y] or [x, y, inX, inY, outX, outY] ...]}
// with tangents relative to their vertex.
MaskOutline readOutline(const QJsonValue& v, const JsonPath& path);
QJsonValue writeOutline(const MaskOutline& o);

// A value of a type: a number, [x, y], [x, y, z] (a missing z comes from
// `fallback`), a colour or an outline.
Value readValue(const QJsonValue& v, ValueType type, const JsonPath& path, const Value& fallback);
QJsonValue writeValue(const Value& value);

// A leaf's content: a plain value (static), or
// {"value", "keys": [[time, value] or {"time", "value", "inTangent", "outTangent"}],
//  "expression", "expressionEnabled", "expressionValue"}.
void readStream(const QJsonValue& v, PropertyNode* leaf, const JsonPath& path, A_u_long secondsScale);
QJsonValue writeStream(const PropertyNode& leaf);
// Prints what writeStream gives, without making the keys' tree when every
// key is compact (numbers, points and colours without tangents).
void streamStream(const PropertyNode& leaf, JsonStream& out, int indent);

// The "flags" member of a mask or shape item: its dynamic-stream flags,
// written only when they differ from the default (on).
void readDynamicFlags(const QJsonObject& o, PropertyNode* node, const JsonPath& path);
void writeDynamicFlags(const PropertyNode& node, QJsonObject* o);

} // namespace standin
