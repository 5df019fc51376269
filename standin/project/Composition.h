// A composition: its settings, its layer stack (index 0 on top), its
// selection and work area, and the edits the host makes to the stack.
//
// Mutations return host error codes: A_Err_NONE, A_Err_PARAMETER for a bad
// argument (a layer of another composition, a bad index, a cycle ...),
// A_Err_STRUCT for a deleted layer.
#pragma once

#include "project/Item.h"
#include "project/Layer.h"

#include <memory>
#include <vector>

namespace standin {

class Composition : public AVItem
{
public:
    Composition() : AVItem(ItemType::Composition, 1920, 1080, A_Time{250, 25}) {}

    // ---- settings (size, pixel aspect and duration: AVItem) -------------------
    // One frame; the frame rate is scale / value.
    const A_Time& frameDuration() const { return frameDuration_; }
    double frameRate() const;
    void setFrameDuration(const A_Time& frameDuration);

    const AEGP_ColorVal& backgroundColor() const { return background_; }
    void setBackgroundColor(const AEGP_ColorVal& color);

    const A_Time& workAreaStart() const { return workStart_; }
    const A_Time& workAreaDuration() const { return workDuration_; }
    // Stores the work area as given (loading).
    void setWorkAreaUnchecked(const A_Time& start, const A_Time& duration);
    // The host's setter: start < 0 or duration <= 0 (or an invalid time) is
    // A_Err_PARAMETER; an end past the composition's duration is clamped to it
    // and *clamped (optional) reports that.
    A_Err setWorkArea(const A_Time& start, const A_Time& duration, bool* clamped = nullptr);

    // ---- layers ----------------------------------------------------------------
    int layerCount() const { return int(layers_.size()); }
    Layer* layer(int index) const; // nullptr when out of range
    const std::vector<std::shared_ptr<Layer>>& layers() const { return layers_; }
    int indexOf(const Layer* layer) const; // -1 when not here
    Layer* layerById(quint32 id) const;
    // Largest layer ID + 1 (1 for an empty composition).
    quint32 nextLayerId() const;

    // Inserts a layer at index (-1 or >= count: the end), attaching it. The
    // caller gives it a unique ID.
    void insertLayer(std::shared_ptr<Layer> layer, int index = -1);

    // Copy of `source` with a new ID, inserted directly above it (at the
    // source's old index). Nullptr when the source is not a live layer here.
    Layer* duplicateLayer(Layer* source);
    // Moves the layer so that its final index is `index`; -1 or >= count means
    // the bottom (count - 1); < -1 is A_Err_PARAMETER.
    A_Err reorderLayer(Layer* layer, int index);
    // Removes the layer (later layers move up), unparents its children without
    // compensation, drops it from the selection and marks it deleted. The
    // object itself stays allocated (and isDeleted()) until the composition
    // is destroyed, so a raw pointer kept by a handle can still be checked.
    A_Err deleteLayer(Layer* layer);
    // A new empty shape layer at index 0: video on, label 0, in-point 0,
    // duration = composition duration, anchor (0,0,0), position (W/2, H/2, 0),
    // scale 100 %, own name "Shape Layer n" (n = 1 + the number of shape
    // layers), a new ID.
    Layer* createShapeLayer();
    // Sets or clears (nullptr) the parent, leaving the transform values alone.
    // A parent that is the layer itself, a descendant, or a layer of another
    // composition is A_Err_PARAMETER; a deleted layer A_Err_STRUCT.
    A_Err setParent(Layer* layer, Layer* parent);
    // Whether a layer of this composition is a descendant of `ancestor`.
    bool isDescendant(const Layer* layer, const Layer* ancestor) const;

    // (flags & video) && (no layer has solo || this layer has solo), unless
    // the layer's override says otherwise.
    bool isVideoReallyOn(const Layer* layer) const;

    // ---- selection ---------------------------------------------------------------
    // Live layers of this composition, in order.
    std::vector<Layer*> selection() const;
    // Replaces the selection; deleted layers are skipped; a layer of another
    // composition makes it A_Err_PARAMETER (nothing changes).
    A_Err setSelection(const std::vector<Layer*>& layers);

    // Marks the owning project modified.
    void touchComposition() { touch(); }

private:
    A_Time frameDuration_{1, 25};
    A_Time workStart_{0, 25};
    A_Time workDuration_{250, 25};
    AEGP_ColorVal background_{1.0, 0.0, 0.0, 0.0};
    std::vector<std::shared_ptr<Layer>> layers_;
    std::vector<std::weak_ptr<Layer>> selection_;
    std::vector<std::shared_ptr<Layer>> retired_; // deleted layers, kept readable
};

} // namespace standin
