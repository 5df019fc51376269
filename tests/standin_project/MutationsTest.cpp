// The host's edits to the layer stack and the project.
#include "ProjectTestUtil.h"

#include "project/MatchNames.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>

using namespace standin;

namespace {

QStringList order(const Composition* c)
{
    QStringList names;
    for (const auto& l : c->layers())
        names << l->name();
    return names;
}

} // namespace

TEST(Mutations, DuplicateLayerGoesDirectlyAboveItsSource)
{
    auto p = test::stackProject(3);
    ASSERT_TRUE(p);
    Composition* c = p->compositions()[0];
    Layer* source = c->layer(1);
    source->setLabel(7);
    source->addMask();
    source->transformStream(TransformStream::Position)->addKey(A_Time{1, 25}, Value::threeD(1, 2, 0));
    source->setParentUnchecked(c->layer(2));
    p->clearModified();

    Layer* copy = c->duplicateLayer(source);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(p->isModified());
    EXPECT_EQ(c->indexOf(copy), 1);
    EXPECT_EQ(c->indexOf(source), 2);
    EXPECT_EQ(order(c), (QStringList{"L1", "L2", "L2", "L3"}));
    EXPECT_EQ(copy->id(), 4u); // a new ID
    EXPECT_EQ(copy->label(), 7);
    EXPECT_EQ(copy->maskCount(), 1);
    EXPECT_EQ(copy->parent(), c->layer(3));
    EXPECT_EQ(copy->transformStream(TransformStream::Position)->keyCount(), 1);
    EXPECT_NE(copy->maskAtom(0), source->maskAtom(0)); // a deep copy
    EXPECT_EQ(copy->source(), source->source());

    // three copies of a "template" at L land at L, L+1, L+2 above it
    Layer* tmpl = c->layer(0);
    for (int i = 0; i < 3; ++i) {
        Layer* d = c->duplicateLayer(tmpl);
        d->setName(QStringLiteral("M%1").arg(i));
        EXPECT_EQ(c->reorderLayer(d, i), A_Err_NONE);
    }
    EXPECT_EQ(c->deleteLayer(tmpl), A_Err_NONE);
    EXPECT_EQ(order(c), (QStringList{"M0", "M1", "M2", "L2", "L2", "L3"}));
}

TEST(Mutations, ReorderUsesTheFinalIndex)
{
    auto p = test::stackProject(4);
    ASSERT_TRUE(p);
    Composition* c = p->compositions()[0];
    Layer* l1 = c->layer(0);
    EXPECT_EQ(c->reorderLayer(l1, 2), A_Err_NONE);
    EXPECT_EQ(order(c), (QStringList{"L2", "L3", "L1", "L4"}));
    EXPECT_EQ(c->reorderLayer(l1, -1), A_Err_NONE);
    EXPECT_EQ(order(c), (QStringList{"L2", "L3", "L4", "L1"}));
    EXPECT_EQ(c->reorderLayer(c->layer(0), 99), A_Err_NONE); // clamped to the end
    EXPECT_EQ(order(c), (QStringList{"L3", "L4", "L1", "L2"}));
    EXPECT_EQ(c->reorderLayer(l1, 0), A_Err_NONE);
    EXPECT_EQ(order(c), (QStringList{"L1", "L3", "L4", "L2"}));
    EXPECT_EQ(c->reorderLayer(l1, -2), A_Err_PARAMETER);
    EXPECT_EQ(order(c), (QStringList{"L1", "L3", "L4", "L2"}));
    auto other = test::stackProject(1);
    EXPECT_EQ(c->reorderLayer(other->compositions()[0]->layer(0), 0), A_Err_PARAMETER);
}

