// The JSON form of a shape layer's contents:
//   [{"matchName": "ADBE Vector Group", "name": "Group 1", "flags": 1,
//     "contents": [...items...], "transform": {"ADBE Vector Position": [0, 0], ...}},
//    {"matchName": "ADBE Vector Shape - Rect", "name": "Rectangle Path 1",
//     "properties": {"ADBE Vector Rect Size": [200, 100], ...}}, ...]
// Leaves left out keep their defaults.
#pragma once

#include "project/PropertyNode.h"
#include "project/ReadContext.h"

namespace standin {

// Appends the items of `v` to an indexed contents group.
void readShapeContents(const QJsonValue& v, PropertyNode* contents, const JsonPath& path, A_u_long secondsScale);
QJsonArray writeShapeContents(const PropertyNode& contents);

// Reads {"leaf match name": stream, ...} into the leaves of a named group.
void readLeaves(const QJsonValue& v, PropertyNode* group, const JsonPath& path, A_u_long secondsScale);
// Its leaves so, and its groups (an item the stand-in does not draw may hold
// some) as {"group match name": {...}}.
QJsonObject writeProperties(const PropertyNode& group);

} // namespace standin
