// "AEGP Dynamic Stream Suite" 5 and 3: walking and editing a layer's
// property tree (masks, shape contents, transform).
#include "SuiteContext.h"
#include "SuiteTables.h"

#include "project/MatchNames.h"
#include "project/PropertyCatalog.h"

namespace standin {
namespace {

A_Err findGroup(AEGP_StreamRefH streamH, PropertyNode*& node)
{
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    return node->isGroup() ? A_Err_NONE : A_Err_PARAMETER;
}

// Children of indexed groups (mask atoms, shape items) may be renamed and
// deleted; nothing else may.
bool isIndexedChild(const PropertyNode* node)
{
    return node->parent() && node->parent()->grouping() == Grouping::IndexedGroup;
}

bool isSingleBit(A_long flag) { return flag > 0 && (flag & (flag - 1)) == 0; }

STANDIN_CALL(AEGP_GetNewStreamRefForLayer,
             (AEGP_PluginID plugin_id, AEGP_LayerH layerH, AEGP_StreamRefH* stream_refPH))
{
    if (!stream_refPH)
        return A_Err_PARAMETER;
    *stream_refPH = nullptr;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    if (!layer->root())
        return A_Err_GENERIC;
    *stream_refPH = ctx().newStreamRef(layer->root());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetStreamDepth, (AEGP_StreamRefH streamH, A_long* depthPL))
{
    if (!depthPL)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    *depthPL = node->depth();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetStreamGroupingType, (AEGP_StreamRefH streamH, AEGP_StreamGroupingType* group_typeP))
{
    if (!group_typeP)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    *group_typeP = AEGP_StreamGroupingType(node->grouping());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetNumStreamsInGroup, (AEGP_StreamRefH streamH, A_long* num_streamsPL))
{
    if (!num_streamsPL)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = findGroup(streamH, node))
        return err;
    *num_streamsPL = node->childCount();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetDynamicStreamFlags, (AEGP_StreamRefH streamH, AEGP_DynStreamFlags* flagsP))
{
    if (!flagsP)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    *flagsP = AEGP_DynStreamFlags(node->dynamicFlags());
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_SetDynamicStreamFlag,
                (AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag, A_Boolean undoableB, A_Boolean setB))
{
    PropertyNode* node = nullptr;
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    if (!isSingleBit(one_flag))
        return A_Err_PARAMETER;
    noteCall(undoableB ? "undoable" : "not undoable");
    const quint32 flags = node->dynamicFlags();
    node->setDynamicFlags(setB ? flags | quint32(one_flag) : flags & ~quint32(one_flag));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetNewStreamRefByIndex,
             (AEGP_PluginID plugin_id, AEGP_StreamRefH parent_groupH, A_long indexL, AEGP_StreamRefH* streamPH))
{
    if (!streamPH)
        return A_Err_PARAMETER;
    *streamPH = nullptr;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    PropertyNode* group = nullptr;
    if (A_Err err = findGroup(parent_groupH, group))
        return err;
    PropertyNode* child = group->child(indexL);
    if (!child)
        return A_Err_PARAMETER;
    *streamPH = ctx().newStreamRef(child);
    noteCall(quoteForLog(child->matchName().toStdString()));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetNewStreamRefByMatchname,
             (AEGP_PluginID plugin_id, AEGP_StreamRefH parent_groupH, const A_char* match_nameZ,
              AEGP_StreamRefH* streamPH))
{
    if (!streamPH)
        return A_Err_PARAMETER;
    *streamPH = nullptr;
    if (!match_nameZ)
        return A_Err_PARAMETER;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    PropertyNode* group = nullptr;
    if (A_Err err = findGroup(parent_groupH, group))
        return err;
    PropertyNode* child = group->childByMatchName(QString::fromUtf8(match_nameZ));
    if (!child) {
        noteCall("not found");
        return A_Err_NONE;
    }
    *streamPH = ctx().newStreamRef(child);
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_DeleteStream, (AEGP_StreamRefH streamH))
{
    PropertyNode* node = nullptr;
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    if (!isIndexedChild(node))
        return A_Err_PARAMETER;
    PropertyNode* parent = node->parent();
    const int index = node->indexInParent();
    noteCall(quoteForLog(node->matchName().toStdString()) + " " + quoteForLog(node->displayName().toStdString()));
    Layer* layer = node->layer();
    if (layer && parent == layer->maskParade())
        return layer->removeMask(index) ? A_Err_NONE : A_Err_GENERIC;
    return parent->removeChild(index) ? A_Err_NONE : A_Err_GENERIC;
}

STANDIN_MUTATOR(AEGP_AddStream,
                (AEGP_PluginID plugin_id, AEGP_StreamRefH indexed_groupH, const A_char* match_nameZ,
                 AEGP_StreamRefH* streamPH))
{
    if (!streamPH)
        return A_Err_PARAMETER;
    *streamPH = nullptr;
    if (!match_nameZ)
        return A_Err_PARAMETER;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    PropertyNode* group = nullptr;
    if (A_Err err = ctx().findStream(indexed_groupH, group))
        return err;
    const QString name = QString::fromUtf8(match_nameZ);
    if (group->grouping() != Grouping::IndexedGroup || !indexedGroupAccepts(*group, name))
        return A_Err_PARAMETER;
    PropertyNode::Ptr item = makeShapeItem(name, nextShapeItemName(*group, name));
    if (!item)
        return A_Err_PARAMETER;
    PropertyNode* added = group->insertChild(std::move(item));
    if (!added)
        return A_Err_GENERIC;
    *streamPH = ctx().newStreamRef(added);
    noteCall("added " + quoteForLog(added->displayName().toStdString()));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetMatchName, (AEGP_StreamRefH streamH, A_char* nameZ))
{
    if (!nameZ)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    if (!copyToBuffer(node->matchName().toStdString(), nameZ, AEGP_MAX_STREAM_MATCH_NAME_SIZE))
        noteCall("match name truncated");
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetNewParentStreamRef,
             (AEGP_PluginID plugin_id, AEGP_StreamRefH streamH, AEGP_StreamRefH* parentPH))
{
    if (!parentPH)
        return A_Err_PARAMETER;
    *parentPH = nullptr;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    PropertyNode* node = nullptr;
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    if (!node->parent())
        return A_Err_PARAMETER;
    *parentPH = ctx().newStreamRef(node->parent());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_AreDimensionsSeparated, (AEGP_StreamRefH leader_streamH, A_Boolean* separatedPB))
{
    if (!separatedPB)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = ctx().findStream(leader_streamH, node))
        return err;
    *separatedPB = node->isSeparationLeader();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetSeparationFollower,
             (AEGP_StreamRefH leader_streamH, A_short dimS, AEGP_StreamRefH* follower_streamPH))
{
    if (!follower_streamPH)
        return A_Err_PARAMETER;
    *follower_streamPH = nullptr;
    PropertyNode* node = nullptr;
    if (A_Err err = ctx().findStream(leader_streamH, node))
        return err;
    PropertyNode* follower = node->separationFollower(dimS);
    if (!follower)
        return A_Err_PARAMETER;
    *follower_streamPH = ctx().newStreamRef(follower);
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_SetStreamName, (AEGP_StreamRefH streamH, const A_char* nameZ))
{
    if (!nameZ)
        return A_Err_PARAMETER;
    PropertyNode* node = nullptr;
    if (A_Err err = ctx().findStream(streamH, node))
        return err;
    if (!isIndexedChild(node))
        return A_Err_PARAMETER;
    node->setDisplayName(QString::fromUtf8(nameZ));
    return A_Err_NONE;
}

} // namespace

