// Loading, saving and reloading project files.
#include "ProjectTestUtil.h"

#include "project/JsonWriter.h"
#include "project/LayerJson.h"
#include "project/MatchNames.h"
#include "project/PropertyCatalog.h"
#include "project/Transform.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <random>
#include <vector>

using namespace standin;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// save -> load -> save gives the same bytes, and loading marks nothing modified.
void expectStableRoundTrip(const Project& p)
{
    const QByteArray first = p.toJson();
    LoadError error;
    auto again = Project::fromJson(first, QStringLiteral("again.json"), &error);
    ASSERT_TRUE(again) << qPrintable(error.toString()) << "\n" << first.constData();
    EXPECT_FALSE(again->isModified());
    EXPECT_EQ(again->toJson(), first);
}

} // namespace

TEST(ProjectFile, ExamplesLoadAndRoundTrip)
{
    for (const char* name : {"falling-shapes.json", "quick.json"}) {
        LoadError error;
        auto p = Project::load(test::examplePath(QLatin1String(name)), &error);
        ASSERT_TRUE(p) << qPrintable(error.toString());
        EXPECT_FALSE(p->isModified());
        ASSERT_TRUE(p->activeComposition()) << name;
        EXPECT_GE(p->activeComposition()->layerCount(), 5);
        EXPECT_EQ(p->activeComposition()->frameRate(), 25.0);
        expectStableRoundTrip(*p);
    }
}

TEST(ProjectFile, TheDocumentedExampleLoads)
{
    const QByteArray doc = readFile(QFileInfo(test::examplePath(QStringLiteral("x"))).dir().filePath(
        QStringLiteral("../docs/project-format.md")));
    ASSERT_FALSE(doc.isEmpty());
    const int section = doc.indexOf("## A complete example");
    ASSERT_GE(section, 0);
    const int start = doc.indexOf("```json\n", section) + 8;
    const int end = doc.indexOf("```", start);
    ASSERT_GT(end, start);
    auto p = test::loadText(doc.mid(start, end - start));
    ASSERT_TRUE(p);
    const Composition* c = p->activeComposition();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->layerCount(), 7);
    EXPECT_EQ(c->layer(0)->displayName(), QStringLiteral("Camera 1"));
    EXPECT_EQ(c->layerById(5)->parent(), c->layerById(4));
    expectStableRoundTrip(*p);
}

TEST(ProjectFile, FallingShapesHoldsWhatTheDemoNeeds)
{
    LoadError error;
    auto p = Project::load(test::examplePath(QStringLiteral("falling-shapes.json")), &error);
    ASSERT_TRUE(p) << qPrintable(error.toString());
    const Composition* c = p->activeComposition();
    int kinds[9] = {};
    bool guide = false, parented = false, keyed = false, masked = false, star = false, roundRect = false;
    for (const auto& l : c->layers()) {
        ++kinds[int(l->kind())];
        guide = guide || (l->flags() & AEGP_LayerFlag_GUIDE_LAYER);
        parented = parented || l->parent();
        keyed = keyed || l->transformStream(TransformStream::Position)->keyCount() > 1;
        masked = masked || l->maskCount() > 0;
        if (const PropertyNode* contents = l->rootVectorsGroup()) {
            star = star || contents->findDescendant(QLatin1String(match::kStar));
            const PropertyNode* r = contents->findDescendant(QLatin1String(match::kRectRoundness));
            roundRect = roundRect || (r && r->staticValue().v[0] > 0);
        }
    }
    EXPECT_GE(kinds[int(LayerKind::Solid)], 4);
    EXPECT_EQ(kinds[int(LayerKind::Null)], 1);
    EXPECT_EQ(kinds[int(LayerKind::Camera)], 1);
    EXPECT_EQ(kinds[int(LayerKind::Text)], 1);
    EXPECT_EQ(kinds[int(LayerKind::Shape)], 2);
    EXPECT_TRUE(guide && parented && keyed && masked && star && roundRect);
    // The parented arm is rotated and scaled under a rotated null.
    const Layer* arm = c->layerById(10);
    ASSERT_TRUE(arm && arm->parent());
    EXPECT_EQ(arm->parent()->kind(), LayerKind::Null);
}

