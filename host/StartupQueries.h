// What the command reads from the host before and right after it opens the
// main window: the project's and the active item's names, and the stored
// auto-load choices.
#pragma once

#include "dialogs/PreferencesStore.h"
#include "host_api.h"

#include <QByteArray>
#include <QString>

// Everything from the last "." of `text` on is removed; text without a "."
// becomes empty.
QString CutAtLastDot(const QString& text);

struct StartupNames {
    bool hasActiveItem = false;
    QString projectPath; // without its extension
    QString projectName; // without its extension
    QString itemName;    // the active item's name
};

// Reads the project's path and name and the active item's name. Each host
// call runs only while no earlier one failed; with no active item (or when the
// calls before failed) hasActiveItem stays false and the item's name is not
// read. Returns the first host error.
A_Err ReadStartupNames(SPBasicSuite* basic, AEGP_PluginID pluginId, StartupNames& names);

// The keys of the auto-load choices, beside the body identification of
// dialogs/PreferencesStore.h (kAutoLoadBodyIdKey).
inline constexpr char kAutoLoadSaveKey[] = "Auto Load/Save Settings";
inline constexpr char kAutoSavedFileKey[] = "Auto Saved Settings File";

struct AutoLoadPrefs {
    A_long autoLoadSave = 0;
    QByteArray settingsFile; // 8-bit path as the host stores it
    A_long bodyIdentification = BODY_IDENTIFICATION_DFLT;
};

// A string stored under `key` in section "VH Zolvar 2", read with a buffer as
// large as the host says the value is (not cut at any fixed length). `value`
// is left alone on a host error, which is returned.
A_Err ReadStoredString(const AEGP_PersistentDataSuite3* data, AEGP_PersistentBlobH blob, const char* key,
                       QByteArray& value);

// Reads the three auto-load values of section "VH Zolvar 2". The stored path
// is read whole, however long the host says it is. Values not read keep their
// defaults; returns the first host error.
A_Err ReadAutoLoadPrefs(SPBasicSuite* basic, AutoLoadPrefs& prefs);
