#include "simulation/ZolvarWorld.h"


namespace {

b2Color fromBytes(int r, int g, int b)
{
    return b2Color(float(r) / 255.0f, float(g) / 255.0f, float(b) / 255.0f);
}

int toByte(float c)
{
    return int(255.0f * c);
}

} // namespace

ZolvarWorld::ZolvarWorld(const b2Vec2& gravity, b2Color selectionHighlight, float selectionStroke,
                         b2Color staticHighlight, b2Color distanceJoint, b2Color revoluteJoint,
                         b2Color prismaticJoint, b2Color springJoint, b2Color selectedJoint, float jointStroke,
                         bool mesh)
    : b2World(gravity)
{
    setSelectionHighlightColor(toByte(selectionHighlight.r), toByte(selectionHighlight.g),
                               toByte(selectionHighlight.b));
    setSelectionStrokeWidth(selectionStroke);
    setStaticHighlightColor(toByte(staticHighlight.r), toByte(staticHighlight.g), toByte(staticHighlight.b));
    setDistanceJointColor(toByte(distanceJoint.r), toByte(distanceJoint.g), toByte(distanceJoint.b));
    setRevoluteJointColor(toByte(revoluteJoint.r), toByte(revoluteJoint.g), toByte(revoluteJoint.b));
    setPrismaticJointColor(toByte(prismaticJoint.r), toByte(prismaticJoint.g), toByte(prismaticJoint.b));
    setSpringJointColor(toByte(springJoint.r), toByte(springJoint.g), toByte(springJoint.b));
    setSelectedJointColor(toByte(selectedJoint.r), toByte(selectedJoint.g), toByte(selectedJoint.b));
    setJointStrokeWidth(jointStroke);
    showMesh = mesh;
}

void ZolvarWorld::setSelectionHighlightColor(int r, int g, int b)
{
    selectionHighlightColor = fromBytes(r, g, b);
}

void ZolvarWorld::setStaticHighlightColor(int r, int g, int b)
{
    staticHighlightColor = fromBytes(r, g, b);
}

void ZolvarWorld::setDistanceJointColor(int r, int g, int b)
{
    distanceJointColor = fromBytes(r, g, b);
}

void ZolvarWorld::setRevoluteJointColor(int r, int g, int b)
{
    revoluteJointColor = fromBytes(r, g, b);
}

void ZolvarWorld::setPrismaticJointColor(int r, int g, int b)
{
    prismaticJointColor = fromBytes(r, g, b);
}

void ZolvarWorld::setSpringJointColor(int r, int g, int b)
{
    springJointColor = fromBytes(r, g, b);
}

void ZolvarWorld::setSelectedJointColor(int r, int g, int b)
{
    selectedJointColor = fromBytes(r, g, b);
}

int ZolvarWorld::polygonCount(const b2Fixture* fixture) const
{
    const auto it = pieceTriangles.find(fixture);
    return it == pieceTriangles.end() ? 1 : int(it->second.size());
}
