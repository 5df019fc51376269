#include "mainwindow/WindowPreferences.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/StartupQueries.h"

#include <QtGlobal>

#include <string>
#include <vector>

namespace {

// One stored value and where it goes: an integer or a floating-point field.
struct PreferenceField
{
    std::string key;
    A_long* integer = nullptr;
    double* floating = nullptr;
};

void addRgb(std::vector<PreferenceField>& fields, const std::string& prefix, StoredRgb& rgb)
{
    fields.push_back({prefix + " Red", &rgb.red, nullptr});
    fields.push_back({prefix + " Green", &rgb.green, nullptr});
    fields.push_back({prefix + " Blue", &rgb.blue, nullptr});
}

// The keys in the order they are read.
std::vector<PreferenceField> fieldsOf(WindowPreferences& p)
{
    std::vector<PreferenceField> fields;
    fields.push_back({"UI Theme", &p.theme, nullptr});
    fields.push_back({"Levels of Undo", &p.undoLevels, nullptr});
    addRgb(fields, "Body Selection Highlight", p.selectionHighlight);
    fields.push_back({"Selection Stroke Width", nullptr, &p.selectionStrokeWidth});
    addRgb(fields, "Static Body Highlight", p.staticHighlight);
    addRgb(fields, "Distance Joint Color", p.distanceJoint);
    addRgb(fields, "Pivot Joint Color", p.revoluteJoint);
    addRgb(fields, "Piston Joint Color", p.prismaticJoint);
    addRgb(fields, "Spring Joint Color", p.springJoint);
    addRgb(fields, "Selected Joint", p.selectedJoint);
    fields.push_back({"Joint Stroke Width", nullptr, &p.jointStrokeWidth});
    fields.push_back({"Kinematic Behavior", &p.kinematicBehavior, nullptr});
    fields.push_back({"Dormant Behavior", &p.dormantBehavior, nullptr});
    fields.push_back({"Ignore Body Color When Pasting", &p.ignoreBodyColorWhenPasting, nullptr});
    fields.push_back({kBodyIdentificationKey, &p.bodyIdentification, nullptr});
    return fields;
}

void clamp(StoredRgb& rgb)
{
    rgb.red = qBound<A_long>(0, rgb.red, 255);
    rgb.green = qBound<A_long>(0, rgb.green, 255);
    rgb.blue = qBound<A_long>(0, rgb.blue, 255);
}

} // namespace

A_Err readWindowPreferences(SPBasicSuite* basic, WindowPreferences& prefs)
{
    AEGP_SuiteHandler suites(basic);
    const AEGP_PersistentDataSuite3* data = suites.PersistentDataSuite3();
    AEGP_PersistentBlobH blob = nullptr;
    A_Err err = data->AEGP_GetApplicationBlob(&blob);
    for (const PreferenceField& field : fieldsOf(prefs)) {
        if (err)
            break;
        if (field.integer)
            err = data->AEGP_GetLong(blob, kPrefsSection, field.key.c_str(), *field.integer, field.integer);
        else
            err = data->AEGP_GetFpLong(blob, kPrefsSection, field.key.c_str(), *field.floating,
                                       field.floating);
    }
    // Whatever was stored, a colour component stays a colour component.
    for (StoredRgb* rgb : {&prefs.selectionHighlight, &prefs.staticHighlight, &prefs.distanceJoint,
                           &prefs.revoluteJoint, &prefs.prismaticJoint, &prefs.springJoint, &prefs.selectedJoint})
        clamp(*rgb);
    return err;
}

A_Err storeClosingPreferences(SPBasicSuite* basic, bool autoLoadSave, A_long bodyIdentification)
{
    AEGP_SuiteHandler suites(basic);
    const AEGP_PersistentDataSuite3* data = suites.PersistentDataSuite3();
    AEGP_PersistentBlobH blob = nullptr;
    A_Err err = data->AEGP_GetApplicationBlob(&blob);
    if (!err)
        err = data->AEGP_SetLong(blob, kPrefsSection, kAutoLoadSaveKey, autoLoadSave ? 1 : 0);
    if (!err)
        err = data->AEGP_SetLong(blob, kPrefsSection, kBodyIdentificationKey, bodyIdentification);
    return err;
}
