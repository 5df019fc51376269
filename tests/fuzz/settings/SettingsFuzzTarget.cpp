// Fuzz entry point of the settings-file reader and its checks. For every
// input: no crash, no hang, no leak; when the reader accepts the input,
// every value it kept is finite and within its range, and writing the
// records and reading them back gives the same records (to the six
// decimals the file keeps).
//
// Built with clang's -fsanitize=fuzzer it is a libFuzzer target; the replay
// test calls it directly over the seed corpus.
#include "settings/SettingsDocument.h"
#include "settings/SettingsWriter.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "settings fuzz target: %s\n", what);
    std::abort();
}

void require(bool ok, const char* what)
{
    if (!ok)
        fail(what);
}

bool within(float v, double low, double high)
{
    return std::isfinite(v) && double(v) >= low && double(v) <= high;
}

constexpr double kEdit = 16777200.0;
constexpr double kPlace = 1.0e6;

void checkBlock(const SettingsBlock& b)
{
    if (b.zoom)
        require(*b.zoom >= 1 && *b.zoom <= 2000, "zoom");
    if (b.panX)
        require(within(*b.panX, -kPlace, kPlace), "panX");
    if (b.panY)
        require(within(*b.panY, -kPlace, kPlace), "panY");
    if (b.timeDivider)
        require(within(*b.timeDivider, 0.0099, kEdit), "timeDivider");
    if (b.tolerance)
        require(within(*b.tolerance, 0.00099, kEdit), "tolerance");
    if (b.substeps)
        require(*b.substeps >= 0 && *b.substeps <= 10, "substeps");
    if (b.gravityMagnitude)
        require(within(*b.gravityMagnitude, 0.0, kEdit), "gravity magnitude");
    if (b.gravityDirection)
        require(within(*b.gravityDirection, -kEdit, kEdit), "gravity direction");
    if (b.gravityLayer)
        require(*b.gravityLayer >= 0, "gravity layer");
    for (const SavedBody& s : b.bodies) {
        const MyBody& r = s.record;
        require(r.type >= 0 && r.type <= 5, "body type");
        require(r.magnetismType >= 0 && r.magnetismType <= 2, "magnetism type");
        require(r.meshPrecision >= 0 && r.meshPrecision <= 10, "mesh precision");
        require(r.categoryBits == 1 || r.categoryBits == 2 || r.categoryBits == 4 || r.categoryBits == 8 ||
                    r.categoryBits == 16,
                "category bits");
        require(within(r.density, 0.00099, kEdit), "density");
        require(within(r.openShapeLineWidth, 0.00499, 0.06501), "line width");
        for (float v : {r.friction, r.restitution, r.linearVelocityMagnitude, r.linearDamping, r.angularDamping,
                        r.aematicDamping, r.aematicTension, r.magnetIntensity, r.magnetDistance})
            require(within(v, 0.0, kEdit), "non-negative body value");
        for (float v : {r.linearVelocityDirection, r.angularVelocity, r.gravityScale})
            require(within(v, -kEdit, kEdit), "body value");
        for (float v : {r.position.x, r.position.y, r.angle, r.aematicAnchor.x, r.aematicAnchor.y})
            require(within(v, -kPlace, kPlace), "body placement");
        for (double c : {r.color.red, r.color.green, r.color.blue})
            require(std::isfinite(c) && c >= 0.0 && c <= 1.0, "body colour");
    }
    for (const SavedJoint& s : b.joints) {
        const MyJoint& j = s.record;
        require(!s.complete || (j.type >= 0 && j.type <= 3), "complete joint of unknown type");
        for (b2Vec2 p : {j.anchorA, j.anchorB, j.anchor, j.axis})
            require(within(p.x, -kPlace, kPlace) && within(p.y, -kPlace, kPlace), "joint anchor");
        for (float v : {j.frequency, j.maxMotorTorque, j.maxMotorForce, j.springiness, j.desiredLength})
            require(within(v, 0.0, kEdit), "non-negative joint value");
        for (float v : {j.damping, j.lowerAngle, j.upperAngle, j.motorSpeed, j.lowerTranslation, j.upperTranslation})
            require(within(v, -kEdit, kEdit), "joint value");
        if (s.complete && j.type == JointType::Spring)
            require(j.damping >= 0.0f, "spring damping");
    }
}

// The block as the writer takes it: values the block lacks take the
// snapshot defaults; the joints that the file described completely, at the
// bodies they named.
QuickPreset writable(const SettingsBlock& b)
{
    QuickPreset p = presetGlobals(b);
    for (const SavedBody& s : b.bodies)
        p.bodies.push_back(s.record);
    for (const SavedJoint& s : b.joints)
        if (s.complete) {
            MyJoint j = s.record;
            j.bodyA = s.fileBodyAId;
            j.bodyB = s.fileBodyBId;
            p.joints.push_back(j);
        }
    return p;
}

bool near(double a, double b)
{
    return std::fabs(a - b) <= 1.0e-6 + 1.0e-6 * std::fabs(a);
}

bool near(b2Vec2 a, b2Vec2 b)
{
    return near(a.x, b.x) && near(a.y, b.y);
}

