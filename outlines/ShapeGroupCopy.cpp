#include "outlines/ShapeGroupCopy.h"

#include "outlines/HostStreams.h"

#include <cmath>
#include <initializer_list>
#include <string>

namespace {

// One kind of item: its match name, the properties copied in order, and
// whether its name and its on/off switch come along.
struct ItemKind {
    const char* matchName;
    std::initializer_list<const char*> properties;
    bool name = false;
    bool onOff = false;
};

const ItemKind kRectangle{"ADBE Vector Shape - Rect",
                          {"ADBE Vector Rect Size", "ADBE Vector Rect Position", "ADBE Vector Rect Roundness"}};
const ItemKind kEllipse{"ADBE Vector Shape - Ellipse", {"ADBE Vector Ellipse Size", "ADBE Vector Ellipse Position"}};
const ItemKind kStar{"ADBE Vector Shape - Star",
                     {"ADBE Vector Star Type", "ADBE Vector Star Points", "ADBE Vector Star Position",
                      "ADBE Vector Star Rotation", "ADBE Vector Star Inner Radius", "ADBE Vector Star Outer Radius",
                      "ADBE Vector Star Inner Roundess", "ADBE Vector Star Outer Roundess"}};
const ItemKind kPolygon{"ADBE Vector Shape - Star",
                        {"ADBE Vector Star Type", "ADBE Vector Star Points", "ADBE Vector Star Position",
                         "ADBE Vector Star Rotation", "ADBE Vector Star Outer Radius",
                         "ADBE Vector Star Outer Roundess"}};
const ItemKind kPath{"ADBE Vector Shape - Group", {"ADBE Vector Shape"}, true};
const ItemKind kMerge{"ADBE Vector Filter - Merge", {"ADBE Vector Merge Type"}};
const ItemKind kStroke{"ADBE Vector Graphic - Stroke",
                       {"ADBE Vector Composite Order", "ADBE Vector Stroke Color", "ADBE Vector Stroke Opacity",
                        "ADBE Vector Stroke Width", "ADBE Vector Stroke Line Cap", "ADBE Vector Stroke Line Join",
                        "ADBE Vector Stroke Miter Limit"},
                       false, true};
const ItemKind kFill{"ADBE Vector Graphic - Fill",
                     {"ADBE Vector Composite Order", "ADBE Vector Fill Rule", "ADBE Vector Fill Color",
                      "ADBE Vector Fill Opacity"},
                     false, true};
const std::initializer_list<const char*> kTransform{"ADBE Vector Anchor", "ADBE Vector Position", "ADBE Vector Scale",
                                                     "ADBE Vector Rotation", "ADBE Vector Group Opacity"};

A_Err child(const ShapeCopy& c, AEGP_StreamRefH parent, const char* matchName, ScopedStream& out)
{
    if (c.trail.ok())
        c.trail.note(childByMatchName(c.suites, c.pluginId, parent, matchName, out), "AEGP_GetNewStreamRefByMatchname");
    if (c.trail.ok() && !out)
        c.trail.note(A_Err_GENERIC, "AEGP_GetNewStreamRefByMatchname");
    return c.trail.error();
}

// The listed properties' values at time 0, from `source` to `destination`.
A_Err copyProperties(const ShapeCopy& c, AEGP_StreamRefH source, AEGP_StreamRefH destination,
                     std::initializer_list<const char*> properties)
{
    for (const char* matchName : properties) {
        ScopedStream from(c.suites), to(c.suites);
        ScopedStreamValue value(c.suites);
        child(c, source, matchName, from);
        if (c.trail.ok())
            c.trail.note(value.read(c.pluginId, from.get()), "AEGP_GetNewStreamValue");
        child(c, destination, matchName, to);
        AEGP_StreamValue2 copy{to.get(), value.val()};
        if (c.trail.ok())
            c.trail.note(c.suites.StreamSuite4()->AEGP_SetStreamValue(c.pluginId, to.get(), &copy),
                         "AEGP_SetStreamValue");
    }
    return c.trail.error();
}

A_Err copyName(const ShapeCopy& c, AEGP_StreamRefH source, AEGP_StreamRefH destination)
{
    std::string name;
    if (c.trail.ok())
        c.trail.note(readStreamName(c.suites, source, name), "AEGP_GetStreamName");
    if (c.trail.ok())
        c.trail.note(c.suites.DynamicStreamSuite3()->AEGP_SetStreamName(destination, name.c_str()),
                     "AEGP_SetStreamName");
    return c.trail.error();
}

A_Err addItem(const ShapeCopy& c, const ItemKind& kind, AEGP_StreamRefH item, AEGP_StreamRefH contents)
{
    ScopedStream added(c.suites);
    if (c.trail.ok())
        c.trail.note(c.suites.DynamicStreamSuite4()->AEGP_AddStream(c.pluginId, contents, kind.matchName, added.out()),
                     "AEGP_AddStream");
    if (kind.name)
        copyName(c, item, added.get());
    copyProperties(c, item, added.get(), kind.properties);
    if (kind.onOff) {
        AEGP_DynStreamFlags flags = 0;
        if (c.trail.ok())
            c.trail.note(c.suites.DynamicStreamSuite4()->AEGP_GetDynamicStreamFlags(item, &flags),
                         "AEGP_GetDynamicStreamFlags");
        if (c.trail.ok())
            c.trail.note(c.suites.DynamicStreamSuite4()->AEGP_SetDynamicStreamFlag(
                             added.get(), AEGP_DynStreamFlag_ACTIVE_EYEBALL, true,
                             (flags & AEGP_DynStreamFlag_ACTIVE_EYEBALL) != 0),
                         "AEGP_SetDynamicStreamFlag");
    }
    return c.trail.error();
}

// A stroke or a fill: its failure stays out of the caller's trail.
A_Err addPaint(const ShapeCopy& c, const ItemKind& kind, AEGP_StreamRefH item, AEGP_StreamRefH contents)
{
    CallTrail own;
    return addItem(ShapeCopy{c.suites, c.pluginId, own}, kind, item, contents);
}

} // namespace

