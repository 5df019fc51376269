// The view's layer queries: the free queries of host/LayerQueries, given the
// view's suite, plug-in ID and timing.
#include "simulation/SimulationView.h"

#include "host/LayerQueries.h"

bool SimulationView::getStreamFromMatchName(AEGP_LayerH /*layer*/, const char* matchName,
                                            AEGP_StreamRefH& result, AEGP_StreamRefH parent, A_long childIndex,
                                            bool& found)
{
    return FindStreamByMatchName(pluginId, basicSuite, matchName, result, parent, childIndex, found);
}

b2Vec2 SimulationView::getLinearVelocityAtCurrentFrame(A_long layerIndex)
{
    return GetLinearVelocityAtFrame(pluginId, basicSuite, layerIndex, frameDuration, currentFrame, timeDivider(),
                                    fps);
}

b2Vec2 SimulationView::getLayerPosAtCurrentFrame(A_long layerIndex)
{
    return GetLayerPosAtFrame(pluginId, basicSuite, layerIndex, frameDuration, currentFrame, timeDivider());
}
