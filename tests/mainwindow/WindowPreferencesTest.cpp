// The preferences the window reads from the host when it opens and the two it
// stores when it closes, against the stand-in host's persistent data.
#include "host/StandinFixture.h"

#include "host/AEGP_SuiteHandler.h"
#include "mainwindow/WindowPreferences.h"

#include <string>
#include <vector>

namespace {

using testing_standin::Host;

const QByteArray kProject = R"({
    "format": "zolvar-standin-project",
    "compositions": [{"name": "Main", "width": 640, "height": 360, "frameRate": 25, "duration": 4}],
    "activeItem": "Main"
})";

const char* const kSection = "VH Zolvar 2";

// Every key in the order the window reads it.
const std::vector<std::string> kReadOrder = {
    "UI Theme", "Levels of Undo",
    "Body Selection Highlight Red", "Body Selection Highlight Green", "Body Selection Highlight Blue",
    "Selection Stroke Width",
    "Static Body Highlight Red", "Static Body Highlight Green", "Static Body Highlight Blue",
    "Distance Joint Color Red", "Distance Joint Color Green", "Distance Joint Color Blue",
    "Pivot Joint Color Red", "Pivot Joint Color Green", "Pivot Joint Color Blue",
    "Piston Joint Color Red", "Piston Joint Color Green", "Piston Joint Color Blue",
    "Spring Joint Color Red", "Spring Joint Color Green", "Spring Joint Color Blue",
    "Selected Joint Red", "Selected Joint Green", "Selected Joint Blue",
    "Joint Stroke Width", "Kinematic Behavior", "Dormant Behavior", "Ignore Body Color When Pasting",
    "Body Identification",
};

bool sameRgb(const QColor& rgb, int r, int g, int b)
{
    return rgb == QColor(r, g, b, 255);
}

// The keys of the persistent-data reads, in call order.
std::vector<std::string> keysRead(Host& host)
{
    std::vector<std::string> keys;
    for (const auto& record : host.session->log().records()) {
        if (record.function != "AEGP_GetLong" && record.function != "AEGP_GetFpLong")
            continue;
        for (const std::string& key : kReadOrder)
            if (record.arguments.find('"' + key + '"') != std::string::npos)
                keys.push_back(key);
    }
    return keys;
}

TEST(WindowPreferences, EmptyStoreGivesTheDefaultsInTheFixedOrder)
{
    Host host(kProject);
    host.session->log().clear();
    WindowPreferences prefs;
    EXPECT_EQ(readWindowPreferences(host.session->basicSuite(), prefs), A_Err_NONE);

    EXPECT_EQ(prefs.preferences.uiTheme, 0);
    EXPECT_EQ(prefs.preferences.levelsOfUndo, 100);
    EXPECT_TRUE(sameRgb(prefs.preferences.selectionHighlight, 191, 140, 0));
    EXPECT_EQ(prefs.preferences.selectionStrokeWidth, 2.0);
    EXPECT_TRUE(sameRgb(prefs.preferences.staticHighlight, 217, 46, 207));
    EXPECT_TRUE(sameRgb(prefs.preferences.distanceJointColor, 255, 255, 0));
    EXPECT_TRUE(sameRgb(prefs.preferences.revoluteJointColor, 84, 255, 84));
    EXPECT_TRUE(sameRgb(prefs.preferences.prismaticJointColor, 204, 214, 211));
    EXPECT_TRUE(sameRgb(prefs.preferences.springJointColor, 84, 84, 255));
    EXPECT_TRUE(sameRgb(prefs.preferences.selectedJointColor, 255, 0, 0));
    EXPECT_EQ(prefs.preferences.jointStrokeWidth, 1.0);
    EXPECT_EQ(prefs.preferences.kinematicBehavior, 0);
    EXPECT_EQ(prefs.preferences.dormantBehavior, 0);
    EXPECT_EQ(prefs.preferences.ignoreBodyColorWhenPasting, 1);
    EXPECT_EQ(prefs.bodyIdentification, 0);

    EXPECT_EQ(keysRead(host), kReadOrder);
    EXPECT_EQ(host.session->log().count("AEGP_GetApplicationBlob"), 1u);
    EXPECT_TRUE(host.session->prefs().values().empty()) << "reading writes no defaults back";
}

TEST(WindowPreferences, JointColourDefaultsAreTheDrawingDefaultsTimes255Truncated)
{
    const WindowPreferences prefs;
    auto scaled = [](float channel) { return static_cast<A_long>(channel * 255.0f); };
    EXPECT_TRUE(sameRgb(prefs.preferences.revoluteJointColor, scaled(0.33f), scaled(1.0f), scaled(0.33f)));
    EXPECT_TRUE(sameRgb(prefs.preferences.prismaticJointColor, scaled(0.8f), scaled(0.84f), scaled(0.83f)));
    EXPECT_TRUE(sameRgb(prefs.preferences.springJointColor, scaled(0.33f), scaled(0.33f), scaled(1.0f)));
}

