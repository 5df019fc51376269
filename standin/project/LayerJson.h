// The JSON form of a layer (see docs/project-format.md). Readers throw
// ReadFailure (ReadContext.h).
#pragma once

#include "project/Layer.h"
#include "project/ReadContext.h"

#include <functional>
#include <memory>

namespace standin {

class Composition;
class JsonStream;

// Flags as an array of names ("video", "motionBlur", "guide" ...) or a number.
quint32 readLayerFlags(const QJsonValue& v, const JsonPath& path);
QJsonValue writeLayerFlags(quint32 flags);

struct LayerReadContext {
    Composition* comp = nullptr;
    // Finds the item a "source" value names (an item ID or a unique name).
    std::function<Item*(const QJsonValue&, const JsonPath&)> resolveItem;
    // Makes the 100 x 100 solid of a null layer that names no source.
    std::function<Item*()> makeNullSolid;
    // Layers of each non-AV kind read so far, for default names.
    int shapeCount = 0, textCount = 0, cameraCount = 0, lightCount = 0;
};

// Reads one layer. Its ID (0 when the file gives none) and parent ID (0 for
// none) are returned for the composition to check and resolve.
std::shared_ptr<Layer> readLayer(const QJsonValue& v, const JsonPath& path, LayerReadContext& ctx,
                                 quint32* parentId);
QJsonObject writeLayer(const Layer& layer);
// The layer's members but its transform.
QJsonObject writeLayerButTransform(const Layer& layer);
// Prints what writeLayer gives, the transform's streams straight from the
// layer (a long export's keys never make a tree).
void streamLayer(const Layer& layer, JsonStream& out, int indent);

} // namespace standin
