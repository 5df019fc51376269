// The common entry path: the call log, injected failures, placeholders,
// the thread check and the registry of suite tables.
#include "SuiteFixture.h"

#include <cstring>
#include <thread>

using namespace standin;

namespace {

class GuardLogTest : public SuiteFixture
{
};

TEST_F(GuardLogTest, LogKeepsEveryCallInOrderWithSuiteSlotArgumentsAndResult)
{
    addLayer(LayerKind::Solid, QStringLiteral("Box"));
    const uint64_t before = session_->log().totalCalls();
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH layer = nullptr;
    ASSERT_EQ(suites_->ItemSuite8()->AEGP_GetActiveItem(&item), A_Err_NONE);
    ASSERT_EQ(suites_->CompSuite7()->AEGP_GetCompFromItem(item, &comp), A_Err_NONE);
    ASSERT_EQ(suites_->LayerSuite7()->AEGP_GetCompLayerByIndex(comp, 5, &layer), A_Err_PARAMETER);

    const auto& records = session_->log().records();
    ASSERT_EQ(records.size(), before + 3);
    const CallRecord& get = records[before];
    EXPECT_EQ(get.suite, kAEGPItemSuite);
    EXPECT_EQ(get.version, 13);
    EXPECT_EQ(get.slot, 2);
    EXPECT_EQ(get.function, "AEGP_GetActiveItem");
    EXPECT_EQ(get.result, A_Err_NONE);

    const CallRecord& byIndex = records[before + 2];
    EXPECT_EQ(byIndex.function, "AEGP_GetCompLayerByIndex");
    EXPECT_EQ(byIndex.slot, 1);
    EXPECT_EQ(byIndex.arguments, describeHandle(comp) + ", 5");
    EXPECT_EQ(byIndex.result, A_Err_PARAMETER);
    EXPECT_LT(records[before].sequence, records[before + 1].sequence);
    EXPECT_LT(records[before + 1].sequence, records[before + 2].sequence);

    const std::vector<std::string> sequence = session_->log().functionSequence(kAEGPCompSuite);
    ASSERT_FALSE(sequence.empty());
    EXPECT_EQ(sequence.back(), "AEGP_GetCompFromItem");
    EXPECT_EQ(session_->log().count("AEGP_GetCompLayerByIndex"), 1u);
    ASSERT_FALSE(session_->log().failures().empty());
    EXPECT_EQ(session_->log().failures().back().function, "AEGP_GetCompLayerByIndex");
}

TEST_F(GuardLogTest, SharedImplementationsLogTheVersionTheyWereCalledThrough)
{
    AEGP_ItemH item = nullptr;
    suites_->ItemSuite7()->AEGP_GetActiveItem(&item);
    suites_->ItemSuite8()->AEGP_GetActiveItem(&item);
    const auto calls = session_->log().calls("AEGP_GetActiveItem");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].version, 11);
    EXPECT_EQ(calls[1].version, 13);

    AEGP_CompH comp = nullptr;
    suites_->CompSuite7()->AEGP_GetCompFromItem(item, &comp);
    A_Time frame{};
    suites_->CompSuite5()->AEGP_GetCompFrameDuration(comp, &frame);
    suites_->CompSuite7()->AEGP_GetCompFrameDuration(comp, &frame);
    const auto frames = session_->log().calls("AEGP_GetCompFrameDuration");
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].slot, 28);
    EXPECT_EQ(frames[1].slot, 30);
}

TEST_F(GuardLogTest, InjectedFailuresHitTheNthOrEveryMatchingCallWithoutRunningIt)
{
    session_->faults().failNth(kAEGPItemSuite, FaultInjector::kAnyVersion, 2, 2);
    AEGP_ItemH item = nullptr;
    EXPECT_EQ(suites_->ItemSuite8()->AEGP_GetActiveItem(&item), A_Err_NONE);
    AEGP_ItemH untouched = reinterpret_cast<AEGP_ItemH>(&item);
    EXPECT_EQ(suites_->ItemSuite7()->AEGP_GetActiveItem(&untouched), STANDIN_ERR_INJECTED);
    EXPECT_EQ(untouched, reinterpret_cast<AEGP_ItemH>(&item)) << "an injected call does not run";
    EXPECT_EQ(suites_->ItemSuite8()->AEGP_GetActiveItem(&item), A_Err_NONE);
    EXPECT_FALSE(session_->log().records().back().injected);
    EXPECT_TRUE(session_->log().calls("AEGP_GetActiveItem")[1].injected);

    // Every call of one version only, with a chosen code.
    session_->faults().clear();
    session_->faults().failEvery(kAEGPItemSuite, kAEGPItemSuiteVersion8, 2, A_Err_GENERIC);
    EXPECT_EQ(suites_->ItemSuite8()->AEGP_GetActiveItem(&item), A_Err_GENERIC);
    EXPECT_EQ(suites_->ItemSuite8()->AEGP_GetActiveItem(&item), A_Err_GENERIC);
    EXPECT_EQ(suites_->ItemSuite7()->AEGP_GetActiveItem(&item), A_Err_NONE);
    EXPECT_EQ(session_->faults().injectedCount(), 3);
}

