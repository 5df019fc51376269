#include "settings/SettingsWriter.h"

#include "settings/SettingsNumbers.h"

#include <tinyxml2.h>

using tinyxml2::XMLPrinter;

namespace {

// The printer writes each element as it comes, with the layout and the
// escaping a document of the same elements would print.
void setReal(XMLPrinter* e, const char* name, double value)
{
    e->PushAttribute(name, SettingsNumbers::formatReal(value).constData());
}

void setFlag(XMLPrinter* e, const char* name, bool value)
{
    e->PushAttribute(name, value ? 1 : 0);
}

void setText(XMLPrinter* e, const char* name, const QString& value)
{
    e->PushAttribute(name, value.toUtf8().constData());
}

void writeBody(XMLPrinter* e, const MyBody& b)
{
    e->PushAttribute("layerID", b.layerID);
    e->PushAttribute("index", b.index);
    setText(e, "name", b.name);
    e->PushAttribute("type", b.type);
    setReal(e, "density", b.density);
    setReal(e, "friction", b.friction);
    setReal(e, "restitution", b.restitution);
    e->PushAttribute("meshPrecision", b.meshPrecision);
    setReal(e, "linearVelocityMagnitude", b.linearVelocityMagnitude);
    setReal(e, "linearVelocityDirection", b.linearVelocityDirection);
    setReal(e, "angularVelocity", b.angularVelocity);
    setReal(e, "linearDamping", b.linearDamping);
    setReal(e, "angularDamping", b.angularDamping);
    setReal(e, "aematicDamping", b.aematicDamping);
    setReal(e, "aematicTension", b.aematicTension);
    e->PushAttribute("categoryBits", unsigned(b.categoryBits));
    e->PushAttribute("maskBits", unsigned(b.maskBits));
    setFlag(e, "fixedRotation", b.fixedRotation);
    setReal(e, "gravityScale", b.gravityScale);
    setFlag(e, "useConvexHull", b.useConvexHull);
    e->PushAttribute("magnetismType", b.magnetismType);
    setReal(e, "magnetIntensity", b.magnetIntensity);
    setReal(e, "magnetDistance", b.magnetDistance);
    setFlag(e, "acceptMagnetism", b.acceptMagnetism);
    setReal(e, "openShapeLineWidth", b.openShapeLineWidth);
    // The colour goes through 32-bit floats, as the record's readers keep it.
    setReal(e, "colorR", double(float(b.color.red)));
    setReal(e, "colorG", double(float(b.color.green)));
    setReal(e, "colorB", double(float(b.color.blue)));
    setReal(e, "positionX", b.position.x);
    setReal(e, "positionY", b.position.y);
    setReal(e, "angle", b.angle);
    setReal(e, "aematicAnchorX", b.aematicAnchor.x);
    setReal(e, "aematicAnchorY", b.aematicAnchor.y);
}

void writeJoint(XMLPrinter* e, const MyJoint& j, const std::vector<MyBody>& sceneBodies)
{
    const int count = static_cast<int>(sceneBodies.size());
    const MyBody* a = j.bodyA >= 0 && j.bodyA < count ? &sceneBodies[size_t(j.bodyA)] : nullptr;
    const MyBody* b = j.bodyB >= 0 && j.bodyB < count ? &sceneBodies[size_t(j.bodyB)] : nullptr;
    e->PushAttribute("type", j.type);
    e->PushAttribute("bodyAId", j.bodyA);
    e->PushAttribute("bodyBId", j.bodyB);
    e->PushAttribute("bodyALayerID", a ? a->layerID : -1);
    e->PushAttribute("bodyBLayerID", b ? b->layerID : -1);
    e->PushAttribute("bodyALayerIndex", a ? a->index : -1);
    e->PushAttribute("bodyBLayerIndex", b ? b->index : -1);
    setText(e, "bodyALayerName", a ? a->name : QString());
    setText(e, "bodyBLayerName", b ? b->name : QString());

    switch (j.type) {
    case JointType::Distance:
        setReal(e, "anchorAX", j.anchorA.x);
        setReal(e, "anchorAY", j.anchorA.y);
        setReal(e, "anchorBX", j.anchorB.x);
        setReal(e, "anchorBY", j.anchorB.y);
        setReal(e, "frequency", j.frequency);
        setReal(e, "damping", j.damping);
        setFlag(e, "collideConnected", j.collideConnected);
        break;
    case JointType::Revolute:
        setReal(e, "anchorX", j.anchor.x);
        setReal(e, "anchorY", j.anchor.y);
        setFlag(e, "enableLimit", j.enableLimit);
        setReal(e, "lowerAngle", j.lowerAngle);
        setReal(e, "upperAngle", j.upperAngle);
        setFlag(e, "enableMotor", j.enableMotor);
        setReal(e, "motorSpeed", j.motorSpeed);
        setReal(e, "maxMotorTorque", j.maxMotorTorque);
        setFlag(e, "collideConnected", j.collideConnected);
        break;
    case JointType::Prismatic:
        setReal(e, "axisX", j.axis.x);
        setReal(e, "axisY", j.axis.y);
        setFlag(e, "enableLimit", j.enableLimit);
        setReal(e, "lowerTranslation", j.lowerTranslation);
        setReal(e, "upperTranslation", j.upperTranslation);
        setFlag(e, "enableMotor", j.enableMotor);
        setReal(e, "motorSpeed", j.motorSpeed);
        setReal(e, "maxMotorForce", j.maxMotorForce);
        setFlag(e, "collideConnected", j.collideConnected);
        break;
    case JointType::Spring:
        setReal(e, "anchorAX", j.anchorA.x);
        setReal(e, "anchorAY", j.anchorA.y);
        setReal(e, "anchorBX", j.anchorB.x);
        setReal(e, "anchorBY", j.anchorB.y);
        setReal(e, "springiness", j.springiness);
        setReal(e, "damping", j.damping);
        setReal(e, "desiredLength", j.desiredLength);
        break;
    default:  // an unknown type carries the common attributes only
        break;
    }
}

} // namespace

