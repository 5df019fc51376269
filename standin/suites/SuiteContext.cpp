#include "SuiteContext.h"

#include "project/Time.h"

namespace standin {

namespace {
SuiteContext* g_current = nullptr;
} // namespace

SuiteContext::SuiteContext(Project& p, AEGP_PluginID id, std::unique_ptr<PersistentStore> store)
    : project(p), pluginId(id), mainThread(std::this_thread::get_id()), prefs(std::move(store))
{
    if (!prefs)
        prefs = std::make_unique<PersistentStore>();
}

SuiteContext::~SuiteContext()
{
    if (g_current == this)
        g_current = nullptr;
}

SuiteContext* SuiteContext::current() { return g_current; }
void SuiteContext::setCurrent(SuiteContext* context) { g_current = context; }

A_Err SuiteContext::checkPlugin(AEGP_PluginID id) const
{
    return id == pluginId ? A_Err_NONE : A_Err_PARAMETER;
}

// ---- project objects ------------------------------------------------------------

AEGP_ProjectH SuiteContext::projectHandle() const { return encodeHandle<AEGP_ProjectH>(1); }

AEGP_ItemH SuiteContext::itemHandle(Item* item)
{
    return item ? items_.handleFor(item->uid(), item->weak_from_this()) : nullptr;
}

AEGP_CompH SuiteContext::compHandle(Composition* comp)
{
    return comp ? comps_.handleFor(comp->uid(), comp->weak_from_this()) : nullptr;
}

AEGP_FootageH SuiteContext::footageHandle(Footage* footage)
{
    return footage ? footage_.handleFor(footage->uid(), footage->weak_from_this()) : nullptr;
}

AEGP_LayerH SuiteContext::layerHandle(Layer* layer)
{
    return layer ? layers_.handleFor(layer->uid(), layer->weakFromThis()) : nullptr;
}

A_Err SuiteContext::findProject(AEGP_ProjectH handle) const
{
    if (!handle)
        return A_Err_PARAMETER;
    return handle == projectHandle() ? A_Err_NONE : A_Err_STRUCT;
}

namespace {

template <class H> A_Err findItemOf(const CanonicalHandles<H, std::weak_ptr<Item>>& table, H handle,
                                    const Project& project, Item*& out)
{
    out = nullptr;
    if (!handle)
        return A_Err_PARAMETER;
    const std::weak_ptr<Item>* weak = table.find(handle);
    std::shared_ptr<Item> item = weak ? weak->lock() : nullptr;
    if (!item || !project.containsItem(item.get()))
        return A_Err_STRUCT;
    out = item.get();
    return A_Err_NONE;
}

} // namespace

A_Err SuiteContext::findItem(AEGP_ItemH handle, Item*& item)
{
    return findItemOf(items_, handle, project, item);
}

A_Err SuiteContext::findComp(AEGP_CompH handle, Composition*& comp)
{
    Item* item = nullptr;
    comp = nullptr;
    if (A_Err err = findItemOf(comps_, handle, project, item))
        return err;
    comp = item->asComposition();
    return comp ? A_Err_NONE : A_Err_STRUCT;
}

A_Err SuiteContext::findFootage(AEGP_FootageH handle, Footage*& footage)
{
    Item* item = nullptr;
    footage = nullptr;
    if (A_Err err = findItemOf(footage_, handle, project, item))
        return err;
    footage = item->asFootage();
    return footage ? A_Err_NONE : A_Err_STRUCT;
}

A_Err SuiteContext::findLayer(AEGP_LayerH handle, Layer*& layer)
{
    layer = nullptr;
    if (!handle)
        return A_Err_PARAMETER;
    const std::weak_ptr<Layer>* weak = layers_.find(handle);
    std::shared_ptr<Layer> live = weak ? weak->lock() : nullptr;
    if (!live || live->isDeleted() || !live->composition() || live->composition()->project() != &project)
        return A_Err_STRUCT;
    layer = live.get();
    return A_Err_NONE;
}

// ---- counted resources ------------------------------------------------------------

AEGP_StreamRefH SuiteContext::newStreamRef(PropertyNode* node)
{
    return streams.add(node->weakFromThis());
}

namespace {

A_Err liveNode(const std::weak_ptr<PropertyNode>* weak, PropertyNode*& node)
{
    std::shared_ptr<PropertyNode> live = weak ? weak->lock() : nullptr;
    node = live && live->isLive() ? live.get() : nullptr;
    return node ? A_Err_NONE : A_Err_STRUCT;
}

} // namespace

A_Err SuiteContext::findStream(AEGP_StreamRefH handle, PropertyNode*& node)
{
    node = nullptr;
    if (!handle)
        return A_Err_PARAMETER;
    return liveNode(streams.find(handle), node);
}

AEGP_MaskRefH SuiteContext::newMaskRef(PropertyNode* atom)
{
    return masks.add(atom->weakFromThis());
}

A_Err SuiteContext::findMask(AEGP_MaskRefH handle, PropertyNode*& atom)
{
    atom = nullptr;
    if (!handle)
        return A_Err_PARAMETER;
    return liveNode(masks.find(handle), atom);
}

LeakCounters SuiteContext::live() const
{
    LeakCounters c;
    c.streamRefs = int(streams.size());
    c.streamValues = liveValues;
    c.maskOutlines = int(outlines.size());
    c.memHandles = int(memory.live());
    c.maskRefs = int(masks.size());
    c.keyBatches = int(keyBatches.size());
    c.textOutlines = int(textOutlines.size());
    c.collections = int(collections.size());
    c.openUndoGroups = undo.depth();
    return c;
}

LeakCounters SuiteContext::releaseLeftovers()
{
    const LeakCounters before = live();
    streams.clear();
    masks.clear();
    outlines.clear();
    collections.clear();
    keyBatches.clear();
    textOutlines.clear();
    paths.clear();
    memory.clear();
    liveValues = 0;
    undo.closeAll();
    return before;
}

// ---- times ------------------------------------------------------------------

A_Err toCompTime(const Layer* layer, AEGP_LTimeMode mode, const A_Time* in, A_Time& out)
{
    if (!in || in->scale == 0)
        return A_Err_PARAMETER;
    if (mode == AEGP_LTimeMode_CompTime || (mode == AEGP_LTimeMode_LayerTime && !layer)) {
        out = *in;
        return A_Err_NONE;
    }
    if (mode != AEGP_LTimeMode_LayerTime)
        return A_Err_PARAMETER;
    return addTimes(*in, layer->inPoint(), &out) ? A_Err_NONE : A_Err_PARAMETER;
}

A_Err fromCompTime(const Layer* layer, AEGP_LTimeMode mode, const A_Time& in, A_Time& out)
{
    if (mode == AEGP_LTimeMode_CompTime || (mode == AEGP_LTimeMode_LayerTime && !layer)) {
        out = in;
        return A_Err_NONE;
    }
    if (mode != AEGP_LTimeMode_LayerTime)
        return A_Err_PARAMETER;
    return subtractTimes(in, layer->inPoint(), &out) ? A_Err_NONE : A_Err_PARAMETER;
}

A_Time inFrameScale(const Composition* comp, const A_Time& t)
{
    A_Time out = t;
    if (comp)
        rescaleExactly(t, comp->frameDuration().scale, &out);
    return out;
}

} // namespace standin
