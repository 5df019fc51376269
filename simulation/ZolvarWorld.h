// The physics world with the drawing state the scene is drawn with: seven
// colours, two stroke widths and the mesh switch, beside Box2D's own state.
// The view builds a new one on every restart with its drawing preferences;
// the preferences dialog and the "Mesh" view option change the live one
// through the setters. Simulation behaviour is Box2D's, unchanged.
//
// Colours are stored as three floats of the form n / 255: every colour
// enters through a setter that takes 0..255 integers (nothing clamps).
#pragma once

#include "outlines/ConvexMerge.h"

#include <box2d/box2d.h>

#include <unordered_map>
#include <vector>

class SceneDraw;

class ZolvarWorld : public b2World
{
public:
    // Colour arguments in 0..1; each component c is stored as trunc(255 c) / 255.
    ZolvarWorld(const b2Vec2& gravity, b2Color selectionHighlightColor, float selectionStrokeWidth,
                b2Color staticHighlightColor, b2Color distanceJointColor, b2Color revoluteJointColor,
                b2Color prismaticJointColor, b2Color springJointColor, b2Color selectedJointColor,
                float jointStrokeWidth, bool showMesh);

    void setSelectionHighlightColor(int r, int g, int b);
    void setStaticHighlightColor(int r, int g, int b);
    void setDistanceJointColor(int r, int g, int b);
    void setRevoluteJointColor(int r, int g, int b);
    void setPrismaticJointColor(int r, int g, int b);
    void setSpringJointColor(int r, int g, int b);
    void setSelectedJointColor(int r, int g, int b);
    void setSelectionStrokeWidth(float width) { selectionStrokeWidth = width; }
    void setJointStrokeWidth(float width) { jointStrokeWidth = width; }
    void setShowMesh(bool show) { showMesh = show; }

    // The program's draw callbacks (Box2D's b2Draw has other signatures).
    void SetDebugDraw(SceneDraw* draw) { sceneDraw = draw; }
    SceneDraw* GetSceneDraw() const { return sceneDraw; }

    b2Color selectionHighlightColor;
    float selectionStrokeWidth = 2.0f;
    b2Color staticHighlightColor;
    b2Color distanceJointColor;
    b2Color revoluteJointColor;
    b2Color prismaticJointColor;
    b2Color springJointColor;
    b2Color selectedJointColor;
    float jointStrokeWidth = 1.0f;
    bool showMesh = false;

    // The triangles (body coordinates) of each polygon fixture that is a
    // convex piece of several of them: the mesh view and the polygon counts
    // show the triangles. A fixture not listed is its own one polygon.
    std::unordered_map<const b2Fixture*, std::vector<Triangle>> pieceTriangles;
    // How many of the outline's polygons the fixture stands for.
    int polygonCount(const b2Fixture* fixture) const;

private:
    SceneDraw* sceneDraw = nullptr;
};
