// The offer to split multi-outline layers before the scene is built.
#include "mainwindow/ZolvarDlg.h"

#include "dialogs/OwnedDialog.h"
#include "mainwindow/LayerSeparationScan.h"
#include "separation/PreprocessingDlg.h"

#include <QMessageBox>

namespace {

// The most lines the message itself holds; all of them are in its details.
constexpr int kLinesShown = 8;

void showLayersLeftOut(const QStringList& leftOut)
{
    QString text = QStringLiteral("No layer is offered for separation into one layer per mask or group.\n\n") +
                   PreprocessingDlg::leftOutNote(leftOut.mid(0, kLinesShown));
    const bool more = leftOut.size() > kLinesShown;
    if (more)
        text += QStringLiteral("\n... and %1 more (see the details).").arg(leftOut.size() - kLinesShown);
    QMessageBox box(QMessageBox::Information, QStringLiteral("Zolvar"), text, QMessageBox::Ok);
    if (more)
        box.setDetailedText(PreprocessingDlg::leftOutNote(leftOut));
    box.exec();
}

} // namespace

void ZolvarDlg::DoPreprocessing()
{
    // A host error ends the scan silently; the layers found so far count.
    std::vector<int> indices;
    std::vector<SeparationKind> kinds;
    QStringList leftOut;
    findLayersToSeparate(suite, pluginId, indices, &leftOut, kMaxStartWork, &kinds);
    if (indices.empty()) {
        // Nothing on offer, yet layers of several outlines stay whole: say
        // which and why, once. A start without such layers stays silent.
        if (!leftOut.isEmpty())
            showLayersLeftOut(leftOut);
        return;
    }
    auto dialog = makeOwnedDialog<PreprocessingDlg>(nullptr, Qt::WindowCloseButtonHint, suite, pluginId);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setLayerIndicesToSep(indices, kinds);
    dialog->setLayersLeftOut(leftOut);
    dialog->populateLayerList();
    // Separated or skipped, the window is built from the composition as it
    // now is.
    dialog->exec();
}
