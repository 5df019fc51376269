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
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

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

namespace {

// The name of a file beside `path`, numbered: ".zolvar_autosave.xml" and 2
// give ".zolvar_autosave.2.xml"; a numbered name keeps its stem.
QString besideName(const QString& path, int n)
{
    const QFileInfo info(path);
    QString stem = info.fileName();
    QString suffix;
    if (stem.endsWith(QLatin1String(".xml"))) {
        stem.chop(4);
        suffix = QStringLiteral(".xml");
    }
    static const QRegularExpression number(QStringLiteral("\\.\\d+$"));
    stem.remove(number);
    return QStringLiteral("%1/%2.%3%4").arg(info.absolutePath(), stem).arg(n).arg(suffix);
}

// The first numbered name beside `path` that no file has.
QString besideFile(const QString& path)
{
    for (int n = 1;; ++n) {
        const QString name = besideName(path, n);
        const QFileInfo candidate(name);
        if (!candidate.exists() && !candidate.isSymLink())
            return name;
    }
}

// Whether `file` is one of the numbered files beside `path`.
bool isBeside(const QString& file, const QString& path)
{
    static const QRegularExpression number(QStringLiteral("\\.(\\d+)\\.xml$"));
    const QRegularExpressionMatch match = number.match(file);
    return match.hasMatch() &&
           QFileInfo(besideName(path, match.captured(1).toInt())).absoluteFilePath() ==
               QFileInfo(file).absoluteFilePath();
}

} // namespace

QString SimulationView::settingsSaveRefusal(bool withSnapshot) const
{
    const QuickPreset scene = currentScene(true);
    return settingsLoadRefusal(writeSettingsDocument(scene, quickPresets, withSnapshot ? &scene : nullptr));
}

void SimulationView::warnWhenSettingsCannotBeSaved()
{
    const QString refusal = settingsSaveRefusal(false);
    if (refusal.isEmpty())
        return;
    showSettingsWarning(QStringLiteral("These settings cannot be saved as they are: %1.").arg(refusal),
                        QStringLiteral("Remove scene snapshots until the settings can be saved."));
}

bool SimulationView::saveSettings(QString path, const char* hostKey, PreferenceWriteResult* nameResult)
{
    const QByteArray bytes = writeSettingsDocument(currentScene(true), quickPresets);
    const bool hadFile = QFileInfo(path).isFile();
    // A file the loader would refuse is not written over one it reads.
    QString reason = settingsLoadRefusal(bytes);
    if (!reason.isEmpty() || !writeFileAtomically(path, bytes, reason)) {
        QString text = QStringLiteral("The settings file '%1' could not be saved: %2.").arg(path, reason);
        if (hadFile && QFileInfo(path).isFile())
            text += QStringLiteral(" The previous file was kept.");
        QMessageBox::warning(parentWindow ? parentWindow : this, QStringLiteral("Zolvar"), text, QMessageBox::Ok);
        return false;
    }

    // Only a file that was written is remembered.
    rememberSettingsFile(hostKey, path, QStringLiteral("saved"), nameResult);
    return true;
}

bool SimulationView::autoLoadSettings(const QString& stored, const QString& usual, int bodyIdentification)
{
    autoSaveFile = stored;
    autoSaveUntold.clear();
    const bool loaded = loadSettings(stored.toUtf8().constData(), false, bodyIdentification);
    if (!isKeptSettingsFile(stored) || QFileInfo(stored).absoluteFilePath() != QFileInfo(usual).absoluteFilePath())
        return loaded;

    // The close does not save over the file it keeps, but beside it, and
    // every start finds that file again by the name alone: the first
    // numbered one the load does not refuse.
    for (int n = 1;; ++n) {
        const QString beside = besideName(usual, n);
        if (isKeptSettingsFile(beside))
            continue;
        const QFileInfo info(beside);
        if (!info.exists() && !info.isSymLink()) {
            autoSaveFile = beside;
            autoSaveUntold = stored;
            return loaded;
        }
        const bool loadedBeside = loadSettings(beside.toUtf8().constData(), false, bodyIdentification);
        if (isKeptSettingsFile(beside))
            continue;
        autoSaveFile = beside;
        if (!loadedBeside) {
            autoSaveUntold = stored;
            return loaded;
        }
        QMessageBox::information(parentWindow ? parentWindow : this, QStringLiteral("Zolvar"),
                                 QStringLiteral("The settings file '%1' was not loaded whole, so it is left as it "
                                                "is. The settings saved beside it were loaded from '%2', and the "
                                                "settings of this session will be saved there.")
                                     .arg(stored, beside),
                                 QMessageBox::Ok);
        return true;
    }
}

bool SimulationView::autoSaveSettings(const QString& usual, const char* hostKey, PreferenceWriteResult* nameResult)
{
    // A session that started from a file saved beside the usual one goes on
    // in it: the file it stands beside is still one to keep.
    const QString file = isBeside(autoSaveFile, usual) ? autoSaveFile : usual;
    QString left = autoSaveUntold;
    QString beside = file;
    if (isKeptSettingsFile(file)) {
        left = file;
        beside = besideFile(file);
    }
    if (!saveSettings(beside, hostKey, nameResult))
        return false;
    if (!left.isEmpty())
        QMessageBox::information(parentWindow ? parentWindow : this, QStringLiteral("Zolvar"),
                                 QStringLiteral("The settings file '%1' was not loaded whole, so it was left as it "
                                                "is. The settings of this session were saved to '%2'.")
                                     .arg(left, beside),
                                 QMessageBox::Ok);
    return true;
}

void SimulationView::keepSettingsFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!keptSettingsFiles.contains(absolute))
        keptSettingsFiles << absolute;
}

bool SimulationView::isKeptSettingsFile(const QString& path) const
{
    return keptSettingsFiles.contains(QFileInfo(path).absoluteFilePath());
}

void SimulationView::rememberSettingsFile(const char* hostKey, const QString& path, const QString& done,
                                          PreferenceWriteResult* result)
{
    // A name stored already is not stored again.
    QByteArray current;
    const QByteArray name = path.toUtf8();
    if (!readPreferenceString(basicSuite, hostKey, current) && current == name)
        return;
    PreferenceWriteResult own;
    PreferenceWriteResult& stored = result ? *result : own;
    const A_Err err = storePreferenceString(basicSuite, hostKey, name);
    if (!err) {
        stored.stored << QString::fromLatin1(hostKey);
        return;
    }
    if (!stored.err)
        stored.err = err;
    stored.notStored << QString::fromLatin1(hostKey);
    if (!result)
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