TEST(WindowPreferences, StoredValuesAreReadAndColourComponentsClamped)
{
    Host host(kProject);
    auto& store = host.session->prefs();
    store.set(kSection, "UI Theme", "7");
    store.set(kSection, "Levels of Undo", "0");
    store.set(kSection, "Selected Joint Red", "0");
    store.set(kSection, "Selected Joint Green", "0");
    store.set(kSection, "Selected Joint Blue", "255");
    store.set(kSection, "Static Body Highlight Red", "300");
    store.set(kSection, "Static Body Highlight Green", "-5");
    store.set(kSection, "Selection Stroke Width", "3.5");
    store.set(kSection, "Joint Stroke Width", "0.25");
    store.set(kSection, "Kinematic Behavior", "1");
    store.set(kSection, "Dormant Behavior", "2");
    store.set(kSection, "Ignore Body Color When Pasting", "0");
    store.set(kSection, "Body Identification", "2");

    WindowPreferences prefs;
    EXPECT_EQ(readWindowPreferences(host.session->basicSuite(), prefs), A_Err_NONE);
    EXPECT_EQ(prefs.preferences.uiTheme, 7) << "an unknown theme is kept as stored";
    EXPECT_EQ(prefs.preferences.levelsOfUndo, 0);
    EXPECT_TRUE(sameRgb(prefs.preferences.selectedJointColor, 0, 0, 255));
    EXPECT_TRUE(sameRgb(prefs.preferences.staticHighlight, 255, 0, 207));
    EXPECT_EQ(prefs.preferences.staticHighlight, QColor(255, 0, 207, 255));
    EXPECT_EQ(prefs.preferences.selectionStrokeWidth, 3.5);
    EXPECT_EQ(prefs.preferences.jointStrokeWidth, 0.25);
    EXPECT_EQ(prefs.preferences.kinematicBehavior, 1);
    EXPECT_EQ(prefs.preferences.dormantBehavior, 2);
    EXPECT_EQ(prefs.preferences.ignoreBodyColorWhenPasting, 0);
    EXPECT_EQ(prefs.bodyIdentification, 2);
}

TEST(WindowPreferences, AFailedReadLeavesTheRemainingKeysAtTheirDefaults)
{
    Host host(kProject);
    auto& store = host.session->prefs();
    store.set(kSection, "UI Theme", "2");
    store.set(kSection, "Levels of Undo", "40");
    store.set(kSection, "Selection Stroke Width", "4");
    store.set(kSection, "Body Identification", "1");
    // The fourth integer read is "Body Selection Highlight Green".
    host.session->faults().failNth(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, 9, 4);
    host.session->log().clear();

    WindowPreferences prefs;
    EXPECT_NE(readWindowPreferences(host.session->basicSuite(), prefs), A_Err_NONE);
    EXPECT_EQ(prefs.preferences.uiTheme, 2);
    EXPECT_EQ(prefs.preferences.levelsOfUndo, 40);
    EXPECT_TRUE(sameRgb(prefs.preferences.selectionHighlight, 191, 140, 0));
    EXPECT_EQ(prefs.preferences.selectionStrokeWidth, 2.0) << "read after the failure: not read";
    EXPECT_EQ(prefs.bodyIdentification, 0);
    const std::vector<std::string> expected(kReadOrder.begin(), kReadOrder.begin() + 4);
    EXPECT_EQ(keysRead(host), expected) << "nothing is read after the failure";
}

TEST(WindowPreferences, AFailingBlobReadsNothing)
{
    Host host(kProject);
    host.session->prefs().set(kSection, "UI Theme", "1");
    host.session->faults().failEvery(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, 0);
    WindowPreferences prefs;
    EXPECT_NE(readWindowPreferences(host.session->basicSuite(), prefs), A_Err_NONE);
    EXPECT_EQ(prefs.preferences.uiTheme, 0);
    EXPECT_EQ(host.session->log().count("AEGP_GetLong"), 0u);
}

TEST(WindowPreferences, ClosingStoresTheAutoLoadChoiceAndTheBodyIdentification)
{
    Host host(kProject);
    EXPECT_EQ(storeClosingPreferences(host.session->basicSuite(), true, 2), A_Err_NONE);
    EXPECT_EQ(host.session->prefs().value(kSection, "Auto Load/Save Settings"), "1");
    EXPECT_EQ(host.session->prefs().value(kSection, "Body Identification"), "2");
    EXPECT_EQ(storeClosingPreferences(host.session->basicSuite(), false, 0), A_Err_NONE);
    EXPECT_EQ(host.session->prefs().value(kSection, "Auto Load/Save Settings"), "0");
    EXPECT_EQ(host.session->prefs().value(kSection, "Body Identification"), "0");

    // A failure skips what follows it.
    host.session->faults().failNth(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, 14, 1);
    EXPECT_NE(storeClosingPreferences(host.session->basicSuite(), true, 1), A_Err_NONE);
    EXPECT_EQ(host.session->prefs().value(kSection, "Auto Load/Save Settings"), "0");
    EXPECT_EQ(host.session->prefs().value(kSection, "Body Identification"), "0");
}

} // namespace
