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
#include "files/SettingsFiles.h"
#include "settings/SettingsWriter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include <algorithm>
#include <climits>

#include <sys/stat.h>

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
    return QStringLiteral("%1/%2.%3%4").arg(info.absolutePath(), stem, QString::number(n), suffix);
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

// Which autosave file `file` is: 0 for `usual` itself, n for the numbered
// file n beside it, -1 for any other file.
int autoSaveNumber(const QString& file, const QString& usual)
{
    if (file.isEmpty())
        return -1;
    const QString absolute = QFileInfo(file).absoluteFilePath();
    if (absolute == QFileInfo(usual).absoluteFilePath())
        return 0;
    static const QRegularExpression number(QStringLiteral("\\.([1-9]\\d{0,8})\\.xml$"));
    const QRegularExpressionMatch match = number.match(file);
    if (!match.hasMatch())
        return -1;
    const int n = match.captured(1).toInt();
    return QFileInfo(besideName(usual, n)).absoluteFilePath() == absolute ? n : -1;
}

// Why the close does not write over `path`; empty when it may. Nothing is
// opened, so a pipe is never waited for. A device is written into (a link
// to /dev/null switches the autosave off).
QString overwriteRefusal(const QString& path)
{
    QString target;
    QString reason;
    if (!finalFileName(path, target, reason)) {
        if (!reason.isEmpty())
            reason[0] = reason[0].toLower();
        return reason;
    }
    struct stat st;
    if (::stat(QFile::encodeName(target).constData(), &st) != 0) {
        // A link to a file not made yet is written through, but not one
        // into a folder that is not there (a drive not mounted).
        if (target != path && !QFileInfo(QFileInfo(target).absolutePath()).isDir())
            return QStringLiteral("its link leads into a folder that is not there");
        return QString();
    }
    if (S_ISCHR(st.st_mode))
        return QString();
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("it is a folder");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("it is a pipe");
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("it is not a regular file");
    return (st.st_mode & 0222) ? QString() : QStringLiteral("nobody may write it");
}

bool isDevice(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

bool sameFile(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
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

bool SimulationView::saveSettings(QString path, const char* hostKey, PreferenceWriteResult* nameResult,
                                  QString* failure)
{
    const QByteArray bytes = writeSettingsDocument(currentScene(true), quickPresets);
    const bool hadFile = QFileInfo(path).isFile();
    // A file the loader would refuse is not written over one it reads.
    QString reason = settingsLoadRefusal(bytes);
    bool changed = false;
    if (!reason.isEmpty() || !writeFileAtomically(path, bytes, reason, &changed)) {
        if (failure) {
            *failure = reason;
            return false;
        }
        QString text = QStringLiteral("The settings file '%1' could not be saved: %2.").arg(path, reason);
        if (hadFile && !changed && QFileInfo(path).isFile())
            text += QStringLiteral(" The previous file was kept.");
        QMessageBox::warning(parentWindow ? parentWindow : this, QStringLiteral("Zolvar"), text, QMessageBox::Ok);
        return false;
    }

    // Only a file that was written is remembered.
    rememberSettingsFile(hostKey, path, QStringLiteral("saved"), nameResult);
    return true;
}

QString SimulationView::newestAutoSave(const QString& usual, int mode,
                                       std::vector<std::pair<QString, QString>>* refusedNewer) const
{
    // Regular files only (a folder or a pipe is never opened), newest first
    // by the time each was written; of two written at once the original
    // comes first, then the higher number. A file written "in the future"
    // (a clock set back, a copy from a machine ahead) that the close cannot
    // write over comes last: a session that loads it goes on in a file
    // beside it, written at a true time, and that file is the one to load
    // next (otherwise every start would load the old file again, and every
    // close would add a file beside it).
    const QDateTime now = QDateTime::currentDateTime();
    QFileInfoList files = QDir(QFileInfo(usual).absolutePath())
                              .entryInfoList({QStringLiteral("*.xml")}, QDir::Files | QDir::Hidden);
    struct Candidate {
        QFileInfo info;
        int order;         // the original INT_MAX, else its number
        bool passedOver;   // written in the future, not to be written over
    };
    std::vector<Candidate> candidates;
    for (const QFileInfo& info : files) {
        const int n = autoSaveNumber(info.filePath(), usual);
        if (n >= 0 && info.isFile())
            candidates.push_back({info, n == 0 ? INT_MAX : n,
                                  info.lastModified() > now && !overwriteRefusal(info.filePath()).isEmpty()});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.passedOver != b.passedOver)
            return b.passedOver;
        const QDateTime first = a.info.lastModified(), second = b.info.lastModified();
        return first != second ? first > second : a.order > b.order;
    });
    for (const Candidate& candidate : candidates) {
        QString why;
        if (loadsWhole(candidate.info.filePath(), mode, &why))
            return candidate.info.filePath();
        if (refusedNewer)
            refusedNewer->emplace_back(candidate.info.filePath(), why);
    }
    return QString();
}

