#include "simulation/SimulationView.h"

#include "host/AEGP_SuiteHandler.h"

SimulationView::SimulationView(QWidget* parent, SPBasicSuite* basicSuite, int pluginId)
    : QWidget(parent)
    , parentWindow(parent)
    , basicSuite(basicSuite)
    , pluginId(pluginId)
{
    AEGP_SuiteHandler suites(basicSuite);
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    A_Err err = suites.ItemSuite8()->AEGP_GetActiveItem(&item);
    if (!err && item)
        err = suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp);
    if (!err && comp)
        err = suites.CompSuite7()->AEGP_GetCompFrameDuration(comp, &frameDuration);
    if (!err && comp)
        suites.CompSuite7()->AEGP_GetCompFramerate(comp, &fps);
}

SimulationView::~SimulationView() = default;

void SimulationView::zoomFit()
{
    update();
}

void SimulationView::loadSettings(const char* /*path*/, bool /*rememberAsRecent*/, int /*bodyIdentification*/)
{
}

double SimulationView::timeDivider() const
{
    return 1.0;
}