void saveSceneSettings(XMLPrinter& out, const QuickPreset& block, const std::vector<MyBody>& sceneBodies)
{
    XMLPrinter* e = &out;
    out.OpenElement("preview");
    setReal(e, "zoom", block.zoom);
    setReal(e, "panX", block.panX);
    setReal(e, "panY", block.panY);
    setReal(e, "bgColorR", block.backgroundColor.red() / 255.0);
    setReal(e, "bgColorG", block.backgroundColor.green() / 255.0);
    setReal(e, "bgColorB", block.backgroundColor.blue() / 255.0);
    out.CloseElement();

    out.OpenElement("solver");
    setReal(e, "timeDivider", block.timeDivider);
    setReal(e, "tolerance", block.tolerance);
    out.PushAttribute("stepsPerFrame", block.substeps);
    out.CloseElement();

    out.OpenElement("gravity");
    setReal(e, "magnitude", block.gravityMagnitude);
    setReal(e, "direction", block.gravityDirection);
    setFlag(e, "takeValueFrom", block.gravityFromLayer);
    if (block.gravityFromLayer)
        out.PushAttribute("layerIndex", block.gravityLayer);
    out.CloseElement();

    out.OpenElement("bodies");
    for (const MyBody& body : block.bodies) {
        out.OpenElement("body");
        writeBody(e, body);
        out.CloseElement();
    }
    out.CloseElement();

    out.OpenElement("joints");
    for (const MyJoint& joint : block.joints) {
        out.OpenElement("joint");
        writeJoint(e, joint, sceneBodies);
        out.CloseElement();
    }
    out.CloseElement();
}

QByteArray writeSettingsDocument(const QuickPreset& scene, const std::vector<QuickPreset>& snapshots)
{
    XMLPrinter out;
    out.PushDeclaration("xml version=\"1.0\"");
    out.OpenElement("ZolvarSettings");
    out.PushAttribute("majorVersion", 1);
    out.PushAttribute("minorVersion", 2);

    saveSceneSettings(out, scene, scene.bodies);
    out.OpenElement("presets");
    for (const QuickPreset& snapshot : snapshots) {
        out.OpenElement("preset");
        saveSceneSettings(out, snapshot, scene.bodies);
        out.CloseElement();
    }
    out.CloseElement();
    out.CloseElement();
    return QByteArray(out.CStr(), out.CStrSize() > 0 ? out.CStrSize() - 1 : 0);
}
