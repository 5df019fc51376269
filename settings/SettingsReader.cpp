// Reading a settings file into checked records. Nothing here touches the
// scene: the view applies the records once the whole file has been read.
//
// Elements are found by name (the first of a name counts), attributes the
// reader does not know are ignored. A value that is not finite, or an
// enumeration outside its codes, counts as absent; reals are kept within the
// range their edit boxes accept, positions and anchors within +-1e6 world
// units, so nothing unusable reaches the records (or Box2D through them).
#include "settings/SettingsDocument.h"

#include "settings/SettingsNumbers.h"

#include <tinyxml2.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <climits>
#include <cmath>

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

namespace {

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

// The attributes of one element, looked up by name through one pass over
// them (an element's own lookup walks its list for every name). The first
// of a name counts; names the reader does not know are ignored.
class Attributes
{
public:
    explicit Attributes(const XMLElement* e)
    {
        for (const tinyxml2::XMLAttribute* a = e->FirstAttribute(); a; a = a->Next()) {
            const auto it = ids().find(std::string_view(a->Name()));
            if (it != ids().end() && !values[it->second])
                values[it->second] = a->Value();
        }
    }
    const char* get(const char* name) const
    {
        const auto it = ids().find(std::string_view(name));
        return it == ids().end() ? nullptr : values[it->second];
    }

private:
    static constexpr const char* kNames[] = {
        "acceptMagnetism",
        "aematicAnchorX",
        "aematicAnchorY",
        "aematicDamping",
        "aematicTension",
        "anchorAX",
        "anchorAY",
        "anchorBX",
        "anchorBY",
        "anchorX",
        "anchorY",
        "anchoringX",
        "anchoringY",
        "angle",
        "angularDamping",
        "angularVelocity",
        "axisX",
        "axisY",
        "bgColorB",
        "bgColorG",
        "bgColorR",
        "bodyAId",
        "bodyALayerID",
        "bodyALayerIndex",
        "bodyALayerName",
        "bodyBId",
        "bodyBLayerID",
        "bodyBLayerIndex",
        "bodyBLayerName",
        "categoryBits",
        "collideConnected",
        "colorB",
        "colorG",
        "colorR",
        "damping",
        "density",
        "desiredLength",
        "direction",
        "enableLimit",
        "enableMotor",
        "fixedRotation",
        "frequency",
        "friction",
        "gravityScale",
        "index",
        "layerID",
        "layerIndex",
        "linearDamping",
        "linearVelocityDirection",
        "linearVelocityMagnitude",
        "lowerAngle",
        "lowerTranslation",
        "magnetDistance",
        "magnetIntensity",
        "magnetismType",
        "magnitude",
        "majorVersion",
        "maskBits",
        "maxMotorForce",
        "maxMotorTorque",
        "meshPrecision",
        "minorVersion",
        "motorSpeed",
        "name",
        "openShapeLineWidth",
        "panX",
        "panY",
        "positionX",
        "positionY",
        "restitution",
        "springiness",
        "stepsPerFrame",
        "takeValueFrom",
        "timeDivider",
        "tolerance",
        "type",
        "upperAngle",
        "upperTranslation",
        "useConvexHull",
        "zoom",
};
    static const std::unordered_map<std::string_view, int>& ids()
    {
        static const std::unordered_map<std::string_view, int> map = [] {
            std::unordered_map<std::string_view, int> m;
            for (int i = 0; i < int(std::size(kNames)); ++i)
                m.emplace(kNames[i], i);
            return m;
        }();
        return map;
    }
    std::array<const char*, std::size(kNames)> values{};
};

std::optional<int> intAttr(const Attributes& e, const char* name)
{
    const char* text = e.get(name);
    if (!text)
        return std::nullopt;
    return SettingsNumbers::readInt(text);
}

std::optional<int> intIn(const Attributes& e, const char* name, int low, int high)
{
    const std::optional<int> v = intAttr(e, name);
    if (!v || *v < low || *v > high)
        return std::nullopt;
    return v;
}

std::optional<double> realAttr(const Attributes& e, const char* name)
{
    const char* text = e.get(name);
    if (!text)
        return std::nullopt;
    const double v = SettingsNumbers::readReal(text);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<float> realIn(const Attributes& e, const char* name, Range range)
{
    const std::optional<double> v = realAttr(e, name);
    if (!v)
        return std::nullopt;
    return static_cast<float>(std::clamp(*v, range.low, range.high));
}

std::optional<b2Vec2> pairIn(const Attributes& e, const char* x, const char* y, Range range)
{
    const std::optional<float> a = realIn(e, x, range);
    const std::optional<float> b = realIn(e, y, range);
    if (!a || !b)
        return std::nullopt;
    return b2Vec2(*a, *b);
}

template <typename T, typename U>
void take(T& field, const std::optional<U>& value)
{
    if (value)
        field = static_cast<T>(*value);
}

int toComponent(double value)
{
    return static_cast<int>(std::lround(255.0 * std::clamp(value, 0.0, 1.0)));
}

void readPreview(const Attributes& preview, SettingsBlock& block)
{
    if (const std::optional<double> zoom = realAttr(preview, "zoom"))
        block.zoom = static_cast<int>(std::clamp(*zoom, 1.0, 2000.0));
    block.panX = realIn(preview, "panX", kPlace);
    block.panY = realIn(preview, "panY", kPlace);
    const std::optional<double> r = realAttr(preview, "bgColorR");
    const std::optional<double> g = realAttr(preview, "bgColorG");
    const std::optional<double> b = realAttr(preview, "bgColorB");
    if (r && g && b)
        block.background = QColor(toComponent(*r), toComponent(*g), toComponent(*b), 255);
}

void readSolver(const Attributes& solver, SettingsBlock& block)
{
    block.timeDivider = realIn(solver, "timeDivider", {0.01, kEditMax});
    block.tolerance = realIn(solver, "tolerance", {0.001, kEditMax});
    if (const std::optional<int> steps = intAttr(solver, "stepsPerFrame"))
        block.substeps = std::clamp(*steps, 0, 10);
}

void readGravity(const Attributes& gravity, SettingsBlock& block)
{
    block.gravityMagnitude = realIn(gravity, "magnitude", kNonNegative);
    block.gravityDirection = realIn(gravity, "direction", kAny);
    block.takeValueFrom = intAttr(gravity, "takeValueFrom");
    if (block.takeValueFrom && *block.takeValueFrom > 0)
        block.gravityLayer = intIn(gravity, "layerIndex", 0, INT_MAX);
}

bool flagAttr(const Attributes& e, const char* name, bool& field, bool joint)
{
    const std::optional<int> v = intAttr(e, name);
    if (v)
        field = joint ? *v != 0 : *v > 0;
    return v.has_value();
}

SavedBody readBody(const XMLElement* element)
{
    const Attributes e(element);
    SavedBody saved;
    MyBody& b = saved.record;
    b.init();
    if (const std::optional<int> id = intAttr(e, "layerID")) {
        b.layerID = *id;
        saved.hasLayerID = true;
    }
    take(b.index, intAttr(e, "index"));
    if (const char* name = e.get("name"))
        b.name = QString::fromUtf8(name);
    take(b.type, intIn(e, "type", 0, 5));
    take(b.density, realIn(e, "density", {0.001, kEditMax}));
    take(b.friction, realIn(e, "friction", kNonNegative));
    take(b.restitution, realIn(e, "restitution", kNonNegative));
    if (const std::optional<int> precision = intAttr(e, "meshPrecision"))
        b.meshPrecision = std::clamp(*precision, 0, 10);
    take(b.linearVelocityMagnitude, realIn(e, "linearVelocityMagnitude", kNonNegative));
    take(b.linearVelocityDirection, realIn(e, "linearVelocityDirection", kAny));
    b.committedVelocityMagnitude = b.linearVelocityMagnitude;
    b.committedVelocityDirection = b.linearVelocityDirection;
    take(b.angularVelocity, realIn(e, "angularVelocity", kAny));
    take(b.linearDamping, realIn(e, "linearDamping", kNonNegative));
    take(b.angularDamping, realIn(e, "angularDamping", kNonNegative));
    take(b.aematicDamping, realIn(e, "aematicDamping", kNonNegative));
    take(b.aematicTension, realIn(e, "aematicTension", {0.01, kEditMax}));
    if (const std::optional<int> category = intAttr(e, "categoryBits")) {
        const int c = *category;
        b.categoryBits = (c == 1 || c == 2 || c == 4 || c == 8 || c == 16) ? uint16_t(c) : uint16_t(1);
    }
    if (const std::optional<int> mask = intAttr(e, "maskBits"))
        b.maskBits = static_cast<uint16_t>(static_cast<unsigned>(*mask) & 0xFFFFu);
    flagAttr(e, "fixedRotation", b.fixedRotation, false);
    take(b.gravityScale, realIn(e, "gravityScale", kAny));
    flagAttr(e, "useConvexHull", b.useConvexHull, false);
    take(b.magnetismType, intIn(e, "magnetismType", 0, 2));
    take(b.magnetIntensity, realIn(e, "magnetIntensity", kNonNegative));
    take(b.magnetDistance, realIn(e, "magnetDistance", kNonNegative));
    flagAttr(e, "acceptMagnetism", b.acceptMagnetism, false);
    take(b.openShapeLineWidth, realIn(e, "openShapeLineWidth", {0.005, 0.065}));

    const std::optional<float> r = realIn(e, "colorR", {0.0, 1.0});
    const std::optional<float> g = realIn(e, "colorG", {0.0, 1.0});
    const std::optional<float> bl = realIn(e, "colorB", {0.0, 1.0});
    if (r && g && bl) {
        b.color = AEGP_ColorVal{1.0, double(*r), double(*g), double(*bl)};
        saved.hasColor = true;
    }
    if (const std::optional<b2Vec2> p = pairIn(e, "positionX", "positionY", kPlace)) {
        b.position = *p;
        b.committedPosition = *p;
        saved.hasPosition = true;
    }
    if (const std::optional<float> angle = realIn(e, "angle", kPlace)) {
        b.angle = *angle;
        saved.hasAngle = true;
    }
    // The older name first: the newer one wins when both are there.
    if (const std::optional<b2Vec2> a = pairIn(e, "anchoringX", "anchoringY", kPlace))
        b.aematicAnchor = *a;
    if (const std::optional<b2Vec2> a = pairIn(e, "aematicAnchorX", "aematicAnchorY", kPlace))
        b.aematicAnchor = *a;
    b.committedAematicAnchor = b.aematicAnchor;
    return saved;
}

// Every attribute of the joint's type; false when one is missing.
bool readJointType(const Attributes& e, MyJoint& j)
{
    bool ok = true;
    auto real = [&](const char* name, float& field, Range range) {
        const std::optional<float> v = realIn(e, name, range);
        ok = ok && v.has_value();
        take(field, v);
    };
    auto pair = [&](const char* x, const char* y, b2Vec2& field, b2Vec2& copy) {
        const std::optional<b2Vec2> v = pairIn(e, x, y, kPlace);
        ok = ok && v.has_value();
        if (v) {
            field = *v;
            copy = *v;
        }
    };
    auto flag = [&](const char* name, bool& field) { ok = flagAttr(e, name, field, true) && ok; };

    switch (j.type) {
    case JointType::Distance:
        pair("anchorAX", "anchorAY", j.anchorA, j.committedAnchorA);
        pair("anchorBX", "anchorBY", j.anchorB, j.committedAnchorB);
        real("frequency", j.frequency, kNonNegative);
        real("damping", j.damping, kAny);
        flag("collideConnected", j.collideConnected);
        break;
    case JointType::Revolute:
        pair("anchorX", "anchorY", j.anchor, j.committedAnchor);
        flag("enableLimit", j.enableLimit);
        // Limits stay as written, inverted or not: the world orders them.
        real("lowerAngle", j.lowerAngle, kAny);
        real("upperAngle", j.upperAngle, kAny);
        flag("enableMotor", j.enableMotor);
        real("motorSpeed", j.motorSpeed, kAny);
        real("maxMotorTorque", j.maxMotorTorque, kNonNegative);
        flag("collideConnected", j.collideConnected);
        break;
    case JointType::Prismatic:
        pair("axisX", "axisY", j.axis, j.committedAxis);
        flag("enableLimit", j.enableLimit);
        real("lowerTranslation", j.lowerTranslation, kAny);
        real("upperTranslation", j.upperTranslation, kAny);
        flag("enableMotor", j.enableMotor);
        real("motorSpeed", j.motorSpeed, kAny);
        real("maxMotorForce", j.maxMotorForce, kNonNegative);
        flag("collideConnected", j.collideConnected);
        break;
    case JointType::Spring:
        pair("anchorAX", "anchorAY", j.anchorA, j.committedAnchorA);
        pair("anchorBX", "anchorBY", j.anchorB, j.committedAnchorB);
        real("springiness", j.springiness, kNonNegative);
        real("damping", j.damping, kNonNegative);
        real("desiredLength", j.desiredLength, kNonNegative);
        break;
    default:
        return false;
    }
    return ok;
}

SavedJoint readJoint(const XMLElement* element)
{
    const Attributes e(element);
    SavedJoint saved;
    MyJoint& j = saved.record;
    j.bodyALayerID = intAttr(e, "bodyALayerID").value_or(-1);
    j.bodyBLayerID = intAttr(e, "bodyBLayerID").value_or(-1);
    j.bodyALayerIndex = intAttr(e, "bodyALayerIndex").value_or(-1);
    j.bodyBLayerIndex = intAttr(e, "bodyBLayerIndex").value_or(-1);
    if (const char* name = e.get("bodyALayerName"))
        j.bodyALayerName = QString::fromUtf8(name);
    if (const char* name = e.get("bodyBLayerName"))
        j.bodyBLayerName = QString::fromUtf8(name);
    saved.fileBodyAId = intAttr(e, "bodyAId").value_or(-1);
    saved.fileBodyBId = intAttr(e, "bodyBId").value_or(-1);
    if (const std::optional<int> type = intAttr(e, "type")) {
        saved.hasType = true;
        j.type = *type;
        saved.complete = readJointType(e, j);
    }
    return saved;
}

} // namespace

bool SettingsDocument::otherVersion() const
{
    return majorVersion && minorVersion && (*majorVersion != 1 || *minorVersion != 2);
}

void loadGlobalSettings(const XMLElement* parent, SettingsBlock& block)
{
    if (const XMLElement* preview = parent->FirstChildElement("preview")) {
        block.hasPreview = true;
        readPreview(Attributes(preview), block);
    }
    if (const XMLElement* solver = parent->FirstChildElement("solver")) {
        block.hasSolver = true;
        readSolver(Attributes(solver), block);
    }
    if (const XMLElement* gravity = parent->FirstChildElement("gravity")) {
        block.hasGravity = true;
        readGravity(Attributes(gravity), block);
    }
}

void loadBodiesSettings(const XMLElement* parent, SettingsBlock& block)
{
    const XMLElement* bodies = parent->FirstChildElement("bodies");
    const XMLElement* body = bodies ? bodies->FirstChildElement("body") : nullptr;
    block.hasBodies = body != nullptr;
    for (; body; body = body->NextSiblingElement("body"))
        block.bodies.push_back(readBody(body));
}

void loadJointsSettings(const XMLElement* parent, SettingsBlock& block)
{
    const XMLElement* joints = parent->FirstChildElement("joints");
    if (!joints)
        return;
    for (const XMLElement* joint = joints->FirstChildElement("joint"); joint;
         joint = joint->NextSiblingElement("joint"))
        block.joints.push_back(readJoint(joint));
}

void loadPresetsSettings(const XMLElement* root, std::vector<SettingsBlock>& presets)
{
    const XMLElement* list = root->FirstChildElement("presets");
    if (!list)
        return;
    for (const XMLElement* preset = list->FirstChildElement("preset"); preset;
         preset = preset->NextSiblingElement("preset")) {
        SettingsBlock block;
        loadGlobalSettings(preset, block);
        loadBodiesSettings(preset, block);
        loadJointsSettings(preset, block);
        presets.push_back(std::move(block));
    }
}

QuickPreset presetGlobals(const SettingsBlock& block)
{
    QuickPreset p;
    take(p.zoom, block.zoom);
    take(p.panX, block.panX);
    take(p.panY, block.panY);
    if (block.background)
        p.backgroundColor = *block.background;
    take(p.timeDivider, block.timeDivider);
    take(p.tolerance, block.tolerance);
    take(p.substeps, block.substeps);
    take(p.gravityMagnitude, block.gravityMagnitude);
    take(p.gravityDirection, block.gravityDirection);
    if (block.takeValueFrom)
        p.gravityFromLayer = *block.takeValueFrom > 0;
    if (p.gravityFromLayer)
        take(p.gravityLayer, block.gravityLayer);
    return p;
}

SettingsReadStatus readSettingsDocument(const char* bytes, size_t size, SettingsDocument& document,
                                        QString& problem)
{
    if (size > size_t(kMaxSettingsFileSize)) {
        problem = QStringLiteral("The file is larger than %1 MiB.").arg(kMaxSettingsFileSize / (1024 * 1024));
        return SettingsReadStatus::NotReadable;
    }
    XMLDocument xml;
    if (xml.Parse(bytes ? bytes : "", size) != tinyxml2::XML_SUCCESS) {
        const char* text = xml.ErrorStr();
        problem = QStringLiteral("%1 (line %2).")
                      .arg(QString::fromUtf8(text ? text : "The file is not XML"))
                      .arg(xml.ErrorLineNum());
        return SettingsReadStatus::NotReadable;
    }
    const XMLElement* root = xml.FirstChildElement("ZolvarSettings");
    if (!root) {
        problem = QStringLiteral("The file has no \"ZolvarSettings\" element.");
        return SettingsReadStatus::NoRoot;
    }
    document = SettingsDocument();
    const Attributes version(root);
    document.majorVersion = intAttr(version, "majorVersion");
    document.minorVersion = intAttr(version, "minorVersion");
    loadBodiesSettings(root, document.scene);
    loadGlobalSettings(root, document.scene);
    loadJointsSettings(root, document.scene);
    loadPresetsSettings(root, document.presets);
    return SettingsReadStatus::Ok;
}
