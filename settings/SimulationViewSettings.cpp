// The scene's settings files as the view writes them, and what the writer
// and the loader share: the scene captured as a snapshot, the warnings, the
// body identification.
#include "simulation/SimulationView.h"

#include "dialogs/PreferencesStore.h"
#include "host/AEGP_SuiteHandler.h"
#include "host/HostFailure.h"
#include "host/StartupQueries.h"
#include "properties/EditBox.h"
#include "properties/SliderGo.h"
#include "render/GLWidget.h"
#include "settings/SettingsDocument.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsWriter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>

QuickPreset SimulationView::currentScene(bool anyGravityLayer) const
{
    QuickPreset p;
    if (ui.zoomSld)
        p.zoom = ui.zoomSld->value();
    if (glWidget) {
        p.panX = glWidget->panX;
        p.panY = glWidget->panY;
    }
    p.backgroundColor = bgColor;
    if (ui.timeDividerEt)
        p.timeDivider = float(ui.timeDividerEt->value());
    if (ui.substepsEt)
        p.substeps = int(ui.substepsEt->value());
    if (ui.collisionToleranceEt)
        p.tolerance = float(ui.collisionToleranceEt->value());
    if (ui.gravityMagnitudeEt)
        p.gravityMagnitude = float(ui.gravityMagnitudeEt->value());
    if (ui.gravityDirectionEt)
        p.gravityDirection = float(ui.gravityDirectionEt->value());
    p.gravityFromLayer = ui.gravityLayerCb && ui.gravityLayerCb->isChecked();
    p.gravityLayer = 0;
    if (ui.gravityLayerLst && (anyGravityLayer || p.gravityFromLayer))
        p.gravityLayer = ui.gravityLayerLst->currentIndex();
    p.bodies = bodies;
    p.joints = joints;
    return p;
}

bool SimulationView::saveSettings(QString path, const char* hostKey)
{
    QByteArray bytes = writeSettingsDocument(currentScene(true), quickPresets);
    QString reason;
    // A file the loader would refuse is not written over one it reads.
    const bool tooLarge = bytes.size() > kMaxSettingsFileSize;
    if (tooLarge) {
        reason = QStringLiteral("the settings would take %1 MiB, more than the %2 MiB a load reads")
                     .arg((bytes.size() + 1024 * 1024 - 1) / (1024 * 1024))
                     .arg(kMaxSettingsFileSize / (1024 * 1024));
        bytes.clear();
    }
    if (tooLarge || !writeFileAtomically(path, bytes, reason)) {
        QMessageBox::warning(parentWindow ? parentWindow : this, QStringLiteral("Zolvar"),
                             QStringLiteral("The settings file '%1' could not be saved: %2. The previous file was "
                                            "kept.")
                                 .arg(path, reason),
                             QMessageBox::Ok);
        return false;
    }

    // Only a file that was written is remembered.
    rememberSettingsFile(hostKey, path, QStringLiteral("saved"));
    return true;
}

void SimulationView::rememberSettingsFile(const char* hostKey, const QString& path, const QString& done)
{
    PreferenceWriteResult stored;
    stored.err = storePreferenceString(basicSuite, hostKey, path.toUtf8());
    if (!stored.err)
        return;
    stored.notStored << QString::fromLatin1(hostKey);
    ReportHostProblem(preferenceWriteFailureText(
        stored, QStringLiteral("The settings file '%1' was %2; only its name was not kept.").arg(path, done)));
}

void SimulationView::showSettingsWarning(const QString& text, const QString& details)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zolvar"), text, QMessageBox::Ok, this);
    if (!details.isEmpty())
        box.setInformativeText(details);
    box.exec();
}

int SimulationView::getBodyIdFromBodyIdentifiers(int layerID, int index, const QString& name, int mode) const
{
    for (size_t row = 0; row < bodies.size(); ++row) {
        const MyBody& b = bodies[row];
        if ((mode == 0 && b.layerID == layerID) || (mode == 1 && b.index == index) || (mode == 2 && b.name == name))
            return int(row);
    }
    return -1;
}
