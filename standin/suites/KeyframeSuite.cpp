// "AEGP Keyframe Suite" 4: reading and deleting keys, spatial tangents, and
// key batches (pending keys stay invisible until the batch ends).
#include "StreamValues.h"
#include "SuiteContext.h"
#include "SuiteTables.h"

#include "project/Time.h"

namespace standin {
namespace {

A_Err findLeaf(AEGP_StreamRefH streamH, PropertyNode*& node)
{
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    return node->isLeaf() ? A_Err_NONE : A_Err_PARAMETER;
}

// A live batch and the leaf it adds to.
A_Err findBatch(AEGP_AddKeyframesInfoH akH, KeyBatch*& batch, PropertyNode*& node)
{
    node = nullptr;
    if (A_Err err = ctx().keyBatches.lookup(akH, batch))
        return err;
    std::shared_ptr<PropertyNode> live = batch->node.lock();
    if (!live || !live->isLive())
        return A_Err_STRUCT;
    node = live.get();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetStreamNumKFs, (AEGP_StreamRefH streamH, A_long* num_kfsPL))
{
    if (!num_kfsPL)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = findLeaf(streamH, node))
        return err;
    *num_kfsPL = node->keyCount();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetKeyframeTime,
             (AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index, AEGP_LTimeMode time_mode, A_Time* timePT))
{
    if (!timePT)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = findLeaf(streamH, node))
        return err;
    const Keyframe* key = node->key(key_index);
    if (!key)
        return A_Err_PARAMETER;
    return fromCompTime(node->layer(), time_mode, key->time, *timePT);
}

STANDIN_MUTATOR(AEGP_DeleteKeyframe, (AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index))
{
    PropertyNode* node = nullptr;
    if (A_Err err = findLeaf(streamH, node))
        return err;
    if (const Keyframe* key = node->key(key_index); key && callNotesKept())
        noteCall("at " + formatTime(key->time));
    return node->removeKey(key_index) ? A_Err_NONE : A_Err_PARAMETER;
}

STANDIN_CALL(AEGP_GetNewKeyframeSpatialTangents,
             (AEGP_PluginID plugin_id, AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
              AEGP_StreamValue2* in_tanP, AEGP_StreamValue2* out_tanP))
{
    if (!in_tanP && !out_tanP)
        return A_Err_PARAMETER;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    PropertyNode* node = nullptr;
    if (A_Err err = findLeaf(streamH, node))
        return err;
    if (!node->isSpatial())
        return A_Err_PARAMETER;
    const Keyframe* key = node->key(key_index);
    if (!key)
        return A_Err_PARAMETER;
    if (in_tanP)
        handOutTangent(key->inTangent, streamH, in_tanP);
    if (out_tanP)
        handOutTangent(key->outTangent, streamH, out_tanP);
    if (callNotesKept())
        noteCall("in " + describeValue(key->inTangent) + " out " + describeValue(key->outTangent));
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_SetKeyframeSpatialTangents,
                (AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index, const AEGP_StreamValue2* in_tanP,
                 const AEGP_StreamValue2* out_tanP))
{
    if (!in_tanP && !out_tanP)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = findLeaf(streamH, node))
        return err;
    if (!node->isSpatial())
        return A_Err_PARAMETER;
    const Keyframe* key = node->key(key_index);
    if (!key)
        return A_Err_PARAMETER;
    // A tangent not given keeps its value.
    Value in = key->inTangent;
    Value out = key->outTangent;
    if (in_tanP) {
        if (A_Err err = takeTangent(node, *in_tanP, in))
            return err;
    }
    if (out_tanP) {
        if (A_Err err = takeTangent(node, *out_tanP, out))
            return err;
    }
    const bool set = node->setKeyTangents(key_index, in, out);
    if (!set || callNotesKept())
        noteCall("in " + describeValue(in) + " out " + describeValue(out));
    return set ? A_Err_NONE : A_Err_PARAMETER;
}