TEST_F(GuardLogTest, PlaceholderSlotsAnswerNotImplementedAndAreLogged)
{
    EXPECT_EQ(suites_->ItemSuite8()->unused_0(), STANDIN_ERR_NOT_IMPLEMENTED);
    EXPECT_EQ(suites_->LayerSuite5()->unused_39(), STANDIN_ERR_NOT_IMPLEMENTED);
    const CallRecord& last = session_->log().records().back();
    EXPECT_EQ(last.function, "unused_39");
    EXPECT_EQ(last.suite, kAEGPLayerSuite);
    EXPECT_EQ(last.version, kAEGPLayerSuiteVersion5);
    // Version 11 of the item suite offers only what is called through it.
    A_Err (*placeholder)(void) = nullptr;
    std::memcpy(&placeholder, &suites_->ItemSuite7()->AEGP_GetItemType, sizeof placeholder);
    EXPECT_EQ(placeholder(), STANDIN_ERR_NOT_IMPLEMENTED);
}

TEST_F(GuardLogTest, CallsFromAnotherThreadAreRefused)
{
    A_Err err = A_Err_NONE;
    AEGP_ItemH item = nullptr;
    const AEGP_ItemSuite8* itemSuite = suites_->ItemSuite8();
    std::thread([&] { err = itemSuite->AEGP_GetActiveItem(&item); }).join();
    EXPECT_EQ(err, A_Err_GENERIC);
    EXPECT_EQ(item, nullptr);
    EXPECT_NE(session_->log().records().back().detail.find("main thread"), std::string::npos);
}

TEST_F(GuardLogTest, ExactNameAndVersionPairsAreRegisteredAndNothingElse)
{
    const std::pair<const char*, int32_t> offered[] = {
        {kAEGPCommandSuite, 1}, {kAEGPRegisterSuite, 6}, {kAEGPUtilitySuite, 7}, {kAEGPUtilitySuite, 11},
        {kAEGPProjSuite, 8}, {kAEGPMemorySuite, 1}, {kAEGPPersistentDataSuite, 3}, {kAEGPItemSuite, 13},
        {kAEGPItemSuite, 11}, {kAEGPCompSuite, 15}, {kAEGPCompSuite, 11}, {kAEGPLayerSuite, 13},
        {kAEGPLayerSuite, 11}, {kAEGPStreamSuite, 9}, {kAEGPStreamSuite, 8}, {kAEGPStreamSuite, 7},
        {kAEGPDynamicStreamSuite, 5}, {kAEGPDynamicStreamSuite, 3}, {kAEGPKeyframeSuite, 4},
        {kAEGPMaskSuite, 6}, {kAEGPMaskOutlineSuite, 3}, {kPFPathDataSuite, 1}, {kAEGPTextLayerSuite, 1},
        {kAEGPFootageSuite, 11}};
    SPBasicSuite* basic = session_->basicSuite();
    for (const auto& [name, version] : offered) {
        const void* table = nullptr;
        EXPECT_EQ(basic->AcquireSuite(name, version, &table), A_Err_NONE) << name << " " << version;
        EXPECT_NE(table, nullptr);
        EXPECT_EQ(basic->ReleaseSuite(name, version), A_Err_NONE);
        const void* other = &table;
        EXPECT_EQ(basic->AcquireSuite(name, version + 100, &other), SP_ERR_SUITE_NOT_FOUND);
        EXPECT_EQ(other, nullptr);
    }
    const void* table = nullptr;
    EXPECT_EQ(basic->AcquireSuite("aegp item suite", 13, &table), SP_ERR_SUITE_NOT_FOUND);
}

TEST_F(GuardLogTest, TablesKeptPastTheSessionAnswerWithoutTouchingAnything)
{
    const AEGP_ItemSuite8* itemSuite = suites_->ItemSuite8();
    suites_.reset();
    session_.reset();
    AEGP_ItemH item = nullptr;
    EXPECT_EQ(itemSuite->AEGP_GetActiveItem(&item), A_Err_GENERIC);
}