TEST(ProjectFile, EditedProjectSavesEverythingAndReloadsByteStable)
{
    LoadError error;
    auto p = Project::load(test::examplePath(QStringLiteral("quick.json")), &error);
    ASSERT_TRUE(p) << qPrintable(error.toString());
    Composition* c = p->activeComposition();
    Layer* box = c->layer(0);
    PropertyNode* pos = box->transformStream(TransformStream::Position);
    pos->addKeys({{A_Time{0, 25}, Value::threeD(1, 2, 0)},
                  {A_Time{1, 25}, Value::threeD(3, 4, 0)},
                  {A_Time{2, 25}, Value::threeD(9, 8, 0)}});
    box->transformStream(TransformStream::Rotation)->addKey(A_Time{1001, 30000}, Value::oneD(-12.25));
    box->setFlag(AEGP_LayerFlag_MOTION_BLUR, true);
    Layer* shape = c->createShapeLayer();
    PropertyNode* group = shape->rootVectorsGroup()->insertChild(makeShapeItem(QLatin1String(match::kVectorGroup)));
    group->childByMatchName(QLatin1String(match::kVectorsGroup))
        ->insertChild(makeShapeItem(QLatin1String(match::kPathItem), QStringLiteral("Path \u00e9")));
    Layer* null = p->createNullLayer(c, QStringLiteral("Gravity Controller"), kZeroTime);
    c->reorderLayer(null, -1);
    c->setParent(c->layer(2), null);
    c->setSelection({c->layer(1), shape});
    c->setWorkArea(A_Time{5, 25}, A_Time{10, 25});
    Composition* copy = p->duplicateComposition(c);
    copy->layer(3)->setName(QStringLiteral("copy"));
    Layer* masked = c->layerById(4);
    masked->maskAtom(0)->setMaskAttributes(MaskAttributes{2, true, AEGP_ColorVal{1, 0, 1, 0}, true});
    EXPECT_TRUE(p->isModified());

    const QByteArray saved = p->toJson();
    LoadError e2;
    auto back = Project::fromJson(saved, QStringLiteral("saved.json"), &e2);
    ASSERT_TRUE(back) << qPrintable(e2.toString());
    EXPECT_EQ(back->toJson(), saved);

    const Composition* bc = back->activeComposition();
    ASSERT_TRUE(bc);
    EXPECT_EQ(bc->name(), c->name());
    EXPECT_EQ(back->compositions().size(), 2u);
    const Layer* bbox = bc->layerById(box->id());
    ASSERT_TRUE(bbox);
    EXPECT_EQ(bbox->transformStream(TransformStream::Position)->keys().size(), 3u);
    EXPECT_EQ(bbox->transformStream(TransformStream::Position)->key(1)->outTangent, Value::threeD(4.0 / 3, 1, 0));
    const Keyframe* rk = bbox->transformStream(TransformStream::Rotation)->key(0);
    ASSERT_TRUE(rk);
    EXPECT_EQ(rk->time.value, 1001);
    EXPECT_EQ(rk->time.scale, 30000u);
    EXPECT_TRUE(bbox->flags() & AEGP_LayerFlag_MOTION_BLUR);
    EXPECT_EQ(bc->layer(bc->layerCount() - 1)->name(), QStringLiteral("Gravity Controller"));
    EXPECT_EQ(bc->layer(2)->parent(), bc->layer(bc->layerCount() - 1));
    EXPECT_EQ(bc->selection().size(), 2u);
    EXPECT_EQ(bc->workAreaStart().value, 5);
    EXPECT_EQ(bc->workAreaDuration().value, 10);
    const Layer* bshape = bc->layer(0);
    EXPECT_EQ(bshape->kind(), LayerKind::Shape);
    EXPECT_EQ(bshape->name(), QStringLiteral("Shape Layer 1"));
    EXPECT_TRUE(bshape->root()->findDescendant(QLatin1String(match::kPathShape)));
    EXPECT_EQ(bshape->root()->findDescendant(QLatin1String(match::kPathItem))->displayName(),
              QStringLiteral("Path \u00e9"));
    EXPECT_EQ(bc->layerById(4)->maskAtom(0)->maskAttributes(),
              (MaskAttributes{2, true, AEGP_ColorVal{1, 0, 1, 0}, true}));
    EXPECT_EQ(back->itemByName(QStringLiteral("Null 1"), ItemType::Footage)->asFootage()->kind(), FootageKind::Solid);
}

