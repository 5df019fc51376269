// One node of a layer's property tree: a named group, an indexed group or a
// leaf with a value, keyframes and an optional expression.
//
// Ownership: a node owns its children through std::shared_ptr; a layer owns
// its root. A node removed from a layer's tree stays allocated as long as the
// layer (and a deleted layer as long as its composition), so a handle may keep
// a raw pointer, or a std::weak_ptr (weakFromThis()), and must check isLive()
// before use: a removed node, or any node of a deleted layer, is not live.
// Every node has a process-unique uid().
//
// Depth: the layer root is 0, its children 1, and so on.
//
// Every setter marks the owning project modified.
#pragma once

#include "project/MaskAttributes.h"
#include "project/Value.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace standin {

class Layer;

enum class Grouping { Leaf = 0, NamedGroup = 1, IndexedGroup = 2 };

// Dynamic-stream flag: the item's on/off switch. Set by default.
constexpr quint32 kDynFlagEnabled = 0x1;

struct Keyframe {
    A_Time time{0, 1};
    Value value;
    // Spatial tangents relative to the key's value: ThreeD on layer streams,
    // TwoD on vector streams, None on streams that are not spatial.
    Value inTangent;
    Value outTangent;
};

// Whether a match name is exactly the Latin-1 `wanted` (as name == wanted,
// without the general comparison).
bool sameMatchName(const QString& name, QLatin1String wanted);

class PropertyNode : public std::enable_shared_from_this<PropertyNode>
{
public:
    using Ptr = std::shared_ptr<PropertyNode>;

    static Ptr makeGroup(const QString& matchName, Grouping grouping, const QString& displayName);
    static Ptr makeLeaf(const QString& matchName, const QString& displayName, const Value& defaultValue);
    ~PropertyNode();
    PropertyNode(const PropertyNode&) = delete;
    PropertyNode& operator=(const PropertyNode&) = delete;

    // A deep copy (children, value, keys, expression, flags, mask attributes)
    // with new uids, detached from any tree.
    Ptr clone() const;

    quint64 uid() const { return uid_; }
    std::weak_ptr<PropertyNode> weakFromThis() { return weak_from_this(); }

    const QString& matchName() const { return matchName_; }
    const QString& displayName() const { return displayName_; }
    void setDisplayName(const QString& name);

    Grouping grouping() const { return grouping_; }
    bool isLeaf() const { return grouping_ == Grouping::Leaf; }
    bool isGroup() const { return grouping_ != Grouping::Leaf; }

    // ---- place in the tree -------------------------------------------------
    PropertyNode* parent() const { return parent_; }
    int depth() const;
    int indexInParent() const; // -1 for a root or a detached node
    PropertyNode* root();
    // The layer whose tree holds this node; nullptr when detached.
    Layer* layer() const;
    // In a tree whose layer exists and is not deleted.
    bool isLive() const;

    // ---- children (groups only; leaves have none) ---------------------------
    int childCount() const { return int(children_.size()); }
    PropertyNode* child(int index) const; // nullptr when out of range
    // First direct child with exactly this match name, or nullptr.
    PropertyNode* childByMatchName(const QString& matchName) const;
    // The same for a Latin-1 name, without making a QString of it.
    PropertyNode* childByMatchName(QLatin1String matchName) const;
    // A number that changes whenever a node of any tree gains or loses a
    // child, for caches of nodes found by name.
    static quint64 shapeGeneration();
    // First node of the subtree (this node excluded), depth first, or nullptr.
    PropertyNode* findDescendant(const QString& matchName) const;
    // Appends (index -1) or inserts; returns the child. Null on a leaf.
    PropertyNode* insertChild(Ptr child, int index = -1);
    // Removes and returns a child; the removed subtree is no longer live (and
    // is kept allocated by the owning layer).
    Ptr removeChild(int index);

    // ---- dynamic-stream flags ---------------------------------------------
    quint32 dynamicFlags() const { return dynamicFlags_; }
    void setDynamicFlags(quint32 flags);
    bool isEnabled() const { return dynamicFlags_ & kDynFlagEnabled; }

    // ---- leaf value -------------------------------------------------------
    ValueType valueType() const { return value_.type; }
    // Layer anchor point and position, vector position and anchor.
    bool isSpatial() const;
    const Value& staticValue() const { return value_; }
    // False (nothing changes) when the value's type is not the leaf's.
    bool setStaticValue(const Value& value);

