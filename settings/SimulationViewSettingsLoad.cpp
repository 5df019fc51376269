// Loading a settings file into the scene. The file is read whole into
// checked records first (settings/SettingsReader.cpp); every reason to stop
// is found before the first change, so a load that stops leaves the scene,
// its history and its snapshots as they were.
#include "simulation/SimulationView.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/StartupQueries.h"
#include "model/UserData.h"
#include "properties/EditBox.h"
#include "properties/PropertyCommands.h"
#include "properties/QuickPresetsTableView.h"
#include "properties/SliderGo.h"
#include "render/GLWidget.h"
#include "render/SceneDraw.h"
#include "files/SettingsFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QUndoStack>

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <unordered_map>

namespace {

bool matches(const MyBody& body, const SavedBody& saved, int mode)
{
    switch (mode) {
    case 0:  // a saved body without a layer ID names no layer
        return saved.hasLayerID && saved.record.layerID == body.layerID;
    case 1:
        return saved.record.index == body.index;
    case 2:
        return saved.record.name == body.name;
    default:
        return false;
    }
}

// The first saved body, in file order, that matches `body`; null when none.
const SavedBody* firstMatch(const MyBody& body, const std::vector<SavedBody>& saved, int mode)
{
    for (const SavedBody& s : saved)
        if (matches(body, s, mode))
            return &s;
    return nullptr;
}

// The settings a saved body gives a matching body. The body keeps its
// identity, frames, placement at the layer, outlines and joints; a saved
// body without a position, an angle or a colour leaves the body's own.
void copySavedSettings(MyBody& b, const SavedBody& saved)
{
    const MyBody& s = saved.record;
    b.type = s.type;
    b.density = s.density;
    b.friction = s.friction;
    b.restitution = s.restitution;
    if (saved.hasColor)
        b.color = s.color;
    b.meshPrecision = s.meshPrecision;
    b.linearVelocityMagnitude = s.linearVelocityMagnitude;
    b.linearVelocityDirection = s.linearVelocityDirection;
    b.committedVelocityMagnitude = s.linearVelocityMagnitude;
    b.committedVelocityDirection = s.linearVelocityDirection;
    b.angularVelocity = s.angularVelocity;
    b.linearDamping = s.linearDamping;
    b.angularDamping = s.angularDamping;
    b.aematicDamping = s.aematicDamping;
    b.aematicTension = s.aematicTension;
    b.aematicAnchor = s.aematicAnchor;
    b.committedAematicAnchor = s.aematicAnchor;
    if (saved.hasPosition) {
        b.position = s.position;
        b.committedPosition = s.position;
    }
    if (saved.hasAngle)
        b.angle = s.angle;
    b.categoryBits = s.categoryBits;
    b.maskBits = s.maskBits;
    b.fixedRotation = s.fixedRotation;
    b.gravityScale = s.gravityScale;
    b.useConvexHull = s.useConvexHull;
    b.magnetismType = s.magnetismType;
    b.magnetIntensity = s.magnetIntensity;
    b.magnetDistance = s.magnetDistance;
    b.acceptMagnetism = s.acceptMagnetism;
    b.openShapeLineWidth = s.openShapeLineWidth;
}

// The memory one body record of a snapshot takes, outlines included.
size_t recordBytes(const MyBody& body)
{
    size_t bytes = sizeof(MyBody);
    for (const std::vector<ShapeDef>& outline : body.outlines)
        for (const ShapeDef& shape : outline)
            bytes += sizeof(ShapeDef) +
                     sizeof(b2Vec2) * (shape.points.size() + shape.inTangents.size() + shape.outTangents.size());
    return bytes;
}

// The memory the records of snapshots take: each holds a copy of every scene
// body, and each of its joints three times (in its list and in both bodies'
// lists).
size_t snapshotCost(size_t bodyBytes, size_t joints)
{
    return bodyBytes + 3 * sizeof(MyJoint) * joints;
}

// Keeps the snapshots whose records fit in kMaxLoadedSnapshotBytes; the rest
// count as left out.
void keepAffordableSnapshots(SettingsDocument& doc, size_t bodyBytes)
{
    size_t used = 0;
    size_t kept = 0;
    for (const SettingsBlock& block : doc.presets) {
        const size_t cost = snapshotCost(bodyBytes, block.joints.size());
        if (used + cost > kMaxLoadedSnapshotBytes)
            break;
        used += cost;
        ++kept;
    }
    doc.presetsLeftOut += doc.presets.size() - kept;
    doc.presets.resize(kept);
}

// "A", "B" and 3 more: the first few names of a list, each cut short.
QString someNames(const QStringList& names)
{
    const int shown = std::min<int>(int(names.size()), 20);
    QStringList list;
    for (int i = 0; i < shown; ++i)
        list << (names[i].size() > 60 ? names[i].left(57) + QStringLiteral("...") : names[i]);
    QString text = QLatin1Char('"') + list.join(QStringLiteral("\", \"")) + QLatin1Char('"');
    if (names.size() > shown)
        text += QStringLiteral(" and %1 more").arg(names.size() - shown);
    return text;
}

QString missingGlobal(const SettingsBlock& block)
{
    if (!block.hasPreview)
        return QStringLiteral("preview");
    if (!block.hasSolver)
        return QStringLiteral("solver");
    return QStringLiteral("gravity");
}

} // namespace

