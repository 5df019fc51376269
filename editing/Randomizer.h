// The randomizer's arithmetic, free of widgets and of the scene: the random
// source, the two draws, and the rule of every property that turns an old
// value, the randomness r (a fraction, 1 = 100 %) and the source into a new
// value. SimulationView::randomizeProp gathers the rows and pushes the
// commands (editing/SimulationViewRandomizer.cpp).
#pragma once

#include <box2d/b2_math.h>

#include <QColor>

#include <cstdint>
#include <deque>
#include <random>

// The property ids: the entries of the randomizer dialog's list.
namespace RandomizerProperty {
enum Id : int {
    BodyHeader = 0,
    Position = 1,
    Rotation,
    Type,
    Density,
    Friction,
    Bounciness,
    Color,
    MeshPrecision,
    VelocityMagnitude,
    VelocityDirection,
    AngularVelocity,
    LinearDamping,
    AngularDamping,
    AEmaticDamping,
    AEmaticTension,
    CollisionGroup,
    CollideWith,
    FixedRotation,
    GravityScale,
    UseConvexHull,
    MagnetismType,
    MagnetIntensity,
    MagnetDistance,
    AcceptMagnetism,  // 24
    DistanceJointHeader = 25,
    DistanceTension,
    DistanceDamping,
    DistanceCollideConnected,
    PivotJointHeader = 29,
    PivotEnableLimit,
    PivotLowerAngle,
    PivotUpperAngle,
    PivotEnableMotor,
    PivotMotorSpeed,
    PivotMaxMotorTorque,
    PivotCollideConnected,
    PistonJointHeader = 37,
    PistonEnableLimit,
    PistonLowerTranslation,
    PistonUpperTranslation,
    PistonEnableMotor,
    PistonMotorSpeed,
    PistonMaxMotorForce,
    PistonCollideConnected,
    SpringJointHeader = 45,
    SpringSpringiness,
    SpringDamping,
    SpringDesiredLength,  // 48
    Count = 49
};
}

bool isRandomizerBodyProperty(int id);
bool isRandomizerJointProperty(int id);

// A source of raw values 0 .. 2^31 - 1. It draws from its own engine, seeded
// once from system randomness unless a test seeds it; scripted raw values
// come first, in order.
class RandomSource
{
public:
    static constexpr std::uint32_t kMax = 0x7FFFFFFFu;

    RandomSource();
    explicit RandomSource(std::uint32_t seed) { setSeed(seed); }

    void setSeed(std::uint32_t seed);
    // The next draws return these (each masked to 31 bits), then the engine
    // takes over again.
    void script(std::initializer_list<std::uint32_t> raws);
    std::uint32_t next();
    // How many values were drawn so far.
    long long drawCount() const { return draws; }

private:
    std::mt19937 engine;
    std::deque<std::uint32_t> scripted;
    long long draws = 0;
};

// a + u (b - a), u = raw / 2^31 in single precision; a may exceed b.
float randFloat(RandomSource& source, float a, float b);
// raw % (b + 1 - a) + a; a when that divisor is 0. Computed in 64 bits.
long long randInt(RandomSource& source, long long a, long long b);

// Floating-point properties (position, colour and the integer and flag
// properties excluded): the new value, after one draw. A non-finite old
// value, or a draw that is not finite, gives back the old value.
float randomizeFloat(int id, float v, float r, RandomSource& source);
bool isRandomizerFloatProperty(int id);

// Type (0..5), mesh precision (1..10), collision group index (0..4) and
// magnetism type (0..2): the result always lies in the property's range.
int randomizeInt(int id, int v, float r, RandomSource& source);

// Flags: one draw x = U(0, r); the flag flips when x >= 0.25.
bool randomizeFlag(bool v, float r, RandomSource& source);

// Each channel within int(255 r) of the old one, drawn red, green, blue, and
// within 0..255; alpha 255. Old channels outside 0..255 are taken clamped.
QColor randomizeColor(const QColor& old, float r, RandomSource& source);
// The colour of a body record's channels (0..1 each): int(255 c), clamped.
QColor colorFromChannels(double red, double green, double blue);

// x within r sx and then y within r sy of the old position (world units).
b2Vec2 randomizePosition(b2Vec2 v, float r, float sx, float sy, RandomSource& source);

// The group index of category bits: 1 -> 0 (A) ... 16 -> 4 (E), else 0.
int collisionGroupIndex(std::uint16_t categoryBits);

// The change tests: position and rotation beyond single-precision epsilon,
// numbers exactly (two NaNs count as equal).
bool positionChanged(b2Vec2 a, b2Vec2 b);
bool rotationChanged(float a, float b);
bool floatChanged(float a, float b);
