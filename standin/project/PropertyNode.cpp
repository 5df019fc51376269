#include "project/PropertyNode.h"

#include "project/Layer.h"
#include "project/MatchNames.h"
#include "project/Time.h"
#include "project/Uid.h"

#include <algorithm>

namespace standin {

bool MaskAttributes::operator==(const MaskAttributes& o) const
{
    return mode == o.mode && inverted == o.inverted && locked == o.locked && color.alpha == o.color.alpha
        && color.red == o.color.red && color.green == o.color.green && color.blue == o.color.blue;
}

PropertyNode::PropertyNode(const QString& matchName, Grouping grouping, const QString& displayName)
    : uid_(newUid()), matchName_(matchName), displayName_(displayName), grouping_(grouping)
{
}

PropertyNode::~PropertyNode()
{
    // Children kept alive elsewhere must not point at a dead parent.
    for (const Ptr& c : children_)
        c->parent_ = nullptr;
}

PropertyNode::Ptr PropertyNode::makeGroup(const QString& matchName, Grouping grouping, const QString& displayName)
{
    if (grouping == Grouping::Leaf)
        grouping = Grouping::NamedGroup;
    return Ptr(new PropertyNode(matchName, grouping, displayName));
}

PropertyNode::Ptr PropertyNode::makeLeaf(const QString& matchName, const QString& displayName,
                                         const Value& defaultValue)
{
    Ptr node(new PropertyNode(matchName, Grouping::Leaf, displayName));
    node->value_ = defaultValue;
    return node;
}

PropertyNode::Ptr PropertyNode::clone() const
{
    Ptr copy(new PropertyNode(matchName_, grouping_, displayName_));
    copy->dynamicFlags_ = dynamicFlags_;
    copy->value_ = value_;
    copy->keys_ = keys_;
    copy->hasExpression_ = hasExpression_;
    copy->expressionEnabled_ = expressionEnabled_;
    copy->expression_ = expression_;
    copy->expressionValue_ = expressionValue_;
    copy->separated_ = separated_;
    copy->mask_ = mask_;
    for (const Ptr& c : children_) {
        Ptr cc = c->clone();
        cc->parent_ = copy.get();
        copy->children_.push_back(std::move(cc));
    }
    return copy;
}

void PropertyNode::touch()
{
    if (Layer* l = layer())
        l->touch();
}

void PropertyNode::setDisplayName(const QString& name)
{
    displayName_ = name;
    touch();
}

int PropertyNode::depth() const
{
    int d = 0;
    for (const PropertyNode* p = parent_; p; p = p->parent_)
        ++d;
    return d;
}

int PropertyNode::indexInParent() const
{
    if (!parent_)
        return -1;
    for (size_t i = 0; i < parent_->children_.size(); ++i)
        if (parent_->children_[i].get() == this)
            return int(i);
    return -1;
}

PropertyNode* PropertyNode::root()
{
    PropertyNode* n = this;
    while (n->parent_)
        n = n->parent_;
    return n;
}

Layer* PropertyNode::layer() const
{
    const PropertyNode* n = this;
    while (n->parent_)
        n = n->parent_;
    return n->layer_;
}

bool PropertyNode::isLive() const
{
    const Layer* l = layer();
    return l && !l->isDeleted();
}

PropertyNode* PropertyNode::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    return children_[size_t(index)].get();
}

PropertyNode* PropertyNode::childByMatchName(const QString& matchName) const
{
    for (const Ptr& c : children_)
        if (c->matchName_ == matchName)
            return c.get();
    return nullptr;
}

PropertyNode* PropertyNode::childByMatchName(QLatin1String matchName) const
{
    for (const Ptr& c : children_)
        if (sameMatchName(c->matchName_, matchName))
            return c.get();
    return nullptr;
}

bool sameMatchName(const QString& name, QLatin1String wanted)
{
    // Each Latin-1 character is one UTF-16 unit of the same value. Match
    // names share their beginnings ("ADBE "), so they are compared from the
    // end.
    if (name.size() != wanted.size())
        return false;
    const QChar* units = name.constData();
    const char* chars = wanted.data();
    for (qsizetype i = wanted.size(); i-- > 0;)
        if (units[i].unicode() != static_cast<unsigned char>(chars[i]))
            return false;
    return true;
}

PropertyNode* PropertyNode::findDescendant(const QString& matchName) const
{
    for (const Ptr& c : children_) {
        if (c->matchName_ == matchName)
            return c.get();
        if (PropertyNode* d = c->findDescendant(matchName))
            return d;
    }
    return nullptr;
}