bool SimulationView::loadSettings(const char* path, bool rememberAsRecent, int mode)
{
    const QString file = QString::fromUtf8(path ? path : "");
    if (isWritingKeys()) {
        showSettingsWarning(QStringLiteral("Settings cannot be loaded while keyframes are being written."),
                            QStringLiteral("'%1' was not loaded.").arg(file));
        return false;
    }
    // A file that holds something but was refused, or loaded only in part,
    // holds more than the scene now does: nothing saves over it. (A device,
    // a pipe or an empty file holds nothing to keep.)
    auto refuse = [this, &file](const QString& text, const QString& details) {
        const QFileInfo info(file);
        if (info.isFile() && info.size() > 0)
            keepSettingsFile(file);
        showSettingsWarning(text, details);
        return false;
    };
    const QString cannotRead =
        QStringLiteral("The settings file '") + file + QStringLiteral("' cannot be found or its format is not supported.");

    QByteArray bytes;
    QString problem;
    if (!readWholeFile(file, kMaxSettingsFileSize, bytes, problem))
        return refuse(cannotRead, QStringLiteral("%1: %2").arg(file, problem));
    SettingsDocument doc;
    const SettingsLimits limits = settingsLimits(mode);
    const SettingsReadStatus status =
        readSettingsDocument(bytes.constData(), size_t(bytes.size()), doc, problem, limits);
    bytes.clear();
    if (status == SettingsReadStatus::NotReadable)
        return refuse(cannotRead, QStringLiteral("%1: %2").arg(file, problem));
    if (status == SettingsReadStatus::NoRoot)
        return refuse(QStringLiteral("Unsupported settings format."), QStringLiteral("%1: %2").arg(file, problem));
    if (doc.otherVersion())
        showSettingsWarning(QStringLiteral("This file was created with a different version of Zolvar. Some errors "
                                           "might occur during import."),
                            QStringLiteral("%1: version %2.%3.")
                                .arg(file, QString::number(*doc.majorVersion), QString::number(*doc.minorVersion)));

    const SettingsBlock& scene = doc.scene;
    if (!scene.hasBodies)
        return refuse(QStringLiteral("Unsupported settings format (Bodies Settings)"),
                      QStringLiteral("%1: there is no \"bodies\" element holding a \"body\".").arg(file));
    QStringList unmatched;
    for (const MyBody& body : bodies)
        if (!firstMatch(body, scene.bodies, mode))
            unmatched << body.name;
    if (unmatched.size() == int(bodies.size())) {
        showSettingsWarning(QStringLiteral("Matching bodies not found. Settings have not been applied to the scene."),
                            QStringLiteral("%1: no layer of the composition matches a body of the file by %2.")
                                .arg(file, mode == 0   ? QStringLiteral("layer ID")
                                           : mode == 1 ? QStringLiteral("layer index")
                                           : mode == 2 ? QStringLiteral("layer name")
                                                       : QStringLiteral("an unknown identification")));
        return false;
    }
    if (!scene.hasPreview || !scene.hasSolver || !scene.hasGravity)
        return refuse(QStringLiteral("Unsupported settings format (Global Settings)"),
                      QStringLiteral("%1: there is no \"%2\" element.").arg(file, missingGlobal(scene)));

    keepAffordableSnapshots(doc, snapshotBodyBytes());
    QStringList notes;
    if (doc.presetsLeftOut > 0) {
        keepSettingsFile(file);
        notes << QStringLiteral("%1: left out: %2 scene snapshots past the first %3. The file is kept as it is: "
                                "Zolvar does not save over it.")
                     .arg(file, QString::number(doc.presetsLeftOut), QString::number(doc.presets.size()));
    }
    if (!unmatched.isEmpty())
        notes << QStringLiteral("Layers that found no settings in the file and keep their own: %1.")
                     .arg(someNames(unmatched));
    if (doc.presetsLeftOut > 0)
        showSettingsWarning(QStringLiteral("The settings file holds more than one scene can take: what lies past "
                                           "the limits is left out, the rest is loaded."),
                            notes.join(QLatin1Char('\n')));
    else if (!unmatched.isEmpty())
        showSettingsWarning(QStringLiteral("%1 of the composition's %2 layers found no settings in the file.")
                                .arg(unmatched.size())
                                .arg(bodies.size()),
                            notes.join(QLatin1Char('\n')));

    // Everything is known to load: apply it.
    setBodiesSettingsFromXMLSettings(scene.bodies, mode);
    applyGlobalSettings(scene);
    applyJointsSettings(scene.joints, mode);
    applyPresetsSettings(doc.presets, mode);
    rebuildStaleOutlines();

    if (rememberAsRecent)
        rememberSettingsFile("Most Recent Loaded Settings File", file, QStringLiteral("loaded"));
    restartAndStopAnimation(true);
    if (undoStack)
        undoStack->clear();
    refreshBodyPanel();
    warnWhenSettingsCannotBeSaved();
    return true;
}

