#include "host/StartupQueries.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostMemory.h"

#include <cstring>
#include <vector>

QString CutAtLastDot(const QString& text)
{
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : text.left(dot);
}

A_Err ReadStartupNames(SPBasicSuite* basic, AEGP_PluginID pluginId, StartupNames& names)
{
    AEGP_SuiteHandler suites(basic);
    AEGP_ProjectH project = nullptr;
    A_Err err = suites.ProjSuite5()->AEGP_GetProjectByIndex(0, &project);

    AEGP_MemHandle pathHandle = nullptr;
    if (!err)
        err = suites.ProjSuite5()->AEGP_GetProjectPath(project, &pathHandle);
    if (!err) {
        QString path;
        err = TakeUtf16String(suites, pathHandle, path);
        names.projectPath = CutAtLastDot(path);
    }

    if (!err) {
        A_char name[AEGP_MAX_PROJ_NAME_SIZE + 1] = {};
        err = suites.ProjSuite5()->AEGP_GetProjectName(project, name);
        names.projectName = CutAtLastDot(QString::fromUtf8(name));
    }

    AEGP_ItemH item = nullptr;
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetActiveItem(&item);
    if (err || !item)
        return err;
    names.hasActiveItem = true;

    AEGP_MemHandle nameHandle = nullptr;
    err = suites.ItemSuite8()->AEGP_GetItemName(pluginId, item, &nameHandle);
    if (!err)
        err = TakeUtf16String(suites, nameHandle, names.itemName);
    return err;
}

A_Err ReadStoredString(const AEGP_PersistentDataSuite3* data, AEGP_PersistentBlobH blob, const char* key,
                       QByteArray& value)
{
    std::vector<A_char> buffer(260, 0);
    A_Err err = A_Err_NONE;
    // The host reports the value's size with its terminating zero; a size
    // larger than the buffer means the read was cut short, so read again with
    // room for it.
    for (int attempt = 1;; ++attempt) {
        A_u_long actual = 0;
        err = data->AEGP_GetString(blob, kPrefsSection, key, nullptr, static_cast<A_u_long>(buffer.size()),
                                   buffer.data(), &actual);
        if (err || actual <= buffer.size() || attempt == 3)
            break;
        buffer.assign(static_cast<size_t>(actual), 0);
    }
    if (!err)
        value = QByteArray(buffer.data(), static_cast<qsizetype>(strnlen(buffer.data(), buffer.size())));
    return err;
}

A_Err ReadAutoLoadPrefs(SPBasicSuite* basic, AutoLoadPrefs& prefs)
{
    AEGP_SuiteHandler suites(basic);
    const AEGP_PersistentDataSuite3* data = suites.PersistentDataSuite3();
    AEGP_PersistentBlobH blob = nullptr;
    A_Err err = data->AEGP_GetApplicationBlob(&blob);
    if (!err)
        err = data->AEGP_GetLong(blob, kPrefsSection, kAutoLoadSaveKey, 0, &prefs.autoLoadSave);
    if (!err)
        err = ReadStoredString(data, blob, kAutoSavedFileKey, prefs.settingsFile);
    if (!err)
        err = data->AEGP_GetLong(blob, kPrefsSection, kAutoLoadBodyIdKey, BODY_IDENTIFICATION_DFLT,
                                  &prefs.bodyIdentification);
    return err;
}