namespace {

// Starts at 1: caches hold 0 while empty.
quint64 shapeGenerationNow = 1;

} // namespace

quint64 PropertyNode::shapeGeneration()
{
    return shapeGenerationNow;
}

PropertyNode* PropertyNode::insertChild(Ptr child, int index)
{
    if (!child || isLeaf())
        return nullptr;
    ++shapeGenerationNow;
    if (child->parent_) {
        const int at = child->indexInParent();
        if (at >= 0)
            child->parent_->children_.erase(child->parent_->children_.begin() + at);
    }
    child->parent_ = this;
    child->layer_ = nullptr;
    PropertyNode* raw = child.get();
    if (index < 0 || index >= childCount())
        children_.push_back(std::move(child));
    else
        children_.insert(children_.begin() + index, std::move(child));
    touch();
    return raw;
}

PropertyNode::Ptr PropertyNode::removeChild(int index)
{
    if (index < 0 || index >= childCount())
        return nullptr;
    ++shapeGenerationNow;
    touch();
    Layer* owner = layer();
    Ptr c = children_[size_t(index)];
    children_.erase(children_.begin() + index);
    c->parent_ = nullptr;
    if (owner)
        owner->retireNode(c);
    return c;
}

void PropertyNode::setDynamicFlags(quint32 flags)
{
    dynamicFlags_ = flags;
    touch();
}

bool PropertyNode::isSpatial() const
{
    return isLeaf()
        && (matchName_ == QLatin1String(match::kAnchorPoint) || matchName_ == QLatin1String(match::kPosition)
            || matchName_ == QLatin1String(match::kVectorPosition)
            || matchName_ == QLatin1String(match::kVectorAnchor));
}

ValueType PropertyNode::tangentType() const
{
    if (!isSpatial())
        return ValueType::None;
    return valueType() == ValueType::ThreeD ? ValueType::ThreeD : ValueType::TwoD;
}

bool PropertyNode::setStaticValue(const Value& value)
{
    if (!isLeaf() || value.type != valueType())
        return false;
    value_ = value;
    touch();
    return true;
}

const Keyframe* PropertyNode::key(int index) const
{
    if (index < 0 || index >= keyCount())
        return nullptr;
    return &keys_[size_t(index)];
}

int PropertyNode::findKey(const A_Time& time) const
{
    if (!isValidTime(time))
        return -1;
    const auto it = std::lower_bound(keys_.begin(), keys_.end(), time,
                                     [](const Keyframe& k, const A_Time& t) { return timeBefore(k.time, t); });
    return it != keys_.end() && timesEqual(it->time, time) ? int(it - keys_.begin()) : -1;
}

int PropertyNode::addKey(const A_Time& time, const Value& value)
{
    if (!isLeaf() || value.type != valueType() || !isValidTime(time))
        return -1;
    auto it = std::lower_bound(keys_.begin(), keys_.end(), time,
                               [](const Keyframe& k, const A_Time& t) { return timeBefore(k.time, t); });
    touch();
    if (it != keys_.end() && timesEqual(it->time, time)) {
        it->value = value;
        return int(it - keys_.begin());
    }
    Keyframe k;
    k.time = time;
    k.value = value;
    k.inTangent = Value::zero(tangentType());
    k.outTangent = k.inTangent;
    it = keys_.insert(it, k);
    return int(it - keys_.begin());
}

std::vector<int> PropertyNode::addKeys(const std::vector<std::pair<A_Time, Value>>& keys)
{
    std::vector<A_Time> created;
    for (const auto& [time, value] : keys) {
        const bool existed = findKey(time) >= 0;
        if (addKey(time, value) >= 0 && !existed)
            created.push_back(time);
    }
    if (isSpatial())
        for (const A_Time& t : created)
            setAutoTangents(findKey(t));
    std::vector<int> indices;
    indices.reserve(keys.size());
    for (const auto& [time, value] : keys)
        indices.push_back(value.type == valueType() ? findKey(time) : -1);
    return indices;
}

void PropertyNode::setAutoTangents(int index)
{
    if (!isSpatial() || index < 0 || index >= keyCount())
        return;
    Keyframe& k = keys_[size_t(index)];
    Value out = Value::zero(tangentType());
    if (index > 0 && index + 1 < keyCount()) {
        const Value& prev = keys_[size_t(index - 1)].value;
        const Value& next = keys_[size_t(index + 1)].value;
        for (int i = 0; i < componentCount(out.type); ++i)
            out.v[i] = (next.v[i] - prev.v[i]) / 6.0;
    }
    Value in = out;
    for (int i = 0; i < componentCount(in.type); ++i)
        in.v[i] = -out.v[i];
    k.inTangent = in;
    k.outTangent = out;
    touch();
}

