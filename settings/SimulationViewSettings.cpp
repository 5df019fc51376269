// The scene's settings files as the view writes them.
#include "simulation/SimulationView.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/StartupQueries.h"

void SimulationView::saveSettings(QString path, const char* hostKey)
{
    // The settings file itself comes with the settings writer; what callers
    // rely on already holds: the path is remembered under the key.
    AEGP_SuiteHandler suites(basicSuite);
    const AEGP_PersistentDataSuite3* data = suites.PersistentDataSuite3();
    AEGP_PersistentBlobH blob = nullptr;
    A_Err err = data->AEGP_GetApplicationBlob(&blob);
    if (!err)
        data->AEGP_SetString(blob, kPrefsSection, hostKey, path.toUtf8().constData());
}
