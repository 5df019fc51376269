// Every property-change command: one named class per property, stamped from
// the shapes of PropertyCommand.h. X(Name, value type, setter, text) makes
// Command<Name>Change.
#pragma once

#include "properties/PropertyCommand.h"

#include <QColor>

#include <cmath>

// Scene-wide values: X(Name, stored, setter argument, setter, text, after).
#define ZOLVAR_SCENE_COMMANDS(X)                                                                        \
    X(TimeDivider, double, float, setTimeDivider, "Change Time Divider", Restart)                      \
    X(CollisionTolerance, double, float, setCollisionTolerance, "Change Collision Tolerance", Restart)  \
    X(Substeps, int, int, setSubsteps, "Change Sub-steps", Restart)                                    \
    X(GravityMagnitude, double, float, setGravityMagnitude, "Change Gravity Magnitude", Nothing)       \
    X(GravityDirection, double, float, setGravityDirection, "Change Gravity Direction", Nothing)       \
    X(GravityInheritFrom, double, bool, setGravityInheritFrom, "Change Gravity Inherit From", Restart) \
    X(GravityLayer, int, int, setGravityLayer, "Change Gravity Layer", Restart)

// Per body row.
#define ZOLVAR_BODY_COMMANDS(X)                                                              \
    X(Type, int, setType, "Change Type")                                                     \
    X(Density, float, setDensity, "Change Density")                                          \
    X(Friction, float, setFriction, "Change Friction")                                       \
    X(Bounciness, float, setBounciness, "Change Bounciness")                                 \
    X(MeshPrecision, int, setMeshPrecision, "Change Mesh Precision")                         \
    X(VelocityMagnitude, float, setVelocityMagnitude, "Change Velocity Magnitude")           \
    X(VelocityDirection, float, setVelocityDirection, "Change Velocity Direction")           \
    X(AngularVelocity, float, setAngularVelocity, "Change Angular Velocity")                 \
    X(LinearDamping, float, setLinearDamping, "Change Linear Damping")                       \
    X(AngularDamping, float, setAngularDamping, "Change Angular Damping")                    \
    X(AEmaticDamping, float, setAEmaticDamping, "Change AEmatic Damping")                    \
    X(AEmaticTension, float, setAEmaticTension, "Change AEmatic Tension")                    \
    X(CollideWithA, bool, setCollideWithA, "Change Collide With Group A")                    \
    X(CollideWithB, bool, setCollideWithB, "Change Collide With Group B")                    \
    X(CollideWithC, bool, setCollideWithC, "Change Collide With Group C")                    \
    X(CollideWithD, bool, setCollideWithD, "Change Collide With Group D")                    \
    X(CollideWithE, bool, setCollideWithE, "Change Collide With Group E")                    \
    X(FixedRotation, bool, setFixedRotation, "Change Fixed Rotation")                        \
    X(GravityScale, float, setGravityScale, "Change Gravity Scale")                          \
    X(UseConvexHull, bool, setUseConvexHull, "Change Use Convex Hull")                       \
    X(MagnetismType, int, setMagnetismType, "Change Magnetism Type")                         \
    X(MagnetIntensity, float, setMagnetIntensity, "Change Magnet Intensity")                 \
    X(MagnetDistance, float, setMagnetDistance, "Change Magnet Distance")                    \
    X(AcceptMagnetism, bool, setAcceptMagnetism, "Change Accept Magnetism")                  \
    X(BodiesRotation, float, setBodiesRotation, "Rotate Body")                               \
    X(OpenShapeLineWidth, float, setOpenShapeLineWidth, "Change Open Shape Line Width")

