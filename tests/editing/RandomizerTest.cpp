// The randomizer's arithmetic without a window: the source and the two
// draws, every rule's range, the wrap, the enumerations, colours, flags,
// positions, the draw order and the guards against stored values that are
// out of range.
#include "editing/Randomizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

namespace {

namespace P = RandomizerProperty;

constexpr std::uint32_t kLow = 0;
constexpr std::uint32_t kMiddle = 1u << 30;
constexpr std::uint32_t kHigh = 0x7FFFFFFFu;

TEST(RandomizerSource, RawValuesMapToTheEndsAndTheMiddle)
{
    RandomSource source(1);
    source.script({kLow, kMiddle, kHigh});
    EXPECT_EQ(randFloat(source, 10.0f, 20.0f), 10.0f);
    EXPECT_EQ(randFloat(source, 10.0f, 20.0f), 15.0f);
    EXPECT_EQ(randFloat(source, 10.0f, 20.0f), 20.0f) << "2^31 - 1 rounds to 1 in single precision";

    // a may exceed b.
    source.script({kLow, kHigh});
    EXPECT_EQ(randFloat(source, 5.0f, -5.0f), 5.0f);
    EXPECT_EQ(randFloat(source, 5.0f, -5.0f), -5.0f);

    // raw % (b + 1 - a) + a
    source.script({kLow, kMiddle, kHigh, 123});
    EXPECT_EQ(randInt(source, 3, 9), 3);
    EXPECT_EQ(randInt(source, 3, 9), 3 + (1 << 30) % 7);
    EXPECT_EQ(randInt(source, 3, 9), 3 + 0x7FFFFFFF % 7);
    EXPECT_EQ(randInt(source, 4, 3), 4) << "an empty range gives a instead of dividing by zero";
    EXPECT_EQ(source.drawCount(), 9);
}

TEST(RandomizerSource, OneSeedOneSequenceAndOnly31Bits)
{
    RandomSource a(42);
    RandomSource b(42);
    RandomSource c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const std::uint32_t x = a.next();
        EXPECT_EQ(x, b.next());
        EXPECT_LE(x, RandomSource::kMax);
        differs = differs || x != c.next();
    }
    EXPECT_TRUE(differs);
    a.script({0xFFFFFFFFu});
    EXPECT_EQ(a.next(), RandomSource::kMax);
}

// The range each float rule draws from, as the table gives it.
struct FloatRow
{
    int id;
    float v;
    float below;
    float above;
    std::optional<float> floor;
    std::optional<float> ceiling;
};

