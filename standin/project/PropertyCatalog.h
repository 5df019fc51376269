// What the property tree may hold: the default children of every shape item
// and mask, the layer transform, and which items an indexed group accepts.
#pragma once

#include "project/PropertyNode.h"

#include <QStringList>

namespace standin {

// The eight shape item kinds ("ADBE Vector Group", "... Shape - Rect",
// "... Shape - Ellipse", "... Shape - Star", "... Shape - Group",
// "... Filter - Merge", "... Graphic - Stroke", "... Graphic - Fill").
const QStringList& shapeItemMatchNames();
bool isShapeItemMatchName(const QString& matchName);
// "Group", "Rectangle Path", "Ellipse Path", "Polystar Path", "Path",
// "Merge Paths", "Stroke", "Fill"; empty for an unknown kind.
QString shapeItemDefaultName(const QString& matchName);

// Whether an indexed group takes a new child of that match name: the two
// vector-contents groups take the shape items; nothing else takes anything
// (masks are added through Layer::addMask).
bool indexedGroupAccepts(const PropertyNode& group, const QString& childMatchName);

// Whether a shape item of that match name, not one of the eight, is kept as
// an item the stand-in draws nothing for (Trim Paths, a Repeater, a Gradient
// Fill ...): the name begins "ADBE Vector " and is no property or group of
// the catalog (nor the shape layer's own). Such an item holds the properties
// its project gives it, as they are written (see readShapeContents).
bool isForeignShapeItemMatchName(const QString& matchName);

// A new shape item with its default children (a group holds an empty
// "ADBE Vectors Group" and a "ADBE Vector Transform Group"). Null for an
// unknown match name. displayName empty = the kind's default + " 1".
// A foreign kind (isForeignShapeItemMatchName) gives an item without
// children, named after its match name when displayName is empty, only
// when `foreign` is set.
PropertyNode::Ptr makeShapeItem(const QString& matchName, const QString& displayName = QString(),
                                bool foreign = false);

// The next free "<default name> n" among the children of a group.
QString nextShapeItemName(const PropertyNode& group, const QString& matchName);

// A mask atom with its four leaves at their defaults and an empty closed
// outline.
PropertyNode::Ptr makeMaskAtom(const QString& name);

// The layer transform group: anchor, position, scale, rotation, opacity.
PropertyNode::Ptr makeTransformGroup();

// The default leaf value of a match name known to the catalog (shape item
// leaves, vector transform, masks, layer transform); ValueType::None when the
// name is not a leaf.
Value defaultLeafValue(const QString& matchName);
// Its display name ("Position", "Mask Path" ...); empty when unknown.
QString leafDisplayName(const QString& matchName);

} // namespace standin
