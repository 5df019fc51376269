// Writes the recorded tracks back onto the layers as anchor point, position,
// scale and rotation keys, one layer per call, inside the host undo group
// "Zolvar". The view calls writeNextLayer() once per turn of the event loop,
// so that the window stays responsive and the user can cancel between layers.
//
//     KeyframeExport job(basic, pluginId);
//     if (!job.begin(comp, settings, bodies, tracks, &problem)) report(problem);
//     while (!job.writeNextLayer()) if (cancelled) { job.cancel(); break; }
//     if (!job.failures().isEmpty()) report(job.failures());
//
// Layers are written from the last body to the first: call c writes body
// N - 1 - c from track c. Dead bodies' layers are left untouched, and so is
// the layer of a body that never left the place its layer gives it when the
// body is Static or the layer's placement does not change in time: such a
// layer is drawn exactly as before, keys, parent and all, which writing the
// track could not always give (a parent that skews its child). A layer that
// hangs from the layer of a body that is written is written too. The scale
// of a layer without a parent is its own and keeps its keys (unless an
// expression drives it). A host
// failure ends the writing of that layer (the first error is kept per layer)
// and the export goes on with the next; a failure of the steps around the
// layers (the selection, the work area, the undo group) is kept too, and
// report() tells the user once what was and was not written.
#pragma once

#include "model/BodyTransforms.h"

#include "host_api.h"

#include <QString>
#include <QStringList>

#include <unordered_map>
#include <vector>

struct ExportBody {
    int layerIndex = 0;          // in the receiving composition
    int type = 0;                // BodyType
    float initialRotation = 0.0f;  // radians; the layer's rotation when the body was read
    QString name;
    // The body's outlines were read unturned (a text layer's glyphs) and its
    // angle starts at 0: its layer's rotation is the initial one added to
    // the recorded angle.
    bool rotationIsRelative = false;
    // Where the track of a body that stayed where its layer puts it reads,
    // in the track's units (composition pixels, degrees). Without it every
    // body counts as moved.
    bool restKnown = false;
    b2Vec2 restPosition{0.0f, 0.0f};
    float restRotation = 0.0f;
};

struct ExportSettings {
    A_Time frameDuration{0, 1};
    int startFrame = 0;
    int endFrame = 0;
    bool motionBlur = false;     // set the layers' motion-blur switch
};

class KeyframeExport
{
public:
    KeyframeExport(SPBasicSuite* basicSuite, int pluginId);
    ~KeyframeExport();
    KeyframeExport(const KeyframeExport&) = delete;
    KeyframeExport& operator=(const KeyframeExport&) = delete;

    // Why `bodyCount` bodies with these tracks cannot be written: no bodies,
    // an empty range, or not one complete track (end - start + 1 samples) per
    // body. Empty when they can.
    static QString problemWith(const ExportSettings& settings, size_t bodyCount,
                               const std::vector<BodyTransforms>& tracks);
    // Whether every sample of the track lies at the body's rest place and
    // angle, within the tolerance that makes keys (keyValuesDiffer). A body
    // without a rest or without samples counts as moved.
    static bool neverMoved(const ExportBody& body, const BodyTransforms& track);

    // Checks the bodies and tracks (problemWith), then opens the undo group
    // and remembers the composition's selection. False, with `problem` set
    // and nothing open, when the export cannot start.
    bool begin(AEGP_CompH comp, const ExportSettings& settings, std::vector<ExportBody> bodies,
               std::vector<BodyTransforms> tracks, QString* problem);

    // Writes the next layer. After the first layer the composition's
    // selection is restored and its work area set to the range. Returns true
    // when that was the last layer; the undo group is then ended.
    bool writeNextLayer();
    // Ends the undo group without writing the remaining layers.
    void cancel();

    bool isWriting() const { return groupOpen; }
    int writtenCount() const { return written; }
    int bodyCount() const { return static_cast<int>(bodies.size()); }
    // "Layer n (name): what failed", one line per layer that failed.
    const QStringList& failures() const { return failed; }
    // What the host refused around the layers: the selection, the work area,
    // the undo group. One sentence each.
    const QStringList& stepFailures() const { return failedSteps; }
    // For the user, once the export has ended (written or cancelled): how
    // many layers were written in full, which were not and why, and what
    // else the host refused. Empty when nothing failed and, unless
    // `tellCancel`, also when the export was only cancelled.
    QString report(bool tellCancel = false) const;

    // The shape-layer parts whose own placement adds to the layer's: the
    // first rectangle, ellipse and star positions and the first group's
    // anchor and position lose their keys and become (0, 0). The export does
    // not call it: the anchor it writes keeps every item where it is drawn,
    // which zeroing the first items' placements would undo on a layer with
    // several items.
    A_Err resetSecondaryTransformOfShapeLayer(AEGP_LayerH layer);
    // Deletes the stream's keys and sets its x and y to 0.
    A_Err reset2DStream(AEGP_StreamRefH stream);

private:
    A_Err writeLayer(int call);
    // Whether body b's layer (`layer`) is left as it is; decided once.
    A_Err leavesLayerAsItIs(size_t b, AEGP_LayerH layer, bool& leave);
    void finishFirstLayer();
    void endGroup();

    SPBasicSuite* basicSuite;
    int pluginId;
    AEGP_CompH comp = nullptr;
    ExportSettings settings;
    std::vector<ExportBody> bodies;
    std::vector<BodyTransforms> tracks;
    std::vector<signed char> leftAsItIs;  // per body: -1 undecided, 0 written, 1 left as it is
    std::unordered_map<int, size_t> bodyOfLayer;  // layer index -> body
    AEGP_Collection2H selection = nullptr;
    bool groupOpen = false;
    bool groupClosed = false;  // ended, and the host took it
    int written = 0;
    QStringList failed;
    QStringList failedSteps;
};
