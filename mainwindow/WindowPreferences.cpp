#include "mainwindow/WindowPreferences.h"

#include "host/StartupQueries.h"

A_Err readWindowPreferences(SPBasicSuite* basic, WindowPreferences& prefs)
{
    using Id = PreferenceId;
    PreferenceAccess access(basic);
    // The theme comes first: the window styles itself before anything else.
    access.read(Id::UiTheme, prefs.preferences);
    access.read(Id::LevelsOfUndo, prefs.preferences);
    for (const PreferenceField& field : preferenceFields()) {
        const bool readAbove = field.id == Id::UiTheme || field.id == Id::LevelsOfUndo;
        if (!readAbove && field.id != Id::BodyIdentificationForAutoLoad)
            access.read(field.id, prefs.preferences);
    }
    access.readLong(kBodyIdentificationKey, prefs.bodyIdentification);
    return access.error();
}

A_Err storeClosingPreferences(SPBasicSuite* basic, bool autoLoadSave, A_long bodyIdentification,
                              PreferenceWriteResult* result)
{
    PreferenceAccess access(basic);
    access.writeLong(kAutoLoadSaveKey, autoLoadSave ? 1 : 0);
    access.note(QString::fromLatin1(kAutoLoadSaveKey), result);
    access.writeLong(kBodyIdentificationKey, bodyIdentification);
    access.note(QString::fromLatin1(kBodyIdentificationKey), result);
    return access.error();
}

A_Err storeBodyIdentification(SPBasicSuite* basic, A_long bodyIdentification, PreferenceWriteResult* result)
{
    PreferenceAccess access(basic);
    access.writeLong(kBodyIdentificationKey, bodyIdentification);
    access.note(QString::fromLatin1(kBodyIdentificationKey), result);
    return access.error();
}
