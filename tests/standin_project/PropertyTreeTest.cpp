// Property trees: layer roots, shape contents by match name, index and depth,
// item defaults and which groups accept what.
#include "ProjectTestUtil.h"

#include "project/MatchNames.h"
#include "project/PropertyCatalog.h"

#include <gtest/gtest.h>

using namespace standin;

namespace {

QStringList childNames(const PropertyNode* n)
{
    QStringList names;
    for (int i = 0; i < n->childCount(); ++i)
        names << n->child(i)->matchName();
    return names;
}

std::unique_ptr<Project> shapeProject()
{
    return test::loadText(R"({"compositions": [{"id": 1, "name": "C", "width": 500, "height": 500,
        "frameRate": 30, "duration": 2, "layers": [{"id": 7, "type": "shape", "contents": [
          {"matchName": "ADBE Vector Group", "name": "Outer", "contents": [
              {"matchName": "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Size": [20, 10]}},
              {"matchName": "ADBE Vector Graphic - Fill", "flags": 0}],
           "transform": {"ADBE Vector Position": [3, 4]}},
          {"matchName": "ADBE Vector Shape - Star", "name": "Lone Star"}]}]}]})");
}

} // namespace

TEST(PropertyTree, LayerRootsByKind)
{
    const auto av = Layer::create(LayerKind::Solid);
    EXPECT_EQ(av->root()->matchName(), QLatin1String(match::kAvLayer));
    EXPECT_EQ(childNames(av->root()), (QStringList{match::kMaskParade, match::kTransformGroup}));
    const auto shape = Layer::create(LayerKind::Shape);
    EXPECT_EQ(childNames(shape->root()),
              (QStringList{match::kMaskParade, match::kRootVectorsGroup, match::kTransformGroup}));
    EXPECT_EQ(Layer::create(LayerKind::Text)->root()->matchName(), QLatin1String(match::kTextLayer));
    const auto camera = Layer::create(LayerKind::Camera);
    EXPECT_EQ(camera->root()->matchName(), QLatin1String(match::kCameraLayer));
    EXPECT_EQ(camera->maskParade(), nullptr);
    EXPECT_EQ(Layer::create(LayerKind::Light)->root()->matchName(), QLatin1String(match::kLightLayer));

    // the transform leaves, their depth and defaults
    const PropertyNode* scale = av->transformStream(TransformStream::Scale);
    EXPECT_EQ(scale->matchName(), QLatin1String(match::kScale));
    EXPECT_EQ(scale->depth(), 2);
    EXPECT_EQ(scale->staticValue(), Value::threeD(100, 100, 100));
    EXPECT_TRUE(av->transformStream(TransformStream::Position)->isSpatial());
    EXPECT_FALSE(scale->isSpatial());
    EXPECT_EQ(av->root()->childByMatchName(QLatin1String(match::kVectorTransformGroup)), nullptr);
    EXPECT_EQ(av->root()->depth(), 0);
    EXPECT_EQ(av->root()->layer(), av.get());
    EXPECT_EQ(av->root()->grouping(), Grouping::NamedGroup);
    EXPECT_EQ(av->maskParade()->grouping(), Grouping::IndexedGroup);
}

