// The settings writer: exact texts, attribute order, the document's shape,
// and the same bytes whatever the locale.
#include "SettingsSamples.h"

#include "settings/SettingsDocument.h"
#include "settings/SettingsWriter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <tinyxml2.h>

#include <clocale>
#include <cstdlib>
#include <iterator>

using namespace settings_test;
using tinyxml2::XMLElement;

namespace {

QString corpusFile(const char* name)
{
    return QString::fromLocal8Bit(qgetenv("ZOLVAR_SOURCE_DIR")) + QStringLiteral("/tests/fuzz/settings/corpus/") +
           QString::fromLatin1(name);
}

QByteArray sampleDocument()
{
    return writeSettingsDocument(sampleScene(), {sampleSnapshot()});
}

struct Parsed {
    tinyxml2::XMLDocument doc;
    explicit Parsed(const QByteArray& bytes) { doc.Parse(bytes.constData(), size_t(bytes.size())); }
    const XMLElement* root() const { return doc.FirstChildElement("ZolvarSettings"); }
};

QStringList attributeNames(const XMLElement* e)
{
    QStringList names;
    for (const tinyxml2::XMLAttribute* a = e->FirstAttribute(); a; a = a->Next())
        names << QString::fromLatin1(a->Name());
    return names;
}

QStringList childNames(const XMLElement* e)
{
    QStringList names;
    for (const XMLElement* c = e->FirstChildElement(); c; c = c->NextSiblingElement())
        names << QString::fromLatin1(c->Name());
    return names;
}

} // namespace

TEST(SettingsWriter, DocumentShape)
{
    const QByteArray bytes = sampleDocument();
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\"?>\n<ZolvarSettings majorVersion=\"1\" minorVersion=\"2\">"));
    Parsed parsed(bytes);
    ASSERT_TRUE(parsed.root());
    EXPECT_EQ(childNames(parsed.root()),
              QStringList({"preview", "solver", "gravity", "bodies", "joints", "presets"}));
    const XMLElement* preset = parsed.root()->FirstChildElement("presets")->FirstChildElement("preset");
    ASSERT_TRUE(preset);
    EXPECT_EQ(childNames(preset), QStringList({"preview", "solver", "gravity", "bodies", "joints"}));

    // No snapshots: the presets element is still there, empty.
    Parsed bare(writeSettingsDocument(sampleScene(), {}));
    const XMLElement* presets = bare.root()->FirstChildElement("presets");
    ASSERT_TRUE(presets);
    EXPECT_EQ(presets->FirstChildElement(), nullptr);
}

TEST(SettingsWriter, ExactTexts)
{
    Parsed parsed(sampleDocument());
    const XMLElement* root = parsed.root();
    const XMLElement* preview = root->FirstChildElement("preview");
    EXPECT_STREQ(preview->Attribute("zoom"), "250.000000");
    EXPECT_STREQ(preview->Attribute("bgColorR"), "0.501961");
    EXPECT_STREQ(preview->Attribute("bgColorG"), "0.000000");
    EXPECT_STREQ(preview->Attribute("bgColorB"), "1.000000");
    const XMLElement* solver = root->FirstChildElement("solver");
    EXPECT_STREQ(solver->Attribute("tolerance"), "50.500000");
    EXPECT_STREQ(solver->Attribute("stepsPerFrame"), "4");
    const XMLElement* gravity = root->FirstChildElement("gravity");
    EXPECT_STREQ(gravity->Attribute("takeValueFrom"), "0");
    EXPECT_EQ(gravity->Attribute("layerIndex"), nullptr);

    const XMLElement* body = root->FirstChildElement("bodies")->FirstChildElement("body")->NextSiblingElement();
    EXPECT_EQ(body->Attribute("maskBits"), nullptr);  // all groups, as a fresh record's
    EXPECT_STREQ(body->Attribute("categoryBits"), "4");
    EXPECT_STREQ(body->Attribute("name"), "Ball \"red\" <1> & co");
    EXPECT_STREQ(body->Attribute("colorG"), "0.500000");
    // A fresh record's value, which the reader gives an absent key, is left
    // out; the keys without such a value never are.
    EXPECT_EQ(body->Attribute("openShapeLineWidth"), nullptr);
    EXPECT_EQ(body->Attribute("aematicAnchorX"), nullptr);
    EXPECT_STREQ(body->Attribute("angle"), "0.000000");

    // The snapshot's gravity comes from a layer: its index is written.
    const XMLElement* snapshotGravity =
        root->FirstChildElement("presets")->FirstChildElement("preset")->FirstChildElement("gravity");
    EXPECT_STREQ(snapshotGravity->Attribute("takeValueFrom"), "1");
    EXPECT_STREQ(snapshotGravity->Attribute("layerIndex"), "1");
}

