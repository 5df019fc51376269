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
#include "settings/SettingsFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QUndoStack>

#include <algorithm>

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

// What the file brought that was left out, one line each; empty when nothing.
QString leftOut(const SettingsDocument& doc, const SettingsLimits& limits)
{
    size_t bodies = doc.scene.bodiesLeftOut;
    size_t joints = doc.scene.jointsLeftOut;
    for (const SettingsBlock& block : doc.presets) {
        bodies += block.bodiesLeftOut;
        joints += block.jointsLeftOut;
    }
    QStringList lines;
    if (bodies > 0)
        lines << QStringLiteral("%1 bodies past the first %2 of the scene or of a snapshot.")
                     .arg(bodies)
                     .arg(limits.bodies);
    if (joints > 0)
        lines << QStringLiteral("%1 joints past the first %2 of the scene or of a snapshot.")
                     .arg(joints)
                     .arg(limits.joints);
    if (doc.presetsLeftOut > 0)
        lines << QStringLiteral("%1 scene snapshots past the first %2.")
                     .arg(doc.presetsLeftOut)
                     .arg(doc.presets.size());
    return lines.join(QLatin1Char('\n'));
}

// Keeps the snapshots whose records fit in kMaxLoadedSnapshotBytes: each
// holds a copy of every scene body, and each of its joints three times (in
// its list and in both bodies' lists). The rest count as left out.
void keepAffordableSnapshots(SettingsDocument& doc, size_t bodyBytes)
{
    size_t used = 0;
    size_t kept = 0;
    for (const SettingsBlock& block : doc.presets) {
        const size_t cost = bodyBytes + 3 * sizeof(MyJoint) * block.joints.size();
        if (used + cost > kMaxLoadedSnapshotBytes)
            break;
        used += cost;
        ++kept;
    }
    doc.presetsLeftOut += doc.presets.size() - kept;
    doc.presets.resize(kept);
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

void SimulationView::loadSettings(const char* path, bool rememberAsRecent, int mode)
{
    const QString file = QString::fromUtf8(path ? path : "");
    if (isWritingKeys()) {
        showSettingsWarning(QStringLiteral("Settings cannot be loaded while keyframes are being written."),
                            QStringLiteral("'%1' was not loaded.").arg(file));
        return;
    }
    const QString cannotRead =
        QStringLiteral("The settings file '") + file + QStringLiteral("' cannot be found or its format is not supported.");

    QByteArray bytes;
    QString problem;
    if (!readWholeFile(file, kMaxSettingsFileSize, bytes, problem)) {
        showSettingsWarning(cannotRead, QStringLiteral("%1: %2").arg(file, problem));
        return;
    }
    SettingsDocument doc;
    const SettingsLimits limits = settingsLimits();
    const SettingsReadStatus status =
        readSettingsDocument(bytes.constData(), size_t(bytes.size()), doc, problem, limits);
    bytes.clear();
    if (status == SettingsReadStatus::NotReadable) {
        showSettingsWarning(cannotRead, QStringLiteral("%1: %2").arg(file, problem));
        return;
    }
    if (status == SettingsReadStatus::NoRoot) {
        showSettingsWarning(QStringLiteral("Unsupported settings format."), QStringLiteral("%1: %2").arg(file, problem));
        return;
    }
    if (doc.otherVersion())
        showSettingsWarning(QStringLiteral("This file was created with a different version of Zolvar. Some errors "
                                           "might occur during import."),
                            QStringLiteral("%1: version %2.%3.")
                                .arg(file, QString::number(*doc.majorVersion), QString::number(*doc.minorVersion)));

    const SettingsBlock& scene = doc.scene;
    if (!scene.hasBodies) {
        showSettingsWarning(QStringLiteral("Unsupported settings format (Bodies Settings)"),
                            QStringLiteral("%1: there is no \"bodies\" element holding a \"body\".").arg(file));
        return;
    }
    bool matched = false;
    for (const MyBody& body : bodies)
        matched = matched || firstMatch(body, scene.bodies, mode);
    if (!matched) {
        showSettingsWarning(QStringLiteral("Matching bodies not found. Settings have not been applied to the scene."),
                            QStringLiteral("%1: no layer of the composition matches a body of the file by %2.")
                                .arg(file, mode == 0   ? QStringLiteral("layer ID")
                                           : mode == 1 ? QStringLiteral("layer index")
                                           : mode == 2 ? QStringLiteral("layer name")
                                                       : QStringLiteral("an unknown identification")));
        return;
    }
    if (!scene.hasPreview || !scene.hasSolver || !scene.hasGravity) {
        showSettingsWarning(QStringLiteral("Unsupported settings format (Global Settings)"),
                            QStringLiteral("%1: there is no \"%2\" element.").arg(file, missingGlobal(scene)));
        return;
    }

    size_t bodyBytes = 0;
    for (const MyBody& body : bodies)
        bodyBytes += recordBytes(body);
    keepAffordableSnapshots(doc, bodyBytes);
    const QString dropped = leftOut(doc, limits);
    if (!dropped.isEmpty())
        showSettingsWarning(QStringLiteral("The settings file holds more than one scene can take: what lies past "
                                           "the limits is left out, the rest is loaded."),
                            QStringLiteral("%1: left out:\n%2").arg(file, dropped));

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
}

SettingsLimits SimulationView::settingsLimits() const
{
    // Matching uses at most one saved body per scene body; a file from a
    // larger composition may still hold a few times as many.
    const size_t perBlock = std::max<size_t>(4 * bodies.size(), 1000);
    // Each snapshot holds a copy of every scene body: no more are read than
    // fit in kMaxLoadedSnapshotBytes with their bodies alone, and at most
    // kMaxLoadedSnapshots.
    size_t snapshotBytes = 1;
    for (const MyBody& body : bodies)
        snapshotBytes += recordBytes(body);
    SettingsLimits limits;
    limits.bodies = perBlock;
    limits.joints = perBlock;
    limits.presets = std::clamp<size_t>(kMaxLoadedSnapshotBytes / snapshotBytes, 1, kMaxLoadedSnapshots);
    return limits;
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

    const int count = static_cast<int>(bodies.size());
    for (const SavedJoint& s : saved) {
        if (!s.complete)
            continue;
        const MyJoint& r = s.record;
        const int a = getBodyIdFromBodyIdentifiers(r.bodyALayerID, r.bodyALayerIndex, r.bodyALayerName, mode);
        const int b = getBodyIdFromBodyIdentifiers(r.bodyBLayerID, r.bodyBLayerIndex, r.bodyBLayerName, mode);
        if (a == b || a < 0 || b < 0 || a >= count || b >= count)
            continue;
        MyJoint record = r;
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

void SimulationView::loadPresetJointsSettings(const std::vector<SavedJoint>& saved, QuickPreset& preset,
                                              int mode) const
{
    preset.joints.clear();
    const int count = static_cast<int>(bodies.size());
    for (const SavedJoint& s : saved) {
        if (!s.hasType || s.fileBodyAId < 0 || s.fileBodyAId >= count || s.fileBodyBId < 0 || s.fileBodyBId >= count)
            continue;
        const bool known = s.record.type >= 0 && s.record.type < 4;
        if (known && !s.complete)
            continue;
        const MyJoint& r = s.record;
        const int a = getBodyIdFromBodyIdentifiers(r.bodyALayerID, r.bodyALayerIndex, r.bodyALayerName, mode);
        const int b = getBodyIdFromBodyIdentifiers(r.bodyBLayerID, r.bodyBLayerIndex, r.bodyBLayerName, mode);
        if (a == b || a < 0 || b < 0 || a >= count || b >= count)
            continue;
        MyJoint joint;
        if (known) {
            joint = r;
        } else {
            // Only the common fields of a type this program does not know.
            joint.type = r.type;
            joint.bodyALayerID = r.bodyALayerID;
            joint.bodyBLayerID = r.bodyBLayerID;
            joint.bodyALayerIndex = r.bodyALayerIndex;
            joint.bodyBLayerIndex = r.bodyBLayerIndex;
            joint.bodyALayerName = r.bodyALayerName;
            joint.bodyBLayerName = r.bodyBLayerName;
        }
        joint.id = static_cast<int32_t>(preset.joints.size());
        joint.bodyA = a;
        joint.bodyB = b;
        joint.joint = nullptr;
        joint.jointUserData = nullptr;
        joint.selected = false;
        if (joint.type == JointType::Prismatic) {
            const MyBody& bodyA = preset.bodies[size_t(a)];
            joint.anchor = bodyA.body ? bodyA.body->GetWorldCenter() : bodyA.position;
        }
        preset.joints.push_back(joint);
        preset.bodies[size_t(a)].joints.push_back(joint);
        preset.bodies[size_t(b)].joints.push_back(joint);
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
