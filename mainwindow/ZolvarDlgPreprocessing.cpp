// The offer to split multi-outline layers before the scene is built.
#include "mainwindow/ZolvarDlg.h"

#include "mainwindow/LayerSeparationScan.h"

std::vector<int> ZolvarDlg::IsPreprocessingNeeded()
{
    // A host error ends the scan silently; the layers found so far count.
    std::vector<int> indices;
    findLayersToSeparate(suite, pluginId, indices);
    return indices;
}

void ZolvarDlg::DoPreprocessing()
{
    const std::vector<int> indices = IsPreprocessingNeeded();
    if (indices.empty())
        return;
    // The separation dialog (PreprocessingDlg) is run here with these layers;
    // until it exists the layers stay as they are, each one body.
}
