// The settings reader: what stops a reading, the sections it finds, and the
// checks that keep hostile values out of the records.
#include "SettingsSamples.h"

#include "settings/SettingsDocument.h"
#include "settings/SettingsWriter.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cmath>

using namespace settings_test;

namespace {

SettingsReadStatus read(const QByteArray& bytes, SettingsDocument& doc)
{
    QString problem;
    return readSettingsDocument(bytes.constData(), size_t(bytes.size()), doc, problem);
}

// A document with one body whose attributes are `attributes`, and one joint.
QByteArray withBody(const QByteArray& attributes, const QByteArray& joint = QByteArray(),
                    const QByteArray& globals = QByteArray("<preview/><solver/><gravity/>"))
{
    return "<?xml version=\"1.0\"?><ZolvarSettings majorVersion=\"1\" minorVersion=\"2\">" + globals +
           "<bodies><body " + attributes + "/></bodies><joints>" + joint + "</joints><presets/></ZolvarSettings>";
}

MyBody readBody(const QByteArray& attributes)
{
    SettingsDocument doc;
    EXPECT_EQ(read(withBody(attributes), doc), SettingsReadStatus::Ok);
    EXPECT_EQ(doc.scene.bodies.size(), 1u);
    return doc.scene.bodies.empty() ? MyBody() : doc.scene.bodies[0].record;
}

} // namespace

TEST(SettingsReader, WhatStopsAReading)
{
    const struct {
        QByteArray bytes;
        SettingsReadStatus status;
    } rows[] = {
        {"", SettingsReadStatus::NotReadable},
        {QByteArray("\x00\x01\x02\xff", 4), SettingsReadStatus::NotReadable},
        {"<ZolvarSettings><bodies>", SettingsReadStatus::NotReadable},
        {"just text", SettingsReadStatus::NotReadable},
        {QByteArray("<a>").repeated(1000), SettingsReadStatus::NotReadable},  // past the nesting limit
        {"<?xml version=\"1.0\"?><OtherSettings/>", SettingsReadStatus::NoRoot},
        {"<a><ZolvarSettings/></a>", SettingsReadStatus::NoRoot},
        {"<ZolvarSettings/>", SettingsReadStatus::Ok},
    };
    for (const auto& row : rows) {
        SettingsDocument doc;
        EXPECT_EQ(read(row.bytes, doc), row.status) << row.bytes.left(40).toStdString();
    }
    QString problem;
    SettingsDocument doc;
    readSettingsDocument("<ZolvarSettings>\n<bodies>\n", 26, doc, problem);
    EXPECT_TRUE(problem.contains(QStringLiteral("line"))) << problem.toStdString();
}

TEST(SettingsReader, SectionsAndVersions)
{
    SettingsDocument doc;
    ASSERT_EQ(read(writeSettingsDocument(sampleScene(), {sampleSnapshot(), sampleSnapshot()}), doc),
              SettingsReadStatus::Ok);
    EXPECT_FALSE(doc.otherVersion());
    EXPECT_TRUE(doc.scene.hasPreview && doc.scene.hasSolver && doc.scene.hasGravity && doc.scene.hasBodies);
    EXPECT_EQ(doc.scene.bodies.size(), 3u);
    EXPECT_EQ(doc.scene.joints.size(), 4u);
    EXPECT_EQ(doc.presets.size(), 2u);

    const struct {
        const char* root;
        bool other;
    } versions[] = {{"<ZolvarSettings/>", false},
                    {"<ZolvarSettings majorVersion=\"1\"/>", false},
                    {"<ZolvarSettings majorVersion=\"1\" minorVersion=\"1\"/>", true},
                    {"<ZolvarSettings majorVersion=\"2\" minorVersion=\"2\"/>", true},
                    {"<ZolvarSettings majorVersion=\"1.9\" minorVersion=\"2.5\"/>", false}};
    for (const auto& v : versions) {
        SettingsDocument d;
        ASSERT_EQ(read(v.root, d), SettingsReadStatus::Ok);
        EXPECT_EQ(d.otherVersion(), v.other) << v.root;
    }

    // An empty bodies element, and duplicated sections (the first counts).
    SettingsDocument empty;
    read("<ZolvarSettings><bodies/></ZolvarSettings>", empty);
    EXPECT_FALSE(empty.scene.hasBodies);
    SettingsDocument twice;
    read("<ZolvarSettings><preview zoom=\"100\"/><preview zoom=\"300\"/></ZolvarSettings>", twice);
    EXPECT_EQ(twice.scene.zoom, 100);
}