bool SimulationView::loadsWhole(const QString& path, int mode, QString* why) const
{
    QByteArray bytes;
    QString problem;
    SettingsDocument doc;
    auto refused = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (!readWholeFile(path, kMaxSettingsFileSize, bytes, problem) ||
        readSettingsDocument(bytes.constData(), size_t(bytes.size()), doc, problem, settingsLimits(mode)) !=
            SettingsReadStatus::Ok)
        return refused(problem);
    const SettingsBlock& scene = doc.scene;
    if (!scene.hasBodies)
        return refused(QStringLiteral("There is no \"bodies\" element holding a \"body\"."));
    if (!scene.hasPreview || !scene.hasSolver || !scene.hasGravity)
        return refused(QStringLiteral("There is no \"%1\" element.").arg(missingGlobal(scene)));
    keepAffordableSnapshots(doc, snapshotBodyBytes());
    if (doc.presetsLeftOut > 0)
        return refused(QStringLiteral("It holds more scene snapshots than one scene can take."));
    return true;
}

SettingsLimits SimulationView::settingsLimits(int mode) const
{
    // The first scene row of each identity: a saved body matches the first
    // layer it names, and all layers named alike take its settings.
    auto ids = std::make_shared<std::unordered_map<int32_t, int>>();
    auto indexes = std::make_shared<std::unordered_map<int32_t, int>>();
    auto names = std::make_shared<QHash<QString, int>>();
    for (size_t row = 0; row < bodies.size(); ++row) {
        const MyBody& b = bodies[row];
        if (mode == 0)
            ids->emplace(b.layerID, int(row));
        else if (mode == 1)
            indexes->emplace(b.index, int(row));
        else if (mode == 2 && !names->contains(b.name))
            names->insert(b.name, int(row));
    }
    auto row = [=](int32_t layerID, int32_t index, const QString& name) {
        if (mode == 0) {
            const auto it = ids->find(layerID);
            return it == ids->end() ? -1 : it->second;
        }
        if (mode == 1) {
            const auto it = indexes->find(index);
            return it == indexes->end() ? -1 : it->second;
        }
        return mode == 2 ? names->value(name, -1) : -1;
    };
    SettingsLimits limits;
    limits.bodyRow = [=](const SavedBody& s) {
        if (mode == 0 && !s.hasLayerID)
            return -1;
        return row(s.record.layerID, s.record.index, s.record.name);
    };
    limits.jointWanted = [=](const SavedJoint& s) {
        const MyJoint& j = s.record;
        const int a = row(j.bodyALayerID, j.bodyALayerIndex, j.bodyALayerName);
        const int b = row(j.bodyBLayerID, j.bodyBLayerIndex, j.bodyBLayerName);
        return a >= 0 && b >= 0 && a != b;
    };
    limits.presets = snapshotLimit();
    return limits;
}