bool PropertyNode::setKeyTangents(int index, const Value& inTangent, const Value& outTangent)
{
    if (index < 0 || index >= keyCount() || !isSpatial())
        return false;
    if (inTangent.type != tangentType() || outTangent.type != tangentType())
        return false;
    keys_[size_t(index)].inTangent = inTangent;
    keys_[size_t(index)].outTangent = outTangent;
    touch();
    return true;
}

void PropertyNode::setKeys(std::vector<Keyframe> keys)
{
    std::stable_sort(keys.begin(), keys.end(),
                     [](const Keyframe& a, const Keyframe& b) { return timeBefore(a.time, b.time); });
    keys_.clear();
    for (Keyframe& k : keys) {
        if (k.value.type != valueType() || !isValidTime(k.time))
            continue;
        if (k.inTangent.type != tangentType())
            k.inTangent = Value::zero(tangentType());
        if (k.outTangent.type != tangentType())
            k.outTangent = Value::zero(tangentType());
        if (!keys_.empty() && timesEqual(keys_.back().time, k.time))
            keys_.back() = std::move(k);
        else
            keys_.push_back(std::move(k));
    }
    touch();
}

bool PropertyNode::removeKey(int index)
{
    if (index < 0 || index >= keyCount())
        return false;
    if (keyCount() == 1)
        value_ = keys_.front().value;
    keys_.erase(keys_.begin() + index);
    touch();
    return true;
}

bool PropertyNode::setExpression(const QString& text, bool enabled, const Value& postExpressionValue)
{
    if (!isLeaf() || postExpressionValue.type != valueType())
        return false;
    hasExpression_ = true;
    expression_ = text;
    expressionEnabled_ = enabled;
    expressionValue_ = postExpressionValue;
    touch();
    return true;
}

void PropertyNode::setExpressionEnabled(bool enabled)
{
    if (!hasExpression_)
        return;
    expressionEnabled_ = enabled;
    touch();
}

Value PropertyNode::keyedValueAt(const A_Time& t) const
{
    if (keys_.empty() || !isValidTime(t))
        return keys_.empty() ? value_ : keys_.front().value;
    if (compareTimes(t, keys_.front().time) <= 0)
        return keys_.front().value;
    if (compareTimes(t, keys_.back().time) >= 0)
        return keys_.back().value;
    // keys_[i].time <= t < keys_[i + 1].time
    const auto next = std::upper_bound(keys_.begin(), keys_.end(), t,
                                       [](const A_Time& v, const Keyframe& k) { return timeBefore(v, k.time); });
    const size_t i = size_t(next - keys_.begin()) - 1;
    const Keyframe& a = keys_[i];
    const Keyframe& b = keys_[i + 1];
    if (valueType() == ValueType::Shape)
        return a.value;
    const double ta = timeToSeconds(a.time);
    const double tb = timeToSeconds(b.time);
    const double f = tb > ta ? (timeToSeconds(t) - ta) / (tb - ta) : 0.0;
    return interpolate(a.value, b.value, f);
}

Value PropertyNode::valueAt(const A_Time& t, bool preExpression) const
{
    if (separated_) {
        const PropertyNode* fx = separationFollower(0);
        const PropertyNode* fy = separationFollower(1);
        Value v = value_;
        if (fx)
            v.v[0] = fx->valueAt(t, preExpression).v[0];
        if (fy)
            v.v[1] = fy->valueAt(t, preExpression).v[0];
        return v;
    }
    if (!preExpression && hasExpression_ && expressionEnabled_)
        return expressionValue_;
    return keyedValueAt(t);
}

bool PropertyNode::isTimeVarying() const
{
    if (separated_)
        return false;
    return !keys_.empty() || (hasExpression_ && expressionEnabled_);
}

PropertyNode* PropertyNode::separationFollower(int dim) const
{
    if (!separated_ || !parent_ || (dim != 0 && dim != 1))
        return nullptr;
    return parent_->childByMatchName(QLatin1String(dim == 0 ? match::kPositionX : match::kPositionY));
}

void PropertyNode::setMaskAttributes(const MaskAttributes& attributes)
{
    mask_ = attributes;
    touch();
}

} // namespace standin