TEST(Mutations, DeleteLayerUnparentsChildrenAndGoesStale)
{
    auto p = test::stackProject(3);
    ASSERT_TRUE(p);
    Composition* c = p->compositions()[0];
    Layer* parent = c->layer(0);
    Layer* child = c->layer(2);
    ASSERT_EQ(c->setParent(child, parent), A_Err_NONE);
    ASSERT_EQ(c->setSelection({parent, child}), A_Err_NONE);
    child->transformStream(TransformStream::Position)->setStaticValue(Value::threeD(7, 8, 0));
    const std::weak_ptr<Layer> weak = parent->weakFromThis();

    EXPECT_EQ(c->deleteLayer(parent), A_Err_NONE);
    EXPECT_EQ(order(c), (QStringList{"L2", "L3"}));
    EXPECT_EQ(child->parent(), nullptr);
    EXPECT_EQ(child->transformStream(TransformStream::Position)->staticValue(), Value::threeD(7, 8, 0));
    EXPECT_TRUE(parent->isDeleted());
    EXPECT_EQ(parent->composition(), nullptr);
    EXPECT_FALSE(weak.expired());
    EXPECT_EQ(c->selection(), std::vector<Layer*>{child});
    EXPECT_EQ(c->deleteLayer(parent), A_Err_STRUCT);
    EXPECT_EQ(c->reorderLayer(parent, 0), A_Err_STRUCT);
    EXPECT_EQ(c->setParent(child, parent), A_Err_STRUCT);
    EXPECT_EQ(c->duplicateLayer(parent), nullptr);
    // a selection naming a deleted layer drops it
    EXPECT_EQ(c->setSelection({parent, child}), A_Err_NONE);
    EXPECT_EQ(c->selection().size(), 1u);
}

TEST(Mutations, CreateShapeLayer)
{
    auto p = test::stackProject(2);
    ASSERT_TRUE(p);
    Composition* c = p->compositions()[0];
    Layer* s1 = c->createShapeLayer();
    Layer* s2 = c->createShapeLayer();
    EXPECT_EQ(c->indexOf(s2), 0);
    EXPECT_EQ(c->indexOf(s1), 1);
    EXPECT_EQ(s1->name(), QStringLiteral("Shape Layer 1"));
    EXPECT_EQ(s2->name(), QStringLiteral("Shape Layer 2"));
    EXPECT_EQ(s1->objectType(), AEGP_ObjectType_VECTOR);
    EXPECT_EQ(s1->flags(), quint32(AEGP_LayerFlag_VIDEO_ACTIVE));
    EXPECT_EQ(s1->label(), 0);
    EXPECT_EQ(s1->id(), 3u);
    EXPECT_EQ(s2->id(), 4u);
    EXPECT_EQ(s1->inPoint().value, 0);
    EXPECT_EQ(s1->duration().value, 250);
    EXPECT_EQ(s1->duration().scale, 25u);
    EXPECT_EQ(s1->source(), nullptr);
    EXPECT_EQ(s1->transformStream(TransformStream::Position)->staticValue(), Value::threeD(960, 540, 0));
    EXPECT_EQ(s1->transformStream(TransformStream::AnchorPoint)->staticValue(), Value::threeD(0, 0, 0));
    ASSERT_TRUE(s1->rootVectorsGroup());
    EXPECT_EQ(s1->rootVectorsGroup()->childCount(), 0);
    EXPECT_EQ(s1->maskCount(), 0);
}

TEST(Mutations, CreateNullUsesTheCompositionDurationForZero)
{
    auto p = test::stackProject(2);
    ASSERT_TRUE(p);
    Composition* c = p->compositions()[0];
    const size_t items = p->items().size();
    Layer* n = p->createNullLayer(c, QStringLiteral("Gravity Controller"), A_Time{0, 1});
    ASSERT_TRUE(n);
    EXPECT_EQ(c->indexOf(n), 0);
    EXPECT_EQ(n->name(), QStringLiteral("Gravity Controller"));
    EXPECT_EQ(n->flags(), quint32(AEGP_LayerFlag_VIDEO_ACTIVE | AEGP_LayerFlag_NULL_LAYER));
    EXPECT_EQ(n->objectType(), AEGP_ObjectType_AV);
    EXPECT_EQ(n->duration().value, 250);
    EXPECT_EQ(n->id(), 3u);
    ASSERT_EQ(p->items().size(), items + 1);
    const Footage* solid = n->source()->asFootage();
    ASSERT_TRUE(solid);
    EXPECT_EQ(solid->name(), QStringLiteral("Null 1"));
    EXPECT_EQ(solid->signature(), 0x536F6C69u);
    EXPECT_EQ(solid->width(), 100);
    EXPECT_EQ(solid->color().red, 1.0);
    EXPECT_EQ(n->transformStream(TransformStream::AnchorPoint)->staticValue(), Value::threeD(50, 50, 0));
    EXPECT_EQ(n->transformStream(TransformStream::Position)->staticValue(), Value::threeD(960, 540, 0));
    EXPECT_EQ(c->reorderLayer(n, -1), A_Err_NONE);
    EXPECT_EQ(c->indexOf(n), 2);

    Layer* n2 = p->createNullLayer(c, QStringLiteral("Short"), A_Time{2, 1});
    EXPECT_EQ(n2->duration().value, 2);
    EXPECT_EQ(n2->source()->name(), QStringLiteral("Null 2"));
    EXPECT_EQ(p->createNullLayer(c, QStringLiteral("x"), A_Time{-1, 1})->duration().value, 250);
}

