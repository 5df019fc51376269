#include "editing/Randomizer.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr float kSinglePrecisionPi = 3.1415927f;
constexpr float kEpsilon = 1.1920929e-07f;

// The spread below and above v (× r), and the bounds of the range drawn from.
struct FloatRule
{
    int id;
    float below;
    float above;
    std::optional<float> floor;    // lower end at least this
    std::optional<float> ceiling;  // upper end at most this
    bool wrapDegrees = false;      // the result wrapped into [0, 360)
};

const FloatRule* floatRule(int id)
{
    namespace P = RandomizerProperty;
    static const FloatRule rules[] = {
        {P::Rotation, kSinglePrecisionPi, kSinglePrecisionPi, {}, {}},
        {P::Density, 1, 1, 0.001f, {}},
        {P::Friction, 1, 1, 0.0f, {}},
        {P::Bounciness, 1, 1, 0.0f, {}},
        {P::VelocityMagnitude, 25, 25, 0.0f, {}},
        {P::VelocityDirection, 180, 180, {}, {}, true},
        {P::AngularVelocity, 5, 5, {}, {}},
        {P::LinearDamping, 1, 1, 0.0f, {}},
        {P::AngularDamping, 1, 1, 0.0f, {}},
        {P::AEmaticDamping, 1, 1, 0.0f, {}},
        {P::AEmaticTension, 1, 3, 0.01f, {}},
        {P::GravityScale, 1, 1, {}, {}},
        {P::MagnetIntensity, 5, 5, {}, {}},
        {P::MagnetDistance, 500, 500, {}, {}},
        {P::DistanceTension, 5, 5, 0.0f, {}},
        {P::DistanceDamping, 1, 1, 0.0f, {}},
        {P::PivotLowerAngle, 180, 180, -180.0f, 0.0f},
        {P::PivotUpperAngle, 180, 180, 0.0f, 180.0f},
        {P::PivotMotorSpeed, 5, 5, {}, {}},
        {P::PivotMaxMotorTorque, 50, 50, 0.0f, {}},
        {P::PistonLowerTranslation, 10, 10, {}, {}},
        {P::PistonUpperTranslation, 10, 10, {}, {}},
        {P::PistonMotorSpeed, 5, 5, {}, {}},
        {P::PistonMaxMotorForce, 50, 50, 0.0f, {}},
        {P::SpringSpringiness, 1, 1, 0.0f, {}},
        {P::SpringDamping, 1, 1, 0.0f, {}},
        {P::SpringDesiredLength, 5, 5, 0.0f, {}},
    };
    for (const FloatRule& rule : rules)
        if (rule.id == id)
            return &rule;
    return nullptr;
}

// Reduces x into [0, n).
long long wrapInto(long long x, long long n)
{
    const long long m = x % n;
    return m < 0 ? m + n : m;
}

} // namespace

bool isRandomizerBodyProperty(int id)
{
    return id >= RandomizerProperty::Position && id <= RandomizerProperty::AcceptMagnetism;
}

bool isRandomizerJointProperty(int id)
{
    namespace P = RandomizerProperty;
    return id > P::DistanceJointHeader && id < P::Count && id != P::PivotJointHeader &&
           id != P::PistonJointHeader && id != P::SpringJointHeader;
}

RandomSource::RandomSource()
{
    setSeed(QRandomGenerator::system()->generate());
}

void RandomSource::setSeed(std::uint32_t seed)
{
    engine.seed(seed);
    scripted.clear();
}

void RandomSource::script(std::initializer_list<std::uint32_t> raws)
{
    for (std::uint32_t raw : raws)
        scripted.push_back(raw & kMax);
}

std::uint32_t RandomSource::next()
{
    ++draws;
    if (!scripted.empty()) {
        const std::uint32_t raw = scripted.front();
        scripted.pop_front();
        return raw;
    }
    return static_cast<std::uint32_t>(engine()) & kMax;
}

float randFloat(RandomSource& source, float a, float b)
{
    const float u = static_cast<float>(source.next()) / 2147483648.0f;
    return a + u * (b - a);
}

