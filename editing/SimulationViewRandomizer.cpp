// The randomizer in the view: the command that asks for a property and a
// randomness, and the worker that scatters the property over the selected
// bodies or joints as one undo step (Collide With: one per group changed).
// The arithmetic is editing/Randomizer's.
#include "simulation/SimulationView.h"

#include "dialogs/ModalDlgFlags.h"
#include "dialogs/OwnedDialog.h"
#include "dialogs/RandomizerDlg.h"
#include "editing/Randomizer.h"
#include "properties/DragCommands.h"
#include "properties/PropertyCommands.h"

#include <QMessageBox>
#include <QUndoStack>

#include <functional>

namespace {

namespace P = RandomizerProperty;

// Walks the rows: old value, new value, and whether some row changed; pushes
// Command(view, old, new, rows) when one did.
template <typename Command, typename T>
void pushIfChanged(SimulationView* view, const std::vector<int>& rows, const std::function<T(int)>& read,
                   const std::function<T(const T&)>& draw, const std::function<bool(const T&, const T&)>& changed)
{
    std::vector<T> olds;
    std::vector<T> news;
    bool anyChanged = false;
    for (int row : rows) {
        const T old = read(row);
        const T drawn = draw(old);
        olds.push_back(old);
        news.push_back(drawn);
        anyChanged = anyChanged || changed(old, drawn);
    }
    if (anyChanged)
        view->getUndoStack()->push(new Command(view, olds, news, rows));
}

// Names a command class for the generic lambdas below.
template <typename T>
struct CommandTag
{
    using type = T;
};

template <typename T>
bool differs(const T& a, const T& b)
{
    return a != b;
}

} // namespace

RandomSource& SimulationView::randomSource()
{
    return *randomizer;
}

float SimulationView::randFloat(float a, float b)
{
    return ::randFloat(*randomizer, a, b);
}

int SimulationView::randInt(int a, int b)
{
    return static_cast<int>(::randInt(*randomizer, a, b));
}