// Per joint row.
#define ZOLVAR_JOINT_COMMANDS(X)                                                                                    \
    X(DistanceJointFrequency, float, setDistanceJointFrequency, "Change Distance Joint Tension")                    \
    X(DistanceJointDamping, float, setDistanceJointDamping, "Change Distance Joint Damping")                        \
    X(DistanceJointCollideConnected, bool, setDistanceJointCollideConnected,                                        \
      "Change Distance Joint Collide Connected")                                                                    \
    X(RevoluteJointEnableLimit, bool, setRevoluteJointEnableLimit, "Change Pivot Joint Enable Limit")               \
    X(RevoluteJointLowerAngle, float, setRevoluteJointLowerAngle, "Change Pivot Joint Lower Angle")                 \
    X(RevoluteJointUpperAngle, float, setRevoluteJointUpperAngle, "Change Pivot Joint Upper Angle")                 \
    X(RevoluteJointEnableMotor, bool, setRevoluteJointEnableMotor, "Change Pivot Joint Enable Motor")               \
    X(RevoluteJointMotorSpeed, float, setRevoluteJointMotorSpeed, "Change Pivot Joint Motor Speed")                 \
    X(RevoluteJointMaxMotorTorque, float, setRevoluteJointMaxMotorTorque, "Change Pivot Joint Max Motor Torque")    \
    X(RevoluteJointCollideConnected, bool, setRevoluteJointCollideConnected,                                        \
      "Change Pivot Joint Collide Connected")                                                                       \
    X(PrismaticJointEnableLimit, bool, setPrismaticJointEnableLimit, "Change Piston Joint Enable Limit")            \
    X(PrismaticJointLowerTranslation, float, setPrismaticJointLowerTranslation,                                     \
      "Change Piston Joint Lower Translation")                                                                      \
    X(PrismaticJointUpperTranslation, float, setPrismaticJointUpperTranslation,                                     \
      "Change Piston Joint Upper Translation")                                                                      \
    X(PrismaticJointEnableMotor, bool, setPrismaticJointEnableMotor, "Change Piston Joint Enable Motor")            \
    X(PrismaticJointMotorSpeed, float, setPrismaticJointMotorSpeed, "Change Piston Joint Motor Speed")              \
    X(PrismaticJointMaxMotorForce, float, setPrismaticJointMaxMotorForce, "Change Piston Joint Max Motor Force")    \
    X(PrismaticJointCollideConnected, bool, setPrismaticJointCollideConnected,                                      \
      "Change Piston Joint Collide Connected")                                                                      \
    X(SpringJointSpringiness, float, setSpringJointSpringiness, "Change Spring Joint Springiness")                  \
    X(SpringJointDamping, float, setSpringJointDamping, "Change Spring Joint Damping")                              \
    X(SpringJointDesiredLength, float, setSpringJointDesiredLength, "Change Spring Joint Desired Length")

#define ZOLVAR_SCENE_COMMAND_CLASS(Name, Stored, Arg, setter, text, after)                                   \
    class Command##Name##Change : public SceneValueCommand<Stored, Arg>                                     \
    {                                                                                                         \
    public:                                                                                                   \
        Command##Name##Change(SimulationView* view, Stored oldValue, Stored newValue)                        \
            : SceneValueCommand(view, oldValue, newValue, &SimulationView::setter, QStringLiteral(text),     \
                                AfterSet::after)                                                              \
        {                                                                                                     \
        }                                                                                                     \
    };

#define ZOLVAR_ROW_COMMAND_CLASS(Name, T, setter, text)                                                      \
    class Command##Name##Change : public RowValuesCommand<T>                                                 \
    {                                                                                                         \
    public:                                                                                                   \
        Command##Name##Change(SimulationView* view, std::vector<T> oldValues, std::vector<T> newValues,      \
                              std::vector<int> rows)                                                          \
            : RowValuesCommand(view, std::move(oldValues), std::move(newValues), std::move(rows),            \
                               &SimulationView::setter, QStringLiteral(text), AfterSet::Restart)             \
        {                                                                                                     \
        }                                                                                                     \
    };

ZOLVAR_SCENE_COMMANDS(ZOLVAR_SCENE_COMMAND_CLASS)
ZOLVAR_BODY_COMMANDS(ZOLVAR_ROW_COMMAND_CLASS)
ZOLVAR_JOINT_COMMANDS(ZOLVAR_ROW_COMMAND_CLASS)