TEST(Mutations, DuplicateCompositionKeepsOrderIdsAndRemapsParents)
{
    auto p = test::stackProject(3);
    ASSERT_TRUE(p);
    Composition* c = p->compositions()[0];
    ASSERT_EQ(c->setParent(c->layer(0), c->layer(2)), A_Err_NONE);
    ASSERT_EQ(c->setSelection({c->layer(1)}), A_Err_NONE);
    ASSERT_EQ(c->setWorkArea(A_Time{25, 25}, A_Time{50, 25}), A_Err_NONE);
    Item* active = p->activeItem();

    Composition* d = p->duplicateComposition(c);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->name(), QStringLiteral("Main 2"));
    EXPECT_EQ(d->type(), ItemType::Composition);
    EXPECT_NE(d->id(), c->id());
    EXPECT_EQ(p->activeItem(), active);
    EXPECT_EQ(order(d), order(c));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(d->layer(i)->id(), c->layer(i)->id());
        EXPECT_NE(d->layer(i), c->layer(i));
        EXPECT_EQ(d->layer(i)->composition(), d);
    }
    EXPECT_EQ(d->layer(0)->parent(), d->layer(2));
    EXPECT_TRUE(d->selection().empty());
    EXPECT_EQ(d->workAreaStart().value, 25);
    EXPECT_EQ(d->frameDuration().scale, 25u);
    EXPECT_EQ(p->duplicateComposition(c)->name(), QStringLiteral("Main 3"));

    // edits to the copy leave the source alone
    d->layer(1)->transformStream(TransformStream::Rotation)->setStaticValue(Value::oneD(45));
    EXPECT_EQ(c->layer(1)->transformStream(TransformStream::Rotation)->staticValue(), Value::oneD(0));
}

TEST(Mutations, SetParentRefusesCyclesAndOtherCompositions)
{
    auto p = test::stackProject(3);
    ASSERT_TRUE(p);
    Composition* c = p->compositions()[0];
    Layer* a = c->layer(0);
    Layer* b = c->layer(1);
    Layer* d = c->layer(2);
    EXPECT_EQ(c->setParent(b, a), A_Err_NONE);
    EXPECT_EQ(c->setParent(d, b), A_Err_NONE);
    EXPECT_EQ(c->setParent(a, d), A_Err_PARAMETER); // a -> d -> b -> a
    EXPECT_EQ(c->setParent(a, a), A_Err_PARAMETER);
    EXPECT_EQ(a->parent(), nullptr);
    Composition* other = p->duplicateComposition(c);
    EXPECT_EQ(c->setParent(a, other->layer(2)), A_Err_PARAMETER);
    EXPECT_EQ(c->setParent(d, nullptr), A_Err_NONE);
    EXPECT_EQ(d->parent(), nullptr);
    EXPECT_TRUE(c->isDescendant(d, d) == false);
}

TEST(Mutations, LayerFlagsAndVideoReallyOn)
{
    auto p = test::stackProject(3);
    ASSERT_TRUE(p);
    Composition* c = p->compositions()[0];
    Layer* a = c->layer(0);
    Layer* b = c->layer(1);
    EXPECT_TRUE(a->setFlag(AEGP_LayerFlag_MOTION_BLUR, true));
    EXPECT_TRUE(a->flags() & AEGP_LayerFlag_MOTION_BLUR);
    for (quint32 readOnly : {0x10000u, 0x200u, 0x40000u, 0x800u})
        EXPECT_FALSE(a->setFlag(readOnly, true));
    EXPECT_FALSE(a->setFlag(0x1 | 0x8, false)); // one bit at a time
    EXPECT_FALSE(a->setFlag(0, true));

    EXPECT_TRUE(c->isVideoReallyOn(a));
    EXPECT_TRUE(b->setFlag(AEGP_LayerFlag_SOLO, true));
    EXPECT_FALSE(c->isVideoReallyOn(a)); // another layer is solo
    EXPECT_TRUE(c->isVideoReallyOn(b));
    EXPECT_TRUE(b->setFlag(AEGP_LayerFlag_VIDEO_ACTIVE, false));
    EXPECT_FALSE(c->isVideoReallyOn(b));
    a->setVideoReallyOnOverride(true);
    EXPECT_TRUE(c->isVideoReallyOn(a));
    EXPECT_FALSE(a->setLabel(17));
    EXPECT_FALSE(a->setLabel(-1));
    EXPECT_TRUE(a->setLabel(16));
}