TEST(SettingsWriter, AttributeOrder)
{
    Parsed parsed(sampleDocument());
    const XMLElement* root = parsed.root();
    EXPECT_EQ(attributeNames(root->FirstChildElement("preview")),
              QStringList({"zoom", "panX", "panY", "bgColorR", "bgColorG", "bgColorB"}));
    EXPECT_EQ(attributeNames(root->FirstChildElement("solver")),
              QStringList({"timeDivider", "tolerance", "stepsPerFrame"}));
    EXPECT_EQ(attributeNames(root->FirstChildElement("gravity")),
              QStringList({"magnitude", "direction", "takeValueFrom"}));
    // A body whose every value differs from a fresh record's.
    QuickPreset unusual = sampleScene();
    MyBody& b = unusual.bodies[0];
    b.type = BodyType::Static;
    b.density = b.friction = b.restitution = b.linearVelocityMagnitude = b.linearVelocityDirection = 2.0f;
    b.angularVelocity = b.linearDamping = b.angularDamping = b.aematicDamping = b.aematicTension = 2.0f;
    b.gravityScale = b.magnetIntensity = b.magnetDistance = 2.0f;
    b.openShapeLineWidth = 0.02f;
    b.meshPrecision = 5;
    b.categoryBits = 2;
    b.maskBits = 3;
    b.fixedRotation = b.useConvexHull = true;
    b.acceptMagnetism = false;
    b.magnetismType = MagnetismType::Attraction;
    b.aematicAnchor = b2Vec2(0.0f, 1.0f);
    Parsed full(writeSettingsDocument(unusual, {}));
    EXPECT_EQ(attributeNames(full.root()->FirstChildElement("bodies")->FirstChildElement("body")),
              QStringList({"layerID", "index", "name", "type", "density", "friction", "restitution", "meshPrecision",
                           "linearVelocityMagnitude", "linearVelocityDirection", "angularVelocity", "linearDamping",
                           "angularDamping", "aematicDamping", "aematicTension", "categoryBits", "maskBits",
                           "fixedRotation", "gravityScale", "useConvexHull", "magnetismType", "magnetIntensity",
                           "magnetDistance", "acceptMagnetism", "openShapeLineWidth", "colorR", "colorG", "colorB",
                           "positionX", "positionY", "angle", "aematicAnchorX", "aematicAnchorY"}));

    const QStringList common = {"type", "bodyAId", "bodyBId", "bodyALayerID", "bodyBLayerID", "bodyALayerIndex",
                                "bodyBLayerIndex", "bodyALayerName", "bodyBLayerName"};
    const QStringList byType[4] = {
        {"anchorAX", "anchorAY", "anchorBX", "anchorBY", "frequency", "damping", "collideConnected"},
        {"anchorX", "anchorY", "enableLimit", "lowerAngle", "upperAngle", "enableMotor", "motorSpeed",
         "maxMotorTorque", "collideConnected"},
        {"axisX", "axisY", "enableLimit", "lowerTranslation", "upperTranslation", "enableMotor", "motorSpeed",
         "maxMotorForce", "collideConnected"},
        {"anchorAX", "anchorAY", "anchorBX", "anchorBY", "springiness", "damping", "desiredLength"},
    };
    const XMLElement* joint = root->FirstChildElement("joints")->FirstChildElement("joint");
    for (int type = 0; type < 4; ++type, joint = joint->NextSiblingElement("joint")) {
        ASSERT_TRUE(joint);
        EXPECT_EQ(attributeNames(joint), common + byType[type]) << "type " << type;
    }

    // A joint of a type the program does not know keeps the common part.
    QuickPreset scene = sampleScene();
    scene.joints = {sampleJoint(9, 0, 1)};
    Parsed odd(writeSettingsDocument(scene, {}));
    EXPECT_EQ(attributeNames(odd.root()->FirstChildElement("joints")->FirstChildElement("joint")), common);
}

