// The preferences the main window reads from the host when it opens, and the
// two values it stores when it closes. All live in the host's persistent data,
// section "VH Zolvar 2" (written by the preferences dialog).
#pragma once

#include "host_api.h"

#include <QColor>

// A colour as three stored components, each clamped to 0..255 when read.
struct StoredRgb
{
    A_long red;
    A_long green;
    A_long blue;

    QColor toColor() const { return QColor(red, green, blue, 255); }
};

struct WindowPreferences
{
    A_long theme = 0;  // "UI Theme": 0 dark gray, 1 light gray, 2 white
    A_long undoLevels = 100;
    StoredRgb selectionHighlight{191, 140, 0};
    double selectionStrokeWidth = 2.0;
    StoredRgb staticHighlight{217, 46, 207};
    // 255 × the drawing defaults (1, 1, 0), (0.33, 1, 0.33), (0.8, 0.84, 0.83)
    // and (0.33, 0.33, 1) in single precision, truncated.
    StoredRgb distanceJoint{255, 255, 0};
    StoredRgb revoluteJoint{84, 255, 84};
    StoredRgb prismaticJoint{204, 214, 211};
    StoredRgb springJoint{84, 84, 255};
    StoredRgb selectedJoint{255, 0, 0};
    double jointStrokeWidth = 1.0;
    A_long kinematicBehavior = 0;
    A_long dormantBehavior = 0;
    A_long ignoreBodyColorWhenPasting = 1;
    A_long bodyIdentification = 0;  // 0 layer ID, 1 layer index, 2 layer name
};

inline constexpr char kBodyIdentificationKey[] = "Body Identification";

// Reads the application blob, then every key in a fixed order (theme, undo
// levels, the colours red, green, blue, the widths, behaviours and the body
// identification). Each call runs only while no earlier one failed: after a
// failure the remaining keys keep the values `prefs` held. Colour components
// are clamped to 0..255. Returns the first host error.
A_Err readWindowPreferences(SPBasicSuite* basic, WindowPreferences& prefs);

// Stores "Auto Load/Save Settings" (1 or 0) and "Body Identification", after
// the application blob; stops at the first failure and returns it.
A_Err storeClosingPreferences(SPBasicSuite* basic, bool autoLoadSave, A_long bodyIdentification);
