// A layer of a composition: identity, kind, names, label, flags, timing,
// parent, source item, text, and its property tree (masks, shape contents,
// transform).
//
// Layers are owned by their composition through std::shared_ptr. Deleting a
// layer marks it deleted (isDeleted(), composition() == nullptr) and releases
// it: handles should keep weakFromThis() and check !isDeleted(). Every layer
// has a process-unique uid() besides its composition-unique id().
//
// Every setter marks the owning project modified.
#pragma once

#include "project/PropertyNode.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace standin {

class Composition;
class Item;

enum class LayerKind { Solid, Footage, Composition, Null, Adjustment, Text, Shape, Camera, Light };

// File names of the kinds: "solid", "footage", "composition", "null",
// "adjustment", "text", "shape", "camera", "light".
QString layerKindName(LayerKind kind);
bool layerKindFromName(const QString& name, LayerKind* kind);
// 0 AV (solid, footage, composition, null, adjustment), 1 light, 2 camera,
// 3 text, 4 shape.
AEGP_ObjectType objectTypeOf(LayerKind kind);
// Audio-video kinds have a source item.
bool kindHasSource(LayerKind kind);
// AV, text and shape layers have masks.
bool kindHasMasks(LayerKind kind);
// Flag bits the kind always carries: null 0x10000, adjustment 0x200.
quint32 kindImpliedFlags(LayerKind kind);

// Layer flag bits that SetLayerFlag may change: video, audio, effects, motion
// blur, frame blending, locked, shy, collapse and solo. The rest (null,
// adjustment, guide, 3-D ...) are read-only.
constexpr quint32 kWritableLayerFlags = 0x1 | 0x2 | 0x4 | 0x8 | 0x10 | 0x20 | 0x40 | 0x80 | 0x4000;

// The transform leaves, in the order of the layer stream numbers.
enum class TransformStream { AnchorPoint = 0, Position = 1, Scale = 2, Rotation = 3, Opacity = 4 };

// Text of a text layer. Explicit outlines (optional) are cubic paths in layer
// pixels with tangents relative to their vertex, like masks; without them the
// host builds outlines from the text, font and size.
struct TextDocument {
    QString text;
    QString fontFamily = QStringLiteral("DejaVu Sans");
    double fontSize = 72.0;
    bool hasOutlines = false;
    std::vector<MaskOutline> outlines;
    bool operator==(const TextDocument& o) const;
};

class Layer : public std::enable_shared_from_this<Layer>
{
public:
    // A layer of that kind with its default tree: root, mask parade (when the
    // kind has masks), root vectors group (shape layers), transform group at
    // anchor (0,0,0), position (0,0,0), scale (100,100,100), rotation 0,
    // opacity 100. Flags: video on plus the kind's implied bits.
    static std::shared_ptr<Layer> create(LayerKind kind);
    ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // A deep copy (same id, names, flags, timing, source, text, tree with new
    // uids). Its parent pointer is the source's: the caller remaps or clears it.
    std::shared_ptr<Layer> clone() const;

    quint64 uid() const { return uid_; }
    std::weak_ptr<Layer> weakFromThis() { return weak_from_this(); }

    LayerKind kind() const { return kind_; }
    AEGP_ObjectType objectType() const { return objectTypeOf(kind_); }

    Composition* composition() const { return comp_; }
    bool isDeleted() const { return deleted_; }
    // Used by Composition when the layer joins or leaves it.
    void attach(Composition* comp) { comp_ = comp; }
    void markDeleted();

    quint32 id() const { return id_; }
    void setId(quint32 id);

    // The layer's own name; empty when it has none.
    const QString& name() const { return name_; }
    void setName(const QString& name);
    // The source item's name for AV layers; otherwise the stored default name
    // ("Shape Layer 1", "Camera 1" ...).
    QString sourceName() const;
    const QString& defaultSourceName() const { return defaultSourceName_; }
    void setDefaultSourceName(const QString& name);
    // name() when set, else sourceName().
    QString displayName() const;

