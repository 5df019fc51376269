// Recording the bodies' tracks over the export range, and handing them to the
// keyframe export once the end frame is recorded.
#include "simulation/SimulationCore.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostFailure.h"
#include "simulation/KeyframeExport.h"

#include <algorithm>

void SimulationCore::recordFrame(bool showProgress)
{
    showRecordedFrame(currentFrame);
    if (showProgress || currentFrame == exportEndFrame)
        showSolvingProgress(currentFrame);
    const size_t n = bodies.size();
    // A restart sends the frame counter back to 0, so the start frame may be
    // recorded more than once: each time it starts the tracks afresh.
    if (currentFrame == exportStartFrame)
        bodyTransforms.assign(n, BodyTransforms{});
    if (bodyTransforms.size() == n) {
        for (size_t c = 0; c < n; ++c) {
            const MyBody& record = bodies[n - 1 - c];
            const b2Vec2 position = record.body ? record.body->GetPosition() : record.position;
            const float angle = record.body ? record.body->GetAngle() : record.angle;
            BodyTransforms& track = bodyTransforms[c];
            track.positions.push_back(getAEPosFromGLPos(position));
            track.rotations.push_back(getAERotFromBox2DRot(angle));
            if (currentFrame == exportStartFrame)
                track.anchor = record.layerAnchor;
        }
    }
    if (currentFrame != exportEndFrame)
        return;

    // Nothing to write is said before anything is made for it.
    const ExportSettings range = exportSettings();
    const QString problem = KeyframeExport::problemWith(range, exportableBodyCount(), bodyTransforms);
    if (!problem.isEmpty()) {
        stopExportRun();
        reportExportFailure(problem);
        return;
    }

    AEGP_SuiteHandler suites(basicSuite);
    AEGP_ItemH item = nullptr;
    AEGP_CompH target = nullptr;
    A_Err err = suites.ItemSuite7()->AEGP_GetActiveItem(&item);
    if (!err)
        err = suites.CompSuite7()->AEGP_GetCompFromItem(item, &target);
    if (!err && controls.applyToNewComp) {
        AEGP_CompH duplicate = nullptr;
        err = suites.UtilitySuite5()->AEGP_StartUndoGroup("Zolvar - Duplicate Comp");
        if (!err) {
            err = suites.CompSuite7()->AEGP_DuplicateComp(target, &duplicate);
            const A_Err endErr = suites.UtilitySuite5()->AEGP_EndUndoGroup();
            if (!err)
                err = endErr;
        }
        target = duplicate;
    }
    if (err || !target) {
        stopExportRun();
        reportExportFailure(QStringLiteral("The composition to receive the keyframes could not be prepared.\n\n")
                            + HostFailureText(err ? err : A_Err_GENERIC));
        return;
    }
    // The keys written change the layers: what the following kept of them
    // is read again before it is used next.
    following.release();
    beginKeyframing(target);
    stopExportRun();
}

size_t SimulationCore::exportableBodyCount() const
{
    return std::min(bodies.size(), bodyLayerIndices.size());
}

std::vector<ExportBody> SimulationCore::exportBodies() const
{
    const size_t n = exportableBodyCount();
    std::vector<ExportBody> exported;
    exported.reserve(n);
    for (size_t b = 0; b < n; ++b) {
        const MyBody& record = bodies[b];
        const bool untouched = record.outlineUnrepresentable || record.placementMended;
        ExportBody body{bodyLayerIndices[b], untouched ? int(BodyType::Dead) : record.type, record.initialRotation,
                        record.name};
        body.rotationIsRelative = record.rotationIsRelative;
        // The track of a body that stays where its layer put it, as
        // recordFrame writes it.
        body.restKnown = true;
        body.restPosition = getAEPosFromGLPos(record.initialPosition);
        body.restRotation = getAERotFromBox2DRot(record.rotationIsRelative ? 0.0f : record.initialRotation);
        exported.push_back(body);
    }
    return exported;
}

ExportSettings SimulationCore::exportSettings() const
{
    ExportSettings range;
    range.frameDuration = frameDuration;
    range.startFrame = exportStartFrame;
    range.endFrame = exportEndFrame;
    return range;
}

bool SimulationCore::refuseExportWithoutBodies()
{
    if (exportableBodyCount() > 0)
        return false;
    reportExportFailure(KeyframeExport::problemWith(ExportSettings{}, 0, {}));
    return true;
}

void SimulationCore::stopExportRun()
{
    running = false;
    playing = false;
    exporting = false;
}