size_t SimulationView::snapshotBodyBytes() const
{
    size_t bytes = 0;
    for (const MyBody& body : bodies)
        bytes += recordBytes(body);
    return bytes;
}

size_t SimulationView::snapshotLimit() const
{
    // Each snapshot holds a copy of every scene body: no more are read than
    // fit in kMaxLoadedSnapshotBytes with their bodies alone, and at most
    // kMaxLoadedSnapshots.
    return std::clamp<size_t>(kMaxLoadedSnapshotBytes / (snapshotBodyBytes() + 1), 1, kMaxLoadedSnapshots);
}

QString SimulationView::snapshotRefusal() const
{
    // The snapshots a file of this scene brings back whole: as many as the
    // loader takes, in count and in memory.
    const size_t bodyBytes = snapshotBodyBytes();
    size_t used = snapshotCost(bodyBytes, joints.size());
    for (const QuickPreset& p : quickPresets)
        used += snapshotCost(bodyBytes, p.joints.size());
    if (quickPresets.size() + 1 > snapshotLimit() || used > kMaxLoadedSnapshotBytes)
        return QStringLiteral("This scene holds as many snapshots as its settings file can bring back (%1).")
            .arg(quickPresets.size());
    const QString refusal = settingsSaveRefusal(true);
    if (!refusal.isEmpty())
        return QStringLiteral("With it %1.").arg(refusal);
    return QString();
}

void SimulationView::setBodiesSettingsFromXMLSettings(const std::vector<SavedBody>& saved, int mode)
{
    for (size_t row = 0; row < bodies.size(); ++row)
        setBodySettingsFromXMLSettings(bodies[row], int(row), saved, mode);
}