    // 0 = none, 1..16. setLabel refuses anything else.
    int label() const { return label_; }
    bool setLabel(int label);

    quint32 flags() const { return flags_; }
    // Stores the word as given, plus the kind's implied bits (loading, copies).
    void setFlags(quint32 flags);
    // Sets or clears exactly one writable bit; false for anything else.
    bool setFlag(quint32 singleFlag, bool on);
    bool is3D() const { return flags_ & AEGP_LayerFlag_LAYER_IS_3D; }

    // A per-layer answer for "video really on" that overrides the solo rule.
    const std::optional<bool>& videoReallyOnOverride() const { return videoOverride_; }
    void setVideoReallyOnOverride(const std::optional<bool>& value);

    // In composition time.
    const A_Time& inPoint() const { return inPoint_; }
    const A_Time& duration() const { return duration_; }
    void setInPoint(const A_Time& t);
    void setDuration(const A_Time& t);

    // The parent layer (same composition), or nullptr. Change it through
    // Composition::setParent, which refuses cycles.
    Layer* parent() const { return parent_; }
    void setParentUnchecked(Layer* parent);

    // AV layers: the source item (footage, solid or composition).
    Item* source() const { return source_; }
    void setSource(Item* item);

    const TextDocument& text() const { return text_; }
    void setText(const TextDocument& text);

    // ---- property tree ----------------------------------------------------
    PropertyNode* root() const { return root_.get(); }
    PropertyNode* maskParade() const;        // nullptr for cameras and lights
    PropertyNode* rootVectorsGroup() const;  // shape layers only
    PropertyNode* transformGroup() const;
    PropertyNode* transformStream(TransformStream which) const;
    // The transform leaves that place the layer, as transformStream finds
    // them (each null when missing); looked up again only after a tree
    // changed its shape.
    struct PlacingLeaves {
        const PropertyNode* anchor = nullptr;
        const PropertyNode* position = nullptr;
        const PropertyNode* scale = nullptr;
        const PropertyNode* rotation = nullptr;
    };
    const PlacingLeaves& placingLeaves() const;

    // Separated position: "ADBE Position_0" and "ADBE Position_1" exist and
    // the leader keeps no keys. Separating moves the leader's value into the
    // followers (x and y, static; the leader's keys are dropped); joining
    // writes the followers' current static values back into the leader.
    bool isPositionSeparated() const;
    void setPositionSeparated(bool separated);

    int maskCount() const;
    PropertyNode* maskAtom(int index) const; // nullptr when out of range
    // Appends a mask with the defaults: name "Mask n" (n = index + 1), empty
    // closed outline, opacity 100, feather (0,0), offset 0, add, not inverted.
    // Returns its index, or -1 when the layer has no mask parade.
    int addMask();
    bool removeMask(int index);

    // Marks the owning project modified.
    void touch();
    // Keeps a node removed from this layer's tree allocated for the layer's
    // lifetime (PropertyNode::removeChild calls it).
    void retireNode(PropertyNode::Ptr node);

private:
    explicit Layer(LayerKind kind);

    quint64 uid_;
    LayerKind kind_;
    Composition* comp_ = nullptr;
    bool deleted_ = false;
    quint32 id_ = 0;
    QString name_;
    QString defaultSourceName_;
    int label_ = 0;
    quint32 flags_ = AEGP_LayerFlag_VIDEO_ACTIVE;
    std::optional<bool> videoOverride_;
    A_Time inPoint_{0, 1};
    A_Time duration_{0, 1};
    Layer* parent_ = nullptr;
    Item* source_ = nullptr;
    TextDocument text_;
    PropertyNode::Ptr root_;
    std::vector<PropertyNode::Ptr> retiredNodes_;
    mutable PlacingLeaves placing_;
    mutable quint64 placingGeneration_ = 0;  // 0: not looked up
};

} // namespace standin
