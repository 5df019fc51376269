#include "outlines/BodyFromLayer.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"
#include "model/CoordinateConversion.h"
#include "model/LabelColor.h"
#include "outlines/HostStreams.h"
#include "outlines/LayerBuild.h"
#include "outlines/MaskOutlines.h"
#include "outlines/OutlineMessages.h"
#include "outlines/OutlineSafety.h"
#include "outlines/ShapeLayerOutlines.h"
#include "outlines/TextOutlines.h"

#include <cmath>

namespace {

const AEGP_ColorVal kWhite{1.0, 1.0, 1.0, 1.0};
const AEGP_ColorVal kNoLabelColor{1.0, 0.5, 0.5, 0.5};

AEGP_ColorVal labelColorOf(const std::vector<char>& labels, int bodyIndex,
                           const std::vector<AEGP_ColorVal>& labelColors)
{
    if (bodyIndex < 0 || size_t(bodyIndex) >= labels.size())
        return kNoLabelColor;
    const AEGP_ColorVal* color = LabelColorOf(static_cast<signed char>(labels[size_t(bodyIndex)]), labelColors);
    return color ? *color : kNoLabelColor;
}

bool isTimeVarying(const AEGP_SuiteHandler& suites, int pluginId, AEGP_LayerH layer)
{
    ScopedStream rotation(suites);
    A_Boolean varying = false;
    if (suites.StreamSuite4()->AEGP_GetNewLayerStream(pluginId, layer, AEGP_LayerStream_ROTATION, rotation.out()))
        return false;
    return !suites.StreamSuite4()->AEGP_IsStreamTimevarying(rotation.get(), &varying) && varying;
}

// The source item and its type; null and none when the layer has no source.
A_Err sourceOf(const AEGP_SuiteHandler& suites, AEGP_LayerH layer, AEGP_ItemH& item, AEGP_ItemType& type)
{
    item = nullptr;
    type = AEGP_ItemType_NONE;
    A_Err err = suites.LayerSuite7()->AEGP_GetLayerSourceItem(layer, &item);
    if (!err && item)
        err = suites.ItemSuite8()->AEGP_GetItemType(item, &type);
    return err;
}

// The colour of a body whose layer's source is footage: a solid's own colour
// (opaque, components within 0 to 1), or `other` for any other footage.
AEGP_ColorVal footageColor(const AEGP_SuiteHandler& suites, AEGP_ItemH item, const AEGP_ColorVal& other)
{
    AEGP_FootageH footage = nullptr;
    AEGP_FootageSignature signature = 0;
    A_Err err = suites.FootageSuite5()->AEGP_GetMainFootageFromItem(item, &footage);
    if (!err)
        err = suites.FootageSuite5()->AEGP_GetFootageSignature(footage, &signature);
    if (err || signature != AEGP_FootageSignature_SOLID)
        return other;
    AEGP_ColorVal solid{};
    if (suites.FootageSuite5()->AEGP_GetSolidFootageColor(item, false, &solid))
        return other;
    return opaqueClamped(solid);
}

void placeBody(MyBody& body, b2Vec2 centre, float rotation, b2Vec2 anchor)
{
    body.position = body.committedPosition = body.initialPosition = centre;
    body.angle = body.initialRotation = rotation;
    body.layerAnchor = anchor;
    body.rotationIsRelative = false;
}

A_Err buildFromMasks(const LayerBuild& build, const AEGP_SuiteHandler& suites, MyBody& body, AEGP_ColorVal& color)
{
    color = build.labelColor;
    if (build.objectType != AEGP_ObjectType_TEXT && build.objectType != AEGP_ObjectType_VECTOR) {
        AEGP_ItemH source = nullptr;
        AEGP_ItemType type = AEGP_ItemType_NONE;
        if (!sourceOf(suites, build.layer, source, type) && type == AEGP_ItemType_FOOTAGE)
            color = footageColor(suites, source, build.labelColor);
    }
    const LayerPlacement at = readLayerPlacement(build);
    bool tooMany = false;
    bool failed = false;
    A_Err err = A_Err_NONE;
    getMasks(build.parent, build.pluginId, build.basic, build.layerIndex, build.objectType, body.outlines,
             build.compWidth, build.compHeight, at.anchor, build.precision, build.hull, at.sx, at.sy, at.matrix, tooMany,
             failed, &build.outlineUnrepresentable, &err, &build.outlineFilledAsHull, at.shear);
    placeBody(body, worldPoint(build, compositionPoint(build, at.matrix, at.anchor)), layerRotation(build), at.anchor);
    body.isLayerBox = false;
    body.color = color;
    body.labelColor = build.labelColor;
    body.tooManyPolygons = tooMany;
    body.triangulationFailed = failed;
    return err;
}

void buildFromShapes(const LayerBuild& build, MyBody& body, AEGP_ColorVal& color)
{
    const LayerPlacement at = readLayerPlacement(build);
    b2Vec2 anchor = at.anchor;
    color = kWhite;
    bool tooMany = false, failed = false, isPath = false;
    b2Vec2 centre(0.0f, 0.0f);
    float groupRotation = 0.0f;
    std::vector<std::vector<ShapeDef>> outlines;
    getVectorShapes(build.parent, build.pluginId, build.basic, build.layer, outlines, build.compWidth,
                    build.compHeight, anchor, build.precision, build.hull, at.sx, at.sy, at.matrix, color, tooMany,
                    failed, centre, groupRotation, isPath, &build.outlineUnrepresentable, &build.outlineFilledAsHull);
    body.labelColor = build.labelColor;
    if (outlines.empty()) {
        reportLayerGeometryError(build.parent, build.layerIndex);
        ShapeDef square;
        square.points = {b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(1, 1), b2Vec2(0, 1)};
        square.isBox = true;
        body.outlines.assign(1, std::vector<ShapeDef>{square});
        placeBody(body, b2Vec2(0.0f, 0.0f), 0.0f, anchor);
        body.isLayerBox = true;
        body.color = color = kWhite;
        body.tooManyPolygons = false;
        return;
    }
    color = opaqueClamped(color);
    body.outlines = std::move(outlines);
    // The body turns about the last item's centre; as the layer's anchor
    // point that centre keeps every item of the layer where it is drawn.
    placeBody(body, worldPoint(build, centre), layerRotation(build),
              layerPoint(build, at.matrix, centre, at.anchor));
    body.isLayerBox = false;
    body.color = color;
    body.tooManyPolygons = tooMany;
    body.triangulationFailed = failed;
}

A_Err buildFromLayerBox(const LayerBuild& build, const AEGP_SuiteHandler& suites, MyBody& body,
                        AEGP_ColorVal& color)
{
    AEGP_ItemH source = nullptr;
    AEGP_ItemType type = AEGP_ItemType_NONE;
    A_long width = 0, height = 0;
    A_Ratio ratio{1, 1};
    A_Err err = sourceOf(suites, build.layer, source, type);
    if (!err && source)
        err = suites.ItemSuite8()->AEGP_GetItemDimensions(source, &width, &height);
    if (!err && source)
        err = suites.ItemSuite8()->AEGP_GetItemPixelAspectRatio(source, &ratio);
    const double r = ratio.den ? double(ratio.num) / double(ratio.den) : 1.0;
    const float w = float(std::trunc(double(width) * r));
    const float h = float(height);

    const LayerPlacement at = readLayerPlacement(build);
    ShapeDef box;
    for (const b2Vec2 corner : {b2Vec2(0, 0), b2Vec2(w, 0), b2Vec2(w, h), b2Vec2(0, h)})
        box.points.emplace_back(at.sx * (corner.x - float(r) * at.anchor.x) / 100.0f,
                                at.sy * (corner.y - at.anchor.y) / 100.0f);
    box.isBox = true;
    if (!makeLayerBoxSafe(box))
        build.outlineUnrepresentable = true;
    // A skewing parent draws the box as a parallelogram: each corner moves
    // along the body's x axis by the shear times its layer y.
    if (at.shear != 0.0f)
        for (b2Vec2& p : box.points)
            p.x += p.y * (at.shear / at.sy);

    color = build.labelColor;
    if (type == AEGP_ItemType_FOOTAGE)
        color = footageColor(suites, source, kWhite);
    body.outlines.assign(1, std::vector<ShapeDef>{box});
    placeBody(body, worldPoint(build, compositionPoint(build, at.matrix, at.anchor)), layerRotation(build), at.anchor);
    body.isLayerBox = true;
    body.color = color;
    body.labelColor = build.labelColor;
    body.tooManyPolygons = false;
    return err;
}

}  // namespace