TEST(ProjectFile, DefaultsShorthandsAndReferences)
{
    auto p = test::loadText(R"({
        "folders": [{"name": "F"}],
        "footage": [{"name": "Plate", "kind": "file", "width": 640, "height": 480, "folder": "F", "file": "/x.mov"},
                    {"name": "Sound", "kind": "file"}],
        "compositions": [{"name": "C", "width": 640, "height": 480, "frameRate": 29.97, "duration": 2,
          "layers": [{"type": "footage", "source": "Plate", "inPoint": 0.5, "duration": [30, 30000]},
                     {"type": "null"},
                     {"type": "text", "parent": 1, "text": {"text": "Hi"}}]}],
        "activeItem": "C"})");
    ASSERT_TRUE(p);
    Composition* c = p->activeComposition();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->frameDuration().value, 1001);
    EXPECT_EQ(c->frameDuration().scale, 30000u);
    EXPECT_EQ(c->duration().value, 60000);
    EXPECT_EQ(c->workAreaDuration().value, 60000);
    const Layer* plate = c->layer(0);
    EXPECT_EQ(plate->id(), 1u);
    EXPECT_EQ(plate->inPoint().value, 15000);
    EXPECT_EQ(plate->duration().value, 30);
    EXPECT_EQ(plate->sourceName(), QStringLiteral("Plate"));
    EXPECT_EQ(plate->displayName(), QStringLiteral("Plate"));
    EXPECT_EQ(plate->transformStream(TransformStream::AnchorPoint)->staticValue(), Value::threeD(320, 240, 0));
    EXPECT_EQ(plate->transformStream(TransformStream::Position)->staticValue(), Value::threeD(0, 0, 0));
    EXPECT_EQ(plate->source()->folder()->name(), QStringLiteral("F"));
    EXPECT_EQ(plate->source()->asFootage()->signature(), 0x46494C45u);
    EXPECT_EQ(p->itemByName(QStringLiteral("Sound"), ItemType::Footage)->width(), 0); // audio only
    const Layer* null = c->layer(1);
    EXPECT_EQ(null->source()->name(), QStringLiteral("Null 1"));
    EXPECT_TRUE(null->flags() & AEGP_LayerFlag_NULL_LAYER);
    const Layer* text = c->layer(2);
    EXPECT_EQ(text->objectType(), AEGP_ObjectType_TEXT);
    EXPECT_EQ(text->name(), QString());
    EXPECT_EQ(text->displayName(), QStringLiteral("Text 1"));
    EXPECT_EQ(text->text().fontFamily, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(text->parent(), plate);
    EXPECT_EQ(p->name(), QStringLiteral("test.json"));
    EXPECT_FALSE(p->toJson().contains("\"path\"")); // the default path is not written
    expectStableRoundTrip(*p);
}

