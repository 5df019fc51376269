// The preferences store against the stand-in host's persistent data and its
// fault injector: keys, slots, defaults, the chained read and the writer of
// what changed.
#include "host/StandinFixture.h"

#include "dialogs/PreferencesStore.h"
#include "host/StartupQueries.h"
#include "mainwindow/WindowPreferences.h"

#include <cmath>
#include <limits>
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
constexpr int kBlobSlot = 0;
constexpr int kGetLongSlot = 9;
constexpr int kGetFloatSlot = 10;
constexpr int kSetLongSlot = 14;
constexpr int kSetFloatSlot = 15;

struct KeyRow
{
    const char* key;
    bool isFloat;
};

// The 29 keys in the order they are read and written.
const std::vector<KeyRow> kKeys = {
    {"Levels of Undo", false},
    {"UI Theme", false},
    {"Body Selection Highlight Red", false},
    {"Body Selection Highlight Green", false},
    {"Body Selection Highlight Blue", false},
    {"Selection Stroke Width", true},
    {"Static Body Highlight Red", false},
    {"Static Body Highlight Green", false},
    {"Static Body Highlight Blue", false},
    {"Distance Joint Color Red", false},
    {"Distance Joint Color Green", false},
    {"Distance Joint Color Blue", false},
    {"Pivot Joint Color Red", false},
    {"Pivot Joint Color Green", false},
    {"Pivot Joint Color Blue", false},
    {"Piston Joint Color Red", false},
    {"Piston Joint Color Green", false},
    {"Piston Joint Color Blue", false},
    {"Spring Joint Color Red", false},
    {"Spring Joint Color Green", false},
    {"Spring Joint Color Blue", false},
    {"Selected Joint Red", false},
    {"Selected Joint Green", false},
    {"Selected Joint Blue", false},
    {"Joint Stroke Width", true},
    {"Kinematic Behavior", false},
    {"Dormant Behavior", false},
    {"Ignore Body Color When Pasting", false},
    {"Body Identification for Auto Load Settings", false},
};

// The persistent-data calls of the log after `from`: (slot, key) pairs.
std::vector<std::pair<int, std::string>> dataCalls(Host& host)
{
    std::vector<std::pair<int, std::string>> calls;
    for (const auto& record : host.session->log().records()) {
        if (record.suite != kAEGPPersistentDataSuite)
            continue;
        std::string key;
        for (const KeyRow& row : kKeys)
            if (record.arguments.find(std::string("\"") + row.key + '"') != std::string::npos)
                key = row.key;
        calls.emplace_back(record.slot, key);
    }
    return calls;
}

void failNth(Host& host, int slot, int nth)
{
    host.session->faults().failNth(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, slot, nth);
}

TEST(PreferencesStore, KeysSlotsAndOrderFollowTheTable)
{
    std::vector<std::string> expected;
    for (const KeyRow& row : kKeys)
        expected.push_back(row.key);
    EXPECT_EQ(allPreferenceKeys(), expected);

    Host host(kProject);
    host.session->log().clear();
    Preferences prefs = Preferences::defaults();
    EXPECT_EQ(readPreferences(host.session->basicSuite(), prefs), A_Err_NONE);
    const auto reads = dataCalls(host);
    ASSERT_EQ(reads.size(), kKeys.size() + 1);
    EXPECT_EQ(reads[0].first, kBlobSlot);
    for (size_t i = 0; i < kKeys.size(); ++i) {
        EXPECT_EQ(reads[i + 1].second, kKeys[i].key);
        EXPECT_EQ(reads[i + 1].first, kKeys[i].isFloat ? kGetFloatSlot : kGetLongSlot) << kKeys[i].key;
    }

    // Every preference changed: every key written, through its set slot.
    host.session->log().clear();
    Preferences opened = Preferences::defaults();
    Preferences edited = opened;
    edited.levelsOfUndo = 5;
    edited.uiTheme = 2;
    for (QColor* c : {&edited.selectionHighlight, &edited.staticHighlight, &edited.distanceJointColor,
                      &edited.revoluteJointColor, &edited.prismaticJointColor, &edited.springJointColor,
                      &edited.selectedJointColor})
        *c = QColor(1, 2, 3);
    edited.selectionStrokeWidth = 0.5f;
    edited.jointStrokeWidth = 4.5f;
    edited.kinematicBehavior = 1;
    edited.dormantBehavior = 1;
    edited.ignoreBodyColorWhenPasting = 0;
    edited.bodyIdentification = 2;
    EXPECT_EQ(writeChangedPreferences(host.session->basicSuite(), opened, edited), A_Err_NONE);
    const auto writes = dataCalls(host);
    ASSERT_EQ(writes.size(), kKeys.size() + 1);
    for (size_t i = 0; i < kKeys.size(); ++i) {
        EXPECT_EQ(writes[i + 1].second, kKeys[i].key);
        EXPECT_EQ(writes[i + 1].first, kKeys[i].isFloat ? kSetFloatSlot : kSetLongSlot) << kKeys[i].key;
    }
    EXPECT_EQ(host.session->prefs().value(kSection, "Selection Stroke Width"), "0.5");
    EXPECT_EQ(host.session->prefs().value(kSection, "Pivot Joint Color Blue"), "3");

    // And they read back as written.
    Preferences back = Preferences::defaults();
    EXPECT_EQ(readPreferences(host.session->basicSuite(), back), A_Err_NONE);
    for (const PreferenceField& field : preferenceFields())
        EXPECT_FALSE(preferenceDiffers(field.id, back, edited)) << field.name;
}