TEST(PropertyTree, ShapeContentsByMatchNameIndexAndDepth)
{
    auto p = shapeProject();
    ASSERT_TRUE(p);
    const Layer* l = p->compositions()[0]->layer(0);
    const PropertyNode* contents = l->rootVectorsGroup();
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->depth(), 1);
    ASSERT_EQ(contents->childCount(), 2);

    const PropertyNode* group = contents->child(0);
    EXPECT_EQ(group->matchName(), QLatin1String(match::kVectorGroup));
    EXPECT_EQ(group->displayName(), QStringLiteral("Outer"));
    EXPECT_EQ(group->depth(), 2);
    EXPECT_EQ(group->indexInParent(), 0);
    EXPECT_EQ(childNames(group), (QStringList{match::kVectorsGroup, match::kVectorTransformGroup}));

    const PropertyNode* inner = group->childByMatchName(QLatin1String(match::kVectorsGroup));
    EXPECT_EQ(inner->grouping(), Grouping::IndexedGroup);
    EXPECT_EQ(inner->depth(), 3);
    const PropertyNode* rect = inner->child(0);
    EXPECT_EQ(rect->displayName(), QStringLiteral("Rectangle Path 1"));
    EXPECT_EQ(rect->depth(), 4);
    const PropertyNode* size = rect->childByMatchName(QLatin1String(match::kRectSize));
    EXPECT_EQ(size->depth(), 5);
    EXPECT_EQ(size->staticValue(), Value::twoD(20, 10));
    EXPECT_EQ(size->parent()->parent()->parent(), group);
    EXPECT_EQ(rect->childByMatchName(QLatin1String(match::kRectRoundness))->staticValue(), Value::oneD(0));
    EXPECT_FALSE(inner->child(1)->isEnabled());
    EXPECT_EQ(inner->child(1)->childByMatchName(QLatin1String(match::kFillColor))->staticValue(),
              Value::color(1, 0, 0, 1));

    const PropertyNode* xf = group->childByMatchName(QLatin1String(match::kVectorTransformGroup));
    EXPECT_EQ(xf->childByMatchName(QLatin1String(match::kVectorPosition))->staticValue(), Value::twoD(3, 4));
    EXPECT_EQ(xf->childByMatchName(QLatin1String(match::kVectorScale))->staticValue(), Value::twoD(100, 100));
    EXPECT_TRUE(xf->childByMatchName(QLatin1String(match::kVectorPosition))->isSpatial());

    // whole-tree search finds the first in depth-first order
    EXPECT_EQ(l->root()->findDescendant(QLatin1String(match::kRectSize)), size);
    // lookups are exact and direct only
    EXPECT_EQ(contents->childByMatchName(QLatin1String(match::kRect)), nullptr);
    EXPECT_EQ(contents->childByMatchName(QStringLiteral("adbe vector group")), nullptr);
}

