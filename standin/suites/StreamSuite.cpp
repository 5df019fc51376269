// "AEGP Stream Suite" 9, 8 and 7: stream references, values and expression
// state. Slots shared by several versions share one implementation.
#include "StreamValues.h"
#include "SuiteContext.h"
#include "SuiteTables.h"

#include "project/MatchNames.h"

namespace standin {
namespace {

A_Err findLeaf(AEGP_StreamRefH streamH, PropertyNode*& node)
{
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    return node->isLeaf() ? A_Err_NONE : A_Err_PARAMETER;
}

STANDIN_CALL(AEGP_GetNewLayerStream,
             (AEGP_PluginID plugin_id, AEGP_LayerH layerH, AEGP_LayerStream which_stream, AEGP_StreamRefH* streamPH))
{
    if (!streamPH)
        return A_Err_PARAMETER;
    *streamPH = nullptr;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    if (which_stream < AEGP_LayerStream_ANCHORPOINT || which_stream > AEGP_LayerStream_ROTATION)
        return A_Err_PARAMETER;
    PropertyNode* node = layer->transformStream(TransformStream(which_stream));
    if (!node)
        return A_Err_GENERIC;
    *streamPH = ctx().newStreamRef(node);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetNewMaskStream,
             (AEGP_PluginID plugin_id, AEGP_MaskRefH mask_refH, AEGP_MaskStream which_stream,
              AEGP_StreamRefH* mask_streamPH))
{
    if (!mask_streamPH)
        return A_Err_PARAMETER;
    *mask_streamPH = nullptr;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    PropertyNode* atom = nullptr;
    if (A_Err err = ctx().findMask(mask_refH, atom))
        return err;
    const char* name = nullptr;
    switch (which_stream) {
    case AEGP_MaskStream_OUTLINE: name = match::kMaskShape; break;
    case AEGP_MaskStream_OPACITY: name = match::kMaskOpacity; break;
    case AEGP_MaskStream_FEATHER: name = match::kMaskFeather; break;
    case AEGP_MaskStream_EXPANSION: name = match::kMaskOffset; break;
    default: return A_Err_PARAMETER;
    }
    PropertyNode* node = atom->childByMatchName(QLatin1String(name));
    if (!node)
        return A_Err_GENERIC;
    *mask_streamPH = ctx().newStreamRef(node);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_DisposeStream, (AEGP_StreamRefH streamH))
{
    if (!streamH)
        return A_Err_PARAMETER;
    // A reference into a deleted layer or property is still released.
    return ctx().streams.remove(streamH) ? A_Err_NONE : A_Err_STRUCT;
}

STANDIN_CALL(AEGP_IsStreamTimevarying, (AEGP_StreamRefH streamH, A_Boolean* is_timevaryPB))
{
    if (!is_timevaryPB)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = findLeaf(streamH, node))
        return err;
    *is_timevaryPB = node->isTimeVarying();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetNewStreamValue,
             (AEGP_PluginID plugin_id, AEGP_StreamRefH streamH, AEGP_LTimeMode time_mode, const A_Time* timePT,
              A_Boolean pre_expressionB, AEGP_StreamValue2* valueP))
{
    if (!valueP)
        return A_Err_PARAMETER;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    PropertyNode* node = nullptr;
    if (A_Err err = findLeaf(streamH, node))
        return err;
    A_Time t{};
    if (A_Err err = toCompTime(node->layer(), time_mode, timePT, t))
        return err;
    const Value value = node->valueAt(t, pre_expressionB != 0);
    handOutValue(node, streamH, value, valueP);
    if (callNotesKept())
        noteCall(describeValue(value));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_DisposeStreamValue, (AEGP_StreamValue2 * valueP))
{
    if (!valueP)
        return A_Err_PARAMETER;
    return disposeValue(valueP);
}

STANDIN_MUTATOR(AEGP_SetStreamValue, (AEGP_PluginID plugin_id, AEGP_StreamRefH streamH, AEGP_StreamValue2* valueP))
{
    if (!valueP)
        return A_Err_PARAMETER;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    PropertyNode* node = nullptr;
    if (A_Err err = findLeaf(streamH, node))
        return err;
    if (node->keyCount() > 0) {
        noteCall("the stream has keys");
        return A_Err_GENERIC;
    }
    if (node->isSeparationLeader()) {
        noteCall("the stream's dimensions are separated");
        return A_Err_GENERIC;
    }
    Value value;
    if (A_Err err = takeValue(node, *valueP, node->staticValue(), value))
        return err;
    noteCall(describeValue(value));
    return node->setStaticValue(value) ? A_Err_NONE : A_Err_PARAMETER;
}

STANDIN_CALL(AEGP_GetExpressionState, (AEGP_PluginID plugin_id, AEGP_StreamRefH streamH, A_Boolean* enabledPB))
{
    if (!enabledPB)
        return A_Err_PARAMETER;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    PropertyNode* node = nullptr;
    if (A_Err err = findLeaf(streamH, node))
        return err;
    *enabledPB = node->hasExpression() && node->expressionEnabled();
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_SetExpressionState, (AEGP_PluginID plugin_id, AEGP_StreamRefH streamH, A_Boolean enabledB))
{
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    PropertyNode* node = nullptr;
    if (A_Err err = findLeaf(streamH, node))
        return err;
    if (!node->hasExpression())
        noteCall("no expression: nothing to change");
    node->setExpressionEnabled(enabledB != 0);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetStreamName, (AEGP_StreamRefH streamH, A_Boolean force_englishB, A_char* nameZ))
{
    (void)force_englishB;
    if (!nameZ)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    if (!copyToBuffer(node->displayName().toStdString(), nameZ, AEGP_MAX_STREAM_NAME_SIZE))
        noteCall("name truncated");
    return A_Err_NONE;
}

} // namespace

const AEGP_StreamSuite4* StreamSuite4Table()
{
    static const AEGP_StreamSuite4 table = [] {
        using Tag = StreamSuite4Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_GetNewLayerStream);
        STANDIN_SLOT(Tag, t, AEGP_GetNewMaskStream);
        STANDIN_SLOT(Tag, t, AEGP_DisposeStream);
        STANDIN_SLOT(Tag, t, AEGP_IsStreamTimevarying);
        STANDIN_SLOT(Tag, t, AEGP_GetNewStreamValue);
        STANDIN_SLOT(Tag, t, AEGP_DisposeStreamValue);
        STANDIN_SLOT(Tag, t, AEGP_SetStreamValue);
        STANDIN_SLOT(Tag, t, AEGP_GetExpressionState);
        STANDIN_SLOT(Tag, t, AEGP_SetExpressionState);
        return t;
    }();
    return &table;
}

const AEGP_StreamSuite3* StreamSuite3Table()
{
    static const AEGP_StreamSuite3 table = [] {
        using Tag = StreamSuite3Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_DisposeStream);
        STANDIN_SLOT(Tag, t, AEGP_GetStreamName);
        return t;
    }();
    return &table;
}

const AEGP_StreamSuite2* StreamSuite2Table()
{
    static const AEGP_StreamSuite2 table = [] {
        using Tag = StreamSuite2Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_GetNewLayerStream);
        STANDIN_SLOT(Tag, t, AEGP_DisposeStream);
        STANDIN_SLOT(Tag, t, AEGP_GetNewStreamValue);
        STANDIN_SLOT(Tag, t, AEGP_DisposeStreamValue);
        return t;
    }();
    return &table;
}

} // namespace standin
