// The offer to split multi-outline layers before the scene is built.
#include "mainwindow/ZolvarDlg.h"

#include "dialogs/OwnedDialog.h"
#include "mainwindow/LayerSeparationScan.h"
#include "outlines/PreprocessingDlg.h"

std::vector<int> ZolvarDlg::IsPreprocessingNeeded()
{
    // A host error ends the scan silently; the layers found so far count.
    std::vector<int> indices;
    findLayersToSeparate(suite, pluginId, indices);
    return indices;
}

void ZolvarDlg::DoPreprocessing()
{
    std::vector<int> indices;
    QStringList leftOut;
    findLayersToSeparate(suite, pluginId, indices, &leftOut);
    if (indices.empty())
        return;
    auto dialog = makeOwnedDialog<PreprocessingDlg>(nullptr, Qt::WindowCloseButtonHint, suite, pluginId);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setLayerIndicesToSep(indices);
    dialog->setLayersLeftOut(leftOut);
    dialog->populateLayerList();
    // Separated or skipped, the window is built from the composition as it
    // now is.
    dialog->exec();
}