TEST(SettingsReader, HostileBodyValues)
{
    const MyBody fresh = [] {
        MyBody b;
        b.init();
        return b;
    }();
    // Not finite or out of its codes: absent (the fresh record's value).
    EXPECT_EQ(readBody("type=\"7\"").type, fresh.type);
    EXPECT_EQ(readBody("type=\"-1\"").type, fresh.type);
    EXPECT_EQ(readBody("magnetismType=\"3\"").magnetismType, fresh.magnetismType);
    EXPECT_FLOAT_EQ(readBody("density=\"nan\"").density, fresh.density);
    EXPECT_FLOAT_EQ(readBody("friction=\"inf\"").friction, fresh.friction);
    EXPECT_FLOAT_EQ(readBody("restitution=\"1e999\"").restitution, fresh.restitution);
    // Garbage reads as 0, then within range.
    EXPECT_FLOAT_EQ(readBody("friction=\"abc\"").friction, 0.0f);
    EXPECT_FLOAT_EQ(readBody("density=\"abc\"").density, 0.001f);
    // Clamped to what the edit boxes accept.
    EXPECT_FLOAT_EQ(readBody("density=\"-5\"").density, 0.001f);
    EXPECT_FLOAT_EQ(readBody("linearDamping=\"-2\"").linearDamping, 0.0f);
    EXPECT_FLOAT_EQ(readBody("angularDamping=\"1e30\"").angularDamping, 16777200.0f);
    EXPECT_FLOAT_EQ(readBody("openShapeLineWidth=\"1\"").openShapeLineWidth, 0.065f);
    EXPECT_FLOAT_EQ(readBody("openShapeLineWidth=\"0\"").openShapeLineWidth, 0.005f);
    EXPECT_FLOAT_EQ(readBody("aematicTension=\"0\"").aematicTension, 0.01f);
    EXPECT_EQ(readBody("meshPrecision=\"99\"").meshPrecision, 10);
    EXPECT_EQ(readBody("meshPrecision=\"5.9\"").meshPrecision, 5);
    // Collision bits.
    EXPECT_EQ(readBody("maskBits=\"-1\"").maskBits, 65535);
    EXPECT_EQ(readBody("maskBits=\"65537\"").maskBits, 1);
    EXPECT_EQ(readBody("categoryBits=\"3\"").categoryBits, 1);
    EXPECT_EQ(readBody("categoryBits=\"16\"").categoryBits, 16);
    // Placement within reach.
    const MyBody far = readBody("positionX=\"1e30\" positionY=\"-1e30\" angle=\"1e30\"");
    EXPECT_FLOAT_EQ(far.position.x, 1.0e6f);
    EXPECT_FLOAT_EQ(far.position.y, -1.0e6f);
    EXPECT_FLOAT_EQ(far.angle, 1.0e6f);
    // Flags: greater than 0.
    EXPECT_FALSE(readBody("fixedRotation=\"-1\"").fixedRotation);
    EXPECT_TRUE(readBody("useConvexHull=\"2\"").useConvexHull);
}

