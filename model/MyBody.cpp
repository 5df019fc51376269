#include "model/MyBody.h"

#include <utility>

void MyBody::init()
{
    MyBody fresh;

    fresh.body = body;
    fresh.layerID = layerID;
    fresh.initialPosition = initialPosition;
    fresh.initialRotation = initialRotation;
    fresh.startFrame = startFrame;
    fresh.endFrame = endFrame;
    fresh.position = position;
    fresh.committedPosition = committedPosition;
    fresh.layerAnchor = layerAnchor;
    fresh.aematicAnchorWorld = aematicAnchorWorld;
    fresh.isLayerBox = isLayerBox;
    fresh.outlines = std::move(outlines);
    fresh.outlinePrecision = outlinePrecision;
    fresh.outlineHull = outlineHull;
    fresh.color = color;
    fresh.labelColor = labelColor;
    fresh.joints = std::move(joints);
    fresh.userData = userData;

    *this = std::move(fresh);
    // UserData::init has nothing to reset, and a record may still point at
    // the user data of a world that is gone: the pointer is not followed.
}