STANDIN_CALL(AEGP_StartAddKeyframes, (AEGP_StreamRefH streamH, AEGP_AddKeyframesInfoH* akPH))
{
    if (!akPH)
        return A_Err_PARAMETER;
    *akPH = nullptr;
    PropertyNode* node = nullptr;
    if (A_Err err = findLeaf(streamH, node))
        return err;
    if (node->isSeparationLeader()) {
        noteCall("the stream's dimensions are separated");
        return A_Err_GENERIC;
    }
    KeyBatch batch;
    batch.node = node->weakFromThis();
    *akPH = ctx().keyBatches.add(std::move(batch));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_AddKeyframes,
             (AEGP_AddKeyframesInfoH akH, AEGP_LTimeMode time_mode, const A_Time* timePT, A_long* key_indexPL))
{
    if (!key_indexPL)
        return A_Err_PARAMETER;
    KeyBatch* batch = nullptr;
    PropertyNode* node = nullptr;
    if (A_Err err = findBatch(akH, batch, node))
        return err;
    A_Time t{};
    if (A_Err err = toCompTime(node->layer(), time_mode, timePT, t))
        return err;
    const int order = batch->pending.empty() ? 1 : compareTimes(t, batch->pending.back().time);
    if (order <= 0 || !batch->rising) {
        for (size_t i = 0; i < batch->pending.size(); ++i) {
            if (timesEqual(batch->pending[i].time, t)) {
                *key_indexPL = A_long(i);
                return A_Err_NONE;
            }
        }
        batch->rising = false;
    }
    batch->pending.push_back({t, false, Value()});
    *key_indexPL = A_long(batch->pending.size() - 1);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_SetAddKeyframe, (AEGP_AddKeyframesInfoH akH, A_long key_indexL, const AEGP_StreamValue2* valueP))
{
    if (!valueP)
        return A_Err_PARAMETER;
    KeyBatch* batch = nullptr;
    PropertyNode* node = nullptr;
    if (A_Err err = findBatch(akH, batch, node))
        return err;
    if (key_indexL < 0 || size_t(key_indexL) >= batch->pending.size())
        return A_Err_PARAMETER;
    KeyBatch::Pending& key = batch->pending[size_t(key_indexL)];
    Value value;
    if (A_Err err = takeValue(node, *valueP, node->keyedValueAt(key.time), value))
        return err;
    key.value = value;
    key.hasValue = true;
    if (callNotesKept())
        noteCall("at " + formatTime(key.time) + ": " + describeValue(value));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_EndAddKeyframes, (A_Boolean addB, AEGP_AddKeyframesInfoH akH))
{
    KeyBatch* batch = nullptr;
    PropertyNode* node = nullptr;
    const A_Err found = findBatch(akH, batch, node);
    if (!batch)
        return found;
    // The batch ends here whatever happens next.
    const KeyBatch ended = std::move(*batch);
    ctx().keyBatches.remove(akH);
    if (found)
        return found;
    if (!addB) {
        noteCall("discarded " + std::to_string(ended.pending.size()) + " key(s)");
        return A_Err_NONE;
    }
    // Unset keys take the stream's value as it is before any of the batch.
    std::vector<std::pair<A_Time, Value>> keys;
    for (const KeyBatch::Pending& p : ended.pending)
        keys.emplace_back(p.time, p.hasValue ? p.value : node->keyedValueAt(p.time));
    const std::vector<int> indices = node->addKeys(keys);
    for (int index : indices) {
        if (index < 0)
            return A_Err_PARAMETER;
    }
    noteCall("added " + std::to_string(keys.size()) + " key(s)");
    if (!keys.empty())
        markCallAsMutation();
    return A_Err_NONE;
}

} // namespace

const AEGP_KeyframeSuite4* KeyframeSuite4Table()
{
    static const AEGP_KeyframeSuite4 table = [] {
        using Tag = KeyframeSuite4Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_GetStreamNumKFs);
        STANDIN_SLOT(Tag, t, AEGP_GetKeyframeTime);
        STANDIN_SLOT(Tag, t, AEGP_DeleteKeyframe);
        STANDIN_SLOT(Tag, t, AEGP_GetNewKeyframeSpatialTangents);
        STANDIN_SLOT(Tag, t, AEGP_SetKeyframeSpatialTangents);
        STANDIN_SLOT(Tag, t, AEGP_StartAddKeyframes);
        STANDIN_SLOT(Tag, t, AEGP_AddKeyframes);
        STANDIN_SLOT(Tag, t, AEGP_SetAddKeyframe);
        STANDIN_SLOT(Tag, t, AEGP_EndAddKeyframes);
        return t;
    }();
    return &table;
}

} // namespace standin