TEST(SettingsReader, GroupsNeedEveryMember)
{
    SettingsDocument doc;
    read(withBody("layerID=\"5\" colorR=\"1\" colorG=\"0.5\" positionX=\"3\""), doc);
    const SavedBody& half = doc.scene.bodies[0];
    EXPECT_TRUE(half.hasLayerID);
    EXPECT_FALSE(half.hasColor);
    EXPECT_FALSE(half.hasPosition);
    EXPECT_FALSE(half.hasAngle);

    SettingsDocument nan;
    read(withBody("colorR=\"1\" colorG=\"nan\" colorB=\"0\" positionX=\"1\" positionY=\"2\""), nan);
    EXPECT_FALSE(nan.scene.bodies[0].hasColor);
    EXPECT_TRUE(nan.scene.bodies[0].hasPosition);
    EXPECT_FALSE(nan.scene.bodies[0].hasAngle);

    // An angle of 0 is an angle; a missing or unreadable one is none.
    SettingsDocument zero;
    read(withBody("angle=\"0\""), zero);
    EXPECT_TRUE(zero.scene.bodies[0].hasAngle);
    SettingsDocument nanAngle;
    read(withBody("angle=\"nan\""), nanAngle);
    EXPECT_FALSE(nanAngle.scene.bodies[0].hasAngle);
    EXPECT_FALSE(nan.scene.bodies[0].hasLayerID);

    // The newer AEmatic anchor wins over the older name.
    const MyBody both = readBody("anchoringX=\"1\" anchoringY=\"2\" aematicAnchorX=\"3\" aematicAnchorY=\"4\"");
    EXPECT_FLOAT_EQ(both.aematicAnchor.x, 3.0f);
    const MyBody old = readBody("anchoringX=\"1\" anchoringY=\"2\"");
    EXPECT_FLOAT_EQ(old.aematicAnchor.y, 2.0f);
}

TEST(SettingsReader, GlobalValues)
{
    SettingsDocument doc;
    read(withBody("", "",
                  "<preview zoom=\"300.700000\" panX=\"nan\" bgColorR=\"0.007843\" bgColorG=\"2\" bgColorB=\"-1\"/>"
                  "<solver timeDivider=\"0\" tolerance=\"50.500000\" stepsPerFrame=\"3.9\"/>"
                  "<gravity magnitude=\"-4\" direction=\"inf\" takeValueFrom=\"1\" layerIndex=\"-2\"/>"),
         doc);
    const SettingsBlock& s = doc.scene;
    EXPECT_EQ(s.zoom, 300);
    EXPECT_FALSE(s.panX.has_value());
    ASSERT_TRUE(s.background.has_value());
    // Rounded, not cut: 2 / 255 written comes back as 2.
    EXPECT_EQ(*s.background, QColor(2, 255, 0));
    EXPECT_FLOAT_EQ(*s.timeDivider, 0.01f);
    EXPECT_FLOAT_EQ(*s.tolerance, 50.5f);
    EXPECT_EQ(s.substeps, 3);
    EXPECT_FLOAT_EQ(*s.gravityMagnitude, 0.0f);
    EXPECT_FALSE(s.gravityDirection.has_value());
    EXPECT_EQ(s.takeValueFrom, 1);
    EXPECT_FALSE(s.gravityLayer.has_value());

    // A whole background round trip keeps every component.
    for (int c = 0; c < 256; ++c) {
        QuickPreset scene = sampleScene();
        scene.backgroundColor = QColor(c, 255 - c, c / 2);
        SettingsDocument back;
        read(writeSettingsDocument(scene, {}), back);
        ASSERT_EQ(*back.scene.background, scene.backgroundColor) << c;
    }
}