TEST(PreferencesStore, AnEmptyStoreGivesEveryDefault)
{
    Host host(kProject);
    Preferences prefs = Preferences::defaults();
    EXPECT_EQ(readPreferences(host.session->basicSuite(), prefs), A_Err_NONE);
    EXPECT_EQ(prefs.levelsOfUndo, 100);
    EXPECT_EQ(prefs.uiTheme, 0);
    EXPECT_EQ(prefs.selectionHighlight, QColor(191, 140, 0));
    EXPECT_EQ(prefs.selectionStrokeWidth, 2.0f);
    EXPECT_EQ(prefs.staticHighlight, QColor(217, 46, 207));
    EXPECT_EQ(prefs.distanceJointColor, QColor(255, 255, 0));
    EXPECT_EQ(prefs.revoluteJointColor, QColor(84, 255, 84));
    EXPECT_EQ(prefs.prismaticJointColor, QColor(204, 214, 211));
    EXPECT_EQ(prefs.springJointColor, QColor(84, 84, 255));
    EXPECT_EQ(prefs.selectedJointColor, QColor(255, 0, 0));
    EXPECT_EQ(prefs.jointStrokeWidth, 1.0f);
    EXPECT_EQ(prefs.kinematicBehavior, 0);
    EXPECT_EQ(prefs.dormantBehavior, 0);
    EXPECT_EQ(prefs.ignoreBodyColorWhenPasting, 1);
    EXPECT_EQ(prefs.bodyIdentification, 0);
    EXPECT_TRUE(host.session->prefs().values().empty()) << "reading writes nothing back";
}

TEST(PreferencesStore, TheReadStopsAtTheFirstFailureKeepingWhatCameBefore)
{
    struct Row
    {
        const char* what;
        int slot;
        int nth;
        size_t keysRead;  // keys whose stored value arrives
    };
    const Row rows[] = {
        {"failing blob", kBlobSlot, 1, 0},
        {"first get", kGetLongSlot, 1, 0},
        {"third long (selection red)", kGetLongSlot, 3, 2},
        {"first float", kGetFloatSlot, 1, 5},
        {"last long", kGetLongSlot, 27, 28},
    };
    for (const Row& row : rows) {
        Host host(kProject);
        // A stored value that differs from the default for every key.
        for (const KeyRow& key : kKeys)
            host.session->prefs().set(kSection, key.key, key.isFloat ? "3.5" : "2");
        failNth(host, row.slot, row.nth);
        host.session->log().clear();
        Preferences prefs = Preferences::defaults();
        EXPECT_NE(readPreferences(host.session->basicSuite(), prefs), A_Err_NONE) << row.what;

        // Keys after the failure were not even asked for.
        size_t asked = 0;
        for (const auto& call : dataCalls(host))
            asked += call.second.empty() ? 0 : 1;
        EXPECT_EQ(asked, row.slot == kBlobSlot ? 0u : row.keysRead + 1) << row.what;

        // Key i is read exactly when i < keysRead.
        const Preferences dflt = Preferences::defaults();
        const std::vector<int> firstKeyOf = {0, 1, 2, 5, 6, 9, 12, 15, 18, 21, 24, 25, 26, 27, 28};
        for (const PreferenceField& field : preferenceFields()) {
            const size_t first = static_cast<size_t>(firstKeyOf[static_cast<size_t>(field.id)]);
            if (first + (field.kind == PreferenceKind::Color ? 3 : 1) <= row.keysRead) {
                EXPECT_TRUE(preferenceDiffers(field.id, prefs, dflt)) << row.what << ": " << field.name;
            } else if (first >= row.keysRead) {
                EXPECT_FALSE(preferenceDiffers(field.id, prefs, dflt)) << row.what << ": " << field.name;
            }
        }
    }
}