void getBodyFromLayer(QWidget* parent, std::vector<MyBody>& bodies, int bodyIndex, int layerIndex, int objectType,
                      AEGP_ColorVal& bodyColor, int pluginId, SPBasicSuite* basicSuite, std::vector<char> labels,
                      std::vector<AEGP_ColorVal> labelColors, QString name, int precision, bool useConvexHull,
                      A_Err* hostError)
{
    if (hostError)
        *hostError = A_Err_NONE;
    if (bodyIndex < 0 || size_t(bodyIndex) >= bodies.size())
        return;
    MyBody& body = bodies[size_t(bodyIndex)];
    AEGP_SuiteHandler suites(basicSuite);

    LayerBuild build;
    build.parent = parent;
    build.pluginId = pluginId;
    build.basic = basicSuite;
    build.layerIndex = layerIndex;
    build.objectType = objectType;
    build.precision = precision;
    build.hull = useConvexHull;

    // The common header.
    AEGP_ItemH active = nullptr;
    AEGP_CompH comp = nullptr;
    A_long width = 0, height = 0;
    A_Ratio ratio{1, 1};
    A_Err err = GetActiveItemComp(suites, active, comp);
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetItemDimensions(active, &width, &height);
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetItemPixelAspectRatio(active, &ratio);
    build.compAspect = coords::pixelAspect(ratio.num, ratio.den);
    build.compWidth = coords::squarePixels(width, build.compAspect);
    build.compHeight = coords::squarePixels(height, 1.0);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, layerIndex, &build.layer);
    AEGP_LayerIDVal id = 0;
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetLayerID(build.layer, &id);
    if (!err)
        body.layerID = int32_t(id);
    body.index = bodyIndex + 1;
    body.name = name;
    body.staticHighlight = false;
    if (err) {
        if (hostError)
            *hostError = err;
        return;
    }

    std::vector<A_long> frames;
    GetLayerStartEndFrames(pluginId, basicSuite, layerIndex, frames);
    if (frames.size() >= 2) {
        body.startFrame = frames[frames.size() - 2];
        body.endFrame = frames[frames.size() - 1];
    }
    AEGP_LayerH parentLayer = nullptr;
    bool varying = isTimeVarying(suites, pluginId, build.layer);
    if (!suites.LayerSuite7()->AEGP_GetLayerParent(build.layer, &parentLayer) && parentLayer)
        varying = varying || isTimeVarying(suites, pluginId, parentLayer);
    body.rotationVarying = varying;

    build.labelColor = labelColorOf(labels, bodyIndex, labelColors);
    if (doesLayerHaveMask(pluginId, basicSuite, layerIndex))
        err = buildFromMasks(build, suites, body, bodyColor);
    else if (objectType == AEGP_ObjectType_TEXT)
        buildTextBody(build, body, bodyColor);
    else if (objectType == AEGP_ObjectType_VECTOR)
        buildFromShapes(build, body, bodyColor);
    else if (objectType == AEGP_ObjectType_AV)
        err = buildFromLayerBox(build, suites, body, bodyColor);
    if (hostError)
        *hostError = err;
    body.outlineUnrepresentable = build.outlineUnrepresentable;
    body.placementMended = build.placementMended;
    body.filledAsHull = build.outlineFilledAsHull;
    body.outlinePrecision = precision - 2;
    body.outlineHull = useConvexHull;
}

