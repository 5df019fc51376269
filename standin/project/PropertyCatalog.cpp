#include "project/PropertyCatalog.h"

#include "project/MatchNames.h"

#include <initializer_list>

namespace standin {

namespace {

struct LeafDef {
    const char* matchName;
    const char* displayName;
    ValueType type;
    double v[4];
};

// Every leaf the host knows, with its default value. A match name appears
// once: where two items share a leaf ("Composite Order"), they share its
// default.
const LeafDef kLeaves[] = {
    // layer transform
    {match::kAnchorPoint, "Anchor Point", ValueType::ThreeD, {0, 0, 0, 0}},
    {match::kPosition, "Position", ValueType::ThreeD, {0, 0, 0, 0}},
    {match::kPositionX, "X Position", ValueType::OneD, {0, 0, 0, 0}},
    {match::kPositionY, "Y Position", ValueType::OneD, {0, 0, 0, 0}},
    {match::kScale, "Scale", ValueType::ThreeD, {100, 100, 100, 0}},
    {match::kRotation, "Rotation", ValueType::OneD, {0, 0, 0, 0}},
    {match::kOpacity, "Opacity", ValueType::OneD, {100, 0, 0, 0}},
    // masks
    {match::kMaskShape, "Mask Path", ValueType::Shape, {0, 0, 0, 0}},
    {match::kMaskFeather, "Mask Feather", ValueType::TwoD, {0, 0, 0, 0}},
    {match::kMaskOpacity, "Mask Opacity", ValueType::OneD, {100, 0, 0, 0}},
    {match::kMaskOffset, "Mask Expansion", ValueType::OneD, {0, 0, 0, 0}},
    // vector transform
    {match::kVectorAnchor, "Anchor Point", ValueType::TwoD, {0, 0, 0, 0}},
    {match::kVectorPosition, "Position", ValueType::TwoD, {0, 0, 0, 0}},
    {match::kVectorScale, "Scale", ValueType::TwoD, {100, 100, 0, 0}},
    {match::kVectorRotation, "Rotation", ValueType::OneD, {0, 0, 0, 0}},
    {match::kVectorGroupOpacity, "Opacity", ValueType::OneD, {100, 0, 0, 0}},
    // rectangle, ellipse, star, path
    {match::kRectSize, "Size", ValueType::TwoD, {100, 100, 0, 0}},
    {match::kRectPosition, "Position", ValueType::TwoD, {0, 0, 0, 0}},
    {match::kRectRoundness, "Roundness", ValueType::OneD, {0, 0, 0, 0}},
    {match::kEllipseSize, "Size", ValueType::TwoD, {100, 100, 0, 0}},
    {match::kEllipsePosition, "Position", ValueType::TwoD, {0, 0, 0, 0}},
    {match::kStarType, "Type", ValueType::OneD, {1, 0, 0, 0}},
    {match::kStarPoints, "Points", ValueType::OneD, {5, 0, 0, 0}},
    {match::kStarPosition, "Position", ValueType::TwoD, {0, 0, 0, 0}},
    {match::kStarRotation, "Rotation", ValueType::OneD, {0, 0, 0, 0}},
    {match::kStarInnerRadius, "Inner Radius", ValueType::OneD, {50, 0, 0, 0}},
    {match::kStarOuterRadius, "Outer Radius", ValueType::OneD, {100, 0, 0, 0}},
    {match::kStarInnerRoundness, "Inner Roundness", ValueType::OneD, {0, 0, 0, 0}},
    {match::kStarOuterRoundness, "Outer Roundness", ValueType::OneD, {0, 0, 0, 0}},
    {match::kPathShape, "Path", ValueType::Shape, {0, 0, 0, 0}},
    // merge, stroke, fill (colours: alpha, red, green, blue)
    {match::kMergeType, "Mode", ValueType::OneD, {1, 0, 0, 0}},
    {match::kCompositeOrder, "Composite", ValueType::OneD, {1, 0, 0, 0}},
    {match::kStrokeColor, "Color", ValueType::Color, {1, 1, 1, 1}},
    {match::kStrokeOpacity, "Opacity", ValueType::OneD, {100, 0, 0, 0}},
    {match::kStrokeWidth, "Stroke Width", ValueType::OneD, {2, 0, 0, 0}},
    {match::kStrokeLineCap, "Line Cap", ValueType::OneD, {1, 0, 0, 0}},
    {match::kStrokeLineJoin, "Line Join", ValueType::OneD, {1, 0, 0, 0}},
    {match::kStrokeMiterLimit, "Miter Limit", ValueType::OneD, {4, 0, 0, 0}},
    {match::kFillRule, "Fill Rule", ValueType::OneD, {1, 0, 0, 0}},
    {match::kFillColor, "Color", ValueType::Color, {1, 1, 0, 0}},
    {match::kFillOpacity, "Opacity", ValueType::OneD, {100, 0, 0, 0}},
};

struct ItemDef {
    const char* matchName;
    const char* defaultName;
    std::initializer_list<const char*> leaves;
};

const ItemDef kItems[] = {
    {match::kVectorGroup, "Group", {}},
    {match::kRect, "Rectangle Path", {match::kRectSize, match::kRectPosition, match::kRectRoundness}},
    {match::kEllipse, "Ellipse Path", {match::kEllipseSize, match::kEllipsePosition}},
    {match::kStar, "Polystar Path",
     {match::kStarType, match::kStarPoints, match::kStarPosition, match::kStarRotation, match::kStarInnerRadius,
      match::kStarOuterRadius, match::kStarInnerRoundness, match::kStarOuterRoundness}},
    {match::kPathItem, "Path", {match::kPathShape}},
    {match::kMerge, "Merge Paths", {match::kMergeType}},
    {match::kStroke, "Stroke",
     {match::kCompositeOrder, match::kStrokeColor, match::kStrokeOpacity, match::kStrokeWidth,
      match::kStrokeLineCap, match::kStrokeLineJoin, match::kStrokeMiterLimit}},
    {match::kFill, "Fill", {match::kCompositeOrder, match::kFillRule, match::kFillColor, match::kFillOpacity}},
};

const LeafDef* findLeaf(const QString& matchName)
{
    for (const LeafDef& d : kLeaves)
        if (matchName == QLatin1String(d.matchName))
            return &d;
    return nullptr;
}

const ItemDef* findItem(const QString& matchName)
{
    for (const ItemDef& d : kItems)
        if (matchName == QLatin1String(d.matchName))
            return &d;
    return nullptr;
}

PropertyNode::Ptr makeLeafFromDef(const LeafDef& d)
{
    return PropertyNode::makeLeaf(QLatin1String(d.matchName), QLatin1String(d.displayName),
                                  defaultLeafValue(QLatin1String(d.matchName)));
}

PropertyNode::Ptr makeLeafNamed(const char* matchName)
{
    return makeLeafFromDef(*findLeaf(QLatin1String(matchName)));
}

PropertyNode::Ptr makeVectorTransform()
{
    auto group = PropertyNode::makeGroup(QLatin1String(match::kVectorTransformGroup), Grouping::NamedGroup,
                                         QStringLiteral("Transform"));
    for (const char* leaf : {match::kVectorAnchor, match::kVectorPosition, match::kVectorScale,
                             match::kVectorRotation, match::kVectorGroupOpacity})
        group->insertChild(makeLeafNamed(leaf));
    return group;
}

} // namespace

const QStringList& shapeItemMatchNames()
{
    static const QStringList names = [] {
        QStringList l;
        for (const ItemDef& d : kItems)
            l << QLatin1String(d.matchName);
        return l;
    }();
    return names;
}

bool isShapeItemMatchName(const QString& matchName)
{
    return findItem(matchName) != nullptr;
}

QString shapeItemDefaultName(const QString& matchName)
{
    const ItemDef* d = findItem(matchName);
    return d ? QLatin1String(d->defaultName) : QString();
}

bool isForeignShapeItemMatchName(const QString& matchName)
{
    return matchName.startsWith(QLatin1String("ADBE Vector ")) && !isShapeItemMatchName(matchName)
        && !findLeaf(matchName) && matchName != QLatin1String(match::kVectorTransformGroup)
        && matchName != QLatin1String(match::kVectorLayer);
}

bool indexedGroupAccepts(const PropertyNode& group, const QString& childMatchName)
{
    if (group.grouping() != Grouping::IndexedGroup)
        return false;
    const bool contents = group.matchName() == QLatin1String(match::kRootVectorsGroup)
        || group.matchName() == QLatin1String(match::kVectorsGroup);
    return contents && isShapeItemMatchName(childMatchName);
}

PropertyNode::Ptr makeShapeItem(const QString& matchName, const QString& displayName, bool foreign)
{
    const ItemDef* d = findItem(matchName);
    if (!d && foreign && isForeignShapeItemMatchName(matchName))
        return PropertyNode::makeGroup(matchName, Grouping::NamedGroup,
                                       displayName.isEmpty() ? matchName : displayName);
    if (!d)
        return nullptr;
    const QString name = displayName.isEmpty() ? QLatin1String(d->defaultName) + QStringLiteral(" 1") : displayName;
    auto item = PropertyNode::makeGroup(matchName, Grouping::NamedGroup, name);
    if (matchName == QLatin1String(match::kVectorGroup)) {
        item->insertChild(PropertyNode::makeGroup(QLatin1String(match::kVectorsGroup), Grouping::IndexedGroup,
                                                  QStringLiteral("Contents")));
        item->insertChild(makeVectorTransform());
    }
    for (const char* leaf : d->leaves)
        item->insertChild(makeLeafNamed(leaf));
    return item;
}

QString nextShapeItemName(const PropertyNode& group, const QString& matchName)
{
    const QString base = shapeItemDefaultName(matchName);
    for (int n = 1;; ++n) {
        const QString candidate = base + QLatin1Char(' ') + QString::number(n);
        bool taken = false;
        for (int i = 0; i < group.childCount() && !taken; ++i)
            taken = group.child(i)->displayName() == candidate;
        if (!taken)
            return candidate;
    }
}

PropertyNode::Ptr makeMaskAtom(const QString& name)
{
    auto atom = PropertyNode::makeGroup(QLatin1String(match::kMaskAtom), Grouping::NamedGroup, name);
    for (const char* leaf : {match::kMaskShape, match::kMaskFeather, match::kMaskOpacity, match::kMaskOffset})
        atom->insertChild(makeLeafNamed(leaf));
    return atom;
}

PropertyNode::Ptr makeTransformGroup()
{
    auto group = PropertyNode::makeGroup(QLatin1String(match::kTransformGroup), Grouping::NamedGroup,
                                         QStringLiteral("Transform"));
    for (const char* leaf : {match::kAnchorPoint, match::kPosition, match::kScale, match::kRotation, match::kOpacity})
        group->insertChild(makeLeafNamed(leaf));
    return group;
}

Value defaultLeafValue(const QString& matchName)
{
    const LeafDef* d = findLeaf(matchName);
    if (!d)
        return Value();
    Value v = Value::zero(d->type);
    for (int i = 0; i < 4; ++i)
        v.v[i] = d->v[i];
    return v;
}

QString leafDisplayName(const QString& matchName)
{
    const LeafDef* d = findLeaf(matchName);
    return d ? QLatin1String(d->displayName) : QString();
}

} // namespace standin