TEST(SettingsWriter, SnapshotJointsNameTheScenesBodies)
{
    Parsed parsed(sampleDocument());
    const XMLElement* joint = parsed.root()
                                  ->FirstChildElement("presets")
                                  ->FirstChildElement("preset")
                                  ->FirstChildElement("joints")
                                  ->FirstChildElement("joint");
    ASSERT_TRUE(joint);
    EXPECT_STREQ(joint->Attribute("bodyAId"), "1");
    EXPECT_STREQ(joint->Attribute("bodyALayerID"), "102");
    EXPECT_STREQ(joint->Attribute("bodyALayerIndex"), "2");
    // The scene's name, not the snapshot's copy.
    EXPECT_STREQ(joint->Attribute("bodyALayerName"), "Ball \"red\" <1> & co");
    EXPECT_STREQ(joint->Attribute("bodyBLayerName"), "Floor");
}

TEST(SettingsWriter, NamesRoundTripExactly)
{
    const QByteArray bytes = sampleDocument();
    SettingsDocument doc;
    QString problem;
    ASSERT_EQ(readSettingsDocument(bytes.constData(), size_t(bytes.size()), doc, problem), SettingsReadStatus::Ok);
    ASSERT_EQ(doc.scene.bodies.size(), 3u);
    const QuickPreset scene = sampleScene();
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(doc.scene.bodies[i].record.name, scene.bodies[i].name);
    EXPECT_EQ(doc.scene.joints[0].record.bodyBLayerName, scene.bodies[1].name);

    // Line ends, tabs, quotes, markup characters and non-ASCII text, in
    // bodies and in the joints that name them, in the scene and a snapshot.
    const QString names[] = {
        QStringLiteral("cr\rin the middle"),
        QStringLiteral("\r\nwindows line\r\n"),
        QStringLiteral("lf\nand\n\nblank"),
        QStringLiteral("\r"),
        QStringLiteral("\ttab\t\tand \"double\" 'single'"),
        QStringLiteral("a & b < c > d &amp; &#13;"),
        QString::fromUtf8("K\xc3\xb6rper \xe2\x98\x85 \xf0\x9f\x8e\x88 \xe6\x97\xa5\xe6\x9c\xac"),
        QStringLiteral("  leading and trailing  "),
    };
    QuickPreset odd = sampleScene();
    odd.bodies.clear();
    for (int i = 0; i < int(std::size(names)); ++i)
        odd.bodies.push_back(sampleBody(200 + i, i + 1, names[i]));
    odd.joints.clear();
    for (int i = 0; i + 1 < int(std::size(names)); ++i)
        odd.joints.push_back(sampleJoint(i % 4, i, i + 1));
    const QByteArray written = writeSettingsDocument(odd, {odd});
    SettingsDocument back;
    ASSERT_EQ(readSettingsDocument(written.constData(), size_t(written.size()), back, problem),
              SettingsReadStatus::Ok);
    ASSERT_EQ(back.presets.size(), 1u);
    for (const SettingsBlock* block : {&back.scene, &back.presets[0]}) {
        ASSERT_EQ(block->bodies.size(), std::size(names));
        ASSERT_EQ(block->joints.size(), std::size(names) - 1);
        for (size_t i = 0; i < std::size(names); ++i)
            EXPECT_EQ(block->bodies[i].record.name, names[i]) << i;
        for (size_t i = 0; i + 1 < std::size(names); ++i) {
            EXPECT_EQ(block->joints[i].record.bodyALayerName, names[i]) << i;
            EXPECT_EQ(block->joints[i].record.bodyBLayerName, names[i + 1]) << i;
        }
    }
}