TEST_F(GuardLogTest, PluginIdIsChecked)
{
    AEGP_ItemH item = nullptr;
    suites_->ItemSuite8()->AEGP_GetActiveItem(&item);
    AEGP_MemHandle name = nullptr;
    EXPECT_EQ(suites_->ItemSuite8()->AEGP_GetItemName(kPluginId + 1, item, &name), A_Err_PARAMETER);
    EXPECT_EQ(name, nullptr);
    ASSERT_EQ(suites_->ItemSuite8()->AEGP_GetItemName(kPluginId, item, &name), A_Err_NONE);
    suites_->MemorySuite1()->AEGP_FreeMemHandle(name);
}

} // namespace

TEST_F(GuardLogTest, ByDefaultTheLogCountsCallsAndKeepsOnlyTheFailures)
{
    Layer* box = addLayer(LayerKind::Solid, QStringLiteral("Box"));
    session_->log().clear();
    session_->log().setKeep(CallLog::keepFromEnvironment());
    if (session_->log().keepsEverything())
        GTEST_SKIP() << "ZOLVAR_HOST_CALL_LOG asks for every call";

    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH layer = nullptr;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(suites_->ItemSuite8()->AEGP_GetActiveItem(&item), A_Err_NONE);
    ASSERT_EQ(suites_->CompSuite7()->AEGP_GetCompFromItem(item, &comp), A_Err_NONE);
    ASSERT_EQ(suites_->LayerSuite7()->AEGP_GetCompLayerByIndex(comp, 5, &layer), A_Err_PARAMETER);
    ASSERT_EQ(suites_->LayerSuite7()->AEGP_GetCompLayerByIndex(comp, 0, &layer), A_Err_NONE);
    // A change inside an undo group is counted, without its text.
    ASSERT_EQ(suites_->UtilitySuite5()->AEGP_StartUndoGroup("Lean"), A_Err_NONE);
    ASSERT_EQ(suites_->LayerSuite7()->AEGP_SetLayerFlag(layer, AEGP_LayerFlag_LOCKED, true), A_Err_NONE);
    ASSERT_EQ(suites_->UtilitySuite5()->AEGP_EndUndoGroup(), A_Err_NONE);

    const CallLog& log = session_->log();
    EXPECT_TRUE(log.records().empty());
    EXPECT_EQ(log.totalCalls(), 9u);
    EXPECT_EQ(log.count("AEGP_GetActiveItem"), 3u);
    EXPECT_EQ(log.count("AEGP_GetCompLayerByIndex"), 2u);
    EXPECT_EQ(log.countsByFunction().size(), 6u);
    ASSERT_EQ(log.failures().size(), 1u);
    const CallRecord& failure = log.failures()[0];
    EXPECT_EQ(failure.function, "AEGP_GetCompLayerByIndex");
    EXPECT_EQ(failure.arguments, describeHandle(comp) + ", 5");
    EXPECT_EQ(failure.sequence, 5u);
    EXPECT_EQ(failure.result, A_Err_PARAMETER);

    const UndoGroupRecord& group = session_->undoGroups().back();
    EXPECT_EQ(group.name, "Lean");
    EXPECT_EQ(group.changes, 1u);
    EXPECT_TRUE(group.mutations.empty());
    EXPECT_TRUE(box->flags() & AEGP_LayerFlag_LOCKED);
}

TEST(CallLog, NestedCallsKeepTheirOwnRecordsWhenOnlyCounting)
{
    CallLog log(CallLog::Keep::Counts);
    CallRecord outer;
    outer.function = "Outer";
    const size_t a = log.begin(outer);
    CallRecord inner;
    inner.function = "Inner";
    const size_t b = log.begin(inner);
    log.record(b)->detail = "inner detail";
    log.finish(b, A_Err_PARAMETER);
    ASSERT_NE(log.record(b), nullptr) << "readable after finish, until the next call";
    EXPECT_EQ(log.record(b)->detail, "inner detail");
    ASSERT_NE(log.record(a), nullptr);
    EXPECT_EQ(log.record(a)->function, "Outer");
    log.record(a)->detail = "outer detail";
    log.finish(a, A_Err_GENERIC);

    ASSERT_EQ(log.failures().size(), 2u);
    EXPECT_EQ(log.failures()[0].function, "Inner");
    EXPECT_EQ(log.failures()[1].detail, "outer detail");
    EXPECT_EQ(log.failures()[1].sequence, 1u);
    // Finished records make room for the next calls: the stack does not grow.
    for (int i = 0; i < 1000; ++i)
        log.finish(log.begin(inner), A_Err_NONE);
    EXPECT_EQ(log.count("Inner"), 1001u);
    EXPECT_TRUE(log.records().empty());
}
