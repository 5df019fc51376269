// The layer queries at the current frame: the free queries of
// host/LayerQueries with the core's suite, plug-in ID and timing.
#include "simulation/SimulationCore.h"

#include "host/LayerQueries.h"

bool SimulationCore::getStreamFromMatchName(AEGP_LayerH /*layer*/, const char* matchName, AEGP_StreamRefH& result,
                                            AEGP_StreamRefH parent, A_long childIndex, bool& found)
{
    return FindStreamByMatchName(pluginId, basicSuite, matchName, result, parent, childIndex, found);
}

b2Vec2 SimulationCore::getLinearVelocityAtCurrentFrame(A_long layerIndex)
{
    return GetLinearVelocityAtFrame(pluginId, basicSuite, layerIndex, frameDuration, currentFrame,
                                    timeDivider(), fps);
}

b2Vec2 SimulationCore::getLayerPosAtCurrentFrame(A_long layerIndex)
{
    return GetLayerPosAtFrame(pluginId, basicSuite, layerIndex, frameDuration, currentFrame,
                              timeDivider());
}