TEST(PropertyTree, ShapeItemDefaults)
{
    auto star = makeShapeItem(QLatin1String(match::kStar));
    ASSERT_TRUE(star);
    EXPECT_EQ(star->displayName(), QStringLiteral("Polystar Path 1"));
    EXPECT_EQ(childNames(star.get()), (QStringList{match::kStarType, match::kStarPoints, match::kStarPosition,
                                             match::kStarRotation, match::kStarInnerRadius, match::kStarOuterRadius,
                                             "ADBE Vector Star Inner Roundess", "ADBE Vector Star Outer Roundess"}));
    EXPECT_EQ(star->child(0)->staticValue(), Value::oneD(1));
    EXPECT_EQ(star->child(1)->staticValue(), Value::oneD(5));
    EXPECT_EQ(star->child(4)->staticValue(), Value::oneD(50));
    EXPECT_EQ(star->child(5)->staticValue(), Value::oneD(100));

    auto stroke = makeShapeItem(QLatin1String(match::kStroke));
    EXPECT_EQ(stroke->childByMatchName(QLatin1String(match::kStrokeColor))->staticValue(), Value::color(1, 1, 1, 1));
    EXPECT_EQ(stroke->childByMatchName(QLatin1String(match::kStrokeWidth))->staticValue(), Value::oneD(2));
    EXPECT_EQ(stroke->childByMatchName(QLatin1String(match::kStrokeMiterLimit))->staticValue(), Value::oneD(4));
    auto path = makeShapeItem(QLatin1String(match::kPathItem));
    EXPECT_EQ(path->child(0)->matchName(), QLatin1String(match::kPathShape));
    EXPECT_EQ(path->child(0)->valueType(), ValueType::Shape);
    EXPECT_EQ(makeShapeItem(QLatin1String(match::kMerge))->child(0)->staticValue(), Value::oneD(1));
    EXPECT_EQ(makeShapeItem(QLatin1String(match::kVectorTransformGroup)), nullptr);
    EXPECT_EQ(makeShapeItem(QStringLiteral("ADBE Vector Nothing")), nullptr);

    const QStringList defaults{"Group", "Rectangle Path", "Ellipse Path", "Polystar Path",
                               "Path", "Merge Paths", "Stroke", "Fill"};
    ASSERT_EQ(shapeItemMatchNames().size(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(shapeItemDefaultName(shapeItemMatchNames()[i]), defaults[i]);
}

TEST(PropertyTree, IndexedGroupsAcceptShapeItemsOnly)
{
    auto p = shapeProject();
    ASSERT_TRUE(p);
    PropertyNode* contents = p->compositions()[0]->layer(0)->rootVectorsGroup();
    EXPECT_TRUE(indexedGroupAccepts(*contents, QLatin1String(match::kEllipse)));
    EXPECT_FALSE(indexedGroupAccepts(*contents, QLatin1String(match::kVectorTransformGroup)));
    EXPECT_FALSE(indexedGroupAccepts(*contents->child(0), QLatin1String(match::kEllipse))); // a named group
    const PropertyNode* parade = p->compositions()[0]->layer(0)->maskParade();
    EXPECT_FALSE(indexedGroupAccepts(*parade, QLatin1String(match::kEllipse)));
    EXPECT_EQ(nextShapeItemName(*contents, QLatin1String(match::kStar)), QStringLiteral("Polystar Path 1"));
    contents->insertChild(makeShapeItem(QLatin1String(match::kStar)));
    EXPECT_EQ(nextShapeItemName(*contents, QLatin1String(match::kStar)), QStringLiteral("Polystar Path 2"));
    EXPECT_EQ(contents->childCount(), 3);
}

TEST(PropertyTree, RemovedNodesAndDeletedLayersAreNotLive)
{
    auto p = shapeProject();
    ASSERT_TRUE(p);
    Composition* c = p->compositions()[0];
    Layer* l = c->layer(0);
    PropertyNode* contents = l->rootVectorsGroup();
    PropertyNode* star = contents->child(1);
    const std::weak_ptr<PropertyNode> weakStar = star->weakFromThis();
    EXPECT_TRUE(star->isLive());
    contents->removeChild(1);
    EXPECT_FALSE(star->isLive()); // still readable, not live
    EXPECT_FALSE(weakStar.expired());
    EXPECT_EQ(star->parent(), nullptr);

    PropertyNode* size = contents->child(0)->findDescendant(QLatin1String(match::kRectSize));
    EXPECT_TRUE(size->isLive());
    EXPECT_EQ(c->deleteLayer(l), A_Err_NONE);
    EXPECT_TRUE(l->isDeleted());
    EXPECT_FALSE(size->isLive());
    EXPECT_EQ(size->layer(), l);

    // uids are unique across copies
    auto copy = l->root()->clone();
    EXPECT_NE(copy->uid(), l->root()->uid());
    EXPECT_EQ(copy->layer(), nullptr);
}

TEST(PropertyTree, MatchNamesAreComparedExactly)
{
    struct Row {
        QString name;
        const char* wanted;
        bool same;
    };
    const Row rows[] = {
        {QStringLiteral("ADBE Scale"), "ADBE Scale", true},
        {QString(), "", true},
        {QStringLiteral("ADBE Scale"), "ADBE Scal", false},
        {QStringLiteral("ADBE Scal"), "ADBE Scale", false},
        {QStringLiteral("BDBE Scale"), "ADBE Scale", false},
        {QStringLiteral("ADBE Scale"), "ADBE ScalE", false},
        {QStringLiteral("adbe scale"), "ADBE Scale", false},
        {QString::fromUtf8("ADBE \xC3\x9C"), "ADBE \xDC", true},          // U+00DC, one Latin-1 byte
        {QString::fromUtf8("ADBE \xC4\x9C"), "ADBE \x1C", false},         // U+011C is not Latin-1
        {QString::fromUtf8("ADBE \xC5\x93"), "ADBE \x53", false},         // U+0153 against 'S'
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.wanted);
        EXPECT_EQ(sameMatchName(row.name, QLatin1String(row.wanted)), row.same);
        EXPECT_EQ(sameMatchName(row.name, QLatin1String(row.wanted)), row.name == QLatin1String(row.wanted));
    }
}

TEST(PropertyTree, ChildByLatinNameIsTheFirstOfThatName)
{
    auto group = PropertyNode::makeGroup(QStringLiteral("G"), Grouping::NamedGroup, QString());
    PropertyNode* first = group->insertChild(PropertyNode::makeLeaf(QStringLiteral("ADBE Opacity"), QString(), Value::oneD(1)));
    group->insertChild(PropertyNode::makeLeaf(QStringLiteral("ADBE Opacitz"), QString(), Value::oneD(2)));
    group->insertChild(PropertyNode::makeLeaf(QStringLiteral("ADBE Opacity"), QString(), Value::oneD(3)));
    EXPECT_EQ(group->childByMatchName(QLatin1String("ADBE Opacity")), first);
    EXPECT_EQ(group->childByMatchName(QLatin1String("ADBE Opacitz"))->staticValue().v[0], 2.0);
    EXPECT_EQ(group->childByMatchName(QLatin1String("ADBE Opacit")), nullptr);
}