TEST(ProjectFile, SaveAtomicallyKeepsABackup)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("p.json"));
    auto p = test::stackProject(2);
    ASSERT_TRUE(p);
    QString error;
    ASSERT_TRUE(saveAtomically(*p, path, true, &error)) << qPrintable(error);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".bak"))); // nothing to back up yet
    const QByteArray first = readFile(path);
    EXPECT_EQ(first, p->toJson());

    p->compositions()[0]->createShapeLayer();
    ASSERT_TRUE(saveAtomically(*p, path, true, &error)) << qPrintable(error);
    EXPECT_EQ(readFile(path + QStringLiteral(".bak")), first);
    EXPECT_EQ(readFile(path), p->toJson());

    LoadError le;
    auto back = Project::load(path, &le);
    ASSERT_TRUE(back) << qPrintable(le.toString());
    EXPECT_EQ(back->compositions()[0]->layerCount(), 3);
    EXPECT_EQ(back->path(), path);

    EXPECT_FALSE(saveAtomically(*p, dir.filePath(QStringLiteral("missing/dir/p.json")), false, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ProjectFile, LoadErrorText)
{
    EXPECT_EQ((LoadError{QStringLiteral("a.json"), 3, 0, QStringLiteral("bad")}).toString(),
              QStringLiteral("a.json:3: bad"));
    EXPECT_EQ((LoadError{QStringLiteral("a.json"), 3, 9, QStringLiteral("bad")}).toString(),
              QStringLiteral("a.json:3:9: bad"));
    EXPECT_EQ((LoadError{QStringLiteral("a.json"), 0, 0, QStringLiteral("bad")}).toString(),
              QStringLiteral("a.json: bad"));
    LoadError e;
    EXPECT_FALSE(Project::load(QStringLiteral("/nonexistent/x.json"), &e));
    EXPECT_TRUE(e.reason.startsWith(QStringLiteral("cannot open")));
}

TEST(ProjectFile, PlainKeysAreWrittenCompactlyAndBothFormsLoad)
{
    const QByteArray older = R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "footage": [{"id": 1, "name": "S", "kind": "solid", "width": 10, "height": 10}],
        "compositions": [{"id": 2, "name": "Main", "width": 100, "height": 100, "frameRate": 25, "duration": 10,
            "layers": [{"id": 1, "type": "solid", "source": 1, "transform": {
                "position": {"keys": [{"time": [1, 25], "value": [1.5, 2, 0], "inTangent": [0, 0, 0], "outTangent": [0, 0, 0]},
                                      {"time": [2, 25], "value": [3, 4, 0], "inTangent": [-1, 0, 0], "outTangent": [1, 0, 0]}]},
                "rotation": {"keys": [{"time": 0, "value": 10}, {"time": [3, 25], "value": -0.125}]}}}]}]})";
    auto p = test::loadText(older);
    ASSERT_TRUE(p);
    const QByteArray saved = p->toJson();
    // Keys without tangents are [time, value], all on one line; beside a
    // key with tangents, which keeps the object form, each on a line.
    EXPECT_TRUE(saved.contains("[[1, 25], [1.5, 2, 0]],\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\"keys\": [[[0, 25], 10], [[3, 25], -0.125]],\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\"outTangent\": [1, 0, 0]")) << saved.toStdString();
    EXPECT_FALSE(saved.contains("\"outTangent\": [0, 0, 0]")) << saved.toStdString();

    auto back = test::loadText(saved);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->toJson(), saved);
    ASSERT_TRUE(back->activeComposition());
    const PropertyNode* pos = back->activeComposition()->layer(0)->transformStream(TransformStream::Position);
    ASSERT_EQ(pos->keyCount(), 2);
    EXPECT_EQ(pos->key(0)->value, Value::threeD(1.5, 2, 0));
    EXPECT_EQ(pos->key(0)->outTangent, Value::threeD(0, 0, 0));
    EXPECT_EQ(pos->key(1)->outTangent, Value::threeD(1, 0, 0));
    const PropertyNode* rotation = back->activeComposition()->layer(0)->transformStream(TransformStream::Rotation);
    ASSERT_EQ(rotation->keyCount(), 2);
    EXPECT_EQ(rotation->key(1)->value, Value::oneD(-0.125));
}

// An item of a kind the stand-in does not draw keeps the properties its
// project gives it, keyed or driven, and its groups of them, as written.
TEST(ProjectFile, ItemsOfOtherKindsKeepTheirPropertiesAsWritten)
{
    const QByteArray repeater = R"({"matchName": "ADBE Vector Filter - Repeater", "name": "Repeater 1", "properties": {
        "ADBE Vector Repeater Copies": {"value": 3, "keys": [[[0, 1], 3], [[1, 1], 5]]},
        "ADBE Vector Repeater Transform": {"ADBE Vector Repeater Position": [100, 0], "ADBE Vector Repeater Rotation":
            {"value": 0, "expression": "time", "expressionEnabled": true, "expressionValue": 0}}}})";
    auto p = test::loadText(R"({"format": "zolvar-standin-project", "compositions": [{"name": "Main", "width": 100,
        "height": 100, "frameRate": 25, "duration": 10, "layers": [{"type": "shape", "contents": [)" + repeater + "]}]}]}");
    ASSERT_TRUE(p);
    const QJsonObject layer =
        QJsonDocument::fromJson(p->toJson()).object()["compositions"][0]["layers"][0].toObject();
    EXPECT_EQ(layer["contents"][0].toObject(), QJsonDocument::fromJson(repeater).object());
    expectStableRoundTrip(*p);
}

TEST(ProjectFile, WritingStopsWithFalseWhenTheDeviceRefuses)
{
    auto p = test::stackProject(3);
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    ASSERT_TRUE(readOnly.open(QIODevice::ReadOnly));
    EXPECT_FALSE(p->writeJson(&readOnly));

    QBuffer buffer;
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    EXPECT_TRUE(p->writeJson(&buffer));
    EXPECT_EQ(buffer.data(), p->toJson()) << "the streamed text is the text";
}

