#include "host/AEGP_SuiteHandler.h"
#include "SuiteRegistry.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using standin::SuiteRegistry;

class SuiteHandlerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registry().clear();
        registry().add(kAEGPItemSuite, kAEGPItemSuiteVersion8, &item8);
        registry().add(kAEGPItemSuite, kAEGPItemSuiteVersion7, &item7);
        registry().add(kAEGPCompSuite, kAEGPCompSuiteVersion7, &comp7);
        registry().add(kAEGPRegisterSuite, kAEGPRegisterSuiteVersion5, &register5);
    }
    void TearDown() override { registry().clear(); }

    static SuiteRegistry& registry() { return SuiteRegistry::instance(); }
    static SPBasicSuite* basic() { return registry().basicSuite(); }

    AEGP_ItemSuite8 item8{};
    AEGP_ItemSuite7 item7{};
    AEGP_CompSuite7 comp7{};
    AEGP_RegisterSuite5 register5{};
};

TEST_F(SuiteHandlerTest, AcquiresOnFirstUseOnlyAndCaches)
{
    {
        AEGP_SuiteHandler suites(basic());
        EXPECT_EQ(registry().outstandingTotal(), 0) << "nothing is acquired before first use";

        EXPECT_EQ(suites.ItemSuite8(), &item8);
        EXPECT_EQ(suites.ItemSuite8(), &item8);
        EXPECT_EQ(suites.CompSuite7(), &comp7);
        EXPECT_EQ(registry().acquireCount(kAEGPItemSuite, kAEGPItemSuiteVersion8), 1);
        EXPECT_EQ(registry().acquireCount(kAEGPCompSuite, kAEGPCompSuiteVersion7), 1);
        EXPECT_EQ(registry().acquireCount(kAEGPItemSuite, kAEGPItemSuiteVersion7), 0);
    }
    EXPECT_EQ(registry().outstandingTotal(), 0);
    EXPECT_EQ(registry().releaseCount(kAEGPItemSuite, kAEGPItemSuiteVersion8), 1);
    EXPECT_EQ(registry().releaseCount(kAEGPCompSuite, kAEGPCompSuiteVersion7), 1);
    EXPECT_EQ(registry().unbalancedReleases(), 0);
}

TEST_F(SuiteHandlerTest, AccessorDigitsAreNotVersions)
{
    AEGP_SuiteHandler suites(basic());
    // ItemSuite8 is version 13 and ItemSuite7 version 11 of the same name.
    EXPECT_EQ(suites.ItemSuite8(), &item8);
    EXPECT_EQ(suites.ItemSuite7(), &item7);
    // RegisterSuite5 is "AEGP Register Suite" version 6.
    EXPECT_EQ(suites.RegisterSuite5(), &register5);
    EXPECT_EQ(registry().acquireCount(kAEGPRegisterSuite, 6), 1);
}

TEST_F(SuiteHandlerTest, NestedHandlersEachAcquireAndReleaseTheirOwn)
{
    AEGP_SuiteHandler outer(basic());
    outer.ItemSuite8();
    {
        AEGP_SuiteHandler inner(basic());
        inner.ItemSuite8();
        EXPECT_EQ(registry().outstanding(kAEGPItemSuite, kAEGPItemSuiteVersion8), 2);
    }
    EXPECT_EQ(registry().outstanding(kAEGPItemSuite, kAEGPItemSuiteVersion8), 1);
}

TEST_F(SuiteHandlerTest, MissingSuitesThrow516)
{
    EXPECT_THROW({ AEGP_SuiteHandler suites(nullptr); }, int);
    try {
        AEGP_SuiteHandler suites(nullptr);
        FAIL();
    } catch (int e) {
        EXPECT_EQ(e, 516);
    }

    AEGP_SuiteHandler suites(basic());
    // Unknown name.
    try {
        suites.KeyframeSuite4();
        FAIL();
    } catch (int e) {
        EXPECT_EQ(e, 516);
    }
    // Known name, other version: no substitution.
    registry().remove(kAEGPCompSuite, kAEGPCompSuiteVersion7);
    registry().add(kAEGPCompSuite, 16, &comp7);
    EXPECT_THROW(suites.CompSuite7(), int);
    // Withheld.
    registry().withhold(kAEGPItemSuite, kAEGPItemSuiteVersion8);
    EXPECT_THROW(suites.ItemSuite8(), int);
    EXPECT_EQ(registry().outstandingTotal(), 0);
}

TEST_F(SuiteHandlerTest, ReleasesWhileAnExceptionUnwinds)
{
    try {
        AEGP_SuiteHandler suites(basic());
        suites.ItemSuite8();
        suites.CompSuite7();
        throw std::runtime_error("host call failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(registry().outstandingTotal(), 0);

    try {
        AEGP_SuiteHandler suites(basic());
        suites.ItemSuite8();
        suites.MaskSuite5(); // not registered: throws 516 after one suite was taken
    } catch (int e) {
        EXPECT_EQ(e, 516);
    }
    EXPECT_EQ(registry().outstandingTotal(), 0);
    EXPECT_EQ(registry().releaseCount(kAEGPItemSuite, kAEGPItemSuiteVersion8), 2);
    EXPECT_EQ(registry().unbalancedReleases(), 0);
}

} // namespace