TEST(SettingsReader, Joints)
{
    const QByteArray common = "bodyALayerID=\"1\" bodyBLayerID=\"2\" bodyAId=\"0\" bodyBId=\"1\" ";
    const struct {
        QByteArray joint;
        bool hasType;
        bool complete;
    } rows[] = {
        {"<joint " + common + "/>", false, false},
        {"<joint " + common + "type=\"0\" anchorAX=\"0\" anchorAY=\"0\" anchorBX=\"0\" anchorBY=\"0\" "
                              "frequency=\"1\" damping=\"-1\" collideConnected=\"0\"/>",
         true, true},
        {"<joint " + common + "type=\"0\" anchorAX=\"0\" anchorAY=\"0\" anchorBX=\"0\" frequency=\"1\" "
                              "damping=\"0\" collideConnected=\"0\"/>",
         true, false},
        {"<joint " + common + "type=\"1\" anchorX=\"0\" anchorY=\"0\" enableLimit=\"1\" lowerAngle=\"30\" "
                              "upperAngle=\"-30\" enableMotor=\"0\" motorSpeed=\"0\" maxMotorTorque=\"0\" "
                              "collideConnected=\"0\"/>",
         true, true},
        {"<joint " + common + "type=\"3\" anchorAX=\"0\" anchorAY=\"0\" anchorBX=\"0\" anchorBY=\"0\" "
                              "springiness=\"nan\" damping=\"0\" desiredLength=\"1\"/>",
         true, false},
        {"<joint " + common + "type=\"7\"/>", true, false},
    };
    for (const auto& row : rows) {
        SettingsDocument doc;
        read(withBody("layerID=\"1\"", row.joint), doc);
        ASSERT_EQ(doc.scene.joints.size(), 1u);
        const SavedJoint& j = doc.scene.joints[0];
        EXPECT_EQ(j.hasType, row.hasType) << row.joint.toStdString();
        EXPECT_EQ(j.complete, row.complete) << row.joint.toStdString();
        EXPECT_EQ(j.record.bodyALayerID, 1);
        EXPECT_EQ(j.record.bodyALayerIndex, -1);  // absent identifiers
        EXPECT_EQ(j.fileBodyBId, 1);
    }
    // Limits stay as written, inverted too.
    SettingsDocument doc;
    read(withBody("", rows[3].joint), doc);
    EXPECT_FLOAT_EQ(doc.scene.joints[0].record.lowerAngle, 30.0f);
    EXPECT_FLOAT_EQ(doc.scene.joints[0].record.upperAngle, -30.0f);
}

TEST(SettingsReader, OversizedInputIsRefused)
{
    const QByteArray big(int(kMaxSettingsFileSize) + 1, ' ');
    SettingsDocument doc;
    QString problem;
    EXPECT_EQ(readSettingsDocument(big.constData(), size_t(big.size()), doc, problem),
              SettingsReadStatus::NotReadable);
    EXPECT_TRUE(problem.contains(QStringLiteral("64 MiB")));
}