void SimulationView::OnRandomizer()
{
    const std::vector<int> bodyRows = getSelectedRows2();
    const std::vector<int> jointRows = getSelectedRowsInJointsTable2();
    if (bodyRows.empty() && jointRows.empty()) {
        QMessageBox::information(this, QStringLiteral("Zolvar"),
                                 QStringLiteral("To use Randomizer, you must select at least one body or joint."),
                                 QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }
    auto dialog =
        makeOwnedDialog<RandomizerDlg>(this, getModalDlgFlags(), lastRandomizerPropertyId, lastRandomizerRandomness);
    dialog->exec();
    const int id = dialog->getPropertyId();
    const float randomness = dialog->getRandomness();
    dialog.reset();
    if (id == 0)
        return;
    lastRandomizerPropertyId = id;
    lastRandomizerRandomness = randomness;
    randomizeProp(id, randomness, bodyRows, jointRows);
}

void SimulationView::randomizeProp(int propertyId, float randomness, std::vector<int> bodyRows,
                                   std::vector<int> jointRows)
{
    // A negative randomness would turn every lower bound into an upper one.
    const float r = randomness > 0.0f ? randomness : 0.0f;
    if (r == 0.0f && randomness != 0.0f)
        return;
    RandomSource& source = *randomizer;
    auto validRows = [](std::vector<int> rows, size_t count) {
        std::vector<int> valid;
        for (int row : rows)
            if (row >= 0 && size_t(row) < count)
                valid.push_back(row);
        return valid;
    };
    const std::vector<int> rowsB = validRows(std::move(bodyRows), bodies.size());
    const std::vector<int> rowsJ = validRows(std::move(jointRows), joints.size());
    auto body = [this](int row) -> MyBody& { return bodies[size_t(row)]; };
    auto joint = [this](int row) -> MyJoint& { return joints[size_t(row)]; };

    // One float property of the bodies or of the joints.
    auto bodyFloat = [&](auto command, float MyBody::*field) {
        using Command = typename decltype(command)::type;
        pushIfChanged<Command, float>(
            this, rowsB, [&](int row) { return body(row).*field; },
            [&](const float& v) { return randomizeFloat(propertyId, v, r, source); }, floatChanged);
    };
    auto jointFloat = [&](auto command, float MyJoint::*field) {
        using Command = typename decltype(command)::type;
        pushIfChanged<Command, float>(
            this, rowsJ, [&](int row) { return joint(row).*field; },
            [&](const float& v) { return randomizeFloat(propertyId, v, r, source); }, floatChanged);
    };
    auto bodyInt = [&](auto command, const std::function<int(const MyBody&)>& read) {
        using Command = typename decltype(command)::type;
        pushIfChanged<Command, int>(
            this, rowsB, [&](int row) { return read(body(row)); },
            [&](const int& v) { return randomizeInt(propertyId, v, r, source); }, differs<int>);
    };
    auto bodyFlag = [&](auto command, const std::function<bool(const MyBody&)>& read) {
        using Command = typename decltype(command)::type;
        pushIfChanged<Command, bool>(
            this, rowsB, [&](int row) { return read(body(row)); },
            [&](const bool& v) { return randomizeFlag(v, r, source); }, differs<bool>);
    };
    auto jointFlag = [&](auto command, bool MyJoint::*field) {
        using Command = typename decltype(command)::type;
        pushIfChanged<Command, bool>(
            this, rowsJ, [&](int row) { return joint(row).*field; },
            [&](const bool& v) { return randomizeFlag(v, r, source); }, differs<bool>);
    };
    auto boolField = [](bool MyBody::*field) { return [field](const MyBody& b) { return b.*field; }; };
    auto intField = [](int32_t MyBody::*field) { return [field](const MyBody& b) { return int(b.*field); }; };
#define ZOLVAR_TAG(Name) CommandTag<Command##Name##Change>{}

    switch (propertyId) {
    case P::Position: {
        const float sx = getGLXCoordFromAE(float(compWidth));
        const float sy = getGLYCoordFromAE(float(compHeight));
        pushIfChanged<CommandBodiesPositionChange, b2Vec2>(
            this, rowsB, [&](int row) { return body(row).position; },
            [&](const b2Vec2& v) { return randomizePosition(v, r, sx, sy, source); }, positionChanged);
        break;
    }
    case P::Rotation:
        pushIfChanged<CommandBodiesRotationChange, float>(
            this, rowsB, [&](int row) { return body(row).angle; },
            [&](const float& v) { return randomizeFloat(propertyId, v, r, source); }, rotationChanged);
        break;
    case P::Type: bodyInt(ZOLVAR_TAG(Type), intField(&MyBody::type)); break;
    case P::Density: bodyFloat(ZOLVAR_TAG(Density), &MyBody::density); break;
    case P::Friction: bodyFloat(ZOLVAR_TAG(Friction), &MyBody::friction); break;
    case P::Bounciness: bodyFloat(ZOLVAR_TAG(Bounciness), &MyBody::restitution); break;
    case P::Color:
        pushIfChanged<CommandBodyColorChange, QColor>(
            this, rowsB,
            [&](int row) {
                const AEGP_ColorVal& c = body(row).color;
                return colorFromChannels(c.red, c.green, c.blue);
            },
            [&](const QColor& v) { return randomizeColor(v, r, source); }, differs<QColor>);
        break;
    case P::MeshPrecision: bodyInt(ZOLVAR_TAG(MeshPrecision), intField(&MyBody::meshPrecision)); break;
    case P::VelocityMagnitude: bodyFloat(ZOLVAR_TAG(VelocityMagnitude), &MyBody::linearVelocityMagnitude); break;
    case P::VelocityDirection: bodyFloat(ZOLVAR_TAG(VelocityDirection), &MyBody::linearVelocityDirection); break;
    case P::AngularVelocity: bodyFloat(ZOLVAR_TAG(AngularVelocity), &MyBody::angularVelocity); break;
    case P::LinearDamping: bodyFloat(ZOLVAR_TAG(LinearDamping), &MyBody::linearDamping); break;
    case P::AngularDamping: bodyFloat(ZOLVAR_TAG(AngularDamping), &MyBody::angularDamping); break;
    case P::AEmaticDamping: bodyFloat(ZOLVAR_TAG(AEmaticDamping), &MyBody::aematicDamping); break;
    case P::AEmaticTension: bodyFloat(ZOLVAR_TAG(AEmaticTension), &MyBody::aematicTension); break;
    case P::CollisionGroup:
        bodyInt(ZOLVAR_TAG(CollisionGroup), [](const MyBody& b) { return collisionGroupIndex(b.categoryBits); });
        break;
    case P::CollideWith:
        randomizeCollideWith(r, rowsB);
        break;
    case P::FixedRotation: bodyFlag(ZOLVAR_TAG(FixedRotation), boolField(&MyBody::fixedRotation)); break;
    case P::GravityScale: bodyFloat(ZOLVAR_TAG(GravityScale), &MyBody::gravityScale); break;
    case P::UseConvexHull: bodyFlag(ZOLVAR_TAG(UseConvexHull), boolField(&MyBody::useConvexHull)); break;
    case P::MagnetismType: bodyInt(ZOLVAR_TAG(MagnetismType), intField(&MyBody::magnetismType)); break;
    case P::MagnetIntensity: bodyFloat(ZOLVAR_TAG(MagnetIntensity), &MyBody::magnetIntensity); break;
    case P::MagnetDistance: bodyFloat(ZOLVAR_TAG(MagnetDistance), &MyBody::magnetDistance); break;
    case P::AcceptMagnetism: bodyFlag(ZOLVAR_TAG(AcceptMagnetism), boolField(&MyBody::acceptMagnetism)); break;
    case P::DistanceTension: jointFloat(ZOLVAR_TAG(DistanceJointFrequency), &MyJoint::frequency); break;
    case P::DistanceDamping: jointFloat(ZOLVAR_TAG(DistanceJointDamping), &MyJoint::damping); break;
    case P::DistanceCollideConnected:
        jointFlag(ZOLVAR_TAG(DistanceJointCollideConnected), &MyJoint::collideConnected);
        break;
    case P::PivotEnableLimit: jointFlag(ZOLVAR_TAG(RevoluteJointEnableLimit), &MyJoint::enableLimit); break;
    case P::PivotLowerAngle: jointFloat(ZOLVAR_TAG(RevoluteJointLowerAngle), &MyJoint::lowerAngle); break;
    case P::PivotUpperAngle: jointFloat(ZOLVAR_TAG(RevoluteJointUpperAngle), &MyJoint::upperAngle); break;
    case P::PivotEnableMotor: jointFlag(ZOLVAR_TAG(RevoluteJointEnableMotor), &MyJoint::enableMotor); break;
    case P::PivotMotorSpeed: jointFloat(ZOLVAR_TAG(RevoluteJointMotorSpeed), &MyJoint::motorSpeed); break;
    case P::PivotMaxMotorTorque:
        jointFloat(ZOLVAR_TAG(RevoluteJointMaxMotorTorque), &MyJoint::maxMotorTorque);
        break;
    case P::PivotCollideConnected:
        jointFlag(ZOLVAR_TAG(RevoluteJointCollideConnected), &MyJoint::collideConnected);
        break;
    case P::PistonEnableLimit: jointFlag(ZOLVAR_TAG(PrismaticJointEnableLimit), &MyJoint::enableLimit); break;
    case P::PistonLowerTranslation:
        jointFloat(ZOLVAR_TAG(PrismaticJointLowerTranslation), &MyJoint::lowerTranslation);
        break;
    case P::PistonUpperTranslation:
        jointFloat(ZOLVAR_TAG(PrismaticJointUpperTranslation), &MyJoint::upperTranslation);
        break;
    case P::PistonEnableMotor: jointFlag(ZOLVAR_TAG(PrismaticJointEnableMotor), &MyJoint::enableMotor); break;
    case P::PistonMotorSpeed: jointFloat(ZOLVAR_TAG(PrismaticJointMotorSpeed), &MyJoint::motorSpeed); break;
    case P::PistonMaxMotorForce:
        jointFloat(ZOLVAR_TAG(PrismaticJointMaxMotorForce), &MyJoint::maxMotorForce);
        break;
    case P::PistonCollideConnected:
        jointFlag(ZOLVAR_TAG(PrismaticJointCollideConnected), &MyJoint::collideConnected);
        break;
    case P::SpringSpringiness: jointFloat(ZOLVAR_TAG(SpringJointSpringiness), &MyJoint::springiness); break;
    case P::SpringDamping: jointFloat(ZOLVAR_TAG(SpringJointDamping), &MyJoint::damping); break;
    case P::SpringDesiredLength:
        jointFloat(ZOLVAR_TAG(SpringJointDesiredLength), &MyJoint::desiredLength);
        break;
    default:
        // A header, or an id that names no property.
        break;
    }
#undef ZOLVAR_TAG
}

void SimulationView::randomizeCollideWith(float r, const std::vector<int>& rows)
{
    RandomSource& source = *randomizer;
    constexpr int kGroups = 5;
    std::vector<bool> olds[kGroups];
    std::vector<bool> news[kGroups];
    bool changed[kGroups] = {};
    for (int row : rows) {
        const uint16_t mask = bodies[size_t(row)].maskBits;
        for (int g = 0; g < kGroups; ++g) {
            const bool old = (mask & (1u << g)) != 0;
            const bool drawn = randomizeFlag(old, r, source);
            olds[g].push_back(old);
            news[g].push_back(drawn);
            changed[g] = changed[g] || drawn != old;
        }
    }
    using Push = std::function<void(int)>;
    const Push push[kGroups] = {
        [&](int g) { undoStack->push(new CommandCollideWithAChange(this, olds[g], news[g], rows)); },
        [&](int g) { undoStack->push(new CommandCollideWithBChange(this, olds[g], news[g], rows)); },
        [&](int g) { undoStack->push(new CommandCollideWithCChange(this, olds[g], news[g], rows)); },
        [&](int g) { undoStack->push(new CommandCollideWithDChange(this, olds[g], news[g], rows)); },
        [&](int g) { undoStack->push(new CommandCollideWithEChange(this, olds[g], news[g], rows)); },
    };
    for (int g = 0; g < kGroups; ++g)
        if (changed[g])
            push[g](g);
}