bool SimulationView::setBodySettingsFromXMLSettings(MyBody& body, int row, const std::vector<SavedBody>& saved,
                                                    int mode)
{
    const SavedBody* s = firstMatch(body, saved, mode);
    if (!s)
        return false;
    copySavedSettings(body, *s);

    if (UserData* data = body.userData) {
        data->staticHighlight = body.type == BodyType::Static;
        data->pickable = true;
        data->isMagnet = body.magnetismType != MagnetismType::NoMagnetism;
        data->isRepulsion = body.magnetismType == MagnetismType::Repulsion;
        data->magnetDistance = body.magnetDistance;
        data->color = b2Color(float(body.color.red), float(body.color.green), float(body.color.blue));
    }
    body.staticHighlight = body.type == BodyType::Static;
    hasKinematicBody = hasKinematicBody || body.type == BodyType::Kinematic;
    hasDormantBody = hasDormantBody || body.type == BodyType::Dormant;
    hasAEmaticBody = hasAEmaticBody || body.type == BodyType::AEmatic;
    hasMagnet = hasMagnet || body.magnetismType != MagnetismType::NoMagnetism;

    if (bodiesModel && row < bodiesModel->rowCount()) {
        if (QStandardItem* cell = bodiesModel->item(row, 3))
            cell->setIcon(bodyColorIcon(body.color));
        if (QStandardItem* cell = bodiesModel->item(row, 2))
            cell->setText(collisionGroupLetter(body.categoryBits));
    }
    return true;
}

void SimulationView::applyGlobalSettings(const SettingsBlock& block)
{
    if (block.zoom && ui.zoomSld)
        ui.zoomSld->setValue(*block.zoom);
    if (glWidget) {
        if (block.panX)
            glWidget->panX = *block.panX;
        if (block.panY)
            glWidget->panY = *block.panY;
    }
    if (block.background)
        setBackground(*block.background);

    // The values in force are the edit boxes' (the sliders only show them);
    // each change is one command.
    auto current = [](const QDoubleSpinBox* edit) { return edit ? float(edit->value()) : 0.0f; };
    if (block.timeDivider && areValuesDifferent(current(ui.timeDividerEt), *block.timeDivider))
        undoStack->push(new CommandTimeDividerChange(this, current(ui.timeDividerEt), *block.timeDivider));
    if (block.tolerance && areValuesDifferent(current(ui.collisionToleranceEt), *block.tolerance))
        undoStack->push(
            new CommandCollisionToleranceChange(this, current(ui.collisionToleranceEt), *block.tolerance));
    if (block.substeps) {
        const int steps = ui.substepsEt ? int(ui.substepsEt->value()) : 2;
        if (steps != *block.substeps)
            undoStack->push(new CommandSubstepsChange(this, steps, *block.substeps));
    }
    if (block.gravityMagnitude && areValuesDifferent(current(ui.gravityMagnitudeEt), *block.gravityMagnitude))
        undoStack->push(
            new CommandGravityMagnitudeChange(this, current(ui.gravityMagnitudeEt), *block.gravityMagnitude));
    if (block.gravityDirection && areValuesDifferent(current(ui.gravityDirectionEt), *block.gravityDirection))
        undoStack->push(
            new CommandGravityDirectionChange(this, current(ui.gravityDirectionEt), *block.gravityDirection));
    if (block.takeValueFrom) {
        const bool from = *block.takeValueFrom != 0;
        const bool checked = ui.gravityLayerCb && ui.gravityLayerCb->isChecked();
        if (from != checked)
            undoStack->push(new CommandGravityInheritFromChange(this, checked ? 1.0 : 0.0, from ? 1.0 : 0.0));
        const int count = ui.gravityLayerLst ? ui.gravityLayerLst->count() : 0;
        if (*block.takeValueFrom > 0 && block.gravityLayer && *block.gravityLayer < count &&
            *block.gravityLayer != gravityLayerIndex) {
            ui.gravityLayerLst->setEnabled(true);
            undoStack->push(new CommandGravityLayerChange(this, gravityLayerIndex, *block.gravityLayer));
            gravityLayerIndex = *block.gravityLayer;
        }
    }
}

void SimulationView::applyJointsSettings(const std::vector<SavedJoint>& saved, int mode)
{
    beginJointsReplacement();
    // The scene's list is the one truth: the bodies' own lists start again.
    for (MyBody& body : bodies)
        body.joints.clear();

    for (const SavedJoint& s : saved) {
        const std::optional<std::pair<int, int>> ends = savedJointEnds(s, mode);
        if (!ends)
            continue;
        const auto [a, b] = *ends;
        MyJoint record = s.record;
        record.bodyA = a;
        record.bodyB = b;
        if (record.type == JointType::Prismatic)
            record.anchor = bodies[size_t(a)].body ? bodies[size_t(a)].body->GetWorldCenter() : bodies[size_t(a)].position;
        const MyJoint& joint = installJoint(record);
        bodies[size_t(a)].joints.push_back(joint);
        bodies[size_t(b)].joints.push_back(joint);
    }
    endJointsReplacement();
}

