// The fifteen user preferences kept in the host's persistent data, section
// "VH Zolvar 2": their keys, types and defaults, a chained reader and a
// writer of what changed. The main window reads them at start, the
// preferences dialog reads them when it opens and writes them on OK, and the
// start-up reads the body identification for the autosave file.
//
// A colour takes three long keys (name + " Red", " Green", " Blue", each
// 0..255); the two widths are float keys, kept as float and widened to double
// on the way to the host. 29 keys in all.
#pragma once

#include "host/AEGP_SuiteHandler.h"
#include "host_api.h"

#include <box2d/b2_draw.h>

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <string>
#include <vector>

// The persistent-data section of every key of the plug-in.
inline constexpr char kPrefsSection[] = "VH Zolvar 2";

inline constexpr int LEVELS_OF_UNDO_DFLT = 100;
inline constexpr int LEVELS_OF_UNDO_MAX = 999;  // what the dialog can show
inline constexpr int UI_THEME_DFLT = 0;         // 0 dark gray, 1 light gray, 2 white
inline constexpr int KINEMATIC_BEHAVIOR_DFLT = 0;
inline constexpr int DORMANT_BEHAVIOR_DFLT = 0;
inline constexpr int IGNORE_BODY_COLOR_WHEN_PASTING_DFLT = 1;
inline constexpr int BODY_IDENTIFICATION_DFLT = 0;  // 0 layer ID, 1 layer index, 2 layer name

// The load dialog's choice for a stored body identification: it lists only
// layer ID, index and name, and shows the default for any other value. The
// value itself stays as stored (and matches no body when loading).
int usableBodyIdentification(A_long stored);

// The integer colour of a joint's drawing default: each component × 255 in
// single precision, truncated (0.33 gives 84).
QColor integerColorOf(const b2Color& color);

struct Preferences
{
    int levelsOfUndo = 0;
    int uiTheme = 0;
    QColor selectionHighlight;
    float selectionStrokeWidth = 0.0f;
    QColor staticHighlight;
    QColor distanceJointColor;
    QColor revoluteJointColor;
    QColor prismaticJointColor;
    QColor springJointColor;
    QColor selectedJointColor;
    float jointStrokeWidth = 0.0f;
    int kinematicBehavior = 0;
    int dormantBehavior = 0;
    int ignoreBodyColorWhenPasting = 0;
    int bodyIdentification = 0;

    // The built-in values (also what the dialog's Default button restores).
    static Preferences defaults();
};

// The preferences in the order in which they are read and written.
enum class PreferenceId : int {
    LevelsOfUndo,
    UiTheme,
    SelectionHighlight,
    SelectionStrokeWidth,
    StaticHighlight,
    DistanceJointColor,
    RevoluteJointColor,
    PrismaticJointColor,
    SpringJointColor,
    SelectedJointColor,
    JointStrokeWidth,
    KinematicBehavior,
    DormantBehavior,
    IgnoreBodyColorWhenPasting,
    BodyIdentificationForAutoLoad,
};
inline constexpr int kPreferenceCount = 15;

enum class PreferenceKind { Long, Float, Color };

struct PreferenceField
{
    PreferenceId id;
    PreferenceKind kind;
    const char* name;  // the key, or a colour's key prefix
    int Preferences::*integer;
    float Preferences::*floating;
    QColor Preferences::*color;
};

// The fifteen, in table order.
const std::array<PreferenceField, kPreferenceCount>& preferenceFields();
const PreferenceField& preferenceField(PreferenceId id);
// The host keys of one preference: one, or three for a colour.
std::vector<std::string> preferenceKeys(PreferenceId id);
// All 29 keys in table order.
std::vector<std::string> allPreferenceKeys();

// The key that the start-up reads for the autosave file.
inline constexpr char kAutoLoadBodyIdKey[] = "Body Identification for Auto Load Settings";

// Whether the preference differs between the two sets (a width compared
// unordered: NaN counts as different).
bool preferenceDiffers(PreferenceId id, const Preferences& a, const Preferences& b);
void copyPreference(PreferenceId id, Preferences& to, const Preferences& from);

// What a write of preferences did: the first error, and the preferences (by
// key name; a colour by its prefix) that the host took and that it did not.
struct PreferenceWriteResult
{
    A_Err err = A_Err_NONE;
    QStringList stored;
    QStringList notStored;
};

// The user's message for a write that failed: the error, which preferences
// were stored and which were not, then `context` (what that means for the
// user; may be empty). Empty when nothing failed.
QString preferenceWriteFailureText(const PreferenceWriteResult& result, const QString& context = QString());

// One chain of persistent-data calls: the application blob first, then each
// call only while none before it failed. The first error is kept.
class PreferenceAccess
{
public:
    // A missing persistent-data suite throws the handler's error.
    explicit PreferenceAccess(SPBasicSuite* basic);

    A_Err error() const { return err; }

    // Reads a preference with its current value as the default and writes the
    // result back key by key. A colour component is clamped to 0..255; a width
    // that is not finite and positive becomes its default. Other values are
    // kept as stored (a theme outside 0..2 draws as dark gray).
    void read(PreferenceId id, Preferences& prefs);
    void readLong(const char* key, A_long& value);
    void readString(const char* key, QByteArray& value);

    void write(PreferenceId id, const Preferences& prefs);
    void writeLong(const char* key, A_long value);
    void writeString(const char* key, const QByteArray& value);

    // Notes `name` in `result` as stored while nothing has failed, else as
    // not stored; keeps the first error. For the caller, after each write.
    void note(const QString& name, PreferenceWriteResult* result) const;

private:
    AEGP_SuiteHandler suites;
    const AEGP_PersistentDataSuite3* data = nullptr;
    AEGP_PersistentBlobH blob = nullptr;
    A_Err err = A_Err_NONE;
};

// Reads the fifteen in table order into `prefs`, whose values are the
// defaults of the reads. Stops at the first failure: what was read stays,
// the rest keeps its value. Returns the first error.
A_Err readPreferences(SPBasicSuite* basic, Preferences& prefs);

// Writes, in table order, each preference whose edited value differs from the
// opened one, and makes the opened value the edited one whether or not it was
// written. The blob is obtained every time; the first failure stops every
// later write. Returns the first error.
A_Err writeChangedPreferences(SPBasicSuite* basic, Preferences& opened, const Preferences& edited,
                              PreferenceWriteResult* result = nullptr);

// Reads one string key of the section; the blob is obtained first. Returns
// the first error.
A_Err readPreferenceString(SPBasicSuite* basic, const char* key, QByteArray& value);
// Stores one string key of the section (a most recent file); the blob is
// obtained first. Returns the first error.
A_Err storePreferenceString(SPBasicSuite* basic, const char* key, const QByteArray& value);