#undef ZOLVAR_SCENE_COMMAND_CLASS
#undef ZOLVAR_ROW_COMMAND_CLASS

// The collision group of each row. The record keeps one bit per group, but
// settings files may bring other bit patterns (the list counts them as group
// A): undo gives each row back its own bits, not just its group.
class CommandCollisionGroupChange : public RowValuesCommand<int>
{
public:
    CommandCollisionGroupChange(SimulationView* view, std::vector<int> oldValues, std::vector<int> newValues,
                                std::vector<int> rows)
        : RowValuesCommand(view, std::move(oldValues), std::move(newValues), rows, &SimulationView::setCollisionGroup,
                           QStringLiteral("Change Collision Group"), AfterSet::Nothing)
        , view(view)
    {
        for (int row : rows)
            oldBits.push_back(row >= 0 && size_t(row) < view->bodies.size() ? view->bodies[size_t(row)].categoryBits
                                                                           : uint16_t(1));
    }

    void undo() override
    {
        RowValuesCommand::undo();
        const std::vector<int>& rows = rowList();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i] >= 0 && size_t(rows[i]) < view->bodies.size())
                view->bodies[size_t(rows[i])].categoryBits = oldBits[i];
        view->restartAnimation();
    }
    void redo() override
    {
        RowValuesCommand::redo();
        view->restartAnimation();
    }

private:
    SimulationView* view;
    std::vector<uint16_t> oldBits;
};

// The colour of each row. The panel works in whole steps of 1/255, but a
// host colour (0.3 of a channel) is none: undo gives each row back its own
// exact colour when the old colour given is the one the row shows.
class CommandBodyColorChange : public RowValuesCommand<QColor>
{
public:
    CommandBodyColorChange(SimulationView* view, std::vector<QColor> oldValues, std::vector<QColor> newValues,
                           std::vector<int> rows)
        : RowValuesCommand(view, oldValues, std::move(newValues), rows, &SimulationView::setBodyColor,
                           QStringLiteral("Change Body Color"), AfterSet::Restart)
        , view(view)
    {
        for (size_t i = 0; i < rows.size(); ++i) {
            const bool known = rows[i] >= 0 && size_t(rows[i]) < view->bodies.size() && i < oldValues.size();
            exactOld.push_back(known ? view->bodies[size_t(rows[i])].color : AEGP_ColorVal{});
            exact.push_back(known && shows(oldValues[i], exactOld.back()));
        }
    }

    void undo() override
    {
        RowValuesCommand::undo();
        const std::vector<int>& rows = rowList();
        for (size_t i = 0; i < rows.size(); ++i)
            if (exact[i] && rows[i] >= 0 && size_t(rows[i]) < view->bodies.size())
                view->bodies[size_t(rows[i])].color = exactOld[i];
    }

private:
    // Whether `shown` stands for the colour `c` (each channel within a step).
    static bool shows(const QColor& shown, const AEGP_ColorVal& c)
    {
        const auto near = [](int channel, double value) { return std::fabs(channel / 255.0 - value) < 1.0 / 255.0; };
        return near(shown.red(), c.red) && near(shown.green(), c.green) && near(shown.blue(), c.blue);
    }

    SimulationView* view;
    std::vector<AEGP_ColorVal> exactOld;
    std::vector<bool> exact;
};

// Every property of the rows at once, from whole records; the setter takes
// property by property from them, never the records' identity or placement.
class CommandResetBodyPropertiesChange : public RowValuesCommand<MyBody>
{
public:
    CommandResetBodyPropertiesChange(SimulationView* view, std::vector<MyBody> before, std::vector<MyBody> after,
                                     std::vector<int> rows)
        : RowValuesCommand(view, std::move(before), std::move(after), std::move(rows),
                           &SimulationView::setBodyProperties, QStringLiteral("Reset Body Properties"),
                           AfterSet::Restart)
    {
    }
};