const AEGP_DynamicStreamSuite4* DynamicStreamSuite4Table()
{
    static const AEGP_DynamicStreamSuite4 table = [] {
        using Tag = DynamicStreamSuite4Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_GetNewStreamRefForLayer);
        STANDIN_SLOT(Tag, t, AEGP_GetStreamDepth);
        STANDIN_SLOT(Tag, t, AEGP_GetStreamGroupingType);
        STANDIN_SLOT(Tag, t, AEGP_GetNumStreamsInGroup);
        STANDIN_SLOT(Tag, t, AEGP_GetDynamicStreamFlags);
        STANDIN_SLOT(Tag, t, AEGP_SetDynamicStreamFlag);
        STANDIN_SLOT(Tag, t, AEGP_GetNewStreamRefByIndex);
        STANDIN_SLOT(Tag, t, AEGP_GetNewStreamRefByMatchname);
        STANDIN_SLOT(Tag, t, AEGP_DeleteStream);
        STANDIN_SLOT(Tag, t, AEGP_AddStream);
        STANDIN_SLOT(Tag, t, AEGP_GetMatchName);
        STANDIN_SLOT(Tag, t, AEGP_GetNewParentStreamRef);
        STANDIN_SLOT(Tag, t, AEGP_AreDimensionsSeparated);
        STANDIN_SLOT(Tag, t, AEGP_GetSeparationFollower);
        return t;
    }();
    return &table;
}

const AEGP_DynamicStreamSuite3* DynamicStreamSuite3Table()
{
    static const AEGP_DynamicStreamSuite3 table = [] {
        auto t = makeSuiteTable<DynamicStreamSuite3Tag>();
        STANDIN_SLOT(DynamicStreamSuite3Tag, t, AEGP_SetStreamName);
        return t;
    }();
    return &table;
}

} // namespace standin
