// The preferences the main window reads from the host when it opens, and the
// two values it stores when it closes. All live in the host's persistent data,
// section "VH Zolvar 2" (the preferences are written by the preferences
// dialog; dialogs/PreferencesStore.h holds their keys and defaults).
#pragma once

#include "dialogs/PreferencesStore.h"
#include "host_api.h"

struct WindowPreferences
{
    // Preference 15 (the autosave's body identification) is the start-up's,
    // not read here.
    Preferences preferences = Preferences::defaults();
    // "Body Identification": the load dialog's own last choice.
    A_long bodyIdentification = BODY_IDENTIFICATION_DFLT;
};

inline constexpr char kBodyIdentificationKey[] = "Body Identification";

// Reads the application blob, then the theme, the undo levels, the colours
// (red, green, blue), widths, behaviours and the ignore-colour flag in the
// store's order, and last "Body Identification". Each call runs only while no
// earlier one failed: after a failure the remaining keys keep the values
// `prefs` held. Returns the first host error.
A_Err readWindowPreferences(SPBasicSuite* basic, WindowPreferences& prefs);

// Stores "Auto Load/Save Settings" (1 or 0) and "Body Identification", after
// the application blob; stops at the first failure and returns it. `result`
// (optional) gets what was stored and what was not.
A_Err storeClosingPreferences(SPBasicSuite* basic, bool autoLoadSave, A_long bodyIdentification,
                              PreferenceWriteResult* result = nullptr);
// Stores "Body Identification" alone (the load dialog's choice).
A_Err storeBodyIdentification(SPBasicSuite* basic, A_long bodyIdentification,
                              PreferenceWriteResult* result = nullptr);