void compareBodies(const MyBody& a, const MyBody& b)
{
    require(a.layerID == b.layerID && a.index == b.index && a.name == b.name, "body identity round trip");
    require(a.type == b.type && a.meshPrecision == b.meshPrecision && a.categoryBits == b.categoryBits &&
                a.maskBits == b.maskBits && a.magnetismType == b.magnetismType,
            "body integers round trip");
    require(a.fixedRotation == b.fixedRotation && a.useConvexHull == b.useConvexHull &&
                a.acceptMagnetism == b.acceptMagnetism,
            "body flags round trip");
    const float fa[] = {a.density, a.friction, a.restitution, a.linearVelocityMagnitude, a.linearVelocityDirection,
                        a.angularVelocity, a.linearDamping, a.angularDamping, a.aematicDamping, a.aematicTension,
                        a.gravityScale, a.magnetIntensity, a.magnetDistance, a.openShapeLineWidth, a.angle};
    const float fb[] = {b.density, b.friction, b.restitution, b.linearVelocityMagnitude, b.linearVelocityDirection,
                        b.angularVelocity, b.linearDamping, b.angularDamping, b.aematicDamping, b.aematicTension,
                        b.gravityScale, b.magnetIntensity, b.magnetDistance, b.openShapeLineWidth, b.angle};
    for (size_t i = 0; i < sizeof fa / sizeof fa[0]; ++i)
        require(near(fa[i], fb[i]), "body real round trip");
    require(near(a.position, b.position) && near(a.aematicAnchor, b.aematicAnchor), "body placement round trip");
    require(near(a.color.red, b.color.red) && near(a.color.green, b.color.green) && near(a.color.blue, b.color.blue),
            "body colour round trip");
}

void compareJoints(const MyJoint& a, const MyJoint& b)
{
    require(a.type == b.type && a.bodyA == b.bodyA && a.bodyB == b.bodyB, "joint identity round trip");
    require(a.enableLimit == b.enableLimit && a.enableMotor == b.enableMotor &&
                a.collideConnected == b.collideConnected,
            "joint flags round trip");
    require(near(a.anchorA, b.anchorA) && near(a.anchorB, b.anchorB) && near(a.anchor, b.anchor) &&
                near(a.axis, b.axis),
            "joint anchors round trip");
    const float fa[] = {a.frequency, a.damping, a.lowerAngle, a.upperAngle, a.motorSpeed, a.maxMotorTorque,
                        a.lowerTranslation, a.upperTranslation, a.maxMotorForce, a.springiness, a.desiredLength};
    const float fb[] = {b.frequency, b.damping, b.lowerAngle, b.upperAngle, b.motorSpeed, b.maxMotorTorque,
                        b.lowerTranslation, b.upperTranslation, b.maxMotorForce, b.springiness, b.desiredLength};
    for (size_t i = 0; i < sizeof fa / sizeof fa[0]; ++i)
        require(near(fa[i], fb[i]), "joint real round trip");
}

void comparePresets(const QuickPreset& a, const QuickPreset& b)
{
    require(a.zoom == b.zoom && a.substeps == b.substeps && a.gravityFromLayer == b.gravityFromLayer &&
                a.gravityLayer == b.gravityLayer,
            "block integers round trip");
    require(a.backgroundColor == b.backgroundColor, "background round trip");
    require(near(a.panX, b.panX) && near(a.panY, b.panY) && near(a.timeDivider, b.timeDivider) &&
                near(a.tolerance, b.tolerance) && near(a.gravityMagnitude, b.gravityMagnitude) &&
                near(a.gravityDirection, b.gravityDirection),
            "block reals round trip");
    require(a.bodies.size() == b.bodies.size() && a.joints.size() == b.joints.size(), "record counts round trip");
    for (size_t i = 0; i < a.bodies.size(); ++i)
        compareBodies(a.bodies[i], b.bodies[i]);
    for (size_t i = 0; i < a.joints.size(); ++i)
        compareJoints(a.joints[i], b.joints[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SettingsDocument doc;
    QString problem;
    if (readSettingsDocument(reinterpret_cast<const char*>(data), size, doc, problem) != SettingsReadStatus::Ok)
        return 0;
    checkBlock(doc.scene);
    for (const SettingsBlock& preset : doc.presets)
        checkBlock(preset);

    // Write the records and read them back.
    const QuickPreset scene = writable(doc.scene);
    std::vector<QuickPreset> presets;
    for (const SettingsBlock& preset : doc.presets)
        presets.push_back(writable(preset));
    const QByteArray bytes = writeSettingsDocument(scene, presets);
    SettingsDocument again;
    require(readSettingsDocument(bytes.constData(), size_t(bytes.size()), again, problem) == SettingsReadStatus::Ok,
            "written document not readable");
    require(again.scene.hasPreview && again.scene.hasSolver && again.scene.hasGravity, "written globals");
    require(again.presets.size() == presets.size(), "written snapshots");
    comparePresets(scene, writable(again.scene));
    for (size_t i = 0; i < presets.size(); ++i)
        comparePresets(presets[i], writable(again.presets[i]));
    return 0;
}