TEST(RandomizerRules, EveryFloatRuleStaysWithinItsBounds)
{
    const FloatRow rows[] = {
        {P::Rotation, 0.5f, 3.1415927f, 3.1415927f, {}, {}},
        {P::Density, 0.4f, 1, 1, 0.001f, {}},
        {P::Friction, 0.2f, 1, 1, 0.0f, {}},
        {P::Bounciness, 0.3f, 1, 1, 0.0f, {}},
        {P::VelocityMagnitude, 3.0f, 25, 25, 0.0f, {}},
        {P::AngularVelocity, -1.0f, 5, 5, {}, {}},
        {P::LinearDamping, 0.1f, 1, 1, 0.0f, {}},
        {P::AngularDamping, 0.0f, 1, 1, 0.0f, {}},
        {P::AEmaticDamping, 0.5f, 1, 1, 0.0f, {}},
        {P::AEmaticTension, 1.0f, 1, 3, 0.01f, {}},
        {P::GravityScale, 1.0f, 1, 1, {}, {}},
        {P::MagnetIntensity, 10.0f, 5, 5, {}, {}},
        {P::MagnetDistance, 100.0f, 500, 500, {}, {}},
        {P::DistanceTension, 2.0f, 5, 5, 0.0f, {}},
        {P::DistanceDamping, 0.5f, 1, 1, 0.0f, {}},
        {P::PivotLowerAngle, -30.0f, 180, 180, -180.0f, 0.0f},
        {P::PivotUpperAngle, 45.0f, 180, 180, 0.0f, 180.0f},
        {P::PivotMotorSpeed, 1.0f, 5, 5, {}, {}},
        {P::PivotMaxMotorTorque, 10.0f, 50, 50, 0.0f, {}},
        {P::PistonLowerTranslation, -1.0f, 10, 10, {}, {}},
        {P::PistonUpperTranslation, 1.0f, 10, 10, {}, {}},
        {P::PistonMotorSpeed, 0.0f, 5, 5, {}, {}},
        {P::PistonMaxMotorForce, 10.0f, 50, 50, 0.0f, {}},
        {P::SpringSpringiness, 0.5f, 1, 1, 0.0f, {}},
        {P::SpringDamping, 0.5f, 1, 1, 0.0f, {}},
        {P::SpringDesiredLength, 1.0f, 5, 5, 0.0f, {}},
    };
    RandomSource source(7);
    for (const FloatRow& row : rows) {
        EXPECT_TRUE(isRandomizerFloatProperty(row.id)) << row.id;
        for (float r : {0.1f, 1.0f, 2.5f}) {
            float lo = row.v - row.below * r;
            float hi = row.v + row.above * r;
            if (row.floor)
                lo = std::max(lo, *row.floor);
            if (row.ceiling)
                hi = std::min(hi, *row.ceiling);
            float seenLo = std::numeric_limits<float>::max();
            float seenHi = -seenLo;
            for (int i = 0; i < 400; ++i) {
                const float x = randomizeFloat(row.id, row.v, r, source);
                EXPECT_GE(x, std::min(lo, hi)) << row.id << " at " << r;
                EXPECT_LE(x, std::max(lo, hi)) << row.id << " at " << r;
                seenLo = std::min(seenLo, x);
                seenHi = std::max(seenHi, x);
            }
            // The draws spread over the range, not just one end of it.
            EXPECT_LT(seenLo, lo + 0.1f * (hi - lo)) << row.id << " at " << r;
            EXPECT_GT(seenHi, hi - 0.1f * (hi - lo)) << row.id << " at " << r;
        }
    }
}

TEST(RandomizerRules, RandomnessZeroChangesNothingButOutOfBoundValues)
{
    RandomSource source(3);
    for (int id = 0; id < P::Count; ++id) {
        if (!isRandomizerFloatProperty(id))
            continue;
        // Values inside every rule's bounds.
        for (float v : {0.5f, 12.0f}) {
            const float inside = id == P::PivotLowerAngle ? -v : v;
            EXPECT_EQ(randomizeFloat(id, inside, 0.0f, source), inside) << id << " from " << inside;
        }
    }
    // The exceptions: below the density's or the tension's floor, and a
    // direction outside [0, 360).
    source.script({kLow, kHigh});
    EXPECT_EQ(randomizeFloat(P::Density, 0.0005f, 0.0f, source), 0.001f);
    EXPECT_EQ(randomizeFloat(P::Density, 0.0005f, 0.0f, source), 0.0005f);
    EXPECT_EQ(randomizeFloat(P::VelocityDirection, 370.0f, 0.0f, source), 10.0f);
    EXPECT_EQ(randomizeFloat(P::VelocityDirection, -90.0f, 0.0f, source), 270.0f);
}

TEST(RandomizerRules, VelocityDirectionWrapsIntoOneTurn)
{
    RandomSource source(5);
    // 350 at 10 % draws from [332, 368]; 368 comes back as 8.
    source.script({kLow, kHigh});
    EXPECT_EQ(randomizeFloat(P::VelocityDirection, 350.0f, 0.1f, source), 332.0f);
    EXPECT_FLOAT_EQ(randomizeFloat(P::VelocityDirection, 350.0f, 0.1f, source), 8.0f);
    for (int i = 0; i < 500; ++i) {
        const float x = randomizeFloat(P::VelocityDirection, 350.0f, 0.1f, source);
        EXPECT_TRUE((x >= 332.0f && x < 360.0f) || (x >= 0.0f && x <= 8.0f)) << x;
    }
    // A huge stored direction returns at once, inside one turn; adding 360
    // to it would change nothing.
    for (float v : {-1e30f, 1e30f, -3e38f}) {
        const float x = randomizeFloat(P::VelocityDirection, v, 2.5f, source);
        EXPECT_GE(x, 0.0f) << v;
        EXPECT_LT(x, 360.0f) << v;
    }
    // A non-finite value stays as it is.
    EXPECT_TRUE(std::isnan(randomizeFloat(P::VelocityDirection, std::nanf(""), 1.0f, source)));
    EXPECT_EQ(randomizeFloat(P::VelocityDirection, INFINITY, 1.0f, source), INFINITY);
}

