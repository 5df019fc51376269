// The core's construction, the composition it simulates, the coordinate
// conversions and the drawing and behaviour preferences.
#include "simulation/SimulationCore.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostTime.h"
#include "model/CoordinateConversion.h"
#include "model/JointUserData.h"
#include "model/UserData.h"
#include "simulation/KeySelection.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

const QColor SELECTION_HIGHLIGHT_COLOR_DFLT(191, 140, 0);
const QColor STATIC_HIGHLIGHT_COLOR_DFLT(217, 46, 207);
const b2Color DISTANCE_JOINT_COLOR_DFLT(1.0f, 1.0f, 0.0f);
const b2Color REVOLUTE_JOINT_COLOR_DFLT(0.33f, 1.0f, 0.33f);
const b2Color PRISMATIC_JOINT_COLOR_DFLT(0.8f, 0.84f, 0.83f);
const b2Color SPRING_JOINT_COLOR_DFLT(0.33f, 0.33f, 1.0f);
const QColor SELECTED_JOINT_COLOR_DFLT(255, 0, 0);

b2Color toB2Color(const QColor& c)
{
    return b2Color(float(c.red()) / 255.0f, float(c.green()) / 255.0f, float(c.blue()) / 255.0f);
}

SimulationCore::SimulationCore(SPBasicSuite* basicSuite, int pluginId)
    : basicSuite(basicSuite)
    , pluginId(pluginId)
    , selectionHighlightColor(SELECTION_HIGHLIGHT_COLOR_DFLT)
    , staticHighlightColor(STATIC_HIGHLIGHT_COLOR_DFLT)
    , distanceJointColor(DISTANCE_JOINT_COLOR_DFLT)
    , revoluteJointColor(REVOLUTE_JOINT_COLOR_DFLT)
    , prismaticJointColor(PRISMATIC_JOINT_COLOR_DFLT)
    , springJointColor(SPRING_JOINT_COLOR_DFLT)
    , selectedJointColor(SELECTED_JOINT_COLOR_DFLT)
{
    for (b2Vec2& corner : compBounds)
        corner.SetZero();
}

SimulationCore::~SimulationCore() = default;

A_Err SimulationCore::readComposition()
{
    AEGP_SuiteHandler suites(basicSuite);
    AEGP_ItemH item = nullptr;
    A_Time workArea{0, 1};
    AEGP_ColorVal background{1.0, 0.0, 0.0, 0.0};
    A_long width = 0;
    A_long height = 0;
    A_Ratio aspect{1, 1};

    A_Err err = suites.ItemSuite7()->AEGP_GetActiveItem(&item);
    if (!err)
        err = suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp);
    if (!err)
        err = suites.CompSuite7()->AEGP_GetCompFrameDuration(comp, &frameDuration);
    if (!err)
        err = suites.CompSuite7()->AEGP_GetCompFramerate(comp, &fps);
    if (!err)
        err = suites.CompSuite7()->AEGP_GetCompWorkAreaDuration(comp, &workArea);
    if (!err)
        err = suites.CompSuite7()->AEGP_GetCompBGColor(comp, &background);
    if (!err)
        err = suites.ItemSuite7()->AEGP_GetItemDimensions(item, &width, &height);
    if (!err)
        err = suites.ItemSuite7()->AEGP_GetItemPixelAspectRatio(item, &aspect);
    A_Time duration{0, 1};
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetItemDuration(item, &duration);

    compWidth = coords::squarePixels(width, coords::pixelAspect(aspect.num, aspect.den));
    compHeight = coords::squarePixels(height, 1.0);

    workAreaFrames = 0;
    int64_t frames = 0;
    if (timingUsable() && FramesInTime(workArea, frameDuration, frames))
        workAreaFrames = int(std::clamp<int64_t>(frames, 0, kMaxWorkAreaFrames));
    // Every frame that starts before the composition's end shows.
    compositionFrames = 0;
    if (timingUsable() && duration.scale > 0 && duration.value > 0) {
        const double count = std::ceil(double(duration.value) / double(duration.scale) / frameSeconds() - 1e-9);
        compositionFrames = int(std::clamp<double>(count, 0.0, double(kMaxWorkAreaFrames)));
    }

    bgColor = QColor(static_cast<int>(background.red * 255.0), static_cast<int>(background.green * 255.0),
                     static_cast<int>(background.blue * 255.0), 255);
    updateCurrentCompBoundsInGL();
    return err;
}

bool SimulationCore::timingUsable() const
{
    return frameDuration.value > 0 && frameDuration.scale > 0 && std::isfinite(fps) && fps > 0.0;
}

double SimulationCore::timeDivider() const
{
    return std::isfinite(controls.timeDivider) && controls.timeDivider > 0.0 ? controls.timeDivider : 1.0;
}

double SimulationCore::frameSeconds() const
{
    return timingUsable() ? double(frameDuration.value) / double(frameDuration.scale) : 0.0;
}

// --- Coordinates -----------------------------------------------------------

