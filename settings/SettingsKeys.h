// The keys of a settings file, described once for the writer and the
// reader. Each description walks the keys of one element in the order the
// writer prints them, handing each to a visitor with the field it stands for
// and what the reader accepts for it: the writer's visitor prints the field,
// the reader's takes the file's value into it, and a third collects the
// names the reader knows. A key added here is written and read alike.
//
// A visitor has these members (F is the field's type; the writer's fields
// are const, the reader's scene values are std::optional):
//   integer(name, F& field, IntFit fit)     decimal; fit says what the reader keeps
//   real(name, F& field, Range range)       six decimals; clamped into range on read
//   flag(name, F& field, FlagRule rule)     0 or 1
//   text(name, F& field)                    UTF-8
//   pair(x, y, F& field, Range range)       two reals, read only together
//   olderPair(x, y, F& field, Range range)  read only: an older name of a pair
//   color(r, g, b, F& field)                a body's colour, three reals 0 to 1
//   zoom(name, F& field)                    the zoom slider's integer, written as a real
//   background(r, g, b, F& field)           the view's colour, components / 255
#pragma once

#include "model/MyBody.h"
#include "model/MyJoint.h"
#include "model/QuickPreset.h"
#include "settings/SettingsDocument.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace SettingsKeys {

// The widest edit-box range, and the reach of positions and anchors.
constexpr double kEditMax = 16777200.0;
constexpr double kPlaceMax = 1.0e6;

struct Range
{
    double low;
    double high;
};
constexpr Range kAny{-kEditMax, kEditMax};
constexpr Range kNonNegative{0.0, kEditMax};
constexpr Range kPlace{-kPlaceMax, kPlaceMax};

// What the reader keeps of an integer; no value drops it as absent.
using IntFit = std::optional<int> (*)(int);
inline std::optional<int> asIs(int value)
{
    return value;
}
template <int Low, int High>
std::optional<int> within(int value)
{
    return value < Low || value > High ? std::nullopt : std::optional<int>(value);
}
template <int Low, int High>
std::optional<int> clampedTo(int value)
{
    return std::clamp(value, Low, High);
}
// One collision group's bit; anything else is group A.
inline std::optional<int> collisionGroup(int c)
{
    return (c == 1 || c == 2 || c == 4 || c == 8 || c == 16) ? c : 1;
}
inline std::optional<int> sixteenBits(int value)
{
    return static_cast<int>(static_cast<unsigned>(value) & 0xFFFFu);
}

// A body's flag is set when its integer is greater than 0, a joint's when
// it is not 0.
enum class FlagRule { Positive, NonZero };

// The groups of a body without a default: whether the file had them.
struct BodyFound
{
    bool layerID = false;
    bool position = false;
    bool angle = false;
    bool color = false;
};

// The root element.
template <typename V, typename Int>
void rootKeys(V& v, Int& major, Int& minor)
{
    v.integer("majorVersion", major, asIs);
    v.integer("minorVersion", minor, asIs);
}

// `body`, from a MyBody.
template <typename V, typename Body>
void bodyKeys(V& v, Body& b, BodyFound& found)
{
    found.layerID = v.integer("layerID", b.layerID, asIs);
    v.integer("index", b.index, asIs);
    v.text("name", b.name);
    v.integer("type", b.type, within<0, 5>);
    v.real("density", b.density, Range{0.001, kEditMax});
    v.real("friction", b.friction, kNonNegative);
    v.real("restitution", b.restitution, kNonNegative);
    v.integer("meshPrecision", b.meshPrecision, clampedTo<0, 10>);
    v.real("linearVelocityMagnitude", b.linearVelocityMagnitude, kNonNegative);
    v.real("linearVelocityDirection", b.linearVelocityDirection, kAny);
    v.real("angularVelocity", b.angularVelocity, kAny);
    v.real("linearDamping", b.linearDamping, kNonNegative);
    v.real("angularDamping", b.angularDamping, kNonNegative);
    v.real("aematicDamping", b.aematicDamping, kNonNegative);
    v.real("aematicTension", b.aematicTension, Range{0.01, kEditMax});
    v.integer("categoryBits", b.categoryBits, collisionGroup);
    v.integer("maskBits", b.maskBits, sixteenBits);
    v.flag("fixedRotation", b.fixedRotation, FlagRule::Positive);
    v.real("gravityScale", b.gravityScale, kAny);
    v.flag("useConvexHull", b.useConvexHull, FlagRule::Positive);
    v.integer("magnetismType", b.magnetismType, within<0, 2>);
    v.real("magnetIntensity", b.magnetIntensity, kNonNegative);
    v.real("magnetDistance", b.magnetDistance, kNonNegative);
    v.flag("acceptMagnetism", b.acceptMagnetism, FlagRule::Positive);
    v.real("openShapeLineWidth", b.openShapeLineWidth, Range{0.005, 0.065});
    found.color = v.color("colorR", "colorG", "colorB", b.color);
    found.position = v.pair("positionX", "positionY", b.position, kPlace);
    found.angle = v.real("angle", b.angle, kPlace);
    // The older name first: the newer one wins when both are there.
    v.olderPair("anchoringX", "anchoringY", b.aematicAnchor, kPlace);
    v.pair("aematicAnchorX", "aematicAnchorY", b.aematicAnchor, kPlace);
}