long long randInt(RandomSource& source, long long a, long long b)
{
    const long long raw = source.next();
    const long long divisor = b + 1 - a;
    // An out-of-range stored value can make the range empty.
    if (divisor == 0)
        return a;
    return raw % divisor + a;
}

bool isRandomizerFloatProperty(int id)
{
    return floatRule(id) != nullptr;
}

float randomizeFloat(int id, float v, float r, RandomSource& source)
{
    const FloatRule* rule = floatRule(id);
    if (!rule)
        return v;
    float lo = v - rule->below * r;
    float hi = v + rule->above * r;
    if (rule->floor && lo < *rule->floor)
        lo = *rule->floor;
    if (rule->ceiling && hi > *rule->ceiling)
        hi = *rule->ceiling;
    // A non-finite old value gives a non-finite draw: the old value stays.
    float x = randFloat(source, lo, hi);
    if (!std::isfinite(x))
        return v;
    if (rule->wrapDegrees) {
        // One step, however large the value: adding 360 to a huge float
        // changes nothing.
        x = std::fmod(x, 360.0f);
        if (x < 0.0f)
            x += 360.0f;
        if (x >= 360.0f)  // -tiny + 360 rounds to 360
            x = 0.0f;
    }
    return x;
}

int randomizeInt(int id, int v, float r, RandomSource& source)
{
    namespace P = RandomizerProperty;
    const long long old = v;
    switch (id) {
    case P::MeshPrecision: {
        const long long k = static_cast<long long>(9.0f * r);
        const long long lo = old - k > 0 ? old - k : 1;
        const long long hi = std::min<long long>(10, old + k);
        return static_cast<int>(std::clamp<long long>(randInt(source, lo, hi), 1, 10));
    }
    case P::Type:
    case P::CollisionGroup:
    case P::MagnetismType: {
        const long long choices = id == P::Type ? 6 : id == P::CollisionGroup ? 5 : 3;
        const float spread = id == P::Type ? 6.0f : id == P::CollisionGroup ? 5.0f : 2.0f;
        const long long k = static_cast<long long>(spread * r);
        const long long lo = std::max<long long>(0, old - k);
        return static_cast<int>(wrapInto(randInt(source, lo, old + k), choices));
    }
    default:
        return v;
    }
}

bool randomizeFlag(bool v, float r, RandomSource& source)
{
    const float x = randFloat(source, 0.0f, r);
    return x < 0.25f ? v : !v;
}

QColor colorFromChannels(double red, double green, double blue)
{
    auto channel = [](double c) {
        const double scaled = 255.0 * c;
        if (!(scaled > 0.0))
            return 0;
        return scaled >= 255.0 ? 255 : static_cast<int>(scaled);
    };
    return QColor(channel(red), channel(green), channel(blue), 255);
}

QColor randomizeColor(const QColor& old, float r, RandomSource& source)
{
    const long long k = static_cast<long long>(255.0f * r);
    auto draw = [&](int c) {
        const long long lo = std::max<long long>(0, c - k);
        const long long hi = std::min<long long>(255, c + k);
        return static_cast<int>(std::clamp<long long>(randInt(source, lo, hi), 0, 255));
    };
    const int red = draw(old.red());
    const int green = draw(old.green());
    const int blue = draw(old.blue());
    return QColor(red, green, blue, 255);
}

b2Vec2 randomizePosition(b2Vec2 v, float r, float sx, float sy, RandomSource& source)
{
    auto draw = [&](float c, float s) {
        const float x = randFloat(source, c - r * s, c + r * s);
        return std::isfinite(x) ? x : c;
    };
    const float x = draw(v.x, sx);
    const float y = draw(v.y, sy);
    return b2Vec2(x, y);
}

int collisionGroupIndex(std::uint16_t categoryBits)
{
    switch (categoryBits) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    case 8: return 3;
    case 16: return 4;
    default: return 0;
    }
}

bool positionChanged(b2Vec2 a, b2Vec2 b)
{
    return (a - b).Length() > kEpsilon;
}

bool rotationChanged(float a, float b)
{
    return std::fabs(a - b) > kEpsilon;
}

bool floatChanged(float a, float b)
{
    if (std::isnan(a) && std::isnan(b))
        return false;
    return a != b;
}