float SimulationCore::getGLXCoordFromAE(float x) const
{
    return (x - float(compWidth) / 2.0f) / 100.0f;
}

float SimulationCore::getGLYCoordFromAE(float y) const
{
    return (y - float(compHeight) / 2.0f) / 100.0f;
}

float SimulationCore::getAEXCoordFromGL(float x) const
{
    return float(compWidth) / 2.0f + x * 100.0f;
}

float SimulationCore::getAEYCoordFromGL(float y) const
{
    return float(compHeight) / 2.0f + y * 100.0f;
}

b2Vec2 SimulationCore::getAEPosFromGLPos(b2Vec2 p) const
{
    return b2Vec2(getAEXCoordFromGL(p.x), getAEYCoordFromGL(p.y));
}

float SimulationCore::getAERotFromBox2DRot(float radians)
{
    return radians * 57.29578f;
}

void SimulationCore::updateCurrentCompBoundsInGL()
{
    const float w = float(compWidth);
    const float h = float(compHeight);
    compBounds[0] = b2Vec2(getGLXCoordFromAE(0.0f), getGLYCoordFromAE(0.0f));
    compBounds[1] = b2Vec2(getGLXCoordFromAE(w), getGLYCoordFromAE(0.0f));
    compBounds[2] = b2Vec2(getGLXCoordFromAE(w), getGLYCoordFromAE(h));
    compBounds[3] = b2Vec2(getGLXCoordFromAE(0.0f), getGLYCoordFromAE(h));
}

bool SimulationCore::areValuesDifferent(float a, float b)
{
    return keyValuesDiffer(a, b);
}

bool SimulationCore::areValuesDifferent(b2Vec2 a, b2Vec2 b)
{
    return keyValuesDiffer(a, b);
}

int SimulationCore::getBodyIdFromB2Body(const b2Body* b) const
{
    if (!b)
        return -1;
    // initScene hangs index + 1 on each body; a body of an older world may
    // carry a stale one, so the record must confirm it.
    const uintptr_t hint = const_cast<b2Body*>(b)->GetUserData().pointer;
    if (hint >= 1 && hint <= bodies.size() && bodies[hint - 1].body == b)
        return static_cast<int>(hint - 1);
    for (size_t i = 0; i < bodies.size(); ++i)
        if (bodies[i].body == b)
            return static_cast<int>(i);
    return -1;
}

// --- Preferences -------------------------------------------------------------

void SimulationCore::setSelectionStrokeWidth(float width)
{
    selectionStrokeWidth = width;
    if (world)
        world->setSelectionStrokeWidth(width);
}

void SimulationCore::setJointStrokeWidth(float width)
{
    jointStrokeWidth = width;
    if (world)
        world->setJointStrokeWidth(width);
}

void SimulationCore::setKineBehavior(int behavior)
{
    kinematicBehavior = behavior;
}

void SimulationCore::setDormantBehavior(int behavior)
{
    dormantBehavior = behavior;
}

void SimulationCore::setIgnoreBodyColorWhenPasting(int ignore)
{
    ignoreBodyColorWhenPasting = ignore == 1;
}

void SimulationCore::setSelectionHighlightColor(QColor color)
{
    selectionHighlightColor = color;
    if (world)
        world->setSelectionHighlightColor(color.red(), color.green(), color.blue());
}

void SimulationCore::setStaticHighlightColor(QColor color)
{
    staticHighlightColor = color;
    if (world)
        world->setStaticHighlightColor(color.red(), color.green(), color.blue());
}

void SimulationCore::setSelectedJointColor(QColor color)
{
    selectedJointColor = color;
    if (world)
        world->setSelectedJointColor(color.red(), color.green(), color.blue());
}

namespace {

// Gives every joint that the body records list the colour of its type.
void recolourJoints(std::vector<MyBody>& bodies, const b2Color (&byType)[4])
{
    for (MyBody& body : bodies)
        for (MyJoint& joint : body.joints)
            if (joint.jointUserData && joint.type >= 0 && joint.type < 4)
                joint.jointUserData->color = byType[joint.type];
}

} // namespace

#define ZOLVAR_JOINT_COLOR_SETTER(Setter, field)                                                             \
    void SimulationCore::Setter(QColor color)                                                               \
    {                                                                                                       \
        field = toB2Color(color);                                                                           \
        if (world)                                                                                          \
            world->Setter(color.red(), color.green(), color.blue());                                        \
        const b2Color byType[4] = {distanceJointColor, revoluteJointColor, prismaticJointColor,             \
                                   springJointColor};                                                       \
        recolourJoints(bodies, byType);                                                                     \
    }

ZOLVAR_JOINT_COLOR_SETTER(setDistanceJointColor, distanceJointColor)
ZOLVAR_JOINT_COLOR_SETTER(setRevoluteJointColor, revoluteJointColor)
ZOLVAR_JOINT_COLOR_SETTER(setPrismaticJointColor, prismaticJointColor)
ZOLVAR_JOINT_COLOR_SETTER(setSpringJointColor, springJointColor)

#undef ZOLVAR_JOINT_COLOR_SETTER
