#include "settings/SettingsWriter.h"

#include "settings/SettingsNumbers.h"

#include <tinyxml2.h>

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

namespace {

void setReal(XMLElement* e, const char* name, double value)
{
    e->SetAttribute(name, SettingsNumbers::formatReal(value).constData());
}

void setFlag(XMLElement* e, const char* name, bool value)
{
    e->SetAttribute(name, value ? 1 : 0);
}

void setText(XMLElement* e, const char* name, const QString& value)
{
    e->SetAttribute(name, value.toUtf8().constData());
}

void writeBody(XMLElement* e, const MyBody& b)
{
    e->SetAttribute("layerID", b.layerID);
    e->SetAttribute("index", b.index);
    setText(e, "name", b.name);
    e->SetAttribute("type", b.type);
    setReal(e, "density", b.density);
    setReal(e, "friction", b.friction);
    setReal(e, "restitution", b.restitution);
    e->SetAttribute("meshPrecision", b.meshPrecision);
    setReal(e, "linearVelocityMagnitude", b.linearVelocityMagnitude);
    setReal(e, "linearVelocityDirection", b.linearVelocityDirection);
    setReal(e, "angularVelocity", b.angularVelocity);
    setReal(e, "linearDamping", b.linearDamping);
    setReal(e, "angularDamping", b.angularDamping);
    setReal(e, "aematicDamping", b.aematicDamping);
    setReal(e, "aematicTension", b.aematicTension);
    e->SetAttribute("categoryBits", unsigned(b.categoryBits));
    e->SetAttribute("maskBits", unsigned(b.maskBits));
    setFlag(e, "fixedRotation", b.fixedRotation);
    setReal(e, "gravityScale", b.gravityScale);
    setFlag(e, "useConvexHull", b.useConvexHull);
    e->SetAttribute("magnetismType", b.magnetismType);
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

void writeJoint(XMLElement* e, const MyJoint& j, const std::vector<MyBody>& sceneBodies)
{
    const int count = static_cast<int>(sceneBodies.size());
    const MyBody* a = j.bodyA >= 0 && j.bodyA < count ? &sceneBodies[size_t(j.bodyA)] : nullptr;
    const MyBody* b = j.bodyB >= 0 && j.bodyB < count ? &sceneBodies[size_t(j.bodyB)] : nullptr;
    e->SetAttribute("type", j.type);
    e->SetAttribute("bodyAId", j.bodyA);
    e->SetAttribute("bodyBId", j.bodyB);
    e->SetAttribute("bodyALayerID", a ? a->layerID : -1);
    e->SetAttribute("bodyBLayerID", b ? b->layerID : -1);
    e->SetAttribute("bodyALayerIndex", a ? a->index : -1);
    e->SetAttribute("bodyBLayerIndex", b ? b->index : -1);
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

void saveSceneSettings(XMLElement* parent, const QuickPreset& block, const std::vector<MyBody>& sceneBodies)
{
    XMLElement* preview = parent->InsertNewChildElement("preview");
    setReal(preview, "zoom", block.zoom);
    setReal(preview, "panX", block.panX);
    setReal(preview, "panY", block.panY);
    setReal(preview, "bgColorR", block.backgroundColor.red() / 255.0);
    setReal(preview, "bgColorG", block.backgroundColor.green() / 255.0);
    setReal(preview, "bgColorB", block.backgroundColor.blue() / 255.0);

    XMLElement* solver = parent->InsertNewChildElement("solver");
    setReal(solver, "timeDivider", block.timeDivider);
    setReal(solver, "tolerance", block.tolerance);
    solver->SetAttribute("stepsPerFrame", block.substeps);

    XMLElement* gravity = parent->InsertNewChildElement("gravity");
    setReal(gravity, "magnitude", block.gravityMagnitude);
    setReal(gravity, "direction", block.gravityDirection);
    setFlag(gravity, "takeValueFrom", block.gravityFromLayer);
    if (block.gravityFromLayer)
        gravity->SetAttribute("layerIndex", block.gravityLayer);

    XMLElement* bodies = parent->InsertNewChildElement("bodies");
    for (const MyBody& body : block.bodies)
        writeBody(bodies->InsertNewChildElement("body"), body);

    XMLElement* joints = parent->InsertNewChildElement("joints");
    for (const MyJoint& joint : block.joints)
        writeJoint(joints->InsertNewChildElement("joint"), joint, sceneBodies);
}

QByteArray writeSettingsDocument(const QuickPreset& scene, const std::vector<QuickPreset>& snapshots)
{
    XMLDocument doc;
    doc.InsertEndChild(doc.NewDeclaration("xml version=\"1.0\""));
    XMLElement* root = doc.NewElement("ZolvarSettings");
    root->SetAttribute("majorVersion", 1);
    root->SetAttribute("minorVersion", 2);
    doc.InsertEndChild(root);

    saveSceneSettings(root, scene, scene.bodies);
    XMLElement* presets = root->InsertNewChildElement("presets");
    for (const QuickPreset& snapshot : snapshots)
        saveSceneSettings(presets->InsertNewChildElement("preset"), snapshot, scene.bodies);

    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);
    return QByteArray(printer.CStr(), printer.CStrSize() > 0 ? printer.CStrSize() - 1 : 0);
}
