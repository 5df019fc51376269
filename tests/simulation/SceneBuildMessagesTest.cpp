// The scene build tells the user about the layers it could not give a
// geometry in one message, however many there are.
#include "SceneFixture.h"

#include "outlines/OutlineMessages.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_simulation::Scene;
using testing_simulation::sceneJson;
using testing_simulation::solid;

namespace {

std::vector<QString>& shown()
{
    static std::vector<QString> texts;
    return texts;
}

// The messages shown while the object lives.
struct Capture {
    Capture()
    {
        shown().clear();
        previous = setOutlineMessageHandler([](QWidget*, const QString& text) { shown().push_back(text); });
    }
    ~Capture() { setOutlineMessageHandler(previous); }
    OutlineMessageHandler previous;
};

QString emptyShapeLayer(int id)
{
    return QStringLiteral(R"({"id": %1, "type": "shape", "name": "Empty %1", "contents": [
        {"matchName": "ADBE Vector Group", "contents": []}]})")
        .arg(id);
}

TEST(SceneBuildMessages, LayersWithoutGeometryAreNamedInOneMessage)
{
    QStringList layers;
    for (int i = 1; i <= 30; ++i)
        layers << emptyShapeLayer(i);
    layers << solid(31, 1, 500, 500);
    Scene scene(sceneJson(layers));
    Capture capture;
    scene.build();
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0], QStringLiteral("An error occurred when retrieving geometry of layers 1, 2, 3, 4, 5, 6, 7, "
                                         "8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20 and 10 more. These layers "
                                         "will be represented as simple boxes."));
    EXPECT_EQ(scene.core.bodies.size(), 31u);
    EXPECT_TRUE(scene.body(0).isLayerBox);

    shown().clear();
    scene.core.buildDefaultBodies();
    EXPECT_EQ(shown().size(), 1u) << "a rebuild of the records too";
}

TEST(SceneBuildMessages, OneLayerWithoutGeometryKeepsItsOwnMessage)
{
    Scene scene(sceneJson({solid(1, 1, 500, 500), emptyShapeLayer(2)}));
    Capture capture;
    scene.build();
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0], layerGeometryErrorText(1));
}

// A mask crossing itself so often that it is filled as its convex hull is
// told as such, apart from a figure eight, which is filled by its crossings;
// neither is called a failed triangulation of the other.
TEST(SceneBuildMessages, OutlinesFilledAsTheirHullAreToldApart)
{
    // A rim whose every vertex steps back over its neighbours.
    QString rim;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * (i + (i % 2 ? 2.4 : -2.4)) / n;
        rim += QStringLiteral("%1[%2, %3]").arg(i ? ", " : "").arg(3000 * std::cos(a)).arg(3000 * std::sin(a));
    }
    const QString mask = QStringLiteral(R"("masks": [{"shape": {"closed": true, "vertices": [%1]}}])");
    Scene scene(sceneJson({solid(1, 1, 500, 500, mask.arg(rim)),
                           solid(2, 1, 500, 500, mask.arg("[0, 0], [100, 100], [100, 0], [0, 100]")),
                           solid(3, 1, 500, 500)}));
    scene.build();
    EXPECT_TRUE(scene.body(0).filledAsHull);
    EXPECT_FALSE(scene.body(0).triangulationFailed);
    EXPECT_TRUE(scene.body(1).triangulationFailed);
    EXPECT_FALSE(scene.body(1).filledAsHull);
    ASSERT_EQ(scene.core.triangulationReports.size(), 1);
    EXPECT_EQ(scene.core.triangulationReports[0],
              QStringLiteral("Self-intersecting shapes are not supported.\n\nTriangulation failed for the following "
                             "bodies:\nBody #2 (Layer 2)  \n\nThe outlines of the following bodies cross themselves "
                             "or each other too often to be filled as drawn. Each of them is filled as its convex "
                             "hull:\nBody #1 (Layer 1)  "));
}

} // namespace