TEST(RandomizerRules, TypeAt100PercentFromDynamicFavoursTheWrappedThree)
{
    RandomSource source(11);
    std::map<int, int> counts;
    const int n = 60000;
    for (int i = 0; i < n; ++i)
        ++counts[randomizeInt(P::Type, 2, 1.0f, source)];
    ASSERT_EQ(counts.size(), 6u);
    // I(0, 8) mod 6: Static, Kinematic and Dynamic twice as likely.
    for (int t = 0; t < 6; ++t) {
        const double expected = (t < 3 ? 2.0 : 1.0) / 9.0;
        EXPECT_NEAR(double(counts[t]) / n, expected, 0.01) << t;
    }
}

TEST(RandomizerRules, EnumerationsAndMeshPrecisionStayInRange)
{
    struct Row
    {
        int id;
        int lo;
        int hi;
        std::vector<int> olds;  // out-of-range values included
    };
    const Row rows[] = {
        {P::Type, 0, 5, {0, 2, 5, -3, 9, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}},
        {P::CollisionGroup, 0, 4, {0, 4, -1, 12}},
        {P::MagnetismType, 0, 2, {0, 2, -5, 7}},
        {P::MeshPrecision, 1, 10, {1, 5, 10, 0, -4, 99, std::numeric_limits<int>::max()}},
    };
    RandomSource source(13);
    for (const Row& row : rows)
        for (int v : row.olds)
            for (float r : {0.0f, 0.05f, 0.1f, 1.0f, 2.5f, 167772.0f}) {
                for (int i = 0; i < 50; ++i) {
                    const int x = randomizeInt(row.id, v, r, source);
                    EXPECT_GE(x, row.lo) << row.id << " " << v << " " << r;
                    EXPECT_LE(x, row.hi) << row.id << " " << v << " " << r;
                }
            }
    // A stored mesh precision of 0 under 11 % is an empty range: no division by
    // zero, the lowest valid value.
    source.script({kHigh});
    EXPECT_EQ(randomizeInt(P::MeshPrecision, 0, 0.1f, source), 1);
    // Within [1, 10] the spread is int(9 r) each way.
    for (int i = 0; i < 200; ++i) {
        const int x = randomizeInt(P::MeshPrecision, 5, 0.25f, source);
        EXPECT_GE(x, 3);
        EXPECT_LE(x, 7);
    }
    EXPECT_EQ(collisionGroupIndex(1), 0);
    EXPECT_EQ(collisionGroupIndex(16), 4);
    EXPECT_EQ(collisionGroupIndex(3), 0);
}

TEST(RandomizerRules, FlagsFlipOnlyFromAQuarterOn)
{
    RandomSource source(17);
    for (int i = 0; i < 2000; ++i) {
        EXPECT_TRUE(randomizeFlag(true, 0.2499f, source));
        EXPECT_FALSE(randomizeFlag(false, 0.0f, source));
    }
    int flips = 0;
    for (int i = 0; i < 20000; ++i)
        flips += randomizeFlag(false, 1.0f, source) ? 1 : 0;
    EXPECT_NEAR(flips / 20000.0, 0.75, 0.015);
}