TEST(PreferencesStore, HostileStoredValuesReadAsUsableOnes)
{
    Host host(kProject);
    auto& store = host.session->prefs();
    store.set(kSection, "Levels of Undo", "5000");
    store.set(kSection, "UI Theme", "seven");
    store.set(kSection, "Static Body Highlight Red", "300");
    store.set(kSection, "Static Body Highlight Green", "-5");
    store.set(kSection, "Selection Stroke Width", "-2");
    store.set(kSection, "Joint Stroke Width", "nan");
    store.set(kSection, "Kinematic Behavior", "9");
    Preferences prefs = Preferences::defaults();
    EXPECT_EQ(readPreferences(host.session->basicSuite(), prefs), A_Err_NONE);
    EXPECT_EQ(prefs.levelsOfUndo, 5000) << "kept as stored, so it is not rewritten";
    EXPECT_EQ(prefs.uiTheme, 0) << "unreadable text gives the default";
    EXPECT_EQ(prefs.staticHighlight, QColor(255, 0, 207));
    EXPECT_EQ(prefs.selectionStrokeWidth, 2.0f);
    EXPECT_EQ(prefs.jointStrokeWidth, 1.0f);
    EXPECT_EQ(prefs.kinematicBehavior, 9);
}

TEST(PreferencesStore, OnlyChangedValuesAreWrittenAndABlobIsAlwaysTaken)
{
    Host host(kProject);
    Preferences opened = Preferences::defaults();
    Preferences edited = opened;

    // Changed and changed back: nothing written, but the blob is still asked for.
    edited.selectionHighlight = QColor(1, 1, 1);
    edited.selectionHighlight = opened.selectionHighlight;
    host.session->log().clear();
    EXPECT_EQ(writeChangedPreferences(host.session->basicSuite(), opened, edited), A_Err_NONE);
    EXPECT_EQ(host.session->log().count("AEGP_GetApplicationBlob"), 1u);
    EXPECT_TRUE(host.session->prefs().values().empty());

    // One colour component and one width: exactly those keys (a colour whole).
    edited.staticHighlight.setGreen(0);
    edited.jointStrokeWidth = 2.5f;
    EXPECT_EQ(writeChangedPreferences(host.session->basicSuite(), opened, edited), A_Err_NONE);
    EXPECT_EQ(host.session->prefs().values().size(), 4u);
    EXPECT_EQ(host.session->prefs().value(kSection, "Static Body Highlight Red"), "217");
    EXPECT_EQ(host.session->prefs().value(kSection, "Static Body Highlight Green"), "0");
    EXPECT_EQ(host.session->prefs().value(kSection, "Joint Stroke Width"), "2.5");
    EXPECT_FALSE(preferenceDiffers(PreferenceId::StaticHighlight, opened, edited)) << "opened caught up";

    // A NaN width never compares equal, but the host refuses it: an error.
    edited.jointStrokeWidth = std::numeric_limits<float>::quiet_NaN();
    EXPECT_NE(writeChangedPreferences(host.session->basicSuite(), opened, edited), A_Err_NONE);
}