bool SimulationView::autoLoadSettings(const QString& stored, const QString& usual, int bodyIdentification)
{
    // Of the close's file and the files saved beside it, the newest that
    // loads whole holds the last session's work, wherever it went.
    std::vector<std::pair<QString, QString>> passed;
    const QString newest =
        autoSaveNumber(stored, usual) < 0 ? QString() : newestAutoSave(usual, bodyIdentification, &passed);
    autoSaveFile = newest.isEmpty() ? stored : newest;
    const bool loaded = loadSettings(autoSaveFile.toUtf8().constData(), false, bodyIdentification);
    // With nothing to load whole, the load of the stored file said why it
    // was refused; the others are named here.
    QStringList refused;
    for (const auto& [file, why] : passed)
        if (!newest.isEmpty() || !sameFile(file, stored))
            refused << QStringLiteral("'%1': %2").arg(file, why);

    // The user is told only when the file loaded is not the one the host
    // named, or newer files were passed over.
    QStringList text;
    if (!newest.isEmpty() && !sameFile(newest, stored))
        text << QStringLiteral("The settings were loaded from '%1': of '%2' and the files saved beside it, it is "
                               "the newest that loads whole. The settings of this session will be saved there; the "
                               "other files are left as they are.")
                    .arg(newest, usual);
    if (!refused.isEmpty()) {
        const bool one = refused.size() == 1;
        if (newest.isEmpty())
            text << (one ? QStringLiteral("Another settings file beside '%1' was refused too, and is left as it is:")
                         : QStringLiteral("Other settings files beside '%1' were refused too, and are left as they "
                                          "are:"))
                                .arg(usual);
        else if (text.isEmpty())
            text << QStringLiteral("The settings were loaded from '%1'.").arg(newest);
        if (!newest.isEmpty())
            text << (one ? QStringLiteral("A newer settings file was refused, and is left as it is:")
                         : QStringLiteral("Newer settings files were refused, and are left as they are:"));
        text << refused;
    }
    if (!text.isEmpty())
        QMessageBox::information(parentWindow ? parentWindow : this, QStringLiteral("Zolvar"),
                                 text.join(QLatin1Char('\n')), QMessageBox::Ok);
    return loaded;
}

bool SimulationView::autoSaveSettings(const QString& usual, const char* hostKey, PreferenceWriteResult* nameResult)
{
    // A session goes on in the file its start chose. Without one (no load
    // at the start), a close's file that cannot be written over gives way to
    // the newest beside it that loads whole, matched by layer ID.
    const bool chosen = autoSaveNumber(autoSaveFile, usual) >= 0;
    QString file = chosen ? autoSaveFile : usual;
    if (!chosen && !overwriteRefusal(usual).isEmpty()) {
        const QString newest = newestAutoSave(usual, 0);
        if (!newest.isEmpty())
            file = newest;
    }
    // A file a load refused or cut, or that cannot be written over, is left
    // as it is: the settings go to a new file beside it. So do they when a
    // device takes nothing (a full one); a device that takes everything (a
    // link to /dev/null) switches the autosave off.
    QString left;
    const QString refusal = overwriteRefusal(file);
    if (isKeptSettingsFile(file)) {
        left = QStringLiteral("The settings file '%1' was not loaded whole, so it was left as it is.").arg(file);
    } else if (!refusal.isEmpty()) {
        left = QStringLiteral("The settings file '%1' cannot be written over (%2), so it was left as it is.")
                   .arg(file, refusal);
    } else if (isDevice(file)) {
        QString failure;
        if (saveSettings(file, hostKey, nameResult, &failure))
            return true;
        if (!chosen) {
            const QString newest = newestAutoSave(usual, 0);
            if (!newest.isEmpty())
                return saveSettings(newest, hostKey, nameResult);
        }
        left = QStringLiteral("The settings file '%1' is a device that could not be written (%2).").arg(file, failure);
    }
    const QString target = left.isEmpty() ? file : besideFile(file);
    if (!saveSettings(target, hostKey, nameResult))
        return false;
    if (!left.isEmpty())
        QMessageBox::information(parentWindow ? parentWindow : this, QStringLiteral("Zolvar"),
                                 left + QStringLiteral(" The settings of this session were saved to '%1'.").arg(target),
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