TEST(RandomizerRules, ColoursStayValidAndDrawRedGreenBlue)
{
    RandomSource source(19);
    for (const QColor& old : {QColor(0, 0, 0), QColor(255, 255, 255), QColor(10, 128, 250)})
        for (float r : {0.1f, 1.0f, 2.5f, 167772.0f})
            for (int i = 0; i < 100; ++i) {
                const QColor c = randomizeColor(old, r, source);
                EXPECT_TRUE(c.isValid());
                EXPECT_EQ(c.alpha(), 255);
                const int k = std::min(255, int(255.0f * r));
                EXPECT_LE(std::abs(c.red() - old.red()), k);
                EXPECT_LE(std::abs(c.green() - old.green()), k);
                EXPECT_LE(std::abs(c.blue() - old.blue()), k);
            }
    // One draw per channel in the order red, green, blue.
    source.script({kLow, kHigh, 5});
    const long long before = source.drawCount();
    const QColor c = randomizeColor(QColor(100, 100, 100), 0.1f, source);
    EXPECT_EQ(source.drawCount() - before, 3);
    EXPECT_EQ(c.red(), 75);
    EXPECT_EQ(c.green(), 100 - 25 + int(0x7FFFFFFF % 51));
    EXPECT_EQ(c.blue(), 80);
    // Stored channels outside 0..1 read as a valid colour.
    EXPECT_EQ(colorFromChannels(1.5, -0.2, 0.5), QColor(255, 0, 127));
    EXPECT_EQ(colorFromChannels(std::nan(""), 1.0, 0.0), QColor(0, 255, 0));
}

TEST(RandomizerRules, PositionSpreadsOverHalfTheCompositionXThenY)
{
    RandomSource source(23);
    // 1920 x 1080: half of it in world units is 9.6 x 5.4.
    const float sx = 1920.0f / 200.0f;
    const float sy = 1080.0f / 200.0f;
    source.script({kLow, kHigh, kHigh, kLow});
    b2Vec2 p = randomizePosition(b2Vec2(1.0f, 2.0f), 1.0f, sx, sy, source);
    EXPECT_FLOAT_EQ(p.x, 1.0f - 9.6f);
    EXPECT_FLOAT_EQ(p.y, 2.0f + 5.4f);
    p = randomizePosition(b2Vec2(1.0f, 2.0f), 1.0f, sx, sy, source);
    EXPECT_FLOAT_EQ(p.x, 1.0f + 9.6f);
    EXPECT_FLOAT_EQ(p.y, 2.0f - 5.4f);
    // The widest randomness keeps every result finite.
    for (int i = 0; i < 100; ++i) {
        p = randomizePosition(b2Vec2(1.0f, 2.0f), 167772.0f, sx, sy, source);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        for (int id = 0; id < P::Count; ++id) {
            if (isRandomizerFloatProperty(id)) {
                EXPECT_TRUE(std::isfinite(randomizeFloat(id, 3.0f, -167772.0f, source)) &&
                            std::isfinite(randomizeFloat(id, 3.0f, 167772.0f, source)))
                    << id;
            }
        }
    }
}

TEST(RandomizerRules, ChangeTestsAndPropertyKinds)
{
    EXPECT_FALSE(positionChanged(b2Vec2(1, 1), b2Vec2(1, 1 + 1e-8f)));
    EXPECT_TRUE(positionChanged(b2Vec2(1, 1), b2Vec2(1, 1.001f)));
    EXPECT_FALSE(rotationChanged(0.0f, 1e-8f));
    EXPECT_TRUE(rotationChanged(0.0f, 1e-3f));
    EXPECT_FALSE(floatChanged(std::nanf(""), std::nanf("")));
    EXPECT_TRUE(floatChanged(1.0f, 1.0000001f));

    int body = 0;
    int joint = 0;
    for (int id = -3; id < 60; ++id) {
        body += isRandomizerBodyProperty(id) ? 1 : 0;
        joint += isRandomizerJointProperty(id) ? 1 : 0;
    }
    EXPECT_EQ(body, 24);
    EXPECT_EQ(joint, 20);
    for (int header : {0, 25, 29, 37, 45})
        EXPECT_FALSE(isRandomizerBodyProperty(header) || isRandomizerJointProperty(header));
}

} // namespace
