// The state behind the suites while a host session is installed: the project,
// the plug-in's ID, every handle table, the call log, injected faults, undo
// groups, menus and hooks, persistent data and the reports the plug-in made.
// The suite functions carry no context of their own, so there is one current
// context per process.
#pragma once

#include "CallLog.h"
#include "CommandTable.h"
#include "FaultInjector.h"
#include "Handles.h"
#include "LeakCounters.h"
#include "MemoryHandles.h"
#include "PersistentStore.h"
#include "Resources.h"
#include "UndoLog.h"
#include "project/Project.h"
#include "text/GlyphOutliner.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace standin {

class SuiteContext
{
public:
    SuiteContext(Project& project, AEGP_PluginID pluginId, std::unique_ptr<PersistentStore> prefs);
    ~SuiteContext();
    SuiteContext(const SuiteContext&) = delete;
    SuiteContext& operator=(const SuiteContext&) = delete;

    static SuiteContext* current();
    static void setCurrent(SuiteContext* context);

    Project& project;
    const AEGP_PluginID pluginId;
    std::thread::id mainThread;

    CallLog log;
    FaultInjector faults;
    UndoLog undo;
    CommandTable commands;
    std::unique_ptr<PersistentStore> prefs;
    std::vector<std::string> reports;
    MemoryHandles memory;
    GlyphOutliner glyphs;

    // The record of the call in progress (see noteCall).
    size_t callTicket = 0;
    bool inCall = false;
    bool callMutates = false;

    // A_Err_PARAMETER unless id is the plug-in's.
    A_Err checkPlugin(AEGP_PluginID id) const;

    // ---- project objects: one handle per object -----------------------------
    AEGP_ProjectH projectHandle() const;
    AEGP_ItemH itemHandle(Item* item);
    AEGP_CompH compHandle(Composition* comp);
    AEGP_FootageH footageHandle(Footage* footage);
    AEGP_LayerH layerHandle(Layer* layer);
    // NULL -> A_Err_PARAMETER; stale, deleted, foreign or wrong kind ->
    // A_Err_STRUCT.
    A_Err findProject(AEGP_ProjectH handle) const;
    A_Err findItem(AEGP_ItemH handle, Item*& item);
    A_Err findComp(AEGP_CompH handle, Composition*& comp);
    A_Err findFootage(AEGP_FootageH handle, Footage*& footage);
    A_Err findLayer(AEGP_LayerH handle, Layer*& layer);

    // ---- counted resources ------------------------------------------------------
    AEGP_StreamRefH newStreamRef(PropertyNode* node);
    A_Err findStream(AEGP_StreamRefH handle, PropertyNode*& node);
    HandleTable<AEGP_StreamRefH, std::weak_ptr<PropertyNode>> streams;

    AEGP_MaskRefH newMaskRef(PropertyNode* atom);
    A_Err findMask(AEGP_MaskRefH handle, PropertyNode*& atom);
    HandleTable<AEGP_MaskRefH, std::weak_ptr<PropertyNode>> masks;

    // Outlines owned by stream values.
    HandleTable<AEGP_MaskOutlineValH, MaskOutline> outlines;
    HandleTable<AEGP_Collection2H, Collection> collections;
    HandleTable<AEGP_AddKeyframesInfoH, KeyBatch> keyBatches;
    HandleTable<AEGP_TextOutlinesH, TextOutlineSet> textOutlines;
    HandleTable<PF_PathOutlinePtr, PathRef> paths;
    int liveValues = 0;

    // What is outstanding now.
    LeakCounters live() const;
    // Counts what is outstanding, then frees it (when a command returns).
    LeakCounters releaseLeftovers();

private:
    CanonicalHandles<AEGP_ItemH, std::weak_ptr<Item>> items_;
    CanonicalHandles<AEGP_CompH, std::weak_ptr<Item>> comps_;
    CanonicalHandles<AEGP_FootageH, std::weak_ptr<Item>> footage_;
    CanonicalHandles<AEGP_LayerH, std::weak_ptr<Layer>> layers_;
};

// The context of the call in progress; nullptr outside a session.
inline SuiteContext& ctx() { return *SuiteContext::current(); }

// Times in and out of the suites. Mode 1 is composition time; mode 0 is layer
// time (composition time minus the layer's in-point; without a layer the two
// are the same). NULL, a zero scale or another mode is A_Err_PARAMETER.
A_Err toCompTime(const Layer* layer, AEGP_LTimeMode mode, const A_Time* in, A_Time& out);
A_Err fromCompTime(const Layer* layer, AEGP_LTimeMode mode, const A_Time& in, A_Time& out);
// The time in the composition's frame-duration scale when that is exact.
A_Time inFrameScale(const Composition* comp, const A_Time& t);

} // namespace standin