TEST(PreferencesStore, AFailingSetStopsTheLaterWritesOfThatOk)
{
    Host host(kProject);
    Preferences opened = Preferences::defaults();
    Preferences edited = opened;
    edited.levelsOfUndo = 20;
    edited.selectionHighlight = QColor(10, 20, 30);
    edited.dormantBehavior = 1;
    // Set-long calls: undo levels, then red, green (fails), blue...
    failNth(host, kSetLongSlot, 3);
    PreferenceWriteResult result;
    EXPECT_NE(writeChangedPreferences(host.session->basicSuite(), opened, edited, &result), A_Err_NONE);
    // What the user is told: the error, what was stored and what was not.
    EXPECT_NE(result.err, A_Err_NONE);
    EXPECT_EQ(result.stored, QStringList{QStringLiteral("Levels of Undo")});
    EXPECT_EQ(result.notStored,
              (QStringList{QStringLiteral("Body Selection Highlight"), QStringLiteral("Dormant Behavior")}));
    const QString told = preferenceWriteFailureText(result, QStringLiteral("Until Zolvar closes."));
    EXPECT_TRUE(told.contains(QStringLiteral("(error %1)").arg(result.err))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("Stored: \"Levels of Undo\".\n"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("Not stored: \"Body Selection Highlight\", \"Dormant Behavior\"."))) << told.toStdString();
    EXPECT_TRUE(told.endsWith(QStringLiteral("Until Zolvar closes."))) << told.toStdString();
    EXPECT_TRUE(preferenceWriteFailureText(PreferenceWriteResult{}).isEmpty());
    auto& store = host.session->prefs();
    EXPECT_EQ(store.value(kSection, "Levels of Undo"), "20");
    EXPECT_EQ(store.value(kSection, "Body Selection Highlight Red"), "10");
    EXPECT_FALSE(store.contains(kSection, "Body Selection Highlight Green"));
    EXPECT_FALSE(store.contains(kSection, "Body Selection Highlight Blue"));
    EXPECT_FALSE(store.contains(kSection, "Dormant Behavior"));
    EXPECT_EQ(opened.dormantBehavior, 1) << "the opened values still catch up";

}

TEST(PreferencesStore, AFailingBlobWritesNothing)
{
    Host host(kProject);
    Preferences opened = Preferences::defaults();
    Preferences edited = opened;
    edited.uiTheme = 1;
    failNth(host, kBlobSlot, 1);
    EXPECT_NE(writeChangedPreferences(host.session->basicSuite(), opened, edited), A_Err_NONE);
    EXPECT_TRUE(host.session->prefs().values().empty());
}

TEST(PreferencesStore, TheStartUpReadAndTheStoreAgreeOnTheAutoLoadIdentification)
{
    Host host(kProject);
    Preferences opened = Preferences::defaults();
    Preferences edited = opened;
    edited.bodyIdentification = 2;
    EXPECT_EQ(writeChangedPreferences(host.session->basicSuite(), opened, edited), A_Err_NONE);
    AutoLoadPrefs autoLoad;
    EXPECT_EQ(ReadAutoLoadPrefs(host.session->basicSuite(), autoLoad), A_Err_NONE);
    EXPECT_EQ(autoLoad.bodyIdentification, 2);
    EXPECT_STREQ(kAutoLoadBodyIdKey, preferenceKeys(PreferenceId::BodyIdentificationForAutoLoad)[0].c_str());
}

// A body identification the load dialog cannot list (another program's, a
// damaged store) stays as stored, by each of its three readers: a load with
// it matches no body, rather than matching by layer ID as the user never
// chose. Only the load dialog's list shows the default for it.
TEST(PreferencesStore, ABodyIdentificationOutsideTheListStaysAsStored)
{
    const struct
    {
        const char* stored;
        int expected;
        int listed;
    } rows[] = {{"0", 0, 0},   {"1", 1, 1},   {"2", 2, 2}, {"3", 3, 0}, {"-1", -1, 0},
                {"2147483647", 2147483647, 0}, {"name", 0, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored);
        Host host(kProject);
        host.session->prefs().set(kSection, kAutoLoadBodyIdKey, row.stored);
        host.session->prefs().set(kSection, "Body Identification", row.stored);
        Preferences prefs = Preferences::defaults();
        EXPECT_EQ(readPreferences(host.session->basicSuite(), prefs), A_Err_NONE);
        EXPECT_EQ(prefs.bodyIdentification, row.expected);
        AutoLoadPrefs autoLoad;
        EXPECT_EQ(ReadAutoLoadPrefs(host.session->basicSuite(), autoLoad), A_Err_NONE);
        EXPECT_EQ(autoLoad.bodyIdentification, row.expected);
        WindowPreferences window;
        EXPECT_EQ(readWindowPreferences(host.session->basicSuite(), window), A_Err_NONE);
        EXPECT_EQ(window.bodyIdentification, row.expected);
        EXPECT_EQ(usableBodyIdentification(window.bodyIdentification), row.listed);
    }
}

TEST(PreferencesStore, JointColourDefaultsAreTruncatedFromTheDrawingDefaults)
{
    EXPECT_EQ(integerColorOf(b2Color(0.33f, 1.0f, 0.33f)), QColor(84, 255, 84));
    EXPECT_EQ(integerColorOf(b2Color(0.8f, 0.84f, 0.83f)), QColor(204, 214, 211));
}

} // namespace