// The look over the markup before parsing: an element with more attributes
// than any file of this program holds, or a file of more elements or
// attributes than its largest, is refused at once (the parser's time grows
// with the square of one element's attributes, its memory many times the
// file's size). Attributes are the `=` signs of tags, not those in values,
// comments or character data.
TEST(SettingsReader, MarkupBeyondTheLimitsIsRefusedBeforeParsing)
{
    auto attributes = [](int count) {
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += "a" + QByteArray::number(i) + "=\"1\" ";
        return text;
    };
    SettingsDocument doc;
    EXPECT_EQ(read(withBody(attributes(kMaxSettingsAttributesPerElement)), doc), SettingsReadStatus::Ok);
    QString problem;
    const QByteArray wide = withBody(attributes(kMaxSettingsAttributesPerElement + 1));
    EXPECT_EQ(readSettingsDocument(wide.constData(), size_t(wide.size()), doc, problem),
              SettingsReadStatus::NotReadable);
    EXPECT_EQ(problem, QStringLiteral("An element holds more than 128 attributes."));

    // Signs inside values, comments, character data and declarations count
    // for nothing; single quotes hide them as double ones do.
    const QByteArray hidden = "<!-- " + QByteArray(1000, '=') + " <a b=c> --><?pi " + QByteArray(1000, '=') + "?>" +
                              withBody("name=\"" + QByteArray(1000, '=') + "<>\" index='" + QByteArray(500, '=') +
                                       "'") +
                              "<![CDATA[" + QByteArray(1000, '=') + "]]>";
    EXPECT_TRUE(checkSettingsMarkup(hidden.constData(), size_t(hidden.size())).isEmpty());

    // Many small elements, and many attributes over many elements.
    const QByteArray tiny = QByteArray("<a/>").repeated(int(kMaxSettingsMarkup) + 1);
    EXPECT_EQ(checkSettingsMarkup(tiny.constData(), size_t(tiny.size())),
              QStringLiteral("The file holds more than 500000 elements."));
    const QByteArray spread = ("<a " + attributes(100) + "/>").repeated(int(kMaxSettingsAttributes / 100) + 1);
    EXPECT_EQ(checkSettingsMarkup(spread.constData(), size_t(spread.size())),
              QStringLiteral("The file holds more than 4000000 attributes."));
    EXPECT_EQ(readSettingsDocument(spread.constData(), size_t(spread.size()), doc, problem),
              SettingsReadStatus::NotReadable);

    // The largest file earlier versions wrote, every key in full, stays
    // within them.
    QFile full(QString::fromLocal8Bit(qgetenv("ZOLVAR_SOURCE_DIR")) +
               QStringLiteral("/tests/fuzz/settings/corpus/written-in-full.xml"));
    ASSERT_TRUE(full.open(QIODevice::ReadOnly));
    const QByteArray written = full.readAll();
    const int copies = int(kMaxSettingsFileSize / written.size());
    const QByteArray largest = written.repeated(copies);
    EXPECT_TRUE(checkSettingsMarkup(largest.constData(), size_t(largest.size())).isEmpty());
}

// A reading keeps the records the scene can use, wherever they stand: the
// first body of each matched row and the joints between matched rows. Only
// snapshots past their limit are counted and left out.
TEST(SettingsReader, RecordsAreMatchedBeforeAnyLimit)
{
    QuickPreset scene = sampleScene();
    for (int i = 0; i < 5; ++i)
        scene.bodies.insert(scene.bodies.begin(), sampleBody(300 + i, 4 + i, QStringLiteral("Extra")));
    for (MyJoint& j : scene.joints) {
        j.bodyA += 5;
        j.bodyB += 5;
    }
    const QByteArray bytes = writeSettingsDocument(scene, {sampleSnapshot(), sampleSnapshot(), sampleSnapshot()});
    SettingsLimits limits;
    // Only "Floor" (last but two) and the first "Extra" are in the scene.
    limits.bodyRow = [](const SavedBody& s) {
        return s.record.name == QLatin1String("Extra") ? 0 : s.record.name == QLatin1String("Floor") ? 1 : -1;
    };
    limits.jointWanted = [](const SavedJoint& s) { return s.record.bodyALayerName == QLatin1String("Floor"); };
    limits.presets = 2;
    SettingsDocument doc;
    QString problem;
    ASSERT_EQ(readSettingsDocument(bytes.constData(), size_t(bytes.size()), doc, problem, limits),
              SettingsReadStatus::Ok);
    ASSERT_EQ(doc.scene.bodies.size(), 2u);
    EXPECT_EQ(doc.scene.bodies[0].record.layerID, 304);
    EXPECT_EQ(doc.scene.bodies[1].record.name, QStringLiteral("Floor"));
    EXPECT_EQ(doc.scene.joints.size(), 2u);
    ASSERT_EQ(doc.presets.size(), 2u);
    EXPECT_EQ(doc.presetsLeftOut, 1u);

    // Without limits, everything.
    ASSERT_EQ(readSettingsDocument(bytes.constData(), size_t(bytes.size()), doc, problem), SettingsReadStatus::Ok);
    EXPECT_EQ(doc.scene.bodies.size(), 8u);
    EXPECT_EQ(doc.presets.size(), 3u);
    EXPECT_EQ(doc.presetsLeftOut, 0u);
}
