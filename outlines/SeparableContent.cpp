#include "outlines/SeparableContent.h"

#include "outlines/HostStreams.h"
#include "outlines/MaskOutlines.h"

#include <string>

namespace {

constexpr char kVectorGroup[] = "ADBE Vector Group";
constexpr char kPathItem[] = "ADBE Vector Shape - Group";

bool isShapeLayer(AEGP_ObjectType type) { return type == AEGP_ObjectType_VECTOR; }

A_Err countTopLevelItems(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH root,
                         SeparableContent& content)
{
    ScopedStream contents(suites);
    A_Err err = childByMatchName(suites, pluginId, root, "ADBE Root Vectors Group", contents);
    A_long children = 0;
    if (!err && contents)
        err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(contents.get(), &children);
    for (A_long i = 0; !err && i < children; ++i) {
        ScopedStream child(suites);
        std::string matchName;
        err = childByIndex(suites, pluginId, contents.get(), i, child);
        if (!err)
            err = matchNameOf(suites, child.get(), matchName);
        if (err)
            break;
        if (matchName == kVectorGroup)
            ++content.topGroups;
        if (matchName == kPathItem)
            ++content.topPaths;
        if (isDrawingItem(matchName))
            ++content.topDrawings;
    }
    return err;
}

} // namespace

bool isDrawingItem(const std::string& matchName)
{
    return matchName == kPathItem || matchName == "ADBE Vector Shape - Rect"
        || matchName == "ADBE Vector Shape - Ellipse" || matchName == "ADBE Vector Shape - Star";
}

bool hasSeveralOutlines(const SeparableContent& content, AEGP_ObjectType type)
{
    return (content.masks > 1 && !content.maskHole) || (isShapeLayer(type) && content.topGroups + content.topPaths > 1);
}

SeparationKind separationKindOf(const SeparableContent& content, AEGP_ObjectType type)
{
    const bool byItems = isShapeLayer(type) && content.topGroups + content.topPaths > 1;
    if (byItems && content.topGroups > 0)
        return SeparationKind::ShapeGroups;
    if (content.masks > 1 && !content.maskHole)
        return SeparationKind::Masks;
    if (byItems)
        return SeparationKind::UngroupedShapes;
    return SeparationKind::None;
}

A_Err readSeparableContent(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer,
                           AEGP_ObjectType type, SeparableContent& content)
{
    content = SeparableContent{};
    ScopedStream root(suites);
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, root.out());
    ScopedStream masks(suites);
    if (!err)
        err = childByMatchName(suites, pluginId, root.get(), "ADBE Mask Parade", masks);
    A_long count = 0;
    if (!err && masks)
        err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(masks.get(), &count);
    content.masks = int(count);
    if (!err && count > 1)
        err = masksHaveHole(suites, pluginId, masks.get(), content.maskHole);
    if (!err && isShapeLayer(type))
        err = countTopLevelItems(suites, pluginId, root.get(), content);
    return err;
}