A_Err setVectorShapeTransform(const ShapeCopy& copy, AEGP_StreamRefH source, AEGP_StreamRefH destination)
{
    return copyProperties(copy, source, destination, kTransform);
}

A_Err addRectangleShape(const ShapeCopy& c, AEGP_StreamRefH item, AEGP_StreamRefH contents)
{
    return addItem(c, kRectangle, item, contents);
}

A_Err addEllipseShape(const ShapeCopy& c, AEGP_StreamRefH item, AEGP_StreamRefH contents)
{
    return addItem(c, kEllipse, item, contents);
}

A_Err addStarShape(const ShapeCopy& c, AEGP_StreamRefH item, AEGP_StreamRefH contents)
{
    return addItem(c, kStar, item, contents);
}

A_Err addPolygonShape(const ShapeCopy& c, AEGP_StreamRefH item, AEGP_StreamRefH contents)
{
    return addItem(c, kPolygon, item, contents);
}

A_Err addPathShape(const ShapeCopy& c, AEGP_StreamRefH item, AEGP_StreamRefH contents)
{
    return addItem(c, kPath, item, contents);
}

A_Err addFilterMerge(const ShapeCopy& c, AEGP_StreamRefH item, AEGP_StreamRefH contents)
{
    return addItem(c, kMerge, item, contents);
}

A_Err addStroke(const ShapeCopy& c, AEGP_StreamRefH item, AEGP_StreamRefH contents)
{
    return addPaint(c, kStroke, item, contents);
}

A_Err addFill(const ShapeCopy& c, AEGP_StreamRefH item, AEGP_StreamRefH contents)
{
    return addPaint(c, kFill, item, contents);
}

A_Err addNamedGroup(const ShapeCopy& c, AEGP_StreamRefH group, AEGP_StreamRefH contents, int nesting)
{
    ScopedStream added(c.suites), addedContents(c.suites), addedTransform(c.suites);
    if (c.trail.ok())
        c.trail.note(c.suites.DynamicStreamSuite4()->AEGP_AddStream(c.pluginId, contents, "ADBE Vector Group",
                                                                    added.out()),
                     "AEGP_AddStream");
    copyName(c, group, added.get());
    child(c, added.get(), "ADBE Vector Transform Group", addedTransform);
    child(c, added.get(), "ADBE Vectors Group", addedContents);
    return addVectorShape(c, group, addedContents.get(), addedTransform.get(), nesting);
}

A_Err addVectorShape(const ShapeCopy& c, AEGP_StreamRefH group, AEGP_StreamRefH contents, AEGP_StreamRefH transform,
                     int nesting)
{
    if (nesting > kMaxGroupNesting && c.trail.ok())
        return c.trail.note(A_Err_GENERIC, "groups nested too deeply");
    ScopedStream sourceTransform(c.suites), sourceContents(c.suites);
    child(c, group, "ADBE Vector Transform Group", sourceTransform);
    if (c.trail.ok())
        setVectorShapeTransform(c, sourceTransform.get(), transform);
    child(c, group, "ADBE Vectors Group", sourceContents);
    A_long n = 0;
    if (c.trail.ok())
        c.trail.note(c.suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(sourceContents.get(), &n),
                     "AEGP_GetNumStreamsInGroup");
    for (A_long i = 0; c.trail.ok() && i < n; ++i) {
        ScopedStream item(c.suites);
        std::string matchName;
        c.trail.note(childByIndex(c.suites, c.pluginId, sourceContents.get(), i, item), "AEGP_GetNewStreamRefByIndex");
        if (c.trail.ok())
            c.trail.note(matchNameOf(c.suites, item.get(), matchName), "AEGP_GetMatchName");
        if (!c.trail.ok())
            break;
        if (matchName == kRectangle.matchName) {
            addRectangleShape(c, item.get(), contents);
        } else if (matchName == kEllipse.matchName) {
            addEllipseShape(c, item.get(), contents);
        } else if (matchName == kStar.matchName) {
            AEGP_StreamVal2 type{};
            c.trail.note(readChildValue(c.suites, c.pluginId, item.get(), "ADBE Vector Star Type", type),
                         "AEGP_GetNewStreamValue");
            if (c.trail.ok() && std::lround(type.one_d) == 1)
                addStarShape(c, item.get(), contents);
            else if (c.trail.ok())
                addPolygonShape(c, item.get(), contents);
        } else if (matchName == kPath.matchName) {
            addPathShape(c, item.get(), contents);
        } else if (matchName == kMerge.matchName) {
            addFilterMerge(c, item.get(), contents);
        } else if (matchName == kStroke.matchName) {
            addStroke(c, item.get(), contents);
        } else if (matchName == kFill.matchName) {
            addFill(c, item.get(), contents);
        } else if (matchName == "ADBE Vector Group") {
            addNamedGroup(c, item.get(), contents, nesting + 1);
        }
    }
    return c.trail.error();
}