    // ---- keyframes: sorted by exact time, at most one per time ------------
    int keyCount() const { return int(keys_.size()); }
    const std::vector<Keyframe>& keys() const { return keys_; }
    const Keyframe* key(int index) const; // nullptr when out of range
    int findKey(const A_Time& time) const; // exact time, or -1
    // Inserts a key, or replaces the value of the key at that time (keeping
    // its tangents). New keys get zero tangents of the spatial type. Returns
    // the index, or -1 when the value type does not fit or time is invalid.
    int addKey(const A_Time& time, const Value& value);
    // A batch: adds every key as addKey does, then gives each newly created
    // key auto tangents (spatial leaves only). Returns each key's final index,
    // in input order (-1 for a rejected entry).
    std::vector<int> addKeys(const std::vector<std::pair<A_Time, Value>>& keys);
    // Auto tangents for one key from its current neighbours: interior keys
    // out = (next - prev) / 6, in = -out; zero at both ends. Spatial only.
    void setAutoTangents(int index);
    // Stores exactly what is given. False when the index is out of range, the
    // leaf is not spatial, or a tangent's type is not the tangent type.
    bool setKeyTangents(int index, const Value& inTangent, const Value& outTangent);
    // Replaces every key (loader and copies). Keys must be sorted and unique.
    void setKeys(std::vector<Keyframe> keys);
    // Removes a key; removing the last one makes that key's value the static
    // value. False when the index is out of range.
    bool removeKey(int index);
    // The tangent type of this leaf: ThreeD or TwoD when spatial, else None.
    ValueType tangentType() const;

    // ---- expression (no engine: a constant post-expression value) --------
    bool hasExpression() const { return hasExpression_; }
    const QString& expression() const { return expression_; }
    bool expressionEnabled() const { return expressionEnabled_; }
    const Value& expressionValue() const { return expressionValue_; }
    // False when the value's type does not fit.
    bool setExpression(const QString& text, bool enabled, const Value& postExpressionValue);
    // No-op on a leaf without an expression.
    void setExpressionEnabled(bool enabled);

    // ---- evaluation --------------------------------------------------------
    // Static value, or keys interpolated (linear, hold at the ends; shapes
    // step: the last key at or before t, the first before the first key).
    Value keyedValueAt(const A_Time& t) const;
    // keyedValueAt, or the expression's value when one is enabled and
    // preExpression is false. A separated position leader combines its
    // followers: (X follower, Y follower, z of its own static value).
    Value valueAt(const A_Time& t, bool preExpression) const;
    // At least one key, or an enabled expression. False for a separated
    // leader (its followers carry the animation).
    bool isTimeVarying() const;

    // ---- separated dimensions (the layer position leader) -------------------
    bool isSeparationLeader() const { return separated_; }
    // dim 0: "ADBE Position_0" (X), dim 1: "ADBE Position_1" (Y); nullptr when
    // not separated or dim is not 0 or 1.
    PropertyNode* separationFollower(int dim) const;
    // Used by Layer::setPositionSeparated.
    void setSeparationLeader(bool separated) { separated_ = separated; }

    // ---- mask atoms --------------------------------------------------------
    const MaskAttributes& maskAttributes() const { return mask_; }
    void setMaskAttributes(const MaskAttributes& attributes);

    // ---- roots -------------------------------------------------------------
    // Set by the owning layer on its root.
    void setOwningLayer(Layer* layer) { layer_ = layer; }

private:
    PropertyNode(const QString& matchName, Grouping grouping, const QString& displayName);
    void touch();

    quint64 uid_;
    QString matchName_;
    QString displayName_;
    Grouping grouping_;
    PropertyNode* parent_ = nullptr;
    Layer* layer_ = nullptr; // roots only
    std::vector<Ptr> children_;
    quint32 dynamicFlags_ = kDynFlagEnabled;

    Value value_;
    std::vector<Keyframe> keys_;

    bool hasExpression_ = false;
    bool expressionEnabled_ = false;
    QString expression_;
    Value expressionValue_;

    bool separated_ = false;
    MaskAttributes mask_;
};

} // namespace standin