TEST(ProjectFile, NumbersArePrintedAsQtPrintsThem)
{
    QJsonArray numbers;
    for (const double d : {0.0, -0.0, 1.0, -17.0, 0.1, 1.0 / 3.0, 467.9999694824219, 1e-7, 123456789.125, 1e15, 1e16,
                           9007199254740992.0, 9007199254740993.0, 1e21, -2.5e-300, 1e300, 4.2e-5})
        numbers.append(d);
    for (int i = 1; i < 200; ++i)
        numbers.append(double(float(i) * 0.37f) - double(i) * 1e-3);
    QByteArray mine = writeJson(numbers);
    mine.replace(" ", "").replace("\n", "");
    EXPECT_EQ(mine, QJsonDocument(numbers).toJson(QJsonDocument::Compact));
}

TEST(ProjectFile, EveryNumberIsPrintedAsQtPrintsIt)
{
    // Whole and fractional numbers of every size, as doubles and as the
    // floats the simulation records, both signs, around the edges between
    // integers, plain decimals and exponents.
    std::mt19937_64 random(21);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::vector<double> values = {0.001, 0.000999999, 0.0010000001, 9007199254740991.5, 9007199254740994.0,
                                  4503599627370495.5, 1e-4, 0.00012345, 99999999999999.9};
    for (int e = -12; e <= 22; ++e) {
        for (int i = 0; i < 2000; ++i) {
            const double d = mantissa(random) * std::pow(10.0, e);
            values.push_back(d);
            values.push_back(-double(float(d)));
            values.push_back(std::round(d * 8.0) / 8.0);
        }
    }
    int differences = 0;
    for (const double d : values) {
        char text[kNumberTextSize];
        const QByteArray mine(text, printNumber(d, text));
        QByteArray qt = QJsonDocument(QJsonArray{d}).toJson(QJsonDocument::Compact);
        qt = qt.mid(1, qt.size() - 2);
        if (mine != qt && ++differences <= 5)
            ADD_FAILURE() << "mine " << mine.constData() << ", Qt " << qt.constData();
    }
    EXPECT_EQ(differences, 0) << "of " << values.size();
}

TEST(ProjectFile, StreamedLayersPrintWhatTheirTreesPrint)
{
    // Compact keys on each kind of transform stream, a key with tangents,
    // an expression, a separated position, a layer without keys.
    const QByteArray json = R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "footage": [{"id": 1, "name": "S", "kind": "solid", "width": 10, "height": 10}],
        "compositions": [{"id": 2, "name": "Main", "width": 100, "height": 100, "frameRate": 25, "duration": 10,
            "layers": [
              {"id": 1, "type": "solid", "source": 1, "transform": {
                "position": {"keys": [[[0, 25], [1.5, 2, 0]], [[1, 25], [41.199951171875, -0.001, 0]]]},
                "rotation": {"keys": [[[0, 25], 10], [[3, 25], -1e-7]]},
                "anchorPoint": {"keys": [[[0, 25], [5, 5, 0]]]},
                "scale": {"value": [100, 100, 100], "expression": "value", "expressionEnabled": false,
                          "keys": [[[0, 25], [100, 100, 100]], [[2, 25], [-50, 1e21, 100]]]},
                "opacity": {"keys": [[[0, 25], 100], [[5, 25], 0.5]]}}},
              {"id": 2, "type": "solid", "source": 1, "transform": {
                "position": {"keys": [{"time": [1, 25], "value": [1.5, 2, 0], "inTangent": [-1, 0, 0],
                                       "outTangent": [1, 0, 0]}, [[2, 25], [3, 4, 0]]]}}},
              {"id": 3, "type": "solid", "source": 1, "transform": {
                "positionX": {"keys": [[[0, 25], 1.25], [[1, 25], 2]]}, "positionY": 7}},
              {"id": 4, "type": "null", "transform": {"position": [3, 4]}}]}]})";
    auto p = test::loadText(json);
    ASSERT_TRUE(p);
    const Composition* comp = p->activeComposition();
    ASSERT_EQ(comp->layerCount(), 4);
    for (int l = 0; l < comp->layerCount(); ++l) {
        for (int indent : {0, 3}) {
            QByteArray streamed;
            {
                JsonStream out(&streamed);
                streamLayer(*comp->layer(l), out, indent);
            }
            QByteArray tree;
            {
                JsonStream out(&tree);
                out.value(writeLayer(*comp->layer(l)), indent);
            }
            EXPECT_EQ(streamed, tree) << "layer " << l + 1 << " at depth " << indent;
        }
    }
}