// Every value the writer writes comes back from the reader: each field of
// a body, of each joint type and of the scene holds a value other than its
// default, so a key written but not read (or read under another name)
// shows.
TEST(SettingsWriter, EveryWrittenValueReadsBack)
{
    QuickPreset scene;
    scene.zoom = 321;
    scene.panX = 1.25f;
    scene.panY = -2.5f;
    scene.backgroundColor = QColor(10, 20, 30);
    scene.timeDivider = 2.5f;
    scene.substeps = 7;
    scene.tolerance = 12.5f;
    scene.gravityMagnitude = 3.5f;
    scene.gravityDirection = 45.5f;
    scene.gravityFromLayer = true;
    scene.gravityLayer = 3;
    MyBody b = sampleBody(77, 5, QStringLiteral("Every"));
    b.type = BodyType::AEmatic;
    b.density = 2.5f;
    b.friction = 0.75f;
    b.restitution = 0.125f;
    b.meshPrecision = 6;
    b.linearVelocityMagnitude = 3.0f;
    b.linearVelocityDirection = 30.0f;
    b.angularVelocity = -1.5f;
    b.linearDamping = 0.25f;
    b.angularDamping = 0.375f;
    b.aematicDamping = 0.625f;
    b.aematicTension = 4.0f;
    b.categoryBits = CollisionGroup::GroupD;
    b.maskBits = 0x0015;
    b.fixedRotation = true;
    b.gravityScale = -0.5f;
    b.useConvexHull = true;
    b.magnetismType = MagnetismType::Attraction;
    b.magnetIntensity = 12.0f;
    b.magnetDistance = 150.0f;
    b.acceptMagnetism = false;
    b.openShapeLineWidth = 0.03125f;
    b.angle = 0.5f;
    b.aematicAnchor = b2Vec2(0.25f, -0.75f);
    scene.bodies = {b, sampleBody(78, 6, QStringLiteral("Other"))};
    for (int type = 0; type < 4; ++type)
        scene.joints.push_back(sampleJoint(type, 0, 1));

    const QByteArray bytes = writeSettingsDocument(scene, {});
    SettingsDocument doc;
    QString problem;
    ASSERT_EQ(readSettingsDocument(bytes.constData(), size_t(bytes.size()), doc, problem), SettingsReadStatus::Ok);
    const SettingsBlock& block = doc.scene;
    EXPECT_EQ(block.zoom, 321);
    EXPECT_EQ(block.panX, 1.25f);
    EXPECT_EQ(block.panY, -2.5f);
    EXPECT_EQ(block.background, QColor(10, 20, 30));
    EXPECT_EQ(block.timeDivider, 2.5f);
    EXPECT_EQ(block.substeps, 7);
    EXPECT_EQ(block.tolerance, 12.5f);
    EXPECT_EQ(block.gravityMagnitude, 3.5f);
    EXPECT_EQ(block.gravityDirection, 45.5f);
    EXPECT_EQ(block.takeValueFrom, 1);
    EXPECT_EQ(block.gravityLayer, 3);

    ASSERT_EQ(block.bodies.size(), 2u);
    const SavedBody& saved = block.bodies[0];
    EXPECT_TRUE(saved.hasLayerID && saved.hasPosition && saved.hasAngle && saved.hasColor);
    const MyBody& r = saved.record;
    EXPECT_EQ(r.layerID, 77);
    EXPECT_EQ(r.index, 5);
    EXPECT_EQ(r.name, QStringLiteral("Every"));
    EXPECT_EQ(r.type, b.type);
    EXPECT_EQ(r.meshPrecision, 6);
    EXPECT_EQ(r.categoryBits, b.categoryBits);
    EXPECT_EQ(r.maskBits, b.maskBits);
    EXPECT_EQ(r.magnetismType, b.magnetismType);
    EXPECT_EQ(r.fixedRotation, true);
    EXPECT_EQ(r.useConvexHull, true);
    EXPECT_EQ(r.acceptMagnetism, false);
    const float written[] = {b.density, b.friction, b.restitution, b.linearVelocityMagnitude,
                             b.linearVelocityDirection, b.angularVelocity, b.linearDamping, b.angularDamping,
                             b.aematicDamping, b.aematicTension, b.gravityScale, b.magnetIntensity,
                             b.magnetDistance, b.openShapeLineWidth, b.angle, b.position.x, b.position.y,
                             b.aematicAnchor.x, b.aematicAnchor.y};
    const float read[] = {r.density, r.friction, r.restitution, r.linearVelocityMagnitude,
                          r.linearVelocityDirection, r.angularVelocity, r.linearDamping, r.angularDamping,
                          r.aematicDamping, r.aematicTension, r.gravityScale, r.magnetIntensity,
                          r.magnetDistance, r.openShapeLineWidth, r.angle, r.position.x, r.position.y,
                          r.aematicAnchor.x, r.aematicAnchor.y};
    for (size_t i = 0; i < std::size(written); ++i)
        EXPECT_EQ(read[i], written[i]) << "body value " << i;
    EXPECT_EQ(r.color.red, b.color.red);
    EXPECT_EQ(r.color.green, b.color.green);
    EXPECT_EQ(r.color.blue, b.color.blue);

    ASSERT_EQ(block.joints.size(), 4u);
    for (int type = 0; type < 4; ++type) {
        SCOPED_TRACE(type);
        const SavedJoint& j = block.joints[size_t(type)];
        EXPECT_TRUE(j.hasType && j.complete);
        EXPECT_EQ(j.fileBodyAId, 0);
        EXPECT_EQ(j.fileBodyBId, 1);
        const MyJoint& w = scene.joints[size_t(type)];
        const MyJoint& g = j.record;
        EXPECT_EQ(g.type, type);
        EXPECT_EQ(g.bodyALayerID, 77);
        EXPECT_EQ(g.bodyBLayerID, 78);
        EXPECT_EQ(g.bodyALayerIndex, 5);
        EXPECT_EQ(g.bodyBLayerIndex, 6);
        EXPECT_EQ(g.bodyALayerName, QStringLiteral("Every"));
        EXPECT_EQ(g.bodyBLayerName, QStringLiteral("Other"));
        switch (type) {
        case JointType::Distance:
        case JointType::Spring:
            EXPECT_EQ(g.anchorA, w.anchorA);
            EXPECT_EQ(g.anchorB, w.anchorB);
            EXPECT_EQ(g.damping, w.damping);
            if (type == JointType::Distance) {
                EXPECT_EQ(g.frequency, w.frequency);
                EXPECT_EQ(g.collideConnected, w.collideConnected);
            } else {
                EXPECT_EQ(g.springiness, w.springiness);
                EXPECT_EQ(g.desiredLength, w.desiredLength);
            }
            break;
        case JointType::Revolute:
            EXPECT_EQ(g.anchor, w.anchor);
            EXPECT_EQ(g.enableLimit, w.enableLimit);
            EXPECT_EQ(g.lowerAngle, w.lowerAngle);
            EXPECT_EQ(g.upperAngle, w.upperAngle);
            EXPECT_EQ(g.enableMotor, w.enableMotor);
            EXPECT_EQ(g.motorSpeed, w.motorSpeed);
            EXPECT_EQ(g.maxMotorTorque, w.maxMotorTorque);
            EXPECT_EQ(g.collideConnected, w.collideConnected);
            break;
        default:
            EXPECT_EQ(g.axis, w.axis);
            EXPECT_EQ(g.enableLimit, w.enableLimit);
            EXPECT_EQ(g.lowerTranslation, w.lowerTranslation);
            EXPECT_EQ(g.upperTranslation, w.upperTranslation);
            EXPECT_EQ(g.enableMotor, w.enableMotor);
            EXPECT_EQ(g.motorSpeed, w.motorSpeed);
            EXPECT_EQ(g.maxMotorForce, w.maxMotorForce);
            EXPECT_EQ(g.collideConnected, w.collideConnected);
            break;
        }
    }
}