// The attributes every `joint` starts with: its type, the rows of its two
// bodies as written, and their identifiers.
template <typename V, typename Joint, typename Int>
void jointIdentityKeys(V& v, Joint& j, Int& bodyAId, Int& bodyBId)
{
    v.integer("type", j.type, asIs);
    v.integer("bodyAId", bodyAId, asIs);
    v.integer("bodyBId", bodyBId, asIs);
    v.integer("bodyALayerID", j.bodyALayerID, asIs);
    v.integer("bodyBLayerID", j.bodyBLayerID, asIs);
    v.integer("bodyALayerIndex", j.bodyALayerIndex, asIs);
    v.integer("bodyBLayerIndex", j.bodyBLayerIndex, asIs);
    v.text("bodyALayerName", j.bodyALayerName);
    v.text("bodyBLayerName", j.bodyBLayerName);
}

// The attributes of the joint's type; none for a type this program does
// not know.
template <typename V, typename Joint>
void jointTypeKeys(V& v, Joint& j)
{
    switch (j.type) {
    case JointType::Distance:
        v.pair("anchorAX", "anchorAY", j.anchorA, kPlace);
        v.pair("anchorBX", "anchorBY", j.anchorB, kPlace);
        v.real("frequency", j.frequency, kNonNegative);
        v.real("damping", j.damping, kAny);
        v.flag("collideConnected", j.collideConnected, FlagRule::NonZero);
        break;
    case JointType::Revolute:
        v.pair("anchorX", "anchorY", j.anchor, kPlace);
        v.flag("enableLimit", j.enableLimit, FlagRule::NonZero);
        // Limits stay as written, inverted or not: the world orders them.
        v.real("lowerAngle", j.lowerAngle, kAny);
        v.real("upperAngle", j.upperAngle, kAny);
        v.flag("enableMotor", j.enableMotor, FlagRule::NonZero);
        v.real("motorSpeed", j.motorSpeed, kAny);
        v.real("maxMotorTorque", j.maxMotorTorque, kNonNegative);
        v.flag("collideConnected", j.collideConnected, FlagRule::NonZero);
        break;
    case JointType::Prismatic:
        v.pair("axisX", "axisY", j.axis, kPlace);
        v.flag("enableLimit", j.enableLimit, FlagRule::NonZero);
        v.real("lowerTranslation", j.lowerTranslation, kAny);
        v.real("upperTranslation", j.upperTranslation, kAny);
        v.flag("enableMotor", j.enableMotor, FlagRule::NonZero);
        v.real("motorSpeed", j.motorSpeed, kAny);
        v.real("maxMotorForce", j.maxMotorForce, kNonNegative);
        v.flag("collideConnected", j.collideConnected, FlagRule::NonZero);
        break;
    case JointType::Spring:
        v.pair("anchorAX", "anchorAY", j.anchorA, kPlace);
        v.pair("anchorBX", "anchorBY", j.anchorB, kPlace);
        v.real("springiness", j.springiness, kNonNegative);
        v.real("damping", j.damping, kNonNegative);
        v.real("desiredLength", j.desiredLength, kNonNegative);
        break;
    default:
        break;
    }
}

// The scene values, from a QuickPreset (writer) or into a SettingsBlock
// (reader). The two name a few of them differently.
inline const QColor& backgroundOf(const QuickPreset& p)
{
    return p.backgroundColor;
}
inline std::optional<QColor>& backgroundOf(SettingsBlock& b)
{
    return b.background;
}
inline const bool& takeValueFromOf(const QuickPreset& p)
{
    return p.gravityFromLayer;
}
inline std::optional<int>& takeValueFromOf(SettingsBlock& b)
{
    return b.takeValueFrom;
}
// The gravity layer is written when gravity comes from a layer, and read
// when `takeValueFrom` is greater than 0.
inline bool usesGravityLayer(const QuickPreset& p)
{
    return p.gravityFromLayer;
}
inline bool usesGravityLayer(const SettingsBlock& b)
{
    return b.takeValueFrom && *b.takeValueFrom > 0;
}

template <typename V, typename Scene>
void previewKeys(V& v, Scene& s)
{
    v.zoom("zoom", s.zoom);
    v.real("panX", s.panX, kPlace);
    v.real("panY", s.panY, kPlace);
    v.background("bgColorR", "bgColorG", "bgColorB", backgroundOf(s));
}

template <typename V, typename Scene>
void solverKeys(V& v, Scene& s)
{
    v.real("timeDivider", s.timeDivider, Range{0.01, kEditMax});
    v.real("tolerance", s.tolerance, Range{0.001, kEditMax});
    v.integer("stepsPerFrame", s.substeps, clampedTo<0, 10>);
}

template <typename V, typename Scene>
void gravityKeys(V& v, Scene& s)
{
    v.real("magnitude", s.gravityMagnitude, kNonNegative);
    v.real("direction", s.gravityDirection, kAny);
    v.integer("takeValueFrom", takeValueFromOf(s), asIs);
    if (usesGravityLayer(s))
        v.integer("layerIndex", s.gravityLayer, within<0, INT_MAX>);
}

} // namespace SettingsKeys