void SimulationView::applyPresetsSettings(const std::vector<SettingsBlock>& presets, int mode)
{
    std::vector<QuickPreset> list;
    for (const SettingsBlock& block : presets) {
        if (!block.hasPreview || !block.hasSolver || !block.hasGravity || !block.hasBodies)
            continue;
        QuickPreset p = presetGlobals(block);
        setPresetBodiesSettingsFromXMLSettings(block.bodies, p, mode);
        loadPresetJointsSettings(block.joints, p, mode);
        list.push_back(std::move(p));
    }

    quickPresets.clear();
    setLoadedPresetColumns(int(list.size()));
    quickPresets = std::move(list);
    handPresetsToTable();
}

void SimulationView::setPresetBodiesSettingsFromXMLSettings(const std::vector<SavedBody>& saved,
                                                            QuickPreset& preset, int mode) const
{
    preset.bodies = bodies;
    for (MyBody& body : preset.bodies) {
        body.joints.clear();
        if (const SavedBody* s = firstMatch(body, saved, mode))
            copySavedSettings(body, *s);
    }
}

std::optional<std::pair<int, int>> SimulationView::savedJointEnds(const SavedJoint& s, int mode) const
{
    if (!s.complete)
        return std::nullopt;
    const MyJoint& r = s.record;
    const int count = static_cast<int>(bodies.size());
    const int a = getBodyIdFromBodyIdentifiers(r.bodyALayerID, r.bodyALayerIndex, r.bodyALayerName, mode);
    const int b = getBodyIdFromBodyIdentifiers(r.bodyBLayerID, r.bodyBLayerIndex, r.bodyBLayerName, mode);
    if (a == b || a < 0 || b < 0 || a >= count || b >= count)
        return std::nullopt;
    return std::make_pair(a, b);
}

void SimulationView::loadPresetJointsSettings(const std::vector<SavedJoint>& saved, QuickPreset& preset,
                                              int mode) const
{
    preset.joints.clear();
    const int count = static_cast<int>(bodies.size());
    for (const SavedJoint& s : saved) {
        // A snapshot's joint also names its bodies by their rows as written.
        if (s.fileBodyAId < 0 || s.fileBodyAId >= count || s.fileBodyBId < 0 || s.fileBodyBId >= count)
            continue;
        const std::optional<std::pair<int, int>> ends = savedJointEnds(s, mode);
        if (!ends)
            continue;
        MyJoint joint = s.record;
        joint.id = static_cast<int32_t>(preset.joints.size());
        joint.bodyA = ends->first;
        joint.bodyB = ends->second;
        joint.joint = nullptr;
        joint.jointUserData = nullptr;
        joint.selected = false;
        if (joint.type == JointType::Prismatic) {
            const MyBody& bodyA = preset.bodies[size_t(joint.bodyA)];
            joint.anchor = bodyA.body ? bodyA.body->GetWorldCenter() : bodyA.position;
        }
        preset.joints.push_back(joint);
        preset.bodies[size_t(joint.bodyA)].joints.push_back(joint);
        preset.bodies[size_t(joint.bodyB)].joints.push_back(joint);
    }
}

void SimulationView::rebuildStaleOutlines()
{
    for (size_t row = 0; row < bodies.size(); ++row) {
        const MyBody& b = bodies[row];
        if (b.meshPrecision != b.outlinePrecision || b.useConvexHull != b.outlineHull)
            recomputeShape(int(row));
    }
}