// The bytes the program writes for the sample scene are the corpus's first
// seed, so the corpus holds a file the program wrote.
TEST(SettingsWriter, MatchesTheWrittenSeed)
{
    const QByteArray bytes = sampleDocument();
    if (qEnvironmentVariableIsSet("ZOLVAR_WRITE_SEED")) {
        QFile out(corpusFile("written-by-program.xml"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    QFile seed(corpusFile("written-by-program.xml"));
    ASSERT_TRUE(seed.open(QIODevice::ReadOnly));
    EXPECT_EQ(seed.readAll(), bytes);
}

// The same document as earlier versions wrote it, every key in full, reads
// as the one written now: each record, key for key.
TEST(SettingsWriter, FilesWrittenInFullReadTheSame)
{
    QFile earlier(corpusFile("written-in-full.xml"));
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    const QByteArray full = earlier.readAll();
    const QByteArray now = sampleDocument();
    EXPECT_LT(now.size(), full.size());
    SettingsDocument a, b;
    QString problem;
    ASSERT_EQ(readSettingsDocument(full.constData(), size_t(full.size()), a, problem), SettingsReadStatus::Ok);
    ASSERT_EQ(readSettingsDocument(now.constData(), size_t(now.size()), b, problem), SettingsReadStatus::Ok);
    auto records = [](const SettingsDocument& doc) {
        QuickPreset scene;
        for (const SavedBody& s : doc.scene.bodies)
            scene.bodies.push_back(s.record);
        std::vector<QuickPreset> snapshots;
        for (const SettingsBlock& block : doc.presets) {
            snapshots.push_back(presetGlobals(block));
            for (const SavedBody& s : block.bodies)
                snapshots.back().bodies.push_back(s.record);
        }
        return writeSettingsDocument(scene, snapshots);
    };
    EXPECT_EQ(records(a), records(b));
    ASSERT_EQ(a.scene.bodies.size(), b.scene.bodies.size());
    for (size_t i = 0; i < a.scene.bodies.size(); ++i) {
        EXPECT_EQ(a.scene.bodies[i].record.openShapeLineWidth, b.scene.bodies[i].record.openShapeLineWidth);
        EXPECT_EQ(a.scene.bodies[i].record.committedAematicAnchor, b.scene.bodies[i].record.committedAematicAnchor);
        EXPECT_EQ(a.scene.bodies[i].hasAngle, b.scene.bodies[i].hasAngle);
    }
}

// A scene of 3,000 bodies with 40 snapshots, left at their layers' values,
// fits in a settings file (in full it took 87 MiB).
TEST(SettingsWriter, ManySnapshotsOfALargeSceneFitInAFile)
{
    QuickPreset scene;
    for (int i = 0; i < 3000; ++i)
        scene.bodies.push_back(sampleBody(1000 + i, i + 1, QStringLiteral("Layer %1").arg(i + 1)));
    const std::vector<QuickPreset> snapshots(40, scene);
    EXPECT_LT(writeSettingsDocument(scene, snapshots).size(), kMaxSettingsFileSize / 2);
}

// Under a locale whose decimal point is a comma the bytes do not change.
TEST(SettingsWriter, SameBytesUnderACommaLocale)
{
    const QByteArray before = sampleDocument();
    QTemporaryDir locales;
    ASSERT_TRUE(locales.isValid());
    const int built = QProcess::execute(QStringLiteral("localedef"),
                                        {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                                         QStringLiteral("UTF-8"), locales.path() + QStringLiteral("/de_DE.UTF-8")});
    if (built != 0)
        GTEST_SKIP() << "localedef could not build de_DE";
    const QByteArray oldLocpath = qgetenv("LOCPATH");
    qputenv("LOCPATH", locales.path().toLocal8Bit());
    const char* set = std::setlocale(LC_ALL, "de_DE.UTF-8");
    ASSERT_NE(set, nullptr);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%f", 1.5);
    EXPECT_STREQ(buffer, "1,500000");  // the locale is really in force
    const QByteArray during = sampleDocument();
    std::setlocale(LC_ALL, "C");
    if (oldLocpath.isNull())
        qunsetenv("LOCPATH");
    else
        qputenv("LOCPATH", oldLocpath);
    EXPECT_EQ(during, before);
}
