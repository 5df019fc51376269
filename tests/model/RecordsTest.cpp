#include "model/MyBody.h"
#include "model/QuickPreset.h"
#include "model/UserData.h"

#include <gtest/gtest.h>

namespace {

TEST(MyBodyTest, InitResetsSettingsAndKeepsWhatTheBuilderFilled)
{
    // init never follows the pointers, so stand-ins will do.
    b2Body* worldBody = reinterpret_cast<b2Body*>(0x10);
    UserData userData;

    MyBody b;
    b.body = worldBody;
    b.userData = &userData;
    b.layerID = 42;
    b.position = b2Vec2(1.5f, -2.0f);
    b.color = AEGP_ColorVal{1.0, 0.2, 0.3, 0.4};
    b.outlines.resize(2);
    b.joints.resize(1);

    b.index = 7;
    b.name = QStringLiteral("Layer 7");
    b.type = BodyType::Static;
    b.density = 4.0f;
    b.maskBits = 3;
    b.acceptMagnetism = false;
    b.committedVelocityDirection = 12.0f;
    b.aematicAnchor = b2Vec2(1.0f, 1.0f);
    b.tooManyPolygons = true;

    b.init();

    EXPECT_EQ(b.index, -1);
    EXPECT_TRUE(b.name.isEmpty());
    EXPECT_EQ(b.type, BodyType::Dynamic);
    EXPECT_FLOAT_EQ(b.density, 1.0f);
    EXPECT_EQ(b.meshPrecision, 2);
    EXPECT_EQ(b.maskBits, 0xFFFF);
    EXPECT_TRUE(b.acceptMagnetism);
    EXPECT_FLOAT_EQ(b.openShapeLineWidth, 0.015f);
    EXPECT_FLOAT_EQ(b.committedVelocityDirection, 0.0f);
    EXPECT_FLOAT_EQ(b.aematicAnchor.x, 0.0f);
    EXPECT_FALSE(b.tooManyPolygons);

    EXPECT_EQ(b.body, worldBody);
    EXPECT_EQ(b.userData, &userData);
    EXPECT_EQ(b.layerID, 42);
    EXPECT_FLOAT_EQ(b.position.y, -2.0f);
    EXPECT_DOUBLE_EQ(b.color.blue, 0.4);
    EXPECT_EQ(b.outlines.size(), 2u);
    EXPECT_EQ(b.joints.size(), 1u);
}

TEST(MyBodyTest, CopyOwnsItsListsAndSharesWorldObjects)
{
    UserData userData;
    MyBody source;
    source.userData = &userData;
    ShapeDef outline;
    outline.points = {b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(1, 1)};
    source.outlines = {{outline}};
    source.joints.resize(1);
    source.joints[0].id = 4;

    MyBody copy = source;
    copy.outlines[0][0].points.push_back(b2Vec2(5, 5));
    copy.joints[0].id = 9;

    EXPECT_EQ(source.outlines[0][0].points.size(), 3u);
    EXPECT_EQ(source.joints[0].id, 4);
    EXPECT_EQ(copy.userData, source.userData);
}

TEST(QuickPresetTest, InitSetsSceneDefaultsAndKeepsLists)
{
    QuickPreset q;
    q.zoom = 10;
    q.panX = 3.0f;
    q.backgroundColor = QColor(10, 20, 30);
    q.gravityFromLayer = true;
    q.bodies.resize(3);

    q.init();

    EXPECT_EQ(q.zoom, 250);
    EXPECT_FLOAT_EQ(q.panX, 0.0f);
    EXPECT_EQ(q.backgroundColor, QColor(0, 0, 0, 255));
    EXPECT_FLOAT_EQ(q.gravityDirection, 90.0f);
    EXPECT_FALSE(q.gravityFromLayer);
    EXPECT_EQ(q.bodies.size(), 3u);
}

}  // namespace