void recomputeShape(QWidget* parent, std::vector<MyBody>& bodies, int bodyIndex,
                    const std::vector<int>& bodyLayerIndices, int pluginId, SPBasicSuite* basicSuite,
                    const std::vector<char>& labels, const std::vector<AEGP_ColorVal>& labelColors)
{
    if (bodyIndex < 0 || size_t(bodyIndex) >= bodies.size() || size_t(bodyIndex) >= bodyLayerIndices.size())
        return;
    const int layerIndex = bodyLayerIndices[size_t(bodyIndex)];
    AEGP_SuiteHandler suites(basicSuite);
    AEGP_ItemH active = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH layer = nullptr;
    A_long layerCount = 0;
    AEGP_ObjectType objectType = AEGP_ObjectType_AV;
    A_Err err = GetActiveItemComp(suites, active, comp);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetCompNumLayers(comp, &layerCount);
    if (err || layerIndex < 0 || layerIndex >= layerCount)
        return;
    err = suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, layerIndex, &layer);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetLayerObjectType(layer, &objectType);
    if (err)
        return;

    MyBody& body = bodies[size_t(bodyIndex)];
    const b2Vec2 position = body.position;
    const b2Vec2 committedPosition = body.committedPosition;
    const float angle = body.angle;
    const AEGP_ColorVal color = body.color;
    AEGP_ColorVal scratch{};
    getBodyFromLayer(parent, bodies, bodyIndex, layerIndex, int(objectType), scratch, pluginId, basicSuite, labels,
                     labelColors, body.name, body.meshPrecision + 2, body.useConvexHull);
    MyBody& rebuilt = bodies[size_t(bodyIndex)];
    rebuilt.position = position;
    rebuilt.committedPosition = committedPosition;
    rebuilt.angle = angle;
    rebuilt.color = color;
}

AEGP_ColorVal layerSolidColor(const AEGP_SuiteHandler& suites, AEGP_LayerH layer, const AEGP_ColorVal& other)
{
    AEGP_ItemH source = nullptr;
    AEGP_ItemType type = AEGP_ItemType_NONE;
    if (sourceOf(suites, layer, source, type) || type != AEGP_ItemType_FOOTAGE)
        return other;
    return footageColor(suites, source, other);
}