TEST(Mutations, WorkAreaSetterValidatesAndClamps)
{
    auto p = test::stackProject(1);
    ASSERT_TRUE(p);
    Composition* c = p->compositions()[0];
    bool clamped = true;
    EXPECT_EQ(c->setWorkArea(A_Time{10, 25}, A_Time{1, 25}, &clamped), A_Err_NONE); // one frame
    EXPECT_FALSE(clamped);
    EXPECT_EQ(c->workAreaDuration().value, 1);
    EXPECT_EQ(c->setWorkArea(A_Time{-1, 25}, A_Time{1, 25}), A_Err_PARAMETER);
    EXPECT_EQ(c->setWorkArea(A_Time{0, 25}, A_Time{0, 25}), A_Err_PARAMETER);
    EXPECT_EQ(c->setWorkArea(A_Time{0, 0}, A_Time{1, 25}), A_Err_PARAMETER);
    EXPECT_EQ(c->setWorkArea(A_Time{200, 25}, A_Time{100, 25}, &clamped), A_Err_NONE);
    EXPECT_TRUE(clamped);
    EXPECT_EQ(c->workAreaStart().value, 200);
    EXPECT_EQ(c->workAreaDuration().value, 50);
    EXPECT_EQ(c->workAreaDuration().scale, 25u);
    EXPECT_EQ(c->setWorkArea(A_Time{250, 25}, A_Time{1, 25}), A_Err_PARAMETER); // starts at the end
}

TEST(Mutations, EveryEditMarksTheProjectModified)
{
    auto p = test::stackProject(2);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->isModified());
    Composition* c = p->compositions()[0];
    Layer* l = c->layer(0);
    const std::vector<std::function<void()>> edits = {
        [&] { l->setName(QStringLiteral("x")); },
        [&] { l->setFlag(AEGP_LayerFlag_MOTION_BLUR, true); },
        [&] { l->transformStream(TransformStream::Scale)->setStaticValue(Value::threeD(1, 1, 1)); },
        [&] { l->transformStream(TransformStream::Position)->addKey(A_Time{1, 1}, Value::threeD(1, 1, 1)); },
        [&] { l->addMask(); },
        [&] { l->maskAtom(0)->setDisplayName(QStringLiteral("m")); },
        [&] { c->reorderLayer(l, 1); },
        [&] { c->setSelection({l}); },
        [&] { c->setWorkArea(A_Time{0, 1}, A_Time{1, 1}); },
        [&] { c->createShapeLayer(); },
        [&] { c->createShapeLayer()->rootVectorsGroup()->setDynamicFlags(0); },
        [&] { p->createNullLayer(c, QStringLiteral("n"), kZeroTime); },
        [&] { p->duplicateComposition(c); },
        [&] { c->deleteLayer(c->layer(0)); },
    };
    for (size_t i = 0; i < edits.size(); ++i) {
        p->clearModified();
        edits[i]();
        EXPECT_TRUE(p->isModified()) << "edit " << i;
    }
    // reads do not, nor does choosing the active composition
    p->clearModified();
    p->duplicateComposition(c);
    p->clearModified();
    EXPECT_TRUE(p->setActiveComp(QStringLiteral("Main 2")));
    EXPECT_FALSE(p->setActiveComp(QStringLiteral("Nope")));
    (void)c->isVideoReallyOn(l);
    (void)l->transformStream(TransformStream::Position)->valueAt(kZeroTime, false);
    (void)p->toJson();
    EXPECT_FALSE(p->isModified());
}
